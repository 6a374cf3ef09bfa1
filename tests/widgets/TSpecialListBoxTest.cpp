#include "widgets/TSpecialListBox.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <functional>
#include <gtest/gtest.h>

namespace {

QList<QPixmap> Images(QSize size, std::initializer_list<QColor> colours) {
    QList<QPixmap> images;
    for (const QColor& colour : colours) {
        QPixmap image(size);
        image.fill(colour);
        images.append(image);
    }
    return images;
}

class ListFixture : public ::testing::Test {
protected:
    void SetUp() override {
        list.setFrameShape(QFrame::NoFrame);
        list.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list.resize(200, 300);
        list.show(); // lays out the viewport, whose width the rows wrap to
        QFont normal("DejaVu Sans");
        normal.setPixelSize(13);
        list.setFont(normal);
        QFont section = normal;
        section.setPixelSize(20);
        section.setBold(true);
        list.SetSectionFont(section);
    }
    // One line of wrapped text, as the list measures it.
    static int LineOf(const QFont& font) {
        return QFontMetrics(font).boundingRect(QRect(0, 0, 1000, 1000), Qt::TextWordWrap, "A").height();
    }
    int Line() const { return LineOf(list.font()); }
    int SectionLine() const { return LineOf(list.SectionFont()); }
    TSpecialListBox list;
};

TEST_F(ListFixture, RowHeightsFollowTheStateWithoutImages) {
    const int plain = list.AddItem("Plain", 0, 0);
    const int labelled = list.AddItem("Text", 0, 2);
    list.SetNewItem(labelled, "Step 1:");
    const int labelless = list.AddItem("Text", 0, 2);
    const int heading = list.AddItem("Heading", 0, 20);
    const int heading21 = list.AddItem("Heading", 0, 21);
    const int indented = list.AddItem("Indented", 0, 22);
    const int empty = list.AddItem("", 0, 0);
    EXPECT_EQ(list.MeasureItem(plain), Line());
    EXPECT_EQ(list.MeasureItem(labelled), 2 * Line()) << "one line taller for its label";
    EXPECT_EQ(list.MeasureItem(labelless), Line());
    EXPECT_EQ(list.MeasureItem(heading), SectionLine());
    EXPECT_EQ(list.MeasureItem(heading21), SectionLine());
    EXPECT_EQ(list.MeasureItem(indented), Line());
    EXPECT_EQ(list.MeasureItem(empty), Line()) << "an empty row can still be clicked";
    EXPECT_EQ(list.ItemRect(indented).top(), 4 * Line() + 2 * SectionLine());
    EXPECT_EQ(list.ItemAtPos({10, list.ItemRect(heading).top() + 1}), heading);
}

// The list keeps its rows measured; every change that moves a row's height
// must leave the rows where a fresh measurement puts them.
TEST_F(ListFixture, KeptHeightsFollowEveryChange) {
    const QString longText = "A long text that wraps over several lines in a narrow list of rows";
    for (int i = 0; i < 6; ++i)
        list.AddItem(QString("Row %1").arg(i), 0, i % 2 ? 0 : 22);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"text", [&] { list.SetItem(1, longText); }},
        {"label", [&] { list.SetNewItem(2, "Step 1:"); }},
        {"state", [&] { list.SetState(2, 2); }},
        {"section font", [&] { list.SetSectionFont(QFont("DejaVu Sans", 30)); }},
        {"heading", [&] { list.SetState(3, 20); }},
        {"font", [&] { list.setFont(QFont("DejaVu Sans", 18)); }},
        {"spacing", [&] { list.SetSpacing(40); }},
        {"images",
         [&] {
             list.SetImageList(Images({40, 40}, {Qt::red}));
         }},
        {"width", [&] { list.resize(120, 300); }},
        {"clear and add",
         [&] {
             list.Clear();
             list.AddItem(longText);
         }},
    };
    for (const auto& [name, change] : changes) {
        change();
        int top = 0;
        for (int i = 0; i < list.Count(); ++i) {
            EXPECT_EQ(list.ItemRect(i), QRect(0, top, list.viewport()->width(), list.MeasureItem(i)))
                << "row " << i << " after a change of " << name;
            top += list.MeasureItem(i);
        }
    }
}

// A hidden list (the directory before its window opens) is filled without
// measuring; shown, its rows, scroll range and selected row are where a
// visible list would have them.
TEST_F(ListFixture, AHiddenListFilledThenShownIsMeasuredAndScrolledToItsSelection) {
    list.hide();
    for (int i = 0; i < 200; ++i)
        list.AddItem(QString("Row %1").arg(i), 0, i % 21 ? 0 : 20);
    list.SetState(7, 20);
    list.SetItemIndex(150);
    list.show();
    int total = 0;
    for (int i = 0; i < list.Count(); ++i)
        total += list.MeasureItem(i);
    EXPECT_EQ(list.verticalScrollBar()->maximum(), total - list.viewport()->height());
    int top = -list.verticalScrollBar()->value();
    for (int i = 0; i < list.Count(); ++i) {
        ASSERT_EQ(list.ItemRect(i), QRect(0, top, list.viewport()->width(), list.MeasureItem(i)))
            << "row " << i;
        top += list.MeasureItem(i);
    }
    const QRect selected = list.ItemRect(150);
    EXPECT_GE(selected.top(), 0);
    EXPECT_LE(selected.bottom(), list.viewport()->height()) << "the selected row is in view";
}

TEST_F(ListFixture, RowHeightsWithAnImageList) {
    const int tallImage = Line() + 10;
    list.SetImageList(Images({16, tallImage}, {Qt::red, Qt::green}));
    const int plain = list.AddItem("Plain", 0, 1);
    const int heading = list.AddItem("Heading", 0, 20);
    const int indented = list.AddItem("Indented", 0, 22);
    const int labelled = list.AddItem("Text", 0, 2);
    list.SetNewItem(labelled, "Label");
    // Text centred on the image: top offset (image - line) / 2, and the row at least
    // image height + that offset.
    EXPECT_EQ(list.MeasureItem(plain), tallImage + (tallImage - Line()) / 2);
    EXPECT_EQ(list.MeasureItem(heading), std::max(SectionLine(), tallImage));
    EXPECT_EQ(list.MeasureItem(indented), tallImage);
    EXPECT_EQ(list.MeasureItem(labelled), 2 * Line() < tallImage ? tallImage + Line() : 2 * Line());

    list.SetImageList(Images({16, 4}, {Qt::red, Qt::green}));
    EXPECT_EQ(list.MeasureItem(plain), Line()) << "a short image adds nothing";
}

TEST_F(ListFixture, LongTextWrapsInTheWidthLeftBesideTheImage) {
    list.SetImageList(Images({40, 4}, {Qt::red}));
    const QString text = "a rather long row of text that cannot fit on one line of this narrow list box";
    const int row = list.AddItem(text, 0, 0);
    const int width = list.viewport()->width() - 40 - list.Spacing();
    const int wrapped =
        QFontMetrics(list.font()).boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, text).height();
    EXPECT_GE(wrapped, 3 * Line());
    EXPECT_EQ(list.MeasureItem(row), wrapped);
}

TEST_F(ListFixture, DrawsImagesAndHighlightsExceptLabelledRows) {
    list.SetColor(QColor(10, 20, 30));
    list.SetImageList(Images({8, 8}, {Qt::red, Qt::green}));
    const int marked = list.AddItem("Done", 0, 1);
    const int labelled = list.AddItem("Text", 0, 2);
    list.SetNewItem(labelled, "Label");
    const int plain = list.AddItem("Other", 0, 0);

    auto render = [&] {
        QImage image(list.size(), QImage::Format_RGB32);
        list.render(&image);
        return image;
    };
    const QImage normal = render();
    const QRect markedRow = list.ItemRect(marked);
    EXPECT_EQ(normal.pixel(3, markedRow.top() + (Line() - 8) / 2 + 3), QColor(Qt::green).rgb())
        << "image number 1 for state 1";
    EXPECT_EQ(normal.pixel(list.width() - 2, list.ItemRect(plain).top() + 1), qRgb(10, 20, 30));

    list.SetItemIndex(labelled);
    EXPECT_EQ(render().pixel(list.width() - 2, list.ItemRect(labelled).top() + 1), qRgb(10, 20, 30));
    list.SetItemIndex(plain);
    EXPECT_EQ(render().pixel(list.width() - 2, list.ItemRect(plain).top() + 1),
              list.palette().color(QPalette::Highlight).rgb());
}

} // namespace
