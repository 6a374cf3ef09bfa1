// Writes pictures as GIF files with giflib: every frame shares one 256-colour
// palette made by median cut over all frames, so animated logos keep steady colours.
#pragma once

#include <QImage>
#include <QList>
#include <QString>

struct TGifFrames {
    QList<QImage> frames; // all the same size
    int delayCs = 0;      // hundredths of a second per frame (animations only)
    bool loop = true;     // animations repeat forever
};

// Pixels with alpha below 128 become the GIF's transparent colour. Returns an
// empty string on success, else giflib's reason.
QString WriteGif(const QString& path, const TGifFrames& picture);
QString WriteGif(const QString& path, const QImage& still);
