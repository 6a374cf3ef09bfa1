#include "testing/model/TItemReview.h"

#include "data/TTesting.h"

namespace {
const QString IncompleteText = QStringLiteral("Incomplete");

QChar ChoiceLetter(int choice) {
    return QChar(char16_t('A' + choice - 1));
}
} // namespace

QString ItemReviewPrefix(int index) {
    return QString::number(index + 1) + (index < 9 ? ":   " : ": ");
}

QString ItemReviewAnswerText(const QuestionAnswer& entry) {
    if (!entry.Seen || !entry.Answered)
        return IncompleteText;
    switch (entry.QType) {
    case TTesting::TrueFalse:
        return entry.Given != 0 ? "False" : "True";
    case TTesting::SingleChoice:
        return ChoiceLetter(entry.Given);
    case TTesting::Simulation:
        return "Demonstrate";
    case TTesting::MultipleChoice: {
        QString letters;
        // Only the 32 bits of the answer can be set.
        for (int k = 1; k <= std::min(entry.ChoiceCount, 32); ++k)
            if (quint32(entry.Given) & (quint32(1) << (k - 1)))
                letters += ChoiceLetter(k);
        return letters.isEmpty() ? IncompleteText : letters;
    }
    default:
        return QString();
    }
}

TItemReviewLine ItemReviewLine(const QuestionAnswer& entry, int index, bool closedBook) {
    TItemReviewLine line;
    QString answer = ItemReviewAnswerText(entry);
    line.Text = ItemReviewPrefix(index) + answer;
    if (answer == IncompleteText)
        line.Flags |= ItemReviewFlag::Incomplete;
    line.Flags |= entry.Correct ? ItemReviewFlag::Correct : ItemReviewFlag::NotCorrect;
    if (!closedBook)
        line.Flags |= ItemReviewFlag::OpenBook;
    if (entry.Marked)
        line.Flags |= ItemReviewFlag::Marked;
    return line;
}
