// The challenge window and the challenge screen on the real main window: a
// course test of seven simulation questions (and one that is not a
// simulation), driven with QTest clicks on the list and the test control.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "SimulationFixture.h"
#include "TInstallation.h"
#include "TestMediaPlayer.h"
#include "data/TTesting.h"
#include "lesson/TChallengeIncorrect.h"
#include "lesson/TChallengeScreen.h"
#include "lesson/TChallenges.h"
#include "lesson/TInfoForm.h"
#include "lesson/TMoviesDone.h"
#include "lesson/TSteps.h"
#include "widgets/TDirectory.h"
#include "widgets/TGifImage.h"
#include "widgets/TQvTesting.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSpecialListBox.h"

namespace {

constexpr int Challenges = 7;
constexpr int DirectoryRows = 3; // D: the marks of the challenges follow these bytes

// One click step: a click on kClickTarget answers it.
QByteArray OneClickSimulation() {
    const QJsonArray target{kClickTarget.x(), kClickTarget.y(), kClickTarget.width(), kClickTarget.height()};
    const QJsonArray steps{SimulationStep("Click File", SolidGif({619, 325}, QColor(200, 220, 240)),
                                          {{"kind", "click"}, {"target", target}})};
    return Bytes({{"format", "altavo-simulation"},
                  {"version", 1},
                  {"title", "Saving"},
                  {"width", 619},
                  {"height", 325},
                  {"steps", steps}});
}

class ChallengeScreen : public ::testing::Test {
protected:
    void SetUp() override {
        TForm1& form = install.Start();
        f = &form;
        screen = f->Module<TChallengeScreen>();
        ASSERT_NE(screen, nullptr);
        ASSERT_NE(f->Challenges, nullptr);
        QDir(install.Path("db")).mkpath("CH");
        ASSERT_TRUE(f->Testing->AddTest("CHT", "P", "CH/", "CHTQ", "Challenge test"));
        ASSERT_EQ(f->Testing->OpenTest("CHT"), 0);
        // Question 2 is no simulation and gets no row; the rest are rows 0..6.
        int position = 1;
        for (int row = 0; row < Challenges; ++row, ++position) {
            if (position == 2)
                f->Testing->AddTestQuestion(position++, TTesting::TrueFalse, "TF", "Is it?", 2, "TRUE", "",
                                            "", "");
            // Row 0 has neither reference nor hint.
            const QString ref = row == 0 ? QString() : QStringLiteral("Page %1").arg(row);
            const QString hint = row == 0 ? QString() : QStringLiteral("Hint %1").arg(row);
            const int id = f->Testing->AddTestQuestion(position, TTesting::Simulation,
                                                       QString("Task %1").arg(row), "Save the sheet", 2, "",
                                                       hint, ref, QString("q%1.sim").arg(row + 1));
            ASSERT_GT(id, 0);
            ASSERT_TRUE(f->Testing->SetTestQuestionGraphicDT(OneClickSimulation()));
            ASSERT_EQ(f->Testing->SetTestQuestionXtra(id, 1, "Click File"), 0);
            ASSERT_EQ(f->Testing->SetTestQuestionXtra(id, 2, "Click Save"), 0);
        }
        for (int r = 0; r < DirectoryRows; ++r)
            f->Directory->AddButtonRow(QString("Button %1").arg(r), 1, r + 1, 0);
        f->Marks = QByteArray(DirectoryRows + Challenges, '\0');
        f->StreamDir = install.Path("media") + "/";
        ASSERT_EQ(screen->BuildChallengeList(), Challenges);
        auto player = std::make_unique<TTestMediaPlayer>();
        this->player = player.get();
        screen->UseMediaPlayer(std::move(player));
    }

    TSpecialListBox* List() { return f->Challenges->ListBox1; }
    void ClickRow(int row, Qt::MouseButton button) {
        QTest::mouseClick(List()->viewport(), button, {}, List()->ItemRect(row).center());
    }
    void StartFromList(int row) {
        screen->ChallengeFieldClick();
        ASSERT_TRUE(f->Challenges->isVisible());
        ClickRow(row, Qt::LeftButton);
    }
    QByteArray ChallengeMarks() const { return f->Marks.mid(DirectoryRows); }

    TInstallation install;
    TForm1* f = nullptr;
    TChallengeScreen* screen = nullptr;
    TTestMediaPlayer* player = nullptr;
};

TEST_F(ChallengeScreen, RightClickTogglesMarkAndItsByteLeftClickStarts) {
    screen->ChallengeFieldClick();
    ClickRow(2, Qt::RightButton);
    EXPECT_EQ(List()->State(2), 1);
    EXPECT_EQ(ChallengeMarks(), QByteArray("\0\0\1\0\0\0\0", 7));
    EXPECT_NE(f->CurrentScreen, ScreenChallenge) << "a right click starts nothing";
    EXPECT_TRUE(f->Challenges->isVisible());
    ClickRow(2, Qt::RightButton);
    EXPECT_EQ(List()->State(2), 0);
    EXPECT_EQ(ChallengeMarks(), QByteArray(7, '\0'));

    // A marks string cut short (an older bookmark) grows rather than losing the mark.
    f->Marks.truncate(DirectoryRows);
    ClickRow(4, Qt::RightButton);
    EXPECT_EQ(ChallengeMarks(), QByteArray("\0\0\0\0\1", 5));

    ClickRow(2, Qt::LeftButton);
    EXPECT_FALSE(f->Challenges->isVisible());
    ASSERT_EQ(f->CurrentScreen, ScreenChallenge);
    EXPECT_EQ(screen->CurrentChallenge, 2);
    EXPECT_EQ(f->lblQuestionNum->text(), "Question 3 of 7");
    EXPECT_EQ(f->Title->text(), "Task 2");
    EXPECT_EQ(f->Question->text(), "Save the sheet");
    EXPECT_EQ(f->Question->y(), f->Title->y() + f->Title->height() - 1);
    EXPECT_EQ(f->QvTesting1->geometry(), QRect(10, 84, 619, 325));
    // The simulation file is written from the question's data below the test's directory.
    const QString file = install.Path("db") + "/CH/q3.sim";
    EXPECT_EQ(QDir::cleanPath(f->QvTesting1->FileName()), QDir::cleanPath(file));
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), OneClickSimulation());
    EXPECT_EQ(f->QvTesting1->State(), TQvTesting::TState::Playing);
    // Two steps, each followed by a spacer row; the window waits for its button.
    ASSERT_EQ(f->Steps->ListBox1->Count(), 4);
    EXPECT_EQ(f->Steps->ListBox1->NewItem(0), "Step 1: ");
    EXPECT_EQ(f->Steps->ListBox1->Item(2), "Click Save");
    EXPECT_TRUE(f->Steps->ListBox1->Item(3).isEmpty());
    EXPECT_FALSE(f->Steps->isVisible());
    EXPECT_TRUE(f->btnSteps->isVisible());
}

TEST_F(ChallengeScreen, ButtonsFollowThePositionAndTheQuestion) {
    struct Case {
        int row;
        bool left, right, reference, hint;
    };
    const Case cases[] = {
        {0, false, true, false, false}, {3, true, true, true, true}, {6, true, false, true, true}};
    for (const Case& c : cases) {
        screen->ShowChallenge(c.row);
        ASSERT_EQ(f->CurrentScreen, ScreenChallenge);
        EXPECT_EQ(f->btnLeft->isVisible(), c.left) << c.row;
        EXPECT_EQ(f->btnRight->isVisible(), c.right) << c.row;
        EXPECT_EQ(f->btnReference->isVisible(), c.reference) << c.row;
        EXPECT_EQ(f->btnHint->isVisible(), c.hint) << c.row;
        EXPECT_EQ(f->lblQuestionNum->text(), QString("Question %1 of 7").arg(c.row + 1));
    }
    // The reference and hint reach their windows; the buttons show and hide them.
    ASSERT_NE(screen->RefForm, nullptr);
    QTest::mouseClick(f->btnReference, Qt::LeftButton);
    EXPECT_TRUE(screen->RefForm->isVisible());
    EXPECT_TRUE(screen->RefForm->findChild<QPlainTextEdit*>()->toPlainText().contains("Page 6"));
    QTest::mouseClick(f->btnReference, Qt::LeftButton);
    EXPECT_FALSE(screen->RefForm->isVisible());
    QTest::mouseClick(f->btnHint, Qt::LeftButton);
    EXPECT_TRUE(screen->HintForm->isVisible());
    screen->ShowChallenge(0);
    EXPECT_FALSE(screen->HintForm->isVisible()) << "row 0 has no hint";
    screen->ShowChallenge(6);

    QTest::mouseClick(f->btnLeft, Qt::LeftButton);
    EXPECT_EQ(screen->CurrentChallenge, 5);
    QTest::mouseClick(f->btnRight, Qt::LeftButton);
    EXPECT_EQ(screen->CurrentChallenge, 6);
    EXPECT_EQ(List()->ItemIndex(), 6);

    // Leaving keeps the challenge for the next visit and puts the control out of sight.
    f->ShowScreen(ScreenSignIn);
    EXPECT_EQ(f->QvTesting1->geometry(), QRect(1, 1, 1, 1));
    EXPECT_FALSE(screen->HintForm->isVisible());
    for (QWidget* w : {(QWidget*)f->btnLeft, (QWidget*)f->btnReference, (QWidget*)f->btnHint,
                       (QWidget*)f->btnMain, (QWidget*)f->btnSteps, (QWidget*)f->lblQuestionNum})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    screen->ShowChallenge(screen->CurrentChallenge);
    EXPECT_EQ(f->lblQuestionNum->text(), "Question 7 of 7");
}

TEST_F(ChallengeScreen, RightOutcomeMarksTheRowAndStartsTheNextWrappingAfterTheLast) {
    StartFromList(6);
    ASSERT_EQ(f->CurrentScreen, ScreenChallenge);
    QString seen;
    QSize picture;
    OnNextModal([&](QWidget* w) { picture = static_cast<TInfoForm*>(w)->GIFImage1->PictureSize(); }, &seen);
    QTest::mouseClick(f->QvTesting1, Qt::LeftButton, {}, kClickTarget.bottomRight()); // the edge counts
    EXPECT_EQ(seen, "TInfoForm");
    EXPECT_FALSE(picture.isEmpty()) << "the skin's correct picture";
    EXPECT_EQ(List()->State(6), 1);
    EXPECT_EQ(ChallengeMarks(), QByteArray("\0\0\0\0\0\0\1", 7));
    EXPECT_EQ(screen->CurrentChallenge, 0);
    EXPECT_EQ(List()->ItemIndex(), 0);
    EXPECT_EQ(f->lblQuestionNum->text(), "Question 1 of 7");
    EXPECT_EQ(f->QvTesting1->State(), TQvTesting::TState::Playing) << "the next challenge waits";
}

// The training-complete window starts challenge 1 whatever row the list last
// had selected; the right outcome marks the challenge shown, not that row.
TEST_F(ChallengeScreen, StartedFromTrainingCompleteMarksTheChallengeShown) {
    List()->SetItemIndex(4);
    f->MoviesDone->Button1Click();
    ASSERT_EQ(f->CurrentScreen, ScreenChallenge);
    EXPECT_EQ(f->lblQuestionNum->text(), "Question 1 of 7");
    OnNextModal([](QWidget*) {});
    QTest::mouseClick(f->QvTesting1, Qt::LeftButton, {}, kClickTarget.center());
    EXPECT_EQ(ChallengeMarks(), QByteArray("\1\0\0\0\0\0\0", 7));
    EXPECT_EQ(screen->CurrentChallenge, 1);
}

TEST_F(ChallengeScreen, WrongOutcomeOffersTryAgainOrTheCoachingClip) {
    StartFromList(0);
    ASSERT_EQ(f->CurrentScreen, ScreenChallenge);
    const QPoint wrong(600, 300);

    QString seen;
    OnNextModal(
        [](QWidget* w) {
            QTest::mouseClick(static_cast<TChallengeIncorrect*>(w)->btnTryAgain, Qt::LeftButton);
        },
        &seen);
    QTest::mouseClick(f->QvTesting1, Qt::LeftButton, {}, wrong);
    EXPECT_EQ(seen, "TChallengeIncorrect");
    EXPECT_TRUE(player->Log.isEmpty()) << "Try Again plays nothing";
    EXPECT_EQ(f->QvTesting1->State(), TQvTesting::TState::Playing);
    EXPECT_EQ(f->QvTesting1->CurrentStep(), 0);
    EXPECT_TRUE(ChallengeMarks().count('\1') == 0);

    OnNextModal([](QWidget* w) {
        QTest::mouseClick(static_cast<TChallengeIncorrect*>(w)->btnCoachMe, Qt::LeftButton);
    });
    QTest::mouseClick(f->QvTesting1, Qt::LeftButton, {}, wrong);
    EXPECT_EQ(player->Opened(), QStringList{install.Path("media") + "/d1.avi"});
    EXPECT_EQ(player->Mode(), TMediaMode::Playing);
    EXPECT_TRUE(f->MoviePanel->isVisible());
    EXPECT_EQ(f->MoviePanel->geometry(), QRect(10, 84, 619, 325));
    player->Deliver();
    EXPECT_TRUE(f->MoviePanel->isVisible()) << "the open sends no notice";
    player->EndClip();
    EXPECT_FALSE(f->MoviePanel->isVisible()) << "the clip's end uncovers the simulation";
    EXPECT_EQ(f->QvTesting1->State(), TQvTesting::TState::Playing);

    // A clip still playing when the learner moves on is stopped.
    OnNextModal([](QWidget* w) {
        QTest::mouseClick(static_cast<TChallengeIncorrect*>(w)->btnCoachMe, Qt::LeftButton);
    });
    QTest::mouseClick(f->QvTesting1, Qt::LeftButton, {}, wrong);
    ASSERT_EQ(player->Mode(), TMediaMode::Playing);
    QTest::mouseClick(f->btnRight, Qt::LeftButton);
    EXPECT_EQ(player->Mode(), TMediaMode::Notready);
    EXPECT_FALSE(f->MoviePanel->isVisible());
    EXPECT_EQ(screen->CurrentChallenge, 1);
}

} // namespace
