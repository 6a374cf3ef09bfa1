#include "testing/model/QuestionAnswer.h"

#include <algorithm>

#include "data/TTesting.h"

int CodeCorrectAnswer(int type, const QString& answer) {
    const QString trimmed = answer.trimmed();
    switch (type) {
    case TTesting::TrueFalse:
        return trimmed == QLatin1String("TRUE") ? 0 : 1;
    case TTesting::SingleChoice:
    case TTesting::MultipleChoice: {
        bool ok = false;
        int value = trimmed.toInt(&ok);
        return ok ? value : 0;
    }
    default:
        return 0;
    }
}

bool IsIncomplete(const QuestionAnswer& entry) {
    return !entry.Answered || (entry.QType == TTesting::MultipleChoice && entry.Given == 0);
}

std::vector<bool> TickedRows(const QuestionAnswer& entry, int rows) {
    std::vector<bool> ticked(size_t(std::max(rows, 0)), false);
    if (!entry.Seen || !entry.Answered)
        return ticked;
    auto tick = [&](int row) {
        if (row >= 0 && row < rows)
            ticked[size_t(row)] = true;
    };
    switch (entry.QType) {
    case TTesting::TrueFalse:
        tick(entry.Given);
        break;
    case TTesting::SingleChoice:
        tick(entry.Given - 1);
        break;
    case TTesting::MultipleChoice:
        for (int k = 1; k <= std::min(rows, 32); ++k)
            if (quint32(entry.Given) & (quint32(1) << (k - 1)))
                tick(k - 1);
        break;
    default:
        break;
    }
    return ticked;
}

void ResetAnswer(QuestionAnswer& entry) {
    entry.Seen = false;
    entry.Answered = false;
    entry.Marked = false;
    entry.Correct = false;
    entry.Given = 0;
}
