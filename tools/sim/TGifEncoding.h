// Encodes a still picture as GIF bytes for a simulation step. A picture of at most 256
// colours keeps every pixel exactly (screenshots usually are); a richer one is reduced
// to 256 colours by median cut.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Transparent pixels are laid on white first: a step's picture is opaque. Returns empty
// bytes with `error` set when giflib fails.
QByteArray EncodeGif(const QImage& picture, QString& error);
