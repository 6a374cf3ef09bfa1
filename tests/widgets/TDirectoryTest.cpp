#include "widgets/TDirectory.h"
#include "widgets/TMovieButtonX.h"
#include "widgets/TSpecialListBox.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

// Page 1 with three buttons, page 2 with one: rows P1 B1 B2 B3 P2 B1.
class DirectoryFixture : public ::testing::Test {
protected:
    void SetUp() override {
        directory.AddPageRow("Getting started", 1);
        for (int b = 1; b <= 3; ++b)
            directory.AddButtonRow(QString("Lesson %1").arg(b), 1, b, 0);
        directory.AddPageRow("Going further", 2);
        directory.AddButtonRow("Lesson 4", 2, 1, 0);
        marks = QByteArray(6, '\0');
        directory.SetMarks(&marks);
        directory.SetMovieButtons(&movieButtons);
        directory.CurrentPage = [this] { return currentPage; };
        directory.OnGoToButton = [this](QObject*, int page, int button) { chosen << QPoint(page, button); };
        directory.show();
    }
    QPoint RowCentre(int row) const { return directory.ListBox1->ItemRect(row).center(); }
    void Click(int row, Qt::MouseButton button) {
        QTest::mouseClick(directory.ListBox1->viewport(), button, {}, RowCentre(row));
    }

    TDirectory directory;
    TMovieButtonX movieButtons;
    QByteArray marks;
    int currentPage = 2;
    QList<QPoint> chosen;
};

TEST_F(DirectoryFixture, RightClickTogglesMarksButNeverOnAPageRow) {
    Click(4, Qt::RightButton);
    EXPECT_EQ(directory.ListBox1->State(4), 20);
    EXPECT_EQ(marks, QByteArray(6, '\0'));

    Click(5, Qt::RightButton); // button 1 of the page being shown
    EXPECT_EQ(directory.ListBox1->State(5), 1);
    EXPECT_EQ(marks.at(5), 1);
    EXPECT_EQ(movieButtons.ButtonMark(0), 1);

    Click(2, Qt::RightButton); // page 1 is not shown: the control keeps its marks
    EXPECT_EQ(marks.at(2), 1);
    EXPECT_EQ(movieButtons.ButtonMark(1), 0);

    Click(5, Qt::RightButton);
    EXPECT_EQ(marks.at(5), 0);
    EXPECT_EQ(movieButtons.ButtonMark(0), 0);
    EXPECT_TRUE(chosen.isEmpty()) << "right clicks choose nothing";
    EXPECT_TRUE(directory.isVisible());
}

TEST_F(DirectoryFixture, ShortMarksGrowInsteadOfLosingTheMark) {
    marks = QByteArray(2, '\0');
    directory.ToggleMark(5);
    EXPECT_EQ(marks, QByteArray("\0\0\0\0\0\1", 6));
}

TEST_F(DirectoryFixture, LeftClickHidesTheWindowAndReportsPageAndButton) {
    Click(4, Qt::LeftButton);
    EXPECT_FALSE(directory.isVisible());
    directory.show();
    Click(3, Qt::LeftButton);
    EXPECT_EQ(chosen, (QList<QPoint>{{2, 0}, {1, 3}}));
}

TEST(TDirectory, StandsBesideItsAnchorWhenShown) {
    QWidget mainWindow;
    mainWindow.move(100, 50);
    TDirectory directory;
    EXPECT_EQ(directory.size(), QSize(167, 306));
    EXPECT_TRUE(directory.windowFlags() & Qt::WindowStaysOnTopHint);
    directory.SetAnchor(&mainWindow);
    directory.show();
    EXPECT_EQ(directory.pos(), QPoint(400, 80));
    mainWindow.move(10, 20);
    directory.FollowAnchor();
    EXPECT_EQ(directory.pos(), QPoint(310, 50));
}

} // namespace
