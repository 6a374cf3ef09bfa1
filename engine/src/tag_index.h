// One tag: an order of the table's records by a key expression, with an
// optional filter, kept in memory. Keys are byte strings compared with
// memcmp: character keys are the blank-padded text, numeric keys an 8-byte
// encoding that sorts as the numbers do. Equal keys come in record order.
#pragma once

#include "expr.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace c4 {

struct TagDef {
    std::string name; // upper case
    std::string expression;
    std::string filter; // "" for none
    bool unique = false;
    bool descending = false;
};

class TagIndex {
public:
    TagIndex() : order_(Cmp{this}) {}
    TagIndex(const TagIndex&) = delete;
    TagIndex& operator=(const TagIndex&) = delete;

    // Parses the key and filter against the fields; "" when sound.
    std::string init(const TagDef& def, const std::vector<FieldDef>& fields);
    const TagDef& def() const { return def_; }
    char keyType() const { return keyType_; } // 'C' or 'N'
    unsigned keyLen() const { return keyLen_; }

    // Rebuilds the order from all records (record n at data + (n-1) * recLen).
    void build(const uint8_t* data, uint32_t count, unsigned recLen, const std::vector<FieldDef>& fields);
    // Record rec now holds record (deletion byte first); moves it in the order.
    void update(uint32_t rec, const uint8_t* record, const std::vector<FieldDef>& fields);
    // Drops every record above count (after the table shrank).
    void truncate(uint32_t count);
    size_t size() const { return order_.size(); }

    // Navigation by record number; 0 means none.
    uint32_t first() const;
    uint32_t last() const;
    uint32_t next(uint32_t rec) const;
    uint32_t prev(uint32_t rec) const;
    bool contains(uint32_t rec) const { return rec < inOrder_.size() && inOrder_[rec]; }
    // First record whose key is at or after key; found tells an exact match.
    uint32_t seek(const std::vector<uint8_t>& key, bool& found);
    // Search keys from the caller's text or number, in this tag's key form.
    std::vector<uint8_t> searchKey(const std::string& text) const;
    std::vector<uint8_t> searchKey(double number) const;
    // The stored key of rec (keyLen bytes).
    const uint8_t* keyOf(uint32_t rec) const { return &keys_[static_cast<size_t>(rec) * keyLen_]; }
    // Evaluates this tag's key for a record into out (keyLen bytes).
    void computeKey(const uint8_t* record, uint32_t rec, const std::vector<FieldDef>& fields,
                    uint8_t* out) const;
    bool passesFilter(const uint8_t* record, uint32_t rec, const std::vector<FieldDef>& fields) const;

private:
    struct Cmp {
        const TagIndex* tag;
        bool operator()(uint32_t a, uint32_t b) const;
    };
    using Order = std::set<uint32_t, Cmp>;

    void ensureSlot(uint32_t rec);
    bool sameKey(uint32_t a, uint32_t b) const;
    Order::const_iterator groupStart(Order::const_iterator it) const;
    Order::const_iterator skipGroup(Order::const_iterator it, uint32_t rec) const;

    TagDef def_;
    Expression key_;
    Expression filter_;
    char keyType_ = 'C';
    unsigned keyLen_ = 1;
    std::vector<uint8_t> keys_; // slot 0 holds a search key
    std::vector<uint8_t> inOrder_;
    Order order_;
};

void encodeNumberKey(double v, uint8_t* out);

} // namespace c4
