#pragma once
// The test screen (7): one question of the attempt at a time, drawn from the
// tests store into the test scroll box (answer rows for true or false, single
// and multiple choice; the test control for a simulation), with Next,
// Previous, item review, the mark, hint, reference, exhibit and report
// buttons, the question number and, in closed book, the countdown. It owns
// the attempt (`Run`) that the test type, continue, item review and exam
// analysis screens share, and saves it into its session row.
#include <QAbstractButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "shell/TScreenModule.h"
#include "testing/TAnswer.h"
#include "testing/model/TTestRun.h"

class QLabel;
class QWidget;
class THintForm;
class TRefForm;
class TSkinButton;

// The mark button: shows the face of btnMarkOpen while the question is not
// marked (Tag 1) and that of btnMarkclosed while it is (Tag 0).
class TMarkButton : public QAbstractButton {
    Q_OBJECT
public:
    TMarkButton(TSkinButton* open, TSkinButton* closed, QWidget* parent);
    int Tag = 1;
    void SetMarked(bool marked);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TSkinButton* m_open;
    TSkinButton* m_closed;
};

class TTestScreen : public TScreenModule {
    Q_OBJECT
public:
    explicit TTestScreen(TForm1& form);

    TTestRun Run;
    // The order of a randomized list; the clock's unless replaced (tests).
    TRandomSource Random = ClockRandomSource();
    // Set by the test type selection before the screen is entered.
    bool Randomize = false;

    // The question area (the main window's TestScrollBox with Title and
    // Question, lblQuestionNum and the test control QvTesting1) is shared
    // with the challenge screen. The answer rows sit in the scroll box beside
    // the template label.
    QLabel* AnswerLabelTemplate;
    QLabel* lblTimeRemaining;
    QLabel* lblTime;
    TSkinButton* btnItemReview;
    TSkinButton* btnExhibit;
    TSkinButton* btnTReport;
    TSkinButton* btnMarkOpen;   // holds the unmarked face
    TSkinButton* btnMarkclosed; // holds the marked face
    TMarkButton* btnMark;
    QTimer Countdown; // closed book, 250 ms

    THintForm* HintForm;
    TRefForm* RefForm;

    std::vector<std::unique_ptr<TAnswer>> AnswerRows;
    int RowsInUse = 0;

    void Enter() override;
    void Leave() override;

    // The movie page's test button: resume, continue, or the test type.
    void TestFieldClick();
    void btnRightClick();
    void btnLeftClick();
    void btnItemReviewClick();
    void btnMarkClick();
    void btnTReportClick();
    void btnMainClick();
    void CountdownTick();
    // The test control's verdict on the current simulation question.
    void SimulationAnswered(bool right);
    // Saves the attempt into its session row (the exam analysis, the main
    // button and shutdown); says so when it could not be written.
    bool SaveAttempt(bool finished);
    void SaveAtShutdown();
    // Where the report pop-up stands: above the scroll box's bottom right.
    void PlaceReportPopup();

private:
    bool FindAssignment();
    void PrepareAttempt();
    // The ticks on show into the current entry; Record also shows the open
    // book's feedback picture.
    TRecordResult RecordTicks();
    void Record();
    void ShowCurrent();
    void DrawQuestion(int num, int id, int type, const QString& title, const QString& question, int numAnswer,
                      const QString& hint, const QString& ref, const QString& graphic);
    void DrawSimulation(int numAnswer);
    void DrawRows(const QuestionAnswer& entry, int type, int numAnswer, int firstTop);
    void AddRow(const QString& text, int style, bool letters, bool ticked, int top);
    void ClearRows();
    void ShowExhibit(const QString& graphic);
    void ToggleWindow(QWidget* window);
    void ShowScreenLater(int screen);

    QWidget* Content() const;

    QString m_reportPopupName = QStringLiteral("RptPopBkg.gif");
    // The test control's handlers of the screen entered before, put back on leaving.
    std::function<void(QObject*)> m_otherCorrect;
    std::function<void(QObject*, int)> m_otherIncorrect;
};
