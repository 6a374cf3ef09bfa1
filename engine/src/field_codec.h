// Turning values into a field's stored bytes and back: text padded with
// blanks or cut to the width, numbers right-aligned with the field's
// decimals, dates as "CCYYMMDD", logicals as T or F, memo pointers as ten
// right-aligned digits.
#pragma once

#include "dbf_format.h"

#include <cstdint>
#include <string>

namespace c4 {

// Stores text into the field's bytes; false when the value did not fit
// (a number too wide is stored as asterisks, as xBase programs do).
bool encodeText(const FieldDef& f, const char* text, size_t len, uint8_t* out);
bool encodeNumber(const FieldDef& f, double value, uint8_t* out);
// The field as text: the stored bytes for C, N, F, D, L; Visual FoxPro
// binary fields formatted.
std::string decodeText(const FieldDef& f, const uint8_t* record);
double decodeNumber(const FieldDef& f, const uint8_t* record);

// Memo pointer of a memo field: 0 for none; false when the bytes are not a
// block number.
bool decodeMemoPointer(const FieldDef& f, const uint8_t* record, uint32_t& block);
void encodeMemoPointer(const FieldDef& f, uint32_t block, uint8_t* record);

} // namespace c4
