// Opens fuzzed bytes as a table with a memo file and a tag file and reads
// every record, field, memo and order. Input: two little-endian 16-bit
// lengths (table part, memo part), the table, the memo file, the tag file.
#include "c4dstand.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string dir() {
    static std::string d = [] {
        char tmpl[] = "/tmp/c4fuzz-XXXXXX";
        return std::string(mkdtemp(tmpl));
    }();
    return d;
}

void put(const std::string& path, const uint8_t* p, size_t n) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    if (n)
        std::fwrite(p, 1, n, f);
    std::fclose(f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    size_t dbfLen = data[0] | (data[1] << 8);
    size_t memoLen = data[2] | (data[3] << 8);
    data += 4;
    size -= 4;
    dbfLen = dbfLen < size ? dbfLen : size;
    memoLen = memoLen < size - dbfLen ? memoLen : size - dbfLen;
    std::string base = dir() + "/t";
    put(base + ".dbf", data, dbfLen);
    put(base + ".fpt", data + dbfLen, memoLen);
    size_t rest = size - dbfLen - memoLen;
    // The tail is either our tag file or a compound index.
    bool cdx = rest > 0 && (data[dbfLen + memoLen] & 1);
    unlink((base + ".atx").c_str());
    unlink((base + ".cdx").c_str());
    put(base + (cdx ? ".cdx" : ".atx"), data + dbfLen + memoLen, rest);

    CODE4* cb = code4initP();
    code4errOff(cb, 1);
    DATA4* d = d4open(cb, base.c_str());
    if (d) {
        int nf = d4numFields(d);
        int nt = d4numTags(d);
        for (int t = 0; t <= nt; ++t) {
            d4tagSelect(d, t ? d4tagJ(d, t) : nullptr);
            int steps = 0;
            for (int rc = d4top(d); rc == 0 && steps < 200; rc = d4skip(d, 1), ++steps) {
                for (int j = 1; j <= nf; ++j) {
                    FIELD4* f = d4fieldJ(d, j);
                    (void)f4str(f);
                    (void)f4double(f);
                    (void)f4memoLen(f);
                }
                (void)d4deleted(d);
            }
            if (t)
                (void)d4seek(d, "A");
            (void)d4bottom(d);
            (void)d4skip(d, -3);
        }
        (void)d4recCountDo(d);
        d4close(d);
    }
    code4initUndoP(cb);
    return 0;
}
