// Table objects whose table can be neither opened nor created (a directory
// that does not exist) answer "not found" everywhere and crash nowhere.
#include "DataTestSupport.h"
#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TGlossary.h"
#include "data/TIndex.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"

namespace {

class NoTableTest : public DataTest {
protected:
    QString Missing() const { return Dir() + "no/such/dir/"; }
};

TEST_F(NoTableTest, EveryOperationIsHarmless) {
    TUser users(Library(), Missing(), Engine);
    UserInfoStruct ann;
    ann.UserName = "Ann";
    EXPECT_TRUE(users.Empty());
    EXPECT_EQ(users.AddUser(ann), -1);
    EXPECT_EQ(users.Authenticate("Ann", ""), -1);
    EXPECT_EQ(users.GetLastIp(1), "");

    TCourses courses(Library(), Missing(), Engine);
    EXPECT_EQ(courses.AddCourse("C", "T", "", "", "", "", 0, 0, 0), "0");
    EXPECT_FALSE(courses.GoToCourseId("C"));
    EXPECT_EQ(courses.GetTitle(), "");
    courses.PackDatabases();

    TAssignment assign(Library(), Missing(), Engine);
    EXPECT_FALSE(assign.AddAssignment(1, 258, 0, "C"));
    EXPECT_FALSE(assign.GoToAssignment(1, "C"));
    EXPECT_FALSE(assign.SetBookmarks("x"));
    EXPECT_EQ(assign.GetBookmarks(), QByteArray());

    TIndex index(Library(), Missing(), Engine);
    EXPECT_EQ(index.PageCount(), 0);
    EXPECT_EQ(index.AddPage("P"), -1);
    index.DeletePage(1);

    TGlossary glossary(Library(), Missing(), Engine);
    EXPECT_FALSE(glossary.AddTerm("T", "D"));
    EXPECT_EQ(glossary.GetTerm("T"), "");

    TTesting testing(Library(), Missing(), Engine);
    EXPECT_EQ(testing.OpenTest("T"), -1);
    EXPECT_FALSE(testing.AddTest("T", "P", "", "TQ", "Title"));
    EXPECT_EQ(testing.GoToTestQuestion(1), -1);

    TTestSession sessions(Library(), Missing(), Engine);
    EXPECT_EQ(sessions.AddTestSession(1), -1);
    EXPECT_FALSE(sessions.OpenTestSession(1));
    EXPECT_EQ(sessions.GetAnswers(), QByteArray());
    EXPECT_TRUE(Shown.Shown.isEmpty()) << Shown.Shown.join("|").toStdString();
}

} // namespace
