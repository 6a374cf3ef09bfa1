#pragma once
// The main window: one borderless 640 by 480 window whose "screens" are sets
// of its own controls over a full-window background picture. It owns the
// shared state of a session (who is signed in, which course is open, the
// skin's layout values), the table objects, the secondary windows and the
// screen modules. Each screen's controls and routines live in its module
// (TScreenModule), with the subsystem that owns the screen.
#include <QByteArray>
#include <QEvent>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "engine/c4dstand.h"
#include "platform/TConfiguration.h"
#include "platform/TDynamicLibrary.h"
#include "skin/TSkinEntry.h"

class TScreenModule;
class TEngineSession;

class TDisplay;
class QMenu;
class QLabel;
class QScrollArea;

// Widgets of our own
class TGifImage;
class TSkinButton;
class TLabelEffect;
class TMovieButtonX;
class TDirectory;
class TQvTesting;

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
class TChallenges;
class TInfoForm;
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
class TGlossaryForm;
class TExibitForm;
class TReportPopup;
class TInitDialog;
class TDebugWindow;

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
    // Called by each module's constructor; the main window owns it from then on.
    void AddScreen(TScreenModule* module);
    TScreenModule* ScreenModule(int screen) const;
    // The module of a given class (tests and neighbouring screens find
    // controls through it); null when there is none.
    template <typename T> T* Module() const {
        for (const auto& m : m_modules)
            if (auto* found = dynamic_cast<T*>(m.get()))
                return found;
        return nullptr;
    }
    // What the skin dresses: every module's entries in creation order, then
    // the main window's own, then those the program entry added for the
    // secondary windows.
    TSkinEntries SkinEntries();
    TSkinEntries WindowSkinEntries;
    // Applies the skin GraphicDir + SkinDir; throws TSkinError on failure.
    void LoadSkin();
    // Shows GraphicDir + SkinDir + name as the full-window background.
    void SetBackground(const QString& name);
    // Starts or shows the course's interactive exercise program.
    void InteractFieldClick();
    // Asks the learner for a program file (a file dialog unless replaced).
    std::function<QString(const QString& title)> ChooseExecutable;
    // Hides the directory, challenge and glossary side windows.
    void HideSideWindows();
    std::vector<QWidget*> SideWindows; // not owned
    // Placement routines of the side windows, run when the window moves.
    std::vector<std::function<void()>> SideWindowPlacers;
    bool Dragging = false;

    // The message for a table whose file exists but cannot be read.
    static QString RefusedTableMessage(const QString& fault);

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
    // Saves a running test attempt at shutdown (set by the test screen).
    std::function<void()> SaveTestAtShutdown;

    // --- Skin: layout values and pictures ---
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

    // --- Secondary windows (created once by the program entry, owned through
    // OwnWindow and freed with the main window) ---
    void OwnWindow(QWidget* window);
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
    TGlossaryForm* GlossaryForm = nullptr;
    TExibitForm* ExibitForm = nullptr;
    TChallenges* Challenges = nullptr;
    TInfoForm* InfoForm = nullptr;
    TReportPopup* ReportPopup = nullptr;
    TInitDialog* InitDialog = nullptr;
    TDebugWindow* DebugWindow = nullptr;

    // --- Controls shared by several screens (children; created hidden) ---
    TGifImage* Background = nullptr; // full-window picture of the current screen
    TGifImage* MovieFrame = nullptr; // frame around the clip panel
    QWidget* MoviePanel = nullptr;   // where clips play (a TMoviePanel)
    TGifImage* Image1 = nullptr;     // the page pointer; the movie page's, a child of its MBX
    // The question area of the test and challenge screens: the simulation
    // test control (1 by 1 at (1, 1) when out of sight), the scroll box
    // holding the question's title and text, and the question number.
    TQvTesting* QvTesting1 = nullptr;
    QScrollArea* TestScrollBox = nullptr;
    QLabel* Title = nullptr;
    QLabel* Question = nullptr;
    QLabel* lblQuestionNum = nullptr;

    // --- Controls of the screens still to come (challenge, test
    // type selection, test, item review, exam analysis, bookmark question);
    // each group moves into its screen module when that module is written.
    // The test and challenge screens share these buttons. ---
    TSkinButton* btnLeft = nullptr;
    TSkinButton* btnRight = nullptr;
    TSkinButton* btnHint = nullptr;
    TSkinButton* btnReference = nullptr;
    TSkinButton* btnMain = nullptr;
    TSkinButton* ChallengeField = nullptr;
    TSkinButton* btnSteps = nullptr;

    // --- Window buttons: help, minimise, close (two sets) ---
    TSkinButton* AboutField = nullptr;
    TSkinButton* MinimizeField = nullptr;
    TSkinButton* Exitfield = nullptr;
    TSkinButton* btnHelp2 = nullptr;
    TSkinButton* btnMinimize2 = nullptr;
    TSkinButton* btnClose2 = nullptr;

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
    bool CheckDatabaseDirectory();
    void CreateTableObjects();
    bool TablesOpened();
    void SaveSessionState();
    void FreeTableObjects();
    TSkinEntries OwnSkinEntries();
    void ReadLayoutValues(const TSkinScheme& scheme);

    TDisplay& m_display;
    std::vector<std::unique_ptr<TScreenModule>> m_modules;
    std::vector<std::unique_ptr<QWidget>> m_windows;
    QPoint m_dragStart;
    std::unique_ptr<TEngineSession> m_engineSession;
    bool m_destroyed = false;
};
