// The lesson cursor: directory rows and their arithmetic, marks and their
// restore rules, toggling, and the next-row rule when a button is done.
#include <gtest/gtest.h>

#include "data/TIndex.h"
#include "lesson/model/TLessonCursor.h"

namespace {

using TAction = TChainStep::TAction;

// A course of pages given by the clip count of each button.
TCourseOutline Course(const std::vector<std::vector<int>>& pages) {
    std::vector<TPageOutline> out;
    for (size_t p = 0; p < pages.size(); ++p) {
        TPageOutline page{QString("Page %1").arg(p + 1), {}};
        for (size_t b = 0; b < pages[p].size(); ++b) {
            TButtonOutline button{QString("Button %1.%2").arg(p + 1).arg(b + 1), {}};
            for (int c = 1; c <= pages[p][b]; ++c)
                button.Clips.push_back(
                    {QString("Clip %1").arg(c), QString("c%1%2%3").arg(p + 1).arg(b + 1).arg(c), 257});
            page.Buttons.push_back(button);
        }
        out.push_back(page);
    }
    return TCourseOutline(out);
}

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

TEST(LessonCursor, DirectoryRowsAndTheirObjects) {
    const TLessonCursor cursor(Course({{1, 1, 1}, {1, 1}}), 0);
    ASSERT_EQ(cursor.RowCount(), 7);
    const std::vector<std::pair<int, int>> expected = {
        {1, 20}, {65536 + 1, 0}, {2 * 65536 + 1, 0}, {3 * 65536 + 1, 0},
        {2, 20}, {65536 + 2, 0}, {2 * 65536 + 2, 0}};
    for (int r = 0; r < cursor.RowCount(); ++r) {
        EXPECT_EQ(cursor.Rows()[r].Object, expected[r].first) << "row " << r;
        EXPECT_EQ(cursor.Rows()[r].State, expected[r].second) << "row " << r;
    }
    EXPECT_EQ(cursor.Rows()[0].Text, "Page 1");
    EXPECT_EQ(cursor.Rows()[6].Text, "Button 2.2");
}

TEST(LessonCursor, RowOfPageAndButton) {
    const TLessonCursor cursor(Course({{1, 1, 1}, {1}, {}, {1, 1}}), 0);
    struct Case {
        int page, button, row;
    } cases[] = {
        {1, 1, 1}, // row 0 is the page row of page 1
        {2, 1, 5}, // three buttons on page 1
        {1, 0, 0},  {2, 0, 4},  {3, 0, 6},  {4, 0, 7},  {4, 2, 9},
        {0, 1, -1}, {5, 0, -1}, {1, 4, -1}, {3, 1, -1}, {1, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cursor.RowOf(c.page, c.button), c.row) << c.page << "," << c.button;
        if (c.row >= 0) { // and back through the row's object
            const int object = cursor.Rows()[c.row].Object;
            EXPECT_EQ(TLessonCursor::PageOfObject(object), c.page);
            EXPECT_EQ(TLessonCursor::ButtonOfObject(object), c.button);
        }
    }
}

// Two pages of three buttons and four challenges: D = 8, K = 4.
class Marks : public ::testing::Test {
protected:
    TLessonCursor cursor{Course({{1, 1, 1}, {1, 1, 1}}), 4};
    std::vector<int> ButtonStates() const {
        std::vector<int> out;
        for (const TDirectoryRow& row : cursor.Rows())
            out.push_back(row.State);
        return out;
    }
    std::vector<int> ChallengeStates() const {
        std::vector<int> out;
        for (int j = 0; j < cursor.ChallengeCount(); ++j)
            out.push_back(cursor.ChallengeState(j));
        return out;
    }
};

TEST_F(Marks, FirstVisitHasTwelveZeroBytes) {
    cursor.RestoreMarks({});
    EXPECT_EQ(cursor.Marks(), QByteArray(12, '\0'));
    EXPECT_EQ(ButtonStates(), (std::vector<int>{20, 0, 0, 0, 20, 0, 0, 0}));
}

TEST_F(Marks, RestoreRulesByStoredLength) {
    struct Case {
        const char* name;
        QByteArray stored;
        std::vector<int> rows, challenges;
        QByteArray marks;
    } cases[] = {
        {"one byte per directory row: challenges cleared",
         Bytes({0, 1, 0, 1, 0, 0, 1, 1}),
         {20, 1, 0, 1, 20, 0, 1, 1},
         {0, 0, 0, 0},
         Bytes({0, 1, 0, 1, 0, 0, 1, 1, 0, 0, 0, 0})},
        {"directory and challenges",
         Bytes({0, 1, 1, 0, 0, 0, 0, 1, 1, 0, 1, 0}),
         {20, 1, 1, 0, 20, 0, 0, 1},
         {1, 0, 1, 0},
         Bytes({0, 1, 1, 0, 0, 0, 0, 1, 1, 0, 1, 0})},
        {"short text: missing bytes are 0",
         Bytes({0, 1, 1}),
         {20, 1, 1, 0, 20, 0, 0, 0},
         {0, 0, 0, 0},
         Bytes({0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {"between D and D + K",
         Bytes({0, 0, 0, 1, 0, 0, 0, 0, 1, 1}),
         {20, 0, 0, 1, 20, 0, 0, 0},
         {1, 1, 0, 0},
         Bytes({0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0})},
        {"longer text is cut to D + K",
         QByteArray(20, '\1'),
         {20, 1, 1, 1, 20, 1, 1, 1},
         {1, 1, 1, 1},
         QByteArray(12, '\1')},
        // Damaged bytes: a markable row reads any non-zero byte as marked (a
        // state of 20 would make it unmarkable); page-row bytes stay as stored.
        {"bytes other than 0 and 1",
         Bytes({'x', '0', 20, 0, 7, 0, 0, 0, 0, 0, 0, 2}),
         {20, 1, 1, 0, 20, 0, 0, 0},
         {0, 0, 0, 1},
         Bytes({'x', 1, 1, 0, 7, 0, 0, 0, 0, 0, 0, 1})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cursor.RestoreMarks(c.stored);
        EXPECT_EQ(ButtonStates(), c.rows);
        EXPECT_EQ(ChallengeStates(), c.challenges);
        EXPECT_EQ(cursor.Marks(), c.marks);
    }
}

TEST_F(Marks, TogglingRowsAndChallenges) {
    cursor.RestoreMarks({});
    // A page row never changes; rows that do not exist change nothing.
    for (int row : {0, 4, -1, 8})
        EXPECT_FALSE(cursor.ToggleRow(row)) << row;
    EXPECT_EQ(cursor.Marks(), QByteArray(12, '\0'));

    EXPECT_TRUE(cursor.ToggleRow(6));
    EXPECT_EQ(cursor.Rows()[6].State, 1);
    EXPECT_EQ(cursor.Marks()[6], 1);
    EXPECT_EQ(cursor.ButtonMark(2, 2), 1);
    EXPECT_TRUE(cursor.ToggleRow(6));
    EXPECT_EQ(cursor.Marks()[6], 0);

    EXPECT_TRUE(cursor.ToggleChallenge(3));
    cursor.MarkChallenge(1);
    EXPECT_FALSE(cursor.ToggleChallenge(4));
    EXPECT_EQ(cursor.Marks(), Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1}));
    EXPECT_EQ(ChallengeStates(), (std::vector<int>{0, 1, 0, 1}));
}

TEST(LessonCursor, FinishingAButtonMarksItAndChoosesTheNextRow) {
    TLessonCursor cursor(Course({{1, 2, 1}, {1, 1}}), 2);
    cursor.RestoreMarks({});
    ASSERT_EQ(cursor.GoToButton(1, 2).Action, TAction::PlayClip);
    EXPECT_EQ(cursor.CurrentClip(), 1);
    EXPECT_EQ(cursor.NextClip().Action, TAction::PlayClip); // clip 2 of 2
    EXPECT_EQ(cursor.CurrentClip(), 2);

    TChainStep done = cursor.NextClip();
    EXPECT_EQ(done.Action, TAction::GoToButton);
    EXPECT_EQ(done.MarkedRows, std::vector<int>{2});
    EXPECT_EQ(std::make_pair(done.Page, done.Button), std::make_pair(1, 3));
    EXPECT_EQ(cursor.Marks()[2], 1); // byte 3 of the marks
    EXPECT_EQ(cursor.ButtonMark(1, 2), 1);

    // The last button of a page leads through the next page row to button 1.
    cursor.GoToButton(1, 3);
    done = cursor.NextClip();
    EXPECT_EQ(done.Action, TAction::GoToButton);
    EXPECT_EQ(std::make_pair(done.Page, done.Button), std::make_pair(2, 1));

    // The course's last button completes the training.
    cursor.GoToButton(2, 2);
    done = cursor.NextClip();
    EXPECT_EQ(done.Action, TAction::TrainingComplete);
    EXPECT_EQ(done.MarkedRows, std::vector<int>{6});
    EXPECT_EQ(cursor.Marks(), Bytes({0, 0, 1, 1, 0, 0, 1, 0, 0}));
}

TEST(LessonCursor, ChoosingAPageRowMakesItsFirstButtonCurrent) {
    TLessonCursor cursor(Course({{1}, {1}, {2, 1}}), 0);
    const int object = cursor.Rows()[cursor.RowOf(3, 0)].Object;
    EXPECT_EQ(
        cursor.GoToButton(TLessonCursor::PageOfObject(object), TLessonCursor::ButtonOfObject(object)).Action,
        TAction::PlayClip);
    EXPECT_EQ(cursor.CurrentPage(), 3);
    EXPECT_EQ(cursor.CurrentButton(), 1);
    EXPECT_EQ(cursor.CurrentClipInfo()->FileName, "c311");
}

TEST(LessonCursor, ButtonsWithoutClipsAreMarkedAndPassedOver) {
    // Page 2 has no buttons; buttons 1.2, 3.1 and 3.3 have no clips.
    TLessonCursor cursor(Course({{1, 0}, {}, {0, 1, 0}}), 0);
    cursor.RestoreMarks({});

    // Chosen directly: marked at once, the chain goes on past the empty page.
    TChainStep step = cursor.GoToButton(1, 2);
    EXPECT_EQ(step.Action, TAction::PlayClip);
    EXPECT_EQ(step.MarkedRows, (std::vector<int>{2, 5}));
    EXPECT_EQ(std::make_pair(cursor.CurrentPage(), cursor.CurrentButton()), std::make_pair(3, 2));

    // The last button has no clips: the training is complete.
    step = cursor.NextClip();
    ASSERT_EQ(step.Action, TAction::GoToButton);
    step = cursor.GoToButton(step.Page, step.Button);
    EXPECT_EQ(step.Action, TAction::TrainingComplete);
    EXPECT_EQ(step.MarkedRows, std::vector<int>{7});

    // A page without buttons chosen by its row, and a page that does not exist.
    EXPECT_EQ(cursor.GoToButton(2, 0).Action, TAction::PlayClip);
    EXPECT_EQ(cursor.CurrentPage(), 3);
    EXPECT_EQ(cursor.GoToButton(9, 1).Action, TAction::TrainingComplete);
}

TEST(LessonCursor, IndexWithoutPagesIsDetectable) {
    const TLessonCursor cursor(TCourseOutline{}, 3);
    EXPECT_FALSE(cursor.HasPages());
    EXPECT_EQ(cursor.RowCount(), 0);
    EXPECT_EQ(cursor.Marks().size(), 3);
}

TEST(LessonCursor, MoreThan255RowsWorkInTheRun) {
    // 1 page row + 299 buttons, 10 challenges: 310 marks in the run.
    TLessonCursor cursor(Course({std::vector<int>(299, 1)}), 10);
    cursor.RestoreMarks({});
    ASSERT_EQ(cursor.Marks().size(), 310);
    cursor.GoToButton(1, 299);
    EXPECT_EQ(cursor.NextClip().Action, TAction::TrainingComplete);
    cursor.MarkChallenge(9);
    EXPECT_EQ(cursor.Marks()[299], 1);
    EXPECT_EQ(cursor.Marks()[309], 1);

    // The stored text holds the first 255 bytes; the rest restore as 0.
    QByteArray stored(255, '\1');
    cursor.RestoreMarks(stored);
    EXPECT_EQ(cursor.Marks().size(), 310);
    EXPECT_EQ(cursor.ButtonMark(1, 254), 1);
    EXPECT_EQ(cursor.ButtonMark(1, 255), 0);
    EXPECT_EQ(cursor.ChallengeState(0), 0);
}

TEST(CourseOutline, ReadsTheIndexTreeInChainOrder) {
    TMoviePageControl tree;
    auto node = [&tree](int kind, int id, const QString& title) {
        tree.Nodes.push_back(std::make_unique<TMoviePageLinkList>());
        TMoviePageLinkList* n = tree.Nodes.back().get();
        n->Kind = kind;
        n->ID = id;
        n->Title = title;
        return n;
    };
    TMoviePageLinkList* p1 = node(0, 1, "First");
    TMoviePageLinkList* p2 = node(0, 2, "Second");
    TMoviePageLinkList* b = node(1, 3, "Only button");
    TMoviePageLinkList* c1 = node(2, 4, "Opening");
    TMoviePageLinkList* c2 = node(2, 5, "Closing");
    c1->FileName = "intro";
    c2->FileName = "outro";
    c2->ClipType = 258;
    tree.Pages = p2; // the chains, not the order of Nodes, give the positions
    p2->Next = p1;
    p1->Children = b;
    b->Children = c1;
    c1->Next = c2;
    tree.PageCount = 2;

    const TCourseOutline outline = TCourseOutline::FromTree(tree);
    EXPECT_EQ(outline.PageCount(), 2);
    EXPECT_EQ(outline.PageTitle(1), "Second");
    EXPECT_EQ(outline.ButtonCount(1), 0);
    EXPECT_EQ(outline.ButtonTitle(2, 1), "Only button");
    EXPECT_EQ(outline.ClipCount(2, 1), 2);
    EXPECT_EQ(outline.Clip(2, 1, 2)->FileName, "outro");
    EXPECT_EQ(outline.Clip(2, 1, 2)->ClipType, 258);
    EXPECT_EQ(outline.Clip(2, 1, 3), nullptr);
    EXPECT_EQ(outline.PageTitle(3), QString());
}

} // namespace
