// Our frame conversion on hand-made frames of the Y'CbCr layouts the clips
// of this machine do not produce: each layout written from its definition,
// an odd width (so chroma rows and planes are padded), a colour per 2x2
// block, and the expected colours from the textbook equations.
#include <gtest/gtest.h>

#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <cmath>
#include <functional>

#include "platform/media/TFrameConverter.h"

namespace {

using PF = QVideoFrameFormat::PixelFormat;

struct TYcc {
    int Y, Cb, Cr;
};

// One colour per 2x2 block of a 5x4 frame.
TYcc BlockColour(int x, int y) {
    static const TYcc colours[3][2] = {
        {{81, 90, 240}, {145, 54, 34}}, {{41, 240, 110}, {210, 16, 146}}, {{235, 128, 128}, {16, 128, 128}}};
    return colours[x / 2][y / 2];
}

using TWriter = std::function<void(QVideoFrame&, int x, int y, TYcc c)>;

void Set(QVideoFrame& f, int plane, int offset, int value) {
    f.bits(plane)[offset] = static_cast<uchar>(value);
}

TWriter Planar(int cbPlane, int crPlane, int chromaRows) {
    return [=](QVideoFrame& f, int x, int y, TYcc c) {
        Set(f, 0, y * f.bytesPerLine(0) + x, c.Y);
        Set(f, cbPlane, (y / chromaRows) * f.bytesPerLine(cbPlane) + x / 2, c.Cb);
        Set(f, crPlane, (y / chromaRows) * f.bytesPerLine(crPlane) + x / 2, c.Cr);
    };
}

TWriter SemiPlanar(bool cbFirst) {
    return [=](QVideoFrame& f, int x, int y, TYcc c) {
        Set(f, 0, y * f.bytesPerLine(0) + x, c.Y);
        const int pair = (y / 2) * f.bytesPerLine(1) + (x / 2) * 2;
        Set(f, 1, pair + (cbFirst ? 0 : 1), c.Cb);
        Set(f, 1, pair + (cbFirst ? 1 : 0), c.Cr);
    };
}

// Macropixels of two lumas and one chroma pair: Y0 Cb Y1 Cr or Cb Y0 Cr Y1.
TWriter Packed(bool lumaFirst) {
    return [=](QVideoFrame& f, int x, int y, TYcc c) {
        const int macro = y * f.bytesPerLine(0) + (x / 2) * 4;
        Set(f, 0, macro + (lumaFirst ? 0 : 1) + (x & 1) * 2, c.Y);
        Set(f, 0, macro + (lumaFirst ? 1 : 0), c.Cb);
        Set(f, 0, macro + (lumaFirst ? 3 : 2), c.Cr);
    };
}

QRgb Expected(TYcc c, bool full, bool bt709) {
    const double kr = bt709 ? 0.2126 : 0.299, kb = bt709 ? 0.0722 : 0.114, kg = 1 - kr - kb;
    const double y = full ? c.Y : (c.Y - 16) * 255.0 / 219.0;
    const double cb = (c.Cb - 128) * (full ? 1.0 : 255.0 / 224.0);
    const double cr = (c.Cr - 128) * (full ? 1.0 : 255.0 / 224.0);
    const auto clamp = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); };
    const double r = y + 2 * (1 - kr) * cr;
    const double b = y + 2 * (1 - kb) * cb;
    const double g = (y - kr * r - kb * b) / kg;
    return qRgb(clamp(r), clamp(g), clamp(b));
}

TEST(FrameConverter, YCbCrLayoutsRangesAndColourSpaces) {
    struct Case {
        const char* name;
        PF format;
        TWriter write;
        bool full = false, bt709 = false;
    } cases[] = {
        {"I420", PF::Format_YUV420P, Planar(1, 2, 2)},
        {"I420 full range", PF::Format_YUV420P, Planar(1, 2, 2), true},
        {"I420 BT.709", PF::Format_YUV420P, Planar(1, 2, 2), false, true},
        {"YV12", PF::Format_YV12, Planar(2, 1, 2)},
        {"4:2:2 planar", PF::Format_YUV422P, Planar(1, 2, 1)},
        {"NV12", PF::Format_NV12, SemiPlanar(true)},
        {"NV21", PF::Format_NV21, SemiPlanar(false)},
        {"YUYV", PF::Format_YUYV, Packed(true), true},
        {"UYVY", PF::Format_UYVY, Packed(false)},
    };
    const QSize size(5, 4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QVideoFrameFormat format(size, c.format);
        format.setColorRange(c.full ? QVideoFrameFormat::ColorRange_Full
                                    : QVideoFrameFormat::ColorRange_Video);
        format.setColorSpace(c.bt709 ? QVideoFrameFormat::ColorSpace_BT709
                                     : QVideoFrameFormat::ColorSpace_BT601);
        QVideoFrame frame(format);
        ASSERT_TRUE(frame.map(QVideoFrame::WriteOnly));
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                c.write(frame, x, y, BlockColour(x, y));
        frame.unmap();

        const QImage image = ConvertVideoFrame(frame);
        ASSERT_EQ(image.size(), size);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const QRgb want = Expected(BlockColour(x, y), c.full, c.bt709);
                const QRgb got = image.pixel(x, y);
                EXPECT_LE(std::abs(qRed(got) - qRed(want)) + std::abs(qGreen(got) - qGreen(want)) +
                              std::abs(qBlue(got) - qBlue(want)),
                          3)
                    << "pixel " << x << "," << y;
            }
        }
    }
}

TEST(FrameConverter, InvalidFrameGivesNullImage) {
    EXPECT_TRUE(ConvertVideoFrame(QVideoFrame()).isNull());
}

} // namespace
