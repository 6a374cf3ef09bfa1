// The table file's header and field descriptors: parsing every layout we
// read (dBASE III+/IV, FoxPro 2.x, Visual FoxPro) and building the one we
// write (FoxPro 2.x: version 0xF5 with memos, 0x03 without).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace c4 {

struct FieldDef {
    std::string name; // upper case as stored
    char type = 'C';
    unsigned len = 0;
    unsigned dec = 0;
    unsigned offset = 0;        // within the record, after the deletion byte
    bool binaryMemoPtr = false; // Visual FoxPro: 4-byte little-endian block number
    bool hidden = false;        // Visual FoxPro _NullFlags and similar system fields
};

enum class MemoKind { None, Fpt, Dbt3, Dbt4 };

struct TableLayout {
    uint8_t version = 0x03;
    uint8_t codePage = 0x03;
    uint8_t tableFlags = 0;
    unsigned headerLen = 0;
    unsigned recordLen = 0;
    uint32_t headerCount = 0; // record count as the header states it
    uint32_t changeCounter = 0;
    std::vector<FieldDef> fields;
    bool hasMemoFields = false;

    MemoKind memoKindFromVersion() const;
};

// Header bytes we keep for ourselves (reserved for multi-user use in the
// dBASE IV layout; every reader ignores them): a counter every writer bumps,
// so other processes notice changes.
constexpr unsigned kChangeCounterOffset = 20;

// Parses the header in bytes (at least the first 32 bytes and the field
// descriptors). Returns "" on success, otherwise a description of the fault.
std::string parseHeader(const std::vector<uint8_t>& bytes, int64_t fileSize, TableLayout& out);
// How many header bytes to read to parse: 32 first, then headerLen.
unsigned headerLenFromPrefix(const uint8_t* first32);

// Validates a field list for creation; "" when sound.
std::string validateFields(const std::vector<FieldDef>& fields);
// Builds the header of a new, empty FoxPro 2.x table (offsets filled in).
std::vector<uint8_t> buildHeader(TableLayout& layout);
// Writes count, date and change counter into a 32-byte header prefix.
void stampHeader(uint8_t* first32, uint32_t count, uint32_t changeCounter);

bool isMemoType(char t);

} // namespace c4
