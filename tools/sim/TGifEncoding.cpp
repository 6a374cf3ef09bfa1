#include "TGifEncoding.h"

#include <QHash>
#include <QPainter>

#include <gif_lib.h>

#include <memory>
#include <vector>

namespace {

int AppendBytes(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

QString GifError(int code) {
    const char* text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("GIF error %1").arg(code);
}

QImage Opaque(const QImage& picture) {
    QImage out(picture.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(0, 0, picture);
    return out;
}

// Indices into an exact palette, or false when the picture has more than 256 colours.
bool ExactPalette(const QImage& image, std::vector<GifByteType>& indices,
                  std::vector<GifColorType>& palette) {
    QHash<QRgb, int> seen;
    size_t at = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x, ++at) {
            const QRgb colour = row[x] | 0xFF000000u;
            auto found = seen.constFind(colour);
            if (found == seen.constEnd()) {
                if (seen.size() == 256)
                    return false;
                found = seen.insert(colour, int(palette.size()));
                palette.push_back(
                    {GifByteType(qRed(colour)), GifByteType(qGreen(colour)), GifByteType(qBlue(colour))});
            }
            indices[at] = GifByteType(*found);
        }
    }
    return true;
}

bool MedianCut(const QImage& image, std::vector<GifByteType>& indices, std::vector<GifColorType>& palette) {
    const size_t pixels = size_t(image.width()) * size_t(image.height());
    std::vector<GifByteType> red(pixels), green(pixels), blue(pixels);
    size_t at = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x, ++at) {
            red[at] = GifByteType(qRed(row[x]));
            green[at] = GifByteType(qGreen(row[x]));
            blue[at] = GifByteType(qBlue(row[x]));
        }
    }
    int colours = 256;
    palette.assign(256, GifColorType{});
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool ok = GifQuantizeBuffer(unsigned(image.width()), unsigned(image.height()), &colours, red.data(),
                                      green.data(), blue.data(), indices.data(), palette.data()) == GIF_OK;
#pragma GCC diagnostic pop
    palette.resize(size_t(colours));
    return ok;
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

} // namespace

QByteArray EncodeGif(const QImage& picture, QString& error) {
    if (picture.isNull()) {
        error = QStringLiteral("no picture");
        return {};
    }
    const QImage image = Opaque(picture);
    const int width = image.width(), height = image.height();
    std::vector<GifByteType> indices(size_t(width) * size_t(height));
    std::vector<GifColorType> palette;
    if (!ExactPalette(image, indices, palette)) {
        palette.clear();
        if (!MedianCut(image, indices, palette)) {
            error = QStringLiteral("colour reduction failed");
            return {};
        }
    }
    // giflib wants a colour table of 2^n entries; the rest stays black and unused.
    int tableSize = 2;
    while (tableSize < int(palette.size()))
        tableSize *= 2;
    palette.resize(size_t(tableSize), GifColorType{0, 0, 0});
    std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(tableSize, palette.data()));
    if (!map) {
        error = QStringLiteral("out of memory");
        return {};
    }

    QByteArray out;
    int code = 0;
    GifFileType* gif = EGifOpen(&out, AppendBytes, &code);
    if (!gif) {
        error = GifError(code);
        return {};
    }
    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map.get()) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < height; ++y)
        ok = EGifPutLine(gif, indices.data() + size_t(y) * size_t(width), width) == GIF_OK;
    if (!ok)
        code = gif->Error;
    int closeCode = 0;
    if (EGifCloseFile(gif, &closeCode) != GIF_OK && ok) {
        ok = false;
        code = closeCode;
    }
    if (!ok) {
        error = GifError(code);
        return {};
    }
    return out;
}
