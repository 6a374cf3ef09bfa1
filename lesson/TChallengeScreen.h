#pragma once
// The challenge screen (3): one simulation question of the course test in the
// test control, with its title, text, steps, reference and hint, the question
// number and the buttons to the neighbouring challenges and back to the movie
// page. A right outcome shows the skin's correct picture, marks the challenge
// done and starts the next one (the first after the last); a wrong one asks
// whether to try again or watch the coaching clip d<n>.avi of the course's
// clip directory.
//
// The challenge window (TChallenges) lists the challenges; the question area
// (the test control, the scroll box, the question number) and the buttons
// btnLeft, btnRight, btnHint, btnReference, btnMain and btnSteps belong to the
// main window, since the test screen shows them too.
#include <QString>
#include <functional>
#include <memory>

#include "shell/TScreenModule.h"

class TMediaPlayer;

class TChallengeScreen : public TScreenModule {
    Q_OBJECT
public:
    explicit TChallengeScreen(TForm1& form);
    ~TChallengeScreen() override;

    // The challenge row shown on this screen; survives leaving the screen, so
    // coming back shows the same challenge.
    int CurrentChallenge = 0;
    // The question's reference and hint, for the reference and hint windows.
    QString ReferenceText;
    QString HintText;
    // The reference and hint windows (the test screen's, given by the program
    // entry): btnReference and btnHint show and hide them on this screen;
    // SetNotes puts the question's texts into them, scrolled to the top.
    QWidget* RefForm = nullptr;
    QWidget* HintForm = nullptr;
    std::function<void(const QString& reference, const QString& hint)> SetNotes;

    void Enter() override;
    void Leave() override;

    // Shows challenge row n; enters the screen first when another is shown.
    void ShowChallenge(int n);
    void btnRightClick();
    void btnLeftClick();
    void ChallengeFieldClick();
    void QvTesting1Correct();
    void QvTesting1Incorrect(int frame);

    // Fills the challenge window with the open test's simulation questions
    // (once per run, asked by the movie page) and answers their number.
    int BuildChallengeList();

    // The player of the coaching clips: the main window's clip player, which
    // the movie page owns and which answers its notices on this screen too,
    // unless one was given here.
    TMediaPlayer& MediaPlayer1();
    void UseMediaPlayer(std::unique_ptr<TMediaPlayer> player);
    void MediaPlayer1Notify();

private:
    void StopCoachingClip();
    // Acts as a click on that row of the challenge list.
    void ChooseRow(int row);

    std::unique_ptr<TMediaPlayer> m_ownPlayer;
};

// Wires the challenge window to the main window and this screen once both
// exist: the marks, the directory's row count, the rows' clicks, its place
// beside the main window.
void ConnectChallengeWindow(TForm1& form);
