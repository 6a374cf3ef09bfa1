// Reads a still picture from a skin file: a GIF through our decoder (first frame), any
// other format Qt reads (BMP, PNG). A missing or unreadable file gives a null image.
#pragma once

#include <QImage>
#include <QString>

QImage LoadPictureFile(const QString& path);
