#include "testing/model/TTestRun.h"

#include <algorithm>
#include <utility>

#include "data/TAnswersBlock.h"
#include "data/TTesting.h"

const QString TTestRun::NoQuestionsMessage =
    QStringLiteral("This test has no questions and cannot be taken.");

namespace {

// Reading questions while the list is made must not draw them: the drawing
// handler is held back until the guard ends.
class TQuietStore {
public:
    explicit TQuietStore(TTesting& store)
        : m_store(store), m_handler(std::exchange(store.OnTestQuestion, {})) {}
    ~TQuietStore() { m_store.OnTestQuestion = std::move(m_handler); }
    TQuietStore(const TQuietStore&) = delete;
    TQuietStore& operator=(const TQuietStore&) = delete;

private:
    TTesting& m_store;
    decltype(TTesting::OnTestQuestion) m_handler;
};

// The identifier every entry of the open test carries: its PRODID as the
// catalogue stores it, blank-padded to the field's 10 characters.
QString OpenTestId(const TTesting& store) {
    return store.OpenTestId().trimmed().leftJustified(10);
}

// The question current in the store, as an entry with nothing recorded.
QuestionAnswer EntryFromStore(TTesting& store, const QString& testId) {
    const TTestQuestion& q = store.CurrentQuestion();
    QuestionAnswer entry;
    entry.Position = q.Num;
    entry.QuestionId = q.ID;
    entry.TestId = testId;
    entry.ChoiceCount = q.NumAnswer;
    entry.QType = q.Type;
    entry.CorrectAnswer = CodeCorrectAnswer(q.Type, store.GetTestQuestionCorrectAnswer());
    entry.TitleText = q.Title;
    entry.QuestionText = q.Question;
    entry.GraphicFile = q.Graphic;
    return entry;
}

QString LeftOutMessage(int leftOut, bool resumed) {
    if (resumed)
        return QString("The test has changed since this attempt was saved: %1 of its questions no longer "
                       "exist and were left out.")
            .arg(leftOut);
    return QString("%1 questions of this test could not be read and were left out.").arg(leftOut);
}

} // namespace

int TTestRun::ScreenForTestButton(const QByteArray& savedBlock) const {
    if (TestRunning)
        return ContinueLater ? 11 : 8;
    return IsResumable(savedBlock) ? 7 : 8;
}

bool TTestRun::LeaveTest(bool continueLater) {
    ContinueLater = continueLater;
    if (continueLater)
        return false;
    TestRunning = false;
    return true;
}

void TTestRun::AnswerContinue(bool yes) {
    ContinueLater = false;
    if (yes)
        TestEntryMode = TestEntry::Continuing;
    else
        TestRunning = false;
}

std::optional<bool> TTestRun::FinishedFlagAtShutdown() const {
    if (!TestRunning)
        return std::nullopt;
    return !ContinueLater;
}

bool TTestRun::IsResumable(const QByteArray& block) {
    std::optional<TAnswersBlock> read = TAnswersBlock::Read(block);
    return read && !read->Finished && !read->Records.empty();
}

TPrepareOutcome TTestRun::Prepare(TTesting& store, const QByteArray& savedBlock, int savedSessionType,
                                  bool randomize, const TRandomSource& random) {
    if (TestRunning)
        return {.Ready = true};
    TPrepareOutcome resumed = Resume(store, savedBlock, savedSessionType);
    if (resumed.Ready)
        return resumed;
    TPrepareOutcome outcome;
    if (HoldsTest(OpenTestId(store))) {
        Reuse(randomize, random);
        outcome.Ready = true;
    } else {
        outcome = Build(store, randomize, random);
    }
    // A saved attempt of which nothing was left is worth saying before the new one.
    if (!resumed.Message.isEmpty())
        outcome.Message =
            outcome.Message.isEmpty() ? resumed.Message : resumed.Message + "\n" + outcome.Message;
    return outcome;
}

TPrepareOutcome TTestRun::Build(TTesting& store, bool randomize, const TRandomSource& random) {
    TPrepareOutcome outcome;
    const int n = store.IsTestOpen() ? store.NumTestQ() : 0;
    std::vector<QuestionAnswer> entries;
    entries.reserve(size_t(std::max(n, 0)));
    {
        TQuietStore quiet(store);
        const QString testId = OpenTestId(store);
        for (int position = 1; position <= n; ++position) {
            if (store.GoToTestQuestion(position) != 0) {
                ++outcome.LeftOut;
                continue;
            }
            entries.push_back(EntryFromStore(store, testId));
            entries.back().Position = position;
        }
    }
    if (entries.empty()) {
        outcome.Message = NoQuestionsMessage;
        return outcome;
    }
    if (outcome.LeftOut > 0)
        outcome.Message = LeftOutMessage(outcome.LeftOut, false);
    if (randomize)
        ShuffleEntries(entries, random);
    QuestionList = std::move(entries);
    StartList();
    outcome.Ready = true;
    return outcome;
}

TPrepareOutcome TTestRun::Resume(TTesting& store, const QByteArray& block, int sessionType) {
    TPrepareOutcome outcome;
    std::optional<TAnswersBlock> read = TAnswersBlock::Read(block);
    if (!read || read->Finished || read->Records.empty() || !store.IsTestOpen())
        return outcome;
    const QString testId = OpenTestId(store);
    const QString storedId = testId.left(TAnswersBlock::MaxTestIdLength).trimmed();
    std::vector<QuestionAnswer> entries;
    entries.reserve(read->Records.size());
    int current = 0; // the saved current index, counted over the entries kept
    {
        TQuietStore quiet(store);
        for (size_t i = 0; i < read->Records.size(); ++i) {
            const TAnswerRecord& record = read->Records[i];
            // A record of another test, or of a question deleted since, is
            // not drawn from whatever the store last read.
            if (record.TestId.trimmed() != storedId || store.GoToTestQuestionId(record.QuestionId) != 0) {
                ++outcome.LeftOut;
                continue;
            }
            if (qsizetype(i) < read->CurrentIndex)
                ++current;
            QuestionAnswer entry = EntryFromStore(store, testId);
            entry.Correct = record.Correct;
            entry.Seen = record.Seen;
            entry.Answered = record.Answered;
            entry.Marked = record.Marked;
            entry.Given = record.Answer;
            entries.push_back(std::move(entry));
        }
    }
    if (outcome.LeftOut > 0)
        outcome.Message = LeftOutMessage(outcome.LeftOut, true);
    if (entries.empty())
        return outcome;
    QuestionList = std::move(entries);
    CurrentQuestion = std::clamp(current, 0, Count() - 1);
    ClosedBook = sessionType != 1;
    TestEntryMode = TestEntry::Normal;
    SessionId = 0;
    TestRunning = true;
    outcome.Ready = true;
    outcome.Resumed = true;
    return outcome;
}

void TTestRun::Reuse(bool randomize, const TRandomSource& random) {
    for (QuestionAnswer& entry : QuestionList)
        ResetAnswer(entry);
    if (randomize)
        ShuffleEntries(QuestionList, random);
    StartList();
}

bool TTestRun::HoldsTest(const QString& testId) const {
    return !QuestionList.empty() && std::all_of(QuestionList.begin(), QuestionList.end(), [&](const auto& e) {
        return e.TestId.trimmed() == testId.trimmed();
    });
}

void TTestRun::StartList() {
    CurrentQuestion = 0;
    SessionId = 0;
    TestRunning = true;
}

TEntryActions TTestRun::EnterTestScreen(const QDateTime& now) {
    TEntryActions actions;
    switch (TestEntryMode) {
    case TestEntry::Normal:
        actions.StartSession = true;
        TestStart = now;
        if (ClosedBook) {
            TimeLimit = TimeLimitText(Count());
            actions.StartCountdown = true;
        }
        break;
    case TestEntry::ReviewIncomplete:
        actions.ShowItemReview = true;
        break;
    case TestEntry::Continuing:
        TestEntryMode = TestEntry::Normal;
        if (ClosedBook) {
            // The whole limit again.
            TestStart = now;
            if (TimeLimit.isEmpty())
                TimeLimit = TimeLimitText(Count());
            actions.StartCountdown = true;
        }
        break;
    case TestEntry::ReviewOne:
        TestEntryMode = TestEntry::Normal;
        actions.ShowItemReview = true;
        break;
    }
    return actions;
}

QuestionAnswer* TTestRun::Current() {
    if (CurrentQuestion < 0 || CurrentQuestion >= Count())
        return nullptr;
    return &QuestionList[size_t(CurrentQuestion)];
}

const QuestionAnswer* TTestRun::Current() const {
    return const_cast<TTestRun*>(this)->Current();
}

QString TTestRun::QuestionNumberText() const {
    return QString("Question %1 of %2").arg(CurrentQuestion + 1).arg(Count());
}

TRecordResult TTestRun::RecordAnswer(const std::vector<bool>& ticked) {
    QuestionAnswer* entry = Current();
    if (!entry)
        return {};
    entry->Seen = true;
    auto isTicked = [&](int row) { return row >= 0 && size_t(row) < ticked.size() && ticked[size_t(row)]; };
    switch (entry->QType) {
    case TTesting::TrueFalse:
        entry->Answered = false;
        for (int row : {0, 1})
            if (isTicked(row)) {
                entry->Answered = true;
                entry->Given = row;
            }
        break;
    case TTesting::SingleChoice:
        for (int k = 1; k <= entry->ChoiceCount; ++k)
            if (isTicked(k - 1)) {
                entry->Answered = true;
                entry->Given = k;
                break;
            }
        break;
    case TTesting::MultipleChoice: {
        // The answer holds 32 choices; rows beyond cannot be recorded.
        quint32 mask = 0;
        for (int k = 1; k <= std::min(entry->ChoiceCount, 32); ++k)
            if (isTicked(k - 1))
                mask |= quint32(1) << (k - 1);
        // Nothing ticked keeps an earlier answer.
        if (mask != 0) {
            entry->Answered = true;
            entry->Given = int(mask);
        }
        break;
    }
    default:
        break;
    }
    if (entry->Answered)
        entry->Correct = entry->Given == entry->CorrectAnswer;
    return {entry->Answered, entry->Answered && entry->Correct};
}

void TTestRun::RecordSimulation(bool right) {
    QuestionAnswer* entry = Current();
    if (!entry)
        return;
    entry->Answered = true;
    entry->CorrectAnswer = 0;
    entry->Given = right ? 0 : 1;
    entry->Correct = right;
}

bool TTestRun::ToggleMark() {
    QuestionAnswer* entry = Current();
    if (!entry)
        return false;
    entry->Marked = !entry->Marked;
    return entry->Marked;
}

TNextStep TTestRun::MoveNext() {
    const int last = Count() - 1;
    const int old = CurrentQuestion;
    ++CurrentQuestion;
    if (TestEntryMode == TestEntry::ReviewIncomplete) {
        int next = NextIncompleteFrom(CurrentQuestion);
        if (next >= 0) {
            CurrentQuestion = next;
            return TNextStep::ShowQuestion;
        }
        CurrentQuestion = last;
        return TNextStep::ShowItemReview;
    }
    if (old >= last) {
        CurrentQuestion = last;
        return TNextStep::ShowItemReview;
    }
    return TNextStep::ShowQuestion;
}

void TTestRun::MovePrevious() {
    if (TestEntryMode == TestEntry::ReviewIncomplete) {
        for (int i = std::min(CurrentQuestion, Count()) - 1; i >= 0; --i)
            if (IsIncomplete(QuestionList[size_t(i)])) {
                CurrentQuestion = i;
                return;
            }
        return;
    }
    if (CurrentQuestion > 0)
        --CurrentQuestion;
}

bool TTestRun::PreviousVisible() const {
    if (TestEntryMode == TestEntry::ReviewIncomplete) {
        for (int i = 0; i < std::min(CurrentQuestion, Count()); ++i)
            if (IsIncomplete(QuestionList[size_t(i)]))
                return true;
        return false;
    }
    return CurrentQuestion != 0;
}

std::vector<TItemReviewLine> TTestRun::ItemReviewLines() const {
    std::vector<TItemReviewLine> lines;
    lines.reserve(QuestionList.size());
    for (int i = 0; i < Count(); ++i)
        lines.push_back(ItemReviewLine(QuestionList[size_t(i)], i, ClosedBook));
    return lines;
}

void TTestRun::ReviewOne(int number) {
    TestEntryMode = TestEntry::ReviewOne;
    CurrentQuestion = std::clamp(number, 1, std::max(Count(), 1)) - 1;
}

bool TTestRun::ReviewIncomplete() {
    int first = NextIncompleteFrom(0);
    if (first < 0)
        return false;
    TestEntryMode = TestEntry::ReviewIncomplete;
    CurrentQuestion = first;
    return true;
}

int TTestRun::NextIncompleteFrom(int from) const {
    for (int i = std::max(from, 0); i < Count(); ++i)
        if (IsIncomplete(QuestionList[size_t(i)]))
            return i;
    return -1;
}

int TTestRun::RightCount() const {
    return int(
        std::count_if(QuestionList.begin(), QuestionList.end(), [](const auto& e) { return e.Correct; }));
}

TReportFigures TTestRun::Figures() const {
    return ReportFigures(Count(), RightCount(), CurrentQuestion, TestEntryMode == TestEntry::Normal);
}

TCountdown TTestRun::Countdown(const QDateTime& now) const {
    return CountdownAt(TestStart, now, TimeLimitSeconds(TimeLimit));
}

std::optional<QByteArray> TTestRun::AnswersBlock(bool finished) const {
    TAnswersBlock block;
    block.Finished = finished;
    block.CurrentIndex = finished ? -1 : CurrentQuestion;
    block.Records.reserve(QuestionList.size());
    for (const QuestionAnswer& entry : QuestionList) {
        TAnswerRecord record;
        record.QuestionId = entry.QuestionId;
        record.TestId = entry.TestId;
        record.Correct = entry.Correct;
        record.Seen = entry.Seen;
        record.Answered = entry.Answered;
        record.Marked = entry.Marked;
        record.Answer = entry.Given;
        block.Records.push_back(std::move(record));
    }
    return block.Write();
}
