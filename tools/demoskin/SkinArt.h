// Drawing primitives shared by every demo-skin picture: screen frames, panels,
// wells, headings and button faces in one theme's palette.
#pragma once

#include "SkinTheme.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

namespace SkinArt {

QImage Canvas(QSize size, const QColor& fill);
QFont SansFont(const TSkinTheme& theme, int pixelSize, bool bold = false);
QFont HeadingFont(const TSkinTheme& theme, int pixelSize);

// A full 640 by 480 screen: shaded backdrop, title bar with the product name,
// a thin footer. Returns the painter-ready canvas.
QImage ScreenBase(const TSkinTheme& theme, const QString& screenTitle);
// Heading centred at `top` with an optional line of explanation below it.
void Heading(QPainter& p, const TSkinTheme& theme, int top, const QString& heading, const QString& sub = {});
void HeadingIn(QPainter& p, const TSkinTheme& theme, const QRect& area, const QString& heading,
               const QString& sub = {});
// A raised panel and a sunken well (behind lists, edit boxes and clip areas).
void Panel(QPainter& p, const TSkinTheme& theme, const QRect& r);
void Well(QPainter& p, const TSkinTheme& theme, const QRect& r);
// A caption right-aligned against `boxLeft`, vertically centred on the box.
void FieldLabel(QPainter& p, const TSkinTheme& theme, const QRect& box, const QString& text);
void Text(QPainter& p, const TSkinTheme& theme, const QRect& r, const QString& text, int pixelSize,
          int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, bool bold = false);
// A button as drawn into a window picture (for windows whose buttons show the picture through).
void ButtonArt(QPainter& p, const TSkinTheme& theme, const QRect& r, const QString& caption,
               bool strong = true);

// A button face bitmap: the caption on a rounded plate; the corners are filled
// with `KeyColour`, which the button draws transparent (its bottom-left pixel).
QColor KeyColour(const TSkinTheme& theme);
QImage ButtonFace(const TSkinTheme& theme, QSize size, const QString& caption, bool strong = true);
// A face carrying a drawn symbol instead of a caption (title-bar and clip buttons).
enum class Symbol { Help, Minimize, Close, Play, Pause, Stop, Left, Right };
QImage SymbolFace(const TSkinTheme& theme, QSize size, Symbol symbol);
void DrawSymbol(QPainter& p, const QRectF& r, Symbol symbol, const QColor& colour);

// The product mark: a stylised play triangle in a ring.
void Mark(QPainter& p, const TSkinTheme& theme, const QRectF& r);

} // namespace SkinArt
