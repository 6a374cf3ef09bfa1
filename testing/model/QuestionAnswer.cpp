#include "testing/model/QuestionAnswer.h"

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

void ResetAnswer(QuestionAnswer& entry) {
    entry.Seen = false;
    entry.Answered = false;
    entry.Marked = false;
    entry.Correct = false;
    entry.Given = 0;
}
