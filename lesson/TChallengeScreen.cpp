#include "lesson/TChallengeScreen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

#include "data/TCourses.h"
#include "data/TTesting.h"
#include "lesson/TBufferingForm.h"
#include "lesson/TChallengeIncorrect.h"
#include "lesson/TChallenges.h"
#include "lesson/TInfoForm.h"
#include "lesson/TMoviePageScreen.h"
#include "lesson/TMoviesDone.h"
#include "lesson/TSteps.h"
#include "platform/TMessages.h"
#include "platform/media/TMoviePanel.h"
#include "platform/media/TQtMediaPlayer.h"
#include "shell/TForm1.h"
#include "widgets/TDirectory.h"
#include "widgets/TGifImage.h"
#include "widgets/TQvTesting.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSpecialListBox.h"

namespace {
// Where the test control and the question box stand on this screen.
constexpr QRect ControlBounds{10, 84, 619, 325};
constexpr QRect QuestionBoxBounds{10, 26, 621, 58};
constexpr int QuestionWidth = 535;
} // namespace

TChallengeScreen::TChallengeScreen(TForm1& form)
    : TScreenModule(form, ScreenChallenge, {"Challenge Page Screen", "background", "Challbk.gif"}) {
    // The buttons are the main window's (the test screen shows them too): each
    // screen acts on them only while it is shown.
    connect(f.btnRight, &QAbstractButton::clicked, this, [this] {
        if (f.CurrentScreen == ScreenChallenge)
            btnRightClick();
    });
    connect(f.btnLeft, &QAbstractButton::clicked, this, [this] {
        if (f.CurrentScreen == ScreenChallenge)
            btnLeftClick();
    });
    connect(f.btnReference, &QAbstractButton::clicked, this, [this] {
        if (f.CurrentScreen == ScreenChallenge && RefForm)
            RefForm->setVisible(!RefForm->isVisible());
    });
    connect(f.btnHint, &QAbstractButton::clicked, this, [this] {
        if (f.CurrentScreen == ScreenChallenge && HintForm)
            HintForm->setVisible(!HintForm->isVisible());
    });
    connect(f.ChallengeField, &QAbstractButton::clicked, this, &TChallengeScreen::ChallengeFieldClick);
    if (auto* page = f.Module<TMoviePageScreen>())
        page->BuildChallengeList = [this] { return BuildChallengeList(); };
    f.QvTesting1->OnCorrect = [this](QObject*) {
        if (f.CurrentScreen == ScreenChallenge)
            QvTesting1Correct();
    };
    f.QvTesting1->OnIncorrect = [this](QObject*, int frame) {
        if (f.CurrentScreen == ScreenChallenge)
            QvTesting1Incorrect(frame);
    };
}

TChallengeScreen::~TChallengeScreen() = default;

void TChallengeScreen::Enter() {
    QApplication::processEvents();
    f.QvTesting1->setGeometry(ControlBounds);
    f.QvTesting1->show();
    f.TestScrollBox->setGeometry(QuestionBoxBounds);
    f.TestScrollBox->show();
    f.lblQuestionNum->show();
    f.btnMain->show();
    QApplication::processEvents();
    ShowChallenge(CurrentChallenge);
}

void TChallengeScreen::Leave() {
    StopCoachingClip();
    if (f.Image1)
        f.Image1->hide();
    f.TestScrollBox->hide();
    f.QvTesting1->setGeometry(1, 1, 1, 1);
    f.QvTesting1->hide();
    for (QWidget* control : {static_cast<QWidget*>(f.btnReference), static_cast<QWidget*>(f.btnHint),
                             static_cast<QWidget*>(f.lblQuestionNum), static_cast<QWidget*>(f.btnLeft),
                             static_cast<QWidget*>(f.btnRight), static_cast<QWidget*>(f.btnMain),
                             static_cast<QWidget*>(f.btnSteps)})
        control->hide();
    for (QWidget* window : {static_cast<QWidget*>(f.Challenges), static_cast<QWidget*>(f.Directory),
                            static_cast<QWidget*>(f.Steps), RefForm, HintForm})
        if (window)
            window->hide();
}

void TChallengeScreen::ShowChallenge(int n) {
    QApplication::processEvents();
    CurrentChallenge = n;
    if (f.CurrentScreen != ScreenChallenge) {
        f.ShowScreen(ScreenChallenge); // entering shows CurrentChallenge
        return;
    }
    const int count = f.Challenges ? f.Challenges->Count() : 0;
    if (n < 0 || n >= count || !f.Testing) {
        // A course without simulation questions: nothing to work.
        f.QvTesting1->SetQuestionType(0);
        f.lblQuestionNum->setText(QString());
        for (QWidget* button : {f.btnLeft, f.btnRight, f.btnReference, f.btnHint, f.btnSteps})
            button->hide();
        return;
    }
    // The list's selection follows the challenge shown, so the right outcome
    // and the arrows work on it however the challenge was started.
    f.Challenges->ListBox1->SetItemIndex(n);

    const QuestionAnswer& entry = f.Challenges->Entry(n);
    f.Testing->GoToTestQuestion(entry.Position);
    const TTestQuestion& question = f.Testing->CurrentQuestion();

    if (f.Steps) {
        f.Steps->ClearSteps();
        for (int k = 1; k <= question.NumAnswer; ++k) {
            f.Steps->AddStep(QStringLiteral("Step %1: ").arg(k), f.Testing->GetTestQuestionAnswerText(k));
            f.Steps->AddStep(QString(), QString());
        }
    }

    // Written from the question's data when missing; a file that can be
    // neither found nor written is given to the control anyway, which says why
    // it cannot play it.
    QString path;
    f.Testing->WriteTestQuestionGraphicFile(&path);
    f.QvTesting1->SetFileName(path);
    f.QvTesting1->SetQuestionType(TQvTesting::kSimulationQuestion);

    ReferenceText = question.Ref;
    HintText = question.Hint;
    if (SetNotes)
        SetNotes(ReferenceText, HintText);

    if (f.Steps)
        f.Steps->hide();
    f.btnSteps->show();
    f.btnSteps->raise();

    f.Title->setText(question.Title);
    f.Title->resize(QuestionWidth, f.Title->heightForWidth(QuestionWidth));
    f.Question->setText(question.Question);
    f.Question->move(f.Question->x(), f.Title->y() + f.Title->height() - 1);
    f.Question->resize(QuestionWidth, f.Question->heightForWidth(QuestionWidth));
    if (QWidget* area = f.TestScrollBox->widget())
        area->resize(QuestionWidth, f.Question->geometry().bottom() + 1);
    f.TestScrollBox->verticalScrollBar()->setValue(0);

    f.btnReference->setVisible(!question.Ref.isEmpty());
    f.btnHint->setVisible(!question.Hint.isEmpty());
    // A window left open from the previous challenge goes with its button.
    if (RefForm && question.Ref.isEmpty())
        RefForm->hide();
    if (HintForm && question.Hint.isEmpty())
        HintForm->hide();
    f.lblQuestionNum->setText(QStringLiteral("Question %1 of %2").arg(n + 1).arg(count));
    f.btnRight->setVisible(n != count - 1);
    f.btnLeft->setVisible(n != 0);
    QApplication::processEvents();
}

void TChallengeScreen::ChooseRow(int row) {
    f.Challenges->ListBox1->SetItemIndex(row);
    f.Challenges->ListBox1Click();
}

void TChallengeScreen::btnRightClick() {
    if (MediaPlayer1().Mode() == TMediaMode::Playing)
        StopCoachingClip();
    if (!f.Challenges || CurrentChallenge >= f.Challenges->Count() - 1)
        return;
    ChooseRow(CurrentChallenge + 1);
}

void TChallengeScreen::btnLeftClick() {
    if (MediaPlayer1().Mode() == TMediaMode::Playing)
        StopCoachingClip();
    if (!f.Challenges || CurrentChallenge <= 0)
        return;
    ChooseRow(CurrentChallenge - 1);
}

// The movie page's challenge button shows the window, or hides it when shown.
void TChallengeScreen::ChallengeFieldClick() {
    if (!f.Challenges)
        return;
    if (f.Challenges->isVisible()) {
        f.Challenges->hide();
        return;
    }
    f.HideSideWindows();
    f.Challenges->show();
    f.Challenges->raise();
}

void TChallengeScreen::QvTesting1Correct() {
    if (f.InfoForm && f.CorrectImage)
        f.InfoForm->ShowImage(*f.CorrectImage); // holds the learner for its display time
    if (!f.Challenges || f.Challenges->Count() == 0 || f.CurrentScreen != ScreenChallenge)
        return;
    const int done = CurrentChallenge;
    f.Challenges->SetMark(done, TChallenges::DoneState);
    ChooseRow(done + 1 < f.Challenges->Count() ? done + 1 : 0);
}

void TChallengeScreen::QvTesting1Incorrect(int) {
    if (!f.ChallengeIncorrect)
        return;
    f.ChallengeIncorrect->CoachMe = false;
    f.ChallengeIncorrect->exec();
    // Either way the learner works the simulation again, after the clip or at once.
    f.QvTesting1->Restart();
    if (!f.ChallengeIncorrect->CoachMe || f.CurrentScreen != ScreenChallenge)
        return;
    QApplication::processEvents();
    f.MoviePanel->setGeometry(f.QvTesting1->x(), f.QvTesting1->y(), 619, 325);
    if (auto* display = qobject_cast<TMoviePanel*>(f.MoviePanel))
        display->Clear();
    QApplication::processEvents();
    TMediaPlayer& player = MediaPlayer1();
    player.SetFileName(f.StreamDir + QStringLiteral("d%1.avi").arg(CurrentChallenge + 1));
    player.SetNotify(false); // the open's notice would be taken for the clip's end
    player.Open();
    f.MoviePanel->show();
    f.MoviePanel->raise();
    player.Play(); // its notice comes at the clip's end
}

// What the clip player's notice does on this screen: the coaching clip has
// ended (or was stopped), so the panel goes and the simulation shows again.
void TChallengeScreen::MediaPlayer1Notify() {
    if (f.CurrentScreen != ScreenChallenge)
        return;
    TMediaPlayer& player = MediaPlayer1();
    const TMediaMode mode = player.Mode();
    if (mode == TMediaMode::Stopped || mode == TMediaMode::Playing) {
        f.MoviePanel->hide();
        if (f.BufferingForm && f.BufferingForm->isVisible())
            f.BufferingForm->hide();
    } else if (mode == TMediaMode::Open) {
        player.Play();
    }
}

TMediaPlayer& TChallengeScreen::MediaPlayer1() {
    if (m_ownPlayer)
        return *m_ownPlayer;
    if (auto* page = f.Module<TMoviePageScreen>())
        return page->MediaPlayer1();
    // Without a movie page (never in the program) the screen plays its own.
    UseMediaPlayer(std::make_unique<TQtMediaPlayer>(qobject_cast<TMoviePanel*>(f.MoviePanel)));
    return *m_ownPlayer;
}

void TChallengeScreen::UseMediaPlayer(std::unique_ptr<TMediaPlayer> player) {
    m_ownPlayer = std::move(player);
    m_ownPlayer->OnNotify = [this] { MediaPlayer1Notify(); };
    // A coaching clip that cannot be played is reported as any clip is; the
    // simulation stays for another attempt.
    m_ownPlayer->OnError = [this](const QString& text) {
        f.MoviePanel->hide();
        Messages().ShowMessage(text);
    };
}

// Leaving the screen or moving to another challenge ends a coaching clip.
void TChallengeScreen::StopCoachingClip() {
    TMediaPlayer& player = MediaPlayer1();
    if (player.Mode() == TMediaMode::Notready)
        return;
    player.SetNotify(false);
    player.Stop();
    player.SetNotify(false);
    player.Close();
    f.MoviePanel->hide();
}

int TChallengeScreen::BuildChallengeList() {
    if (!f.Challenges)
        return 0;
    f.Challenges->Clear();
    if (f.Courses && f.Courses->GoToCourseId(f.CurrentCourseId))
        f.Challenges->SetCourseTitle(f.Courses->GetTitle());
    if (!f.Testing || !f.Testing->IsOpen())
        return 0;
    for (int q = 1; q <= f.Testing->NumTestQ(); ++q) {
        if (f.Testing->GoToTestQuestion(q) != 0)
            continue;
        const TTestQuestion& question = f.Testing->CurrentQuestion();
        if (question.Type != TTesting::Simulation)
            continue;
        QuestionAnswer entry;
        entry.Position = question.Num;
        entry.QuestionId = question.ID;
        entry.TestId = f.Testing->OpenTestId();
        entry.QType = question.Type;
        entry.ChoiceCount = question.NumAnswer;
        entry.TitleText = question.Title;
        entry.QuestionText = question.Question;
        entry.GraphicFile = question.Graphic;
        f.Challenges->AddChallenge(question.Title, entry, TChallenges::OpenState);
    }
    return f.Challenges->Count();
}

void ConnectChallengeWindow(TForm1& f) {
    TChallengeScreen* screen = f.Module<TChallengeScreen>();
    if (!f.Challenges || !screen)
        return;
    f.Challenges->SetMarks(&f.Marks);
    f.Challenges->DirectoryRows = [&f] { return f.Directory ? f.Directory->ListBox1->Count() : 0; };
    f.Challenges->OnChooseChallenge = [screen](int row) { screen->ShowChallenge(row); };
    f.Challenges->SetAnchor(&f);
    f.SideWindows.push_back(f.Challenges);
    f.SideWindowPlacers.push_back([&f] {
        if (f.Challenges->isVisible())
            f.Challenges->FollowAnchor();
    });
    if (f.MoviesDone)
        f.MoviesDone->OnChallenges = [screen] { screen->ShowChallenge(0); };
}
