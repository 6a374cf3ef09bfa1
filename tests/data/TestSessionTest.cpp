// Test sessions and the answers block.
#include "DataTestSupport.h"
#include "data/TAnswersBlock.h"
#include "data/TTestSession.h"

namespace {

class TestSessionTest : public DataTest {};

TAnswersBlock ThreeQuestions(bool finished) {
    TAnswersBlock block;
    block.Finished = finished;
    block.CurrentIndex = finished ? -1 : 1;
    block.Records = {{7, "SS101T", true, true, true, false, 0},
                     {9, "ABCDEFGHIJKLMNOP", false, true, false, true, 2},
                     {11, "SS101T", false, false, false, false, 5}};
    return block;
}

TEST(AnswersBlock, LayoutOfHeaderAndRecords) {
    QByteArray bytes = *ThreeQuestions(false).Write();
    ASSERT_EQ(bytes.size(), 104);
    const QByteArray header(
        "\x14\x00\x00\x00\x1c\x00\x00\x00\x03\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00", 20);
    EXPECT_EQ(bytes.left(20), header);
    const QByteArray first("\x07\x00\x00\x00"
                           "\x06SS101T\x00\x00\x00\x00\x00\x00"
                           "\x01\x01\x01\x00\x00\x00\x00"
                           "\x00\x00\x00\x00",
                           28);
    EXPECT_EQ(bytes.mid(20, 28), first);
    // A test identifier longer than 12 characters is cut to its first 12.
    EXPECT_EQ(bytes.mid(48 + 4, 13), QByteArray("\x0c"
                                                "ABCDEFGHIJKL"));
    EXPECT_EQ(bytes.mid(48 + 24, 4), QByteArray("\x02\x00\x00\x00", 4));

    QByteArray ended = *ThreeQuestions(true).Write();
    EXPECT_EQ(static_cast<unsigned char>(ended[12]), 255);
    EXPECT_EQ(ended.mid(16, 4), QByteArray("\xff\xff\xff\xff"));
}

TEST(AnswersBlock, ReadsBackAndRefusesDamage) {
    QByteArray bytes = *ThreeQuestions(false).Write();
    auto block = TAnswersBlock::Read(bytes);
    ASSERT_TRUE(block);
    EXPECT_FALSE(block->Finished);
    EXPECT_EQ(block->CurrentIndex, 1);
    ASSERT_EQ(block->Records.size(), 3u);
    EXPECT_EQ(block->Records[1].TestId, "ABCDEFGHIJKL");
    EXPECT_TRUE(block->Records[1].Marked);
    EXPECT_EQ(block->Records[2].Answer, 5);

    // Bytes past the stated length are ignored; a block shorter than its
    // header says, or with an impossible header, is not resumable.
    EXPECT_TRUE(TAnswersBlock::Read(bytes + "trailing"));
    EXPECT_FALSE(TAnswersBlock::Read(bytes.left(103)));
    EXPECT_FALSE(TAnswersBlock::Read(QByteArray()));
    QByteArray negative = bytes;
    negative[8] = '\xff';
    negative[11] = '\xff';
    EXPECT_FALSE(TAnswersBlock::Read(negative));
    QByteArray wide = bytes;
    wide[4] = 40; // a reader takes the record size from the header
    EXPECT_FALSE(TAnswersBlock::Read(wide)) << "3 x 40 + 20 bytes are not there";
}

TEST_F(TestSessionTest, LessonAndTestSessions) {
    TTestSession sessions(Library(), Dir(), Engine);
    EXPECT_EQ(sessions.GetNextId(), 1);
    int lesson = sessions.AddTestSession(4);
    EXPECT_EQ(lesson, 1);
    sessions.StartTest(TTestSession::LessonSession, 0);
    int test = sessions.AddTestSession(5);
    EXPECT_EQ(test, 2);
    sessions.StartTest(TTestSession::ClosedBookSession, 3);
    QByteArray block = *ThreeQuestions(false).Write();
    ASSERT_TRUE(sessions.EndTest(1, block, QString()));

    ASSERT_TRUE(sessions.OpenTestSession(lesson));
    ASSERT_TRUE(sessions.EndTest(0, QByteArray(), QString()));
    EXPECT_FALSE(sessions.OpenTestSession(99));
    EXPECT_EQ(sessions.GetId(), lesson) << "an absent ID leaves the current row";
    EXPECT_EQ(sessions.GetTestType(), 20);
    EXPECT_EQ(sessions.GetTaken(), 0);
    EXPECT_EQ(sessions.GetRight(), 0);
    EXPECT_TRUE(sessions.GetAnswers().isEmpty());
    EXPECT_EQ(sessions.GetDate(), QDate::currentDate().toString("MM/dd/yyyy"));

    ASSERT_TRUE(sessions.OpenTestSession(test));
    EXPECT_EQ(sessions.GetAssignId(), 5);
    EXPECT_EQ(sessions.GetTestType(), 2);
    EXPECT_EQ(sessions.GetTaken(), 3);
    EXPECT_EQ(sessions.GetRight(), 1);
    EXPECT_EQ(sessions.GetAnswers(), block);
    ASSERT_TRUE(sessions.SetHistory("history"));
    EXPECT_EQ(sessions.GetHistory(), "history");

    QList<int> listed;
    sessions.OnListItem = [&](int id) { listed << id; };
    sessions.ListSessions(5);
    EXPECT_EQ(listed, (QList<int>{2}));
}

} // namespace
