#include "widgets/TMovieButtonX.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString WritePicture(const QTemporaryDir& dir, const QString& name, QSize size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path, "BMP"));
    return path;
}

struct Recorder {
    QList<QString> events;
    void Attach(TMovieButtonX& control) {
        control.OnActiveButtonChanged = [this](QObject*, int index) {
            events << QString("changed %1").arg(index);
        };
        control.OnMovePointer = [this](QObject*, int left, int top) {
            events << QString("pointer %1,%2").arg(left).arg(top);
        };
    }
};

class MovieButtonFixture : public ::testing::Test {
protected:
    void SetUp() override {
        control.resize(373, 65);
        control.SetButtonFilename(WritePicture(dir, "button.bmp", {50, 20}, Qt::darkBlue));
        control.SetArrowFilename(WritePicture(dir, "arrow.bmp", {10, 10}, Qt::yellow));
        control.SetTopMargin(3);
        for (int i = 0; i < 5; ++i)
            control.SetButtonCaption(i, QString("Button %1").arg(i + 1));
        control.SetLinesVisible(5);
    }
    QTemporaryDir dir;
    TMovieButtonX control;
};

TEST_F(MovieButtonFixture, ButtonsFillColumnsOfAtMostMaxNumInColumn) {
    // 65 pixels hold three 20-pixel buttons below a 3-pixel top margin.
    EXPECT_EQ(control.ButtonRect(0), QRect(24, 3, 50, 20));
    EXPECT_EQ(control.ButtonRect(2), QRect(24, 43, 50, 20));
    EXPECT_EQ(control.ButtonRect(3), QRect(98, 3, 50, 20));
    control.SetMaxNumInColumn(2);
    EXPECT_EQ(control.ButtonRect(2), QRect(98, 3, 50, 20));
    EXPECT_EQ(control.ButtonRect(4), QRect(172, 3, 50, 20));
    EXPECT_TRUE(control.ButtonRect(5).isNull());
    EXPECT_EQ(control.ButtonAt({100, 10}), 2);
    EXPECT_EQ(control.ButtonAt({90, 10}), -1);
}

TEST_F(MovieButtonFixture, SettingActiveButtonReportsItAndMovesThePointer) {
    Recorder recorder;
    recorder.Attach(control);
    control.SetArrowLeftMargin(-8); // moves the pointer again only while a button is active
    EXPECT_TRUE(recorder.events.isEmpty());
    control.SetActiveButton(1);
    // left = 24 - 8 - 10 (arrow width), top = button top 23
    EXPECT_EQ(recorder.events, (QList<QString>{"changed 1", "pointer 6,23"}));
    recorder.events.clear();
    control.SetActiveButton(1);
    EXPECT_EQ(recorder.events, (QList<QString>{"changed 1", "pointer 6,23"})) << "the same button again";
    recorder.events.clear();
    control.SetLinesVisible(0);
    control.SetActiveButton(0);
    EXPECT_EQ(recorder.events, (QList<QString>{"changed 0"})) << "no pointer beside a hidden button";
    recorder.events.clear();
    control.SetLinesVisible(2);
    EXPECT_EQ(recorder.events, (QList<QString>{"pointer 6,3"})) << "the pointer follows a new layout";
}

TEST_F(MovieButtonFixture, ClickAndKeysPickAButton) {
    Recorder recorder;
    recorder.Attach(control);
    const QPoint onFourth = control.ButtonRect(3).center();
    QTest::mouseClick(&control, Qt::LeftButton, {}, onFourth);
    EXPECT_EQ(control.ActiveButton(), 3);
    EXPECT_EQ(recorder.events.first(), "changed 3");

    QTest::mouseClick(&control, Qt::LeftButton, {}, {5, 5}); // beside the buttons
    EXPECT_EQ(control.ActiveButton(), 3);

    QTest::keyClick(&control, Qt::Key_Up);
    QTest::keyClick(&control, Qt::Key_Up);
    EXPECT_EQ(control.ActiveButton(), 3) << "arrow keys only move the focus";
    QTest::keyClick(&control, Qt::Key_Return);
    EXPECT_EQ(control.ActiveButton(), 1);
    QTest::keyClick(&control, Qt::Key_Right); // one column on: three buttons per column
    QTest::keyClick(&control, Qt::Key_Space);
    EXPECT_EQ(control.ActiveButton(), 4);
}

QImage Render(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    widget.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

int DifferingPixels(const QImage& a, const QImage& b, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

TEST_F(MovieButtonFixture, DrawsBackgroundButtonsCaptionsAndMarks) {
    control.SetBackground(WritePicture(dir, "back.bmp", {10, 10}, QColor(0, 128, 0)));
    const QImage unstretched = Render(control);
    EXPECT_EQ(unstretched.pixel(2, 2), qRgb(0, 128, 0));
    EXPECT_NE(unstretched.pixel(300, 60), qRgb(0, 128, 0));
    control.SetStretchBackground(true);
    const QImage plain = Render(control);
    EXPECT_EQ(plain.pixel(300, 60), qRgb(0, 128, 0));
    EXPECT_EQ(plain.pixel(26, 5), QColor(Qt::darkBlue).rgb()) << "button picture";

    control.SetButtonMark(0, 1);
    const QImage marked = Render(control);
    const QRect first = control.ButtonRect(0);
    const QRect markArea(first.center().x(), first.top(), first.width() / 2, first.height());
    EXPECT_GT(DifferingPixels(plain, marked, markArea), 10);
    EXPECT_EQ(DifferingPixels(plain, marked, control.ButtonRect(1)), 0);

    control.SetButtonCaption(1, "Other");
    EXPECT_GT(DifferingPixels(marked, Render(control), control.ButtonRect(1)), 10);

    control.OnMovePointer = nullptr;
    control.SetActiveButton(2);
    const QImage withArrow = Render(control);
    const QPoint pointer = control.PointerPosition();
    EXPECT_EQ(withArrow.pixel(pointer + QPoint(5, 5)), QColor(Qt::yellow).rgb())
        << "own arrow without a host";
}

} // namespace
