// Scores, the pass mark, bar widths, report pop-up figures, the time limit
// and the countdown.
#include <gtest/gtest.h>

#include "testing/model/TTestScore.h"
#include "testing/model/TTimeLimit.h"

namespace {

struct ScoreCase {
    int n, right, percent, points, required, passing;
    bool passed;
};

TEST(ScoringTest, ScoresAndGradeFollowTheRoundingRule) {
    const ScoreCase cases[] = {
        {10, 8, 80, 800, 8, 800, true},   {7, 6, 86, 857, 6, 857, true},
        {7, 5, 71, 714, 6, 857, false},   {3, 2, 67, 667, 2, 667, true},
        {8, 1, 12, 125, 6, 750, false}, // 12.5 percent rounds to the even 12
        {16, 1, 6, 62, 13, 812, false}, // 62.5 and 812.5 points round to even
        {16, 13, 81, 812, 13, 812, true}, {1, 0, 0, 0, 1, 1000, false},
        {0, 0, 0, 0, 0, 0, false}, // no questions never passes
    };
    for (const ScoreCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.right << " of " << c.n);
        TTestScore s = ScoreAttempt(c.n, c.right);
        EXPECT_EQ(s.Percent, c.percent);
        EXPECT_EQ(s.Points, c.points);
        EXPECT_EQ(s.RequiredCount, c.required);
        EXPECT_EQ(s.PassingPoints, c.passing);
        EXPECT_EQ(s.Passed(), c.passed);
        EXPECT_EQ(s.GradeText(), c.passed ? "GRADE: PASS" : "GRADE: FAIL");
    }
    TTestScore s = ScoreAttempt(7, 6);
    EXPECT_EQ(s.PassingScoreText(), "Passing Score: 857");
    EXPECT_EQ(s.YourScoreText(), "Your Score: 857");
}

TEST(ScoringTest, BarWidthsScaleToTheBar) {
    EXPECT_EQ(ScoreAttempt(10, 8).RequiredBarWidth(435), 348);
    EXPECT_EQ(ScoreAttempt(10, 10).YourBarWidth(435), 435);
    EXPECT_EQ(ScoreAttempt(8, 1).YourBarWidth(435), 52); // 12 percent of 435
    EXPECT_EQ(ScoreAttempt(8, 0).YourBarWidth(435), 0);
}

TEST(ScoringTest, ReportFiguresCountUnansweredAsIncorrect) {
    TReportFigures f = ReportFigures(10, 3, 4, true);
    EXPECT_EQ(f.Remaining, 5);
    EXPECT_EQ(f.Correct, 3);
    EXPECT_EQ(f.Incorrect, 7);
    EXPECT_EQ(f.Percent, 30);
    EXPECT_EQ(ReportFigures(10, 3, 4, false).Remaining, 0) << "reviewing: nothing remains";
    EXPECT_EQ(ReportFigures(10, 3, 9, true).Remaining, 0);
}

TEST(ScoringTest, TimeLimitIsTwoMinutesAQuestionUpToNinety) {
    const std::pair<int, const char*> cases[] = {{1, "0:2"},   {20, "0:40"}, {30, "1:0"},
                                                 {45, "1:30"}, {60, "1:30"}, {500, "1:30"}};
    for (auto [questions, text] : cases) {
        EXPECT_EQ(TimeLimitText(questions), text) << questions;
        EXPECT_EQ(TimeLimitSeconds(text), TimeLimitMinutes(questions) * 60) << text;
    }
    for (const char* bad : {"", "40", "1:x", "1:60", "-1:5"})
        EXPECT_EQ(TimeLimitSeconds(bad), -1) << bad;
}

TEST(ScoringTest, CountdownShowsWholeSecondsUntilTheLimitPasses) {
    const int limit = 40 * 60;
    const std::pair<qint64, const char*> showing[] = {
        {0, "00:40:00"},
        {1, "00:39:59"},
        {999, "00:39:59"},
        {1001, "00:39:58"},
        {limit * 1000LL - 1, "00:00:00"},
        {limit * 1000LL, "00:00:00"},
        {-5000, "00:40:00"}, // clock set back
    };
    for (auto [elapsed, text] : showing) {
        TCountdown c = CountdownAt(elapsed, limit);
        EXPECT_FALSE(c.TimeIsUp) << elapsed;
        EXPECT_EQ(c.Remaining, text) << elapsed;
    }
    EXPECT_EQ(CountdownAt(1000, 90 * 60).Remaining, "01:29:59");
    TCountdown up = CountdownAt(limit * 1000LL + 1, limit);
    EXPECT_TRUE(up.TimeIsUp);
    EXPECT_TRUE(up.Remaining.isEmpty());

    QDateTime start(QDate(2026, 1, 1), QTime(23, 59, 0));
    EXPECT_EQ(CountdownAt(start, start.addSecs(120), limit).Remaining, "00:38:00") << "across midnight";
}

} // namespace
