// Builds small GIF files in memory with giflib's encoder, so each test states the exact
// frames, maps and extensions it needs.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <vector>

struct GifFrameSpec {
    int left = 0, top = 0, width = 1, height = 1;
    std::vector<unsigned char> indices; // width × height, row by row in display order
    QList<QColor> localMap;             // empty: use the global map
    bool interlace = false;
    int disposal = 0;
    int delayCs = 10;
    int transparentIndex = -1;
};

struct GifPicture {
    int width = 1, height = 1;
    QList<QColor> globalMap; // empty: the file has no global map
    std::vector<GifFrameSpec> frames;
    int loopCount = -1; // -1: no looping extension
    bool trailer = true;
};

QByteArray WriteGif(const GifPicture& picture);
