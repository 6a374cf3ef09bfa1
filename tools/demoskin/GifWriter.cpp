#include "GifWriter.h"

#include <gif_lib.h>

#include <memory>
#include <vector>

namespace {

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

QString GifError(int code) {
    const char* text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("GIF error %1").arg(code);
}

bool HasTransparency(const QList<QImage>& frames) {
    for (const QImage& frame : frames)
        for (int y = 0; y < frame.height(); ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
            for (int x = 0; x < frame.width(); ++x)
                if (qAlpha(row[x]) < 128)
                    return true;
        }
    return false;
}

} // namespace

QString WriteGif(const QString& path, const QImage& still) {
    TGifFrames picture;
    picture.frames << still;
    return WriteGif(path, picture);
}

QString WriteGif(const QString& path, const TGifFrames& picture) {
    if (picture.frames.isEmpty())
        return QStringLiteral("no frames");
    QList<QImage> frames;
    for (const QImage& f : picture.frames)
        frames << f.convertToFormat(QImage::Format_ARGB32);
    const int width = frames.front().width();
    const int height = frames.front().height();
    const size_t framePixels = size_t(width) * size_t(height);
    const size_t pixels = framePixels * size_t(frames.size());

    // One palette for all frames: quantise the frames stacked as one tall picture.
    std::vector<GifByteType> red(pixels), green(pixels), blue(pixels), indices(pixels);
    std::vector<bool> clear(pixels);
    size_t at = 0;
    for (const QImage& frame : frames)
        for (int y = 0; y < height; ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
            for (int x = 0; x < width; ++x, ++at) {
                red[at] = GifByteType(qRed(row[x]));
                green[at] = GifByteType(qGreen(row[x]));
                blue[at] = GifByteType(qBlue(row[x]));
                clear[at] = qAlpha(row[x]) < 128;
            }
        }
    const bool transparent = HasTransparency(frames);
    // Leave one entry free for the transparent colour.
    int colours = transparent ? 128 : 256;
    GifColorType palette[256] = {};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GifQuantizeBuffer(unsigned(width), unsigned(height) * unsigned(frames.size()), &colours, red.data(),
                          green.data(), blue.data(), indices.data(), palette) != GIF_OK)
        return QStringLiteral("colour quantisation failed");
#pragma GCC diagnostic pop
    const int transparentIndex = transparent ? 255 : NO_TRANSPARENT_COLOR;
    if (transparent)
        for (size_t i = 0; i < pixels; ++i)
            if (clear[i])
                indices[i] = GifByteType(transparentIndex);

    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(
        EGifOpenFileName(path.toLocal8Bit().constData(), false, &error));
    if (!gif)
        return GifError(error);
    EGifSetGifVersion(gif.get(), true);
    std::unique_ptr<ColorMapObject, decltype(&GifFreeMapObject)> map(GifMakeMapObject(256, palette),
                                                                     &GifFreeMapObject);
    if (!map)
        return QStringLiteral("out of memory");
    if (EGifPutScreenDesc(gif.get(), width, height, 8, 0, map.get()) != GIF_OK)
        return GifError(gif->Error);

    const bool animated = frames.size() > 1;
    if (animated && picture.loop) {
        // The looping extension: repeat forever.
        static const GifByteType netscape[] = "NETSCAPE2.0";
        static const GifByteType repeat[] = {1, 0, 0};
        if (EGifPutExtensionLeader(gif.get(), APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
            EGifPutExtensionBlock(gif.get(), 11, netscape) != GIF_OK ||
            EGifPutExtensionBlock(gif.get(), 3, repeat) != GIF_OK ||
            EGifPutExtensionTrailer(gif.get()) != GIF_OK)
            return GifError(gif->Error);
    }
    for (qsizetype f = 0; f < frames.size(); ++f) {
        if (animated || transparent) {
            GraphicsControlBlock control{};
            // Transparent frames must not show the previous frame through their holes.
            control.DisposalMode = transparent ? DISPOSE_BACKGROUND : DISPOSE_DO_NOT;
            control.UserInputFlag = false;
            control.DelayTime = animated ? picture.delayCs : 0;
            control.TransparentColor = transparentIndex;
            GifByteType block[4];
            EGifGCBToExtension(&control, block);
            if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, 4, block) != GIF_OK)
                return GifError(gif->Error);
        }
        if (EGifPutImageDesc(gif.get(), 0, 0, width, height, false, nullptr) != GIF_OK)
            return GifError(gif->Error);
        for (int y = 0; y < height; ++y) {
            GifByteType* line = indices.data() + size_t(f) * framePixels + size_t(y) * size_t(width);
            if (EGifPutLine(gif.get(), line, width) != GIF_OK)
                return GifError(gif->Error);
        }
    }
    GifFileType* raw = gif.release();
    if (EGifCloseFile(raw, &error) != GIF_OK)
        return GifError(error);
    return {};
}
