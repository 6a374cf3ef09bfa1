// Decodes a GIF file held in memory into fully composed frames. No GUI types, so the
// fuzz target and the tests call it directly on bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TGifFrame {
    // width × height pixels, 0xAARRGGBB; transparent pixels are 0, so the buffer
    // is valid both as straight and as premultiplied ARGB.
    std::vector<uint32_t> Pixels;
    int DelayMs = 0; // recorded delay, with browsers' minimum applied
};

struct TGifAnimation {
    int Width = 0;
    int Height = 0;
    std::vector<TGifFrame> Frames;
    // -1: no looping extension (play once); 0: loop forever; n: play n + 1 times.
    int LoopCount = -1;
    bool IsEmpty() const { return Frames.empty(); }
};

// Limits that keep damaged or hostile files from exhausting memory.
inline constexpr int64_t kGifMaxCanvasPixels = 16 * 1024 * 1024;
inline constexpr int64_t kGifMaxTotalPixels = 32 * 1024 * 1024; // all composed frames together
inline constexpr int kGifMaxFrames = 4096;

// Returns every complete frame; an unreadable file gives an empty animation. A file cut
// short keeps the frames before the damage, a frame whose pixel data is cut is dropped.
TGifAnimation DecodeGif(const uint8_t* data, size_t size);
