// An open table: the data file (records cached in memory as they are on
// disk), its memo file, its tags, the current record and its pending
// changes. Writers serialise through fcntl locks on the data file; a change
// counter in the header tells other processes to refresh their cache.
#pragma once

#include "dbf_format.h"
#include "memo.h"
#include "storage.h"
#include "tag_index.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace c4 {

// Result codes shared with the C interface.
enum : int {
    kOk = 0,
    kAfter = 2,
    kEof = 3,
    kBof = 4,
    kErrOpen = -10,
    kErrCreate = -20,
    kErrRead = -30,
    kErrWrite = -40,
    kErrData = -50,
    kErrMemo = -60,
    kErrIndex = -70,
    kErrExpr = -80,
    kErrField = -90,
    kErrParm = -100,
    kErrLock = -110,
    kErrRecord = -130
};

// Lock offsets in the data file (the FoxPro convention): the header byte
// for appends and the change counter, one byte per record below it.
constexpr int64_t kHeaderLockOffset = 0x7FFFFFFE;
constexpr int64_t kFileLockStart = 0x3FFFFFFF;
constexpr int64_t kFileLockLen = 0x40000000;

struct Fault {
    int code = 0;
    std::string text; // names the file and the fault
};

class Table {
public:
    ~Table();

    // Opens base path (with or without ".dbf"). A missing file gives
    // kErrOpen with missing = true. Warnings (a damaged tag file, a missing
    // memo file) leave the table open and are returned in warning.
    static std::unique_ptr<Table> open(const std::string& name, Fault& fault, Fault& warning, bool& missing);
    static std::unique_ptr<Table> create(const std::string& name, const std::vector<FieldDef>& fields,
                                         const std::vector<TagDef>& tags, bool replace, Fault& fault);

    const TableLayout& layout() const { return layout_; }
    const std::vector<FieldDef>& fields() const { return layout_.fields; }
    const std::string& dataPath() const { return dbfPath_; }
    const std::string& memoPath() const { return memoPath_; }
    const std::string& tagFilePath() const { return tagSource_; }
    MemoFile* memo() { return memo_.get(); }
    int fieldIndex(const std::string& name) const;
    int tagCount() const { return static_cast<int>(tags_.size()); }
    TagIndex& tag(int i) { return *tags_[static_cast<size_t>(i)]; }
    int tagIndex(const std::string& name) const;
    void selectTag(int i) { selected_ = i; }
    int selectedTag() const { return selected_; }
    void setSyncWrites(bool on) { syncWrites_ = on; }

    // Positioning: kOk, kAfter, kEof, kBof or an error.
    int top();
    int bottom();
    int skip(long n);
    int go(long rec);
    int seek(const std::string& text);
    int seekDouble(double v);
    uint32_t recNo() const { return cur_; }
    uint32_t recCount();

    // The current record's bytes (blank at end of file).
    const uint8_t* record() const { return buf_.data(); }
    bool hasRecord() const { return cur_ != 0; }
    int assignText(int field, const char* text, size_t len);
    int assignNumber(int field, double v);
    int memoAssign(int field, const uint8_t* data, size_t len);
    // The memo of the current record; an error when unreadable.
    int memoRead(int field, std::vector<uint8_t>& out);
    int setDeleted(bool deleted);
    bool deleted() const { return buf_[0] == '*'; }

    int appendBlank();
    int flush(); // writes pending changes (the record, its memos, the count)
    // Takes the append lock (the header byte) and keeps it until unlock(), so
    // that what is read under it (the highest ID) and the append that follows
    // are one step for every process. Brings the table up to date first.
    int lockAppend();
    // flush(), then gives up the append lock.
    int unlock();
    int pack();
    int memoCompress();
    int zap(long start, long count);
    int reindex();
    // Re-reads the files when another process changed them.
    int syncWithDisk();

    // Changes whenever the current record or its memos may have changed.
    uint64_t generation() const { return generation_; }
    const Fault& lastFault() const { return fault_; }
    void clearFault() { fault_ = Fault{}; }

private:
    template <typename Value> int seekValue(const Value& value);
    Table() = default;
    int fail(int code, const std::string& text);
    int loadFiles(bool forWrite, Fault& warning);
    int loadData();
    void buildTags();
    int loadTagDefs(Fault& warning);
    int position(uint32_t rec);
    int setEof();
    void blankBuffer();
    int writeMemos(std::vector<uint8_t>& rec);
    int flushUpdate();
    int flushAppend();
    bool replacedOnDisk();
    int reopen();
    int refresh(bool readLock = true);
    int refreshLocked();
    // The header byte's lock, unless the append lock already holds it.
    bool lockHeader(bool exclusive);
    void unlockHeader();
    int rewrite(const std::vector<uint8_t>& records, uint32_t count, const std::vector<uint8_t>* memoImage);
    int lockFile();
    void unlockFile();
    std::vector<uint8_t> headerBytes(uint32_t count) const;

    std::string base_;
    std::string dbfPath_, memoPath_, tagSource_;
    std::unique_ptr<File> dbf_;
    std::unique_ptr<MemoFile> memo_;
    std::string memoFault_;
    TableLayout layout_;
    std::vector<uint8_t> header_; // headerLen bytes as on disk
    std::vector<uint8_t> data_;   // count records as on disk
    uint32_t count_ = 0;
    uint32_t counter_ = 0;
    std::vector<TagDef> tagDefs_;
    std::vector<std::unique_ptr<TagIndex>> tags_;
    int selected_ = -1;
    bool syncWrites_ = false;
    bool appendLocked_ = false; // the header byte is held until unlock()

    uint32_t cur_ = 0;
    std::vector<uint8_t> buf_;
    bool dirty_ = false;
    bool appendPending_ = false;
    bool deleteDirty_ = false;
    std::vector<uint8_t> fieldDirty_;
    std::map<int, std::vector<uint8_t>> memoPending_;
    uint64_t generation_ = 0;
    Fault fault_;
};

// Rolls forward (or cleans up) a rewrite a crash interrupted.
void recoverRewrite(const std::string& dbfPath);

} // namespace c4
