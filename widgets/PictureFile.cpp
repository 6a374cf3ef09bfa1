#include "PictureFile.h"

#include "GifDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

QImage LoadPictureFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray data = file.readAll();
    if (data.startsWith("GIF8")) {
        const TGifAnimation gif =
            DecodeGif(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size()));
        if (gif.IsEmpty())
            return {};
        const QImage frame(reinterpret_cast<const uchar*>(gif.Frames[0].Pixels.data()), gif.Width, gif.Height,
                           gif.Width * 4, QImage::Format_ARGB32_Premultiplied);
        return frame.copy();
    }
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    return reader.read();
}
