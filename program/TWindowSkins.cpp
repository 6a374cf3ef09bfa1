#include "program/TWindowSkins.h"

#include <QLabel>

#include "app/TBadLogin.h"
#include "lesson/TBookmarkTest.h"
#include "lesson/TBufferingForm.h"
#include "lesson/TChallengeIncorrect.h"
#include "lesson/TGlossaryScreen.h"
#include "lesson/TMoviesDone.h"
#include "lesson/TSteps.h"
#include "lesson/TStreamSelect.h"
#include "shell/TExitForm.h"
#include "shell/TForm1.h"
#include "shell/TNoticeWindow.h"
#include "skin/TAboutForm.h"
#include "skin/TAboutSkin.h"
#include "skin/TPleaseWait.h"
#include "testing/TReportPopup.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"

namespace {
const char* const MakerAddress = "https://www.quenvik.com/";

void Faces(TForm1& f, const TSkinScheme& s) {
    if (f.Steps) {
        s.Face(f.Steps->btnClose, "Challenge Page Screen", "btnClose");
        s.Face(f.Steps->btnSteps, "Challenge Page Screen", "btnSteps");
    }
    s.Face(f.btnSteps, "Challenge Page Screen", "btnSteps");
    if (f.ChallengeIncorrect) {
        s.Face(f.ChallengeIncorrect->btnTryAgain, "Challenge Page Screen", "btnTry");
        s.Face(f.ChallengeIncorrect->btnCoachMe, "Challenge Page Screen", "btnCoach");
    }
    if (f.ReportPopup)
        s.Face(f.ReportPopup->ReturnToTest, "Test Screen", "btnReturn");
    if (f.GlossaryScreen)
        s.Face(f.GlossaryScreen->btnClose, "Glossary Screen", "btnClose");
    if (f.BookmarkTest) {
        s.Face(f.BookmarkTest->btnYes, "bookmark Screen", "btnYes");
        s.Face(f.BookmarkTest->btnNo, "bookmark Screen", "btnNo");
    }
}

void Pictures(TForm1& f, const TSkinScheme& s) {
    if (f.BadLogin)
        s.Picture(f.BadLogin->GIFImage1, "Misc", "BadLogin");
    if (f.AboutForm)
        s.Picture(f.AboutForm->GIFImage1, "Misc", "About");
    if (f.ExitForm)
        s.Picture(f.ExitForm->GIFImage1, "Misc", "Exit");
    if (f.MoviesDone)
        s.Picture(f.MoviesDone->GIFImage1, "Misc", "MoviesDone");
    if (f.BookmarkTest)
        s.Picture(f.BookmarkTest->GIFImage1, "Misc", "BookmarkTest");
    if (f.BufferingForm) {
        s.Picture(f.BufferingForm->GIFImage1, "Buffering Screen", "background");
        s.Picture(f.BufferingForm->Spin, "Buffering Screen", "logo");
    }
    if (f.ChallengeIncorrect)
        s.Picture(f.ChallengeIncorrect->Background, "Challenge Page Screen", "ChallIncorrect");
    // The notice window's picture is an optional key: older skins have none.
    if (f.NoticeWindow)
        s.Picture(f.NoticeWindow->GIFImage1, "Misc", "Notice");
    // The stream selection window reads its two sections itself when shown.
    if (f.StreamSelect)
        f.StreamSelect->SkinDirectory = s.Directory();
}

void PleaseWait(TPleaseWait* window, const TSkinScheme& s) {
    if (!window)
        return;
    s.Picture(window->Background, "Please Wait Screen", "background");
    s.Picture(window->Spin, "Please Wait Screen", "logo");
    window->Spin->SetSpeed(s.Integer("Please Wait Screen", "Logo Speed", 1));
}

void AboutSkin(TAboutSkin* window, const TSkinScheme& s) {
    if (!window)
        return;
    s.Picture(window->Background, "About Skin Screen", "background");
    if (s.Integer("About Skin Screen", "Link Visible", 0) == 1) {
        window->LinkAddress =
            s.String("About Skin Screen", "Link Address", QString::fromLatin1(MakerAddress));
        window->Link->setToolTip(window->LinkAddress);
        window->Link->setGeometry(s.Integer("About Skin Screen", "Link X", 0),
                                  s.Integer("About Skin Screen", "Link Y", 0),
                                  s.Integer("About Skin Screen", "Link Width", 0),
                                  s.Integer("About Skin Screen", "Link Height", 0));
        window->Link->setVisible(true);
    } else {
        window->Link->setVisible(false);
    }
}
} // namespace

TSkinEntries WindowSkinEntries(TForm1& f) {
    using S = TSkinStep;
    return {
        {S::SecondaryWindowFaces, [&f](const TSkinScheme& s) { Faces(f, s); }},
        {S::SecondaryWindowPictures, [&f](const TSkinScheme& s) { Pictures(f, s); }},
        {S::PleaseWait, [&f](const TSkinScheme& s) { PleaseWait(f.PleaseWait, s); }},
        {S::AboutSkin, [&f](const TSkinScheme& s) { AboutSkin(f.AboutSkin, s); }},
    };
}
