// The challenge-incorrect window: after a wrong answer on a challenge, try
// again or watch the coaching clip. `CoachMe` says which was chosen.
#pragma once

#include <QDialog>

class TGifImage;
class TSkinButton;

class TChallengeIncorrect : public QDialog {
    Q_OBJECT
public:
    explicit TChallengeIncorrect(QWidget* parent = nullptr);

    TGifImage* Background; // auto-sized: the window takes the picture's size
    TSkinButton* btnTryAgain;
    TSkinButton* btnCoachMe;
    bool CoachMe = false;

    void btnClick(QObject* sender);

protected:
    void showEvent(QShowEvent* event) override;
};
