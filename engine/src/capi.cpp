// The C interface: thin wrappers that turn handles into the engine's
// objects, record errors in the session and print messages when asked to.
#include "../c4dstand.h"

#include "expr.h"
#include "field_codec.h"
#include "storage.h"
#include "table.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <set>
#include <string>
#include <vector>

struct CODE4St {
    int errorCode = 0;
    bool messagesOff = false;
    bool reportOpen = true;
    bool safety = true;
    bool syncWrites = false;
    std::string errorText;
    std::set<DATA4*> open;
};

struct FIELD4St {
    DATA4* data = nullptr;
    int index = 0;
    std::string text;
    std::vector<uint8_t> memo;
    uint64_t memoGeneration = ~0ull;
    bool memoOk = false;
};

struct TAG4St {
    DATA4* data = nullptr;
    int index = 0;
};

struct DATA4St {
    CODE4* cb = nullptr;
    std::unique_ptr<c4::Table> table;
    std::vector<std::unique_ptr<FIELD4>> fields; // by field index
    std::vector<std::unique_ptr<TAG4>> tags;     // by tag index
};

namespace {

void report(CODE4* cb, int code, const std::string& text) {
    if (!cb || code >= 0)
        return;
    cb->errorCode = code;
    cb->errorText = text;
    if (!cb->messagesOff)
        std::fprintf(stderr, "c4dstand: error %d: %s\n", code, text.c_str());
}

// Passes a table result through, recording an error.
int check(DATA4* d, int rc) {
    if (rc < 0) {
        report(d->cb, rc, d->table->lastFault().text);
        d->table->clearFault();
    }
    return rc;
}

FIELD4* fieldHandle(DATA4* d, int index) {
    if (d->fields.empty())
        d->fields.resize(d->table->fields().size());
    auto& slot = d->fields[static_cast<size_t>(index)];
    if (!slot) {
        slot = std::make_unique<FIELD4>();
        slot->data = d;
        slot->index = index;
    }
    return slot.get();
}

TAG4* tagHandle(DATA4* d, int index) {
    if (d->tags.size() < static_cast<size_t>(d->table->tagCount()))
        d->tags.resize(static_cast<size_t>(d->table->tagCount()));
    auto& slot = d->tags[static_cast<size_t>(index)];
    if (!slot) {
        slot = std::make_unique<TAG4>();
        slot->data = d;
        slot->index = index;
    }
    return slot.get();
}

const c4::FieldDef& def(FIELD4* f) {
    return f->data->table->fields()[static_cast<size_t>(f->index)];
}

bool isMemo(const c4::FieldDef& f) {
    return c4::isMemoType(f.type) && !(f.type == 'B' && f.len == 8);
}

// Reads the memo of the current record once per position.
bool loadMemo(FIELD4* f) {
    c4::Table& t = *f->data->table;
    if (f->memoGeneration == t.generation())
        return f->memoOk;
    int rc = t.memoRead(f->index, f->memo);
    f->memoOk = rc >= 0;
    if (rc < 0)
        check(f->data, rc);
    f->memoGeneration = t.generation();
    return f->memoOk;
}

DATA4* wrap(CODE4* cb, std::unique_ptr<c4::Table> t) {
    auto* d = new DATA4St();
    d->cb = cb;
    d->table = std::move(t);
    d->table->setSyncWrites(cb->syncWrites);
    cb->open.insert(d);
    return d;
}

} // namespace

extern "C" {

CODE4* code4initP(void) {
    return new (std::nothrow) CODE4St();
}

int code4initUndoP(CODE4* cb) {
    if (!cb)
        return E4_PARM;
    int rc = 0;
    auto open = cb->open;
    for (DATA4* d : open) {
        int r = d4close(d);
        if (r < 0)
            rc = r;
    }
    delete cb;
    return rc;
}

int code4errOff(CODE4* cb, int off) {
    if (!cb)
        return E4_PARM;
    int old = cb->messagesOff;
    cb->messagesOff = off != 0;
    return old;
}

int code4errOpen(CODE4* cb, int reportOpen) {
    if (!cb)
        return E4_PARM;
    int old = cb->reportOpen;
    cb->reportOpen = reportOpen != 0;
    return old;
}

int code4safety(CODE4* cb, int safety) {
    if (!cb)
        return E4_PARM;
    int old = cb->safety;
    cb->safety = safety != 0;
    return old;
}

int code4errorCode(CODE4* cb, int newCode) {
    if (!cb)
        return E4_PARM;
    int old = cb->errorCode;
    cb->errorCode = newCode;
    if (newCode == 0)
        cb->errorText.clear();
    return old;
}

const char* code4errorText(CODE4* cb) {
    return cb ? cb->errorText.c_str() : "";
}

int code4syncWrites(CODE4* cb, int on) {
    if (!cb)
        return E4_PARM;
    int old = cb->syncWrites;
    cb->syncWrites = on != 0;
    for (DATA4* d : cb->open)
        d->table->setSyncWrites(cb->syncWrites);
    return old;
}

DATA4* d4open(CODE4* cb, const char* name) {
    if (!cb || !name)
        return nullptr;
    c4::Fault fault, warning;
    bool missing = false;
    auto t = c4::Table::open(name, fault, warning, missing);
    if (!t) {
        // A missing table is quiet when open failures are not reported; a
        // damaged one is always an error.
        if (!(missing && !cb->reportOpen))
            report(cb, fault.code, fault.text);
        return nullptr;
    }
    if (warning.code < 0)
        report(cb, warning.code, warning.text);
    return wrap(cb, std::move(t));
}

DATA4* d4create(CODE4* cb, const char* name, const FIELD4INFO* fields, const TAG4INFO* tags) {
    if (!cb || !name || !fields) {
        report(cb, E4_PARM, "d4create: missing name or field list");
        return nullptr;
    }
    std::vector<c4::FieldDef> fl;
    for (const FIELD4INFO* f = fields; f->name; ++f) {
        c4::FieldDef d;
        d.name = f->name;
        d.type = static_cast<char>(std::toupper(f->type & 0xFF));
        d.len = f->len;
        d.dec = f->dec;
        fl.push_back(d);
    }
    std::vector<c4::TagDef> tl;
    for (const TAG4INFO* t = tags; t && t->name; ++t) {
        c4::TagDef d;
        d.name = t->name;
        d.expression = t->expression ? t->expression : "";
        d.filter = t->filter ? t->filter : "";
        d.unique = t->unique != 0;
        d.descending = t->descending != 0;
        tl.push_back(d);
    }
    c4::Fault fault;
    auto t = c4::Table::create(name, fl, tl, !cb->safety, fault);
    if (!t) {
        report(cb, fault.code ? fault.code : E4_CREATE, fault.text);
        return nullptr;
    }
    return wrap(cb, std::move(t));
}

int d4close(DATA4* d) {
    if (!d)
        return E4_PARM;
    int rc = check(d, d->table->flush());
    d->cb->open.erase(d);
    delete d;
    return rc < 0 ? rc : 0;
}

FIELD4* d4field(DATA4* d, const char* name) {
    if (!d || !name)
        return nullptr;
    int i = d->table->fieldIndex(name);
    return i < 0 ? nullptr : fieldHandle(d, i);
}

TAG4* d4tag(DATA4* d, const char* name) {
    if (!d || !name)
        return nullptr;
    int i = d->table->tagIndex(name);
    return i < 0 ? nullptr : tagHandle(d, i);
}

void d4tagSelect(DATA4* d, TAG4* tag) {
    if (!d)
        return;
    d->table->selectTag(tag && tag->data == d ? tag->index : -1);
}

int d4seek(DATA4* d, const char* key) {
    if (!d || !key)
        return E4_PARM;
    return check(d, d->table->seek(key));
}

int d4seekDouble(DATA4* d, double key) {
    if (!d)
        return E4_PARM;
    return check(d, d->table->seekDouble(key));
}

int d4top(DATA4* d) {
    return d ? check(d, d->table->top()) : E4_PARM;
}
int d4bottom(DATA4* d) {
    return d ? check(d, d->table->bottom()) : E4_PARM;
}
int d4skip(DATA4* d, long n) {
    return d ? check(d, d->table->skip(n)) : E4_PARM;
}
int d4go(DATA4* d, long rec) {
    return d ? check(d, d->table->go(rec)) : E4_PARM;
}
long d4recNo(DATA4* d) {
    return d ? static_cast<long>(d->table->recNo()) : 0;
}

int d4appendBlank(DATA4* d) {
    return d ? check(d, d->table->appendBlank()) : E4_PARM;
}
int d4unlock(DATA4* d) {
    return d ? check(d, d->table->unlock()) : E4_PARM;
}
int d4lockAppend(DATA4* d) {
    return d ? check(d, d->table->lockAppend()) : E4_PARM;
}

void d4delete(DATA4* d) {
    if (d)
        check(d, d->table->setDeleted(true));
}

void d4recall(DATA4* d) {
    if (d)
        check(d, d->table->setDeleted(false));
}

int d4deleted(DATA4* d) {
    return d && d->table->hasRecord() && d->table->deleted() ? 1 : 0;
}
int d4pack(DATA4* d) {
    return d ? check(d, d->table->pack()) : E4_PARM;
}
int d4memoCompress(DATA4* d) {
    return d ? check(d, d->table->memoCompress()) : E4_PARM;
}
int d4zap(DATA4* d, long start, long num) {
    return d ? check(d, d->table->zap(start, num)) : E4_PARM;
}
long d4recCountDo(DATA4* d) {
    return d ? static_cast<long>(d->table->recCount()) : -1;
}
int d4reindex(DATA4* d) {
    return d ? check(d, d->table->reindex()) : E4_PARM;
}

int d4numFields(DATA4* d) {
    if (!d)
        return E4_PARM;
    int n = 0;
    for (const auto& f : d->table->fields())
        n += !f.hidden;
    return n;
}

FIELD4* d4fieldJ(DATA4* d, int j) {
    if (!d || j < 1)
        return nullptr;
    int n = 0;
    const auto& fl = d->table->fields();
    for (size_t i = 0; i < fl.size(); ++i)
        if (!fl[i].hidden && ++n == j)
            return fieldHandle(d, static_cast<int>(i));
    return nullptr;
}

int d4codePage(DATA4* d) {
    return d ? d->table->layout().codePage : E4_PARM;
}
int d4version(DATA4* d) {
    return d ? d->table->layout().version : E4_PARM;
}
int d4numTags(DATA4* d) {
    return d ? d->table->tagCount() : E4_PARM;
}
TAG4* d4tagJ(DATA4* d, int j) {
    return d && j >= 1 && j <= d->table->tagCount() ? tagHandle(d, j - 1) : nullptr;
}

const char* f4name(FIELD4* f) {
    return f ? def(f).name.c_str() : "";
}
int f4type(FIELD4* f) {
    return f ? def(f).type : 0;
}
int f4len(FIELD4* f) {
    return f ? static_cast<int>(def(f).len) : 0;
}
int f4decimals(FIELD4* f) {
    return f ? static_cast<int>(def(f).dec) : 0;
}

const char* t4name(TAG4* t) {
    return t ? t->data->table->tag(t->index).def().name.c_str() : "";
}
const char* t4expr(TAG4* t) {
    return t ? t->data->table->tag(t->index).def().expression.c_str() : "";
}
const char* t4filter(TAG4* t) {
    return t ? t->data->table->tag(t->index).def().filter.c_str() : "";
}
int t4unique(TAG4* t) {
    return t ? t->data->table->tag(t->index).def().unique : 0;
}
int t4descending(TAG4* t) {
    return t ? t->data->table->tag(t->index).def().descending : 0;
}

void f4assign(FIELD4* f, const char* text) {
    if (f)
        f4assignN(f, text ? text : "", text ? static_cast<unsigned>(std::strlen(text)) : 0);
}

void f4assignN(FIELD4* f, const char* text, unsigned len) {
    if (!f)
        return;
    check(f->data, f->data->table->assignText(f->index, text ? text : "", text ? len : 0));
}

void f4assignDouble(FIELD4* f, double v) {
    if (!f)
        return;
    if (def(f).type == 'D') {
        // A number assigned to a date is a Julian day number.
        std::string d = v > 0 ? c4::daysToDate(static_cast<long>(v) - 2440588) : std::string(8, ' ');
        f4assignN(f, d.data(), 8);
        return;
    }
    check(f->data, f->data->table->assignNumber(f->index, v));
}

void f4assignLong(FIELD4* f, long v) {
    f4assignDouble(f, static_cast<double>(v));
}
void f4assignInt(FIELD4* f, int v) {
    f4assignDouble(f, static_cast<double>(v));
}

int f4memoAssign(FIELD4* f, const char* text) {
    return f4memoAssignN(f, text ? text : "", text ? static_cast<unsigned>(std::strlen(text)) : 0);
}

int f4memoAssignN(FIELD4* f, const char* data, unsigned len) {
    if (!f)
        return E4_PARM;
    return check(f->data, f->data->table->memoAssign(
                              f->index, reinterpret_cast<const uint8_t*>(data ? data : ""), data ? len : 0));
}

const char* f4str(FIELD4* f) {
    if (!f)
        return "";
    const c4::FieldDef& d = def(f);
    if (isMemo(d)) {
        if (!loadMemo(f))
            return "";
        f->text.assign(f->memo.begin(), f->memo.end());
        return f->text.c_str();
    }
    f->text = c4::decodeText(d, f->data->table->record());
    return f->text.c_str();
}

double f4double(FIELD4* f) {
    if (!f)
        return 0;
    const c4::FieldDef& d = def(f);
    if (isMemo(d)) {
        if (!loadMemo(f))
            return 0;
        return std::strtod(std::string(f->memo.begin(), f->memo.end()).c_str(), nullptr);
    }
    if (d.type == 'C')
        return std::strtod(c4::decodeText(d, f->data->table->record()).c_str(), nullptr);
    return c4::decodeNumber(d, f->data->table->record());
}

long f4long(FIELD4* f) {
    double v = f4double(f);
    if (!std::isfinite(v))
        return 0;
    v = std::trunc(v);
    if (v > 9.2e18 || v < -9.2e18)
        return 0;
    return static_cast<long>(v);
}

int f4int(FIELD4* f) {
    long v = f4long(f);
    if (v > 2147483647L || v < -2147483647L - 1)
        return 0;
    return static_cast<int>(v);
}

const char* f4memoStr(FIELD4* f) {
    if (!f)
        return "";
    if (!isMemo(def(f)))
        return f4str(f);
    if (!loadMemo(f))
        return "";
    f->text.assign(f->memo.begin(), f->memo.end());
    return f->text.c_str();
}

unsigned f4memoLen(FIELD4* f) {
    if (!f)
        return 0;
    if (!isMemo(def(f)))
        return static_cast<unsigned>(std::strlen(f4str(f)));
    return loadMemo(f) ? static_cast<unsigned>(f->memo.size()) : 0;
}

void date4today(char* date8) {
    if (!date8)
        return;
    time_t now = time(nullptr);
    struct tm t;
    localtime_r(&now, &t);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", (t.tm_year + 1900) % 10000, (t.tm_mon + 1) % 100,
                  t.tm_mday % 100);
    std::memcpy(date8, buf, 8);
}

void date4format(const char* date8, char* result, const char* picture) {
    if (!result)
        return;
    if (!picture)
        picture = "";
    static const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
    size_t n = std::strlen(picture);
    std::string date = date8 ? std::string(date8, strnlen(date8, 8)) : std::string();
    bool valid = date.size() == 8;
    for (char c : date)
        valid = valid && c >= '0' && c <= '9';
    std::string out(n, ' ');
    for (size_t i = 0; i < n;) {
        char c = picture[i];
        size_t run = 1;
        while (i + run < n && picture[i + run] == c)
            ++run;
        std::string digits;
        if (c == 'C')
            digits = valid ? date.substr(0, 2) : "  ";
        else if (c == 'Y')
            digits = valid ? (run >= 4 ? date.substr(0, 4) : date.substr(2, 2))
                           : std::string(run >= 4 ? 4 : 2, ' ');
        else if (c == 'M' && run >= 3) {
            int m = valid ? std::atoi(date.substr(4, 2).c_str()) : 0;
            digits = (m >= 1 && m <= 12) ? std::string(months[m - 1]) : std::string(run, ' ');
            digits.resize(run, ' ');
        } else if (c == 'M')
            digits = valid ? date.substr(4, 2) : "  ";
        else if (c == 'D')
            digits = valid ? date.substr(6, 2) : "  ";
        if (digits.empty()) {
            out.replace(i, run, std::string(run, c));
        } else {
            // A run takes the last digits of its part (right-aligned).
            if (digits.size() < run)
                digits.insert(0, run - digits.size(), ' ');
            out.replace(i, run, digits.substr(digits.size() - run));
        }
        i += run;
    }
    std::memcpy(result, out.data(), n);
    result[n] = 0;
}

} // extern "C"
