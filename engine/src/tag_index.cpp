#include "tag_index.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace c4 {

constexpr unsigned kMaxKeyLen = 240;

void encodeNumberKey(double v, uint8_t* out) {
    if (v == 0 || !std::isfinite(v))
        v = std::isnan(v) ? 0 : (v == 0 ? 0.0 : v);
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    if (bits >> 63)
        bits = ~bits;
    else
        bits |= 1ull << 63;
    for (int i = 7; i >= 0; --i) {
        out[i] = static_cast<uint8_t>(bits);
        bits >>= 8;
    }
}

bool TagIndex::Cmp::operator()(uint32_t a, uint32_t b) const {
    int c = std::memcmp(tag->keyOf(a), tag->keyOf(b), tag->keyLen_);
    if (c != 0)
        return tag->def_.descending ? c > 0 : c < 0;
    return a < b;
}

std::string TagIndex::init(const TagDef& def, const std::vector<FieldDef>& fields) {
    def_ = def;
    std::string fault = key_.parse(def.expression, fields);
    if (!fault.empty())
        return "tag " + def.name + ": " + fault;
    if (!def.filter.empty()) {
        fault = filter_.parse(def.filter, fields);
        if (!fault.empty())
            return "tag " + def.name + " filter: " + fault;
        if (filter_.type() != 'L')
            return "tag " + def.name + " filter is not a logical expression";
    }
    switch (key_.type()) {
    case 'N':
        keyType_ = 'N';
        keyLen_ = 8;
        break;
    case 'D':
        keyType_ = 'C';
        keyLen_ = 8;
        break;
    case 'L':
        keyType_ = 'C';
        keyLen_ = 1;
        break;
    default:
        keyType_ = 'C';
        keyLen_ = std::clamp(key_.width(), 1u, kMaxKeyLen);
        break;
    }
    keys_.assign(keyLen_, ' ');
    inOrder_.assign(1, 0);
    order_.clear();
    return "";
}

void TagIndex::ensureSlot(uint32_t rec) {
    if (inOrder_.size() <= rec) {
        size_t n = std::max<size_t>(rec + 1, inOrder_.size() + inOrder_.size() / 2);
        inOrder_.resize(n, 0);
        keys_.resize(n * keyLen_, ' ');
    }
}

void TagIndex::computeKey(const uint8_t* record, uint32_t rec, const std::vector<FieldDef>& fields,
                          uint8_t* out) const {
    int fi = key_.singleField();
    if (fi >= 0) {
        const FieldDef& f = fields[static_cast<size_t>(fi)];
        const uint8_t* p = record + f.offset;
        if (keyType_ == 'N') {
            encodeNumberKey(fieldNumber(f, record), out);
        } else if (f.type == 'L') {
            out[0] = std::strchr("TtYy", p[0]) && p[0] ? 'T' : 'F';
        } else {
            unsigned n = std::min(f.len, keyLen_);
            std::memcpy(out, p, n);
            std::memset(out + n, ' ', keyLen_ - n);
        }
        return;
    }
    RecordView rv{record, &fields, rec};
    Value v = key_.eval(rv);
    if (keyType_ == 'N') {
        encodeNumberKey(v.num, out);
    } else if (v.type == 'L') {
        out[0] = v.logical ? 'T' : 'F';
    } else {
        size_t n = std::min<size_t>(v.str.size(), keyLen_);
        std::memcpy(out, v.str.data(), n);
        std::memset(out + n, ' ', keyLen_ - n);
    }
}

bool TagIndex::passesFilter(const uint8_t* record, uint32_t rec, const std::vector<FieldDef>& fields) const {
    if (filter_.empty())
        return true;
    RecordView rv{record, &fields, rec};
    return filter_.evalLogical(rv);
}

void TagIndex::build(const uint8_t* data, uint32_t count, unsigned recLen,
                     const std::vector<FieldDef>& fields) {
    order_.clear();
    inOrder_.assign(static_cast<size_t>(count) + 1, 0);
    keys_.assign((static_cast<size_t>(count) + 1) * keyLen_, ' ');
    std::vector<uint32_t> recs;
    recs.reserve(count);
    for (uint32_t r = 1; r <= count; ++r) {
        const uint8_t* rec = data + static_cast<size_t>(r - 1) * recLen;
        computeKey(rec, r, fields, &keys_[static_cast<size_t>(r) * keyLen_]);
        if (passesFilter(rec, r, fields)) {
            recs.push_back(r);
            inOrder_[r] = 1;
        }
    }
    if (keyType_ == 'N') {
        // Numeric keys sort fastest as native integers beside their records.
        std::vector<std::pair<uint64_t, uint32_t>> v;
        v.reserve(recs.size());
        for (uint32_t r : recs) {
            const uint8_t* k = keyOf(r);
            uint64_t x = 0;
            for (int i = 0; i < 8; ++i)
                x = (x << 8) | k[i];
            v.emplace_back(def_.descending ? ~x : x, r);
        }
        std::sort(v.begin(), v.end());
        for (const auto& e : v)
            order_.insert(order_.end(), e.second);
        return;
    }
    Cmp cmp{this};
    std::sort(recs.begin(), recs.end(), cmp);
    for (uint32_t r : recs)
        order_.insert(order_.end(), r);
}

void TagIndex::update(uint32_t rec, const uint8_t* record, const std::vector<FieldDef>& fields) {
    ensureSlot(rec);
    uint8_t fresh[kMaxKeyLen];
    computeKey(record, rec, fields, fresh);
    bool pass = passesFilter(record, rec, fields);
    uint8_t* slot = &keys_[static_cast<size_t>(rec) * keyLen_];
    bool same = std::memcmp(slot, fresh, keyLen_) == 0;
    if (inOrder_[rec] && same && pass)
        return;
    if (inOrder_[rec])
        order_.erase(rec);
    std::memcpy(slot, fresh, keyLen_);
    inOrder_[rec] = pass;
    if (pass)
        order_.insert(rec);
}

void TagIndex::truncate(uint32_t count) {
    for (auto it = order_.begin(); it != order_.end();) {
        if (*it > count)
            it = order_.erase(it);
        else
            ++it;
    }
    if (inOrder_.size() > count + 1) {
        inOrder_.resize(static_cast<size_t>(count) + 1);
        keys_.resize((static_cast<size_t>(count) + 1) * keyLen_);
    }
}

bool TagIndex::sameKey(uint32_t a, uint32_t b) const {
    return std::memcmp(keyOf(a), keyOf(b), keyLen_) == 0;
}

// In a unique tag only the first record of each key shows.
TagIndex::Order::const_iterator TagIndex::groupStart(Order::const_iterator it) const {
    if (!def_.unique)
        return it;
    while (it != order_.begin()) {
        auto p = std::prev(it);
        if (!sameKey(*p, *it))
            break;
        it = p;
    }
    return it;
}

TagIndex::Order::const_iterator TagIndex::skipGroup(Order::const_iterator it, uint32_t rec) const {
    if (!def_.unique)
        return it;
    while (it != order_.end() && sameKey(*it, rec))
        ++it;
    return it;
}

uint32_t TagIndex::first() const {
    return order_.empty() ? 0 : *order_.begin();
}

uint32_t TagIndex::last() const {
    if (order_.empty())
        return 0;
    return *groupStart(std::prev(order_.end()));
}

uint32_t TagIndex::next(uint32_t rec) const {
    Order::const_iterator it;
    if (contains(rec)) {
        it = std::next(order_.find(rec));
        it = skipGroup(it, rec);
    } else {
        if (rec >= inOrder_.size())
            return 0;
        it = order_.lower_bound(rec);
        if (def_.unique && it != order_.end() && it != order_.begin() && sameKey(*std::prev(it), *it))
            it = skipGroup(it, *it);
    }
    return it == order_.end() ? 0 : *it;
}

uint32_t TagIndex::prev(uint32_t rec) const {
    Order::const_iterator it;
    if (contains(rec)) {
        it = groupStart(order_.find(rec));
    } else {
        if (rec >= inOrder_.size())
            return last();
        it = order_.lower_bound(rec);
    }
    if (it == order_.begin())
        return 0;
    return *groupStart(std::prev(it));
}

uint32_t TagIndex::seek(const std::vector<uint8_t>& key, bool& found) {
    std::memcpy(keys_.data(), key.data(), keyLen_);
    auto it = order_.lower_bound(0);
    found = it != order_.end() && std::memcmp(keyOf(*it), keys_.data(), keyLen_) == 0;
    return it == order_.end() ? 0 : *it;
}

std::vector<uint8_t> TagIndex::searchKey(const std::string& text) const {
    std::vector<uint8_t> k(keyLen_, ' ');
    if (keyType_ == 'N') {
        encodeNumberKey(std::strtod(text.c_str(), nullptr), k.data());
        return k;
    }
    std::memcpy(k.data(), text.data(), std::min<size_t>(text.size(), keyLen_));
    return k;
}

std::vector<uint8_t> TagIndex::searchKey(double number) const {
    std::vector<uint8_t> k(keyLen_, ' ');
    if (keyType_ == 'N') {
        encodeNumberKey(number, k.data());
        return k;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%*.0f", static_cast<int>(std::min(keyLen_, 40u)), number);
    std::memcpy(k.data(), buf, std::min<size_t>(std::strlen(buf), keyLen_));
    return k;
}

} // namespace c4
