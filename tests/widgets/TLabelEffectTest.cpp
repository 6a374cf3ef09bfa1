#include "widgets/TLabelEffect.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

const QColor kBackground(10, 200, 30);

// Aliased text, so every glyph pixel has exactly its copy's colour.
void UseAliasedFont(TLabelEffect& label, int pointSize = 20) {
    QFont font = label.font();
    font.setPointSize(pointSize);
    font.setStyleStrategy(QFont::NoAntialias);
    label.setFont(font);
}

QImage Render(TLabelEffect& label) {
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(kBackground);
    label.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

// Pixels the caption covers when drawn once at the origin.
QImage GlyphMask(const TLabelEffect& source) {
    TLabelEffect plain;
    plain.resize(source.size());
    plain.setFont(source.font());
    plain.SetCaption(source.Caption());
    plain.SetEffectStyle(esNone);
    plain.SetFontColor(Qt::black);
    return Render(plain);
}

struct Layer {
    QPoint offset;
    QColor colour;
};

// What the label must show: each layer, in drawing order, is the mask moved by its offset.
QImage Composite(const QImage& mask, const std::vector<Layer>& layers) {
    QImage expected(mask.size(), QImage::Format_RGB32);
    expected.fill(kBackground);
    for (const Layer& layer : layers)
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x) {
                const QPoint from = QPoint(x, y) - layer.offset;
                if (mask.rect().contains(from) && mask.pixel(from) == qRgb(0, 0, 0))
                    expected.setPixel(x, y, layer.colour.rgb());
            }
    return expected;
}

int DifferingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

const QColor kWhite(255, 255, 255), kBlack(0, 0, 0), kGrey(128, 128, 128);

TEST(TLabelEffect, CopiesAreDrawnAtTheirOffsetsInShadowHighlightFaceOrder) {
    struct Case {
        const char* name;
        std::function<void(TLabelEffect&)> setUp;
        std::vector<Layer> layers; // shadow, highlight, face
    };
    const std::vector<Case> cases = {
        {"new label is raised", [](TLabelEffect&) {}, {{{2, 2}, kBlack}, {{0, 0}, kWhite}, {{1, 1}, kGrey}}},
        {"sunken",
         [](TLabelEffect& l) { l.SetEffectStyle(esSunken); },
         {{{0, 0}, kBlack}, {{2, 2}, kWhite}, {{1, 1}, kGrey}}},
        {"flying draws both copies in the shadow colour",
         [](TLabelEffect& l) { l.SetEffectStyle(esFlying); },
         {{{5, 5}, kBlack}, {{1, 1}, kBlack}, {{0, 0}, kGrey}}},
        {"shadow",
         [](TLabelEffect& l) { l.SetEffectStyle(esShadow); },
         {{{2, 2}, kBlack}, {{0, 0}, kWhite}, {{0, 0}, kGrey}}},
        {"gold scheme",
         [](TLabelEffect& l) { l.SetColourScheme(csGold); },
         {{{2, 2}, kBlack}, {{0, 0}, QColor(255, 255, 0)}, {{1, 1}, QColor(128, 128, 0)}}},
        {"steel scheme",
         [](TLabelEffect& l) { l.SetColourScheme(csSteel); },
         {{{2, 2}, QColor(0, 0, 128)}, {{0, 0}, QColor(0, 255, 255)}, {{1, 1}, QColor(0, 128, 128)}}},
        {"page name as windows describe it",
         [](TLabelEffect& l) {
             l.SetDepthShadow(2);
             l.SetDirectionHighlight(edDownRight);
             l.SetColourHighlight(kBlack);
             l.SetEffectStyle(esCustom);
             l.SetColourScheme(csCustom);
         },
         {{{2, 2}, kBlack}, {{1, 1}, kBlack}, {{0, 0}, kGrey}}},
        {"lift mixes x and y steps",
         [](TLabelEffect& l) {
             l.SetDirectionHighlight(edUpRight);
             l.SetDepthHighlight(3);
             l.SetColourShadow(QColor(0, 0, 255));
         },
         {{{4, 4}, QColor(0, 0, 255)}, {{6, 0}, kWhite}, {{3, 3}, kGrey}}},
        {"no direction adds no offset",
         [](TLabelEffect& l) {
             l.SetDirectionShadow(edNone);
             l.SetDepthShadow(7);
             l.SetColourShadow(QColor(255, 0, 0));
         },
         {{{1, 1}, QColor(255, 0, 0)}, {{0, 0}, kWhite}, {{1, 1}, kGrey}}},
    };
    for (const Case& c : cases) {
        TLabelEffect label;
        label.resize(160, 60);
        UseAliasedFont(label);
        label.SetCaption("Hxg");
        c.setUp(label);
        const QImage mask = GlyphMask(label);
        ASSERT_GT(DifferingPixels(mask, Composite(mask, {})), 50) << "the caption must leave ink to compare";
        const QImage expected = Composite(mask, c.layers);
        EXPECT_EQ(DifferingPixels(Render(label), expected), 0) << c.name;
    }
}

TEST(TLabelEffect, SchemeColoursAndTheCustomRow) {
    TLabelEffect label;
    label.SetColourScheme(csGold);
    EXPECT_EQ(label.ColourHighlight(), QColor(255, 255, 0));
    EXPECT_EQ(label.ColourShadow(), kBlack);
    EXPECT_EQ(label.FontColor(), QColor(128, 128, 0));

    label.SetColourHighlight(QColor(255, 0, 0));
    EXPECT_EQ(label.ColourScheme(), csCustom);
    label.SetColourScheme(csText);
    EXPECT_EQ(label.FontColor(), kBlack);
    EXPECT_EQ(label.ColourShadow(), kGrey);
    // Choosing csText copied its colours into the custom row.
    label.SetColourHighlight(QColor(1, 2, 3));
    label.SetColourScheme(csWindows);
    label.SetColourScheme(csCustom);
    EXPECT_EQ(label.ColourHighlight(), kWhite);
    EXPECT_EQ(label.ColourShadow(), kBlack);
    EXPECT_EQ(label.FontColor(), kGrey);
}

TEST(TLabelEffect, CustomColoursSurviveUntilAnotherSchemeIsChosen) {
    TLabelEffect label;
    label.SetColourScheme(csGold);
    label.SetColourHighlight(QColor(255, 0, 0));
    label.SetEffectStyle(esSunken); // resets the highlight to the current (custom) scheme's: red
    EXPECT_EQ(label.ColourHighlight(), QColor(255, 0, 0));
    EXPECT_EQ(label.ColourShadow(), kBlack);
    EXPECT_EQ(label.FontColor(), QColor(128, 128, 0));
    EXPECT_EQ(label.ColourScheme(), csCustom);
}

TEST(TLabelEffect, UnrotatedCaptionShowsAtMost255Characters) {
    TLabelEffect label, limit;
    for (TLabelEffect* l : {&label, &limit}) {
        l->resize(600, 400);
        UseAliasedFont(*l, 9);
    }
    const QString first255(255, QChar('a'));
    label.SetCaption(first255 + "WWWWWWWWWW");
    limit.SetCaption(first255);
    EXPECT_EQ(DifferingPixels(Render(label), Render(limit)), 0);
}

QRect InkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kBackground.rgb())
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

TEST(TLabelEffect, RotatedCaptionIsOneLineTurnedAboutItsCentre) {
    TLabelEffect label;
    label.resize(300, 300);
    UseAliasedFont(label);
    label.SetAlignment(Qt::AlignHCenter);
    label.SetCaption("A long caption");
    label.SetEffectStyle(esNone);
    label.SetAngle(90);
    EXPECT_EQ(label.Alignment(), Qt::AlignLeft);

    const QRect ink = InkBounds(Render(label));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.height(), 2 * ink.width()) << "drawn as one upright line";
    const QFontMetrics metrics(label.font());
    const int q = metrics.horizontalAdvance(label.Caption() + "   ") / 2;
    EXPECT_NEAR(ink.center().y(), q, 6);
    EXPECT_NEAR(ink.center().x(), q, metrics.height() / 2 + 2);

    label.SetTransparent(false);
    label.SetColor(QColor(255, 0, 0));
    const QImage filled = Render(label);
    EXPECT_EQ(filled.pixel(q, q), qRgb(255, 0, 0)) << "background quadrilateral around the centre";
    EXPECT_EQ(filled.pixel(2, 2), kBackground.rgb());
}

void Send(QWidget& widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(pos), widget.mapToGlobal(QPointF(pos)), button, buttons, modifiers);
    QApplication::sendEvent(&widget, &event);
}

TEST(TLabelEffect, ButtonLabelPressesInAndOut) {
    TLabelEffect label;
    int downs = 0, clicks = 0;
    label.OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; };
    label.OnClick = [&](QObject*) { ++clicks; };
    label.SetAsButton(true);
    label.SetEffectStyle(esShadow); // turns the button off
    EXPECT_FALSE(label.AsButton());
    label.SetAsButton(true);
    EXPECT_EQ(label.EffectStyle(), esRaised);

    Send(label, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(label.EffectStyle(), esSunken);
    EXPECT_EQ(downs, 0);
    Send(label, QEvent::MouseMove, {-3, 5}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(label.EffectStyle(), esRaised);
    Send(label, QEvent::MouseMove, {label.width(), label.height()}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(label.EffectStyle(), esSunken) << "the right and bottom edges count as inside";
    Send(label, QEvent::MouseMove, {500, 5}, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(label.EffectStyle(), esSunken) << "a modifier key stops the tracking";
    Send(label, QEvent::MouseButtonRelease, {6, 6}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(label.EffectStyle(), esRaised);
    EXPECT_EQ(clicks, 1);

    Send(label, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    Send(label, QEvent::MouseButtonRelease, {500, 6}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(label.EffectStyle(), esSunken) << "released outside: nothing changes";
    EXPECT_EQ(clicks, 1);

    label.SetDepthShadow(3);
    EXPECT_EQ(label.EffectStyle(), esCustom);
    EXPECT_FALSE(label.AsButton());
    Send(label, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(label.EffectStyle(), esCustom);
}

} // namespace
