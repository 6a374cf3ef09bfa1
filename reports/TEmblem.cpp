// The certificate's emblem: a gold seal with a ring of points, a laurel of
// dots and a star, over two ribbon tails. Drawn once, at twice the size of its
// box on the page, so it stays sharp in print.
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "reports/TCertificate.h"

namespace {

QPainterPath Star(QPointF centre, double outer, double inner, int points) {
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const double radius = i % 2 ? inner : outer;
        const double angle = -M_PI / 2 + i * M_PI / points;
        const QPointF p = centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
        i == 0 ? path.moveTo(p) : path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

} // namespace

QImage CertificateEmblem() {
    static const QImage emblem = [] {
        QImage image(272, 286, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF centre(136, 118);
        const QColor navy(0x1f, 0x2f, 0x5c), gold(0xd4, 0xa0, 0x17), darkGold(0x8a, 0x63, 0x0c);

        // Ribbon tails behind the seal.
        for (int side : {-1, 1}) {
            QPainterPath tail;
            tail.moveTo(centre + QPointF(side * 22, 40));
            tail.lineTo(centre + QPointF(side * 70, 160));
            tail.lineTo(centre + QPointF(side * 44, 148));
            tail.lineTo(centre + QPointF(side * 30, 168));
            tail.lineTo(centre + QPointF(side * -8, 52));
            tail.closeSubpath();
            p.fillPath(tail, navy);
        }
        // Seal with a serrated rim.
        p.fillPath(Star(centre, 112, 98, 36), darkGold);
        p.setBrush(gold);
        p.setPen(QPen(darkGold, 3));
        p.drawEllipse(centre, 92, 92);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(navy, 4));
        p.drawEllipse(centre, 78, 78);
        // A laurel of dots inside the ring.
        p.setPen(Qt::NoPen);
        p.setBrush(darkGold);
        for (int i = 0; i < 24; ++i) {
            const double angle = i * 2 * M_PI / 24;
            p.drawEllipse(centre + QPointF(66 * std::cos(angle), 66 * std::sin(angle)), 4, 4);
        }
        p.fillPath(Star(centre, 52, 21, 5), navy);
        return image;
    }();
    return emblem;
}
