// altavo-db: the table tool on the engine. See docs/engine.md.
#include "commands.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int usage() {
    std::fprintf(stderr, "usage: altavo-db info TABLE\n"
                         "       altavo-db dump --jsonl|--csv TABLE\n"
                         "       altavo-db check TABLE\n"
                         "       altavo-db reindex TABLE\n"
                         "TABLE is a path with or without the .dbf extension.\n");
    return 2;
}

} // namespace

namespace altavodb {

std::unique_ptr<c4::Table> openTable(const std::string& path, bool quietWarnings) {
    c4::Fault fault, warning;
    bool missing = false;
    auto t = c4::Table::open(path, fault, warning, missing);
    if (!t) {
        std::fprintf(stderr, "altavo-db: %s\n", fault.text.c_str());
        return nullptr;
    }
    if (warning.code && !quietWarnings)
        std::fprintf(stderr, "altavo-db: warning: %s\n", warning.text.c_str());
    return t;
}

} // namespace altavodb

int main(int argc, char** argv) {
    if (argc < 3)
        return usage();
    std::string cmd = argv[1];
    if (cmd == "info" && argc == 3)
        return altavodb::runInfo(argv[2]);
    if (cmd == "dump" && argc == 4 && (!std::strcmp(argv[2], "--jsonl") || !std::strcmp(argv[2], "--csv")))
        return altavodb::runDump(argv[3], !std::strcmp(argv[2], "--csv"));
    if (cmd == "dump" && argc == 3)
        return altavodb::runDump(argv[2], false);
    if (cmd == "check" && argc == 3)
        return altavodb::runCheck(argv[2]);
    if (cmd == "reindex" && argc == 3)
        return altavodb::runReindex(argv[2]);
    return usage();
}
