#include "lesson/TGenesisScreen.h"

#include <QAbstractButton>
#include <QApplication>

#include "data/TCourses.h"
#include "lesson/TBufferingForm.h"
#include "lesson/TMoviePageScreen.h"
#include "platform/TMediaPlayer.h"
#include "shell/ControlLayout.h"
#include "shell/TForm1.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"

TGenesisScreen::TGenesisScreen(TForm1& form)
    : TScreenModule(form, ScreenGenesis, {"Genesis Screen", "background", "Genbk.gif"}) {
    btnGenesisContinue = Own(new TSkinButton(&f), "btnGenesisContinue");
    btnGenesisContinue->setGeometry(ControlLayout::GenesisContinueButton);
    AddSkin(FaceEntry(btnGenesisContinue, "Genesis Screen", "btnContinue"));
    connect(btnGenesisContinue, &QAbstractButton::clicked, this, &TGenesisScreen::btnGenesisContinueClick);
}

void TGenesisScreen::Enter() {
    btnGenesisContinue->show();
    QApplication::processEvents();
    f.MoviePanel->setGeometry(f.GenesisMovieLeft, f.GenesisMovieTop, 320, 240);
    f.MovieFrame->move(f.GenesisFrameLeft, f.GenesisFrameTop);
    f.MovieFrame->show();
    f.MovieFrame->lower();
    f.Background->lower();
    QApplication::processEvents();
    f.Courses->GoToCourseId(f.CurrentCourseId);
    TMoviePageScreen* page = f.Module<TMoviePageScreen>();
    if (!page)
        return;
    TMediaPlayer& player = page->MediaPlayer1();
    player.SetFileName(f.StreamDir + f.Courses->GetGenFile() + QStringLiteral(".avi"));
    f.MoviePanel->show();
    f.MoviePanel->raise();
    QApplication::processEvents();
    // The open sends no notice: its notice would read as the clip's end and
    // leave the screen at once. The play's notice comes at the end.
    player.SetNotify(false);
    if (!player.Open())
        return;
    player.Play();
    player.SetNotify(true);
}

// The clip panel and its frame belong to the main window; the frame goes back
// to the movie page's place.
void TGenesisScreen::Leave() {
    if (f.BufferingForm && f.BufferingForm->isVisible())
        f.BufferingForm->hide();
    if (TMoviePageScreen* page = f.Module<TMoviePageScreen>()) {
        TMediaPlayer& player = page->MediaPlayer1();
        if (player.Mode() != TMediaMode::Notready) {
            player.SetNotify(false);
            player.Stop();
            player.Close();
        }
    }
    f.MoviePanel->hide();
    f.MovieFrame->hide();
    f.MovieFrame->move(f.MovieFrameLeft, f.MovieFrameTop);
}

// Sent, not posted: the movie page is entered before the click returns.
void TGenesisScreen::btnGenesisContinueClick() {
    TShowScreenEvent event(ScreenMoviePage);
    QApplication::sendEvent(&f, &event);
}
