#include "app/TProgram.h"

#include <QApplication>
#include <QFile>
#include <exception>

#include "app/TBadLogin.h"
#include "app/TCatalogueScreen.h"
#include "app/TExitForm.h"
#include "app/TForm1.h"
#include "app/TNoticeWindow.h"
#include "app/TSignInScreens.h"
#include "data/TUser.h"
#include "lesson/TBookmarkTest.h"
#include "lesson/TBufferingForm.h"
#include "lesson/TChallengeIncorrect.h"
#include "lesson/TGlossaryScreen.h"
#include "lesson/TMoviesDone.h"
#include "lesson/TSteps.h"
#include "lesson/TStreamSelect.h"
#include "platform/TDisplay.h"
#include "platform/TMessages.h"
#include "platform/TPaths.h"
#include "skin/TAboutForm.h"
#include "skin/TAboutSkin.h"
#include "skin/TDebugWindow.h"
#include "skin/TPleaseWait.h"
#include "skin/TSelectSkin.h"
#include "skin/TWindowPlacement.h"
#include "skin/uLoadSkins.h"
#include "testing/TReportPopup.h"
#include "widgets/TDirectory.h"

void CreateStartWindows(TForm1& form) {
    form.MoviesDone = new TMoviesDone();
    form.ExitForm = new TExitForm();
    form.BadLogin = new TBadLogin();
    form.NoticeWindow = new TNoticeWindow();
    form.DebugWindow = new TDebugWindow();
}

void CreateSecondaryWindows(TForm1& form) {
    form.AboutForm = new TAboutForm();
    form.AboutSkin = new TAboutSkin();
    form.SelectSkin = new TSelectSkin(form);
    form.Directory = new TDirectory();
    form.BufferingForm = new TBufferingForm();
    form.ReportPopup = new TReportPopup();
    form.BookmarkTest = new TBookmarkTest();
    form.Steps = new TSteps();
    form.StreamSelect = new TStreamSelect();
    form.PleaseWait = new TPleaseWait();
    form.ChallengeIncorrect = new TChallengeIncorrect();
    form.GlossaryScreen = new TGlossaryScreen();
}

bool ShowFirstScreen(TForm1& form) {
    QFile info(ResolvePath(form.GraphicDir + form.SkinDir + QStringLiteral("info.txt")));
    form.BufferingForm->SetInfoText(info.open(QIODevice::ReadOnly) ? QString::fromLatin1(info.readAll())
                                                                   : QString());
    form.StreamChoice = 3;
    try {
        LoadSkin(form, form.GraphicDir, form.SkinDir);
    } catch (const std::exception& e) {
        Messages().ShowMessage(QString::fromUtf8(e.what()));
        return false;
    }
    form.ShowScreen(form.User->Empty() ? ScreenRegistration : ScreenSignIn);
    return true;
}

bool StartProgram(TForm1& form) {
    CreateStartWindows(form);
    if (form.StartFailed)
        return false;
    CreateSecondaryWindows(form);
    if (!ShowFirstScreen(form))
        return false; // a skin that cannot be loaded ends the program
    CentreOnScreen(&form);
    form.show();
    form.FormShow();
    return true;
}

int RunAltavo(QApplication& app) {
    // The title names the program; it is not a display name, which the
    // platform would append to every window's own caption.
    app.setApplicationName(QStringLiteral("Altavo"));

    TLinuxDisplay display;
    TForm1 form(display);
    if (!StartProgram(form))
        return 1;
    return app.exec();
}
