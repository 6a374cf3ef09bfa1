#include "SkinFixture.h"

#include <QFile>
#include <QImage>
#include <QListWidget>
#include <gif_lib.h>
#include <vector>

#include "app/TBadLogin.h"
#include "lesson/TBookmarkTest.h"
#include "lesson/TBufferingForm.h"
#include "lesson/TChallengeIncorrect.h"
#include "lesson/TGlossaryScreen.h"
#include "lesson/TMoviesDone.h"
#include "lesson/TSteps.h"
#include "lesson/TStreamSelect.h"
#include "program/TProgram.h"
#include "shell/TExitForm.h"
#include "shell/TNoticeWindow.h"
#include "skin/TAboutForm.h"
#include "skin/TAboutSkin.h"
#include "skin/TPleaseWait.h"
#include "testing/TReportPopup.h"

void WriteSolidGif(const QString& path, int width, int height) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.toLocal8Bit().constData(), false, &error);
    GifColorType colours[2] = {{200, 40, 40}, {0, 0, 0}};
    ColorMapObject* map = GifMakeMapObject(2, colours);
    EGifPutScreenDesc(gif, width, height, 1, 0, map);
    EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
    std::vector<GifByteType> line(size_t(width), 0);
    for (int y = 0; y < height; ++y)
        EGifPutLine(gif, line.data(), width);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
}

void WriteBitmap(const QString& path) {
    QImage face(8, 6, QImage::Format_RGB32);
    face.fill(Qt::darkCyan);
    face.save(path, "BMP");
}

namespace {

// Every button key of both tables (section, key).
const char* const ButtonKeys[][2] = {{"User Registration Screen", "btnLogin"},
                                     {"User Registration Screen", "btnAddUser"},
                                     {"Registration Screen", "btnEnter"},
                                     {"Registration Screen", "btnAdd"},
                                     {"Registration Screen", "btnCancel"},
                                     {"Course Selection Screen", "btnSelectCourse"},
                                     {"Genesis Screen", "btnContinue"},
                                     {"Movie Page Screen", "btnPlay"},
                                     {"Movie Page Screen", "btnPause"},
                                     {"Movie Page Screen", "btnStop"},
                                     {"Test Type Selection Screen", "btnPre"},
                                     {"Test Type Selection Screen", "btnPost"},
                                     {"Test Screen", "btnLeft"},
                                     {"Test Screen", "btnRight"},
                                     {"Test Screen", "btnItem"},
                                     {"Test Screen", "btnExhibit"},
                                     {"Test Screen", "btnHint"},
                                     {"Test Screen", "btnRef"},
                                     {"Test Screen", "btnReport"},
                                     {"Test Screen", "btnMain"},
                                     {"Test Screen", "btnMClosed"},
                                     {"Test Screen", "btnMOpen"},
                                     {"Item Review Screen", "btnIncomplete"},
                                     {"Item Review Screen", "btnFinish"},
                                     {"Item Review Screen", "btnReview"},
                                     {"Exam Analysis Screen", "btnPSG"},
                                     {"Exam Analysis Screen", "btnCert"},
                                     {"Bookmark Screen", "btnYes"},
                                     {"Bookmark Screen", "btnNew"},
                                     {"Movie Page Screen", "btnDirectory"},
                                     {"Movie Page Screen", "btnTest"},
                                     {"Movie Page Screen", "btnChallenge"},
                                     {"Movie Page Screen", "btnGlossary"},
                                     {"Movie Page Screen", "btnInteract"},
                                     {"Admin Screen", "btnDone"},
                                     {"Admin Screen", "btnPrint"},
                                     {"Misc", "btnHelp"},
                                     {"Misc", "btnMinimize"},
                                     {"Misc", "btnClose"},
                                     {"Misc", "btnHelp2"},
                                     {"Misc", "btnMinimize2"},
                                     {"Misc", "btnClose2"},
                                     {"Challenge Page Screen", "btnClose"},
                                     {"Challenge Page Screen", "btnSteps"},
                                     {"Challenge Page Screen", "btnTry"},
                                     {"Challenge Page Screen", "btnCoach"},
                                     {"Test Screen", "btnReturn"},
                                     {"Glossary Screen", "btnClose"},
                                     {"Bookmark Screen", "btnNo"}};

} // namespace

TSkinFixture::TSkinFixture() {
    qputenv("ALTAVO_REGISTRY", RegistryFile().toLocal8Bit());
    QDir().mkpath(SkinPath());
    // Every button its own file, named after its key, so a test can take one away.
    for (const auto& [section, key] : ButtonKeys) {
        const QString file = QStringLiteral("%1-%2.bmp").arg(QString(section).remove(' '), key).toLower();
        Scheme[section][key] = file;
        WriteBitmap(SkinPath() + file);
    }
    Scheme["Test Screen"]["Correct"] = "right.gif";
    Scheme["Test Screen"]["Incorrect"] = "wrong.gif";
    for (const char* picture : {"right.gif", "wrong.gif", "page.gif", "signin.gif", "admin.gif",
                                "framesm.gif", "framelg.gif", "about-skin.gif"})
        WriteSolidGif(SkinPath() + picture, 4, 4);
    Scheme["Movie Page Screen"]["background"] = "page.gif";
    Scheme["User Registration Screen"]["background"] = "signin.gif";
    Scheme["Admin Screen"]["Background"] = "admin.gif";
    Scheme["Genesis Screen"]["Framesm"] = "framesm.gif";
    Scheme["Genesis Screen"]["Framelg"] = "framelg.gif";
    Scheme["About Skin Screen"]["background"] = "about-skin.gif";
    Write();

    // The main window without a configuration: its controls exist, start-up stops early.
    Form = new TForm1(Display);
    CreateScreenModules(*Form);
    Form->BadLogin = Own(new TBadLogin());
    Form->ExitForm = Own(new TExitForm());
    Form->NoticeWindow = Own(new TNoticeWindow());
    Form->MoviesDone = Own(new TMoviesDone());
    Form->BookmarkTest = Own(new TBookmarkTest());
    Form->BufferingForm = Own(new TBufferingForm());
    Form->AboutForm = Own(new TAboutForm());
    Form->AboutSkin = Own(new TAboutSkin());
    Form->PleaseWait = Own(new TPleaseWait());
    Form->Steps = Own(new TSteps());
    Form->ChallengeIncorrect = Own(new TChallengeIncorrect());
    Form->GlossaryScreen = Own(new TGlossaryScreen());
    Form->ReportPopup = Own(new TReportPopup());
    Form->StreamSelect = Own(new TStreamSelect());
    Form->GraphicDir = Root();
    Form->SkinDir = "Test/";
}

TSkinFixture::~TSkinFixture() {
    // The catalogue screen's key filter on the course list must not run while the
    // main window is being torn down.
    delete Form;
    qunsetenv("ALTAVO_REGISTRY");
}

void TSkinFixture::Write(const QString& extraText) {
    QString text;
    for (auto section = Scheme.cbegin(); section != Scheme.cend(); ++section) {
        text += "[" + section.key() + "]\r\n";
        for (auto key = section->cbegin(); key != section->cend(); ++key)
            text += key.key() + "=" + key.value() + "\r\n";
    }
    text += extraText;
    QFile file(SkinPath() + "scheme.ini");
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text.toLatin1());
}

void TSkinFixture::Load() {
    Form->GraphicDir = Root();
    Form->SkinDir = "Test/";
    LoadSkin(*Form);
}
