#include "testing/model/TTestScore.h"

#include "data/TCourses.h"

int TTestScore::BarWidth(int percent, int barWidth) const {
    return ScaledPercent(percent, Questions, barWidth);
}

TTestScore ScoreAttempt(int questions, int right) {
    TTestScore score;
    score.Questions = questions;
    score.Right = right;
    score.Percent = Percentage(questions, right);
    score.Points = PerMille(questions, right);
    score.RequiredCount = PercentOf(TTestScore::PassingPercent, questions);
    score.PassingPoints = PerMille(questions, score.RequiredCount);
    return score;
}

TReportFigures ReportFigures(int questions, int right, int currentQuestion, bool normalEntry) {
    TReportFigures figures;
    figures.Remaining = normalEntry ? std::max(questions - currentQuestion - 1, 0) : 0;
    figures.Correct = right;
    figures.Incorrect = questions - right;
    figures.Percent = Percentage(questions, right);
    return figures;
}
