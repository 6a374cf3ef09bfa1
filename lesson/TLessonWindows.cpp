#include "lesson/TLessonWindows.h"

#include <QAbstractButton>

#include "data/TGlossary.h"
#include "lesson/TChallenges.h"
#include "lesson/TGlossaryForm.h"
#include "lesson/TGlossaryScreen.h"
#include "lesson/TMoviePageScreen.h"
#include "lesson/TMoviesDone.h"
#include "lesson/TSteps.h"
#include "lesson/model/TLessonCursor.h"
#include "platform/TMediaPlayer.h"
#include "shell/TForm1.h"
#include "skin/TDebugWindow.h"
#include "widgets/TDirectory.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSpecialListBox.h"

void ConnectLessonWindows(TForm1& f) {
    TMoviePageScreen* page = f.Module<TMoviePageScreen>();
    if (f.Directory && page) {
        f.Directory->SetMarks(&f.Marks);
        f.Directory->SetMovieButtons(page->MBX);
        f.Directory->SetAnchor(&f);
        f.Directory->CurrentPage = [&f] { return f.CurrentPage; };
        f.Directory->OnGoToButton = [page](QObject*, int p, int b) { page->GoToButton(p, b); };
        f.SideWindowPlacers.push_back([&f] {
            if (f.Directory->isVisible())
                f.Directory->FollowAnchor();
        });
    }
    if (f.GlossaryForm) {
        f.GlossaryForm->TermWindow = f.GlossaryScreen;
        f.GlossaryForm->GetTerm = [&f](const QString& term) {
            return f.Glossary ? f.Glossary->GetTerm(term) : QString();
        };
        f.SideWindows.push_back(f.GlossaryForm);
        f.SideWindowPlacers.push_back([&f] {
            if (f.GlossaryForm->isVisible())
                f.GlossaryForm->FollowMainWindow();
        });
    }
    // The movie page hides the challenge window with the other side windows.
    if (f.Challenges) {
        f.SideWindows.push_back(f.Challenges);
        // The main window's check-mark images: the directory's button rows too.
        if (f.Directory)
            f.Directory->ListBox1->SetImageList(f.Challenges->ListBox1->ImageList());
    }
    if (f.GlossaryScreen)
        f.SideWindowPlacers.push_back([&f] {
            if (f.GlossaryScreen->isVisible())
                f.GlossaryScreen->move(f.x() + 10, f.y() + 11);
        });
    if (f.Steps) {
        f.SideWindowPlacers.push_back([&f] {
            if (f.Steps->isVisible())
                f.Steps->DockSteps();
        });
        // The main window's steps button opens and closes the window; either
        // button inside it closes it.
        if (f.btnSteps)
            QObject::connect(f.btnSteps, &QAbstractButton::clicked, f.Steps, [&f] {
                f.Steps->setVisible(!f.Steps->isVisible());
                f.Steps->btnStepsClick();
            });
    }
    if (f.DebugWindow && page) {
        // The flag as the next command will take it: not set means a notice.
        f.DebugWindow->NotifyFlag = [page] { return page->MediaPlayer1().NotifySwitch().value_or(true); };
        f.DebugWindow->PlayerMode = [page] { return static_cast<int>(page->MediaPlayer1().Mode()); };
    }
    if (f.MoviesDone && page && !f.MoviesDone->OnTest)
        f.MoviesDone->OnTest = [page] { page->FieldClick(page->TestField); };
}
