#include "table.h"
#include "table_util.h"

#include "field_codec.h"
#include "tag_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <strings.h>
#include <sys/stat.h>

namespace c4 {

using namespace detail;

void recoverRewrite(const std::string& dbfPath) {
    std::string journal = dbfPath + ".atj";
    if (!fileExists(journal) && !fileExists(dbfPath + ".tmp"))
        return;
    // A process that is rewriting the table right now holds the whole
    // table's lock; its files are not left over from a crash.
    int err = 0;
    auto guard = File::open(dbfPath, true, false, err);
    if (!guard || !guard->lock(kFileLockStart, kFileLockLen, true, false))
        return;
    std::vector<uint8_t> text;
    if (readWholeFile(journal, text, 1 << 16)) {
        std::istringstream in(std::string(text.begin(), text.end()));
        std::string line;
        std::vector<std::pair<std::string, std::string>> renames;
        bool complete = false;
        while (std::getline(in, line)) {
            if (line == "end") {
                complete = true;
                break;
            }
            auto tab = line.find('\t');
            if (tab != std::string::npos)
                renames.emplace_back(line.substr(0, tab), line.substr(tab + 1));
        }
        for (const auto& [from, to] : renames) {
            // A complete journal means the new files were whole and synced:
            // finish the renames. An incomplete one means none was done.
            if (complete && fileExists(from))
                renameFile(from, to);
            else if (!complete)
                removeFile(from);
        }
        syncDirectoryOf(dbfPath);
        removeFile(journal);
    }
    // A rewrite that never reached its journal left only temporary files.
    if (fileExists(dbfPath + ".tmp"))
        removeFile(dbfPath + ".tmp");
}

// ---- whole-table operations ---------------------------------------------

int Table::lockFile() {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (!dbf_->lock(kFileLockStart, kFileLockLen, true, true))
            return fail(kErrLock, dbfPath_ + ": table cannot be locked: " + errnoText());
        // The whole-table lock covers the header byte; a rebuild ends an append lock.
        appendLocked_ = false;
        if (!replacedOnDisk())
            return refresh(false);
        dbf_->unlock(kFileLockStart, kFileLockLen);
        int rc = reopen();
        if (rc < 0)
            return rc;
    }
    return fail(kErrLock, dbfPath_ + ": table keeps being rebuilt");
}

void Table::unlockFile() {
    dbf_->unlock(kFileLockStart, kFileLockLen);
}

// Writes the new files beside the old ones, syncs them, then renames them
// into place (through a journal when two files change), so a crash leaves
// either the old table or the new one.
int Table::rewrite(const std::vector<uint8_t>& records, uint32_t count,
                   const std::vector<uint8_t>* memoImage) {
    std::string tmpDbf = dbfPath_ + ".tmp";
    std::string tmpMemo = memoPath_ + ".tmp";
    std::string journal = dbfPath_ + ".atj";
    uint32_t newCounter = counter_ + 1;
    std::vector<uint8_t> bytes = header_;
    stampHeader(bytes.data(), count, newCounter);
    bytes.insert(bytes.end(), records.begin(), records.end());
    bytes.push_back(0x1A);
    if (!writeWholeFile(tmpDbf, bytes, true)) {
        removeFile(tmpDbf);
        return fail(kErrWrite, tmpDbf + ": cannot be written: " + errnoText());
    }
    if (memoImage) {
        if (!writeWholeFile(tmpMemo, *memoImage, true)) {
            removeFile(tmpDbf);
            removeFile(tmpMemo);
            return fail(kErrWrite, tmpMemo + ": cannot be written: " + errnoText());
        }
        std::string j = tmpMemo + "\t" + memoPath_ + "\n" + tmpDbf + "\t" + dbfPath_ + "\nend\n";
        if (!writeWholeFile(journal, std::vector<uint8_t>(j.begin(), j.end()), true) ||
            !syncDirectoryOf(journal)) {
            removeFile(tmpDbf);
            removeFile(tmpMemo);
            removeFile(journal);
            return fail(kErrWrite, journal + ": cannot be written: " + errnoText());
        }
        if (!renameFile(tmpMemo, memoPath_))
            return fail(kErrWrite, memoPath_ + ": cannot be replaced: " + errnoText());
    }
    if (!renameFile(tmpDbf, dbfPath_))
        return fail(kErrWrite, dbfPath_ + ": cannot be replaced: " + errnoText());
    syncDirectoryOf(dbfPath_);
    if (memoImage)
        removeFile(journal);
    // Tell processes still holding the old file that it was replaced.
    uint8_t c[4];
    put32(c, newCounter);
    dbf_->writeAt(kChangeCounterOffset, c, 4);
    return reopen();
}

int Table::pack() {
    int rc = flush();
    if (rc < 0)
        return rc;
    if (!dbf_->writable())
        return fail(kErrWrite, dbfPath_ + ": table is read-only");
    if ((rc = lockFile()) < 0)
        return rc;
    std::vector<uint8_t> kept;
    kept.reserve(data_.size());
    uint32_t n = 0;
    const unsigned rl = layout_.recordLen;
    for (uint32_t r = 0; r < count_; ++r) {
        const uint8_t* p = &data_[static_cast<size_t>(r) * rl];
        if (p[0] != '*') {
            kept.insert(kept.end(), p, p + rl);
            ++n;
        }
    }
    if (n == count_) {
        unlockFile();
        return setEof() == kEof ? kOk : kOk;
    }
    rc = rewrite(kept, n, nullptr);
    setEof();
    return rc < 0 ? rc : kOk;
}

int Table::zap(long start, long num) {
    int rc = flush();
    if (rc < 0)
        return rc;
    if (!dbf_->writable())
        return fail(kErrWrite, dbfPath_ + ": table is read-only");
    if (start < 1 || num < 0)
        return fail(kErrParm, dbfPath_ + ": bad record range for zap");
    if ((rc = lockFile()) < 0)
        return rc;
    std::vector<uint8_t> kept;
    uint32_t n = 0;
    const unsigned rl = layout_.recordLen;
    for (uint32_t r = 1; r <= count_; ++r) {
        if (r >= static_cast<uint64_t>(start) &&
            r < static_cast<uint64_t>(start) + static_cast<uint64_t>(num))
            continue;
        const uint8_t* p = &data_[static_cast<size_t>(r - 1) * rl];
        kept.insert(kept.end(), p, p + rl);
        ++n;
    }
    if (n == count_) {
        unlockFile();
        setEof();
        return kOk;
    }
    rc = rewrite(kept, n, nullptr);
    setEof();
    return rc < 0 ? rc : kOk;
}

int Table::memoCompress() {
    int rc = flush();
    if (rc < 0)
        return rc;
    if (!layout_.hasMemoFields)
        return kOk;
    if (!memo_)
        return fail(kErrMemo, memoFault_);
    if (!dbf_->writable())
        return fail(kErrWrite, dbfPath_ + ": table is read-only");
    if ((rc = lockFile()) < 0)
        return rc;
    MemoKind kind = memo_->kind();
    unsigned bs = kind == MemoKind::Fpt ? MemoFile::kFptBlockSize : memo_->blockSize();
    std::vector<uint8_t> image = MemoFile::emptyImage(kind, bs);
    std::vector<uint8_t> records = data_;
    std::vector<uint8_t> memo;
    const unsigned rl = layout_.recordLen;
    for (uint32_t r = 0; r < count_ && rc >= 0; ++r) {
        uint8_t* p = &records[static_cast<size_t>(r) * rl];
        for (const auto& f : layout_.fields) {
            if (!isMemoType(f.type) || (f.type == 'B' && f.len == 8))
                continue;
            uint32_t block = 0;
            if (!decodeMemoPointer(f, p, block)) {
                rc = fail(kErrMemo, dbfPath_ + ": record " + std::to_string(r + 1) + " field " + f.name +
                                        ": memo pointer is not a block number");
                break;
            }
            if (block == 0)
                continue;
            std::string e = memo_->read(block, memo);
            if (!e.empty()) {
                rc = fail(kErrMemo,
                          memoPath_ + ": record " + std::to_string(r + 1) + " field " + f.name + ": " + e);
                break;
            }
            uint32_t nb =
                memo.empty() ? 0 : MemoFile::appendToImage(image, kind, bs, memo.data(), memo.size());
            encodeMemoPointer(f, nb, p);
        }
    }
    if (rc < 0) {
        unlockFile();
        return rc;
    }
    rc = rewrite(records, count_, &image);
    setEof();
    return rc < 0 ? rc : kOk;
}

int Table::reindex() {
    int rc = flush();
    if (rc < 0)
        return rc;
    if ((rc = syncWithDisk()) < 0)
        return rc;
    buildTags();
    return kOk;
}

} // namespace c4
