#pragma once
// The benchmark's report: one row per figure with its goal, the median of its
// runs, the smallest and largest run, and whether the goal is met.
#include <QString>
#include <functional>
#include <vector>

double Median(std::vector<double> values);

struct TFigureRow {
    QString Figure;
    QString Goal; // empty: a figure without a goal
    QString Unit; // "ms", "MB", "x"
    std::vector<double> Samples;
    // Whether the median meets the goal; unset for a figure without a goal.
    std::function<bool(double median)> Meets;
    QString Note; // shown instead of figures when the row could not be measured
};

class TFigureTable {
public:
    void Add(TFigureRow row) { m_rows.push_back(std::move(row)); }
    // Prints the table; true when every goal that was measured is met.
    bool Print() const;
    int Failed() const;

private:
    std::vector<TFigureRow> m_rows;
};
