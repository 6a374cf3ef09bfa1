#include "lesson/TGenesisScreen.h"

#include <QAbstractButton>
#include <QApplication>

#include "app/TForm1.h"
#include "lesson/TBufferingForm.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"

TGenesisScreen::TGenesisScreen(TForm1& form) : QObject(&form), f(form) {
    f.SetScreenRoutines(ScreenGenesis, {[this] { ShowGenesis(); }, [this] { HideGenesis(); }});
    connect(f.btnGenesisContinue, &QAbstractButton::clicked, this, &TGenesisScreen::btnGenesisContinueClick);
}

void TGenesisScreen::ShowGenesis() {
    f.CurrentScreen = ScreenGenesis;
    f.SetBackground(f.BackgroundNames.Genesis);
    f.btnGenesisContinue->show();
    QApplication::processEvents();
    f.MoviePanel->setGeometry(f.GenesisMovieLeft, f.GenesisMovieTop, 320, 240);
    f.MovieFrame->move(f.GenesisFrameLeft, f.GenesisFrameTop);
    f.MovieFrame->show();
    f.MovieFrame->lower();
    f.Background->lower();
    f.MoviePanel->show();
    f.MoviePanel->raise();
}

void TGenesisScreen::HideGenesis() {
    if (f.BufferingForm && f.BufferingForm->isVisible())
        f.BufferingForm->hide();
    f.btnGenesisContinue->hide();
    f.MoviePanel->hide();
    f.MovieFrame->hide();
    f.MovieFrame->move(f.MovieFrameLeft, f.MovieFrameTop);
}

// Sent, not posted: the movie page is entered before the click returns.
void TGenesisScreen::btnGenesisContinueClick() {
    TShowScreenEvent event(ScreenMoviePage);
    QApplication::sendEvent(&f, &event);
}
