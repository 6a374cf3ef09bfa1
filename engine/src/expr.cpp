// Evaluating expressions: operators, functions, numbers and dates of records.
#include "expr_node.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace c4 {

namespace {

int clampToInt(double v, int lo, int hi) {
    if (!(v >= lo))
        return lo;
    if (!(v <= hi))
        return hi;
    return static_cast<int>(v);
}

// A date moved by a number of days; blank when either is out of range.
std::string shiftDate(const std::string& date, double k) {
    long days;
    if (!std::isfinite(k) || std::fabs(k) > 4e6 || !dateToDays(date.c_str(), days))
        return "        ";
    return daysToDate(days + static_cast<long>(k));
}

std::string rtrim(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}
std::string ltrim(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    return s.substr(i);
}

std::string formatNumber(double v, int width, int dec) {
    if (width < 1)
        width = 1;
    if (dec < 0)
        dec = 0;
    char buf[64];
    if (!std::isfinite(v) || std::fabs(v) >= 1e18) {
        return std::string(static_cast<size_t>(width), '*');
    }
    std::snprintf(buf, sizeof buf, "%*.*f", width, dec, v);
    std::string s = buf;
    if (s.size() > static_cast<size_t>(width))
        return std::string(static_cast<size_t>(width), '*');
    return s;
}

int compareStrings(const std::string& a, const std::string& b) {
    size_t n = std::max(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = i < a.size() ? static_cast<unsigned char>(a[i]) : ' ';
        unsigned char cb = i < b.size() ? static_cast<unsigned char>(b[i]) : ' ';
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return 0;
}

Value evalCall(const ExprNode& n, const RecordView& rv) {
    Value r;
    r.type = n.type;
    const std::string& f = n.fn;
    if (f == "DELETED") {
        r.logical = rv.record && rv.record[0] == '*';
        return r;
    }
    if (f == "RECNO") {
        r.num = rv.recNo;
        return r;
    }
    if (f == "IIF") {
        Value c = evalNode(*n.kids[0], rv);
        return evalNode(*n.kids[c.logical ? 1 : 2], rv);
    }
    Value a = evalNode(*n.kids[0], rv);
    if (f == "UPPER" || f == "LOWER") {
        r.str = a.str;
        for (auto& c : r.str)
            c = static_cast<char>(f == "UPPER" ? std::toupper(static_cast<unsigned char>(c))
                                               : std::tolower(static_cast<unsigned char>(c)));
    } else if (f == "TRIM" || f == "RTRIM") {
        r.str = rtrim(a.str);
    } else if (f == "LTRIM") {
        r.str = ltrim(a.str);
    } else if (f == "ALLTRIM") {
        r.str = ltrim(rtrim(a.str));
    } else if (f == "STR") {
        double w = n.kids.size() > 1 ? evalNode(*n.kids[1], rv).num : 10;
        double d = n.kids.size() > 2 ? evalNode(*n.kids[2], rv).num : 0;
        r.str = formatNumber(a.num, clampToInt(w, 1, 255), clampToInt(d, 0, 18));
    } else if (f == "DTOS") {
        r.str = a.str;
    } else if (f == "DTOC") {
        if (a.str.size() == 8 && a.str[0] != ' ')
            r.str = a.str.substr(4, 2) + "/" + a.str.substr(6, 2) + "/" + a.str.substr(2, 2);
        else
            r.str = "  /  /  ";
    } else if (f == "SUBSTR") {
        double start = evalNode(*n.kids[1], rv).num;
        double len = n.kids.size() > 2 ? evalNode(*n.kids[2], rv).num : double(a.str.size());
        int size = static_cast<int>(a.str.size());
        int s = clampToInt(start, 1, size + 1) - 1;
        int l = clampToInt(len, 0, size);
        if (s < size)
            r.str = a.str.substr(static_cast<size_t>(s), static_cast<size_t>(l));
    } else if (f == "LEFT" || f == "RIGHT") {
        double len = evalNode(*n.kids[1], rv).num;
        size_t l = static_cast<size_t>(clampToInt(len, 0, static_cast<int>(a.str.size())));
        r.str = f == "LEFT" ? a.str.substr(0, l) : a.str.substr(a.str.size() - l);
    } else if (f == "VAL") {
        r.num = std::strtod(a.str.c_str(), nullptr);
    } else if (f == "LEN") {
        r.num = static_cast<double>(a.str.size());
    } else if (f == "ABS") {
        r.num = std::fabs(a.num);
    } else if (f == "INT") {
        r.num = std::trunc(a.num);
    }
    return r;
}

} // namespace

Value evalNode(const ExprNode& n, const RecordView& rv) {
    Value r;
    r.type = n.type;
    switch (n.op) {
    case Op::Field: {
        const FieldDef& f = (*rv.fields)[static_cast<size_t>(n.field)];
        const uint8_t* p = rv.record + f.offset;
        if (n.type == 'N')
            r.num = fieldNumber(f, rv.record);
        else if (n.type == 'L')
            r.logical = std::strchr("TtYy", p[0]) != nullptr && p[0] != 0;
        else
            r.str.assign(reinterpret_cast<const char*>(p), f.len);
        return r;
    }
    case Op::Num:
        r.num = n.num;
        return r;
    case Op::Str:
        r.str = n.str;
        return r;
    case Op::Bool:
        r.logical = n.num != 0;
        return r;
    case Op::Date:
        r.str = n.str;
        return r;
    case Op::Neg:
        r.num = -evalNode(*n.kids[0], rv).num;
        return r;
    case Op::Not:
        r.logical = !evalNode(*n.kids[0], rv).logical;
        return r;
    case Op::And: {
        r.logical = evalNode(*n.kids[0], rv).logical && evalNode(*n.kids[1], rv).logical;
        return r;
    }
    case Op::Or:
        r.logical = evalNode(*n.kids[0], rv).logical || evalNode(*n.kids[1], rv).logical;
        return r;
    case Op::Call:
        return evalCall(n, rv);
    default:
        break;
    }
    Value a = evalNode(*n.kids[0], rv);
    Value b = evalNode(*n.kids[1], rv);
    switch (n.op) {
    case Op::Add:
        if (n.type == 'C')
            r.str = a.str + b.str;
        else if (n.type == 'D') {
            const Value& d = a.type == 'D' ? a : b;
            r.str = shiftDate(d.str, a.type == 'D' ? b.num : a.num);
        } else
            r.num = a.num + b.num;
        return r;
    case Op::Sub:
        if (n.type == 'C') {
            // xBase string minus: trailing blanks of the left move to the end.
            std::string t = rtrim(a.str);
            r.str = t + b.str + std::string(a.str.size() - t.size(), ' ');
        } else if (n.type == 'D') {
            r.str = shiftDate(a.str, -b.num);
        } else if (a.type == 'D') {
            long da = 0, db = 0;
            dateToDays(a.str.c_str(), da);
            dateToDays(b.str.c_str(), db);
            r.num = static_cast<double>(da - db);
        } else
            r.num = a.num - b.num;
        return r;
    case Op::Mul:
        r.num = a.num * b.num;
        return r;
    case Op::Div:
        r.num = b.num == 0 ? 0 : a.num / b.num;
        return r;
    case Op::Mod:
        r.num = b.num == 0 ? 0 : std::fmod(a.num, b.num);
        return r;
    case Op::Pow:
        r.num = std::pow(a.num, b.num);
        return r;
    case Op::Contains:
        r.logical = b.str.find(a.str) != std::string::npos;
        return r;
    default:
        break;
    }
    int c;
    if (a.type == 'N')
        c = a.num < b.num ? -1 : a.num > b.num ? 1 : 0;
    else if (a.type == 'L')
        c = int(a.logical) - int(b.logical);
    else if (n.op == Op::Eq || n.op == Op::Ne) {
        // "=" compares the left text as far as the right one goes.
        std::string left = a.str.substr(0, std::min(a.str.size(), b.str.size()));
        c = b.str.size() > a.str.size() ? compareStrings(a.str, b.str) : compareStrings(left, b.str);
    } else
        c = compareStrings(a.str, b.str);
    switch (n.op) {
    case Op::Eq:
    case Op::ExactEq:
        r.logical = c == 0;
        break;
    case Op::Ne:
        r.logical = c != 0;
        break;
    case Op::Lt:
        r.logical = c < 0;
        break;
    case Op::Le:
        r.logical = c <= 0;
        break;
    case Op::Gt:
        r.logical = c > 0;
        break;
    case Op::Ge:
        r.logical = c >= 0;
        break;
    default:
        break;
    }
    return r;
}

double fieldNumber(const FieldDef& f, const uint8_t* record) {
    const uint8_t* p = record + f.offset;
    switch (f.type) {
    case 'I':
        if (f.len >= 4) {
            int32_t v;
            std::memcpy(&v, p, 4);
            return v;
        }
        return 0;
    case 'B':
        if (f.len >= 8) {
            double v;
            std::memcpy(&v, p, 8);
            return std::isfinite(v) ? v : 0;
        }
        return 0;
    case 'Y':
        if (f.len >= 8) {
            int64_t v;
            std::memcpy(&v, p, 8);
            return static_cast<double>(v) / 10000.0;
        }
        return 0;
    default: {
        // The usual case, blanks and plain digits with an optional sign and
        // decimals, without strtod.
        {
            unsigned i = 0;
            while (i < f.len && p[i] == ' ')
                ++i;
            bool neg = i < f.len && p[i] == '-';
            i += neg;
            uint64_t whole = 0;
            unsigned digits = 0;
            while (i < f.len && p[i] >= '0' && p[i] <= '9' && digits < 15)
                whole = whole * 10 + (p[i++] - '0'), ++digits;
            if (i == f.len || (p[i] == '.' && digits < 15)) {
                double v = static_cast<double>(whole);
                if (i < f.len) {
                    double scale = 1;
                    uint64_t frac = 0;
                    ++i;
                    while (i < f.len && p[i] >= '0' && p[i] <= '9' && scale < 1e15)
                        frac = frac * 10 + (p[i++] - '0'), scale *= 10;
                    if (i != f.len)
                        goto slow;
                    v += static_cast<double>(frac) / scale;
                }
                return neg ? -v : v;
            }
        }
    slow:
        char buf[32];
        size_t n = std::min<size_t>(f.len, sizeof buf - 1);
        std::memcpy(buf, p, n);
        buf[n] = 0;
        for (size_t i = 0; i < n; ++i)
            if (buf[i] == ',')
                buf[i] = '.';
        char* end = nullptr;
        double v = std::strtod(buf, &end);
        return std::isfinite(v) ? v : 0;
    }
    }
}

bool dateToDays(const char* d, long& days) {
    for (int i = 0; i < 8; ++i)
        if (!std::isdigit(static_cast<unsigned char>(d[i])))
            return false;
    long y = std::atol(std::string(d, 4).c_str());
    long m = std::atol(std::string(d + 4, 2).c_str());
    long dd = std::atol(std::string(d + 6, 2).c_str());
    if (m < 1 || m > 12 || dd < 1 || dd > 31)
        return false;
    // Days from civil (proleptic Gregorian).
    y -= m <= 2;
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + dd - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    days = era * 146097 + doe - 719468;
    return true;
}

std::string daysToDate(long z) {
    if (z < -4000000 || z > 4000000)
        return "        ";
    z += 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long y = yoe + era * 400;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    long d = doy - (153 * mp + 2) / 5 + 1;
    long m = mp + (mp < 10 ? 3 : -9);
    y += m <= 2;
    if (y < 0 || y > 9999)
        return "        ";
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04ld%02ld%02ld", y, m, d);
    return buf;
}

Value Expression::eval(const RecordView& rv) const {
    if (!root_)
        return Value{};
    return evalNode(*root_, rv);
}

bool Expression::evalLogical(const RecordView& rv) const {
    if (notDeleted_)
        return rv.record[0] != '*';
    return root_ && evalNode(*root_, rv).logical;
}

} // namespace c4
