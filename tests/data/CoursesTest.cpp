// The course catalogue and the score functions.
#include "DataTestSupport.h"
#include "data/TCourses.h"

namespace {

class CoursesTest : public DataTest {
protected:
    struct Listed {
        int starts = 0, ends = 0;
        QStringList entries; // "title|id|parent"
    };
    Listed List(TCourses& courses) {
        Listed listed;
        courses.OnListStart = [&] { ++listed.starts; };
        courses.OnListItem = [&](const QString& title, const QString& id, const QString& parent) {
            listed.entries << title + "|" + id + "|" + parent;
        };
        courses.OnListEnd = [&] { ++listed.ends; };
        courses.ListCourseTitles();
        return listed;
    }
};

TEST_F(CoursesTest, EmptyTableListsStartAndEndOnly) {
    TCourses courses(Library(), Dir(), Engine);
    Listed listed = List(courses);
    EXPECT_EQ(listed.starts, 1);
    EXPECT_EQ(listed.ends, 1);
    EXPECT_TRUE(listed.entries.isEmpty());
    EXPECT_EQ(courses.GetNextId(), "1");
    EXPECT_EQ(courses.GetNumCourses(), 0);
}

TEST_F(CoursesTest, AddListRemoveAndPack) {
    TCourses courses(Library(), Dir(), Engine);
    EXPECT_EQ(courses.AddCourse("2", "Word processing", "WP101T", "P", "WP101/", "intro", 1, 0, 0), "2");
    EXPECT_EQ(courses.AddCourse("1", "Spreadsheets  ", "SS101T", "", "SS101/", "genesis", 2, 1, 1), "1");
    EXPECT_FALSE(courses.ErrorFlag);
    EXPECT_EQ(courses.AddCourse("1", "Again", "X", "", "", "", 0, 0, 0), "0");
    EXPECT_TRUE(courses.ErrorFlag);
    EXPECT_EQ(courses.ErrorText, "Course With Id 1, Already Exists.");

    Listed listed = List(courses);
    EXPECT_EQ(listed.entries, (QStringList{"Spreadsheets|1|", "Word processing|2|P"}));
    EXPECT_EQ(courses.GetNextId(), "3");

    ASSERT_TRUE(courses.GoToCourseId("1"));
    EXPECT_EQ(courses.GetTestId(), "SS101T");
    EXPECT_EQ(courses.GetPath(), "SS101/");
    EXPECT_EQ(courses.GetGenFile(), "genesis");
    EXPECT_EQ(courses.GetNumCert(), 2);
    EXPECT_EQ(courses.GetLogonReq(), 1);
    ASSERT_TRUE(courses.SetCourseDetails("About sheets", 4, "Practice", "SSPractice", "/opt/ss/run"));
    ASSERT_TRUE(courses.GoToCourseId("1"));
    EXPECT_EQ(courses.GetDescription(), "About sheets");
    EXPECT_EQ(courses.GetNumPages(), 4);
    EXPECT_EQ(courses.GetIntName(), "Practice");
    EXPECT_EQ(courses.GetIntClsName(), "SSPractice");
    EXPECT_EQ(courses.GetIntDefPath(), "/opt/ss/run");
    EXPECT_FALSE(courses.GoToCourseId("1 2"));
    EXPECT_FALSE(courses.Exists("ss"));

    courses.RemoveCourse("1");
    EXPECT_FALSE(courses.Exists("1"));
    EXPECT_EQ(List(courses).entries, (QStringList{"Word processing|2|P"}))
        << "deleted courses are not listed";
    EXPECT_EQ(courses.GetNumCourses(), 2) << "still in the file until packed";
    courses.PackDatabases();
    EXPECT_EQ(courses.GetNumCourses(), 1);
    courses.GoToCourseByIndex(0);
    EXPECT_EQ(courses.GetId(), "2");
}

TEST_F(CoursesTest, TextTheTableCannotHoldIsRefused) {
    TCourses courses(Library(), Dir(), Engine);
    EXPECT_EQ(courses.AddCourse("C1", "Кириллица", "T", "", "", "", 0, 0, 0), "0");
    EXPECT_TRUE(courses.ErrorFlag);
    EXPECT_TRUE(courses.ErrorText.contains("The course title")) << courses.ErrorText.toStdString();
    EXPECT_EQ(courses.GetNumCourses(), 0);
}

TEST(ScoreFunctions, RoundToNearestWithHalvesToEven) {
    struct Case {
        int got, expected;
        const char* what;
    } cases[] = {
        {Percentage(4, 1), 25, "Percentage(4, 1)"},
        {Percentage(3, 2), 67, "Percentage(3, 2)"},
        {Percentage(3, 1), 33, "Percentage(3, 1)"},
        {Percentage(8, 1), 12, "Percentage(8, 1) = 12.5"},
        {Percentage(8, 3), 38, "Percentage(8, 3) = 37.5"},
        {Percentage(40, 1), 2, "Percentage(40, 1) = 2.5"},
        {Percentage(0, 5), 0, "Percentage with total 0"},
        {PercentOf(1000, 50), 500, "PercentOf(1000, 50)"},
        {PercentOf(10, 25), 2, "PercentOf(10, 25) = 2.5"},
        // 0.01 has no exact binary form: in extended precision 10 x 0.01 x 35
        // lands just below 3.5.
        {PercentOf(10, 35), 3, "PercentOf(10, 35)"},
        {PerMille(8, 1), 125, "PerMille(8, 1)"},
        {PerMille(16, 1), 62, "PerMille(16, 1) = 62.5"},
        {PerMille(0, 3), 0, "PerMille with total 0"},
        {ScaledPercent(100, 4, 500), 500, "ScaledPercent(100, 4, 500)"},
        {ScaledPercent(1, 0, 1), 0, "ScaledPercent with b 0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
}

} // namespace
