#include "GifWriter.h"

#include <gif_lib.h>

#include <stdexcept>

namespace {

int AppendToByteArray(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// giflib wants maps of 2^n entries; pad with black.
ColorMapObject* MakeMap(const QList<QColor>& colours) {
    int size = 2;
    while (size < colours.size())
        size *= 2;
    ColorMapObject* map = GifMakeMapObject(size, nullptr);
    for (int i = 0; i < size; ++i) {
        const QColor c = i < colours.size() ? colours[i] : QColor(Qt::black);
        map->Colors[i] = {GifByteType(c.red()), GifByteType(c.green()), GifByteType(c.blue())};
    }
    return map;
}

int InterlacedRow(int line, int height) {
    const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int rows = height > start[pass] ? (height - start[pass] + step[pass] - 1) / step[pass] : 0;
        if (line < rows)
            return start[pass] + line * step[pass];
        line -= rows;
    }
    return 0;
}

} // namespace

QByteArray WriteGif(const GifPicture& picture) {
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendToByteArray, &error);
    if (gif == nullptr)
        throw std::runtime_error("EGifOpen failed");
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = picture.globalMap.isEmpty() ? nullptr : MakeMap(picture.globalMap);
    EGifPutScreenDesc(gif, picture.width, picture.height, 8, 0, global);
    GifFreeMapObject(global);
    if (picture.loopCount >= 0) {
        const GifByteType app[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
        const GifByteType loop[] = {1, GifByteType(picture.loopCount & 0xFF), GifByteType(picture.loopCount >> 8)};
        EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
        EGifPutExtensionBlock(gif, sizeof app, app);
        EGifPutExtensionBlock(gif, sizeof loop, loop);
        EGifPutExtensionTrailer(gif);
    }
    for (const GifFrameSpec& frame : picture.frames) {
        GraphicsControlBlock gcb{frame.disposal, false, frame.delayCs, frame.transparentIndex};
        GifByteType ext[4];
        const size_t length = EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), ext);
        ColorMapObject* local = frame.localMap.isEmpty() ? nullptr : MakeMap(frame.localMap);
        EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlace, local);
        GifFreeMapObject(local);
        std::vector<GifPixelType> line(frame.width);
        for (int n = 0; n < frame.height; ++n) {
            const int row = frame.interlace ? InterlacedRow(n, frame.height) : n;
            for (int x = 0; x < frame.width; ++x)
                line[x] = frame.indices[size_t(row) * frame.width + x];
            EGifPutLine(gif, line.data(), frame.width);
        }
        // giflib 5.2.1 drops (leaks) the copied local map when the next image has none.
        GifFreeMapObject(gif->Image.ColorMap);
        gif->Image.ColorMap = nullptr;
    }
    EGifCloseFile(gif, &error); // writes the trailer byte ';'
    if (!picture.trailer && out.endsWith(';'))
        out.chop(1);
    return out;
}
