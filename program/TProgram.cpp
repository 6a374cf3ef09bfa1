#include "program/TProgram.h"

#include <QApplication>
#include <QFile>
#include <exception>

#include "app/TAdminScreen.h"
#include "app/TBadLogin.h"
#include "app/TCatalogueScreen.h"
#include "app/TRegistrationScreen.h"
#include "app/TSignInScreen.h"
#include "data/TUser.h"
#include "lesson/TBookmarkTest.h"
#include "lesson/TBufferingForm.h"
#include "lesson/TChallengeIncorrect.h"
#include "lesson/TChallengeScreen.h"
#include "lesson/TChallenges.h"
#include "lesson/TExibitForm.h"
#include "lesson/TGenesisScreen.h"
#include "lesson/TGlossaryForm.h"
#include "lesson/TGlossaryScreen.h"
#include "lesson/TInfoForm.h"
#include "lesson/TLessonWindows.h"
#include "lesson/TMoviePageScreen.h"
#include "lesson/TMoviesDone.h"
#include "lesson/TSteps.h"
#include "lesson/TStreamSelect.h"
#include "platform/TMessages.h"
#include "platform/TPaths.h"
#include "platform/gui/TDisplay.h"
#include "platform/gui/TFonts.h"
#include "platform/gui/TMessageBoxes.h"
#include "platform/media/TQtMediaPlayer.h"
#include "program/TWindowSkins.h"
#include "shell/TExitForm.h"
#include "shell/TForm1.h"
#include "shell/TNoticeWindow.h"
#include "skin/TAboutForm.h"
#include "skin/TAboutSkin.h"
#include "skin/TDebugWindow.h"
#include "skin/TPleaseWait.h"
#include "skin/TSelectSkin.h"
#include "skin/TWindowPlacement.h"
#include "testing/TBookmarkScreen.h"
#include "testing/TExamAnalysisScreen.h"
#include "testing/TItemReviewScreen.h"
#include "testing/TReportPopup.h"
#include "testing/TTestScreen.h"
#include "testing/TTestTypeScreen.h"
#include "testing/TTestWindows.h"
#include "widgets/TDirectory.h"

namespace {
template <typename T> T* Owned(TForm1& form, T* window) {
    form.OwnWindow(window);
    return window;
}

// Loads the clip backend once the first screen has been painted: the learner
// sees the window sooner, and the first clip still opens at once.
class TWarmUpAfterFirstPaint : public QObject {
public:
    explicit TWarmUpAfterFirstPaint(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this] {
                    TQtMediaPlayer::WarmUp();
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};
} // namespace

void CreateScreenModules(TForm1& form) {
    new TSignInScreen(form);
    new TRegistrationScreen(form);
    new TCatalogueScreen(form);
    new TGenesisScreen(form);
    new TMoviePageScreen(form);
    new TChallengeScreen(form);
    new TAdminScreen(form);
    auto* test = new TTestScreen(form);
    // The challenge screen shows its reference and hint in the test screen's windows.
    if (auto* challenge = form.Module<TChallengeScreen>()) {
        challenge->RefForm = test->RefForm;
        challenge->HintForm = test->HintForm;
        challenge->SetNotes = [test](const QString& reference, const QString& hint) {
            test->RefForm->SetText(reference);
            test->HintForm->SetText(hint);
        };
    }
    new TTestTypeScreen(form, *test);
    new TBookmarkScreen(form, *test);
    new TItemReviewScreen(form, *test);
    new TExamAnalysisScreen(form, *test);
}

void CreateStartWindows(TForm1& form) {
    form.MoviesDone = Owned(form, new TMoviesDone());
    form.ExitForm = Owned(form, new TExitForm());
    form.BadLogin = Owned(form, new TBadLogin());
    form.NoticeWindow = Owned(form, new TNoticeWindow());
    form.DebugWindow = Owned(form, new TDebugWindow());
}

void CreateSecondaryWindows(TForm1& form) {
    form.AboutForm = Owned(form, new TAboutForm());
    form.AboutSkin = Owned(form, new TAboutSkin());
    form.SelectSkin =
        Owned(form, new TSelectSkin(form.GraphicDir, form.SkinDir, [&form] { form.LoadSkin(); }));
    form.Directory = Owned(form, new TDirectory());
    form.BufferingForm = Owned(form, new TBufferingForm());
    form.ReportPopup = Owned(form, new TReportPopup());
    form.BookmarkTest = Owned(form, new TBookmarkTest());
    form.Steps = Owned(form, new TSteps());
    form.StreamSelect = Owned(form, new TStreamSelect());
    form.PleaseWait = Owned(form, new TPleaseWait());
    form.Challenges = Owned(form, new TChallenges());
    form.ChallengeIncorrect = Owned(form, new TChallengeIncorrect());
    form.GlossaryScreen = Owned(form, new TGlossaryScreen());
    form.SideWindows = {form.Directory, form.GlossaryScreen};
    form.GlossaryForm = Owned(form, new TGlossaryForm());
    form.ExibitForm = Owned(form, new TExibitForm());
    form.InfoForm = Owned(form, new TInfoForm());
    ConnectLessonWindows(form);
    ConnectChallengeWindow(form);
}

bool ShowFirstScreen(TForm1& form) {
    QFile info(ResolvePath(form.GraphicDir + form.SkinDir + QStringLiteral("info.txt")));
    form.BufferingForm->SetInfoText(info.open(QIODevice::ReadOnly) ? QString::fromLatin1(info.readAll())
                                                                   : QString());
    form.StreamChoice = 3;
    try {
        LoadSkin(form);
    } catch (const std::exception& e) {
        Messages().ShowMessage(QString::fromUtf8(e.what()));
        return false;
    }
    form.ShowScreen(form.User->Empty() ? ScreenRegistration : ScreenSignIn);
    return true;
}

void LoadSkin(TForm1& form) {
    form.WindowSkinEntries = WindowSkinEntries(form);
    form.LoadSkin();
}

bool StartProgram(TForm1& form) {
    CreateScreenModules(form);
    CreateStartWindows(form);
    if (form.StartFailed)
        return false;
    CreateSecondaryWindows(form);
    if (!ShowFirstScreen(form))
        return false; // a skin that cannot be loaded ends the program
    CentreOnScreen(&form);
    new TWarmUpAfterFirstPaint(form);
    form.show();
    form.FormShow();
    return true;
}

void PrepareProcess() {
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == "wayland" &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    TQtMediaPlayer::UseGStreamer();
}

void PrepareApplication() {
    UseWindowsFonts();
    UseMessageBoxes();
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
