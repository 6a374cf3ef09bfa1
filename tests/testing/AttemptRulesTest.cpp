// The rules of an attempt that need no tests store: coding the correct
// answer, recording answers, the incomplete rule, moving between questions,
// the entry modes, item-review lines and the shuffle.
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <set>

#include "data/TTesting.h"
#include "testing/model/TTestRun.h"
#include "testing/model/TTestTypeTexts.h"

namespace {

QuestionAnswer Entry(int type, int choices = 4, int correct = 0) {
    QuestionAnswer e;
    e.QType = type;
    e.ChoiceCount = choices;
    e.CorrectAnswer = correct;
    return e;
}

QuestionAnswer Answered(int type, int given, bool correct = false, int choices = 4) {
    QuestionAnswer e = Entry(type, choices);
    e.Seen = e.Answered = true;
    e.Given = given;
    e.Correct = correct;
    return e;
}

TTestRun RunOf(std::vector<QuestionAnswer> entries) {
    TTestRun run;
    run.QuestionList = std::move(entries);
    run.TestRunning = true;
    return run;
}

TEST(AttemptRulesTest, CorrectAnswerIsCodedByType) {
    struct {
        int type;
        const char* answer;
        int coded;
    } cases[] = {
        {TTesting::TrueFalse, "TRUE", 0},  {TTesting::TrueFalse, "TRUE ", 0},
        {TTesting::TrueFalse, "FALSE", 1}, {TTesting::TrueFalse, "F", 1},
        {TTesting::TrueFalse, "", 1},      {TTesting::TrueFalse, "true", 1},
        {TTesting::SingleChoice, "3", 3},  {TTesting::SingleChoice, "", 0},
        {TTesting::SingleChoice, "x", 0},  {TTesting::MultipleChoice, "5 ", 5},
        {TTesting::Simulation, "2", 0},    {7, "2", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CodeCorrectAnswer(c.type, c.answer), c.coded) << c.type << " '" << c.answer << "'";
}

TEST(AttemptRulesTest, RecordingAnswersByType) {
    struct {
        const char* what;
        QuestionAnswer before;
        std::vector<bool> ticked;
        bool answered, correct;
        int given;
    } cases[] = {
        {"true ticked", Entry(TTesting::TrueFalse, 2, 0), {true, false}, true, true, 0},
        {"false ticked", Entry(TTesting::TrueFalse, 2, 0), {false, true}, true, false, 1},
        {"true-false, nothing ticked", Answered(TTesting::TrueFalse, 1), {false, false}, false, false, 1},
        {"single, second choice", Entry(TTesting::SingleChoice, 3, 2), {false, true, false}, true, true, 2},
        {"single, first ticked wins",
         Entry(TTesting::SingleChoice, 3, 2),
         {true, true, false},
         true,
         false,
         1},
        {"single, nothing keeps earlier", Answered(TTesting::SingleChoice, 3), {}, true, false, 3},
        {"single, row beyond choices",
         Entry(TTesting::SingleChoice, 2, 3),
         {false, false, true},
         false,
         false,
         0},
        {"multiple, A and C",
         Entry(TTesting::MultipleChoice, 4, 5),
         {true, false, true, false},
         true,
         true,
         5},
        {"multiple, A only", Entry(TTesting::MultipleChoice, 4, 5), {true}, true, false, 1},
        {"multiple, nothing keeps earlier", Answered(TTesting::MultipleChoice, 6), {false}, true, false, 6},
        // 40 choices: the answer holds 32 bits, row 32 sets the top bit, later rows are dropped.
        {"multiple, beyond 32 choices", Entry(TTesting::MultipleChoice, 40, 0),
         [] {
             std::vector<bool> rows(40, false);
             rows[31] = rows[35] = true;
             return rows;
         }(),
         true, false, int(0x80000000u)},
        {"simulation records nothing here", Entry(TTesting::Simulation, 3, 0), {true}, false, false, 0},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        TTestRun run = RunOf({c.before});
        TRecordResult result = run.RecordAnswer(c.ticked);
        const QuestionAnswer& e = run.QuestionList[0];
        EXPECT_TRUE(e.Seen);
        EXPECT_EQ(e.Answered, c.answered);
        EXPECT_EQ(e.Given, c.given);
        if (c.answered)
            EXPECT_EQ(e.Correct, c.correct);
        EXPECT_EQ(result.Answered, c.answered);
        EXPECT_EQ(result.Correct, c.answered && c.correct);
    }
}

TEST(AttemptRulesTest, RedrawnRowsShowTheRecordedAnswer) {
    using Rows = std::vector<bool>;
    // Whatever the learner ticks and leaves is ticked again on return.
    struct {
        int type, choices;
        Rows ticked;
    } roundTrips[] = {
        {TTesting::TrueFalse, 2, {true, false}},
        {TTesting::TrueFalse, 2, {false, true}},
        {TTesting::SingleChoice, 4, {false, false, true, false}},
        {TTesting::MultipleChoice, 4, {true, false, true, true}},
        {TTesting::MultipleChoice, 1, {true}},
    };
    for (const auto& c : roundTrips) {
        TTestRun run = RunOf({Entry(c.type, c.choices)});
        run.RecordAnswer(c.ticked);
        EXPECT_EQ(TickedRows(run.QuestionList[0], int(c.ticked.size())), c.ticked) << c.type;
    }
    QuestionAnswer unseen = Answered(TTesting::SingleChoice, 2);
    unseen.Seen = false;
    EXPECT_EQ(TickedRows(unseen, 3), Rows(3, false)) << "not yet left with an answer";
    EXPECT_EQ(TickedRows(Entry(TTesting::TrueFalse), 2), Rows(2, false));
    // Answers a damaged or outdated block may carry tick nothing out of range.
    EXPECT_EQ(TickedRows(Answered(TTesting::SingleChoice, 9), 3), Rows(3, false));
    EXPECT_EQ(TickedRows(Answered(TTesting::TrueFalse, -1), 2), Rows(2, false));
    EXPECT_EQ(TickedRows(Answered(TTesting::MultipleChoice, int(0x80000003u), false, 40), 40)[31], true);
    EXPECT_EQ(TickedRows(Answered(TTesting::Simulation, 0), 2), Rows(2, false));
}

TEST(AttemptRulesTest, SimulationVerdictAndIncompleteRule) {
    TTestRun run = RunOf({Entry(TTesting::Simulation, 3, 9)});
    EXPECT_TRUE(IsIncomplete(run.QuestionList[0]));
    run.RecordSimulation(false);
    EXPECT_EQ(run.QuestionList[0].Given, 1);
    EXPECT_EQ(run.QuestionList[0].CorrectAnswer, 0);
    EXPECT_FALSE(run.QuestionList[0].Correct);
    run.RecordSimulation(true);
    run.RecordAnswer({}); // Next after the verdict
    EXPECT_TRUE(run.QuestionList[0].Correct);
    EXPECT_FALSE(IsIncomplete(run.QuestionList[0]));

    EXPECT_TRUE(IsIncomplete(Answered(TTesting::MultipleChoice, 0))) << "answered with nothing ticked";
    EXPECT_FALSE(IsIncomplete(Answered(TTesting::SingleChoice, 0))) << "only multiple choice reads Given";
}

TEST(AttemptRulesTest, NextAndPreviousInNormalOrder) {
    TTestRun run = RunOf({Entry(1), Entry(1), Entry(1)});
    EXPECT_FALSE(run.PreviousVisible());
    EXPECT_EQ(run.QuestionNumberText(), "Question 1 of 3");
    EXPECT_EQ(run.MoveNext(), TNextStep::ShowQuestion);
    EXPECT_EQ(run.MoveNext(), TNextStep::ShowQuestion);
    EXPECT_EQ(run.QuestionNumberText(), "Question 3 of 3");
    EXPECT_EQ(run.MoveNext(), TNextStep::ShowItemReview);
    EXPECT_EQ(run.CurrentQuestion, 2) << "stays on the last";
    EXPECT_TRUE(run.PreviousVisible());
    run.MovePrevious();
    run.MovePrevious();
    run.MovePrevious();
    EXPECT_EQ(run.CurrentQuestion, 0) << "never before the first";
}

TEST(AttemptRulesTest, ReviewOfIncompleteQuestionsSkipsTheAnswered) {
    // 0 answered, 1 incomplete, 2 answered, 3 multiple choice with nothing ticked, 4 answered
    TTestRun run = RunOf(
        {Answered(1, 1), Entry(1), Answered(1, 2), Answered(TTesting::MultipleChoice, 0), Answered(1, 1)});
    ASSERT_TRUE(run.ReviewIncomplete());
    EXPECT_EQ(run.TestEntryMode, TestEntry::ReviewIncomplete);
    EXPECT_EQ(run.CurrentQuestion, 1);
    EXPECT_FALSE(run.PreviousVisible()) << "nothing incomplete before";
    EXPECT_EQ(run.MoveNext(), TNextStep::ShowQuestion);
    EXPECT_EQ(run.CurrentQuestion, 3);
    EXPECT_TRUE(run.PreviousVisible());
    run.MovePrevious();
    EXPECT_EQ(run.CurrentQuestion, 1) << "back to the nearest incomplete one";
    run.CurrentQuestion = 3;
    EXPECT_EQ(run.MoveNext(), TNextStep::ShowItemReview);
    EXPECT_EQ(run.CurrentQuestion, 4) << "none left: the last";

    TTestRun done = RunOf({Answered(1, 1), Answered(0, 0)});
    done.CurrentQuestion = 1;
    EXPECT_FALSE(done.ReviewIncomplete());
    EXPECT_EQ(done.TestEntryMode, TestEntry::Normal);
    EXPECT_EQ(done.CurrentQuestion, 1);
}

TEST(AttemptRulesTest, ReviewNumberIsClampedToTheList) {
    TTestRun run = RunOf({Entry(1), Entry(1), Entry(1), Entry(1)});
    for (auto [number, index] : {std::pair{0, 0}, {-3, 0}, {1, 0}, {3, 2}, {4, 3}, {99, 3}}) {
        run.ReviewOne(number);
        EXPECT_EQ(run.CurrentQuestion, index) << number;
        EXPECT_EQ(run.TestEntryMode, TestEntry::ReviewOne);
    }
}

TEST(AttemptRulesTest, EnteringTheTestScreenByMode) {
    const QDateTime start(QDate(2026, 3, 1), QTime(10, 0));
    const QDateTime later = start.addSecs(600);
    std::vector<QuestionAnswer> twenty(20, Entry(1));

    TTestRun closed = RunOf(twenty);
    closed.ClosedBook = true;
    TEntryActions a = closed.EnterTestScreen(start);
    EXPECT_TRUE(a.StartSession && a.StartCountdown && !a.ShowItemReview);
    EXPECT_EQ(closed.TimeLimit, "0:40");
    EXPECT_EQ(closed.Countdown(later).Remaining, "00:30:00");

    closed.TestEntryMode = TestEntry::Continuing;
    a = closed.EnterTestScreen(later);
    EXPECT_TRUE(!a.StartSession && a.StartCountdown);
    EXPECT_EQ(closed.TestEntryMode, TestEntry::Normal);
    EXPECT_EQ(closed.Countdown(later).Remaining, "00:40:00") << "the whole limit again";

    for (int mode : {TestEntry::ReviewIncomplete, TestEntry::ReviewOne}) {
        closed.TestEntryMode = mode;
        a = closed.EnterTestScreen(later.addSecs(60));
        EXPECT_TRUE(!a.StartSession && !a.StartCountdown && a.ShowItemReview) << mode;
        EXPECT_EQ(closed.TestStart, later) << "the countdown goes on";
    }
    EXPECT_EQ(closed.TestEntryMode, TestEntry::Normal) << "one review leads back to the normal order";

    TTestRun open = RunOf(twenty);
    a = open.EnterTestScreen(start);
    EXPECT_TRUE(a.StartSession && !a.StartCountdown);
    EXPECT_TRUE(open.TimeLimit.isEmpty());
}

TEST(AttemptRulesTest, AttemptLifecycleFromTestButtonToShutdown) {
    const QByteArray none;
    TTestRun run = RunOf({Entry(1), Entry(1)});
    run.TestRunning = false;
    EXPECT_EQ(run.ScreenForTestButton(none), 8);
    EXPECT_FALSE(run.FinishedFlagAtShutdown());

    run.TestRunning = true;
    EXPECT_EQ(run.ScreenForTestButton(none), 8) << "running, not left for later";
    EXPECT_EQ(run.FinishedFlagAtShutdown(), std::optional(true));
    EXPECT_FALSE(run.LeaveTest(true)) << "continue later: nothing saved yet";
    EXPECT_EQ(run.ScreenForTestButton(none), 11);
    EXPECT_EQ(run.FinishedFlagAtShutdown(), std::optional(false)) << "saved to be continued";

    run.AnswerContinue(true);
    EXPECT_FALSE(run.ContinueLater);
    EXPECT_EQ(run.TestEntryMode, TestEntry::Continuing);
    EXPECT_TRUE(run.TestRunning);
    run.EnterTestScreen(QDateTime::currentDateTime());

    run.LeaveTest(true);
    run.AnswerContinue(false);
    EXPECT_FALSE(run.TestRunning) << "No gives the attempt up";
    EXPECT_FALSE(run.ContinueLater);

    run.TestRunning = true;
    EXPECT_TRUE(run.LeaveTest(false)) << "not to be continued: saved as ended";
    EXPECT_FALSE(run.TestRunning);

    run.TestRunning = true;
    run.EndAttempt();
    EXPECT_EQ(run.FinishedFlagAtShutdown(), std::optional(true));
    run.LeaveExamAnalysis();
    EXPECT_FALSE(run.TestRunning);
    EXPECT_EQ(run.Count(), 2) << "entries kept for a later attempt";

    // A saved block that can be resumed leads straight to the test.
    TTestRun saved = RunOf({Answered(1, 1)});
    saved.CurrentQuestion = 0;
    const QByteArray block = *saved.AnswersBlock(false);
    EXPECT_EQ(run.ScreenForTestButton(block), 7);
    EXPECT_EQ(run.ScreenForTestButton(*saved.AnswersBlock(true)), 8);
}

TEST(AttemptRulesTest, TestTypeExplanationsKeepTheirDoubleBlanks) {
    for (const QString& text : {TestTypeText::OpenBook, TestTypeText::ClosedBook}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_FALSE(text.contains(QRegularExpression(R"(\. \S)"))) << "a full stop with one blank";
        EXPECT_FALSE(text.contains("   "));
    }
    EXPECT_TRUE(TestTypeText::OpenBook.contains("\"Hint\" or  \"References\" buttons"));
    EXPECT_TRUE(TestTypeText::ClosedBook.endsWith("upon completion."));
}

TEST(AttemptRulesTest, ItemReviewLinesAndSigns) {
    QuestionAnswer unseen = Answered(TTesting::SingleChoice, 2);
    unseen.Seen = false;
    QuestionAnswer marked = Entry(TTesting::SingleChoice);
    marked.Marked = true;
    QuestionAnswer many = Answered(TTesting::MultipleChoice, 0x21, false, 40);
    struct {
        QuestionAnswer entry;
        int index;
        const char* text;
        bool wrongSignOpenBook, markSign;
    } cases[] = {
        {Answered(TTesting::TrueFalse, 0, true), 0, "1:   True", false, false},
        {Answered(TTesting::TrueFalse, 1), 8, "9:   False", true, false},
        {Answered(TTesting::SingleChoice, 3, true), 9, "10: C", false, false},
        {Answered(TTesting::Simulation, 1), 99, "100: Demonstrate", true, false},
        {Answered(TTesting::MultipleChoice, 5, true, 4), 1, "2:   AC", false, false},
        {Answered(TTesting::MultipleChoice, 16, false, 4), 1, "2:   Incomplete", false, false},
        {many, 2, "3:   AF", true, false},
        {Answered(7, 1), 3, "4:   ", true, false},
        {unseen, 4, "5:   Incomplete", false, false},
        {marked, 5, "6:   Incomplete", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TItemReviewLine open = ItemReviewLine(c.entry, c.index, false);
        TItemReviewLine closed = ItemReviewLine(c.entry, c.index, true);
        EXPECT_EQ(open.Text, c.text);
        EXPECT_EQ(open.ShowsWrongSign(), c.wrongSignOpenBook);
        EXPECT_FALSE(closed.ShowsWrongSign()) << "closed book shows marks only";
        EXPECT_EQ(open.ShowsMarkSign(), c.markSign);
        EXPECT_EQ(closed.ShowsMarkSign(), c.markSign);
        EXPECT_EQ(bool(open.Flags & ItemReviewFlag::Incomplete), QString(c.text).endsWith("Incomplete"));
        EXPECT_EQ(open.Flags & (ItemReviewFlag::Correct | ItemReviewFlag::NotCorrect),
                  c.entry.Correct ? ItemReviewFlag::Correct : ItemReviewFlag::NotCorrect);
        EXPECT_EQ(open.Flags & ItemReviewFlag::OpenBook, ItemReviewFlag::OpenBook);
        EXPECT_EQ(closed.Flags & ItemReviewFlag::OpenBook, 0);
    }
}

// Every order is reached through a real store in TestRunStoreTest; here the
// draw's guards.
TEST(AttemptRulesTest, PermutationSurvivesAnyRandomSource) {
    // A source answering outside its bound still gives a permutation.
    std::vector<int> p = DrawPermutation(5, [](int bound) { return bound + 7; });
    EXPECT_EQ(std::set<int>(p.begin(), p.end()), (std::set<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(DrawPermutation(3, [](int) { return -3; }), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(DrawPermutation(0, [](int) { return 0; }).empty());
}

TEST(AttemptRulesTest, ReusedListStartsAfreshInANewOrder) {
    TTestRun run = RunOf({Answered(1, 2, true), Answered(0, 1), Answered(5, 3)});
    for (int i = 0; i < 3; ++i)
        run.QuestionList[size_t(i)].Position = i + 1;
    run.QuestionList[1].Marked = true;
    run.CurrentQuestion = 2;
    run.Reuse(true, [](int bound) { return bound - 1; }); // always the last of the pool
    EXPECT_EQ(run.CurrentQuestion, 0);
    std::vector<int> order;
    for (const QuestionAnswer& e : run.QuestionList) {
        order.push_back(e.Position);
        EXPECT_FALSE(e.Seen || e.Answered || e.Marked || e.Correct);
        EXPECT_EQ(e.Given, 0);
    }
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(run.RightCount(), 0);
}

} // namespace
