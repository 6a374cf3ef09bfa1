// Parses fuzzed tag files (ours, FoxPro compound indexes, dBASE IV
// production indexes) and fuzzed expressions, and evaluates what parses.
#include "expr.h"
#include "tag_file.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<c4::FieldDef> fields() {
    std::vector<c4::FieldDef> f(5);
    const char* names[] = {"NAME", "ID", "D", "OK", "AMOUNT"};
    char types[] = {'C', 'N', 'D', 'L', 'F'};
    unsigned lens[] = {10, 9, 8, 1, 8};
    unsigned off = 1;
    for (int i = 0; i < 5; ++i) {
        f[i].name = names[i];
        f[i].type = types[i];
        f[i].len = lens[i];
        f[i].dec = i == 4 ? 2 : 0;
        f[i].offset = off;
        off += lens[i];
    }
    return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<c4::FieldDef> fl = fields();
    static const std::string record = " Anna      "
                                      "       42"
                                      "20240229"
                                      "T"
                                      "    3.14";
    std::vector<uint8_t> image(data, data + size);
    std::vector<c4::TagDef> defs;
    (void)c4::parseTagFile(std::string(data, data + size), defs);
    for (const auto& d : defs) {
        c4::TagIndex t;
        if (t.init(d, fl).empty()) {
            std::vector<uint8_t> key(t.keyLen());
            t.computeKey(reinterpret_cast<const uint8_t*>(record.data()), 1, fl, key.data());
            (void)t.passesFilter(reinterpret_cast<const uint8_t*>(record.data()), 1, fl);
        }
    }
    (void)c4::readCdxTags(image, defs);
    (void)c4::readMdxTags(image, defs);
    c4::Expression e;
    if (e.parse(std::string(data, data + size), fl).empty()) {
        c4::RecordView rv{reinterpret_cast<const uint8_t*>(record.data()), &fl, 1};
        (void)e.eval(rv);
    }
    return 0;
}
