// Independent readers agree with what our table objects and altavo-course
// wrote: after a scripted session, python3-dbfread and Perl's XBase read the
// same values, memos byte for byte.
#include <QDate>
#include <QFileInfo>
#include <QtEndian>

#include "CourseToolSupport.h"
#include "data/TAnswersBlock.h"
#include "data/TAssignment.h"
#include "data/TTestSession.h"
#include "data/TTextCodec.h"
#include "data/TUser.h"

namespace {

QString Hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex());
}

QString Text(const QString& text) {
    return "s:" + Hex(*TTextCodec().Encode(text));
}

QByteArray LengthPrefixed(const QString& file) {
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    QByteArray data = f.readAll();
    QByteArray prefix(4, '\0');
    qToLittleEndian<quint32>(quint32(data.size()), prefix.data());
    return prefix + data;
}

QStringList ReadWith(const QString& program, const QString& script, const QString& dir,
                     const QStringList& tables) {
    QProcess process;
    process.setWorkingDirectory(dir);
    process.start(program, QStringList{script} + tables);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromLatin1(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

TEST_F(CourseToolTest, IndependentReadersAgreeWithWhatWeWrote) {
    for (const char* program : {"/usr/bin/python3", "/usr/bin/perl"})
        if (!QFileInfo::exists(program))
            GTEST_SKIP() << program << " is not installed (scripts/install-deps.sh installs it)";

    TAnswersBlock block;
    block.Finished = true;
    block.Records = {{1, "SS101T", true, true, true, false, 0},
                     {2, "SS101T", false, true, true, true, 3},
                     {3, "SS101T", true, true, true, false, 5},
                     {4, "SS101T", true, true, true, false, 0}};
    const QByteArray answers = *block.Write();
    {
        TUser users(EngineLibrary(), Database(), Engine);
        UserInfoStruct ann;
        ann.UserName = "Ann";
        ann.Password = "Pass word€";
        ann.City = "Zürich";
        ann.Company = "Quenvik";
        ASSERT_EQ(users.AddUser(ann), 1);
        UserInfoStruct bob;
        bob.UserName = "Bob";
        bob.Password = "b";
        ASSERT_EQ(users.AddUser(bob), 2);
        ann.City = "Genève";
        ASSERT_TRUE(users.UpdateUser(ann));
        users.SetStatus(1, 1, 0);
        users.SetLastIp(1, "10.0.0.7");
    }
    TToolRun run = Install(CaseDir("spreadsheets") + "course.json");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    {
        TAssignment assign(EngineLibrary(), Database(), Engine);
        ASSERT_TRUE(assign.AddAssignment(1, 258, 0, "SS101"));
        ASSERT_TRUE(assign.AddAssignment(1, 257, 0, "SS101T"));
        ASSERT_TRUE(assign.GoToAssignment(1, "SS101"));
        assign.SetBookmarks(QByteArray("\x01\x00\x01\x01", 4));
        ASSERT_TRUE(assign.GoToAssignment(1, "SS101T"));
        assign.SetLastPost(75);
        assign.SetBestPost(90);

        TTestSession sessions(EngineLibrary(), Database(), Engine);
        ASSERT_EQ(sessions.AddTestSession(1), 1);
        sessions.StartTest(TTestSession::LessonSession, 0);
        ASSERT_EQ(sessions.AddTestSession(2), 2);
        sessions.StartTest(TTestSession::ClosedBookSession, 4);
        ASSERT_TRUE(sessions.EndTest(3, answers, QString()));
        ASSERT_TRUE(sessions.OpenTestSession(1));
        ASSERT_TRUE(sessions.EndTest(0, QByteArray(), QString()));
    }

    const QStringList tables{
        "Users.dbf", "Assign.dbf",      "TestSess.dbf",       "Courses.dbf",       "gtest.dbf",
        "ptest.dbf", "SS101/index.dbf", "SS101/Glossary.dbf", "SS101T/SS101Q.dbf", "SS101T/SS101QX.dbf"};
    const QString readers = qEnvironmentVariable("ALTAVO_SOURCE") + "/tests/tools/course/readers/";
    const QStringList python = ReadWith("/usr/bin/python3", readers + "dump_dbfread.py", Database(), tables);
    const QStringList perl = ReadWith("/usr/bin/perl", readers + "dump_xbase.pl", Database(), tables);
    ASSERT_FALSE(python.isEmpty());
    EXPECT_EQ(python, perl) << "the two readers disagree";

    const QString today = "d:" + QDate::currentDate().toString("yyyyMMdd");
    const QStringList expected{
        "Users.dbf|1|USERNAME|" + Text("Ann"),
        "Users.dbf|1|PASSWORD|" + Text("Pass word€"),
        "Users.dbf|1|CITY|" + Text("Genève"),
        "Users.dbf|1|COMPANY|" + Text("Quenvik"),
        "Users.dbf|1|LASTIP|" + Text("10.0.0.7"),
        "Users.dbf|1|STATUS|n:1",
        "Users.dbf|1|DATE|" + today,
        "Users.dbf|2|ID|n:2",
        "Users.dbf|2|PASSWORD|" + Text("b"),
        "Assign.dbf|1|PRODID|" + Text("SS101"),
        "Assign.dbf|1|PRODTYPE|n:258",
        "Assign.dbf|1|LASTPOST|n:-1",
        "Assign.dbf|1|EXCEPTIONS|s:" + Hex(QByteArray("\x04\x01\x00\x01\x01", 5)),
        "Assign.dbf|2|PRODID|" + Text("SS101T"),
        "Assign.dbf|2|LASTPOST|n:75",
        "Assign.dbf|2|BESTPOST|n:90",
        "Assign.dbf|2|DATE|" + today,
        "TestSess.dbf|1|TYPEFLAG|n:20",
        "TestSess.dbf|1|QTAKEN|n:0",
        "TestSess.dbf|1|QRIGHT|n:0",
        "TestSess.dbf|1|ANSWERS|s:",
        "TestSess.dbf|2|ASSIGNID|n:2",
        "TestSess.dbf|2|TYPEFLAG|n:2",
        "TestSess.dbf|2|QTAKEN|n:4",
        "TestSess.dbf|2|QRIGHT|n:3",
        "TestSess.dbf|2|ANSWERS|s:" + Hex(answers),
        "Courses.dbf|1|ID|" + Text("SS101"),
        "Courses.dbf|1|TITLE|" + Text("Spreadsheets from the ground up"),
        "Courses.dbf|1|NUMPAGES|n:2",
        "gtest.dbf|1|GRAPHICDT|s:" + Hex(LengthPrefixed(CaseDir("spreadsheets") + "default.gif")),
        "gtest.dbf|1|NUMTESTQ|n:4",
        "ptest.dbf|1|TIME|" + Text("1:30"),
        "SS101/index.dbf|3|WORDSIN|" + Text("Welcome…"),
        "SS101/index.dbf|3|CLIPTYPE|n:257",
        "SS101/Glossary.dbf|1|DEFINITION|" + Text("One box of the grid. {see:Grid}"),
        "SS101T/SS101Q.dbf|1|ANSWER|" + Text("TRUE"),
        "SS101T/SS101Q.dbf|3|ANSWER|" + Text("5"),
        "SS101T/SS101Q.dbf|4|GRAPHICDT|s:" + Hex(LengthPrefixed(CaseDir("spreadsheets") + "save.sim")),
        "SS101T/SS101QX.dbf|2|ANSWER|" + Text("Enter"),
    };
    for (const QString& line : expected)
        EXPECT_TRUE(python.contains(line)) << line.toStdString();
}

} // namespace
