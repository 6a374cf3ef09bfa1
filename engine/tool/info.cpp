// altavo-db info and reindex.
#include "commands.h"
#include "tag_file.h"
#include "text_codec.h"

#include <cstdio>

namespace altavodb {

namespace {

const char* versionName(int v) {
    switch (v) {
    case 0x03:
        return "dBASE III / FoxPro, no memo";
    case 0x83:
        return "dBASE III with memo";
    case 0x8B:
        return "dBASE IV with memo";
    case 0xF5:
        return "FoxPro 2.x with memo";
    case 0x30:
    case 0x31:
    case 0x32:
        return "Visual FoxPro";
    default:
        return "other xBase";
    }
}

const char* memoKindName(c4::MemoKind k) {
    switch (k) {
    case c4::MemoKind::Fpt:
        return "FoxPro .fpt";
    case c4::MemoKind::Dbt3:
        return "dBASE III .dbt";
    case c4::MemoKind::Dbt4:
        return "dBASE IV .dbt";
    default:
        return "none";
    }
}

} // namespace

int runInfo(const std::string& path) {
    auto t = openTable(path);
    if (!t)
        return 1;
    const auto& l = t->layout();
    std::printf("table: %s\n", t->dataPath().c_str());
    std::printf("version: 0x%02X (%s)\n", l.version, versionName(l.version));
    std::printf("code page: 0x%02X (%s)\n", l.codePage, codePageName(l.codePage));
    std::printf("records: %u\n", t->recCount());
    std::printf("header length: %u, record length: %u\n", l.headerLen, l.recordLen);
    std::printf("fields:\n");
    for (const auto& f : l.fields)
        if (!f.hidden)
            std::printf("  %-10s %c %3u %2u\n", f.name.c_str(), f.type, f.len, f.dec);
    if (l.hasMemoFields) {
        if (t->memo())
            std::printf("memo file: %s (%s, block size %u)\n", t->memoPath().c_str(),
                        memoKindName(t->memo()->kind()), t->memo()->blockSize());
        else
            std::printf("memo file: %s (missing or unreadable)\n", t->memoPath().c_str());
    } else {
        std::printf("memo file: none\n");
    }
    std::printf("tags: %d%s%s\n", t->tagCount(), t->tagFilePath().empty() ? "" : " from ",
                t->tagFilePath().c_str());
    for (int i = 0; i < t->tagCount(); ++i) {
        const auto& d = t->tag(i).def();
        std::printf("  %-10s expression=\"%s\" filter=\"%s\" unique=%s descending=%s\n", d.name.c_str(),
                    d.expression.c_str(), d.filter.c_str(), d.unique ? "yes" : "no",
                    d.descending ? "yes" : "no");
    }
    return 0;
}

int runReindex(const std::string& path) {
    auto t = openTable(path);
    if (!t)
        return 1;
    if (t->reindex() < 0) {
        std::fprintf(stderr, "altavo-db: %s\n", t->lastFault().text.c_str());
        return 1;
    }
    // Keep the definitions in our own tag file, so later opens do not
    // depend on a foreign index.
    if (t->tagCount() > 0) {
        std::vector<c4::TagDef> defs;
        for (int i = 0; i < t->tagCount(); ++i)
            defs.push_back(t->tag(i).def());
        std::string base = t->dataPath().substr(0, t->dataPath().size() - 4);
        std::string atx = c4::findCaseInsensitive(base + ".atx");
        if (atx.empty())
            atx = base + ".atx";
        std::string text = c4::formatTagFile(defs);
        std::string tmp = atx + ".tmp";
        FILE* f = std::fopen(tmp.c_str(), "wb");
        if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0 ||
            !c4::renameFile(tmp, atx)) {
            std::fprintf(stderr, "altavo-db: %s: cannot be written\n", atx.c_str());
            return 1;
        }
    }
    for (int i = 0; i < t->tagCount(); ++i)
        std::printf("%s: %zu keys\n", t->tag(i).def().name.c_str(), t->tag(i).size());
    return 0;
}

} // namespace altavodb
