#include "GifDecoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int wanted) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const size_t available = reader->size - reader->pos;
    const size_t count = std::min(available, static_cast<size_t>(std::max(wanted, 0)));
    if (count > 0)
        std::memcpy(out, reader->data + reader->pos, count);
    reader->pos += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// Graphic control values that apply to the next image only.
struct FrameControl {
    int disposal = 0;
    int delayCs = 0;
    int transparentIndex = -1;
};

struct Rect {
    int left, top, width, height;
};

Rect ClipToCanvas(const GifImageDesc& desc, int canvasWidth, int canvasHeight) {
    const int left = std::clamp(desc.Left, 0, canvasWidth);
    const int top = std::clamp(desc.Top, 0, canvasHeight);
    const int right = std::clamp(desc.Left + desc.Width, 0, canvasWidth);
    const int bottom = std::clamp(desc.Top + desc.Height, 0, canvasHeight);
    if (right <= left || bottom <= top)
        return {0, 0, 0, 0};
    return {left, top, right - left, bottom - top};
}

// Row of the frame that the n-th stored line belongs to, for interlaced images.
int InterlacedRow(int line, int height) {
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int rowsInPass =
            height > kStart[pass] ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
        if (line < rowsInPass)
            return kStart[pass] + line * kStep[pass];
        line -= rowsInPass;
    }
    return -1;
}

void ReadControlExtension(const GifByteType* block, FrameControl& control) {
    // block[0] is the sub-block length; a valid control block holds 4 bytes.
    if (block == nullptr || block[0] < 4)
        return;
    const int flags = block[1];
    control.disposal = (flags >> 2) & 7;
    control.delayCs = block[2] | (block[3] << 8);
    control.transparentIndex = (flags & 1) ? block[4] : -1;
}

class Composer {
public:
    explicit Composer(TGifAnimation& out) : out_(out) {}

    bool Begin(int width, int height) {
        if (width <= 0 || height <= 0 || int64_t(width) * height > kGifMaxCanvasPixels)
            return false;
        out_.Width = width;
        out_.Height = height;
        canvas_.assign(size_t(width) * height, 0u);
        return true;
    }
    bool Started() const { return !canvas_.empty(); }

    bool HasRoomForFrame() const {
        return int(out_.Frames.size()) < kGifMaxFrames &&
               int64_t(out_.Frames.size() + 1) * out_.Width * out_.Height <= kGifMaxTotalPixels;
    }

    // Applies the previous frame's disposal, then paints the part of the frame's rows
    // (display order, `stride` indices each) that falls inside the clipped `rect`;
    // `first` points at the frame's index for the rectangle's top-left corner.
    void AddFrame(const Rect& rect, const GifByteType* first, int stride, const ColorMapObject* map,
                  const FrameControl& control) {
        DisposePrevious();
        if (control.disposal == 3)
            saved_ = canvas_;
        const int colourCount = map ? std::clamp(map->ColorCount, 0, 256) : 0;
        for (int y = 0; y < rect.height; ++y) {
            const GifByteType* row = first + size_t(y) * stride;
            uint32_t* target = canvas_.data() + size_t(rect.top + y) * out_.Width + rect.left;
            for (int x = 0; x < rect.width; ++x) {
                const int index = row[x];
                // Indices beyond the map (or with no map at all) leave the canvas as it was.
                if (index == control.transparentIndex || index >= colourCount)
                    continue;
                const GifColorType& c = map->Colors[index];
                target[x] = 0xFF000000u | (uint32_t(c.Red) << 16) | (uint32_t(c.Green) << 8) | c.Blue;
            }
        }
        // Browsers show frames recorded with 0 or 10 ms for 100 ms.
        const int delayMs = control.delayCs <= 1 ? 100 : control.delayCs * 10;
        out_.Frames.push_back({canvas_, delayMs});
        lastRect_ = rect;
        lastDisposal_ = control.disposal;
    }

private:
    void DisposePrevious() {
        if (lastDisposal_ == 2) {
            for (int y = 0; y < lastRect_.height; ++y) {
                uint32_t* row = canvas_.data() + size_t(lastRect_.top + y) * out_.Width + lastRect_.left;
                std::fill(row, row + lastRect_.width, 0u);
            }
        } else if (lastDisposal_ == 3) {
            // Restore the canvas as it was before the previous frame (blank before the first).
            if (saved_.size() == canvas_.size())
                canvas_ = saved_;
            else
                std::fill(canvas_.begin(), canvas_.end(), 0u);
        }
        lastDisposal_ = 0;
    }

    TGifAnimation& out_;
    std::vector<uint32_t> canvas_;
    std::vector<uint32_t> saved_;
    Rect lastRect_{0, 0, 0, 0};
    int lastDisposal_ = 0;
};

void ReadApplicationExtension(GifFileType* gif, GifByteType* block, TGifAnimation& out) {
    const bool isLoopBlock =
        block != nullptr && block[0] == 11 &&
        (std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 || std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0);
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            return;
        if (isLoopBlock && block != nullptr && block[0] >= 3 && block[1] == 1)
            out.LoopCount = block[2] | (block[3] << 8);
    }
}

// Reads one image's pixel rows; false when the data is cut short or damaged.
bool ReadImageRows(GifFileType* gif, std::vector<GifByteType>& rows) {
    const GifImageDesc& desc = gif->Image;
    rows.assign(size_t(desc.Width) * desc.Height, 0);
    for (int line = 0; line < desc.Height; ++line) {
        const int row = desc.Interlace ? InterlacedRow(line, desc.Height) : line;
        if (row < 0 || DGifGetLine(gif, rows.data() + size_t(row) * desc.Width, desc.Width) == GIF_ERROR)
            return false;
    }
    return true;
}

} // namespace

TGifAnimation DecodeGif(const uint8_t* data, size_t size) {
    TGifAnimation result;
    if (data == nullptr || size == 0)
        return result;
    MemoryReader reader{data, size};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, ReadFromMemory, &error));
    if (!gif)
        return result;

    Composer composer(result);
    if (gif->SWidth > 0 && gif->SHeight > 0 && !composer.Begin(gif->SWidth, gif->SHeight))
        return result;

    FrameControl control;
    std::vector<GifByteType> rows;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            break; // missing trailer or junk: keep what is complete
        if (type == TERMINATE_RECORD_TYPE)
            break;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                break;
            if (code == GRAPHICS_EXT_FUNC_CODE)
                ReadControlExtension(block, control);
            if (code == APPLICATION_EXT_FUNC_CODE) {
                ReadApplicationExtension(gif.get(), block, result);
                continue;
            }
            while (block != nullptr)
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    return result;
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            break;
        if (DGifGetImageHeader(gif.get()) == GIF_ERROR)
            break;
        const GifImageDesc& desc = gif->Image;
        // The frame size is checked before its row buffer is allocated.
        if (desc.Width <= 0 || desc.Height <= 0 || int64_t(desc.Width) * desc.Height > kGifMaxCanvasPixels)
            break;
        if (!composer.Started() && !composer.Begin(desc.Left + desc.Width, desc.Top + desc.Height))
            break;
        if (!composer.HasRoomForFrame())
            break;
        if (!ReadImageRows(gif.get(), rows))
            break; // a truncated frame is dropped
        const Rect rect = ClipToCanvas(desc, result.Width, result.Height);
        const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        // A frame wholly outside the screen still counts as a frame (its delay matters).
        const GifByteType* first =
            rect.width > 0 && rect.height > 0
                ? rows.data() + size_t(rect.top - desc.Top) * desc.Width + (rect.left - desc.Left)
                : rows.data();
        composer.AddFrame(rect, first, desc.Width, map, control);
        control = FrameControl{};
    }
    // A file whose first image never completed has a canvas but nothing to show.
    if (result.Frames.empty())
        result = TGifAnimation{};
    return result;
}
