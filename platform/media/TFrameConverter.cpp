#include "TFrameConverter.h"

#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <algorithm>
#include <cstdint>

namespace {

using PF = QVideoFrameFormat::PixelFormat;

inline uint8_t Clamp(int v) {
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

// Y'CbCr to RGB in 16.16 fixed point, for one colour space and range.
struct TYuvMatrix {
    int YScale, YOffset, RCr, GCb, GCr, BCb;

    static TYuvMatrix For(const QVideoFrameFormat& format) {
        const bool bt709 = format.colorSpace() == QVideoFrameFormat::ColorSpace_BT709;
        const double kr = bt709 ? 0.2126 : 0.299;
        const double kb = bt709 ? 0.0722 : 0.114;
        const double kg = 1.0 - kr - kb;
        // Unknown range is read as video range, the usual case for Y'CbCr.
        const bool full = format.colorRange() == QVideoFrameFormat::ColorRange_Full;
        const double yScale = full ? 1.0 : 255.0 / 219.0;
        const double cScale = full ? 1.0 : 255.0 / 224.0;
        const auto fixed = [](double v) { return static_cast<int>(v * 65536.0 + (v < 0 ? -0.5 : 0.5)); };
        return {fixed(yScale),
                full ? 0 : 16,
                fixed(2.0 * (1.0 - kr) * cScale),
                fixed(-2.0 * (1.0 - kb) * kb / kg * cScale),
                fixed(-2.0 * (1.0 - kr) * kr / kg * cScale),
                fixed(2.0 * (1.0 - kb) * cScale)};
    }

    QRgb ToRgb(int y, int cb, int cr) const {
        const int luma = (y - YOffset) * YScale + 32768;
        cb -= 128;
        cr -= 128;
        return qRgb(Clamp((luma + RCr * cr) >> 16), Clamp((luma + GCb * cb + GCr * cr) >> 16),
                    Clamp((luma + BCb * cb) >> 16));
    }
};

// Byte offsets of red, green and blue in one 4-byte pixel. Qt names these
// formats by their order in memory: XBGR8888 lies as X, B, G, R (measured
// against ffmpeg's decode of the same frame).
struct TRgbOffsets {
    int R, G, B;
};

bool RgbOffsets(PF format, TRgbOffsets& out) {
    switch (format) {
    case PF::Format_ARGB8888:
    case PF::Format_ARGB8888_Premultiplied:
    case PF::Format_XRGB8888:
        out = {1, 2, 3};
        return true;
    case PF::Format_BGRA8888:
    case PF::Format_BGRA8888_Premultiplied:
    case PF::Format_BGRX8888:
        out = {2, 1, 0};
        return true;
    case PF::Format_ABGR8888:
    case PF::Format_XBGR8888:
        out = {3, 2, 1};
        return true;
    case PF::Format_RGBA8888:
    case PF::Format_RGBX8888:
        out = {0, 1, 2};
        return true;
    default:
        return false;
    }
}

void ConvertRgb32(const QVideoFrame& f, TRgbOffsets o, QImage& image) {
    const uchar* src = f.bits(0);
    const int stride = f.bytesPerLine(0);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* s = src + y * stride;
        auto* d = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x, s += 4)
            d[x] = qRgb(s[o.R], s[o.G], s[o.B]);
    }
}

// Three separate planes; chroma subsampled by cw horizontally and ch vertically.
void ConvertPlanar(const QVideoFrame& f, int cbPlane, int crPlane, int cw, int ch, QImage& image) {
    const TYuvMatrix m = TYuvMatrix::For(f.surfaceFormat());
    const uchar *yp = f.bits(0), *up = f.bits(cbPlane), *vp = f.bits(crPlane);
    const int ys = f.bytesPerLine(0), us = f.bytesPerLine(cbPlane), vs = f.bytesPerLine(crPlane);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* yl = yp + y * ys;
        const uchar* ul = up + (y / ch) * us;
        const uchar* vl = vp + (y / ch) * vs;
        auto* d = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            d[x] = m.ToRgb(yl[x], ul[x / cw], vl[x / cw]);
    }
}

// A luma plane and one plane of interleaved chroma pairs (4:2:0).
void ConvertSemiPlanar(const QVideoFrame& f, bool cbFirst, QImage& image) {
    const TYuvMatrix m = TYuvMatrix::For(f.surfaceFormat());
    const uchar *yp = f.bits(0), *cp = f.bits(1);
    const int ys = f.bytesPerLine(0), cs = f.bytesPerLine(1);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* yl = yp + y * ys;
        const uchar* cl = cp + (y / 2) * cs;
        auto* d = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const uchar* pair = cl + (x / 2) * 2;
            d[x] = cbFirst ? m.ToRgb(yl[x], pair[0], pair[1]) : m.ToRgb(yl[x], pair[1], pair[0]);
        }
    }
}

// One plane of 4:2:2 macropixels: two lumas sharing one chroma pair.
void ConvertPacked422(const QVideoFrame& f, bool lumaFirst, QImage& image) {
    const TYuvMatrix m = TYuvMatrix::For(f.surfaceFormat());
    const uchar* src = f.bits(0);
    const int stride = f.bytesPerLine(0);
    const int y0 = lumaFirst ? 0 : 1, cb = lumaFirst ? 1 : 0, cr = lumaFirst ? 3 : 2;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = src + y * stride;
        auto* d = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const uchar* macro = line + (x / 2) * 4;
            d[x] = m.ToRgb(macro[y0 + (x & 1) * 2], macro[cb], macro[cr]);
        }
    }
}

void ConvertGray(const QVideoFrame& f, QImage& image) {
    const TYuvMatrix m = TYuvMatrix::For(f.surfaceFormat());
    const uchar* src = f.bits(0);
    const int stride = f.bytesPerLine(0);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = src + y * stride;
        auto* d = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            d[x] = m.ToRgb(line[x], 128, 128);
    }
}

} // namespace

QImage ConvertVideoFrame(const QVideoFrame& input) {
    if (!input.isValid() || input.width() <= 0 || input.height() <= 0)
        return {};
    QVideoFrame frame(input);
    if (!frame.map(QVideoFrame::ReadOnly))
        return {};
    QImage image(frame.width(), frame.height(), QImage::Format_RGB32);
    const PF format = frame.pixelFormat();
    bool done = true;
    TRgbOffsets offsets;
    if (RgbOffsets(format, offsets)) {
        ConvertRgb32(frame, offsets, image);
    } else {
        switch (format) {
        case PF::Format_YUV420P:
            ConvertPlanar(frame, 1, 2, 2, 2, image);
            break;
        case PF::Format_YV12:
            ConvertPlanar(frame, 2, 1, 2, 2, image);
            break;
        case PF::Format_YUV422P:
            ConvertPlanar(frame, 1, 2, 2, 1, image);
            break;
        case PF::Format_NV12:
            ConvertSemiPlanar(frame, true, image);
            break;
        case PF::Format_NV21:
            ConvertSemiPlanar(frame, false, image);
            break;
        case PF::Format_YUYV:
            ConvertPacked422(frame, true, image);
            break;
        case PF::Format_UYVY:
            ConvertPacked422(frame, false, image);
            break;
        case PF::Format_Y8:
            ConvertGray(frame, image);
            break;
        default:
            done = false;
        }
    }
    frame.unmap();
    if (!done) // a format none of our clips produce: Qt's own conversion, opaque
        return input.toImage().convertToFormat(QImage::Format_RGB32);
    return image;
}
