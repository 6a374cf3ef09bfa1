// The training-complete window, shown when the last lesson button of the course
// has played: the skin's "Misc"/"MoviesDone" picture with two buttons, one to
// the challenges and one to the course test.
#pragma once

#include <QDialog>
#include <functional>

class TGifImage;
class TSkinButton;

class TMoviesDone : public QDialog {
    Q_OBJECT
public:
    explicit TMoviesDone(QWidget* parent = nullptr);

    TGifImage* GIFImage1;
    TSkinButton* button1; // the challenges
    TSkinButton* Button2; // the course test

    // What follows the close: set by the lesson screens.
    std::function<void()> OnChallenges;
    std::function<void()> OnTest;

    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
};
