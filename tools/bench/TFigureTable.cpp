#include "TFigureTable.h"

#include <algorithm>
#include <cstdio>

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

namespace {

QString Value(double v, const QString& unit) {
    return QString::number(v, 'f', unit == "x" ? 2 : 1) + (unit == "x" ? "x" : " " + unit);
}

QString Verdict(const TFigureRow& row) {
    if (row.Samples.empty())
        return "NOT MEASURED";
    if (!row.Meets)
        return "-";
    return row.Meets(Median(row.Samples)) ? "ok" : "MISSED";
}

} // namespace

int TFigureTable::Failed() const {
    return int(std::count_if(m_rows.begin(), m_rows.end(), [](const TFigureRow& row) {
        const QString v = Verdict(row);
        return v == "MISSED" || v == "NOT MEASURED";
    }));
}

bool TFigureTable::Print() const {
    std::printf("%-46s %-16s %12s %12s %12s  %s\n", "figure", "goal", "median", "min", "max", "verdict");
    std::printf("%s\n", QString(120, '-').toLatin1().constData());
    for (const TFigureRow& row : m_rows) {
        const QString goal = row.Goal.isEmpty() ? QStringLiteral("-") : row.Goal;
        if (row.Samples.empty()) {
            std::printf("%-46s %-16s %12s %12s %12s  %s  %s\n", qPrintable(row.Figure), qPrintable(goal), "-",
                        "-", "-", qPrintable(Verdict(row)), qPrintable(row.Note));
            continue;
        }
        const auto [lo, hi] = std::minmax_element(row.Samples.begin(), row.Samples.end());
        std::printf("%-46s %-16s %12s %12s %12s  %s\n", qPrintable(row.Figure), qPrintable(goal),
                    qPrintable(Value(Median(row.Samples), row.Unit)), qPrintable(Value(*lo, row.Unit)),
                    qPrintable(Value(*hi, row.Unit)), qPrintable(Verdict(row)));
    }
    return Failed() == 0;
}
