// The tests store: building a test, opening it, stepping through questions,
// answer texts, graphic data and the files written from it.
#include <QDir>
#include <QFile>

#include "DataTestSupport.h"
#include "data/TTesting.h"

namespace {

class TestingTest : public DataTest {
protected:
    // Builds a test "T1" of parent "P" with three questions under `path`.
    void BuildTest(const QString& path) {
        if (!path.isEmpty())
            QDir().mkpath(Dir() + path);
        TTesting testing(Library(), Dir(), Engine);
        ASSERT_TRUE(testing.AddParent("P", "Parent", "About", "1:30", 0));
        ASSERT_TRUE(testing.AddTest("T1", "P", path, "T1Q", "Test one"));
        ASSERT_EQ(testing.OpenTest("T1"), 0);
        EXPECT_TRUE(testing.SetDescription("Described"));
        EXPECT_TRUE(testing.SetDefaultGraphic("default.gif"));
        EXPECT_TRUE(testing.SetDefaultGraphicDT(QByteArray("GIF89a")));
        int tf = testing.AddTestQuestion(1, TTesting::TrueFalse, "TF", "Is it?", 2, "TRUE", "hint", "ref",
                                         "exhibit.gif");
        ASSERT_EQ(tf, 1);
        EXPECT_TRUE(testing.SetTestQuestionGraphicDT(QByteArray("\x00\x01\x02", 3)));
        // Extra rows on a true-or-false question are never its choices.
        ASSERT_EQ(testing.SetTestQuestionXtra(tf, 1, "ignored"), 0);
        int single = testing.AddTestQuestion(2, TTesting::SingleChoice, "One", "Pick", 3, "2", "", "", "");
        ASSERT_EQ(single, 2);
        for (int k = 1; k <= 3; ++k)
            ASSERT_EQ(testing.SetTestQuestionXtra(single, k, QString("Choice %1").arg(k)), 0);
        ASSERT_EQ(testing.SetTestQuestionXtra(single, 2, "Choice two"), 0) << "replaces, no second row";
        int multi =
            testing.AddTestQuestion(3, TTesting::MultipleChoice, "Many", "Pick some", 3, "5", "", "", "");
        ASSERT_EQ(multi, 3);
        testing.CloseTest();
    }
};

TEST_F(TestingTest, BuiltTestOpensAndStepsThroughQuestions) {
    BuildTest("T1DIR/");
    TTesting testing(Library(), Dir(), Engine);
    EXPECT_EQ(testing.OpenTest("Nope"), -1);
    ASSERT_EQ(testing.OpenTest("T1"), 0);
    EXPECT_EQ(testing.GetOpenTitle(), "Test one");
    EXPECT_EQ(testing.GetDescription(), "Described");
    EXPECT_EQ(testing.GetDefaultGraphic(), "default.gif");
    EXPECT_EQ(testing.GetDefaultGraphicDT(), QByteArray("GIF89a"));
    EXPECT_EQ(testing.NumTestQ(), 3);
    EXPECT_EQ(testing.GetParentNum("P"), 1);

    QList<int> raised;
    testing.OnTestQuestion = [&](int num, int id, int, const QString&, const QString&, int,
                                 const QString& answer, const QString&, const QString&, const QString&) {
        raised << num << id;
        EXPECT_EQ(answer.size(), 5) << "the answer as stored, untrimmed";
    };
    ASSERT_EQ(testing.GoToTestQuestion(1), 0);
    EXPECT_EQ(testing.GetTestQuestionCorrectAnswer(), "TRUE");
    EXPECT_EQ(testing.GetTestQuestionAnswerText(1), "TRUE");
    EXPECT_EQ(testing.GetTestQuestionAnswerText(2), "FALSE");
    EXPECT_EQ(testing.GetTestQuestionGraphicDT(), QByteArray("\x00\x01\x02", 3));
    EXPECT_EQ(testing.CurrentQuestion().Hint, "hint");

    ASSERT_EQ(testing.GoToTestQuestion(2), 0);
    EXPECT_EQ(testing.GetTestQuestionAnswerText(1), "Choice 1");
    EXPECT_EQ(testing.GetTestQuestionAnswerText(2), "Choice two");
    EXPECT_EQ(testing.GetTestQuestionAnswerText(4), "");
    EXPECT_EQ(testing.GetTestQuestionGraphicDT(), QByteArray()) << "no data";

    EXPECT_EQ(testing.GoToTestQuestion(4), -1);
    EXPECT_EQ(testing.CurrentQuestion().Num, 2) << "a failed move leaves the cache";
    ASSERT_EQ(testing.GoToTestQuestionId(3), 0);
    EXPECT_EQ(testing.GetTestQuestionCorrectAnswer(), "5");
    EXPECT_EQ(raised, (QList<int>{1, 1, 2, 2, 3, 3}));
    testing.CloseTest();
    EXPECT_FALSE(testing.IsTestOpen());
}

TEST_F(TestingTest, EmptyPathKeepsTablesInTheDatabaseDirectory) {
    BuildTest("");
    EXPECT_TRUE(QFile::exists(Dir() + "T1Q.dbf") || QFile::exists(Dir() + "T1Q.DBF"));
    TTesting testing(Library(), Dir(), Engine);
    EXPECT_EQ(testing.OpenTest("T1"), 0);
}

TEST_F(TestingTest, ReorderingAndRefusedDeletes) {
    BuildTest("T/");
    TTesting testing(Library(), Dir(), Engine);
    ASSERT_EQ(testing.OpenTest("T1"), 0);
    testing.ChangeQuestionNumber(3, 1);
    ASSERT_EQ(testing.GoToTestQuestion(1), 0);
    EXPECT_EQ(testing.CurrentQuestion().ID, 3);
    ASSERT_EQ(testing.GoToTestQuestion(2), 0);
    EXPECT_EQ(testing.CurrentQuestion().ID, 1);

    ASSERT_EQ(testing.GoToTestQuestionId(2), 0);
    testing.ChangeStepNumber(1, 3);
    EXPECT_EQ(testing.GetTestQuestionAnswerText(1), "Choice two");
    EXPECT_EQ(testing.GetTestQuestionAnswerText(3), "Choice 1");
    EXPECT_TRUE(testing.DeleteTestQuestionXtra(1));
    EXPECT_EQ(testing.CurrentQuestion().NumAnswer, 2);
    EXPECT_EQ(testing.GetTestQuestionAnswerText(1), "Choice 3");
    EXPECT_TRUE(testing.DeleteTestQuestionXtra(1));
    EXPECT_FALSE(testing.DeleteTestQuestionXtra(1)) << "the only choice stays";

    EXPECT_TRUE(testing.DeleteTestQuestion(1));
    EXPECT_TRUE(testing.DeleteTestQuestion(1));
    EXPECT_EQ(testing.NumTestQ(), 1);
    EXPECT_FALSE(testing.DeleteTestQuestion(1)) << "the only question stays";
    testing.CloseTest();
    ASSERT_EQ(testing.OpenTest("T1"), 0);
    EXPECT_EQ(testing.NumTestQ(), 1);
    ASSERT_EQ(testing.GoToTestQuestion(1), 0);
    EXPECT_EQ(testing.CurrentQuestion().ID, 2);
}

TEST_F(TestingTest, GraphicFilesAreWrittenOnlyInsideTheTestDirectory) {
    BuildTest("T/");
    TTesting testing(Library(), Dir(), Engine);
    ASSERT_EQ(testing.OpenTest("T1"), 0);
    struct Case {
        const char* name;
        bool safe;
    } cases[] = {
        {"exhibit.gif", true},
        {"sub\\pic.gif", true},
        {"../escape.gif", false},
        {"a/../../b.gif", false},
        {"/etc/passwd", false},
        {"C:\\x.gif", false},
        {"", false},
        {"..\\up.gif", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(!testing.GraphicFilePath(c.name).isEmpty(), c.safe) << c.name;

    ASSERT_EQ(testing.GoToTestQuestion(1), 0);
    QString path;
    ASSERT_TRUE(testing.WriteTestQuestionGraphicFile(&path));
    EXPECT_EQ(path, Dir() + "T/exhibit.gif");
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("\x00\x01\x02", 3));

    ASSERT_TRUE(
        testing.ChangeCurrentTestQuestionInfo(1, 0, "TF", "Is it?", 2, "TRUE", "", "", "../../evil.gif"));
    EXPECT_FALSE(testing.WriteTestQuestionGraphicFile(&path));
    EXPECT_TRUE(path.isEmpty());
    EXPECT_FALSE(QFile::exists(Dir() + "../evil.gif"));
}

TEST_F(TestingTest, ParentsAndCatalogueListings) {
    BuildTest("T/");
    TTesting testing(Library(), Dir(), Engine);
    EXPECT_TRUE(testing.ParentExists("P"));
    EXPECT_FALSE(testing.ParentExists("Q"));
    TParentInfo info;
    info.Id = "P";
    testing.GetParentInfo(info);
    EXPECT_EQ(info.Title, "Parent");
    EXPECT_EQ(info.Time, "1:30");
    EXPECT_EQ(info.Num, 1);
    TParentInfo absent;
    absent.Id = "Q";
    testing.GetParentInfo(absent);
    EXPECT_EQ(absent.Id, "bad");

    QStringList tests;
    testing.OnTestParentItem = [&](const QString& title, const QString& id, const QString& parent) {
        tests << title + "|" + id + "|" + parent;
    };
    testing.ListTestTitlesWParent();
    EXPECT_EQ(tests, (QStringList{"Test one|T1|P"}));
    testing.ChangeParentIds("P", "P2");
    tests.clear();
    testing.ListTestTitlesWParent();
    EXPECT_EQ(tests, (QStringList{"Test one|T1|P2"}));
    EXPECT_EQ(testing.GetTestDescription("T1"), "Described");

    EXPECT_TRUE(testing.DeleteTest("T1"));
    EXPECT_EQ(testing.OpenTest("T1"), -1);
}

} // namespace
