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

// ---- changes -------------------------------------------------------------

int Table::assignText(int field, const char* text, size_t len) {
    if (cur_ == 0)
        return fail(kErrRecord, dbfPath_ + ": no current record to change");
    const FieldDef& f = layout_.fields[static_cast<size_t>(field)];
    if (isMemoType(f.type) && !(f.type == 'B' && !f.binaryMemoPtr && f.len == 8))
        return memoAssign(field, reinterpret_cast<const uint8_t*>(text), len);
    bool ok = encodeText(f, text, len, buf_.data());
    fieldDirty_[static_cast<size_t>(field)] = 1;
    dirty_ = true;
    if (!ok && (f.type == 'N' || f.type == 'F'))
        return fail(kErrField, dbfPath_ + ": value does not fit field " + f.name);
    return kOk;
}

int Table::assignNumber(int field, double v) {
    if (cur_ == 0)
        return fail(kErrRecord, dbfPath_ + ": no current record to change");
    const FieldDef& f = layout_.fields[static_cast<size_t>(field)];
    if (isMemoType(f.type) && f.len != 8) {
        char b[64];
        std::snprintf(b, sizeof b, "%.15g", v);
        return memoAssign(field, reinterpret_cast<const uint8_t*>(b), std::strlen(b));
    }
    bool ok = encodeNumber(f, v, buf_.data());
    fieldDirty_[static_cast<size_t>(field)] = 1;
    dirty_ = true;
    if (!ok)
        return fail(kErrField, dbfPath_ + ": value " + std::to_string(v) + " does not fit field " + f.name);
    return kOk;
}

int Table::memoAssign(int field, const uint8_t* data, size_t len) {
    if (cur_ == 0)
        return fail(kErrRecord, dbfPath_ + ": no current record to change");
    const FieldDef& f = layout_.fields[static_cast<size_t>(field)];
    if (!isMemoType(f.type))
        return assignText(field, reinterpret_cast<const char*>(data), len);
    if (!memo_)
        return fail(kErrMemo, memoFault_.empty() ? dbfPath_ + ": no memo file" : memoFault_);
    ++generation_;
    memoPending_[field].assign(data, data + len);
    fieldDirty_[static_cast<size_t>(field)] = 1;
    dirty_ = true;
    return kOk;
}

int Table::memoRead(int field, std::vector<uint8_t>& out) {
    out.clear();
    auto it = memoPending_.find(field);
    if (it != memoPending_.end()) {
        out = it->second;
        return kOk;
    }
    const FieldDef& f = layout_.fields[static_cast<size_t>(field)];
    uint32_t block = 0;
    if (!decodeMemoPointer(f, buf_.data(), block))
        return fail(kErrMemo, dbfPath_ + ": record " + std::to_string(cur_) + " field " + f.name +
                                  ": memo pointer is not a block number");
    if (block == 0)
        return kOk;
    if (!memo_)
        return fail(kErrMemo, memoFault_.empty() ? dbfPath_ + ": no memo file" : memoFault_);
    std::string e = memo_->read(block, out);
    if (!e.empty()) {
        // Another process may have replaced the files (memo compression):
        // after a refresh the record's pointer is read again.
        uint32_t again = 0;
        if (syncWithDisk() == kOk && memo_ && cur_ != 0 && decodeMemoPointer(f, buf_.data(), again) &&
            (again == 0 ? (out.clear(), true) : memo_->read(again, out).empty()))
            return kOk;
        out.clear();
        return fail(kErrMemo,
                    memo_ ? memo_->path() + ": record " + std::to_string(cur_) + " field " + f.name + ": " + e
                          : memoFault_);
    }
    return kOk;
}

int Table::setDeleted(bool del) {
    if (cur_ == 0)
        return fail(kErrRecord, dbfPath_ + ": no current record to delete");
    buf_[0] = del ? '*' : ' ';
    deleteDirty_ = true;
    dirty_ = true;
    return kOk;
}

int Table::appendBlank() {
    int rc = flush();
    if (rc < 0)
        return rc;
    if (!dbf_->writable())
        return fail(kErrWrite, dbfPath_ + ": table is read-only");
    setEof();
    cur_ = count_ + 1;
    appendPending_ = true;
    dirty_ = true;
    return kOk;
}

int Table::writeMemos(std::vector<uint8_t>& rec) {
    for (const auto& [field, bytes] : memoPending_) {
        const FieldDef& f = layout_.fields[static_cast<size_t>(field)];
        uint32_t block = 0;
        if (!bytes.empty()) {
            std::string e = memo_->write(bytes.data(), bytes.size(), block);
            if (!e.empty())
                return fail(kErrWrite, memo_->path() + ": " + e);
        }
        encodeMemoPointer(f, block, rec.data());
        encodeMemoPointer(f, block, buf_.data());
    }
    return kOk;
}

bool Table::replacedOnDisk() {
    struct stat st;
    dev_t dev;
    ino_t ino;
    if (::stat(dbfPath_.c_str(), &st) != 0 || !dbf_->identity(dev, ino))
        return false;
    return st.st_dev != dev || st.st_ino != ino;
}

int Table::flush() {
    if (!dirty_ || cur_ == 0) {
        dirty_ = false;
        return kOk;
    }
    if (!dbf_->writable()) {
        position(appendPending_ ? 0 : cur_);
        return fail(kErrWrite, dbfPath_ + ": table is read-only");
    }
    int rc = appendPending_ ? flushAppend() : flushUpdate();
    if (rc < 0) {
        // What could not be written is dropped; the files stay as they were.
        uint32_t keep = appendPending_ ? 0 : cur_;
        position(keep);
        return rc;
    }
    if (syncWrites_) {
        if ((memo_ && !memo_->file().sync()) || !dbf_->sync())
            return fail(kErrWrite, dbfPath_ + ": sync failed: " + errnoText());
    }
    return kOk;
}

int Table::flushUpdate() {
    uint32_t rec = cur_;
    if (!memoPending_.empty() && !memo_)
        return fail(kErrMemo, memoFault_);
    std::vector<uint8_t> merged(layout_.recordLen);
    int64_t off = layout_.headerLen + static_cast<int64_t>(rec - 1) * layout_.recordLen;
    // One lock from the record's byte up to the header byte: the record
    // (FoxPro's place for it) and the header, which guards the change
    // counter and memo allocation.
    int64_t lockAt = kHeaderLockOffset - rec;
    // Under the append lock the header byte is already ours: locking or
    // unlocking it here would give it up.
    int64_t lockLen = static_cast<int64_t>(rec) + (appendLocked_ ? 0 : 1);
    if (!dbf_->lock(lockAt, lockLen, true, true))
        return fail(kErrLock,
                    dbfPath_ + ": record " + std::to_string(rec) + " cannot be locked: " + errnoText());
    int rc = kOk;
    bool others = false;
    do {
        uint8_t h[32];
        if (!dbf_->readAt(0, h, 32)) {
            rc = fail(kErrRead, dbfPath_ + ": header cannot be read: " + errnoText());
            break;
        }
        uint32_t diskCounter = le32(h + kChangeCounterOffset);
        others = diskCounter != counter_ || le32(h + 4) != count_;
        if (others && replacedOnDisk()) {
            rc = fail(kErrData, dbfPath_ +
                                    ": the table was rebuilt by another program; the change to record " +
                                    std::to_string(rec) + " was not written");
            break;
        }
        // The counter goes first, so that whoever trusts an unchanged
        // counter never misses what follows; readers refresh under a shared
        // lock and so see the whole change.
        uint8_t c[4];
        put32(c, diskCounter + 1);
        if (!dbf_->writeAt(kChangeCounterOffset, c, 4)) {
            rc = fail(kErrWrite, dbfPath_ + ": header cannot be written: " + errnoText());
            break;
        }
        counter_ = diskCounter + 1;
        std::memcpy(&header_[kChangeCounterOffset], c, 4);
        if (memo_)
            memo_->beginAllocation(diskCounter);
        // Another process may have changed other fields of this record:
        // only the fields changed here are written over its bytes. When no
        // one wrote since we last looked, our copy is the disk's.
        if (!others) {
            std::memcpy(merged.data(), &data_[static_cast<size_t>(rec - 1) * layout_.recordLen],
                        merged.size());
        } else if (!dbf_->readAt(off, merged.data(), merged.size())) {
            rc = fail(kErrRead,
                      dbfPath_ + ": record " + std::to_string(rec) + " cannot be read: " + errnoText());
            break;
        }
        if ((rc = writeMemos(merged)) < 0)
            break;
        for (size_t i = 0; i < layout_.fields.size(); ++i)
            if (fieldDirty_[i] && !memoPending_.count(static_cast<int>(i))) {
                const FieldDef& f = layout_.fields[i];
                std::memcpy(&merged[f.offset], &buf_[f.offset], f.len);
            }
        if (deleteDirty_)
            merged[0] = buf_[0];
        if (!dbf_->writeAt(off, merged.data(), merged.size())) {
            rc = fail(kErrWrite,
                      dbfPath_ + ": record " + std::to_string(rec) + " cannot be written: " + errnoText());
            break;
        }
        if (memo_)
            memo_->endAllocation(diskCounter + 1);
    } while (false);
    if (rc < 0 && memo_)
        memo_->dropCache();
    dbf_->unlock(lockAt, lockLen);
    if (rc < 0)
        return rc;
    std::memcpy(&data_[static_cast<size_t>(rec - 1) * layout_.recordLen], merged.data(), merged.size());
    for (auto& t : tags_)
        t->update(rec, merged.data(), layout_.fields);
    position(rec);
    if (others)
        return refresh();
    return kOk;
}

int Table::flushAppend() {
    if (!memoPending_.empty() && !memo_)
        return fail(kErrMemo, memoFault_);
    for (int attempt = 0;; ++attempt) {
        std::vector<uint8_t> rec = buf_;
        if (!lockHeader(true))
            return fail(kErrLock, dbfPath_ + ": header cannot be locked: " + errnoText());
        uint8_t h[32];
        int rc = kOk;
        if (!dbf_->readAt(0, h, 32)) {
            unlockHeader();
            return fail(kErrRead, dbfPath_ + ": header cannot be read: " + errnoText());
        }
        uint32_t diskCount = le32(h + 4);
        uint32_t diskCounter = le32(h + kChangeCounterOffset);
        bool others = diskCount != count_ || diskCounter != counter_;
        if (others && replacedOnDisk()) {
            // Packed or compressed meanwhile: append to the new files.
            // (Never under the append lock: a rebuild needs the header byte.)
            unlockHeader();
            auto pending = memoPending_;
            auto saved = buf_;
            if ((rc = reopen()) < 0 || attempt > 8)
                return rc < 0 ? rc : fail(kErrLock, dbfPath_ + ": table keeps being rebuilt");
            buf_ = saved;
            memoPending_ = pending;
            cur_ = count_ + 1;
            appendPending_ = dirty_ = true;
            continue;
        }
        do {
            if (others) {
                // A count beyond the file (a torn write elsewhere) is not trusted.
                int64_t size = dbf_->size();
                uint64_t avail = size > layout_.headerLen
                                     ? static_cast<uint64_t>(size - layout_.headerLen) / layout_.recordLen
                                     : 0;
                if (diskCount > avail)
                    diskCount = static_cast<uint32_t>(avail);
            }
            if (memo_)
                memo_->beginAllocation(diskCounter);
            if ((rc = writeMemos(rec)) < 0)
                break;
            rec.push_back(0x1A);
            int64_t off = layout_.headerLen + static_cast<int64_t>(diskCount) * layout_.recordLen;
            if (!dbf_->writeAt(off, rec.data(), rec.size())) {
                rc = fail(kErrWrite, dbfPath_ + ": record cannot be appended: " + errnoText());
                break;
            }
            rec.pop_back();
            stampHeader(h, diskCount + 1, diskCounter + 1);
            if (!dbf_->writeAt(1, h + 1, kChangeCounterOffset + 3)) {
                rc = fail(kErrWrite, dbfPath_ + ": record count cannot be written: " + errnoText());
                break;
            }
            std::memcpy(&header_[1], h + 1, kChangeCounterOffset + 3);
            counter_ = diskCounter + 1;
            if (memo_)
                memo_->endAllocation(counter_);
            uint32_t newRec = diskCount + 1;
            if (others) {
                unlockHeader();
                cur_ = 0;
                dirty_ = appendPending_ = false;
                rc = refresh();
                if (rc >= 0)
                    position(newRec);
                return rc;
            }
            data_.insert(data_.end(), rec.begin(), rec.end());
            count_ = newRec;
            for (auto& t : tags_)
                t->update(newRec, rec.data(), layout_.fields);
            appendPending_ = false;
            position(newRec);
        } while (false);
        if (rc < 0 && memo_)
            memo_->dropCache();
        unlockHeader();
        return rc;
    }
}

bool Table::lockHeader(bool exclusive) {
    return appendLocked_ || dbf_->lock(kHeaderLockOffset, 1, exclusive, true);
}

void Table::unlockHeader() {
    if (!appendLocked_)
        dbf_->unlock(kHeaderLockOffset, 1);
}

int Table::lockAppend() {
    if (appendLocked_)
        return kOk;
    int rc = flush();
    if (rc < 0)
        return rc;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (!dbf_->lock(kHeaderLockOffset, 1, true, true))
            return fail(kErrLock, dbfPath_ + ": header cannot be locked: " + errnoText());
        if (!replacedOnDisk()) {
            appendLocked_ = true;
            if ((rc = syncWithDisk()) < 0)
                unlock();
            return rc;
        }
        // Rebuilt by another process: lock the new file instead.
        dbf_->unlock(kHeaderLockOffset, 1);
        if ((rc = reopen()) < 0)
            return rc;
    }
    return fail(kErrLock, dbfPath_ + ": table keeps being rebuilt");
}

int Table::unlock() {
    int rc = flush();
    if (appendLocked_) {
        dbf_->unlock(kHeaderLockOffset, 1);
        appendLocked_ = false;
    }
    return rc;
}

// ---- other processes -----------------------------------------------------

int Table::reopen() {
    Fault warning;
    uint32_t keep = cur_;
    int sel = selected_;
    std::string selName = sel >= 0 && sel < tagCount() ? tags_[static_cast<size_t>(sel)]->def().name : "";
    memo_.reset();
    dbf_.reset();
    int rc = loadFiles(true, warning);
    if (rc < 0)
        return rc;
    selected_ = selName.empty() ? -1 : tagIndex(selName);
    if (keep && keep <= count_)
        position(keep);
    return kOk;
}

int Table::refresh(bool readLock) {
    if (replacedOnDisk())
        return reopen();
    // A writer holds the header lock for the whole of its change.
    if (readLock && !lockHeader(false))
        return fail(kErrLock, dbfPath_ + ": header cannot be locked: " + errnoText());
    int rc = refreshLocked();
    if (readLock)
        unlockHeader();
    return rc;
}

int Table::refreshLocked() {
    uint8_t h[32];
    if (!dbf_->readAt(0, h, 32))
        return fail(kErrRead, dbfPath_ + ": header cannot be read: " + errnoText());
    int64_t size = dbf_->size();
    uint64_t avail =
        size > layout_.headerLen ? static_cast<uint64_t>(size - layout_.headerLen) / layout_.recordLen : 0;
    uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(le32(h + 4), avail));
    std::vector<uint8_t> fresh(static_cast<size_t>(count) * layout_.recordLen);
    if (count && !dbf_->readAt(layout_.headerLen, fresh.data(), fresh.size()))
        return fail(kErrRead, dbfPath_ + ": records cannot be read: " + errnoText());
    count = usableCount(fresh, count, layout_.recordLen);
    fresh.resize(static_cast<size_t>(count) * layout_.recordLen);
    const unsigned rl = layout_.recordLen;
    for (uint32_t r = 1; r <= count; ++r) {
        const uint8_t* n = &fresh[static_cast<size_t>(r - 1) * rl];
        if (r <= count_ && std::memcmp(n, &data_[static_cast<size_t>(r - 1) * rl], rl) == 0)
            continue;
        for (auto& t : tags_)
            t->update(r, n, layout_.fields);
    }
    if (count < count_)
        for (auto& t : tags_)
            t->truncate(count);
    data_.swap(fresh);
    count_ = count;
    counter_ = le32(h + kChangeCounterOffset);
    std::memcpy(&header_[1], h + 1, kChangeCounterOffset + 3);
    if (!dirty_ && cur_ != 0)
        position(cur_);
    return kOk;
}

} // namespace c4
