#include "TSkinButton.h"

#include "TSkinError.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace {

// Every pixel of the bottom-left pixel's colour becomes transparent.
QImage WithTransparentKey(const QImage& bitmap) {
    QImage image = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1) | 0xFF000000u;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] | 0xFF000000u) == key)
                row[x] = 0;
    }
    return image;
}

// The disabled look: the face in light grey tones, half as opaque.
QImage MakeDisabled(const QImage& face) {
    QImage image = face;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) == 0)
                continue;
            const int grey = 128 + qGray(row[x]) / 2;
            row[x] = qRgba(grey, grey, grey, qAlpha(row[x]) / 2);
        }
    }
    return image;
}

} // namespace

TSkinButton::TSkinButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus); // speed buttons never take the focus
    setAttribute(Qt::WA_Hover);
}

void TSkinButton::LoadFace(const QString& bmpPath) {
    QFile file(bmpPath);
    if (!file.open(QIODevice::ReadOnly))
        throw TSkinError(QStringLiteral("Cannot open file %1").arg(bmpPath));
    QByteArray data = file.readAll();
    QBuffer buffer(&data);
    // Only a Windows bitmap will do: Qt would otherwise guess another format
    // from the content and take a GIF or PNG as a face.
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    const QImage bitmap = data.startsWith("BM") ? reader.read() : QImage();
    if (bitmap.isNull())
        throw TSkinError(QStringLiteral("Bitmap image is not valid"));

    face_ = WithTransparentKey(bitmap);
    disabledFace_ = MakeDisabled(face_);
    // Size to the face unless the owner gave the button its own geometry; our own
    // resize must not count as the owner's.
    if (!testAttribute(Qt::WA_Resized)) {
        resize(face_.size());
        setAttribute(Qt::WA_Resized, false);
    }
    updateGeometry();
    update();
}

QSize TSkinButton::sizeHint() const {
    return face_.isNull() ? QSize(23, 22) : face_.size();
}

void TSkinButton::paintEvent(QPaintEvent*) {
    if (face_.isNull())
        return;
    QPainter painter(this);
    const QImage& image = isEnabled() ? face_ : disabledFace_;
    QPoint origin((width() - image.width()) / 2, (height() - image.height()) / 2);
    if (isDown() || isChecked())
        origin += QPoint(1, 1);
    painter.drawImage(origin, image);
}
