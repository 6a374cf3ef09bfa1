// The assignments table: new rows, searches with padded product IDs, the
// bookmarks memo and the two listings.
#include "DataTestSupport.h"
#include "data/TAssignment.h"

namespace {

class AssignmentTest : public DataTest {};

TEST_F(AssignmentTest, NewRowsStartWithoutScores) {
    TAssignment assign(Library(), Dir(), Engine);
    EXPECT_EQ(assign.GetNextId(), 1);
    EXPECT_FALSE(assign.Exists(1));
    ASSERT_TRUE(assign.AddAssignment(1, 258, 5, "SS101"));
    ASSERT_TRUE(assign.AddAssignment(1, 257, 0, "SS101T"));
    EXPECT_EQ(assign.GetNextId(), 3);
    EXPECT_TRUE(assign.Exists(1));
    ASSERT_TRUE(assign.GoToAssignment(1, "SS101"));
    EXPECT_EQ(assign.GetAssignmentId(), 1);
    EXPECT_EQ(assign.GetUserId(), 1);
    EXPECT_EQ(assign.GetProdType(), 258);
    EXPECT_EQ(assign.GetLastActive(), 5);
    EXPECT_EQ(assign.GetLastPost(), -1);
    EXPECT_EQ(assign.GetBestPost(), -1);
    EXPECT_EQ(assign.GetProdId(), "SS101     ");
    EXPECT_EQ(assign.GetDate(), QDate::currentDate().toString("MM/dd/yyyy"));

    ASSERT_TRUE(assign.GoToRecord(2));
    assign.SetLastPost(75);
    assign.SetBestPost(90);
    assign.SetLastActive(12);
    ASSERT_TRUE(assign.GoToAssignment(1, "SS101T"));
    EXPECT_EQ(assign.GetLastPost(), 75);
    EXPECT_EQ(assign.GetBestPost(), 90);
    EXPECT_EQ(assign.GetLastActive(), 12);
}

TEST_F(AssignmentTest, SearchMatchesTrimmedProductExactly) {
    TAssignment assign(Library(), Dir(), Engine);
    assign.AddAssignment(1, 258, 0, "C1");
    assign.AddAssignment(2, 258, 0, "C1  ");
    assign.AddAssignment(2, 257, 0, "c1");
    struct Case {
        int user;
        const char* product;
        bool found;
        int id;
    } cases[] = {
        {1, "C1", true, 1},  {1, "C1   ", true, 1}, {2, "C1", true, 2},  {2, "c1", true, 3},
        {1, "c1", false, 0}, {1, "C", false, 0},    {3, "C1", false, 0}, {2, "C1X", false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(assign.GoToAssignment(c.user, c.product), c.found) << c.user << " " << c.product;
        if (c.found)
            EXPECT_EQ(assign.GetAssignmentId(), c.id) << c.user << " " << c.product;
    }
    assign.DeleteAssignment(2, "C1");
    EXPECT_FALSE(assign.GoToAssignment(2, "C1"));
    EXPECT_TRUE(assign.GoToAssignment(2, "c1"));
    EXPECT_EQ(assign.GetNextId(), 4);
}

TEST_F(AssignmentTest, BookmarksAreALengthByteAndTheBytes) {
    TAssignment assign(Library(), Dir(), Engine);
    assign.AddAssignment(1, 258, 0, "C1");
    ASSERT_TRUE(assign.GoToAssignment(1, "C1"));
    EXPECT_EQ(assign.GetBookmarks(), QByteArray()) << "an empty memo means no bookmarks";

    const QByteArray twelve("\x01\x00\x01\x01\x00\x00\x01\x00\x00\x00\x01\x00", 12);
    EXPECT_TRUE(assign.SetBookmarks(twelve));
    ASSERT_TRUE(assign.GoToAssignment(1, "C1"));
    EXPECT_EQ(assign.GetBookmarks(), twelve);

    // The longest text the length byte can say, then one byte more.
    const QByteArray full(255, '\x01');
    EXPECT_TRUE(assign.SetBookmarks(full));
    EXPECT_EQ(assign.GetBookmarks(), full);
    QByteArray tooLong(300, '\x00');
    tooLong[0] = '\x01';
    EXPECT_FALSE(assign.SetBookmarks(tooLong));
    ASSERT_TRUE(assign.GoToAssignment(1, "C1"));
    EXPECT_EQ(assign.GetBookmarks(), tooLong.left(255)) << "only what the length byte can say is kept";
}

TEST_F(AssignmentTest, ListingsReportTheAskedRows) {
    TAssignment assign(Library(), Dir(), Engine);
    assign.AddAssignment(1, 258, 0, "C1");
    assign.AddAssignment(1, 257, 0, "T1");
    assign.AddAssignment(2, 258, 0, "C1");
    assign.AddAssignment(1, 258, 0, "C2");
    QStringList items;
    int starts = 0, ends = 0;
    assign.OnListStart = [&] { ++starts; };
    assign.OnListItem = [&](const QString& id, const QString& product) { items << id + "|" + product; };
    assign.OnListEnd = [&] { ++ends; };
    assign.ListAssignmentsByTypes(1, 258);
    // The ID is the field's text: right-aligned digits keep their leading blanks.
    EXPECT_EQ(items, (QStringList{"        1|C1", "        4|C2"}));
    items.clear();
    assign.ListAssignmentsByTypes(1, 257);
    EXPECT_EQ(items, (QStringList{"        2|T1"}));
    items.clear();
    assign.ListAssignmentsByTypes(3, 258);
    EXPECT_TRUE(items.isEmpty());
    EXPECT_EQ(starts, 3);
    EXPECT_EQ(ends, 3);

    QList<int> ids;
    assign.OnProductItem = [&](int id) { ids << id; };
    assign.ListAssignmentsByProduct("C1        ");
    EXPECT_EQ(ids, (QList<int>{1, 3}));
    ids.clear();
    assign.ListAssignmentsByProduct("C1");
    EXPECT_TRUE(ids.isEmpty()) << "a product text shorter than 10 characters matches no row";
}

} // namespace
