// altavo-report on an installation named by the registry store: the three
// reports written, refusals and failures with their exit status, and output
// files replaced only by complete new ones.
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "reports/PdfReader.h"
#include "reports/ReportInstallation.h"

namespace {

struct TRun {
    int Exit = -1;
    QString Out, Err;
};

TRun RunTool(const QStringList& args) {
    QProcess tool;
    tool.start(qEnvironmentVariable("ALTAVO_BIN") + "/altavo-report", args);
    EXPECT_TRUE(tool.waitForFinished(60000));
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromUtf8(tool.readAllStandardOutput()), QString::fromUtf8(tool.readAllStandardError())};
}

QByteArray Contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ReportToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<int> q = inst.AddTest(
            "T1", "Fire Safety",
            {{1, "Where is the exit?", "2", {"Up", "Out"}, "Map"}, {0, "Smoke rises?", "TRUE", {}, ""}});
        const int ann = inst.AddLearner("ann", "Ann", "Lee");
        const int bob = inst.AddLearner("bob", "Bob", "Ödegård");
        const int annTest = inst.AssignTest(ann, "T1", 70, 85);
        inst.AssignTest(bob, "T1", 70, 79);
        inst.AddLearner("cy", "Cy", "Young"); // no test
        wrongSession = inst.AddSession(annTest, 2, Attempt("T1", {{q[0], false}, {q[1], true}}));
        rightSession = inst.AddSession(annTest, 2, Attempt("T1", {{q[0], true}, {q[1], true}}));
        inst.Close();
    }
    QString Out(const QString& name) const { return inst.Path(name); }

    TReportInstallation inst;
    int wrongSession = 0, rightSession = 0;
};

TEST_F(ReportToolTest, WritesTheThreeReports) {
    TRun run = RunTool({"student-log", "--pdf", Out("log.pdf"), "--csv", Out("log.csv")});
    ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
    EXPECT_TRUE(
        PdfText(Out("log.pdf")).simplified().contains("bob Bob Ödegård secret Fire Safety 70% 79% cy"));
    EXPECT_EQ(Contents(Out("log.csv")),
              "User Name,Real Name,Password,Course,Last Post Test,Best Post Test\r\n"
              "ann,Ann Lee,secret,Fire Safety,70,85\r\n"
              "bob,Bob Ödegård,secret,Fire Safety,70,79\r\n"
              "cy,Cy Young,secret,,,\r\n");

    run = RunTool({"certificate", "--user", "ann", "--test", "T1", "--pdf", Out("award.pdf")});
    ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
    EXPECT_EQ(PdfPageSize(Out("award.pdf")), "792 x 612");
    EXPECT_FALSE(FindPhrase(PdfWords(Out("award.pdf")), "Ann Lee").Text.isEmpty());

    run = RunTool({"study-material", "--session", QString::number(wrongSession), "--pdf", Out("study.pdf")});
    ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
    const QString study = PdfText(Out("study.pdf"));
    EXPECT_TRUE(study.contains("Where is the exit?"));
    EXPECT_TRUE(study.contains("B: Out"));
    EXPECT_FALSE(study.contains("Smoke rises?"));
}

TEST_F(ReportToolTest, RefusalsAndFailuresExitNonZeroAndKeepTheOldFile) {
    const QString old = Out("old.pdf");
    const struct {
        QStringList args;
        int exit;
        const char* says;
    } cases[] = {
        {{"certificate", "--user", "bob", "--test", "T1", "--pdf", old}, 1, "has not passed"},
        {{"certificate", "--user", "cy", "--test", "T1", "--pdf", old}, 1, "best closed-book score: none"},
        {{"certificate", "--user", "nobody", "--test", "T1", "--pdf", old}, 1, "no user \"nobody\""},
        {{"certificate", "--user", "ann", "--test", "T9", "--pdf", old}, 1, "no test \"T9\""},
        {{"study-material", "--session", "77", "--pdf", old}, 1, "session 77 does not exist"},
        {{"study-material", "--session", QString::number(rightSession), "--pdf", old},
         1,
         "answered correctly"},
        {{"study-material", "--session", "x", "--pdf", old}, 2, "not a session number"},
        {{"certificate", "--user", "ann", "--pdf", old}, 2, "Usage"},
        {{"student-log"}, 2, "Usage"},
        {{"student-log", "--pdf", Out("missing/dir/log.pdf")}, 3, "cannot write"},
    };
    for (const auto& c : cases) {
        QFile file(old);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("previous report");
        file.close();
        const TRun run = RunTool(c.args);
        EXPECT_EQ(run.Exit, c.exit) << c.args.join(' ').toStdString() << "\n" << run.Err.toStdString();
        EXPECT_TRUE(run.Err.contains(c.says)) << run.Err.toStdString();
        EXPECT_EQ(Contents(old), "previous report") << c.args.join(' ').toStdString();
    }
    // A complete new report replaces it.
    ASSERT_EQ(RunTool({"certificate", "--user", "ann", "--test", "T1", "--pdf", old}).Exit, 0);
    EXPECT_EQ(PdfPageCount(old), 1);
}

TEST_F(ReportToolTest, MissingInstallationIsReportedWithoutCreatingTables) {
    qputenv("ALTAVO_REGISTRY", Out("no-such-registry.ini").toUtf8());
    TRun run = RunTool({"student-log", "--csv", Out("log.csv")});
    EXPECT_EQ(run.Exit, 3);
    EXPECT_TRUE(run.Err.contains("no installation")) << run.Err.toStdString();

    // A registry naming a database directory without the tables.
    qputenv("ALTAVO_REGISTRY", Out("registry.ini").toUtf8());
    for (const char* table : {"Users", "Assign", "TestSess", "gtest", "ptest"})
        QFile::remove(inst.DatabaseDir() + table + ".dbf");
    run = RunTool({"student-log", "--csv", Out("log.csv")});
    EXPECT_EQ(run.Exit, 3);
    EXPECT_TRUE(run.Err.contains("has no table Users")) << run.Err.toStdString();
    EXPECT_FALSE(QFile::exists(inst.DatabaseDir() + "Users.dbf"));
    EXPECT_FALSE(QFile::exists(Out("log.csv")));
}

} // namespace
