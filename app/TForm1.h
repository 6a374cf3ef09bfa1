#pragma once
// The main window: one borderless 640 by 480 window whose "screens" are sets
// of its own controls over a full-window background picture. It owns the
// shared state of a session (who is signed in, which course is open, the
// skin's layout values), the table objects and the secondary windows. Each
// screen's routines live with the subsystem that owns the screen.
#include <QByteArray>
#include <QEvent>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "engine/c4dstand.h"
#include "platform/TDynamicLibrary.h"

class TDisplay;
class QLineEdit;
class QListWidget;
class QTreeWidget;
class QMenu;

// Widgets of our own
class TGifImage;
class TSkinButton;
class TLabelEffect;
class TMovieButtonX;
class TDirectory;

// Table objects
class TUser;
class TAssignment;
class TCourses;
class TTestSession;
class TTesting;
class TIndex;
class TGlossary;

// Secondary windows
class TMoviesDone;
class TExitForm;
class TBadLogin;
class TNoticeWindow;
class TAboutForm;
class TAboutSkin;
class TSelectSkin;
class TBufferingForm;
class TBookmarkTest;
class TSteps;
class TStreamSelect;
class TPleaseWait;
class TChallengeIncorrect;
class TGlossaryScreen;
class TReportPopup;
class TInitDialog;
class TDebugWindow;

// Screen modules
class TSignInScreens;
class TCatalogueScreen;
class TGenesisScreen;

// Screen numbers handed to ShowScreen.
enum TScreen : int {
    ScreenNone = 0,
    ScreenExit = 1,
    ScreenMoviePage = 2,
    ScreenChallenge = 3,
    ScreenSignIn = 4,
    ScreenCourseSelection = 5,
    ScreenSwitching = 6,
    ScreenTest = 7,
    ScreenTestType = 8,
    ScreenItemReview = 9,
    ScreenExamAnalysis = 10,
    ScreenBookmark = 11,
    ScreenGenesis = 12,
    ScreenRegistration = 13,
    ScreenAdmin = 15,
};

// Asks the main window to show a screen: the screen number travels with the
// event, which may be posted or sent.
inline constexpr QEvent::Type WM_SHOWSCREEN = static_cast<QEvent::Type>(0x590);

class TShowScreenEvent : public QEvent {
public:
    explicit TShowScreenEvent(int screen) : QEvent(WM_SHOWSCREEN), LParam(screen) {}
    int LParam;
};

// A screen's enter and leave routines, provided by the subsystem owning it.
struct TScreenRoutines {
    std::function<void()> Enter; // sets CurrentScreen, background, shows controls
    std::function<void()> Leave; // hides exactly what Enter showed
};

// The registry key holding the installation's settings.
inline const char* const ConfigurationKey = "\\Software\\Quenvik\\Altavo\\Brisel";

// Bare background file names of every screen, filled by the skin loader and
// read by the screen switcher.
struct TBackgroundNames {
    QString MoviePage = "pagebk.gif";
    QString SignIn = "Blankbk.gif";
    QString Registration = "Blankbk.gif";
    QString NoUsers = "Blankbk.gif";
    QString Challenge = "Challbk.gif";
    QString CourseSelection = "Blankbk.gif";
    QString TestTypeSelection = "Blankbk.gif";
    QString Test = "TestPla.gif";
    QString ItemReview = "ItemReview.gif";
    QString ExamAnalysis = "Reportbkg.gif";
    QString Genesis = "Genbk.gif";
    QString Bookmark = "Blankbk.gif";
    QString ReportPopup = "RptPopBkg.gif";
    QString Admin = "Adminbk.gif";
};

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // The display is not owned; the creation handler runs in the constructor.
    explicit TForm1(TDisplay& display, QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up and shutdown (the creation and destruction handlers).
    void FormCreate();
    void FormShow();
    void FormDestroy();

    // --- Start-up and configuration ---
    bool StartFailed = true;
    bool RestartRequested = false; // a forced restart was asked for at start-up
    TDynamicLibrary EngineLibrary;
    CODE4* EngineHandle = nullptr;
    QString DatabaseDir;
    QString GraphicDir;
    QString SkinDir;
    QString HelpDir;

    // --- Screens ---
    int CurrentScreen = ScreenNone;
    // The only way to change screens: leave the old one, let queued events
    // run, enter the new one. Screen 1 asks whether to end the program.
    void ShowScreen(int screen);
    void SetScreenRoutines(int screen, TScreenRoutines routines);
    // Shows GraphicDir + SkinDir + name as the full-window background.
    void SetBackground(const QString& name);
    // Starts or shows the course's interactive exercise program.
    void InteractFieldClick();
    // Asks the learner for a program file (a file dialog unless replaced).
    std::function<QString(const QString& title)> ChooseExecutable;
    // Hides the directory, challenge and glossary side windows.
    void HideSideWindows();
    // Puts the open course's title into the side windows' title labels.
    void SetCourseTitle(const QString& title);
    // Placement routines of the side windows, run when the window moves.
    std::vector<std::function<void()>> SideWindowPlacers;
    bool Dragging = false;

    // --- Session ---
    int CurrentUserId = 0;
    int CurrentSessionId = 0;
    bool CourseOpen = false;
    QString CurrentCourseId;
    QString CourseTestId;
    QString StreamDir;
    QStringList ListedIds;

    // --- Lesson ---
    int CurrentPage = 0;
    int CurrentButton = 0;
    int CurrentClip = 0;
    bool ClipOpen = false;
    QByteArray Marks;

    // --- Test ---
    bool TestRunning = false;
    bool ContinueLater = false;

    // --- Skin: layout values and pictures ---
    TBackgroundNames BackgroundNames;
    int MovieLeft = 0, MovieTop = 0;
    int MovieFrameLeft = 0, MovieFrameTop = 0;
    int GenesisMovieLeft = 0, GenesisMovieTop = 0;
    int GenesisFrameLeft = 0, GenesisFrameTop = 0;
    int MotionMovieLeft = 0, MotionMovieTop = 0;
    QRect MovieButtonRect;
    QRect ExitRect;
    std::unique_ptr<QByteArray> CorrectImage;
    std::unique_ptr<QByteArray> IncorrectImage;
    int StreamChoice = 3;

    // --- Table objects (owned) ---
    TAssignment* Assignment = nullptr;
    TUser* User = nullptr;
    TCourses* Courses = nullptr;
    TTestSession* TestSession = nullptr;
    TTesting* Testing = nullptr;
    TIndex* Index = nullptr;
    TGlossary* Glossary = nullptr;

    // --- Secondary windows (owned; created once by the program entry) ---
    TMoviesDone* MoviesDone = nullptr;
    TExitForm* ExitForm = nullptr;
    TBadLogin* BadLogin = nullptr;
    TNoticeWindow* NoticeWindow = nullptr;
    TAboutForm* AboutForm = nullptr;
    TAboutSkin* AboutSkin = nullptr;
    TSelectSkin* SelectSkin = nullptr;
    TDirectory* Directory = nullptr;
    TBufferingForm* BufferingForm = nullptr;
    TBookmarkTest* BookmarkTest = nullptr;
    TSteps* Steps = nullptr;
    TStreamSelect* StreamSelect = nullptr;
    TPleaseWait* PleaseWait = nullptr;
    TChallengeIncorrect* ChallengeIncorrect = nullptr;
    TGlossaryScreen* GlossaryScreen = nullptr;
    TReportPopup* ReportPopup = nullptr;
    TInitDialog* InitDialog = nullptr;
    TDebugWindow* DebugWindow = nullptr;

    // --- Screen modules (children) ---
    TSignInScreens* SignInScreens = nullptr;
    TCatalogueScreen* CatalogueScreen = nullptr;
    TGenesisScreen* GenesisScreen = nullptr;

    // --- Controls of the main window (children; created hidden) ---
    TGifImage* Background = nullptr; // full-window picture of the current screen
    TGifImage* Image1 = nullptr;     // page pointer beside the movie buttons
    TGifImage* MovieFrame = nullptr; // frame around the clip panel
    QWidget* MoviePanel = nullptr;   // where clips play
    TMovieButtonX* MBX = nullptr;    // the page's lesson buttons
    TLabelEffect* PageName = nullptr;
    QListWidget* CourseListbox = nullptr;

    // sign-in (4) and registration (13)
    QLineEdit* edtUserName = nullptr;
    QLineEdit* edtPassword = nullptr;
    QLineEdit* edtRegFirstName = nullptr;
    QLineEdit* edtRegLastName = nullptr;
    QLineEdit* edtRegUserName = nullptr;
    QLineEdit* edtRegPassword = nullptr;
    QLineEdit* edtRegVerifyPassword = nullptr;
    QListWidget* AddUserListBox = nullptr;
    QTreeWidget* AdminListView = nullptr;

    TSkinButton* btnLogin = nullptr;
    TSkinButton* btnAddUser = nullptr;
    TSkinButton* btnRegEnter = nullptr;
    TSkinButton* btnAdd = nullptr;
    TSkinButton* btnCancel = nullptr;
    TSkinButton* btnAdmin = nullptr;
    TSkinButton* btnSelectCourse = nullptr;
    TSkinButton* btnGenesisContinue = nullptr;
    TSkinButton* BtnPlay = nullptr;
    TSkinButton* btnPause = nullptr;
    TSkinButton* btnStop = nullptr;
    TSkinButton* btnOpenbook = nullptr;
    TSkinButton* btnClosedBook = nullptr;
    TSkinButton* btnLeft = nullptr;
    TSkinButton* btnRight = nullptr;
    TSkinButton* btnItemReview = nullptr;
    TSkinButton* btnExhibit = nullptr;
    TSkinButton* btnHint = nullptr;
    TSkinButton* btnReference = nullptr;
    TSkinButton* btnTReport = nullptr;
    TSkinButton* btnMain = nullptr;
    TSkinButton* btnMarkclosed = nullptr;
    TSkinButton* btnMarkOpen = nullptr;
    TSkinButton* btnReviewIncomplete = nullptr;
    TSkinButton* btnRevEnd = nullptr;
    TSkinButton* btnReview = nullptr;
    TSkinButton* btnPrintStudyGuide = nullptr;
    TSkinButton* btnPrintCertificate = nullptr;
    TSkinButton* btnYes = nullptr;
    TSkinButton* btnNo = nullptr;
    TSkinButton* DirectoryField = nullptr;
    TSkinButton* TestField = nullptr;
    TSkinButton* ChallengeField = nullptr;
    TSkinButton* SearchField = nullptr;
    TSkinButton* InteractField = nullptr;
    TSkinButton* btnAdminDone = nullptr;
    TSkinButton* btnAdminPrint = nullptr;
    TSkinButton* AboutField = nullptr;
    TSkinButton* MinimizeField = nullptr;
    TSkinButton* Exitfield = nullptr;
    TSkinButton* btnHelp2 = nullptr;
    TSkinButton* btnMinimize2 = nullptr;
    TSkinButton* btnClose2 = nullptr;
    TSkinButton* btnSteps = nullptr;

    QMenu* AboutPopup = nullptr;

protected:
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void FieldClick(QObject* sender);
    void btnMainClick();
    void ConnectWindowButtons();
    void CreateControls();
    void CreateStartupDialog();
    bool CheckDisplay();
    bool ReadConfiguration();
    void PrepareControls();
    bool LoadEngine();
    void CreateTableObjects();
    void SaveSessionState();
    void FreeTableObjects();

    TDisplay& m_display;
    std::map<int, TScreenRoutines> m_screens;
    QPoint m_dragStart;
    int (*m_initUndo)(CODE4*) = nullptr;
    bool m_destroyed = false;
};
