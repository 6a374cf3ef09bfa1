// Feeds arbitrary bytes to the GIF decoder and checks what it promises: every frame
// has exactly width × height pixels, and sizes stay inside the caps.
#include "GifDecoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TGifAnimation animation = DecodeGif(data, size);
    const int64_t canvas = int64_t(animation.Width) * animation.Height;
    if (canvas > kGifMaxCanvasPixels || int64_t(animation.Frames.size()) * canvas > kGifMaxTotalPixels)
        std::abort();
    for (const TGifFrame& frame : animation.Frames) {
        if (int64_t(frame.Pixels.size()) != canvas || frame.DelayMs < 20)
            std::abort();
        // Every pixel is either opaque or fully transparent zero: nothing else is ever written.
        for (uint32_t pixel : frame.Pixels)
            if (pixel != 0 && (pixel >> 24) != 0xFF)
                std::abort();
    }
    return 0;
}
