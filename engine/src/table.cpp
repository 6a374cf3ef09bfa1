#include "table.h"

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

namespace {

uint32_t le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}
void put32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

bool endsWithCi(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && strcasecmp(s.c_str() + s.size() - suffix.size(), suffix.c_str()) == 0;
}

std::string upper(std::string s) {
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string errnoText() {
    return std::strerror(errno);
}

bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t limit) {
    int err = 0;
    auto f = File::open(path, false, false, err);
    if (!f)
        return false;
    int64_t size = f->size();
    if (size < 0 || static_cast<uint64_t>(size) > limit)
        return false;
    out.resize(static_cast<size_t>(size));
    return size == 0 || f->readAt(0, out.data(), out.size());
}

bool writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, bool sync) {
    int err = 0;
    auto f = File::open(path, true, true, err);
    if (!f)
        return false;
    if (!bytes.empty() && !f->writeAt(0, bytes.data(), bytes.size()))
        return false;
    return !sync || f->sync();
}

// Records beyond the stated count, or trailing records that are not
// records at all (a torn append, a file extended but never written), are
// not rows.
uint32_t usableCount(const std::vector<uint8_t>& data, uint32_t count, unsigned recLen) {
    while (count > 0) {
        uint8_t flag = data[static_cast<size_t>(count - 1) * recLen];
        if (flag == ' ' || flag == '*')
            break;
        --count;
    }
    return count;
}

} // namespace

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

Table::~Table() {
    if (dbf_)
        flush();
}

int Table::fail(int code, const std::string& text) {
    fault_.code = code;
    fault_.text = text;
    return code;
}

int Table::fieldIndex(const std::string& name) const {
    std::string n = upper(name);
    while (!n.empty() && n.back() == ' ')
        n.pop_back();
    for (size_t i = 0; i < layout_.fields.size(); ++i)
        if (layout_.fields[i].name == n && !layout_.fields[i].hidden)
            return static_cast<int>(i);
    return -1;
}

int Table::tagIndex(const std::string& name) const {
    std::string n = upper(name);
    for (size_t i = 0; i < tags_.size(); ++i)
        if (tags_[i]->def().name == n)
            return static_cast<int>(i);
    return -1;
}

std::unique_ptr<Table> Table::open(const std::string& name, Fault& fault, Fault& warning, bool& missing) {
    missing = false;
    std::string candidate = endsWithCi(name, ".dbf") ? name : name + ".dbf";
    EntryKind kind = EntryKind::None;
    std::string found = findEntryCaseInsensitive(candidate, kind);
    if (kind == EntryKind::None) {
        missing = true;
        fault = {kErrOpen, candidate + ": no such table"};
        return nullptr;
    }
    if (kind == EntryKind::Other) {
        // Stat first: a FIFO or a directory is never opened as a table.
        fault = {kErrOpen, found + ": is " + describeEntry(found) + ", not a table file"};
        return nullptr;
    }
    std::unique_ptr<Table> t(new Table());
    t->dbfPath_ = found;
    t->base_ = found.substr(0, found.size() - 4);
    recoverRewrite(found);
    int rc = t->loadFiles(true, warning);
    if (rc < 0) {
        fault = t->fault_;
        return nullptr;
    }
    return t;
}

int Table::loadFiles(bool forWrite, Fault& warning) {
    int err = 0;
    dbf_ = File::open(dbfPath_, forWrite, false, err);
    if (!dbf_)
        return fail(kErrOpen, dbfPath_ + ": cannot open: " + std::strerror(err));
    int rc = loadData();
    if (rc < 0)
        return rc;
    memo_.reset();
    memoFault_.clear();
    memoPath_.clear();
    if (layout_.hasMemoFields) {
        std::string fpt = findCaseInsensitive(base_ + ".fpt");
        std::string dbt = findCaseInsensitive(base_ + ".dbt");
        MemoKind kind = layout_.memoKindFromVersion();
        std::string path;
        if (kind == MemoKind::Fpt)
            path = !fpt.empty() ? fpt : dbt, kind = !fpt.empty() ? MemoKind::Fpt : MemoKind::Dbt4;
        else
            path = !dbt.empty() ? dbt : fpt, kind = !dbt.empty() ? kind : MemoKind::Fpt;
        if (path.empty()) {
            memoPath_ = base_ + ".fpt";
            memoFault_ = memoPath_ + ": memo file is missing";
        } else {
            memoPath_ = path;
            std::string f = MemoFile::open(path, kind, dbf_->writable(), memo_);
            if (!f.empty())
                memoFault_ = path + ": " + f;
        }
        if (!memoFault_.empty() && warning.code == 0)
            warning = {kErrMemo, memoFault_};
    }
    rc = loadTagDefs(warning);
    buildTags();
    selected_ = tags_.empty() ? -1 : 0;
    setEof();
    return kOk;
}

int Table::loadData() {
    int64_t size = dbf_->size();
    uint8_t first[32];
    if (size < 32 || !dbf_->readAt(0, first, 32))
        return fail(kErrData, dbfPath_ + ": header truncated (file shorter than 32 bytes)");
    unsigned hlen = headerLenFromPrefix(first);
    if (hlen < 33 || hlen > size)
        return fail(kErrData,
                    dbfPath_ + ": header length " + std::to_string(hlen) + " does not fit the file");
    header_.assign(hlen, 0);
    if (!dbf_->readAt(0, header_.data(), hlen))
        return fail(kErrRead, dbfPath_ + ": header cannot be read: " + errnoText());
    std::string f = parseHeader(header_, size, layout_);
    if (!f.empty())
        return fail(kErrData, dbfPath_ + ": " + f);
    uint64_t avail = static_cast<uint64_t>(size - hlen) / layout_.recordLen;
    uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(layout_.headerCount, avail));
    data_.assign(static_cast<size_t>(count) * layout_.recordLen, 0);
    if (count && !dbf_->readAt(hlen, data_.data(), data_.size()))
        return fail(kErrRead, dbfPath_ + ": records cannot be read: " + errnoText());
    count_ = usableCount(data_, count, layout_.recordLen);
    data_.resize(static_cast<size_t>(count_) * layout_.recordLen);
    counter_ = layout_.changeCounter;
    return kOk;
}

int Table::loadTagDefs(Fault& warning) {
    tagDefs_.clear();
    tagSource_.clear();
    std::string atx = findCaseInsensitive(base_ + ".atx");
    std::vector<uint8_t> bytes;
    std::string fault;
    if (!atx.empty()) {
        tagSource_ = atx;
        if (!readWholeFile(atx, bytes, 1 << 20))
            fault = "cannot be read";
        else
            fault = parseTagFile(std::string(bytes.begin(), bytes.end()), tagDefs_);
    } else {
        std::string cdx = findCaseInsensitive(base_ + ".cdx");
        std::string mdx = findCaseInsensitive(base_ + ".mdx");
        if (!cdx.empty() || !mdx.empty()) {
            tagSource_ = !cdx.empty() ? cdx : mdx;
            if (!readWholeFile(tagSource_, bytes, 256u << 20))
                fault = "cannot be read";
            else
                fault = !cdx.empty() ? readCdxTags(bytes, tagDefs_) : readMdxTags(bytes, tagDefs_);
        }
    }
    if (!fault.empty()) {
        tagDefs_.clear();
        if (warning.code == 0)
            warning = {kErrIndex, tagSource_ + ": " + fault};
        return kErrIndex;
    }
    tags_.clear();
    for (const auto& d : tagDefs_) {
        auto t = std::make_unique<TagIndex>();
        std::string e = t->init(d, layout_.fields);
        if (!e.empty()) {
            if (warning.code == 0)
                warning = {kErrExpr, tagSource_ + ": " + e};
            continue;
        }
        tags_.push_back(std::move(t));
    }
    return kOk;
}

void Table::buildTags() {
    for (auto& t : tags_)
        t->build(data_.data(), count_, layout_.recordLen, layout_.fields);
}

std::vector<uint8_t> Table::headerBytes(uint32_t count) const {
    std::vector<uint8_t> h = header_;
    stampHeader(h.data(), count, counter_);
    return h;
}

std::unique_ptr<Table> Table::create(const std::string& name, const std::vector<FieldDef>& fieldsIn,
                                     const std::vector<TagDef>& tagsIn, bool replace, Fault& fault) {
    std::string base = endsWithCi(name, ".dbf") ? name.substr(0, name.size() - 4) : name;
    TableLayout layout;
    layout.fields = fieldsIn;
    for (auto& f : layout.fields)
        f.name = upper(f.name);
    std::string e = validateFields(layout.fields);
    if (!e.empty()) {
        fault = {kErrField, base + ".dbf: " + e};
        return nullptr;
    }
    std::vector<uint8_t> header = buildHeader(layout);
    std::vector<TagDef> tags = tagsIn;
    for (auto& t : tags) {
        t.name = upper(t.name);
        if (!validTagName(t.name)) {
            fault = {kErrIndex, base + ".dbf: bad tag name \"" + t.name + "\""};
            return nullptr;
        }
        TagIndex probe;
        e = probe.init(t, layout.fields);
        if (!e.empty()) {
            fault = {kErrExpr, base + ".dbf: " + e};
            return nullptr;
        }
    }
    EntryKind kind = EntryKind::None;
    std::string existing = findEntryCaseInsensitive(base + ".dbf", kind);
    if (kind == EntryKind::Other) {
        // Whatever sits in the table's place is left alone, and so are its
        // memo and tag files.
        fault = {kErrCreate,
                 existing + ": is " + describeEntry(existing) + "; no table is made in its place"};
        return nullptr;
    }
    std::string dbfPath = existing.empty() ? base + ".dbf" : existing;
    std::string realBase = dbfPath.substr(0, dbfPath.size() - 4);
    Fault f2, w2;
    bool missing = false;
    if (!existing.empty() && !replace) {
        fault = {kErrCreate, dbfPath + ": table exists"};
        return nullptr;
    }
    if (existing.empty() || !Table::open(dbfPath, f2, w2, missing)) {
        // A table we cannot read, or memo files left without their table,
        // are set aside under names no earlier copy holds, never destroyed.
        if (!existing.empty() && moveAsideUnique(dbfPath, ".damaged").empty()) {
            fault = {kErrCreate, dbfPath + ": cannot be set aside: " + errnoText()};
            return nullptr;
        }
        for (const char* ext : {".fpt", ".dbt"}) {
            std::string m = findCaseInsensitive(realBase + ext);
            if (!m.empty() && moveAsideUnique(m, ".damaged").empty()) {
                fault = {kErrCreate, m + ": cannot be set aside: " + errnoText()};
                return nullptr;
            }
        }
    }
    std::string memoPath;
    if (layout.hasMemoFields) {
        std::string m = findCaseInsensitive(realBase + ".fpt");
        memoPath = m.empty() ? realBase + ".fpt" : m;
        std::unique_ptr<MemoFile> memo;
        e = MemoFile::createFpt(memoPath, memo);
        if (!e.empty()) {
            fault = {kErrCreate, memoPath + ": " + e};
            return nullptr;
        }
    }
    header.push_back(0x1A);
    if (!writeWholeFile(dbfPath, header, false)) {
        fault = {kErrCreate, dbfPath + ": cannot be created: " + errnoText()};
        return nullptr;
    }
    std::string atx = findCaseInsensitive(realBase + ".atx");
    if (atx.empty())
        atx = realBase + ".atx";
    if (tags.empty()) {
        removeFile(atx);
    } else {
        std::string text = formatTagFile(tags);
        if (!writeWholeFile(atx, std::vector<uint8_t>(text.begin(), text.end()), false)) {
            fault = {kErrCreate, atx + ": cannot be created: " + errnoText()};
            return nullptr;
        }
    }
    Fault warning;
    auto t = Table::open(dbfPath, fault, warning, missing);
    if (t && warning.code != 0) {
        fault = warning;
        return nullptr;
    }
    return t;
}

// ---- positioning -------------------------------------------------------

void Table::blankBuffer() {
    buf_.assign(layout_.recordLen, ' ');
    for (const auto& f : layout_.fields)
        if (f.binaryMemoPtr || f.type == 'I' || f.type == 'B' || f.type == 'Y' || f.type == 'T' || f.hidden)
            std::memset(&buf_[f.offset], 0, f.len);
}

int Table::setEof() {
    ++generation_;
    cur_ = 0;
    blankBuffer();
    dirty_ = appendPending_ = deleteDirty_ = false;
    fieldDirty_.assign(layout_.fields.size(), 0);
    memoPending_.clear();
    return kEof;
}

int Table::position(uint32_t rec) {
    if (rec == 0 || rec > count_)
        return setEof();
    ++generation_;
    cur_ = rec;
    const uint8_t* p = &data_[static_cast<size_t>(rec - 1) * layout_.recordLen];
    buf_.assign(p, p + layout_.recordLen);
    dirty_ = appendPending_ = deleteDirty_ = false;
    fieldDirty_.assign(layout_.fields.size(), 0);
    memoPending_.clear();
    return kOk;
}

int Table::syncWithDisk() {
    uint8_t h[32];
    if (!dbf_->readAt(0, h, 32))
        return fail(kErrRead, dbfPath_ + ": header cannot be read: " + errnoText());
    // A rebuild by another process bumps the counter of the old file too.
    if (le32(h + kChangeCounterOffset) != counter_ || le32(h + 4) != count_)
        return refresh();
    return kOk;
}

int Table::top() {
    int rc = flush();
    if (rc < 0)
        return rc;
    if ((rc = syncWithDisk()) < 0)
        return rc;
    if (selected_ >= 0)
        return position(tags_[static_cast<size_t>(selected_)]->first());
    return position(count_ ? 1 : 0);
}

int Table::bottom() {
    int rc = flush();
    if (rc < 0)
        return rc;
    if ((rc = syncWithDisk()) < 0)
        return rc;
    if (selected_ >= 0)
        return position(tags_[static_cast<size_t>(selected_)]->last());
    return position(count_);
}

int Table::skip(long n) {
    int rc = flush();
    if (rc < 0)
        return rc;
    TagIndex* tag = selected_ >= 0 ? tags_[static_cast<size_t>(selected_)].get() : nullptr;
    if (cur_ == 0) {
        // At the end of the file a step back reaches the last record.
        if (n >= 0)
            return setEof();
        uint32_t last = tag ? tag->last() : count_;
        if (last == 0)
            return setEof();
        position(last);
        ++n;
    }
    if (n == 0) {
        if (cur_ > count_)
            return setEof();
        return position(cur_);
    }
    uint32_t rec = cur_;
    for (; n > 0; --n) {
        rec = tag ? tag->next(rec) : (rec < count_ ? rec + 1 : 0);
        if (rec == 0)
            return setEof();
    }
    for (; n < 0; ++n) {
        uint32_t p = tag ? tag->prev(rec) : (rec > 1 ? rec - 1 : 0);
        if (p == 0) {
            position(tag ? tag->first() : (count_ ? 1 : 0));
            return cur_ ? kBof : kEof;
        }
        rec = p;
    }
    return position(rec);
}

int Table::go(long rec) {
    int rc = flush();
    if (rc < 0)
        return rc;
    if ((rc = syncWithDisk()) < 0)
        return rc;
    if (rec < 1 || static_cast<uint64_t>(rec) > count_) {
        setEof();
        return fail(kErrRecord, dbfPath_ + ": record " + std::to_string(rec) + " does not exist");
    }
    return position(static_cast<uint32_t>(rec));
}

// Text keys are blank-padded to the tag's width, numbers compared as numbers;
// the selected tag (or the first, in record order) makes the search key.
template <typename Value> int Table::seekValue(const Value& value) {
    int rc = flush();
    if (rc < 0)
        return rc;
    if ((rc = syncWithDisk()) < 0)
        return rc;
    if (tags_.empty())
        return fail(kErrIndex, dbfPath_ + ": seek on a table without tags");
    TagIndex& t = *tags_[static_cast<size_t>(selected_ >= 0 ? selected_ : 0)];
    bool found = false;
    uint32_t rec = t.seek(t.searchKey(value), found);
    if (rec == 0)
        return setEof();
    position(rec);
    return found ? kOk : kAfter;
}

int Table::seek(const std::string& text) {
    return seekValue(text);
}

int Table::seekDouble(double v) {
    return seekValue(v);
}

uint32_t Table::recCount() {
    syncWithDisk();
    return count_ + (appendPending_ ? 1 : 0);
}

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
    int64_t lockLen = static_cast<int64_t>(rec) + 1;
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
        if (!dbf_->lock(kHeaderLockOffset, 1, true, true))
            return fail(kErrLock, dbfPath_ + ": header cannot be locked: " + errnoText());
        uint8_t h[32];
        int rc = kOk;
        if (!dbf_->readAt(0, h, 32)) {
            dbf_->unlock(kHeaderLockOffset, 1);
            return fail(kErrRead, dbfPath_ + ": header cannot be read: " + errnoText());
        }
        uint32_t diskCount = le32(h + 4);
        uint32_t diskCounter = le32(h + kChangeCounterOffset);
        bool others = diskCount != count_ || diskCounter != counter_;
        if (others && replacedOnDisk()) {
            // Packed or compressed meanwhile: append to the new files.
            dbf_->unlock(kHeaderLockOffset, 1);
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
                dbf_->unlock(kHeaderLockOffset, 1);
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
        dbf_->unlock(kHeaderLockOffset, 1);
        return rc;
    }
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
    if (readLock && !dbf_->lock(kHeaderLockOffset, 1, false, true))
        return fail(kErrLock, dbfPath_ + ": header cannot be locked: " + errnoText());
    int rc = refreshLocked();
    if (readLock)
        dbf_->unlock(kHeaderLockOffset, 1);
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

// ---- whole-table operations ---------------------------------------------

int Table::lockFile() {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (!dbf_->lock(kFileLockStart, kFileLockLen, true, true))
            return fail(kErrLock, dbfPath_ + ": table cannot be locked: " + errnoText());
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
