#include "widgets/TGifImage.h"
#include "GifWriter.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QByteArray SolidGif(int width, int height, const QColor& colour) {
    GifPicture picture{.width = width, .height = height, .globalMap = {colour, Qt::black}};
    GifFrameSpec frame;
    frame.width = width, frame.height = height;
    frame.indices.assign(size_t(width) * height, 0);
    picture.frames = {frame};
    return WriteGif(picture);
}

// Frames of one pixel, coloured red, green, blue in turn, each `delayCs` long.
QByteArray ThreeFrameAnimation(int delayCs, int loopCount) {
    GifPicture picture{.width = 1, .height = 1, .globalMap = {Qt::red, Qt::green, Qt::blue, Qt::white}};
    picture.loopCount = loopCount;
    for (unsigned char i = 0; i < 3; ++i) {
        GifFrameSpec frame;
        frame.indices = {i};
        frame.delayCs = delayCs;
        picture.frames.push_back(frame);
    }
    return WriteGif(picture);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(TGifImage, MissingFileKeepsThePictureAndInvalidFileShowsNothing) {
    QTemporaryDir dir;
    const QString good = dir.filePath("blue.gif"), bad = dir.filePath("notagif.gif");
    WriteFile(good, SolidGif(3, 2, Qt::blue));
    WriteFile(bad, "this is text");

    TGifImage image;
    image.SetFileName(good);
    ASSERT_FALSE(image.IsEmpty());
    EXPECT_EQ(image.PictureSize(), QSize(3, 2));
    EXPECT_EQ(image.CurrentImage().pixel(2, 1), QColor(Qt::blue).rgb());

    image.SetFileName(dir.filePath("missing.gif"));
    EXPECT_FALSE(image.IsEmpty());
    EXPECT_EQ(image.FileName(), good);

    image.SetFileName(bad);
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.FileName(), bad);
    EXPECT_TRUE(image.CurrentImage().isNull());
}

TEST(TGifImage, AutoSizeTakesThePictureSize) {
    TGifImage image;
    image.resize(50, 50);
    image.LoadFromData(SolidGif(7, 4, Qt::red));
    EXPECT_EQ(image.size(), QSize(50, 50));
    image.SetAutoSize(true);
    EXPECT_EQ(image.size(), QSize(7, 4));
    image.LoadFromData(SolidGif(9, 3, Qt::red));
    EXPECT_EQ(image.size(), QSize(9, 3));
}

TEST(TGifImage, SpeedScalesTheRecordedFrameTime) {
    TGifImage image;
    image.SetAnimate(false);
    image.LoadFromData(ThreeFrameAnimation(10, 0)); // 100 ms per frame as recorded
    struct Case {
        int speed, expectedMs;
    };
    for (const Case& c :
         {Case{100, 100}, Case{200, 50}, Case{50, 200}, Case{1, 10000}, Case{0, 10000}, Case{-20, 10000}}) {
        image.SetSpeed(c.speed);
        EXPECT_EQ(image.FrameInterval(0), c.expectedMs) << "speed " << c.speed;
    }
}

TEST(TGifImage, AnimationLoopsOnlyWhenTheFileAsksForIt) {
    TGifImage looping;
    looping.SetSpeed(1000); // 20 ms frames become 2 ms
    looping.LoadFromData(ThreeFrameAnimation(2, 0));
    QList<int> seen;
    for (int i = 0; i < 200 && seen.size() < 5; ++i) {
        QTest::qWait(2);
        if (seen.isEmpty() || seen.last() != looping.CurrentFrame())
            seen.append(looping.CurrentFrame());
    }
    EXPECT_TRUE(seen.contains(2));
    EXPECT_GE(seen.count(0), 1);
    EXPECT_TRUE(seen.indexOf(0, seen.indexOf(2)) > 0) << "wrapped back to the first frame";

    TGifImage once;
    once.SetSpeed(1000);
    once.LoadFromData(ThreeFrameAnimation(2, -1));
    QTRY_COMPARE_WITH_TIMEOUT(once.CurrentFrame(), 2, 2000);
    QTest::qWait(50);
    EXPECT_EQ(once.CurrentFrame(), 2);
    EXPECT_EQ(once.CurrentImage().pixel(0, 0), QColor(Qt::blue).rgb());

    TGifImage still;
    still.SetAnimate(false);
    still.LoadFromData(ThreeFrameAnimation(2, 0));
    QTest::qWait(30);
    EXPECT_EQ(still.CurrentFrame(), 0);
}

TEST(TGifImage, StretchFillsTheControl) {
    TGifImage image;
    image.LoadFromData(SolidGif(2, 2, Qt::green));
    image.resize(10, 10);
    QImage plain(10, 10, QImage::Format_RGB32), stretched(10, 10, QImage::Format_RGB32);
    plain.fill(Qt::black);
    stretched.fill(Qt::black);
    image.render(&plain, {}, {}, QWidget::DrawChildren);
    image.SetStretch(true);
    image.render(&stretched, {}, {}, QWidget::DrawChildren);
    EXPECT_EQ(plain.pixel(1, 1), QColor(Qt::green).rgb());
    EXPECT_EQ(plain.pixel(8, 8), QColor(Qt::black).rgb());
    EXPECT_EQ(stretched.pixel(8, 8), QColor(Qt::green).rgb());
}

} // namespace
