// The clip chain of the movie page against the player double: the order of
// clips and buttons, the clip buttons, and what a stop or a failure does to
// the chain.
#include <gtest/gtest.h>

#include "TestMediaPlayer.h"
#include "lesson/model/TClipChain.h"

namespace {

// Page 1: a button of three clips, a button of one; page 2: one button of
// one full-motion clip.
TCourseOutline Course() {
    return TCourseOutline(
        {{"Page 1",
          {{"Three", {{"a", "a1", 257}, {"b", "a2", 257}, {"c", "a3", 257}}}, {"One", {{"d", "b1", 257}}}}},
         {"Page 2", {{"Last", {{"e", "z1", 0}}}}}});
}

class ClipChain : public ::testing::Test {
protected:
    ClipChain() {
        cursor.RestoreMarks({});
        player.OnNotify = [this] { chain.PlayerNotified(); };
        player.OnError = [this](const QString& text) { chain.PlayerFailed(text); };
    }

    // What the movie page's GoToButton does with the chain.
    void GoToButton(int page, int button) {
        ++buttonsChosen;
        if (chain.ChooseButton(page, button).Action != TChainStep::TAction::TrainingComplete)
            chain.PlayCurrentClip();
    }

    TTestMediaPlayer player;
    TLessonCursor cursor{Course(), 0};
    QStringList layouts, errors;
    std::vector<int> marked;
    int buttonsChosen = 0, completes = 0, hides = 0;
    TClipChain chain{cursor, player, "/media/",
                     TClipChain::THooks{
                         [this](const TClipOutline& c) { layouts << QString::number(c.ClipType); },
                         {},
                         [this](int row) { marked.push_back(row); },
                         [this](int page, int button) { GoToButton(page, button); },
                         [this] { ++completes; },
                         [this] { ++hides; },
                         [this](const QString& text) { errors << text; },
                     }};
};

TEST_F(ClipChain, ClipsOfAButtonPlayInTurnThenTheNextButtonStarts) {
    cursor.RestartButton();
    chain.NextClip(); // entering the movie page: clip 1 of the current button
    player.EndClip();
    player.EndClip();
    EXPECT_EQ(player.Opened(), (QStringList{"/media/a1.avi", "/media/a2.avi", "/media/a3.avi"}));
    EXPECT_TRUE(marked.empty());

    player.EndClip();
    EXPECT_EQ(marked, std::vector<int>{1});
    EXPECT_EQ(cursor.Marks()[1], 1);
    EXPECT_EQ(player.Opened().last(), "/media/b1.avi");
    EXPECT_EQ(cursor.CurrentButton(), 2);

    // Each clip opens without a notice and plays with one; the switch is
    // then set for the learner's next command.
    EXPECT_EQ(player.NotifySwitch(), std::optional<bool>(true));
    EXPECT_EQ(player.Log.mid(player.Log.size() - 4),
              (QStringList{"Stop", "Close", "Open /media/b1.avi", "Play"}));
}

TEST_F(ClipChain, LastClipOfTheCourseCompletesTheTraining) {
    GoToButton(2, 1);
    EXPECT_EQ(layouts, QStringList{"0"});
    player.EndClip();
    EXPECT_EQ(completes, 1);
    EXPECT_EQ(marked, std::vector<int>{4});
    EXPECT_EQ(player.Opened(), QStringList{"/media/z1.avi"});
    // Pause after the end is no second end.
    chain.PauseClicked();
    player.Deliver();
    EXPECT_EQ(completes, 1);
}

TEST_F(ClipChain, StopThenPlayReplaysTheClipFromItsStartAndGoesOn) {
    GoToButton(1, 1);
    player.EndClip(); // now clip 2
    chain.StopClicked();
    EXPECT_EQ(hides, 1);
    EXPECT_FALSE(chain.ClipOpen());
    player.Deliver(); // the stop sent no notice, nothing moves
    EXPECT_EQ(player.Opened().size(), 2);

    chain.PlayClicked();
    EXPECT_EQ(player.Opened().last(), "/media/a2.avi");
    player.EndClip();
    EXPECT_EQ(player.Opened().last(), "/media/a3.avi");
}

TEST_F(ClipChain, StopThenAnotherButtonAdvancesNothing) {
    GoToButton(1, 1);
    chain.StopClicked();
    chain.PlayerNotified(); // a notice arriving late for the stopped clip
    EXPECT_EQ(player.Opened().size(), 1);

    // Choosing a button while a clip plays stops it (with a notice, the
    // switch being set): that notice must not skip the new button's clip.
    GoToButton(1, 1);
    GoToButton(1, 2);
    player.Deliver();
    EXPECT_EQ(player.Opened().last(), "/media/b1.avi");
    EXPECT_EQ(cursor.CurrentClip(), 1);
    EXPECT_TRUE(marked.empty());
    EXPECT_EQ(buttonsChosen, 3);
}

TEST_F(ClipChain, PauseResumesAndTheEndStillAdvances) {
    GoToButton(1, 2);
    chain.PauseClicked();
    player.Deliver(); // the pause's own notice: mode paused, nothing happens
    EXPECT_EQ(player.Mode(), TMediaMode::Paused);
    EXPECT_EQ(player.Opened().size(), 1);
    chain.PauseClicked();
    player.EndClip();
    EXPECT_EQ(player.Opened().last(), "/media/z1.avi");
}

TEST_F(ClipChain, ClipThatCannotPlayShowsItsErrorAndStopsTheChain) {
    player.FailingFile = "a1.avi";
    GoToButton(1, 1);
    EXPECT_EQ(errors, QStringList{player.FailText});
    EXPECT_FALSE(chain.ClipOpen());
    chain.PlayerNotified();
    EXPECT_EQ(player.Opened().size(), 1);

    // Stop and pause with no device skip quietly; another button plays.
    const int logged = player.Log.size();
    chain.PauseClicked();
    chain.StopClicked();
    chain.Leave();
    EXPECT_EQ(player.Log.size(), logged);
    GoToButton(1, 2);
    EXPECT_EQ(player.Opened().last(), "/media/b1.avi");
    EXPECT_EQ(errors.size(), 1);
}

TEST_F(ClipChain, LeavingThePageClosesWithoutANotice) {
    GoToButton(1, 1);
    chain.Leave();
    player.Deliver();
    EXPECT_EQ(player.Mode(), TMediaMode::Notready);
    EXPECT_FALSE(chain.ClipOpen());
    EXPECT_EQ(player.Opened().size(), 1);
}

} // namespace
