#include "TPlayerChild.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <cstdio>

#include "TPaintMarker.h"
#include "app/TCatalogueScreen.h"
#include "app/TSignInScreen.h"
#include "lesson/TMoviePageScreen.h"
#include "platform/TMessages.h"
#include "platform/media/TQtMediaPlayer.h"
#include "program/TProgram.h"
#include "shell/TForm1.h"
#include "widgets/TSkinButton.h"

#include "TBenchInstallation.h"

namespace {

void Failed(const QString& why) {
    std::printf("failed %s\n", qPrintable(why));
    std::fflush(stdout);
}

// Signs the bench learner in, starts the first course and lets its
// introduction clip play for a second.
void PlayIntroduction(TForm1& f, const TScriptedMessages& messages) {
    auto* signIn = f.Module<TSignInScreen>();
    auto* catalogue = f.Module<TCatalogueScreen>();
    auto* page = f.Module<TMoviePageScreen>();
    if (!signIn || !catalogue || !page)
        return Failed("the player lacks the sign-in, catalogue or movie page screen");
    signIn->edtUserName->setText(TBenchInstallation::Learner);
    signIn->edtPassword->setText(TBenchInstallation::Password);
    signIn->btnLogin->click();
    if (f.CurrentScreen != ScreenCourseSelection || catalogue->CourseListbox->count() == 0)
        return Failed("the learner did not reach a course list");
    catalogue->CourseListbox->setCurrentRow(0);
    int frames = 0;
    QObject counting; // ends the count with this function; the clip plays on
    if (auto* player = dynamic_cast<TQtMediaPlayer*>(&page->MediaPlayer1()))
        QObject::connect(player, &TQtMediaPlayer::FrameShown, &counting, [&frames] { ++frames; });
    catalogue->btnSelectCourse->click();
    if (f.CurrentScreen != ScreenGenesis)
        return Failed("the course did not start: " + messages.Shown.join("; "));
    if (!QTest::qWaitFor([&] { return frames > 0; }, 15000))
        return Failed("the introduction clip showed no frame: " + messages.Shown.join("; "));
    QTest::qWait(1000);
    if (page->MediaPlayer1().Mode() != TMediaMode::Playing)
        return Failed("the introduction clip stopped playing");
    PrintMarker("playing");
}

} // namespace

int RunPlayerChild(int argc, char** argv, TPlayerChildMode mode) {
    PrintStage("main");
    // The player's main(), step for step.
    PrepareProcess();
    QApplication app(argc, argv);
    PrepareApplication();
    PrintStage("app");
    // A clip run must not stop in a message box; the start run shows the
    // player's own, and a start that does not reach sign-in is timed out.
    std::unique_ptr<TScriptedMessages> scripted;
    if (mode == TPlayerChildMode::Clip)
        scripted = std::make_unique<TScriptedMessages>();
    TPaintMarker marker(
        [](QWidget* w) {
            auto* form = qobject_cast<TForm1*>(w);
            return form && form->CurrentScreen == ScreenSignIn;
        },
        [&] {
            if (mode == TPlayerChildMode::Clip)
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* form = qobject_cast<TForm1*>(w))
                        PlayIntroduction(*form, *scripted);
            QApplication::quit();
        });
    return RunAltavo(app);
}
