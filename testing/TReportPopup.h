// The report pop-up of an open-book test: how many questions remain, how many
// are right and wrong so far, and the percentage, over the skin's picture.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class TGifImage;
class TSkinButton;

class TReportPopup : public QWidget {
    Q_OBJECT
public:
    explicit TReportPopup(QWidget* parent = nullptr);

    TGifImage* Background; // the window takes its picture's size when shown
    QLabel* lblRemaining;
    QLabel* lblCorrect;
    QLabel* lblIncorrect;
    QLabel* lblPercentage;
    QLineEdit* Remaining;
    QLineEdit* correct;
    QLineEdit* Incorrect;
    QLineEdit* Percentage;
    TSkinButton* ReturnToTest;

    // Fills the four boxes.
    void SetFigures(int remaining, int right, int wrong, int percentage);

protected:
    void showEvent(QShowEvent* event) override;
};
