// The skinned flat speed button: its whole face is one bitmap loaded from a BMP file.
// The colour of the bitmap's bottom-left pixel is drawn transparent; the pressed look
// (face moved one pixel down-right) and the disabled look (faded grey) are derived from
// that one image.
#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QString>

class TSkinButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit TSkinButton(QWidget* parent = nullptr);

    // Throws TSkinError "Cannot open file <path>" or "Bitmap image is not valid"; on
    // failure the previous face stays. Without an explicit geometry from its owner the
    // button takes the face's size.
    void LoadFace(const QString& bmpPath);
    QImage Face() const { return face_; }
    QImage DisabledFace() const { return disabledFace_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage face_;
    QImage disabledFace_;
};
