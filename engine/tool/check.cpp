// altavo-db check: verifies the header, every record, every memo pointer
// and the tags; lists each fault and exits 0 only when all is sound.
#include "commands.h"
#include "expr.h"
#include "field_codec.h"
#include "memo.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <strings.h>

namespace altavodb {

namespace {

bool readAll(const std::string& path, std::vector<uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool numberOk(const std::string& s) {
    size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos)
        return true;
    size_t b = s.find_last_not_of(' ');
    std::string t = s.substr(a, b - a + 1);
    char* end = nullptr;
    std::strtod(t.c_str(), &end);
    return end && *end == 0 && t.find(' ') == std::string::npos;
}

struct Extent {
    uint64_t start, end;
    uint32_t rec;
    std::string field;
};

} // namespace

int runCheck(const std::string& pathIn) {
    std::vector<std::string> faults;
    std::string path = pathIn.size() > 4 && strcasecmp(pathIn.c_str() + pathIn.size() - 4, ".dbf") == 0
                           ? pathIn
                           : pathIn + ".dbf";
    std::string dbf = c4::findCaseInsensitive(path);
    if (dbf.empty()) {
        std::printf("%s: no such table\n", path.c_str());
        return 1;
    }
    std::vector<uint8_t> bytes;
    if (!readAll(dbf, bytes)) {
        std::printf("%s: cannot be read\n", dbf.c_str());
        return 1;
    }
    c4::TableLayout layout;
    std::string f = bytes.size() < 32 ? "header truncated (file shorter than 32 bytes)" : "";
    if (f.empty()) {
        unsigned hlen = c4::headerLenFromPrefix(bytes.data());
        std::vector<uint8_t> head(bytes.begin(), bytes.begin() + std::min<size_t>(hlen, bytes.size()));
        f = c4::parseHeader(head, static_cast<int64_t>(bytes.size()), layout);
    }
    if (!f.empty()) {
        std::printf("%s: %s\n", dbf.c_str(), f.c_str());
        return 1;
    }
    const unsigned hlen = layout.headerLen, rl = layout.recordLen;
    uint64_t body = bytes.size() - hlen;
    uint64_t avail = body / rl;
    uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(layout.headerCount, avail));
    if (layout.headerCount > avail)
        faults.push_back(dbf + ": header says " + std::to_string(layout.headerCount) +
                         " records, the file holds " + std::to_string(avail));
    uint64_t tail = body - static_cast<uint64_t>(count) * rl;
    // An append killed between writing its record and counting it leaves whole
    // records and the end-of-file marker past the count: every reader ignores
    // them and the next append writes over them, so they are no damage.
    const bool interruptedAppend = tail > 1 && (tail - 1) % rl == 0 && bytes.back() == 0x1A;
    if (tail == 0)
        std::printf("%s: note: no end-of-file marker (0x1A)\n", dbf.c_str());
    else if (interruptedAppend && layout.headerCount <= avail)
        std::printf("%s: note: %llu uncounted record(s) left by an interrupted append\n", dbf.c_str(),
                    static_cast<unsigned long long>((tail - 1) / rl));
    else if (!(tail == 1 && bytes.back() == 0x1A) && layout.headerCount <= avail)
        faults.push_back(dbf + ": " + std::to_string(tail) + " bytes after the last counted record");

    // The memo file.
    std::vector<uint8_t> memo;
    c4::MemoKind kind = c4::MemoKind::None;
    unsigned bs = 0;
    std::string memoPath;
    if (layout.hasMemoFields) {
        std::string base = dbf.substr(0, dbf.size() - 4);
        std::string fpt = c4::findCaseInsensitive(base + ".fpt"),
                    dbt = c4::findCaseInsensitive(base + ".dbt");
        kind = layout.memoKindFromVersion();
        if (kind == c4::MemoKind::Fpt && fpt.empty() && !dbt.empty())
            kind = c4::MemoKind::Dbt4;
        if (kind != c4::MemoKind::Fpt && dbt.empty() && !fpt.empty())
            kind = c4::MemoKind::Fpt;
        memoPath = kind == c4::MemoKind::Fpt ? fpt : dbt;
        if (memoPath.empty() || !readAll(memoPath, memo)) {
            faults.push_back(base + ": memo file is missing");
            kind = c4::MemoKind::None;
        } else if (memo.size() < 8) {
            faults.push_back(memoPath + ": memo file header is truncated");
            kind = c4::MemoKind::None;
        } else if (kind == c4::MemoKind::Fpt) {
            bs = (memo[6] << 8) | memo[7];
        } else {
            bs = kind == c4::MemoKind::Dbt4 && memo.size() >= 22 && (memo[20] | (memo[21] << 8))
                     ? (memo[20] | (memo[21] << 8))
                     : 512;
        }
        if (kind != c4::MemoKind::None && bs == 0) {
            faults.push_back(memoPath + ": memo block size is 0");
            kind = c4::MemoKind::None;
        }
    }

    std::vector<Extent> extents;
    std::vector<uint8_t> m;
    unsigned memos = 0;
    for (uint32_t r = 1; r <= count; ++r) {
        const uint8_t* rec = &bytes[hlen + static_cast<size_t>(r - 1) * rl];
        std::string where = dbf + ": record " + std::to_string(r);
        if (rec[0] != ' ' && rec[0] != '*')
            faults.push_back(where + ": deletion flag is 0x" + std::to_string(rec[0]));
        for (const auto& fd : layout.fields) {
            std::string raw(reinterpret_cast<const char*>(rec + fd.offset), fd.len);
            std::string at = where + " field " + fd.name;
            long days;
            switch (fd.type) {
            case 'N':
            case 'F':
                if (!numberOk(raw))
                    faults.push_back(at + ": \"" + raw + "\" is not a number");
                break;
            case 'D':
                if (raw.find_first_not_of(' ') != std::string::npos && !c4::dateToDays(raw.c_str(), days))
                    faults.push_back(at + ": \"" + raw + "\" is not a date");
                break;
            case 'L':
                if (!std::strchr("TtFfYyNn? ", raw[0]) || raw[0] == 0)
                    faults.push_back(at + ": logical value is not T, F or blank");
                break;
            default:
                break;
            }
            if (!c4::isMemoType(fd.type) || (fd.type == 'B' && fd.len == 8))
                continue;
            uint32_t block = 0;
            if (!c4::decodeMemoPointer(fd, rec, block)) {
                faults.push_back(at + ": memo pointer \"" + raw + "\" is not a block number");
                continue;
            }
            if (block == 0 || kind == c4::MemoKind::None)
                continue;
            std::string e = c4::MemoFile::readFromImage(memo, kind, bs, block, m);
            if (!e.empty()) {
                faults.push_back(at + ": " + memoPath + ": " + e);
                continue;
            }
            ++memos;
            uint64_t used = kind == c4::MemoKind::Dbt3 ? m.size() + 1 : m.size() + 8;
            extents.push_back({block, block + (used + bs - 1) / bs, r, fd.name});
        }
    }
    std::sort(extents.begin(), extents.end(),
              [](const Extent& a, const Extent& b) { return a.start < b.start; });
    for (size_t i = 1; i < extents.size(); ++i)
        if (extents[i].start < extents[i - 1].end)
            faults.push_back(memoPath + ": records " + std::to_string(extents[i - 1].rec) + " (" +
                             extents[i - 1].field + ") and " + std::to_string(extents[i].rec) + " (" +
                             extents[i].field + ") share memo blocks");
    if (!extents.empty() && kind != c4::MemoKind::None) {
        uint32_t next = kind == c4::MemoKind::Fpt
                            ? (uint32_t(memo[0]) << 24 | memo[1] << 16 | memo[2] << 8 | memo[3])
                            : (memo[0] | memo[1] << 8 | memo[2] << 16 | uint32_t(memo[3]) << 24);
        uint64_t maxEnd = 0;
        for (const auto& e : extents)
            maxEnd = std::max(maxEnd, e.end);
        if (next < maxEnd && kind != c4::MemoKind::Dbt3)
            faults.push_back(memoPath + ": the header's next free block " + std::to_string(next) +
                             " lies inside blocks in use (up to " + std::to_string(maxEnd) + ")");
    }

    // Tags: definitions that parse against the fields, keys built.
    c4::Fault fault, warning;
    bool missing = false;
    auto t = c4::Table::open(dbf, fault, warning, missing);
    int tags = 0;
    if (!t)
        faults.push_back(fault.text);
    else {
        if (warning.code == c4::kErrIndex || warning.code == c4::kErrExpr)
            faults.push_back(warning.text);
        tags = t->tagCount();
        for (int i = 0; i < tags; ++i) {
            auto& tag = t->tag(i);
            size_t passing = 0;
            for (uint32_t r = 1; r <= t->recCount(); ++r) {
                t->go(r);
                passing += tag.passesFilter(t->record(), r, t->fields());
            }
            if (!tag.def().unique && passing != tag.size())
                faults.push_back(dbf + ": tag " + tag.def().name + " holds " + std::to_string(tag.size()) +
                                 " keys for " + std::to_string(passing) + " records");
        }
    }
    for (const auto& fl : faults)
        std::printf("%s\n", fl.c_str());
    if (faults.empty())
        std::printf("%s: sound: %u records, %u memos, %d tags\n", dbf.c_str(), count, memos, tags);
    return faults.empty() ? 0 : 1;
}

} // namespace altavodb
