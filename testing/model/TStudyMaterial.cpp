#include "testing/model/TStudyMaterial.h"

#include <utility>

#include "data/TTesting.h"

namespace {
QString ChoiceLine(TTesting& store, int choice) {
    return QString(QChar(char16_t('A' + choice - 1))) + ": " + store.GetTestQuestionAnswerText(choice);
}
} // namespace

QStringList CorrectAnswerLines(TTesting& store) {
    const TTestQuestion& q = store.CurrentQuestion();
    const QString answer = store.GetTestQuestionCorrectAnswer();
    QStringList lines;
    switch (q.Type) {
    case TTesting::TrueFalse:
        lines << (CodeCorrectAnswer(q.Type, answer) == 0 ? "TRUE" : "FALSE");
        break;
    case TTesting::SingleChoice:
        lines << ChoiceLine(store, CodeCorrectAnswer(q.Type, answer));
        break;
    case TTesting::Simulation:
        for (int k = 1; k <= q.NumAnswer; ++k)
            lines << store.GetTestQuestionAnswerText(k);
        break;
    case TTesting::MultipleChoice: {
        const quint32 mask = quint32(CodeCorrectAnswer(q.Type, answer));
        for (int k = 1; k <= std::min(q.NumAnswer, 32); ++k)
            if (mask & (quint32(1) << (k - 1)))
                lines << ChoiceLine(store, k);
        break;
    }
    default:
        break;
    }
    return lines;
}

std::vector<TStudyRow> StudyMaterialRows(const std::vector<QuestionAnswer>& entries, TTesting& store) {
    std::vector<TStudyRow> rows;
    // The rows are read without drawing them on the test screen.
    auto handler = std::exchange(store.OnTestQuestion, {});
    for (const QuestionAnswer& entry : entries) {
        if (entry.Correct || store.GoToTestQuestionId(entry.QuestionId) != 0)
            continue;
        rows.push_back(
            {store.CurrentQuestion().Question, CorrectAnswerLines(store), store.CurrentQuestion().Ref});
    }
    store.OnTestQuestion = std::move(handler);
    return rows;
}
