// The course index: load order, positions, authoring moves and deletes, and a
// damaged index that still opens.
#include "DataTestSupport.h"
#include "data/TIndex.h"

namespace {

class IndexTest : public DataTest {
protected:
    // Appends raw records (id, parent, index, type, title) to the course's
    // index table, as another tool might have written them.
    struct Raw {
        int id, parent, index, type;
        const char* title;
        bool deleted = false;
    };
    void WriteRaw(std::initializer_list<Raw> records) {
        { TIndex create(Library(), Dir(), Engine); }
        auto open = Entry<DATA4* (*)(CODE4*, const char*)>("d4open");
        auto field = Entry<FIELD4* (*)(DATA4*, const char*)>("d4field");
        auto append = Entry<int (*)(DATA4*)>("d4appendBlank");
        auto assignLong = Entry<void (*)(FIELD4*, long)>("f4assignLong");
        auto assign = Entry<void (*)(FIELD4*, const char*)>("f4assign");
        auto del = Entry<void (*)(DATA4*)>("d4delete");
        auto unlock = Entry<int (*)(DATA4*)>("d4unlock");
        auto close = Entry<int (*)(DATA4*)>("d4close");
        DATA4* data = open(Engine, (Dir() + "index").toUtf8().constData());
        ASSERT_NE(data, nullptr);
        for (const Raw& r : records) {
            ASSERT_EQ(append(data), 0);
            assignLong(field(data, "ID"), r.id);
            assignLong(field(data, "PARENTID"), r.parent);
            assignLong(field(data, "INDEX"), r.index);
            assignLong(field(data, "TYPE"), r.type);
            assign(field(data, "TITLE"), r.title);
            if (r.deleted)
                del(data);
            unlock(data);
        }
        close(data);
    }
    static QStringList Pages(const TIndex& index) {
        QStringList titles;
        for (int p = 1; p <= index.PageCount(); ++p)
            titles << index.GetPage(p);
        return titles;
    }
    static QStringList Buttons(const TIndex& index, int page) {
        QStringList titles;
        for (int b = 1; b <= index.ButtonCount(page); ++b)
            titles << index.GetButton(page, b);
        return titles;
    }
};

TEST_F(IndexTest, LoadsByIndexNotByRecordOrder) {
    WriteRaw({{1, 0, 2, 0, "Second"},
              {2, 0, 1, 0, "First"},
              {3, 0, 3, 0, "Third"},
              {4, 2, 2, 1, "B2"},
              {5, 2, 1, 1, "B1"},
              {6, 5, 1, 2, "Clip"}});
    TIndex index(Library(), Dir(), Engine);
    EXPECT_EQ(Pages(index), (QStringList{"First", "Second", "Third"}));
    EXPECT_EQ(Buttons(index, 1), (QStringList{"B1", "B2"}));
    EXPECT_EQ(index.ClipCount(1, 1), 1);
    EXPECT_EQ(index.GetClip(1, 1, 1)->Title, "Clip");
    EXPECT_EQ(index.ChildCount(0), 3);
    EXPECT_EQ(index.ChildCount(2), 2);
    EXPECT_EQ(index.SkippedRecords(), 0);
}

TEST_F(IndexTest, OrphansAreSkippedAndCountedAndLateParentsAttached) {
    WriteRaw({{1, 0, 1, 0, "Page"},
              {2, 0, 2, 0, "Gone", true},
              {3, 2, 1, 1, "Orphan button"}, // its page is deleted
              {4, 3, 1, 2, "Orphan clip"},   // under the orphan
              {5, 9, 1, 2, "Lost clip"},     // parent never existed
              {7, 8, 1, 2, "Late clip"},     // parent has a larger ID
              {8, 1, 1, 1, "Late button"}});
    TIndex index(Library(), Dir(), Engine);
    EXPECT_EQ(Pages(index), (QStringList{"Page"}));
    EXPECT_EQ(Buttons(index, 1), (QStringList{"Late button"}));
    ASSERT_EQ(index.ClipCount(1, 1), 1);
    EXPECT_EQ(index.GetClip(1, 1, 1)->Title, "Late clip");
    EXPECT_EQ(index.SkippedRecords(), 3);
}

TEST_F(IndexTest, AddsNumberIdsAndPositions) {
    TIndex index(Library(), Dir(), Engine);
    EXPECT_EQ(index.PageCount(), 0);
    EXPECT_EQ(index.AddPage("P1"), 1);
    EXPECT_EQ(index.AddButton("B1", 1), 2);
    EXPECT_EQ(index.AddClip("C1", "00:00:00:00", "00:00:12:00", "Welcome", "next.", "c0101", 2, 1, 257), 3);
    EXPECT_EQ(index.AddPageByIndex("P2"), 2);
    EXPECT_EQ(index.AddButtonByIndex("B2", 1), 2);
    EXPECT_EQ(index.AddClipByIndex("C2", "", "", "", "", "c0102", 1, 1, 2, 0), 2);
    EXPECT_EQ(index.AddButton("no page", 99), -1);
    EXPECT_EQ(index.AddButtonByIndex("no page", 9), -1);

    TIndex reread(Library(), Dir(), Engine);
    EXPECT_EQ(Pages(reread), (QStringList{"P1", "P2"}));
    EXPECT_EQ(Buttons(reread, 1), (QStringList{"B1", "B2"}));
    const TMoviePageLinkList* clip = reread.GetClip(1, 1, 1);
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->ID, 3);
    EXPECT_EQ(clip->FileName, "c0101");
    EXPECT_EQ(clip->TimeOut, "00:00:12:00");
    EXPECT_EQ(clip->WordsIn, "Welcome");
    EXPECT_EQ(clip->ClipType, 257);
    EXPECT_EQ(reread.GetClip(1, 1, 2)->Reel, 2);
    EXPECT_EQ(reread.GetButtonMPLL(1, 2)->ID, 5);
}

TEST_F(IndexTest, MovesRenumberAndPersist) {
    struct Case {
        int to, from;
        QStringList expected;
    } cases[] = {
        {1, 3, {"Y", "W", "X", "Z"}}, {3, 1, {"X", "Y", "W", "Z"}}, {4, 1, {"X", "Y", "Z", "W"}},
        {2, 2, {"W", "X", "Y", "Z"}}, {5, 1, {"W", "X", "Y", "Z"}}, // no such position: nothing moves
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString courseDir = dir.path() + "/";
        {
            TIndex index(Library(), courseDir, Engine);
            for (const char* title : {"W", "X", "Y", "Z"})
                index.AddPage(title);
            index.ChangePageIndex(c.to, c.from);
            EXPECT_EQ(Pages(index), c.expected) << c.to << " <- " << c.from;
            for (int p = 1; p <= 4; ++p)
                EXPECT_EQ(index.GetPageMPLL(p)->Index, p);
        }
        TIndex reread(Library(), courseDir, Engine);
        EXPECT_EQ(Pages(reread), c.expected) << "stored: " << c.to << " <- " << c.from;
    }
}

TEST_F(IndexTest, DeletesRenumberAndTakeChildrenAlong) {
    {
        TIndex index(Library(), Dir(), Engine);
        int p1 = index.AddPage("One");
        index.AddPage("Two");
        index.AddPage("Three");
        int b = index.AddButton("B", p1);
        index.AddClip("C", "", "", "", "", "f", b, 1, 0);
        index.DeletePage(1);
        EXPECT_EQ(Pages(index), (QStringList{"Two", "Three"}));
        EXPECT_EQ(index.PageCount(), 2);
        EXPECT_EQ(index.GetPageMPLL(1)->Index, 1);
        EXPECT_EQ(index.GetPage(3), "");
        EXPECT_EQ(index.GetPage(0), "");
        EXPECT_EQ(index.GetButton(2, 0), "");
        EXPECT_EQ(index.GetButton(1, 1), "");
        EXPECT_EQ(index.GetClip(1, 1, 1), nullptr);
        index.DeletePage(7); // no such page: nothing happens
        // The freed IDs are not adopted by anything left behind.
        int again = index.AddPage("Four");
        EXPECT_EQ(index.ButtonCount(3), 0) << "new page " << again;
    }
    TIndex reread(Library(), Dir(), Engine);
    EXPECT_EQ(Pages(reread), (QStringList{"Two", "Three", "Four"}));
    EXPECT_EQ(reread.SkippedRecords(), 0);
}

TEST_F(IndexTest, RetitlesAndClipInfoPersist) {
    {
        TIndex index(Library(), Dir(), Engine);
        int p = index.AddPage("Old");
        int b = index.AddButton("Old button", p);
        index.AddClip("Old clip", "", "", "", "", "f", b, 1, 0);
        ASSERT_TRUE(index.ChangePageTitle(1, "New"));
        ASSERT_TRUE(index.ChangeButtonTitle(1, 1, "New button"));
        ASSERT_TRUE(index.ChangeClipInfo(1, 1, 1, "New clip", "a", "b", "c", "d", "g", 3, 257));
        EXPECT_FALSE(index.ChangePageTitle(1, "中文")) << "a title the table cannot hold";
        EXPECT_FALSE(index.LastError().isEmpty());
        EXPECT_EQ(index.GetPage(1), "New");
    }
    TIndex reread(Library(), Dir(), Engine);
    EXPECT_EQ(reread.GetPage(1), "New");
    EXPECT_EQ(reread.GetButton(1, 1), "New button");
    const TMoviePageLinkList* clip = reread.GetClip(1, 1, 1);
    EXPECT_EQ(clip->Title, "New clip");
    EXPECT_EQ(clip->FileName, "g");
    EXPECT_EQ(clip->Reel, 3);
    EXPECT_EQ(clip->ClipType, 257);
}

} // namespace
