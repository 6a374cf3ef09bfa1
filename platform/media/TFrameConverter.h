#pragma once
// Turns a decoded video frame into an RGB picture for painting. Our own code
// rather than QVideoFrame::toImage(): that one ignores row padding on odd
// widths and keeps the zero alpha of palette codecs. Every plane is read by
// its own stride, alpha is ignored and the frame's colour range (video or
// full) and colour space (BT.601 or BT.709) are honoured.
#include <QImage>

class QVideoFrame;

// A picture of Format_RGB32, or a null image for an invalid frame.
QImage ConvertVideoFrame(const QVideoFrame& frame);
