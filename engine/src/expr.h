// The xBase expression language of tag keys and filters: field names,
// literals, + - * / on numbers, + and - on strings, dates, comparisons,
// .NOT. .AND. .OR., and the functions DELETED(), RECNO(), UPPER(), LOWER(),
// STR(), DTOS(), DTOC(), TRIM(), RTRIM(), LTRIM(), ALLTRIM(), SUBSTR(),
// LEFT(), RIGHT(), VAL(), LEN(), ABS(), INT(), IIF().
#pragma once

#include "dbf_format.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace c4 {

struct Value {
    char type = 'C'; // C character, N number, D date ("CCYYMMDD" or blanks), L logical
    double num = 0;
    bool logical = false;
    std::string str;
};

struct RecordView {
    const uint8_t* record = nullptr; // deletion byte first
    const std::vector<FieldDef>* fields = nullptr;
    uint32_t recNo = 0;
};

struct ExprNode;

class Expression {
public:
    Expression();
    ~Expression();
    Expression(Expression&&) noexcept;
    Expression& operator=(Expression&&) noexcept;

    // Parses text against the table's fields; "" on success, else the fault.
    std::string parse(const std::string& text, const std::vector<FieldDef>& fields);

    char type() const { return type_; } // C, N, D or L
    unsigned width() const { return width_; }
    bool empty() const { return !root_; }
    // When the whole expression is one field: its index, else -1.
    int singleField() const { return singleField_; }
    // When the expression is exactly .NOT. DELETED(): true.
    bool isNotDeleted() const { return notDeleted_; }

    Value eval(const RecordView& rv) const;
    bool evalLogical(const RecordView& rv) const;

private:
    std::unique_ptr<ExprNode> root_;
    char type_ = 'C';
    unsigned width_ = 0;
    int singleField_ = -1;
    bool notDeleted_ = false;
};

// Numeric value of a field's stored bytes (N, F, I, B, Y); blank gives 0.
double fieldNumber(const FieldDef& f, const uint8_t* record);
// "CCYYMMDD" days since an epoch, and back; false/blank for a bad date.
bool dateToDays(const char* date8, long& days);
std::string daysToDate(long days);

} // namespace c4
