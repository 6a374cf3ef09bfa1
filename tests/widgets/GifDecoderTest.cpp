#include "widgets/GifDecoder.h"
#include "GifWriter.h"

#include <gtest/gtest.h>

namespace {

const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kBlue(0, 0, 255), kWhite(255, 255, 255);
constexpr uint32_t kClear = 0;

uint32_t Argb(const QColor& c) {
    return 0xFF000000u | (uint32_t(c.red()) << 16) | (uint32_t(c.green()) << 8) | uint32_t(c.blue());
}

TGifAnimation Decode(const QByteArray& bytes) {
    return DecodeGif(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

GifFrameSpec Frame(int left, int top, int width, int height, std::vector<unsigned char> indices) {
    GifFrameSpec frame;
    frame.left = left, frame.top = top, frame.width = width, frame.height = height;
    frame.indices = std::move(indices);
    return frame;
}

// Drops the global colour table from a written file and clears its flag in the header.
QByteArray WithoutGlobalMap(QByteArray bytes) {
    const auto flags = uint8_t(bytes[10]);
    if (flags & 0x80) {
        const int tableBytes = 3 * (1 << ((flags & 7) + 1));
        bytes.remove(13, tableBytes);
        bytes[10] = char(flags & 0x7F);
    }
    return bytes;
}

TEST(GifDecoder, StillPictureUsesGlobalMapAndTransparentIndex) {
    GifPicture picture{.width = 2, .height = 2, .globalMap = {kRed, kGreen, kBlue, kWhite}};
    GifFrameSpec frame = Frame(0, 0, 2, 2, {0, 1, 2, 3});
    frame.transparentIndex = 2;
    picture.frames = {frame};
    const TGifAnimation gif = Decode(WriteGif(picture));
    ASSERT_EQ(gif.Frames.size(), 1u);
    EXPECT_EQ(gif.Width, 2);
    EXPECT_EQ(gif.Height, 2);
    EXPECT_EQ(gif.Frames[0].Pixels, (std::vector<uint32_t>{Argb(kRed), Argb(kGreen), kClear, Argb(kWhite)}));
    EXPECT_EQ(gif.LoopCount, -1);
}

TEST(GifDecoder, LocalMapWinsAndIndicesBeyondTheMapStayTransparent) {
    GifPicture picture{.width = 3, .height = 1, .globalMap = {kRed, kGreen}};
    GifFrameSpec local = Frame(0, 0, 2, 1, {0, 1});
    local.localMap = {kBlue, kWhite};
    GifFrameSpec beyond = Frame(2, 0, 1, 1, {7}); // the global map has 2 entries
    picture.frames = {local, beyond};
    const TGifAnimation gif = Decode(WriteGif(picture));
    ASSERT_EQ(gif.Frames.size(), 2u);
    EXPECT_EQ(gif.Frames[1].Pixels, (std::vector<uint32_t>{Argb(kBlue), Argb(kWhite), kClear}));
}

TEST(GifDecoder, FrameWithoutAnyMapPaintsNothing) {
    GifPicture picture{.width = 2, .height = 1, .globalMap = {kRed, kGreen}, .frames = {Frame(0, 0, 2, 1, {0, 1})}};
    const TGifAnimation gif = Decode(WithoutGlobalMap(WriteGif(picture)));
    ASSERT_EQ(gif.Frames.size(), 1u);
    EXPECT_EQ(gif.Frames[0].Pixels, (std::vector<uint32_t>{kClear, kClear}));
}

TEST(GifDecoder, DisposalOfThePreviousFrameDecidesWhatTheNextOneDrawsOver) {
    // Green background frame, then red at x 0 with the disposal under test, then blue at x 1.
    struct Case {
        int disposal;
        uint32_t leftAfterThirdFrame;
    };
    for (const Case& c : {Case{0, Argb(kRed)}, Case{1, Argb(kRed)}, Case{2, kClear}, Case{3, Argb(kGreen)}}) {
        GifPicture picture{.width = 2, .height = 1, .globalMap = {kRed, kGreen, kBlue, kWhite}};
        GifFrameSpec red = Frame(0, 0, 1, 1, {0});
        red.disposal = c.disposal;
        picture.frames = {Frame(0, 0, 2, 1, {1, 1}), red, Frame(1, 0, 1, 1, {2})};
        const TGifAnimation gif = Decode(WriteGif(picture));
        ASSERT_EQ(gif.Frames.size(), 3u) << "disposal " << c.disposal;
        EXPECT_EQ(gif.Frames[1].Pixels[0], Argb(kRed)) << "disposal " << c.disposal;
        EXPECT_EQ(gif.Frames[2].Pixels, (std::vector<uint32_t>{c.leftAfterThirdFrame, Argb(kBlue)}))
            << "disposal " << c.disposal;
    }
}

TEST(GifDecoder, InterlacedRowsLandInDisplayOrder) {
    GifPicture picture{.width = 1, .height = 11, .globalMap = {}};
    std::vector<unsigned char> indices;
    for (int i = 0; i < 11; ++i) {
        picture.globalMap.append(QColor(i * 20, 0, 0));
        indices.push_back(static_cast<unsigned char>(i));
    }
    GifFrameSpec frame = Frame(0, 0, 1, 11, indices);
    frame.interlace = true;
    picture.frames = {frame};
    const TGifAnimation gif = Decode(WriteGif(picture));
    ASSERT_EQ(gif.Frames.size(), 1u);
    for (int row = 0; row < 11; ++row)
        EXPECT_EQ(gif.Frames[0].Pixels[row], Argb(QColor(row * 20, 0, 0))) << "row " << row;
}

TEST(GifDecoder, FrameReachingPastTheScreenIsClipped) {
    GifPicture picture{.width = 2, .height = 2, .globalMap = {kRed, kGreen}};
    picture.frames = {Frame(1, 1, 3, 3, {0, 0, 0, 0, 0, 0, 0, 0, 0}), Frame(5, 5, 1, 1, {1})};
    const TGifAnimation gif = Decode(WriteGif(picture));
    ASSERT_EQ(gif.Frames.size(), 2u); // the frame wholly outside still counts, for its delay
    EXPECT_EQ(gif.Frames[0].Pixels, (std::vector<uint32_t>{kClear, kClear, kClear, Argb(kRed)}));
    EXPECT_EQ(gif.Frames[1].Pixels, gif.Frames[0].Pixels);
}

TEST(GifDecoder, DelaysFollowBrowsersForTinyValues) {
    GifPicture picture{.width = 1, .height = 1, .globalMap = {kRed, kGreen}, .loopCount = 0};
    for (int delay : {0, 1, 2, 50}) {
        GifFrameSpec frame = Frame(0, 0, 1, 1, {0});
        frame.delayCs = delay;
        picture.frames.push_back(frame);
    }
    const TGifAnimation gif = Decode(WriteGif(picture));
    ASSERT_EQ(gif.Frames.size(), 4u);
    EXPECT_EQ(gif.Frames[0].DelayMs, 100);
    EXPECT_EQ(gif.Frames[1].DelayMs, 100);
    EXPECT_EQ(gif.Frames[2].DelayMs, 20);
    EXPECT_EQ(gif.Frames[3].DelayMs, 500);
    EXPECT_EQ(gif.LoopCount, 0);
}

TEST(GifDecoder, ScreenWithoutSizeTakesTheFirstFrameExtent) {
    GifPicture picture{.width = 0, .height = 0, .globalMap = {kRed, kGreen}, .frames = {Frame(1, 0, 2, 1, {1, 1})}};
    const TGifAnimation gif = Decode(WriteGif(picture));
    ASSERT_EQ(gif.Frames.size(), 1u);
    EXPECT_EQ(gif.Width, 3);
    EXPECT_EQ(gif.Frames[0].Pixels, (std::vector<uint32_t>{kClear, Argb(kGreen), Argb(kGreen)}));
}

// Two 4 × 4 frames of varied indices, so the compressed data spans several bytes.
QByteArray TwoFrameFile(bool trailer) {
    GifPicture picture{.width = 4, .height = 4, .globalMap = {kRed, kGreen, kBlue, kWhite}, .trailer = trailer};
    std::vector<unsigned char> a, b;
    for (int i = 0; i < 16; ++i) {
        a.push_back(static_cast<unsigned char>(i % 4));
        b.push_back(static_cast<unsigned char>((i * 7 + 1) % 4));
    }
    picture.frames = {Frame(0, 0, 4, 4, a), Frame(0, 0, 4, 4, b)};
    return WriteGif(picture);
}

TEST(GifDecoder, DamagedFilesKeepOnlyCompleteFrames) {
    const QByteArray whole = TwoFrameFile(true);
    const QByteArray noTrailer = TwoFrameFile(false);
    ASSERT_EQ(Decode(whole).Frames.size(), 2u);
    EXPECT_EQ(Decode(noTrailer).Frames.size(), 2u);
    EXPECT_EQ(Decode(noTrailer).Frames[1].Pixels, Decode(whole).Frames[1].Pixels);

    // Cutting the file at every length never crashes and never yields a partial frame.
    const size_t secondFrameEnd = size_t(noTrailer.size());
    for (size_t cut = 0; cut < secondFrameEnd; ++cut) {
        const TGifAnimation gif = DecodeGif(reinterpret_cast<const uint8_t*>(whole.constData()), cut);
        ASSERT_LE(gif.Frames.size(), 1u) << "cut at " << cut;
        if (!gif.Frames.empty())
            EXPECT_EQ(gif.Frames[0].Pixels, Decode(whole).Frames[0].Pixels) << "cut at " << cut;
    }
}

TEST(GifDecoder, UnreadableInputGivesNothing) {
    EXPECT_TRUE(Decode(QByteArray()).IsEmpty());
    EXPECT_TRUE(Decode(QByteArray("GIF89a this is not a picture")).IsEmpty());
    EXPECT_TRUE(Decode(QByteArray("\x89PNG\r\n\x1a\n", 8)).IsEmpty());
}

TEST(GifDecoder, HugeDeclaredSizesAreRefusedBeforeAllocating) {
    GifPicture screen{
        .width = 65535, .height = 65535, .globalMap = {kRed, kGreen}, .frames = {Frame(0, 0, 1, 1, {0})}};
    EXPECT_TRUE(Decode(WriteGif(screen)).IsEmpty());

    // A small screen with a frame that claims 65535 × 65535 pixels but carries almost no data.
    GifPicture frame{.width = 2, .height = 2, .globalMap = {kRed, kGreen}, .frames = {Frame(0, 0, 1, 1, {0})}};
    QByteArray bytes = WriteGif(frame);
    const int descriptor = int(bytes.indexOf(','));
    ASSERT_GT(descriptor, 0);
    bytes[descriptor + 5] = bytes[descriptor + 6] = bytes[descriptor + 7] = bytes[descriptor + 8] =
        char(0xFF);
    EXPECT_TRUE(Decode(bytes).IsEmpty());
}

} // namespace
