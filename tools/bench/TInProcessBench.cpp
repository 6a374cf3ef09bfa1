#include "TInProcessBench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <memory>

#include "TBenchInstallation.h"
#include "app/TCatalogueScreen.h"
#include "app/TSignInScreen.h"
#include "data/TEngineSession.h"
#include "data/TGlossary.h"
#include "data/TIndex.h"
#include "data/TTesting.h"
#include "lesson/TMoviePageScreen.h"
#include "platform/TDynamicLibrary.h"
#include "platform/TMediaPlayer.h"
#include "platform/TMessages.h"
#include "platform/gui/TDisplay.h"
#include "platform/media/TQtMediaPlayer.h"
#include "program/TProgram.h"
#include "shell/TForm1.h"
#include "widgets/TSkinButton.h"

namespace {

// The switch's own work and the paint of the screen it leads to, nothing that
// follows later (a clip the movie page starts after 100 ms, say).
double TimedPaint(TForm1& f, const std::function<void()>& action) {
    QApplication::processEvents(); // nothing of the previous step left queued
    QElapsedTimer clock;
    clock.start();
    action();
    QApplication::processEvents();
    f.repaint();
    return clock.nsecsElapsed() / 1e6;
}

// Lets timers and the clip player of the screen just entered do their work,
// as they would while the learner looks at it: on the screens that play a
// clip, until the clip shows its frames, so that leaving the screen stops a
// playing clip as it does for a learner.
void Settle(int screen, const TMediaPlayer& player, const int& frames, bool clipsPlay) {
    QTest::qWait(120);
    if (!clipsPlay || (screen != ScreenGenesis && screen != ScreenMoviePage))
        return;
    // Frames of the clip played before may still be queued: count from the
    // moment this screen's clip plays, and wait for a few.
    (void)QTest::qWaitFor([&] { return player.Mode() == TMediaMode::Playing; }, 5000);
    const int before = frames;
    (void)QTest::qWaitFor([&] { return frames >= before + 3; }, 5000);
}

} // namespace

const std::vector<int>& SwitchOrder() {
    // From course selection with the course started: its introduction, the
    // lesson, a challenge, the test and its review and analysis, then the
    // administrator, registration and sign-in screens and back.
    static const std::vector<int> order{ScreenGenesis,      ScreenMoviePage,    ScreenChallenge,
                                        ScreenTestType,     ScreenTest,         ScreenItemReview,
                                        ScreenBookmark,     ScreenExamAnalysis, ScreenAdmin,
                                        ScreenRegistration, ScreenSignIn,       ScreenCourseSelection};
    return order;
}

QString ScreenName(int screen) {
    switch (screen) {
    case ScreenMoviePage:
        return "movie page";
    case ScreenChallenge:
        return "challenge";
    case ScreenSignIn:
        return "sign-in";
    case ScreenCourseSelection:
        return "course selection";
    case ScreenTest:
        return "test";
    case ScreenTestType:
        return "test type selection";
    case ScreenItemReview:
        return "item review";
    case ScreenExamAnalysis:
        return "exam analysis";
    case ScreenBookmark:
        return "continue the test";
    case ScreenGenesis:
        return "genesis";
    case ScreenRegistration:
        return "registration";
    case ScreenAdmin:
        return "administrator";
    default:
        return "screen";
    }
}

TInProcessResults RunInProcess(int runs, const QString& courseDir, bool clipsPlay) {
    TInProcessResults r;
    int frames = 0; // painted by the clip player; outlives the main window
    TScriptedMessages messages;
    TLinuxDisplay display;
    // The player's start-up in this process, already warm after the first:
    // its own work, without starting a process and loading libraries.
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        auto probe = std::make_unique<TForm1>(display);
        const double created = clock.nsecsElapsed() / 1e6;
        const bool started = StartProgram(*probe);
        QApplication::processEvents();
        probe->repaint();
        const double shown = clock.nsecsElapsed() / 1e6 - created;
        if (!started || probe->CurrentScreen != ScreenSignIn) {
            r.Error = "the player did not start on the sign-in screen: " + messages.Shown.join("; ");
            return r;
        }
        r.MainWindowMs.push_back(created);
        r.FirstScreenMs.push_back(shown);
        probe->hide();
        probe.reset();
        QApplication::processEvents();
    }
    auto form = std::make_unique<TForm1>(display);
    TForm1& f = *form;
    if (!StartProgram(f)) {
        r.Error = "the player did not start: " + messages.Shown.join("; ");
        return r;
    }
    (void)QTest::qWaitForWindowExposed(&f, 2000);
    auto* page = f.Module<TMoviePageScreen>();
    if (!page) {
        r.Error = "the player has no movie page";
        return r;
    }
    TMediaPlayer& player = page->MediaPlayer1();
    if (auto* clipPlayer = dynamic_cast<TQtMediaPlayer*>(&player))
        QObject::connect(clipPlayer, &TQtMediaPlayer::FrameShown, [&frames] { ++frames; });
    auto* signIn = f.Module<TSignInScreen>();
    auto* catalogue = f.Module<TCatalogueScreen>();
    if (!signIn || !catalogue || f.CurrentScreen != ScreenSignIn) {
        r.Error = "the player did not show the sign-in screen";
        return r;
    }
    signIn->edtUserName->setText(TBenchInstallation::Learner);
    signIn->edtPassword->setText(TBenchInstallation::Password);
    signIn->btnLogin->click();
    if (f.CurrentScreen != ScreenCourseSelection || catalogue->CourseListbox->count() == 0) {
        r.Error = "the learner did not reach the course list: " + messages.Shown.join("; ");
        return r;
    }

    // Course start, each time from the course list as the learner does it.
    for (int i = 0; i < runs; ++i) {
        catalogue->CourseListbox->setCurrentRow(0);
        r.CourseStartMs.push_back(TimedPaint(f, [&] { catalogue->btnSelectCourse->click(); }));
        if (f.CurrentScreen != ScreenGenesis) {
            r.Error = "the course did not start: " + messages.Shown.join("; ");
            return r;
        }
        Settle(ScreenGenesis, player, frames, clipsPlay);
        f.ShowScreen(ScreenCourseSelection);
    }
    // The same three tables opened by the table objects alone, on an engine
    // session of their own: what course start costs below its screens.
    TDynamicLibrary library;
    if (!library.Load(EngineLibraryFileName(), EngineLibraryDirs())) {
        r.Error = "the engine library cannot be loaded: " + library.ErrorString();
        return r;
    }
    TEngineSession session(library);
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        TIndex index(library, courseDir, session.Engine());
        TGlossary glossary(library, courseDir, session.Engine());
        TTesting testing(library, f.DatabaseDir, session.Engine());
        if (index.PageCount() != TBenchInstallation::Pages || testing.OpenTest("BENCHT") != 0) {
            r.Error = "the bench course's index or test cannot be read";
            return r;
        }
        r.CourseTablesMs.push_back(clock.nsecsElapsed() / 1e6);
    }

    // Every screen, each round in a learner's order, from the course list
    // with the course started.
    for (int i = 0; i < runs; ++i) {
        for (int screen : SwitchOrder()) {
            r.SwitchMs[screen].push_back(TimedPaint(f, [&] { f.ShowScreen(screen); }));
            if (f.CurrentScreen != screen) {
                r.Error = QString("ShowScreen(%1) left the player on screen %2; the player said: %3")
                              .arg(screen)
                              .arg(f.CurrentScreen)
                              .arg((messages.Shown + messages.Asked).join("; "));
                return r;
            }
            Settle(screen, player, frames, clipsPlay);
            // The administrator's list reads each learner's test through the
            // main window's tests store and leaves it closed; the player only
            // reaches that screen before a course starts, which opens the
            // course's test again. The rounds do so here, untimed.
            if (screen == ScreenAdmin && !f.Testing->IsTestOpen())
                f.Testing->OpenTest(f.CourseTestId);
        }
    }
    // What leaving a screen with a playing clip costs: the clip player's
    // Stop on the introduction clip, playing on the genesis screen.
    for (int i = 0; clipsPlay && i < runs; ++i) {
        f.ShowScreen(ScreenGenesis);
        Settle(ScreenGenesis, player, frames, clipsPlay);
        if (player.Mode() != TMediaMode::Playing) {
            r.Error = "the introduction clip did not play";
            return r;
        }
        QElapsedTimer clock;
        clock.start();
        player.Stop();
        r.ClipStopMs.push_back(clock.nsecsElapsed() / 1e6);
        f.ShowScreen(ScreenCourseSelection);
    }
    r.Messages = messages.Shown + messages.Asked;
    f.hide();
    form.reset();
    QApplication::processEvents();
    r.Ok = true;
    return r;
}
