#include "skin/BuiltInFace.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryFile>

#include "widgets/TSkinButton.h"

void LoadBuiltInFace(TSkinButton* button, QSize size, const QString& caption) {
    // Corners in a key colour that the button draws transparent (its bottom-left pixel).
    const QColor key(255, 0, 255);
    QImage face(size, QImage::Format_RGB32);
    face.fill(key);
    {
        QPainter p(&face);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(face.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QLinearGradient shade(r.topLeft(), r.bottomLeft());
        shade.setColorAt(0, QColor(240, 206, 128));
        shade.setColorAt(1, QColor(190, 146, 62));
        p.setPen(QColor(120, 86, 30));
        p.setBrush(shade);
        p.drawRoundedRect(r, 7, 7);
        QFont font(QStringLiteral("Nimbus Sans"));
        font.setPixelSize(std::max(9, size.height() * 2 / 5));
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(44, 28, 18));
        p.drawText(face.rect(), Qt::AlignCenter, caption);
    }
    face.setPixelColor(0, size.height() - 1, key);
    // The button reads its face from a BMP file.
    QTemporaryFile file(QStringLiteral("altavo-face-XXXXXX.bmp"));
    if (file.open() && face.save(&file, "BMP")) {
        file.close();
        button->LoadFace(file.fileName());
    }
}
