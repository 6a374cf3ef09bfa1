// The tour's lesson part: the genesis clip, the movie page with a framed and a
// full-motion clip playing, the diagnostics window, the directory with marks,
// the glossary list and a term, and the training-complete window.
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>

#include "TTour.h"
#include "lesson/TGenesisScreen.h"
#include "lesson/TGlossaryForm.h"
#include "lesson/TGlossaryScreen.h"
#include "lesson/TMoviePageScreen.h"
#include "lesson/TMoviesDone.h"
#include "lesson/model/TLessonCursor.h"
#include "platform/TMediaPlayer.h"
#include "platform/media/TMoviePanel.h"
#include "shell/TForm1.h"
#include "skin/TDebugWindow.h"
#include "widgets/TDirectory.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSpecialListBox.h"

// Waits until the clip panel has painted a few frames of a playing clip.
bool TTour::ClipFrameShown() {
    auto* panel = qobject_cast<TMoviePanel*>(m_form->MoviePanel);
    TMediaPlayer& player = m_form->Module<TMoviePageScreen>()->MediaPlayer1();
    if (!panel)
        return Fail("the clip panel paints no clips");
    const qint64 before = panel->FramesShown();
    return QTest::qWaitFor(
               [&] { return player.Mode() == TMediaMode::Playing && panel->FramesShown() > before + 5; },
               10000) ||
           Fail("no clip frame reached the panel");
}

bool TTour::LessonScreens() {
    TForm1& f = *m_form;
    TMoviePageScreen* page = f.Module<TMoviePageScreen>();
    return Step("genesis clip playing",
                [&] {
                    if (!ExpectScreen(ScreenGenesis) || !ClipFrameShown())
                        return false;
                    Shot("genesis clip playing", &f);
                    Click(f.Module<TGenesisScreen>()->btnGenesisContinue);
                    return ExpectScreen(ScreenMoviePage);
                }) &&
           Step("movie page with a framed clip and the diagnostics window",
                [&] {
                    if (!ClipFrameShown())
                        return false;
                    Shot("movie page framed clip", &f);
                    f.DebugWindow->show();
                    f.DebugWindow->Timer1.start();
                    QTest::qWait(50);
                    f.DebugWindow->Timer1.stop();
                    Shot("window diagnostics playing", f.DebugWindow);
                    f.DebugWindow->hide();
                    return true;
                }) &&
           Step("movie page with a full-motion clip",
                [&] {
                    const TCourseOutline& outline = page->Cursor()->Outline();
                    for (int p = 1; p <= outline.PageCount(); ++p)
                        for (int b = 1; b <= outline.ButtonCount(p); ++b)
                            if (const TClipOutline* clip = outline.Clip(p, b, 1);
                                clip && clip->ClipType != 257) {
                                page->GoToButton(p, b);
                                if (!ClipFrameShown())
                                    return false;
                                Shot("movie page full-motion clip", &f);
                                return true;
                            }
                    return Fail("the course has no full-motion clip to start");
                }) &&
           Step("directory with marks",
                [&] {
                    Click(page->btnStop);
                    // Marked by hand where the clips have not marked them yet.
                    for (int row : {1, 2})
                        if (f.Directory->ListBox1->State(row) == 0)
                            f.Directory->ToggleMark(row);
                    Click(page->DirectoryField);
                    if (!f.Directory->isVisible())
                        return Fail("the directory did not open");
                    f.Directory->ListBox1->verticalScrollBar()->setValue(0); // the marked rows
                    Shot("window directory with marks", f.Directory);
                    Click(page->DirectoryField);
                    return true;
                }) &&
           Step("glossary list and a term",
                [&] {
                    Click(page->SearchField);
                    TGlossaryForm* list = f.GlossaryForm;
                    if (!list->isVisible() || list->ListBox1->Count() == 0)
                        return Fail("the glossary list is empty or closed");
                    Shot("window glossary list", list);
                    QTest::mouseClick(list->ListBox1->viewport(), Qt::LeftButton, {},
                                      list->ListBox1->ItemRect(0).center());
                    if (!f.GlossaryScreen->isVisible())
                        return Fail("the term window did not open");
                    Shot("window glossary term", f.GlossaryScreen);
                    Click(f.GlossaryScreen->btnClose);
                    return true;
                }) &&
           Step("training complete", [&] {
               const TCourseOutline& outline = page->Cursor()->Outline();
               const int last = outline.PageCount();
               page->GoToButton(last, outline.ButtonCount(last));
               const int clips = outline.ClipCount(last, outline.ButtonCount(last));
               if (!QTest::qWaitFor([&] { return f.MoviesDone->isVisible(); }, 15000 + 30000 * clips))
                   return Fail("the training-complete window did not show");
               Shot("window training complete after the last clip", f.MoviesDone);
               f.MoviesDone->hide();
               return true;
           });
}
