// The study material: the correct answer coded by question type, only wrong
// and unanswered questions in the order put, and its input read from a saved
// answers block and the test's tables.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "PdfReader.h"
#include "QtPrinters.h"
#include "ReportInstallation.h"
#include "reports/TStudyMaterialSource.h"

namespace {

TStudyEntry Entry(int type, const QString& answer, const QStringList& choices, bool correct = false) {
    TStudyEntry e;
    e.Question = "Q";
    e.Type = type;
    e.Answer = answer;
    e.Choices = choices;
    e.Correct = correct;
    return e;
}

TEST(StudyMaterialTest, CorrectAnswerIsCodedByQuestionType) {
    const QStringList abcd{"First", "Second", "Third", "Fourth"};
    const struct {
        TStudyEntry entry;
        QString expected;
    } cases[] = {
        {Entry(0, "TRUE", {}), "TRUE"},
        {Entry(0, "FALSE", {}), "FALSE"},
        {Entry(0, "true", {}), "FALSE"}, // anything but "TRUE"
        {Entry(0, "", {}), "FALSE"},
        {Entry(0, " TRUE", {}), "TRUE"}, // as the test run scores it
        {Entry(1, "3", abcd), "C: Third"},
        {Entry(1, "0", abcd), ""}, // names no choice: no letter before "A"
        {Entry(5, "5", abcd), "A: First\nC: Third"},
        {Entry(5, "16", abcd), ""}, // only choices the question has
        {Entry(3, "", {"Open the menu", "Choose Save"}), "Open the menu\nChoose Save"},
        {Entry(7, "1", abcd), "previous answer"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CorrectAnswerText(c.entry, "previous answer"), c.expected)
            << "type " << c.entry.Type << ", answer " << c.entry.Answer.toStdString();
}

class StudyMaterialPdfTest : public ::testing::Test {
protected:
    QString Pdf(const TStudyMaterialData& data) {
        const QString path = m_dir.filePath("study.pdf");
        QFile::remove(path);
        EXPECT_TRUE(SaveStudyMaterialPdf(path, data) || !QFile::exists(path));
        return path;
    }
    QTemporaryDir m_dir;
};

TEST_F(StudyMaterialPdfTest, AllAnswersRightGiveNoOutput) {
    TStudyMaterialData data{"Ann Lee", "Test", {Entry(0, "TRUE", {}, true), Entry(1, "1", {"A"}, true)}};
    QString error;
    EXPECT_FALSE(SaveStudyMaterialPdf(m_dir.filePath("none.pdf"), data, &error));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("none.pdf")));
}

TEST_F(StudyMaterialPdfTest, PrintsWrongAndUnansweredQuestionsInOrder) {
    TStudyMaterialData data{"Zoë Ångström", "Safety – Level 2 (€)", {}};
    data.Entries = {Entry(1, "2", {"Red", "Green"}), Entry(0, "TRUE", {}, true),
                    Entry(5, "5", {"X", "Y", "Z"}), Entry(9, "", {}), Entry(0, "FALSE", {})};
    data.Entries[0].Question = "Which light means go?";
    data.Entries[0].References = "Signals, page 4";
    data.Entries[1].Question = "Answered right";
    data.Entries[2].Question = "Pick two";
    data.Entries[3].Question = "Of an unknown kind";
    data.Entries[4].Question = "Is it so?";
    TStudyMaterial report(data);
    report.Report().Clock = [] { return QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9)); };
    const QString path = m_dir.filePath("study.pdf");
    ASSERT_TRUE(WritePdf(report.Run(), path));

    const QString text = PdfText(path);
    EXPECT_FALSE(text.contains("Answered right"));
    QStringList order{"Quenvik", "Study Material for:", "Zoë Ångström", "3/7/2026 2:05:09 PM",
                      "Safety – Level 2 (€)", "Which light means go?", "B: Green", "Signals, page 4",
                      "Pick two", "A: X", "C: Z", "Of an unknown kind",
                      // the unknown type repeats the previous row's two lines
                      "A: X", "C: Z", "Is it so?", "FALSE"};
    qsizetype at = 0;
    for (const QString& piece : order) {
        const qsizetype found = text.indexOf(piece, at);
        ASSERT_GE(found, 0) << piece.toStdString() << " after offset " << at << " in\n" << text.toStdString();
        at = found + piece.size();
    }

    // The title band's layout: "Quenvik" centred across the printable width,
    // the date right-aligned on its box's right edge (x 48 + 460 + 214 in 1/96 inch).
    const auto words = PdfWords(path);
    const TPdfWord quenvik = FindPhrase(words, "Quenvik");
    EXPECT_NEAR(quenvik.CentreX(), 306, 2);
    EXPECT_NEAR(FindPhrase(words, "2:05:09 PM").XMax, (48 + 460 + 214) * 0.75, 2);
}

class StudyMaterialSourceTest : public ::testing::Test {
protected:
    TReportInstallation inst;
};

TEST_F(StudyMaterialSourceTest, ReadsTheAttemptThroughTheTables) {
    const int ann = inst.AddLearner("ann", "Ann", "Lee");
    const std::vector<int> q =
        inst.AddTest("T1", "First aid",
                     {{TTesting::TrueFalse, "Is water wet?", "TRUE", {}, "Book 1"},
                      {TTesting::SingleChoice, "Pick", "2", {"One", "Two"}, "Book 2"},
                      {TTesting::MultipleChoice, "Many", "3", {"A1", "B1", "C1"}, ""}});
    const int assignment = inst.AssignTest(ann, "T1");
    // Put in another order than the test's, one question deleted since.
    const TAnswersBlock block = Attempt("T1", {{q[2], false}, {q[0], true}, {999, false}, {q[1], false}});
    const int session = inst.AddSession(assignment, TTestSession::ClosedBookSession, block);

    QString error;
    const auto data = ReadSessionStudyMaterial(session, inst.Sessions(), inst.Assignments(), inst.Users(),
                                               inst.Testing(), &error);
    ASSERT_TRUE(data) << error.toStdString();
    EXPECT_EQ(data->Candidate, "Ann Lee");
    EXPECT_EQ(data->TestTitle, "First aid");
    ASSERT_EQ(data->Entries.size(), 3u);
    EXPECT_EQ(data->Entries[0].Question, "Many");
    EXPECT_EQ(data->Entries[0].Choices, QStringList({"A1", "B1", "C1"}));
    EXPECT_EQ(CorrectAnswerText(data->Entries[0], ""), "A: A1\nB: B1");
    EXPECT_TRUE(data->Entries[1].Correct);
    EXPECT_EQ(data->Entries[1].References, "Book 1");
    EXPECT_EQ(CorrectAnswerText(data->Entries[2], ""), "B: Two");
    EXPECT_FALSE(inst.Testing().IsOpen());
}

TEST_F(StudyMaterialSourceTest, RefusesSessionsWithoutAnAttempt) {
    const int ann = inst.AddLearner("ann", "Ann", "Lee");
    const std::vector<int> q = inst.AddTest("T1", "First aid", {{TTesting::TrueFalse, "Q", "TRUE", {}, ""}});
    const int assignment = inst.AssignTest(ann, "T1");
    const int lesson =
        inst.AddSession(assignment, TTestSession::LessonSession, Attempt("T1", {{q[0], false}}));
    const int empty = inst.Sessions().AddTestSession(assignment);
    inst.Sessions().StartTest(TTestSession::OpenBookSession, 1);
    const int orphan = inst.AddSession(4711, TTestSession::OpenBookSession, Attempt("T1", {{q[0], false}}));
    const struct {
        int session;
        const char* error;
    } cases[] = {{99, "does not exist"},
                 {lesson, "not a test attempt"},
                 {empty, "no readable answers"},
                 {orphan, "assignment 4711"}};
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(ReadSessionStudyMaterial(c.session, inst.Sessions(), inst.Assignments(), inst.Users(),
                                              inst.Testing(), &error));
        EXPECT_TRUE(error.contains(c.error)) << error.toStdString();
    }
}

} // namespace
