// The tour's challenge part: the challenge window, screen 3 at a step of a
// simulation with its steps window, the try-again-or-coach window after a wrong click, a coaching
// clip playing over the simulation, and the information window after a right
// outcome.
#include <QElapsedTimer>
#include <QTest>

#include "TSimulationHands.h"
#include "TTour.h"
#include "lesson/TChallengeIncorrect.h"
#include "lesson/TChallenges.h"
#include "lesson/TMoviePageScreen.h"
#include "lesson/TSteps.h"
#include "platform/TMediaPlayer.h"
#include "shell/TForm1.h"
#include "widgets/TQvTesting.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSpecialListBox.h"

bool TTour::ChallengeScreens() {
    TForm1& f = *m_form;
    TMoviePageScreen* page = f.Module<TMoviePageScreen>();
    return Step("challenge window",
                [&] {
                    if (f.CurrentScreen != ScreenMoviePage)
                        f.ShowScreen(ScreenMoviePage);
                    Click(page->btnStop);
                    Click(f.ChallengeField);
                    if (!f.Challenges->isVisible() || f.Challenges->Count() == 0)
                        return Fail("the challenge window is empty or closed");
                    Shot("window challenges", f.Challenges);
                    return true;
                }) &&
           Step("challenge screen at a step",
                [&] {
                    TSpecialListBox* list = f.Challenges->ListBox1;
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->ItemRect(0).center());
                    if (!ExpectScreen(ScreenChallenge))
                        return false;
                    if (!QTest::qWaitFor([&] { return f.QvTesting1->State() == TQvTesting::TState::Playing; },
                                         5000))
                        return Fail("the simulation did not start: " + f.QvTesting1->Message());
                    Shot("challenge screen", &f);
                    Click(f.btnSteps);
                    if (!f.Steps->isVisible())
                        return Fail("the steps button opened no steps window");
                    Shot("window steps of a challenge", f.Steps);
                    Click(f.btnSteps);
                    return true;
                }) &&
           Step(
               "wrong click and a coaching clip",
               [&] {
                   const bool asked = m_modals.Act(
                       [&] { QTest::mouseClick(f.QvTesting1, Qt::LeftButton, {}, WrongPoint(f.QvTesting1)); },
                       "TChallengeIncorrect",
                       [&](QWidget* w) {
                           Shot("window challenge incorrect", w);
                           Click(static_cast<TChallengeIncorrect*>(w)->btnCoachMe);
                       });
                   if (!asked)
                       return Fail("no try-again-or-coach window after a wrong click");
                   if (!ClipFrameShown())
                       return false;
                   Shot("challenge coaching clip", &f);
                   TMediaPlayer& player = page->MediaPlayer1();
                   player.Stop(); // its notice uncovers the simulation, as the clip's end does
                   if (!QTest::qWaitFor([&] { return !f.MoviePanel->isVisible(); }, 5000))
                       return Fail("the clip panel stayed over the simulation");
                   return true;
               }) &&
           Step("right outcome", [&] {
               const int before = f.Challenges->State(0);
               const bool shown =
                   m_modals.Act([&] { WorkSimulationRight(f.QvTesting1); }, "TInfoForm",
                                [&](QWidget* w) { Shot("window information after a right challenge", w); });
               if (!shown)
                   return Fail("no information window after a right outcome");
               if (before == 0 && f.Challenges->State(0) != 1)
                   return Fail("the challenge was not marked done");
               Click(f.btnMain);
               return ExpectScreen(ScreenMoviePage);
           });
}
