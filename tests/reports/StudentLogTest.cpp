// The administrator list built from the tables, the student log printed from
// it, and its CSV export read back by Python's csv module.
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "PdfReader.h"
#include "QtPrinters.h"
#include "ReportInstallation.h"
#include "reports/TStudentLog.h"

namespace {

QStringList Columns(const TAdminListRow& r) {
    return {r.UserName, r.Name, r.Password, r.Course, r.LastPost, r.BestPost};
}

class StudentLogTest : public ::testing::Test {
protected:
    // bob: two tests, one scored; Ann and ann differ only in case; cy: none;
    // dee: a test gone from the store.
    void SetUp() override {
        inst.AddTest("T1", "First aid", {});
        inst.AddTest("T2", "Fire – exits, €", {});
        const int bob = inst.AddLearner("bob", "Bob", "Smith", "b,\"q\"");
        inst.AssignTest(bob, "T2", 70, 85);
        inst.AssignTest(bob, "T1");
        inst.AddLearner("cy", "Cy", "Young");
        inst.AssignTest(inst.AddLearner("ann", "José", "Müller"), "T1", 100, 100);
        inst.AddLearner("Ann", "Ann", "Lee");
        inst.AssignTest(inst.AddLearner("dee", "Dee", "Dee"), "GONE");
    }
    QString File(const QString& name) const { return m_dir.filePath(name); }

    TReportInstallation inst;
    QTemporaryDir m_dir;
};

TEST_F(StudentLogTest, AdminListHasOneRowPerTestAssignmentSortedByUserName) {
    bool borrowedBack = false;
    inst.Assignments().OnListStart = [&] { borrowedBack = true; };
    const auto rows = BuildAdminList(inst.Users(), inst.Assignments(), inst.Testing());
    std::vector<QStringList> got;
    for (const auto& r : rows)
        got.push_back(Columns(r));
    const std::vector<QStringList> expected{
        {"Ann", "Ann Lee", "secret", "", "", ""},
        {"ann", "José Müller", "secret", "First aid", "100%", "100%"},
        {"bob", "Bob Smith", "b,\"q\"", "Fire – exits, €", "70%", "85%"},
        {"bob", "Bob Smith", "b,\"q\"", "First aid", "", ""},
        {"cy", "Cy Young", "secret", "", "", ""},
        {"dee", "Dee Dee", "secret", "", "", ""},
    };
    EXPECT_EQ(got, expected);
    EXPECT_FALSE(rows[0].HasAssignment);
    EXPECT_TRUE(rows[5].HasAssignment) << "a test gone from the store still has its row";

    // The list events given back to their owner.
    inst.Assignments().ListAssignmentsByTypes(1, TAssignment::TestProduct);
    EXPECT_TRUE(borrowedBack);
}

TEST_F(StudentLogTest, PdfShowsTheRowsWithBlankColumnsForUsersWithoutTests) {
    const auto rows = BuildAdminList(inst.Users(), inst.Assignments(), inst.Testing());
    TStudentLog log(rows);
    log.Report().Clock = [] { return QDateTime(QDate(2026, 12, 1), QTime(9, 0, 0)); };
    ASSERT_TRUE(WritePdf(log.Run(), File("log.pdf")));
    EXPECT_EQ(PdfPageCount(File("log.pdf")), 1);
    EXPECT_EQ(PdfPageSize(File("log.pdf")), "612 x 792");

    const QStringList lines = PdfText(File("log.pdf")).split('\n', Qt::SkipEmptyParts);
    const QStringList expected{"Quenvik Student Log 12/1/2026 9:00:00 AM",
                               "UserName Name Password Course Last PostTest Best PostTest",
                               "Ann Ann Lee secret",
                               "ann José Müller secret First aid 100% 100%",
                               "bob Bob Smith b,\"q\" Fire – exits, € 70% 85%",
                               "bob Bob Smith b,\"q\" First aid",
                               "cy Cy Young secret",
                               "dee Dee Dee secret"};
    QStringList simplified;
    for (const QString& line : lines)
        if (!line.simplified().isEmpty())
            simplified << line.simplified();
    EXPECT_EQ(simplified, expected);

    // Scores centred on their columns (x 561 and 659 in 1/96 inch, plus the margin).
    const auto words = PdfWords(File("log.pdf"));
    const TPdfWord last = FindPhrase(words, "70%");
    EXPECT_NEAR(last.CentreX(), (48 + 561) * 0.75, 1.5);
    EXPECT_NEAR(FindPhrase(words, "85%").CentreX(), (48 + 659) * 0.75, 1.5);
}

TEST_F(StudentLogTest, EmptyListGivesNoStudentLog) {
    TReportInstallation empty;
    const auto rows = BuildAdminList(empty.Users(), empty.Assignments(), empty.Testing());
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(SaveStudentLogPdf(File("none.pdf"), rows));
    EXPECT_FALSE(QFile::exists(File("none.pdf")));
}

TEST_F(StudentLogTest, CsvReadsBackWithPythonsCsvModule) {
    const auto rows = BuildAdminList(inst.Users(), inst.Assignments(), inst.Testing());
    ASSERT_TRUE(SaveStudentLogCsv(File("log.csv"), rows));
    QProcess python;
    python.start("python3", {"-c",
                             "import csv, json, sys\n"
                             "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                             "    print(json.dumps(list(csv.reader(f))))\n",
                             File("log.csv")});
    ASSERT_TRUE(python.waitForFinished(30000));
    const QJsonArray table = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    ASSERT_EQ(table.size(), qsizetype(rows.size()) + 1) << python.readAllStandardError().toStdString();
    EXPECT_EQ(
        table[0].toVariant().toStringList(),
        QStringList({"User Name", "Real Name", "Password", "Course", "Last Post Test", "Best Post Test"}));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QStringList expected = Columns(rows[i]);
        expected[4].remove('%');
        expected[5].remove('%');
        EXPECT_EQ(table[qsizetype(i) + 1].toVariant().toStringList(), expected);
    }
}

} // namespace
