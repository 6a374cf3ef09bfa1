#include "testing/TReportPopup.h"

#include <QLabel>
#include <QLineEdit>

#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"
#include "widgets/WinColor.h"

namespace {

QLabel* RowLabel(QWidget* parent, int row, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(14, 44 + row * 27, 100, 21);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(16);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

QLineEdit* RowBox(QWidget* parent, int row) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(120, 44 + row * 27, 62, 21);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignRight);
    return box;
}

} // namespace

TReportPopup::TReportPopup(QWidget* parent) : QWidget(parent) {
    MakeSkinnedWindow(this, QSize(200, 196));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, WinColor(40063587));
    setPalette(palette);
    Background = new TGifImage(this);
    Background->setGeometry(0, 0, 200, 196);
    Background->SetAutoSize(true);
    lblRemaining = RowLabel(this, 0, QStringLiteral("Remaining"));
    lblCorrect = RowLabel(this, 1, QStringLiteral("Correct"));
    lblIncorrect = RowLabel(this, 2, QStringLiteral("Incorrect"));
    lblPercentage = RowLabel(this, 3, QStringLiteral("Percentage"));
    Remaining = RowBox(this, 0);
    correct = RowBox(this, 1);
    Incorrect = RowBox(this, 2);
    Percentage = RowBox(this, 3);
    ReturnToTest = new TSkinButton(this);
    ReturnToTest->setGeometry(24, 156, 152, 30);
    connect(ReturnToTest, &TSkinButton::clicked, this, &QWidget::close);
}

void TReportPopup::SetFigures(int remaining, int right, int wrong, int percentage) {
    Remaining->setText(QString::number(remaining));
    correct->setText(QString::number(right));
    Incorrect->setText(QString::number(wrong));
    Percentage->setText(QString::number(percentage));
}

void TReportPopup::showEvent(QShowEvent* event) {
    if (!Background->IsEmpty())
        resize(Background->PictureSize());
    QWidget::showEvent(event);
}
