#include "lesson/TMoviePageScreen.h"

#include <QAbstractButton>
#include <QApplication>

#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TGlossary.h"
#include "data/TIndex.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "lesson/TBufferingForm.h"
#include "lesson/TGenesisScreen.h"
#include "lesson/TGlossaryForm.h"
#include "lesson/TMoviesDone.h"
#include "lesson/model/TClipChain.h"
#include "lesson/model/TLessonCursor.h"
#include "platform/TMessages.h"
#include "platform/media/TMoviePanel.h"
#include "platform/media/TQtMediaPlayer.h"
#include "shell/ControlLayout.h"
#include "shell/TForm1.h"
#include "shell/TListEvents.h"
#include "shell/TNoticeWindow.h"
#include "skin/uLoadSkins.h"
#include "widgets/TDirectory.h"
#include "widgets/TGifImage.h"
#include "widgets/TLabelEffect.h"
#include "widgets/TMovieButtonX.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSpecialListBox.h"

namespace {
const QString NotAssigned = QStringLiteral("User is not assigned to the course");

// The clip buttons stand in a row between the clip area and the page's
// buttons, centred under the clip.
constexpr QRect ClipButtons[3] = {{236, 346, 52, 26}, {294, 346, 52, 26}, {352, 346, 52, 26}};
} // namespace

TMoviePageScreen::TMoviePageScreen(TForm1& form)
    : TScreenModule(form, ScreenMoviePage, {"Movie Page Screen", "background", "pagebk.gif"}) {
    namespace L = ControlLayout;
    MBX = Own(new TMovieButtonX(&f), "MBX");
    Image1 = new TGifImage(MBX);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->SetAutoSize(true);
    Image1->hide();
    f.Image1 = Image1; // the challenge screen hides it too
    PageName = Own(new TLabelEffect(&f), "PageName");
    PageName->setGeometry(L::PageNameLabel);
    PageName->SetShowAccelChar(false);
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setPixelSize(18);
    titleFont.setBold(true);
    PageName->setFont(titleFont);
    PageName->SetFontColor(Qt::white);
    PageName->SetColourShadow(Qt::black);
    BtnPlay = Own(new TSkinButton(&f), "BtnPlay");
    btnPause = Own(new TSkinButton(&f), "btnPause");
    btnStop = Own(new TSkinButton(&f), "btnStop");
    DirectoryField = Own(new TSkinButton(&f), "DirectoryField");
    TestField = Own(new TSkinButton(&f), "TestField");
    SearchField = Own(new TSkinButton(&f), "SearchField");
    InteractField = Own(new TSkinButton(&f), "InteractField");
    TSkinButton* clipButtons[] = {BtnPlay, btnPause, btnStop};
    for (int i = 0; i < 3; ++i)
        clipButtons[i]->setGeometry(ClipButtons[i]);
    // The challenge field is the challenge screen's, shown here with the others.
    TSkinButton* fields[] = {DirectoryField, TestField, SearchField, InteractField};
    const int places[] = {0, 1, 3, 4};
    for (int i = 0; i < 4; ++i)
        fields[i]->setGeometry(L::FieldButtons[places[i]]);

    // The movie-button control as start-up leaves it.
    MBX->SetArrowLeftMargin(-8);
    MBX->SetStretchBackground(true);
    MBX->SetTopMargin(0);
    MBX->setGeometry(1, 1, 1, 1);
    MBX->OnActiveButtonChanged = [this](QObject* s, int i) { MBXActiveButtonChanged(s, i); };
    MBX->OnMovePointer = [this](QObject* s, int l, int t) { MBXMovePointer(s, l, t); };

    for (TSkinButton* b : clipButtons)
        connect(b, &QAbstractButton::clicked, this, [this, b] { VCRClick(b); });
    for (TSkinButton* b : fields)
        connect(b, &QAbstractButton::clicked, this, [this, b] { FieldClick(b); });

    Timer1.setSingleShot(true);
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, &TMoviePageScreen::Timer1Timer);

    m_player = std::make_unique<TQtMediaPlayer>(qobject_cast<TMoviePanel*>(f.MoviePanel));
    m_player->OnNotify = [this] { MediaPlayer1Notify(); };
    m_player->OnError = [this](const QString& text) { PlayerFailed(text); };

    using S = TSkinStep;
    AddSkin({S::MoviePage, [this](const TSkinScheme& s) {
                 s.Picture(Image1, "Movie Page Screen", "Arrow");
                 MBX->SetBackground(s.Path(s.String("Movie Page Screen", "pgbtback")));
                 MBX->SetButtonFilename(s.Path(s.String("Movie Page Screen", "pgButton")));
                 MBX->SetArrowFilename(s.Path(s.String("Movie Page Screen", "Arrowbmp")));
             }});
    AddSkin(FaceEntry(BtnPlay, "Movie Page Screen", "btnPlay"));
    AddSkin(FaceEntry(btnPause, "Movie Page Screen", "btnPause"));
    AddSkin(FaceEntry(btnStop, "Movie Page Screen", "btnStop"));
    AddSkin(FaceEntry(DirectoryField, "Movie Page Screen", "btnDirectory"));
    AddSkin(FaceEntry(TestField, "Movie Page Screen", "btnTest"));
    AddSkin(FaceEntry(SearchField, "Movie Page Screen", "btnGlossary"));
    AddSkin(FaceEntry(InteractField, "Movie Page Screen", "btnInteract"));
    // The movie-button control moves at once only while the page is shown;
    // otherwise the page applies the bounds when it is next shown.
    AddSkin({S::Coordinates, [this](const TSkinScheme& s) {
                 f.MovieButtonRect = s.Coordinates("Movie Page Screen", "Movie Button Cords",
                                                   QStringLiteral("18,378,373,95"));
                 if (f.CurrentScreen == ScreenMoviePage)
                     MBX->setGeometry(f.MovieButtonRect);
             }});
}

TMoviePageScreen::~TMoviePageScreen() {
    // The chain refers to the player and the cursor; it goes first.
    m_chain.reset();
    if (m_player) {
        m_player->OnNotify = nullptr;
        m_player->OnError = nullptr;
    }
}

TMediaPlayer& TMoviePageScreen::MediaPlayer1() {
    return *m_player;
}

// --- ShowMoviePage -------------------------------------------------------

void TMoviePageScreen::Enter() {
    if (f.CurrentSessionId == 0)
        OpenLessonSession();
    f.User->SetStatus(f.CurrentUserId, 2, f.CurrentSessionId);
    const int challengeRows = ChallengeRows();
    if (!m_glossaryListed)
        ListGlossary();
    if (!f.CourseOpen)
        OpenCourse(challengeRows);

    for (TSkinButton* b : {f.AboutField, f.MinimizeField, f.Exitfield})
        b->hide();
    for (TSkinButton* b : {f.btnHelp2, f.btnMinimize2, f.btnClose2})
        b->show();
    if (!m_cursor || !m_cursor->HasPages()) {
        // Nothing to present: the course start refuses such a course, so this
        // is only reached with an index emptied behind the player's back.
        Messages().ShowMessage(QStringLiteral("The course has no lesson pages"));
        return;
    }

    SelectDirectoryRow();
    FillButtons();
    MBX->setGeometry(f.MovieButtonRect);
    MBX->show();
    PageName->show();
    for (TSkinButton* b : {DirectoryField, f.ChallengeField, SearchField, InteractField, TestField, BtnPlay,
                           btnStop, btnPause})
        b->show();
    // Setting the active button here must not start a clip: the timer does.
    const auto handler = std::move(MBX->OnActiveButtonChanged);
    MBX->OnActiveButtonChanged = nullptr;
    MBX->SetActiveButton(m_cursor->CurrentButton() - 1);
    MBX->OnActiveButtonChanged = handler;

    m_cursor->RestartButton();
    SyncState();
    Timer1.start();
}

// The lesson session of the run: one activity record of kind 20 for the
// course assignment, remembered as its last activity. Without an assignment
// there is no row to hang it on, and none is opened.
void TMoviePageScreen::OpenLessonSession() {
    if (!f.Assignment->GoToAssignment(f.CurrentUserId, f.CurrentCourseId)) {
        if (f.NoticeWindow) {
            f.NoticeWindow->SetText(NotAssigned);
            f.NoticeWindow->exec();
        }
        return;
    }
    const int assignId = f.Assignment->GetAssignmentId();
    const int session = f.TestSession->AddTestSession(assignId);
    if (session <= 0)
        return;
    f.CurrentSessionId = session;
    if (f.Assignment->GoToAssignment(f.CurrentUserId, f.CurrentCourseId))
        f.Assignment->SetLastActive(session);
    if (f.TestSession->OpenTestSession(session))
        f.TestSession->StartTest(20, 0);
}

// The challenge rows, counted once per run.
int TMoviePageScreen::ChallengeRows() {
    if (m_challengeListBuilt)
        return m_cursor ? m_cursor->ChallengeCount() : 0;
    m_challengeListBuilt = true;
    if (!f.Testing->IsOpen())
        Messages().ShowMessage(QStringLiteral("Test not open"));
    if (BuildChallengeList)
        return BuildChallengeList();
    int count = 0;
    if (f.Testing->IsOpen())
        for (int q = 1; q <= f.Testing->NumTestQ(); ++q)
            if (f.Testing->GoToTestQuestion(q) == 0 &&
                f.Testing->CurrentQuestion().Type == TTesting::Simulation)
                ++count;
    return count;
}

void TMoviePageScreen::ListGlossary() {
    m_glossaryListed = true;
    if (!f.Glossary || !f.GlossaryForm)
        return;
    TGlossaryForm* list = f.GlossaryForm;
    TListEvents<TGlossary> events(
        *f.Glossary, [list] { list->ListBox1->Clear(); },
        [list](const QString& term) { list->ListBox1->AddItem(term, 0, TLessonCursor::PageRowState); },
        nullptr);
    f.Glossary->ListTerms();
}

// The directory and the marks of the course, once per run.
void TMoviePageScreen::OpenCourse(int challengeRows) {
    m_chain.reset();
    m_cursor = std::make_unique<TLessonCursor>(
        f.Index ? TCourseOutline::FromTree(f.Index->Tree()) : TCourseOutline(), challengeRows);
    if (f.Courses->GoToCourseId(f.CurrentCourseId) && f.GlossaryForm)
        f.GlossaryForm->SetCourseTitle(f.Courses->GetTitle());
    QByteArray stored;
    if (f.Assignment->GoToAssignment(f.CurrentUserId, f.CurrentCourseId))
        stored = f.Assignment->GetBookmarks();
    else
        Messages().ShowMessage(NotAssigned);
    m_cursor->RestoreMarks(stored);
    f.Marks = m_cursor->Marks();
    if (f.Directory) {
        f.Directory->Clear();
        for (const TDirectoryRow& row : m_cursor->Rows()) {
            const int page = TLessonCursor::PageOfObject(row.Object);
            const int button = TLessonCursor::ButtonOfObject(row.Object);
            if (row.State == TLessonCursor::PageRowState)
                f.Directory->AddPageRow(row.Text, page);
            else
                f.Directory->AddButtonRow(row.Text, page, button, row.State);
        }
    }

    TClipChain::THooks hooks;
    hooks.LayOut = [this](const TClipOutline& clip) { LayOut(clip); };
    hooks.ShowPanel = [this] {
        f.MoviePanel->show();
        f.MoviePanel->raise();
        QApplication::processEvents();
    };
    hooks.RowMarked = [this](int row) { RowMarked(row); };
    hooks.GoToButton = [this](int page, int button) {
        if (f.Directory)
            f.Directory->hide();
        GoToButton(page, button);
    };
    hooks.TrainingComplete = [this] { TrainingComplete(); };
    hooks.HideClipArea = [this] { HideClipArea(); };
    hooks.ShowError = [](const QString& text) { Messages().ShowMessage(text); };
    m_chain = std::make_unique<TClipChain>(*m_cursor, *m_player, f.StreamDir, std::move(hooks));
    m_shownPage = 0;
    f.CourseOpen = true;
}

void TMoviePageScreen::SelectDirectoryRow() {
    if (f.Directory)
        f.Directory->ListBox1->SetItemIndex(
            m_cursor->RowOf(m_cursor->CurrentPage(), m_cursor->CurrentButton()));
}

// The page's buttons with their captions and marks; the marks are read from
// Marks, where the directory window's right clicks also land.
void TMoviePageScreen::FillButtons() {
    const int page = m_cursor->CurrentPage();
    const TCourseOutline& outline = m_cursor->Outline();
    const int base = m_cursor->RowOf(page, 0);
    MBX->SetLinesVisible(0);
    const int count = outline.ButtonCount(page);
    for (int b = 1; b <= count; ++b) {
        MBX->SetButtonCaption(b - 1, outline.ButtonTitle(page, b));
        const int row = base + b;
        MBX->SetButtonMark(b - 1, row < f.Marks.size() && f.Marks[row] != 0 ? 1 : 0);
    }
    MBX->SetLinesVisible(count);
    PageName->SetCaption(outline.PageTitle(page));
    m_shownPage = page;
}

void TMoviePageScreen::Leave() {
    Timer1.stop();
    f.HideSideWindows();
    if (f.GlossaryForm)
        f.GlossaryForm->hide();
    if (f.ChallengeField)
        f.ChallengeField->hide();
    for (TSkinButton* b : {f.btnHelp2, f.btnMinimize2, f.btnClose2})
        b->hide();
    for (TSkinButton* b : {f.AboutField, f.MinimizeField, f.Exitfield})
        b->show();
    f.MovieFrame->hide();
    MBX->hide();
    MBX->setGeometry(1, 1, 1, 1);
    if (m_chain)
        m_chain->Leave();
    f.MoviePanel->hide();
    f.MoviePanel->setGeometry(1, 1, 1, 1);
    if (f.BufferingForm && f.BufferingForm->isVisible())
        f.BufferingForm->hide();
    SyncState();
}

// --- Choosing a button ---------------------------------------------------

void TMoviePageScreen::GoToButton(int page, int button) {
    // A choice made before the entry's timer fired supersedes it.
    Timer1.stop();
    if (!m_chain) { // before the first showing: the showing starts a button
        f.ShowScreen(ScreenMoviePage);
        return;
    }
    const TChainStep step = m_chain->ChooseButton(page, button);
    SyncState();
    if (step.Action == TChainStep::TAction::TrainingComplete)
        return;
    if (f.CurrentScreen != ScreenMoviePage) {
        f.ShowScreen(ScreenMoviePage);
        return;
    }
    SelectDirectoryRow();
    if (m_cursor->CurrentPage() != m_shownPage)
        FillButtons();
    const int index = m_cursor->CurrentButton() - 1;
    if (MBX->ActiveButton() == index)
        m_chain->PlayCurrentClip();
    else
        MBX->SetActiveButton(index); // answered by MBXActiveButtonChanged, which plays
    SyncState();
}

void TMoviePageScreen::MBXActiveButtonChanged(QObject*, int index) {
    f.HideSideWindows();
    GoToButton(m_cursor ? m_cursor->CurrentPage() : f.CurrentPage, index + 1);
}

void TMoviePageScreen::MBXMovePointer(QObject*, int left, int top) {
    Image1->move(left, top);
    if (Image1->isHidden())
        Image1->show();
}

void TMoviePageScreen::Timer1Timer() {
    Timer1.stop();
    if (m_chain && f.CurrentScreen == ScreenMoviePage) {
        m_chain->NextClip();
        SyncState();
    }
}

// --- The chain's hooks ---------------------------------------------------

void TMoviePageScreen::LayOut(const TClipOutline& clip) {
    if (clip.ClipType == TIndex::FramedClip) {
        f.MoviePanel->setGeometry(f.MovieLeft, f.MovieTop, 320, 240);
        f.MovieFrame->move(f.MovieFrameLeft, f.MovieFrameTop);
        f.MovieFrame->show();
        f.MovieFrame->lower();
        f.Background->lower();
    } else {
        f.MoviePanel->setGeometry(f.MotionMovieLeft, f.MotionMovieTop, 619, 325);
        f.MovieFrame->hide();
    }
    QApplication::processEvents();
}

void TMoviePageScreen::RowMarked(int row) {
    if (row >= 0 && row < f.Marks.size())
        f.Marks[row] = 1;
    if (f.Directory)
        f.Directory->ListBox1->SetState(row, 1);
    const int object = m_cursor->Rows()[row].Object;
    if (TLessonCursor::PageOfObject(object) == m_shownPage)
        MBX->SetButtonMark(TLessonCursor::ButtonOfObject(object) - 1, 1);
}

void TMoviePageScreen::TrainingComplete() {
    HideClipArea();
    if (f.MoviesDone) {
        if (!f.MoviesDone->OnTest)
            f.MoviesDone->OnTest = [this] { FieldClick(TestField); };
        f.MoviesDone->show();
    }
}

void TMoviePageScreen::HideClipArea() {
    f.MovieFrame->hide();
    f.MoviePanel->hide();
}

void TMoviePageScreen::PlayerFailed(const QString& text) {
    if (f.CurrentScreen == ScreenMoviePage && m_chain) {
        m_chain->PlayerFailed(text);
        SyncState();
    } else {
        Messages().ShowMessage(text);
    }
}

void TMoviePageScreen::SyncState() {
    f.ClipOpen = m_chain && m_chain->ClipOpen();
    if (m_cursor) {
        f.CurrentPage = m_cursor->CurrentPage();
        f.CurrentButton = m_cursor->CurrentButton();
        f.CurrentClip = m_cursor->CurrentClip();
    }
}

// --- The player's notices and the clip buttons ---------------------------

void TMoviePageScreen::MediaPlayer1Notify() {
    const TMediaMode mode = m_player->Mode();
    if (mode == TMediaMode::Open) {
        m_player->Play();
        return;
    }
    if (mode != TMediaMode::Stopped && mode != TMediaMode::Playing)
        return;
    switch (f.CurrentScreen) {
    case ScreenMoviePage:
        if (m_chain) {
            m_chain->PlayerNotified();
            SyncState();
        }
        break;
    case ScreenChallenge:
        f.MoviePanel->hide();
        if (f.BufferingForm)
            f.BufferingForm->hide();
        break;
    case ScreenGenesis:
        if (auto* genesis = f.Module<TGenesisScreen>()) {
            f.MoviePanel->hide();
            f.MovieFrame->hide();
            genesis->btnGenesisContinueClick();
        }
        break;
    default:
        break;
    }
}

void TMoviePageScreen::VCRClick(QObject* sender) {
    if (!m_chain)
        return;
    if (sender == btnStop)
        m_chain->StopClicked();
    else if (sender == btnPause)
        m_chain->PauseClicked();
    else if (sender == BtnPlay)
        m_chain->PlayClicked();
    SyncState();
}

// --- Field buttons -------------------------------------------------------

void TMoviePageScreen::ToggleWindow(QWidget* window) {
    if (!window)
        return;
    if (window->isVisible()) {
        window->hide();
        return;
    }
    f.HideSideWindows();
    window->show();
    window->raise();
}

void TMoviePageScreen::FieldClick(QObject* sender) {
    if (sender == DirectoryField) {
        ToggleWindow(f.Directory);
    } else if (sender == SearchField) {
        ToggleWindow(f.GlossaryForm);
    } else if (sender == InteractField) {
        if (m_player->Mode() == TMediaMode::Playing) {
            if (m_chain)
                m_chain->StopClicked();
            else
                m_player->Stop();
            HideClipArea();
            SyncState();
        }
        f.InteractFieldClick();
    } else if (sender == TestField) {
        if (OnTestField)
            OnTestField();
        else if (f.ScreenModule(ScreenTestType))
            f.ShowScreen(ScreenTestType);
    }
}
