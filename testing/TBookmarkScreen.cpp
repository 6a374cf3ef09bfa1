#include "testing/TBookmarkScreen.h"

#include "shell/ControlLayout.h"
#include "shell/TForm1.h"
#include "testing/TTestScreen.h"
#include "widgets/TSkinButton.h"

TBookmarkScreen::TBookmarkScreen(TForm1& form, TTestScreen& test)
    : TScreenModule(form, ScreenBookmark, {"Bookmark Screen", "background", "Blankbk.gif"}), m_test(test) {
    btnYes = Own(new TSkinButton(&f), "btnYes");
    btnYes->setGeometry(ControlLayout::BookmarkYesButton);
    btnNo = Own(new TSkinButton(&f), "btnNo");
    btnNo->setGeometry(ControlLayout::BookmarkNoButton);
    AddSkin(FaceEntry(btnYes, "Bookmark Screen", "btnYes"));
    AddSkin(FaceEntry(btnNo, "Bookmark Screen", "btnNew"));
    connect(btnYes, &QAbstractButton::clicked, this, &TBookmarkScreen::btnYesClick);
    connect(btnNo, &QAbstractButton::clicked, this, &TBookmarkScreen::btnNoClick);
}

void TBookmarkScreen::Enter() {
    btnYes->show();
    btnNo->show();
}

void TBookmarkScreen::btnYesClick() {
    m_test.Run.AnswerContinue(true);
    f.ShowScreen(ScreenTest);
}

// The attempt given up is saved as ended, so it is not offered again.
void TBookmarkScreen::btnNoClick() {
    m_test.SaveAttempt(true);
    m_test.Run.AnswerContinue(false);
    f.ShowScreen(ScreenTestType);
}
