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

} // namespace c4
