#include "SkinArt.h"

#include "shell/ControlLayout.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace SkinArt {

QImage Canvas(QSize size, const QColor& fill) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

QFont SansFont(const TSkinTheme& theme, int pixelSize, bool bold) {
    QFont f(theme.sansFamily);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFont HeadingFont(const TSkinTheme& theme, int pixelSize) {
    QFont f(theme.headingFamily);
    f.setPixelSize(pixelSize);
    f.setBold(true);
    return f;
}

QImage ScreenBase(const TSkinTheme& theme, const QString& screenTitle) {
    QImage image = Canvas(ControlLayout::Window, theme.base);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect all(QPoint(0, 0), ControlLayout::Window);

    QRadialGradient glow(QPointF(320, 200), 460);
    glow.setColorAt(0, theme.raised);
    glow.setColorAt(1, theme.base.darker(118));
    p.fillRect(all, glow);

    // Faint diagonal ribbons give the backdrop some depth without distracting.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        QColor ribbon = theme.accent;
        ribbon.setAlpha(10 + 6 * i);
        QPainterPath path;
        path.moveTo(-40, 480 - 90 * i);
        path.cubicTo(200, 380 - 80 * i, 420, 520 - 70 * i, 700, 330 - 60 * i);
        path.lineTo(700, 360 - 60 * i);
        path.cubicTo(420, 560 - 70 * i, 200, 420 - 80 * i, -40, 520 - 90 * i);
        p.fillPath(path, ribbon);
    }

    // Title bar with the product name and mark.
    const QRect bar(0, 0, 640, ControlLayout::TitleBarHeight);
    QLinearGradient barShade(bar.topLeft(), bar.bottomLeft());
    barShade.setColorAt(0, theme.deep.lighter(130));
    barShade.setColorAt(1, theme.deep);
    p.fillRect(bar, barShade);
    p.fillRect(QRect(0, bar.bottom() + 1, 640, 2), theme.accent);
    Mark(p, theme, QRectF(5, 2, 16, 16));
    p.setPen(theme.heading);
    p.setFont(SansFont(theme, 13, true));
    p.drawText(QRect(26, 0, 200, bar.height()), Qt::AlignLeft | Qt::AlignVCenter, "Altavo");
    if (!screenTitle.isEmpty()) {
        p.setPen(theme.text);
        p.setFont(SansFont(theme, 12));
        p.drawText(QRect(90, 0, 460, bar.height()), Qt::AlignCenter, screenTitle);
    }

    // Footer line.
    p.fillRect(QRect(0, 476, 640, 4), theme.deep);
    p.fillRect(QRect(0, 475, 640, 1), theme.accentDark);
    // Window edge.
    p.setPen(theme.deep);
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0, 0, -1, -1));
    return image;
}

void Heading(QPainter& p, const TSkinTheme& theme, int top, const QString& heading, const QString& sub) {
    HeadingIn(p, theme, QRect(20, top, 600, 80), heading, sub);
}

void HeadingIn(QPainter& p, const TSkinTheme& theme, const QRect& area, const QString& heading,
               const QString& sub) {
    p.save();
    p.setFont(HeadingFont(theme, 30));
    const QRect headRect(area.left(), area.top(), area.width(), 38);
    // a soft drop shadow keeps the heading readable on the shaded backdrop
    p.setPen(QColor(0, 0, 0, 110));
    p.drawText(headRect.translated(2, 2), Qt::AlignHCenter | Qt::AlignVCenter, heading);
    p.setPen(theme.heading);
    p.drawText(headRect, Qt::AlignHCenter | Qt::AlignVCenter, heading);
    const int lineWidth = std::min(area.width() - 40, p.fontMetrics().horizontalAdvance(heading) + 60);
    p.fillRect(QRect(area.center().x() - lineWidth / 2, headRect.bottom() + 4, lineWidth, 2), theme.accent);
    if (!sub.isEmpty()) {
        p.setFont(SansFont(theme, 14));
        p.setPen(theme.text);
        p.drawText(QRect(area.left(), headRect.bottom() + 10, area.width(), area.height() - 48),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, sub);
    }
    p.restore();
}

void Panel(QPainter& p, const TSkinTheme& theme, const QRect& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, theme.raised.lighter(112));
    shade.setColorAt(1, theme.raised.darker(108));
    p.setPen(QPen(theme.deep, 1));
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), theme.cornerRadius + 2,
                      theme.cornerRadius + 2);
    p.setPen(QPen(theme.raised.lighter(140), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5), theme.cornerRadius + 1,
                      theme.cornerRadius + 1);
    p.restore();
}

void Well(QPainter& p, const TSkinTheme& theme, const QRect& r) {
    p.save();
    const QRect outer = r.adjusted(-3, -3, 3, 3);
    p.fillRect(outer, theme.deep);
    p.fillRect(outer.adjusted(1, 1, -1, -1), theme.inset);
    p.setPen(theme.raised.lighter(130));
    p.drawLine(outer.bottomLeft(), outer.bottomRight());
    p.drawLine(outer.topRight(), outer.bottomRight());
    p.restore();
}

void FieldLabel(QPainter& p, const TSkinTheme& theme, const QRect& box, const QString& text) {
    p.save();
    p.setFont(SansFont(theme, 14, true));
    p.setPen(theme.text);
    p.drawText(QRect(box.left() - 190, box.top(), 178, box.height()), Qt::AlignRight | Qt::AlignVCenter,
               text);
    p.restore();
}

void Text(QPainter& p, const TSkinTheme& theme, const QRect& r, const QString& text, int pixelSize, int flags,
          bool bold) {
    p.save();
    p.setFont(SansFont(theme, pixelSize, bold));
    p.setPen(theme.text);
    p.drawText(r, flags, text);
    p.restore();
}

namespace {

void Plate(QPainter& p, const TSkinTheme& theme, const QRectF& r, bool strong) {
    const QColor face = strong ? theme.accent : theme.raised.lighter(135);
    const QColor edge = strong ? theme.accentDark : theme.deep;
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, face.lighter(128));
    shade.setColorAt(0.5, face);
    shade.setColorAt(1, face.darker(118));
    const qreal radius = std::min<qreal>(theme.cornerRadius, r.height() / 2 - 1);
    p.setPen(QPen(edge, 1));
    p.setBrush(shade);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setPen(QPen(face.lighter(150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(r.left() + radius, r.top() + 1.5), QPointF(r.right() - radius, r.top() + 1.5));
}

int CaptionSize(const QString& caption, const QRectF& r, const TSkinTheme& theme) {
    // The largest size up to 15 pixels that fits the plate.
    for (int size = std::min(15, int(r.height() * 0.55)); size > 8; --size) {
        QFontMetrics m(SansFont(theme, size, true));
        if (m.horizontalAdvance(caption) <= r.width() - 10)
            return size;
    }
    return 9;
}

} // namespace

void ButtonArt(QPainter& p, const TSkinTheme& theme, const QRect& r, const QString& caption, bool strong) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Plate(p, theme, r, strong);
    p.setFont(SansFont(theme, CaptionSize(caption, r, theme), true));
    p.setPen(strong ? theme.buttonText : theme.text);
    p.drawText(r, Qt::AlignCenter, caption);
    p.restore();
}

QColor KeyColour(const TSkinTheme& theme) {
    // Close to the backdrop, so the corners look right even where not keyed out,
    // but an exact colour no other pixel of the face uses.
    return QColor(theme.base.red() ^ 1, theme.base.green(), theme.base.blue() ^ 1);
}

QImage ButtonFace(const TSkinTheme& theme, QSize size, const QString& caption, bool strong) {
    QImage face = Canvas(size, KeyColour(theme));
    QPainter p(&face);
    ButtonArt(p, theme, QRect(QPoint(0, 0), size), caption, strong);
    p.end();
    // Antialiased corner pixels could blend into near-key colours; put the exact key back.
    face.setPixelColor(0, size.height() - 1, KeyColour(theme));
    return face.convertToFormat(QImage::Format_RGB32);
}

void DrawSymbol(QPainter& p, const QRectF& r, Symbol symbol, const QColor& colour) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = std::min(r.width(), r.height());
    const QPointF c = r.center();
    QPen pen(colour, std::max<qreal>(1.4, s * 0.14), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(colour);
    const qreal h = s * 0.3;
    switch (symbol) {
    case Symbol::Help: {
        QFont f("Nimbus Sans");
        f.setPixelSize(int(s * 0.95));
        f.setBold(true);
        p.setFont(f);
        p.drawText(r, Qt::AlignCenter, "?");
        break;
    }
    case Symbol::Minimize:
        p.drawLine(QPointF(c.x() - h, c.y() + h * 0.8), QPointF(c.x() + h, c.y() + h * 0.8));
        break;
    case Symbol::Close:
        p.drawLine(QPointF(c.x() - h * 0.8, c.y() - h * 0.8), QPointF(c.x() + h * 0.8, c.y() + h * 0.8));
        p.drawLine(QPointF(c.x() + h * 0.8, c.y() - h * 0.8), QPointF(c.x() - h * 0.8, c.y() + h * 0.8));
        break;
    case Symbol::Play: {
        QPolygonF tri;
        tri << QPointF(c.x() - h * 0.8, c.y() - h) << QPointF(c.x() + h, c.y())
            << QPointF(c.x() - h * 0.8, c.y() + h);
        p.setPen(Qt::NoPen);
        p.drawPolygon(tri);
        break;
    }
    case Symbol::Pause:
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(c.x() - h, c.y() - h, h * 0.7, 2 * h));
        p.drawRect(QRectF(c.x() + h * 0.3, c.y() - h, h * 0.7, 2 * h));
        break;
    case Symbol::Stop:
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(c.x() - h * 0.9, c.y() - h * 0.9, h * 1.8, h * 1.8));
        break;
    case Symbol::Left:
    case Symbol::Right: {
        const qreal dir = symbol == Symbol::Right ? 1 : -1;
        QPolygonF tri;
        tri << QPointF(c.x() - dir * h * 0.6, c.y() - h) << QPointF(c.x() + dir * h * 0.8, c.y())
            << QPointF(c.x() - dir * h * 0.6, c.y() + h);
        p.setPen(Qt::NoPen);
        p.drawPolygon(tri);
        break;
    }
    }
    p.restore();
}

QImage SymbolFace(const TSkinTheme& theme, QSize size, Symbol symbol) {
    QImage face = Canvas(size, KeyColour(theme));
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    const bool small = size.height() < 20;
    const QRectF r = QRectF(QPoint(0, 0), size);
    if (small) {
        // Title-bar buttons: a flat chip on the title bar's colour.
        p.fillRect(r, theme.deep.lighter(150));
        p.setPen(theme.deep);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        DrawSymbol(p, r.adjusted(2, 2, -2, -2), symbol, symbol == Symbol::Close ? theme.accent : theme.text);
    } else {
        Plate(p, theme, r, true);
        DrawSymbol(p, r.adjusted(4, 4, -4, -4), symbol, theme.buttonText);
    }
    p.end();
    if (!small)
        face.setPixelColor(0, size.height() - 1, KeyColour(theme));
    return face.convertToFormat(QImage::Format_RGB32);
}

void Mark(QPainter& p, const TSkinTheme& theme, const QRectF& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = std::max<qreal>(1.5, r.width() * 0.1);
    p.setPen(QPen(theme.accent, w));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r.adjusted(w / 2, w / 2, -w / 2, -w / 2));
    DrawSymbol(p, r.adjusted(r.width() * 0.22, r.height() * 0.22, -r.width() * 0.16, -r.height() * 0.22),
               Symbol::Play, theme.heading);
    p.restore();
}

} // namespace SkinArt
