#include "testing/TTestScreen.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QWidget>

#include "data/TAssignment.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "lesson/TBookmarkTest.h"
#include "lesson/TExibitForm.h"
#include "lesson/TInfoForm.h"
#include "lesson/TMoviePageScreen.h"
#include "lesson/TSteps.h"
#include "platform/TMessages.h"
#include "platform/TPaths.h"
#include "shell/ControlLayout.h"
#include "shell/TForm1.h"
#include "shell/TNoticeWindow.h"
#include "testing/TReportPopup.h"
#include "testing/TTestWindows.h"
#include "testing/model/TAttemptStore.h"
#include "widgets/TGifImage.h"
#include "widgets/TQvTesting.h"
#include "widgets/TSkinButton.h"

namespace {
namespace L = ControlLayout;

constexpr int TextWidth = 535;
constexpr int RowGap = 7;
const QRect SimulationArea{10, 26, 621, 58};
const QRect SimulationControl{10, 84, 619, 325};
const QRect HiddenControl{1, 1, 1, 1};
const QRect TimeRemainingLabel{380, 452, 130, 20};
const QRect TimeLabel{512, 452, 110, 20};

QLabel* WhiteLabel(QWidget* parent, bool bold = false) {
    auto* label = new QLabel(parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(15);
    font.setBold(bold);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

// A word-wrapped label of the text width, as high as its text needs.
void Fit(QLabel* label, const QString& text, int top) {
    label->setText(text);
    label->setFixedWidth(TextWidth);
    label->setFixedHeight(std::max(1, label->heightForWidth(TextWidth)));
    label->move(8, top);
}

TSkinButton* TestButton(TSkinButton* button, int slot) {
    button->setGeometry(L::TestButtonLefts[slot], L::TestButtonTop, L::TestButton.width(),
                        L::TestButton.height());
    return button;
}
} // namespace

TMarkButton::TMarkButton(TSkinButton* open, TSkinButton* closed, QWidget* parent)
    : QAbstractButton(parent), m_open(open), m_closed(closed) {
    setCursor(Qt::PointingHandCursor);
}

void TMarkButton::SetMarked(bool marked) {
    Tag = marked ? 0 : 1;
    update();
}

void TMarkButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage face = (Tag == 1 ? m_open : m_closed)->Face();
    if (!face.isNull())
        painter.drawImage(rect(), face);
    else
        painter.drawText(rect(), Qt::AlignCenter,
                         Tag == 1 ? QStringLiteral("Mark") : QStringLiteral("Marked"));
}

TTestScreen::TTestScreen(TForm1& form)
    : TScreenModule(form, ScreenTest, {"Test Screen", "background", "TestPla.gif"}) {
    AnswerLabelTemplate = WhiteLabel(Content());
    AnswerLabelTemplate->setObjectName(QStringLiteral("AnswerLabelTemplate"));
    AnswerLabelTemplate->setGeometry(8, 0, 513, 23);
    AnswerLabelTemplate->hide();

    lblTimeRemaining = Own(WhiteLabel(&f, true), "lblTimeRemaining");
    lblTimeRemaining->setText(QStringLiteral("Time Remaining:"));
    lblTimeRemaining->setGeometry(TimeRemainingLabel);
    lblTime = Own(WhiteLabel(&f, true), "lblTime");
    lblTime->setGeometry(TimeLabel);

    btnItemReview = TestButton(Own(new TSkinButton(&f), "btnItemReview"), 2);
    btnExhibit = TestButton(Own(new TSkinButton(&f), "btnExhibit"), 3);
    btnTReport = TestButton(Own(new TSkinButton(&f), "btnTReport"), 6);
    btnMarkOpen = TestButton(Own(new TSkinButton(&f), "btnMarkOpen"), 7);
    btnMarkclosed = TestButton(Own(new TSkinButton(&f), "btnMarkclosed"), 7);
    btnMark = Own(new TMarkButton(btnMarkOpen, btnMarkclosed, &f), "btnMark");
    btnMark->setGeometry(btnMarkOpen->geometry());

    HintForm = new THintForm();
    RefForm = new TRefForm();
    f.OwnWindow(HintForm);
    f.OwnWindow(RefForm);

    AddSkin(FaceEntry(btnItemReview, "Test Screen", "btnItem"));
    AddSkin(FaceEntry(btnExhibit, "Test Screen", "btnExhibit"));
    AddSkin(FaceEntry(btnTReport, "Test Screen", "btnReport"));
    AddSkin(FaceEntry(btnMarkclosed, "Test Screen", "btnMClosed"));
    AddSkin(FaceEntry(btnMarkOpen, "Test Screen", "btnMOpen"));
    AddSkin({TSkinStep::BackgroundNames, [this](const TSkinScheme& s) {
                 m_reportPopupName = s.String("Test Screen", "RptPopBackground", "RptPopBkg.gif");
             }});

    Countdown.setInterval(250);
    connect(&Countdown, &QTimer::timeout, this, &TTestScreen::CountdownTick);
    connect(btnItemReview, &QAbstractButton::clicked, this, &TTestScreen::btnItemReviewClick);
    connect(btnMark, &QAbstractButton::clicked, this, &TTestScreen::btnMarkClick);
    connect(btnTReport, &QAbstractButton::clicked, this, &TTestScreen::btnTReportClick);
    connect(btnExhibit, &QAbstractButton::clicked, this, [this] {
        if (f.ExibitForm)
            ToggleWindow(f.ExibitForm);
    });
    // Buttons the test screen shares with the challenge screen act here only on screen 7.
    auto onTestScreen = [this](QAbstractButton* button, void (TTestScreen::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] {
            if (f.CurrentScreen == ScreenTest)
                (this->*handler)();
        });
    };
    onTestScreen(f.btnRight, &TTestScreen::btnRightClick);
    onTestScreen(f.btnLeft, &TTestScreen::btnLeftClick);
    onTestScreen(f.btnMain, &TTestScreen::btnMainClick);
    connect(f.btnHint, &QAbstractButton::clicked, this, [this] {
        if (f.CurrentScreen == ScreenTest)
            ToggleWindow(HintForm);
    });
    connect(f.btnReference, &QAbstractButton::clicked, this, [this] {
        if (f.CurrentScreen == ScreenTest)
            ToggleWindow(RefForm);
    });
    // The steps button opens and closes the steps window on every screen
    // (ConnectLessonWindows); a second toggle here would close it again at once.
    if (auto* page = f.Module<TMoviePageScreen>())
        page->OnTestField = [this] { TestFieldClick(); };
    f.SaveTestAtShutdown = [this] { SaveAtShutdown(); };
    f.SideWindowPlacers.push_back([this] {
        if (f.ReportPopup && f.ReportPopup->isVisible())
            PlaceReportPopup();
    });
}

bool TTestScreen::FindAssignment() {
    if (f.Assignment->GoToAssignment(f.CurrentUserId, f.CourseTestId))
        return true;
    Messages().ShowMessage(QStringLiteral("User is not assigned to the course test"));
    return false;
}

void TTestScreen::TestFieldClick() {
    QByteArray block;
    if (!Run.TestRunning && FindAssignment())
        block = FindSavedAttempt(*f.Assignment, *f.TestSession).Block;
    f.ShowScreen(Run.ScreenForTestButton(block));
}

void TTestScreen::PrepareAttempt() {
    if (!f.Testing->IsTestOpen())
        Messages().ShowMessage(QStringLiteral("Test Is not Open"));
    TSavedAttempt saved;
    if (FindAssignment())
        saved = FindSavedAttempt(*f.Assignment, *f.TestSession);
    TPrepareOutcome ready = Run.Prepare(*f.Testing, saved.Block, saved.SessionType, Randomize, Random);
    if (!ready.Message.isEmpty())
        Messages().ShowMessage(ready.Message);
    if (!ready.Ready)
        ShowScreenLater(ScreenMoviePage); // nothing to take: back where the learner came from
}

void TTestScreen::Enter() {
    f.User->SetStatus(f.CurrentUserId, 3, f.CurrentSessionId);
    f.TestScrollBox->setGeometry(L::TestArea);
    f.TestScrollBox->show();
    f.lblQuestionNum->show();
    btnMark->show();
    f.btnMain->setGeometry(L::TestButtonLefts[8], L::TestButtonTop, L::TestButton.width(),
                           L::TestButton.height());
    f.btnMain->show();
    m_otherCorrect = f.QvTesting1->OnCorrect;
    m_otherIncorrect = f.QvTesting1->OnIncorrect;
    f.QvTesting1->OnCorrect = [this](QObject*) { SimulationAnswered(true); };
    f.QvTesting1->OnIncorrect = [this](QObject*, int) { SimulationAnswered(false); };
    if (!Run.TestRunning)
        PrepareAttempt();
    if (!Run.TestRunning || Run.Count() == 0)
        return;
    if (Run.ClosedBook) {
        lblTime->clear();
        lblTimeRemaining->show();
        lblTime->show();
    } else {
        f.btnReference->show();
        f.btnHint->show();
        btnTReport->show();
    }
    TEntryActions todo = Run.EnterTestScreen(QDateTime::currentDateTime());
    if (todo.StartSession && FindAssignment())
        StartAttemptSession(Run, *f.Assignment, *f.TestSession);
    if (todo.StartCountdown)
        Countdown.start();
    if (todo.ShowItemReview)
        btnItemReview->show();
    f.Testing->OnTestQuestion = [this](int num, int id, int type, const QString& title,
                                       const QString& question, int numAnswer, const QString&,
                                       const QString& hint, const QString& ref, const QString& graphic) {
        DrawQuestion(num, id, type, title, question, numAnswer, hint, ref, graphic);
    };
    ShowCurrent();
}

void TTestScreen::Leave() {
    f.Testing->OnTestQuestion = nullptr;
    f.QvTesting1->OnCorrect = m_otherCorrect;
    f.QvTesting1->OnIncorrect = m_otherIncorrect;
    f.QvTesting1->SetInstructionsShown(true); // the challenges coach
    f.QvTesting1->setGeometry(HiddenControl);
    f.QvTesting1->hide();
    for (QWidget* shared : {static_cast<QWidget*>(f.TestScrollBox), static_cast<QWidget*>(f.lblQuestionNum),
                            static_cast<QWidget*>(f.btnReference), static_cast<QWidget*>(f.btnHint),
                            static_cast<QWidget*>(f.btnLeft), static_cast<QWidget*>(f.btnRight),
                            static_cast<QWidget*>(f.btnMain), static_cast<QWidget*>(f.btnSteps)})
        shared->hide();
    f.HideSideWindows();
    for (QWidget* window : {static_cast<QWidget*>(HintForm), static_cast<QWidget*>(RefForm),
                            static_cast<QWidget*>(f.ExibitForm)})
        if (window)
            window->hide();
    if (f.Steps)
        f.Steps->hide();
    if (f.ReportPopup)
        f.ReportPopup->hide();
}

void TTestScreen::ShowCurrent() {
    if (const QuestionAnswer* entry = Run.Current())
        f.Testing->GoToTestQuestion(entry->Position); // not found: the last drawing stays
}

void TTestScreen::DrawQuestion(int, int id, int type, const QString& title, const QString& question,
                               int numAnswer, const QString& hint, const QString& ref,
                               const QString& graphic) {
    QuestionAnswer* entry = Run.Current();
    if (!entry)
        return;
    HintForm->SetText(hint);
    RefForm->SetText(ref);
    btnExhibit->hide();
    f.btnSteps->hide();
    if (f.Steps)
        f.Steps->hide();
    f.btnReference->setVisible(!Run.ClosedBook && !ref.isEmpty());
    f.btnHint->setVisible(!Run.ClosedBook && !hint.isEmpty());
    if (ref.isEmpty())
        RefForm->hide();
    if (hint.isEmpty())
        HintForm->hide();

    f.lblQuestionNum->setText(Run.QuestionNumberText());
    f.btnRight->show();
    f.btnLeft->setVisible(Run.PreviousVisible());
    btnMark->SetMarked(entry->Marked);
    entry->QuestionId = id;

    if (type == TTesting::Simulation) {
        QString path;
        f.Testing->WriteTestQuestionGraphicFile(&path);
        ClearRows();
        f.TestScrollBox->setGeometry(SimulationArea);
        Fit(f.Title, title, 8);
        Fit(f.Question, question, f.Title->y() + f.Title->height() - 1);
        Content()->resize(Content()->width(), f.Question->geometry().bottom() + RowGap);
        f.QvTesting1->SetInstructionsShown(!Run.ClosedBook); // the steps are the answer
        f.QvTesting1->SetFileName(path);
        f.QvTesting1->SetQuestionType(TQvTesting::kSimulationQuestion);
        f.QvTesting1->setGeometry(SimulationControl);
        f.QvTesting1->show();
        f.QvTesting1->raise();
        if (!Run.ClosedBook)
            DrawSimulation(numAnswer);
        return;
    }
    f.QvTesting1->setGeometry(HiddenControl);
    f.QvTesting1->hide();
    f.TestScrollBox->setGeometry(L::TestArea);
    ClearRows();
    Fit(f.Title, title.isEmpty() ? f.windowTitle() : title, 8);
    Fit(f.Question, question, f.Title->y() + f.Title->height() + RowGap);
    DrawRows(*entry, type, numAnswer, f.Question->y() + f.Question->height() + RowGap);
    if (!graphic.isEmpty())
        ShowExhibit(graphic);
}

// Open book: the steps of the simulation in the steps window, behind its button.
void TTestScreen::DrawSimulation(int numAnswer) {
    if (!f.Steps)
        return;
    f.Steps->ClearSteps();
    for (int k = 1; k <= numAnswer; ++k) {
        f.Steps->AddStep(QStringLiteral("Step %1: ").arg(k), f.Testing->GetTestQuestionAnswerText(k));
        f.Steps->AddStep(QString(), QString());
    }
    f.Steps->hide();
    f.btnSteps->show();
}

void TTestScreen::DrawRows(const QuestionAnswer& entry, int type, int numAnswer, int top) {
    std::vector<QString> texts;
    int style = TAnswer::RadioStyle;
    bool letters = true;
    if (type == TTesting::TrueFalse) {
        texts = {QStringLiteral("True"), QStringLiteral("False")};
        letters = false;
    } else if (type == TTesting::SingleChoice || type == TTesting::MultipleChoice) {
        for (int k = 1; k <= numAnswer; ++k)
            texts.push_back(f.Testing->GetTestQuestionAnswerText(k));
        if (type == TTesting::MultipleChoice)
            style = TAnswer::CheckStyle;
    }
    const std::vector<bool> ticked = TickedRows(entry, int(texts.size()));
    for (size_t row = 0; row < texts.size(); ++row) {
        AddRow(texts[row], style, letters, row < ticked.size() && ticked[row], top);
        top += AnswerRows[row]->Height() + RowGap;
    }
    Content()->resize(Content()->width(), top);
}

void TTestScreen::AddRow(const QString& text, int style, bool letters, bool ticked, int top) {
    if (int(AnswerRows.size()) < RowsInUse + 1)
        AnswerRows.push_back(std::make_unique<TAnswer>(AnswerLabelTemplate, QString(QChar('A' + RowsInUse))));
    TAnswer& row = *AnswerRows[size_t(RowsInUse)];
    row.SetText(text);
    row.SetStyle(style);
    row.SetTop(top);
    row.ShowLetter(letters);
    row.SetTicked(ticked);
    row.SetVisible(true);
    ++RowsInUse;
}

void TTestScreen::ClearRows() {
    for (auto& row : AnswerRows) {
        row->SetTicked(false);
        row->SetVisible(false);
    }
    RowsInUse = 0;
}

// The exhibit picture is written below the test's directory the first time it is needed.
void TTestScreen::ShowExhibit(const QString&) {
    const bool blocked = f.btnRight->blockSignals(true);
    f.btnLeft->blockSignals(true);
    btnExhibit->show();
    QString path;
    f.Testing->WriteTestQuestionGraphicFile(&path);
    if (!path.isEmpty() && f.ExibitForm)
        f.ExibitForm->GIFImage1->SetFileName(path);
    f.btnRight->blockSignals(blocked);
    f.btnLeft->blockSignals(blocked);
}

TRecordResult TTestScreen::RecordTicks() {
    if (!Run.Current())
        return {};
    std::vector<bool> ticked;
    for (int row = 0; row < RowsInUse; ++row)
        ticked.push_back(AnswerRows[size_t(row)]->IsTicked());
    return Run.RecordAnswer(ticked);
}

void TTestScreen::Record() {
    const TRecordResult recorded = RecordTicks();
    if (!Run.ClosedBook && recorded.Answered) {
        const std::unique_ptr<QByteArray>& picture = recorded.Correct ? f.CorrectImage : f.IncorrectImage;
        if (picture && !picture->isEmpty() && f.InfoForm)
            f.InfoForm->ShowImage(*picture);
    }
}

void TTestScreen::btnRightClick() {
    Record();
    if (Run.MoveNext() == TNextStep::ShowItemReview)
        f.ShowScreen(ScreenItemReview);
    else
        ShowCurrent();
}

void TTestScreen::btnLeftClick() {
    Record();
    Run.MovePrevious();
    ShowCurrent();
}

void TTestScreen::btnItemReviewClick() {
    Record();
    f.ShowScreen(ScreenItemReview);
}

void TTestScreen::btnMarkClick() {
    btnMark->SetMarked(Run.ToggleMark());
}

void TTestScreen::SimulationAnswered(bool right) {
    if (f.CurrentScreen != ScreenTest)
        return;
    Run.RecordSimulation(right);
    btnRightClick();
}

void TTestScreen::ToggleWindow(QWidget* window) {
    window->setVisible(!window->isVisible());
}

void TTestScreen::btnTReportClick() {
    TReportPopup* popup = f.ReportPopup;
    if (!popup)
        return;
    if (popup->isVisible()) {
        popup->hide();
        return;
    }
    const QString picture = ResolvePath(f.GraphicDir + f.SkinDir + m_reportPopupName);
    if (popup->Background->FileName() != picture)
        popup->Background->SetFileName(picture);
    const TReportFigures figures = Run.Figures();
    popup->SetFigures(figures.Remaining, figures.Correct, figures.Incorrect, figures.Percent);
    PlaceReportPopup();
    popup->show();
}

void TTestScreen::PlaceReportPopup() {
    TReportPopup* popup = f.ReportPopup;
    if (!popup->Background->IsEmpty())
        popup->resize(popup->Background->PictureSize());
    const QRect box = f.TestScrollBox->geometry();
    popup->move(f.x() + box.left() + box.width() - popup->width() - 2,
                box.top() + f.y() - popup->height() + 378);
}

// Asked whether to continue later. Either way the attempt is saved now, so that
// an attempt kept for later survives the player ending without its shutdown.
void TTestScreen::btnMainClick() {
    Countdown.stop();
    RecordTicks(); // the answer on show counts, whether the attempt ends or waits
    bool later = false;
    if (f.BookmarkTest) {
        f.BookmarkTest->Result = false;
        f.BookmarkTest->exec();
        later = f.BookmarkTest->Result;
    }
    const bool ended = Run.LeaveTest(later);
    SaveAttempt(ended);
    f.ShowScreen(ScreenMoviePage);
}

void TTestScreen::CountdownTick() {
    const TCountdown countdown = Run.Countdown(QDateTime::currentDateTime());
    if (!countdown.TimeIsUp) {
        lblTime->setText(countdown.Remaining);
        return;
    }
    Countdown.stop();
    if (f.NoticeWindow) {
        f.NoticeWindow->SetText(QStringLiteral("Time is up!"));
        f.NoticeWindow->exec();
    }
}

bool TTestScreen::SaveAttempt(bool finished) {
    if (Run.SessionId == 0)
        return false; // no session row was started (no assignment to the test)
    if (::SaveAttempt(Run, finished, *f.TestSession, *f.Assignment, f.CurrentUserId, f.CourseTestId))
        return true;
    Messages().ShowMessage(QStringLiteral("The test attempt could not be saved."));
    return false;
}

void TTestScreen::SaveAtShutdown() {
    Countdown.stop();
    if (f.CurrentScreen == ScreenTest)
        RecordTicks(); // the answer on show when the player was closed
    if (std::optional<bool> finished = Run.FinishedFlagAtShutdown())
        SaveAttempt(*finished);
}

QWidget* TTestScreen::Content() const {
    return f.TestScrollBox->widget();
}

void TTestScreen::ShowScreenLater(int screen) {
    QApplication::postEvent(&f, new TShowScreenEvent(screen));
}
