#include "skin/uLoadSkins.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>

#include "app/TBadLogin.h"
#include "app/TExitForm.h"
#include "app/TForm1.h"
#include "app/TNoticeWindow.h"
#include "lesson/TBookmarkTest.h"
#include "lesson/TBufferingForm.h"
#include "lesson/TChallengeIncorrect.h"
#include "lesson/TGlossaryScreen.h"
#include "lesson/TMoviesDone.h"
#include "lesson/TSteps.h"
#include "lesson/TStreamSelect.h"
#include "platform/TIniFile.h"
#include "platform/TPaths.h"
#include "skin/TAboutForm.h"
#include "skin/TAboutSkin.h"
#include "skin/TPleaseWait.h"
#include "testing/TReportPopup.h"
#include "widgets/TGifImage.h"
#include "widgets/TMovieButtonX.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSkinError.h"
#include "widgets/WinColor.h"

namespace {

constexpr int MainFormColour = 40063587;       // red 99, green 82, blue 99, nearest palette colour
constexpr int CourseListColour = 44207513;     // red 153, green 141, blue 162
constexpr int CourseListFontColour = 16777215; // white
const char* const MakerAddress = "https://www.quenvik.com/";

bool IsDecimal(const QString& text) {
    qsizetype i = (text.startsWith('-') || text.startsWith('+')) ? 1 : 0;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i)
        if (!text[i].isDigit() || text[i].unicode() > '9')
            return false;
    return true;
}

int DecimalPart(const QString& part) {
    bool ok = false;
    const int value = part.toInt(&ok, 10);
    if (!IsDecimal(part) || !ok)
        throw TSkinError(QStringLiteral("'%1' is not a valid integer value").arg(part));
    return value;
}

// One load: the scheme, the skin directory and the main window.
class TSkinLoad {
public:
    TSkinLoad(TForm1& form, const QString& skinDirectory)
        : f(form), dir(skinDirectory), scheme(ResolvePath(skinDirectory + QStringLiteral("scheme.ini"))) {}

    QString Path(const QString& value) const { return ResolvePath(dir + FromStoredPath(value)); }
    QString String(const char* section, const char* key, const QString& def = {}) const {
        return scheme.ReadString(QString::fromLatin1(section), QString::fromLatin1(key), def);
    }
    int Integer(const char* section, const char* key, int def) const {
        return scheme.ReadInteger(QString::fromLatin1(section), QString::fromLatin1(key), def);
    }
    QColor Colour(const char* section, const char* key, int def) const {
        return WinColor(quint32(Integer(section, key, def)));
    }

    void Picture(TGifImage* picture, const char* section, const char* key) const {
        if (picture)
            picture->SetFileName(Path(String(section, key)));
    }
    void Face(TSkinButton* button, const char* section, const char* key) const {
        if (button)
            button->LoadFace(Path(String(section, key)));
    }
    std::unique_ptr<QByteArray> WholeFile(const char* section, const char* key) const {
        const QString path = Path(String(section, key));
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw TSkinError(QStringLiteral("Cannot open file %1").arg(path));
        return std::make_unique<QByteArray>(file.readAll());
    }

    void MoviePage();
    void FeedbackPictures();
    void BackgroundNames();
    void CurrentBackground();
    void MainWindowFaces();
    void SecondaryWindowFaces();
    void MovieFrame();
    void SecondaryWindowPictures();
    void MainWindowColour();
    void LayoutValues();
    void PleaseWait();
    void CourseList();
    void AboutSkin();
    void Coordinates();

private:
    TForm1& f;
    QString dir;
    TIniFile scheme;
};

void TSkinLoad::MoviePage() {
    Picture(f.Image1, "Movie Page Screen", "Arrow");
    if (f.MBX) {
        f.MBX->SetBackground(Path(String("Movie Page Screen", "pgbtback")));
        f.MBX->SetButtonFilename(Path(String("Movie Page Screen", "pgButton")));
        f.MBX->SetArrowFilename(Path(String("Movie Page Screen", "Arrowbmp")));
    }
}

// The feedback pictures are kept in memory so that showing one reads no file.
void TSkinLoad::FeedbackPictures() {
    f.CorrectImage = std::make_unique<QByteArray>();
    f.CorrectImage = WholeFile("Test Screen", "Correct");
    f.IncorrectImage = std::make_unique<QByteArray>();
    f.IncorrectImage = WholeFile("Test Screen", "Incorrect");
}

void TSkinLoad::BackgroundNames() {
    TBackgroundNames& b = f.BackgroundNames;
    b.MoviePage = String("Movie Page Screen", "background", "pagebk.gif");
    b.SignIn = String("User Registration Screen", "background", "Blankbk.gif");
    b.Registration = String("Registration Screen", "background", "Blankbk.gif");
    b.NoUsers = String("NoUsers Screen", "background", "Blankbk.gif");
    b.Challenge = String("Challenge Page Screen", "background", "Challbk.gif");
    b.CourseSelection = String("Course Selection Screen", "background", "Blankbk.gif");
    b.TestTypeSelection = String("Test Type Selection Screen", "background", "Blankbk.gif");
    b.Test = String("Test Screen", "background", "TestPla.gif");
    b.ItemReview = String("Item Review Screen", "background", "ItemReview.gif");
    b.ExamAnalysis = String("Exam Analysis Screen", "background", "Reportbkg.gif");
    b.Genesis = String("Genesis Screen", "background", "Genbk.gif");
    b.Bookmark = String("Bookmark Screen", "background", "Blankbk.gif");
    b.ReportPopup = String("Test Screen", "RptPopBackground", "RptPopBkg.gif");
    b.Admin = String("Admin Screen", "Background", "Adminbk.gif");
}

// The screen on show gets its new background at once; others (among them the
// administrator screen) on their next showing.
void TSkinLoad::CurrentBackground() {
    const TBackgroundNames& b = f.BackgroundNames;
    const QString* name = nullptr;
    switch (f.CurrentScreen) {
    case ScreenMoviePage:
        name = &b.MoviePage;
        break;
    case ScreenChallenge:
        name = &b.Challenge;
        break;
    case ScreenSignIn:
        name = &b.SignIn;
        break;
    case ScreenCourseSelection:
        name = &b.CourseSelection;
        break;
    case ScreenTest:
        name = &b.Test;
        break;
    case ScreenTestType:
        name = &b.TestTypeSelection;
        break;
    case ScreenItemReview:
        name = &b.ItemReview;
        break;
    case ScreenExamAnalysis:
        name = &b.ExamAnalysis;
        break;
    case ScreenBookmark:
        name = &b.Bookmark;
        break;
    case ScreenGenesis:
        name = &b.Genesis;
        break;
    case ScreenRegistration:
        name = &b.Registration;
        break;
    default:
        break;
    }
    if (name && f.Background)
        f.Background->SetFileName(Path(*name));
}

void TSkinLoad::MainWindowFaces() {
    Face(f.btnLogin, "User Registration Screen", "btnLogin");
    Face(f.btnAddUser, "User Registration Screen", "btnAddUser");
    Face(f.btnRegEnter, "Registration Screen", "btnEnter");
    Face(f.btnAdd, "Registration Screen", "btnAdd");
    Face(f.btnCancel, "Registration Screen", "btnCancel");
    Face(f.btnSelectCourse, "Course Selection Screen", "btnSelectCourse");
    Face(f.btnGenesisContinue, "Genesis Screen", "btnContinue");
    Face(f.BtnPlay, "Movie Page Screen", "btnPlay");
    Face(f.btnPause, "Movie Page Screen", "btnPause");
    Face(f.btnStop, "Movie Page Screen", "btnStop");
    Face(f.btnOpenbook, "Test Type Selection Screen", "btnPre");
    Face(f.btnClosedBook, "Test Type Selection Screen", "btnPost");
    Face(f.btnLeft, "Test Screen", "btnLeft");
    Face(f.btnRight, "Test Screen", "btnRight");
    Face(f.btnItemReview, "Test Screen", "btnItem");
    Face(f.btnExhibit, "Test Screen", "btnExhibit");
    Face(f.btnHint, "Test Screen", "btnHint");
    Face(f.btnReference, "Test Screen", "btnRef");
    Face(f.btnTReport, "Test Screen", "btnReport");
    Face(f.btnMain, "Test Screen", "btnMain");
    Face(f.btnMarkclosed, "Test Screen", "btnMClosed");
    Face(f.btnMarkOpen, "Test Screen", "btnMOpen");
    Face(f.btnReviewIncomplete, "Item Review Screen", "btnIncomplete");
    Face(f.btnRevEnd, "Item Review Screen", "btnFinish");
    Face(f.btnReview, "Item Review Screen", "btnReview");
    Face(f.btnPrintStudyGuide, "Exam Analysis Screen", "btnPSG");
    Face(f.btnPrintCertificate, "Exam Analysis Screen", "btnCert");
    Face(f.btnYes, "Bookmark Screen", "btnYes");
    Face(f.btnNo, "Bookmark Screen", "btnNew");
    Face(f.DirectoryField, "Movie Page Screen", "btnDirectory");
    Face(f.TestField, "Movie Page Screen", "btnTest");
    Face(f.ChallengeField, "Movie Page Screen", "btnChallenge");
    Face(f.SearchField, "Movie Page Screen", "btnGlossary");
    Face(f.InteractField, "Movie Page Screen", "btnInteract");
    Face(f.btnAdminDone, "Admin Screen", "btnDone");
    Face(f.btnAdminPrint, "Admin Screen", "btnPrint");
    Face(f.AboutField, "Misc", "btnHelp");
    Face(f.MinimizeField, "Misc", "btnMinimize");
    Face(f.Exitfield, "Misc", "btnClose");
    Face(f.btnHelp2, "Misc", "btnHelp2");
    Face(f.btnMinimize2, "Misc", "btnMinimize2");
    Face(f.btnClose2, "Misc", "btnClose2");
    // The administrator button's key is optional: older skins have none, and
    // without the key the button keeps its built-in face.
    if (!String("Registration Screen", "btnAdmin").isEmpty())
        Face(f.btnAdmin, "Registration Screen", "btnAdmin");
}

void TSkinLoad::SecondaryWindowFaces() {
    if (f.Steps) {
        Face(f.Steps->btnClose, "Challenge Page Screen", "btnClose");
        Face(f.Steps->btnSteps, "Challenge Page Screen", "btnSteps");
    }
    Face(f.btnSteps, "Challenge Page Screen", "btnSteps");
    if (f.ChallengeIncorrect) {
        Face(f.ChallengeIncorrect->btnTryAgain, "Challenge Page Screen", "btnTry");
        Face(f.ChallengeIncorrect->btnCoachMe, "Challenge Page Screen", "btnCoach");
    }
    if (f.ReportPopup)
        Face(f.ReportPopup->ReturnToTest, "Test Screen", "btnReturn");
    if (f.GlossaryScreen)
        Face(f.GlossaryScreen->btnClose, "Glossary Screen", "btnClose");
    if (f.BookmarkTest) {
        Face(f.BookmarkTest->btnYes, "bookmark Screen", "btnYes");
        Face(f.BookmarkTest->btnNo, "bookmark Screen", "btnNo");
    }
}

void TSkinLoad::MovieFrame() {
    if (f.StreamChoice == 0 || f.StreamChoice == 1)
        Picture(f.MovieFrame, "Genesis Screen", "Framesm");
    else if (f.StreamChoice == 2 || f.StreamChoice == 3)
        Picture(f.MovieFrame, "Genesis Screen", "Framelg");
}

void TSkinLoad::SecondaryWindowPictures() {
    if (f.BadLogin)
        Picture(f.BadLogin->GIFImage1, "Misc", "BadLogin");
    if (f.AboutForm)
        Picture(f.AboutForm->GIFImage1, "Misc", "About");
    if (f.ExitForm)
        Picture(f.ExitForm->GIFImage1, "Misc", "Exit");
    if (f.MoviesDone)
        Picture(f.MoviesDone->GIFImage1, "Misc", "MoviesDone");
    if (f.BookmarkTest)
        Picture(f.BookmarkTest->GIFImage1, "Misc", "BookmarkTest");
    if (f.BufferingForm) {
        Picture(f.BufferingForm->GIFImage1, "Buffering Screen", "background");
        Picture(f.BufferingForm->Spin, "Buffering Screen", "logo");
    }
    if (f.ChallengeIncorrect)
        Picture(f.ChallengeIncorrect->Background, "Challenge Page Screen", "ChallIncorrect");
    // The notice window's picture is an optional key: older skins have none.
    if (f.NoticeWindow)
        Picture(f.NoticeWindow->GIFImage1, "Misc", "Notice");
    // The stream selection window reads its two sections itself when shown.
    if (f.StreamSelect)
        f.StreamSelect->SkinDirectory = dir;
}

void TSkinLoad::MainWindowColour() {
    QPalette palette = f.palette();
    palette.setColor(QPalette::Window, Colour("Misc", "Main Form Color", MainFormColour));
    f.setPalette(palette);
    f.setAutoFillBackground(true);
}

void TSkinLoad::LayoutValues() {
    const char* size = nullptr;
    if (f.StreamChoice == 0 || f.StreamChoice == 1)
        size = "Small";
    else if (f.StreamChoice == 2 || f.StreamChoice == 3)
        size = "Large";
    if (size) {
        const bool small = size[0] == 'S';
        auto value = [&](const char* name, int smallDefault, int largeDefault) {
            const QByteArray key = QByteArray(size) + ' ' + name;
            return Integer("Misc", key.constData(), small ? smallDefault : largeDefault);
        };
        f.GenesisFrameLeft = value("Genesis Frame Left", 333, 242);
        f.GenesisFrameTop = value("Genesis Frame Top", 196, 160);
        f.GenesisMovieLeft = value("Genesis Movie Left", 339, 250);
        f.GenesisMovieTop = value("Genesis Movie Top", 206, 171);
        f.MovieFrameLeft = value("Movie Frame Left", 220, 140);
        f.MovieFrameTop = value("Movie Frame Top", 130, 42);
        f.MovieLeft = value("Movie Left", 228, 147);
        f.MovieTop = value("Movie Top", 140, 53);
    }
    f.MotionMovieLeft = Integer("Misc", "Motion Movie Left", 11);
    f.MotionMovieTop = Integer("Misc", "Motion Movie Top", 12);
}

void TSkinLoad::PleaseWait() {
    if (!f.PleaseWait)
        return;
    Picture(f.PleaseWait->Background, "Please Wait Screen", "background");
    Picture(f.PleaseWait->Spin, "Please Wait Screen", "logo");
    f.PleaseWait->Spin->SetSpeed(Integer("Please Wait Screen", "Logo Speed", 1));
}

void TSkinLoad::CourseList() {
    if (!f.CourseListbox)
        return;
    QPalette palette = f.CourseListbox->palette();
    palette.setColor(QPalette::Base, Colour("Course Selection Screen", "ListBox Color", CourseListColour));
    palette.setColor(QPalette::Text,
                     Colour("Course Selection Screen", "ListBox Font Color", CourseListFontColour));
    f.CourseListbox->setPalette(palette);
    QFont font = f.CourseListbox->font();
    font.setPointSize(std::max(1, Integer("Course Selection Screen", "ListBox Font Size", 12)));
    font.setFamily(String("Course Selection Screen", "ListBox Font", QStringLiteral("Times New Roman")));
    f.CourseListbox->setFont(font);
}

void TSkinLoad::AboutSkin() {
    if (!f.AboutSkin)
        return;
    Picture(f.AboutSkin->Background, "About Skin Screen", "background");
    if (Integer("About Skin Screen", "Link Visible", 0) == 1) {
        f.AboutSkin->LinkAddress =
            String("About Skin Screen", "Link Address", QString::fromLatin1(MakerAddress));
        f.AboutSkin->Link->setToolTip(f.AboutSkin->LinkAddress);
        f.AboutSkin->Link->setGeometry(
            Integer("About Skin Screen", "Link X", 0), Integer("About Skin Screen", "Link Y", 0),
            Integer("About Skin Screen", "Link Width", 0), Integer("About Skin Screen", "Link Height", 0));
        f.AboutSkin->Link->setVisible(true);
    } else {
        f.AboutSkin->Link->setVisible(false);
    }
}

// The movie-button control moves at once only while the movie page is shown;
// otherwise the movie page applies the bounds when it is next shown.
void TSkinLoad::Coordinates() {
    f.ExitRect =
        ParseCoordinateList(String("Movie Page Screen", "Exit Cords", QStringLiteral("570,450,45,25")));
    f.MovieButtonRect = ParseCoordinateList(
        String("Movie Page Screen", "Movie Button Cords", QStringLiteral("18,378,373,95")));
    if (f.CurrentScreen == ScreenMoviePage && f.MBX)
        f.MBX->setGeometry(f.MovieButtonRect);
}

} // namespace

QRect ParseCoordinateList(const QString& text) {
    int parts[4];
    qsizetype start = 0;
    for (int i = 0; i < 4; ++i) {
        qsizetype comma = i < 3 ? text.indexOf(',', start) : -1;
        const QString part = comma < 0 ? text.mid(start) : text.mid(start, comma - start);
        parts[i] = DecimalPart(part);
        // Without a comma left, the following parts are empty and therefore invalid.
        start = comma < 0 ? text.size() : comma + 1;
    }
    return QRect(parts[0], parts[1], parts[2], parts[3]);
}

void LoadSkin(TForm1& form, const QString& root, const QString& skinDir) {
    TSkinLoad load(form, root + skinDir);
    load.MoviePage();
    load.FeedbackPictures();
    load.BackgroundNames();
    load.CurrentBackground();
    load.MainWindowFaces();
    load.SecondaryWindowFaces();
    load.MovieFrame();
    load.SecondaryWindowPictures();
    load.MainWindowColour();
    load.LayoutValues();
    load.PleaseWait();
    load.CourseList();
    load.AboutSkin();
    load.Coordinates();
}
