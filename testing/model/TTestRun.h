#pragma once
// One attempt at the course test: the question list in the order put to the
// learner, where the learner is, how the test screen was entered, and every
// rule the test, item review and exam analysis screens apply to it. Screens
// draw from it and pass the learner's clicks to it; the study material
// report reads the finished attempt from it.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

#include "testing/model/QuestionAnswer.h"
#include "testing/model/TItemReview.h"
#include "testing/model/TShuffle.h"
#include "testing/model/TTestScore.h"
#include "testing/model/TTimeLimit.h"

class TTesting;

// How the test screen is entered.
namespace TestEntry {
constexpr int Normal = 0;           // a new attempt, or one resumed from its saved block
constexpr int ReviewIncomplete = 1; // going through the incomplete questions
constexpr int Continuing = 2;       // continuing after "Yes" on the continue-the-test screen
constexpr int ReviewOne = 3;        // one question chosen in the item review
} // namespace TestEntry

// What preparing the list came to. `Message`, when not empty, is for the learner.
struct TPrepareOutcome {
    bool Ready = false;   // the list holds the attempt's questions
    bool Resumed = false; // taken from a saved block
    int LeftOut = 0;      // questions of the test or the block that could not be found
    QString Message;
};

// What entering the test screen asks of the screen.
struct TEntryActions {
    bool StartSession = false;   // add the attempt's session row and start it
    bool StartCountdown = false; // (re)start the closed-book countdown from TestStart
    bool ShowItemReview = false; // show the item-review button
};

// What Next leads to.
enum class TNextStep { ShowQuestion, ShowItemReview };

struct TRecordResult {
    bool Answered = false;
    bool Correct = false;
};

class TTestRun {
public:
    static const QString NoQuestionsMessage;

    std::vector<QuestionAnswer> QuestionList;
    int CurrentQuestion = 0; // 0-based index into QuestionList
    bool ClosedBook = false;
    bool TestRunning = false;
    int TestEntryMode = TestEntry::Normal;
    bool ContinueLater = false;
    QDateTime TestStart; // when the countdown started
    QString TimeLimit;   // closed book: "h:m"
    int SessionId = 0;   // the attempt's session row, once started (0: none)

    // --- Where the learner goes, and what ends the attempt ---

    // The screen the test button of the movie page leads to: 11 (continue
    // the test?) while an attempt left to be continued runs, 8 (test type)
    // while another runs; otherwise 7 to resume a saved block that can be
    // resumed, else 8.
    int ScreenForTestButton(const QByteArray& savedBlock) const;
    // Leaving the test screen by the main button, asked whether to continue
    // later. True when the attempt is to be saved as ended now.
    bool LeaveTest(bool continueLater);
    // The answer on the continue-the-test screen: Yes goes on (the whole time
    // limit again), No gives the attempt up for a new one.
    void AnswerContinue(bool yes);
    // The exam analysis ends the attempt (save it as ended); leaving that
    // screen clears TestRunning and keeps the entries for a later attempt.
    void EndAttempt() { ContinueLater = false; }
    void LeaveExamAnalysis() { TestRunning = false; }
    // At shutdown a running attempt is saved: to be continued when the
    // learner chose so, else as ended. nullopt: nothing to save.
    std::optional<bool> FinishedFlagAtShutdown() const;

    // --- Preparing the list (entering the test screen with no attempt running) ---

    // Whether a saved block can be resumed: whole, not ended, not empty.
    static bool IsResumable(const QByteArray& block);
    // Resumes from a saved block when it can be, else reuses the entries of
    // an earlier attempt at the open test, else builds the list from the open
    // test; shuffles a reused or built list when `randomize` is set. Nothing
    // happens while an attempt is running.
    TPrepareOutcome Prepare(TTesting& store, const QByteArray& savedBlock, int savedSessionType,
                            bool randomize, const TRandomSource& random = ClockRandomSource());
    // The list from the open test, positions 1..n. A test with no questions
    // is refused (NoQuestionsMessage); a position the store cannot find is
    // left out and counted.
    TPrepareOutcome Build(TTesting& store, bool randomize, const TRandomSource& random = ClockRandomSource());
    // The list from a saved block. Records whose question no longer exists in
    // the open test are left out and counted; a block that cannot be resumed,
    // or of which nothing is left, leaves the list as it was.
    TPrepareOutcome Resume(TTesting& store, const QByteArray& block, int sessionType);
    // A new attempt over the same entries: answers, marks and seen flags cleared.
    void Reuse(bool randomize, const TRandomSource& random = ClockRandomSource());
    // True when the list holds entries of the open test (an earlier attempt).
    bool HoldsTest(const QString& testId) const;

    // Entering the test screen once the list is ready: applies the entry mode.
    TEntryActions EnterTestScreen(const QDateTime& now);

    // --- The test screen ---

    QuestionAnswer* Current();
    const QuestionAnswer* Current() const;
    int Count() const { return int(QuestionList.size()); }
    // "Question 3 of 10".
    QString QuestionNumberText() const;
    // Records the answer rows of the current question: `ticked` holds each
    // row's state in row order (true or false: the "True" row, then "False";
    // choice questions: choice 1 first). Simulation answers come through
    // RecordSimulation.
    TRecordResult RecordAnswer(const std::vector<bool>& ticked);
    // The test control's verdict on the current simulation question.
    void RecordSimulation(bool right);
    bool ToggleMark();
    // Next, after recording. Entry mode 1 goes on to the next incomplete entry.
    TNextStep MoveNext();
    // Previous, after recording: one back; in entry mode 1 back to the
    // nearest incomplete entry before the current one.
    void MovePrevious();
    bool PreviousVisible() const;

    // --- Item review ---

    std::vector<TItemReviewLine> ItemReviewLines() const;
    // Review one question: the number is clamped to 1..n.
    void ReviewOne(int number);
    // From the first entry on, the first incomplete one; false when none.
    bool ReviewIncomplete();
    // The index of the first incomplete entry from `from` on, or -1.
    int NextIncompleteFrom(int from) const;

    // --- Scores and saving ---

    int RightCount() const;
    TTestScore Score() const { return ScoreAttempt(Count(), RightCount()); }
    TReportFigures Figures() const;
    TCountdown Countdown(const QDateTime& now) const;
    // The answers block to save: ended (finished 255, current -1) or left to
    // be continued at the current question. nullopt when a test identifier
    // cannot be stored.
    std::optional<QByteArray> AnswersBlock(bool finished) const;

private:
    void StartList();
};
