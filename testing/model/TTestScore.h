#pragma once
// The score of an attempt on the 0 to 1000 scale, the pass mark at 80
// percent, the bar widths of the exam analysis and the report pop-up figures.
#include <QString>

struct TTestScore {
    static constexpr int PassingPercent = 80;

    int Questions = 0;     // n, the entries of the attempt
    int Right = 0;         // r, the entries answered correctly
    int Percent = 0;       // r / n x 100, rounded
    int Points = 0;        // 1000 / n x r, rounded
    int RequiredCount = 0; // 80 percent of n, rounded
    int PassingPoints = 0; // the points of the required count
    // An attempt without questions never passes (its scores are all 0).
    bool Passed() const { return Questions > 0 && Points >= PassingPoints; }
    QString GradeText() const { return Passed() ? "GRADE: PASS" : "GRADE: FAIL"; }
    QString PassingScoreText() const { return "Passing Score: " + QString::number(PassingPoints); }
    QString YourScoreText() const { return "Your Score: " + QString::number(Points); }
    // The width of a bar `barWidth` wide showing `percent`.
    int BarWidth(int percent, int barWidth) const;
    int RequiredBarWidth(int barWidth) const { return BarWidth(PassingPercent, barWidth); }
    int YourBarWidth(int barWidth) const { return BarWidth(Percent, barWidth); }
};

TTestScore ScoreAttempt(int questions, int right);

// The figures of the report pop-up during an open-book attempt. Unanswered
// questions count as incorrect.
struct TReportFigures {
    int Remaining = 0;
    int Correct = 0;
    int Incorrect = 0;
    int Percent = 0;
};

// `normalEntry` is true in the normal way through the test (entry mode 0),
// where the questions after the current one remain.
TReportFigures ReportFigures(int questions, int right, int currentQuestion, bool normalEntry);
