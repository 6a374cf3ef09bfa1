// Reads memos out of a fuzzed memo file image in every memo layout, from
// block numbers taken from the input.
#include "memo.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6)
        return 0;
    uint32_t block = data[0] | (data[1] << 8) | (data[2] << 16);
    unsigned bs = data[3] | (data[4] << 8);
    c4::MemoKind kinds[] = {c4::MemoKind::Fpt, c4::MemoKind::Dbt3, c4::MemoKind::Dbt4};
    c4::MemoKind kind = kinds[data[5] % 3];
    std::vector<uint8_t> image(data + 6, data + size);
    std::vector<uint8_t> out;
    (void)c4::MemoFile::readFromImage(image, kind, bs, block, out);
    (void)c4::MemoFile::readFromImage(image, kind, 64, block % 64, out);
    (void)c4::MemoFile::readFromImage(image, c4::MemoKind::Dbt3, 512, 1, out);
    return 0;
}
