#include "widgets/TBanner.h"
#include "widgets/TBannerError.h"

#include <gtest/gtest.h>

namespace {

const QColor kBack(99, 80, 107);

QImage Solid(int width, int height, const QColor& colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage Render(TBanner& banner) {
    QImage image(banner.size(), QImage::Format_RGB32);
    banner.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

// The buffering window's banner: 273 × 16, 2 pixels every 40 ms.
void MakeBufferingBanner(TBanner& banner) {
    banner.resize(273, 16);
    banner.SetAutoEnable(false);
    banner.SetScrollInterval(40);
    banner.SetScrollPixels(2);
    banner.SetColor(kBack);
}

TEST(TBanner, EnablingWithNothingToShowIsAnError) {
    TBanner banner;
    EXPECT_EQ(banner.size(), QSize(100, 100));
    try {
        banner.SetEnabled(true);
        FAIL() << "no error";
    } catch (const TBannerError& error) {
        EXPECT_STREQ(error.what(), "Assign a bitmap or text to banner before enabling");
    }
    EXPECT_FALSE(banner.Enabled());
    banner.SetScrollText(""); // empty text with AutoEnable leaves the banner still, without an error
    EXPECT_FALSE(banner.Enabled());
}

TEST(TBanner, SixtyPixelContentRestartsAfter167Ticks) {
    TBanner banner;
    MakeBufferingBanner(banner);
    banner.SetBitmap(Solid(60, 16, Qt::white));
    EXPECT_FALSE(banner.Enabled());
    banner.SetEnabled(true);
    for (int tick = 1; tick <= 166; ++tick)
        banner.Tick();
    EXPECT_EQ(banner.Position(), 332);
    banner.Tick();
    EXPECT_EQ(banner.Position(), 0);
    EXPECT_TRUE(banner.Enabled());
}

TEST(TBanner, ContentEntersAtTheLeadingEdgeForEachDirection) {
    struct Case {
        TScrollDirection direction;
        QPoint inside, outside; // pixels after 10 ticks of 2 pixels (position 20)
    };
    for (const Case& c : {Case{sdRightToLeft, {255, 8}, {250, 8}}, Case{sdLeftToRight, {15, 8}, {22, 8}},
                          Case{sdTopToBottom, {5, 15}, {5, 25}}, Case{sdBottomToTop, {5, 35}, {5, 15}}}) {
        TBanner banner;
        MakeBufferingBanner(banner);
        banner.resize(273, 40);
        banner.SetBitmap(Solid(60, 16, Qt::white));
        banner.SetScrollDirection(c.direction);
        for (int tick = 0; tick < 10; ++tick)
            banner.Tick();
        const QImage image = Render(banner);
        EXPECT_EQ(image.pixel(c.inside), qRgb(255, 255, 255)) << "direction " << c.direction;
        EXPECT_EQ(image.pixel(c.outside), kBack.rgb()) << "direction " << c.direction;
    }
}

TEST(TBanner, NoGapRepeatsTheContentEdgeToEdge) {
    TBanner banner;
    MakeBufferingBanner(banner);
    banner.SetNoGap(true);
    QImage striped = Solid(60, 16, Qt::white);
    for (int y = 0; y < 16; ++y)
        striped.setPixel(0, y, qRgb(255, 0, 0));
    banner.SetBitmap(striped);
    for (int tick = 0; tick < 35; ++tick)
        banner.Tick();
    EXPECT_EQ(banner.Position(), 10) << "70 wraps to 10 within the 60-pixel content";
    const QImage image = Render(banner);
    int redColumns = 0;
    for (int x = 0; x < image.width(); ++x) {
        EXPECT_NE(image.pixel(x, 5), kBack.rgb()) << "gap at " << x;
        redColumns += image.pixel(x, 5) == qRgb(255, 0, 0);
    }
    EXPECT_EQ(redColumns, 5) << "one copy every 60 pixels across 273";
}

TEST(TBanner, OnlyOnceStopsAfterOnePassAndFreesRenderedText) {
    TBanner banner;
    MakeBufferingBanner(banner);
    banner.SetOnlyOnce(true);
    int disabled = 0;
    banner.OnDisable = [&](QObject*) { ++disabled; };
    banner.SetScrollText("Buffering the next clip");
    disabled = 0; // assigning text disables first
    ASSERT_FALSE(banner.Bitmap().isNull());
    banner.SetEnabled(true);
    const int travel = banner.Bitmap().width() + banner.width();
    while (banner.Enabled() && banner.Position() < 10 * travel)
        banner.Tick();
    EXPECT_FALSE(banner.Enabled());
    EXPECT_GT(banner.Position(), travel);
    EXPECT_TRUE(banner.Bitmap().isNull()) << "text content is rendered again when enabled";
    EXPECT_EQ(disabled, 1);
    banner.SetEnabled(true);
    EXPECT_FALSE(banner.Bitmap().isNull());
}

TEST(TBanner, LinesAreAlignedInsideTheirBlock) {
    TBanner banner;
    banner.SetAutoEnable(false);
    banner.SetColor(Qt::black);
    banner.SetFontColor(Qt::white);
    const QStringList lines{"Wide first line of the block", "I"};
    const QFontMetrics metrics(banner.font());
    struct Case {
        Qt::Alignment align;
        int shortLineLeft;
    };
    const int free = metrics.horizontalAdvance(lines[0]) - metrics.horizontalAdvance(lines[1]);
    for (const Case& c :
         {Case{Qt::AlignLeft, 0}, Case{Qt::AlignRight, free}, Case{Qt::AlignHCenter, free / 2}}) {
        banner.SetLinesAlign(c.align);
        banner.SetLines(lines);
        const QImage block = banner.Bitmap();
        ASSERT_EQ(block.size(), QSize(metrics.horizontalAdvance(lines[0]), 2 * metrics.height()));
        int firstInk = -1;
        for (int x = 0; x < block.width() && firstInk < 0; ++x)
            for (int y = metrics.height(); y < block.height(); ++y)
                if (block.pixel(x, y) != qRgb(0, 0, 0)) {
                    firstInk = x;
                    break;
                }
        EXPECT_NEAR(firstInk, c.shortLineLeft, 3) << "alignment " << int(c.align);
    }
}

} // namespace
