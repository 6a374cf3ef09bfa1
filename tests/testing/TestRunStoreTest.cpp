// The question list over a real tests store: building it, resuming it from
// a saved block (also when the test changed since), saving the attempt into
// its session row and the assignment's post-test scores, and the study
// material read from a finished attempt.
#include <QDir>
#include <QProcess>
#include <set>

#include "data/DataTestSupport.h"
#include "data/TAnswersBlock.h"
#include "data/TAssignment.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "reports/TStudyMaterialSource.h"
#include "testing/model/TAttemptStore.h"
#include "testing/model/TTestRun.h"

namespace {

class TestRunStoreTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        if (HasFatalFailure())
            return;
        Store = std::make_unique<TTesting>(Library(), Dir(), Engine);
        ASSERT_TRUE(Store->AddParent("P", "Parent", "", "", 0));
    }
    void TearDown() override {
        Store.reset(); // its tables close before the engine session ends
        DataTest::TearDown();
    }

    // A test of four questions, one of each type, under a directory of its own.
    void AddFourQuestionTest(const QString& id = "SS101T") {
        QDir().mkpath(Dir() + id);
        ASSERT_TRUE(Store->AddTest(id, "P", id + "/", id + "Q", "Safety"));
        ASSERT_EQ(Store->OpenTest(id), 0);
        Ids.clear();
        Ids << Store->AddTestQuestion(1, TTesting::TrueFalse, "TF", "Is it so?", 2, "F", "", "", "");
        Ids << Store->AddTestQuestion(2, TTesting::SingleChoice, "", "Pick one", 3, "3", "", "See page 3",
                                      "");
        for (int k = 1; k <= 3; ++k)
            Store->SetTestQuestionXtra(Ids.last(), k, QString("Choice %1").arg(k));
        Ids << Store->AddTestQuestion(3, TTesting::MultipleChoice, "MC", "Pick some", 4, "5", "", "",
                                      "ex.gif");
        for (int k = 1; k <= 4; ++k)
            Store->SetTestQuestionXtra(Ids.last(), k, QString("Option %1").arg(k));
        Ids << Store->AddTestQuestion(4, TTesting::Simulation, "Sim", "Do it", 2, "", "", "", "sim.txt");
        Store->SetTestQuestionXtra(Ids.last(), 1, "Open the menu");
        Store->SetTestQuestionXtra(Ids.last(), 2, "Click Save");
        Store->CloseTest();
        ASSERT_EQ(Store->OpenTest(id), 0);
    }

    // A built attempt with the first three questions answered (1 and 3
    // correctly), the second marked, left at the third.
    TTestRun AnsweredAttempt() {
        TTestRun run;
        EXPECT_TRUE(run.Build(*Store, false).Ready);
        run.RecordAnswer({false, true}); // false: correct
        run.MoveNext();
        run.RecordAnswer({true, false, false}); // A: wrong
        run.ToggleMark();
        run.MoveNext();
        run.RecordAnswer({true, false, true, false}); // A and C: correct
        return run;
    }

    std::unique_ptr<TTesting> Store;
    QList<int> Ids;
};

TEST_F(TestRunStoreTest, BuildsTheListFromTheOpenTestWithoutDrawing) {
    AddFourQuestionTest();
    int drawn = 0;
    Store->OnTestQuestion = [&](int, int, int, const QString&, const QString&, int, const QString&,
                                const QString&, const QString&, const QString&) { ++drawn; };
    TTestRun run;
    TPrepareOutcome outcome = run.Build(*Store, false);
    ASSERT_TRUE(outcome.Ready);
    EXPECT_TRUE(outcome.Message.isEmpty());
    EXPECT_EQ(drawn, 0) << "building draws nothing";
    ASSERT_TRUE(Store->OnTestQuestion) << "the drawing handler is given back";
    ASSERT_EQ(run.Count(), 4);
    EXPECT_TRUE(run.TestRunning);
    struct {
        int type, choices, correct;
        const char* title;
    } expected[] = {{0, 2, 1, "TF"}, {1, 3, 3, ""}, {5, 4, 5, "MC"}, {3, 2, 0, "Sim"}};
    for (int i = 0; i < 4; ++i) {
        const QuestionAnswer& e = run.QuestionList[size_t(i)];
        SCOPED_TRACE(i);
        EXPECT_EQ(e.Position, i + 1);
        EXPECT_EQ(e.QuestionId, Ids[i]);
        EXPECT_EQ(e.TestId, "SS101T    ") << "the catalogue's PRODID, 10 characters";
        EXPECT_EQ(e.QType, expected[i].type);
        EXPECT_EQ(e.ChoiceCount, expected[i].choices);
        EXPECT_EQ(e.CorrectAnswer, expected[i].correct);
        EXPECT_EQ(e.TitleText, expected[i].title);
        EXPECT_FALSE(e.Seen || e.Answered || e.Marked || e.Correct);
    }
    EXPECT_EQ(run.QuestionList[2].GraphicFile, "ex.gif");
    EXPECT_EQ(run.QuestionList[1].QuestionText, "Pick one");
}

// Run r of a source that walks through every sequence of draws: the digits of
// r in the mixed radix of the pool sizes.
TRandomSource EnumeratingSource(int run) {
    auto divisor = std::make_shared<int>(1);
    return [run, divisor](int bound) {
        int pick = (run / *divisor) % bound;
        *divisor *= bound;
        return pick;
    };
}

TEST_F(TestRunStoreTest, RandomizedAttemptsReachEveryOrder) {
    ASSERT_TRUE(Store->AddTest("T3", "P", "", "T3Q", "Three"));
    ASSERT_EQ(Store->OpenTest("T3"), 0);
    for (int position = 1; position <= 3; ++position)
        Store->AddTestQuestion(position, TTesting::TrueFalse, "", "Q", 2, "TRUE", "", "", "");
    auto order = [](const TTestRun& run) {
        std::vector<int> positions;
        for (const QuestionAnswer& e : run.QuestionList)
            positions.push_back(e.Position);
        return positions;
    };
    TTestRun plain;
    ASSERT_TRUE(plain.Prepare(*Store, QByteArray(), 0, false, EnumeratingSource(5)).Ready);
    EXPECT_EQ(order(plain), (std::vector<int>{1, 2, 3})) << "not randomized: the test's order";
    plain.TestRunning = false;

    std::set<std::vector<int>> built, reused;
    for (int r = 0; r < 6; ++r) {
        TTestRun run;
        ASSERT_TRUE(run.Prepare(*Store, QByteArray(), 0, true, EnumeratingSource(r)).Ready);
        built.insert(order(run));
        TTestRun again = plain; // an earlier attempt in the test's order
        ASSERT_TRUE(again.Prepare(*Store, QByteArray(), 0, true, EnumeratingSource(r)).Ready);
        reused.insert(order(again));
    }
    EXPECT_EQ(built.size(), 6u) << "every order of three questions, the test's own among them";
    EXPECT_EQ(reused.size(), 6u) << "a reused list too";
}

TEST_F(TestRunStoreTest, TestWithoutQuestionsIsRefused) {
    ASSERT_TRUE(Store->AddTest("EMPTY", "P", "", "EMPTYQ", "Nothing"));
    ASSERT_EQ(Store->OpenTest("EMPTY"), 0);
    TTestRun run;
    TPrepareOutcome outcome = run.Prepare(*Store, QByteArray(), 0, true);
    EXPECT_FALSE(outcome.Ready);
    EXPECT_EQ(outcome.Message, TTestRun::NoQuestionsMessage);
    EXPECT_FALSE(run.TestRunning);
    EXPECT_EQ(run.Count(), 0);

    Store->CloseTest();
    EXPECT_FALSE(run.Build(*Store, false).Ready) << "no open test";
}

TEST_F(TestRunStoreTest, ResumesFromTheSavedBlock) {
    AddFourQuestionTest();
    TTestRun first = AnsweredAttempt();
    std::optional<QByteArray> block = first.AnswersBlock(false);
    ASSERT_TRUE(block);
    ASSERT_EQ(block->size(), 20 + 4 * 28);
    EXPECT_TRUE(TTestRun::IsResumable(*block));

    // Resumed in a new run of the player, from a shuffled order.
    TTestRun resumed;
    resumed.TestEntryMode = TestEntry::ReviewIncomplete;
    std::swap(first.QuestionList[0], first.QuestionList[3]);
    first.CurrentQuestion = 1;
    TPrepareOutcome outcome =
        resumed.Prepare(*Store, *first.AnswersBlock(false), TTestSession::OpenBookSession, true);
    ASSERT_TRUE(outcome.Resumed);
    EXPECT_TRUE(outcome.Message.isEmpty());
    EXPECT_FALSE(resumed.ClosedBook);
    EXPECT_EQ(resumed.TestEntryMode, TestEntry::Normal);
    EXPECT_EQ(resumed.CurrentQuestion, 1);
    ASSERT_EQ(resumed.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        const QuestionAnswer &a = first.QuestionList[size_t(i)], &b = resumed.QuestionList[size_t(i)];
        SCOPED_TRACE(i);
        EXPECT_EQ(b.QuestionId, a.QuestionId);
        EXPECT_EQ(b.Position, a.Position);
        EXPECT_EQ(b.QType, a.QType);
        EXPECT_EQ(b.CorrectAnswer, a.CorrectAnswer);
        EXPECT_EQ(b.TitleText, a.TitleText);
        EXPECT_EQ(std::tuple(b.Seen, b.Answered, b.Marked, b.Correct, b.Given),
                  std::tuple(a.Seen, a.Answered, a.Marked, a.Correct, a.Given));
    }
    EXPECT_EQ(resumed.RightCount(), 2);

    TTestRun closed;
    ASSERT_TRUE(closed.Resume(*Store, *block, TTestSession::ClosedBookSession).Resumed);
    EXPECT_TRUE(closed.ClosedBook) << "any kind but open book is closed book";
}

TEST_F(TestRunStoreTest, BlocksThatCannotBeResumed) {
    AddFourQuestionTest();
    TTestRun attempt = AnsweredAttempt();
    QByteArray block = *attempt.AnswersBlock(false);
    const QByteArray ended = *attempt.AnswersBlock(true);
    QByteArray noRecords = block.left(20);
    noRecords[8] = 0;
    struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"ended", ended},
        {"shorter than its header says", block.left(block.size() - 1)},
        {"header only", block.left(20)},
        {"no records", noRecords},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(TTestRun::IsResumable(c.bytes));
        TTestRun run;
        TPrepareOutcome outcome = run.Prepare(*Store, c.bytes, 1, false);
        EXPECT_TRUE(outcome.Ready && !outcome.Resumed) << "a new attempt is built instead";
        EXPECT_EQ(run.Count(), 4);
        EXPECT_FALSE(run.QuestionList[0].Answered);
    }
}

TEST_F(TestRunStoreTest, ResumeLeavesOutQuestionsNoLongerInTheTest) {
    AddFourQuestionTest();
    TTestRun attempt = AnsweredAttempt();
    attempt.CurrentQuestion = 2;
    TAnswersBlock block = *TAnswersBlock::Read(*attempt.AnswersBlock(false));
    block.Records[1].QuestionId = 999;          // deleted since
    block.Records.insert(block.Records.begin(), // a record of another test
                         TAnswerRecord{Ids[0], "OTHER", true, true, true, false, 1});
    block.CurrentIndex = 3; // the third question of the attempt
    QByteArray bytes = *block.Write();

    int drawn = 0;
    Store->OnTestQuestion = [&](int, int, int, const QString&, const QString&, int, const QString&,
                                const QString&, const QString&, const QString&) { ++drawn; };
    TTestRun run;
    TPrepareOutcome outcome = run.Prepare(*Store, bytes, 1, false);
    ASSERT_TRUE(outcome.Resumed);
    EXPECT_EQ(outcome.LeftOut, 2);
    EXPECT_TRUE(outcome.Message.contains("2 of its questions")) << outcome.Message.toStdString();
    EXPECT_EQ(drawn, 0);
    ASSERT_EQ(run.Count(), 3);
    EXPECT_EQ(run.QuestionList[0].QuestionId, Ids[0]);
    EXPECT_EQ(run.QuestionList[1].QuestionId, Ids[2]);
    EXPECT_EQ(run.CurrentQuestion, 1) << "still on the question that was current";
    EXPECT_TRUE(run.QuestionList[1].Correct);

    // Nothing left of the attempt: a new one is built, and the learner told why.
    for (TAnswerRecord& r : block.Records)
        r.QuestionId += 1000;
    TTestRun fresh;
    outcome = fresh.Prepare(*Store, *block.Write(), 1, false);
    EXPECT_TRUE(outcome.Ready && !outcome.Resumed);
    EXPECT_EQ(fresh.Count(), 4);
    EXPECT_TRUE(outcome.Message.contains("5 of its questions")) << outcome.Message.toStdString();

    // A header claiming a current index past the end lands on the last.
    block = *TAnswersBlock::Read(*attempt.AnswersBlock(false));
    block.CurrentIndex = 77;
    TTestRun past;
    ASSERT_TRUE(past.Resume(*Store, *block.Write(), 1).Resumed);
    EXPECT_EQ(past.CurrentQuestion, 3);
}

TEST_F(TestRunStoreTest, EarlierListIsReusedOnlyForTheSameTest) {
    AddFourQuestionTest("SS101T");
    TTestRun run = AnsweredAttempt();
    run.TestRunning = false; // the exam analysis was left
    ASSERT_TRUE(run.Prepare(*Store, QByteArray(), 0, false).Ready);
    EXPECT_EQ(run.Count(), 4);
    EXPECT_EQ(run.RightCount(), 0) << "reused, answers cleared";
    EXPECT_EQ(run.Prepare(*Store, QByteArray(), 0, false).Ready, true) << "running: left alone";

    Store->CloseTest();
    QDir().mkpath(Dir() + "OTHER");
    ASSERT_TRUE(Store->AddTest("OTHER", "P", "OTHER/", "OTHERQ", "Other"));
    ASSERT_EQ(Store->OpenTest("OTHER"), 0);
    Store->AddTestQuestion(1, TTesting::TrueFalse, "", "Other?", 2, "TRUE", "", "", "");
    run.TestRunning = false;
    ASSERT_TRUE(run.Prepare(*Store, QByteArray(), 0, false).Ready);
    ASSERT_EQ(run.Count(), 1) << "another course's test is built, not reused";
    EXPECT_EQ(run.QuestionList[0].TestId.trimmed(), "OTHER");
}

// Reads the sessions table with python3-dbfread: "ID TYPEFLAG QTAKEN QRIGHT hex(ANSWERS)" per row.
QStringList SessionsByDbfread(const QString& dir) {
    const char* script =
        "import sys, dbfread\n"
        "for r in dbfread.DBF(sys.argv[1], encoding='latin-1'):\n"
        "    a = r['ANSWERS'] or ''\n"
        "    a = a.encode('latin-1') if isinstance(a, str) else bytes(a)\n"
        "    print(*(int(r[f] or 0) for f in ('ID', 'TYPEFLAG', 'QTAKEN', 'QRIGHT')), a.hex())\n";
    QProcess python;
    python.start("/usr/bin/python3", {"-c", script, dir + "TestSess.dbf"});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return {"python3-dbfread failed: " + QString::fromUtf8(python.readAllStandardError())};
    return QString::fromLatin1(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

TEST_F(TestRunStoreTest, SavingTheAttemptWritesTheRowAndPostTestScores) {
    AddFourQuestionTest();
    TTestSession sessions(Library(), Dir(), Engine);
    TAssignment assignments(Library(), Dir(), Engine);
    ASSERT_TRUE(assignments.AddAssignment(1, TAssignment::TestProduct, 0, "SS101T"));
    ASSERT_TRUE(assignments.GoToAssignment(1, "SS101T"));
    EXPECT_FALSE(FindSavedAttempt(assignments, sessions).Resumable()) << "no session yet";

    // A closed-book attempt left to be continued later.
    TTestRun run = AnsweredAttempt();
    run.ClosedBook = true;
    run.EnterTestScreen(QDateTime::currentDateTime());
    int first = StartAttemptSession(run, assignments, sessions);
    EXPECT_EQ(assignments.GetLastActive(), first);
    sessions.AddTestSession(99); // a lesson session becomes current meanwhile
    ASSERT_TRUE(SaveAttempt(run, false, sessions, assignments, 1, "SS101T"));
    ASSERT_TRUE(assignments.GoToAssignment(1, "SS101T"));
    TSavedAttempt saved = FindSavedAttempt(assignments, sessions);
    EXPECT_EQ(saved.SessionId, first);
    EXPECT_EQ(saved.SessionType, TTestSession::ClosedBookSession);
    EXPECT_TRUE(saved.Resumable());
    EXPECT_EQ(saved.Block, *run.AnswersBlock(false));
    EXPECT_EQ(assignments.GetLastPost(), 50);
    EXPECT_EQ(assignments.GetBestPost(), 50);

    // Resumed and ended with a lower score: the best is kept.
    TTestRun again;
    ASSERT_TRUE(again.Prepare(*Store, saved.Block, saved.SessionType, false).Resumed);
    again.EnterTestScreen(QDateTime::currentDateTime());
    int second = StartAttemptSession(again, assignments, sessions);
    again.QuestionList[0].Correct = false;
    ASSERT_TRUE(SaveAttempt(again, true, sessions, assignments, 1, "SS101T"));
    ASSERT_TRUE(assignments.GoToAssignment(1, "SS101T"));
    EXPECT_EQ(assignments.GetLastPost(), 25);
    EXPECT_EQ(assignments.GetBestPost(), 50);
    EXPECT_FALSE(FindSavedAttempt(assignments, sessions).Resumable()) << "ended";

    // An open-book attempt leaves the post-test scores alone.
    TTestRun open;
    ASSERT_TRUE(open.Prepare(*Store, QByteArray(), 0, false).Ready);
    open.RecordAnswer({false, true});
    StartAttemptSession(open, assignments, sessions);
    ASSERT_TRUE(SaveAttempt(open, true, sessions, assignments, 1, "SS101T"));
    ASSERT_TRUE(assignments.GoToAssignment(1, "SS101T"));
    EXPECT_EQ(assignments.GetLastPost(), 25);

    const QStringList rows = SessionsByDbfread(Dir());
    const QString expected[] = {
        QString("%1 2 4 2 %2").arg(first).arg(QString::fromLatin1(run.AnswersBlock(false)->toHex())),
        "2 0 0 0 ", // the lesson session, never started
        QString("%1 2 4 1 %2").arg(second).arg(QString::fromLatin1(again.AnswersBlock(true)->toHex())),
        QString("4 1 4 1 %1").arg(QString::fromLatin1(open.AnswersBlock(true)->toHex())),
    };
    ASSERT_EQ(rows.size(), 4) << rows.join('\n').toStdString();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(rows[i], expected[i]);
}

// The study material of a finished attempt, read back from its answers block
// as the reports read it: the entries not answered right, with their answers.
TEST_F(TestRunStoreTest, StudyMaterialListsWhatWasNotAnsweredCorrectly) {
    AddFourQuestionTest();
    TTestRun run = AnsweredAttempt(); // 1 and 3 correct, 2 wrong, 4 unanswered
    auto missed = [&] {
        const std::optional<TAnswersBlock> block = TAnswersBlock::Read(*run.AnswersBlock(true));
        EXPECT_TRUE(block);
        std::optional<TStudyMaterialData> data = ReadStudyMaterial(*block, "Ann Lee", *Store, "SS101T");
        EXPECT_TRUE(data);
        std::vector<std::pair<TStudyEntry, QString>> rows;
        for (const TStudyEntry& entry : data ? data->Entries : std::vector<TStudyEntry>{})
            if (!entry.Correct)
                rows.push_back({entry, CorrectAnswerText(entry, QString())});
        return rows;
    };
    auto rows = missed();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].first.Question, "Pick one");
    EXPECT_EQ(rows[0].second, "C: Choice 3");
    EXPECT_EQ(rows[0].first.References, "See page 3");
    EXPECT_EQ(rows[1].second, "Open the menu\nClick Save");

    for (QuestionAnswer& e : run.QuestionList)
        e.Correct = false;
    rows = missed();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].second, "FALSE") << "an ANSWER of \"F\"";
    EXPECT_EQ(rows[2].second, "A: Option 1\nC: Option 3");

    for (QuestionAnswer& e : run.QuestionList)
        e.Correct = true;
    EXPECT_TRUE(missed().empty());
}

} // namespace
