#include "field_codec.h"

#include "expr.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace c4 {

namespace {

bool formatNumber(double v, unsigned width, unsigned dec, uint8_t* out) {
    char buf[80];
    bool ok = std::isfinite(v);
    if (ok) {
        int n = std::snprintf(buf, sizeof buf, "%*.*f", static_cast<int>(width), static_cast<int>(dec), v);
        if (n > 0 && static_cast<unsigned>(n) > width && dec > 0) {
            // Give up decimals before giving up the number.
            n = std::snprintf(buf, sizeof buf, "%*.0f", static_cast<int>(width), v);
        }
        ok = n > 0 && static_cast<unsigned>(n) <= width;
        if (ok) {
            std::memcpy(out, buf, width);
            return true;
        }
    }
    std::memset(out, '*', width);
    return false;
}

} // namespace

bool encodeText(const FieldDef& f, const char* text, size_t len, uint8_t* out) {
    uint8_t* p = out + f.offset;
    switch (f.type) {
    case 'N':
    case 'F': {
        std::string s(text, len);
        size_t a = s.find_first_not_of(' ');
        if (a == std::string::npos) {
            std::memset(p, ' ', f.len);
            return true;
        }
        char* end = nullptr;
        double v = std::strtod(s.c_str() + a, &end);
        while (end && *end == ' ')
            ++end;
        if (end && *end == 0)
            return formatNumber(v, f.len, f.dec, p);
        // Not a number: store the text right-aligned, as given.
        size_t b = s.find_last_not_of(' ');
        std::string t = s.substr(a, b - a + 1);
        if (t.size() > f.len)
            t = t.substr(0, f.len);
        std::memset(p, ' ', f.len);
        std::memcpy(p + f.len - t.size(), t.data(), t.size());
        return true;
    }
    case 'L': {
        char c = len ? static_cast<char>(std::toupper(static_cast<unsigned char>(text[0]))) : ' ';
        p[0] = (c == 'T' || c == 'Y' || c == '1') ? 'T' : (c == 'F' || c == 'N' || c == '0') ? 'F' : ' ';
        return true;
    }
    case 'I':
    case 'B':
    case 'Y':
        return encodeNumber(f, std::strtod(std::string(text, len).c_str(), nullptr), out);
    default: {
        size_t n = std::min<size_t>(len, f.len);
        std::memcpy(p, text, n);
        std::memset(p + n, ' ', f.len - n);
        return len <= f.len;
    }
    }
}

bool encodeNumber(const FieldDef& f, double v, uint8_t* out) {
    uint8_t* p = out + f.offset;
    switch (f.type) {
    case 'N':
    case 'F':
        return formatNumber(v, f.len, f.dec, p);
    case 'L':
        p[0] = v != 0 ? 'T' : 'F';
        return true;
    case 'I': {
        if (f.len < 4)
            return false;
        int32_t i = static_cast<int32_t>(std::lround(std::fmax(std::fmin(v, 2147483647.0), -2147483648.0)));
        std::memcpy(p, &i, 4);
        return true;
    }
    case 'B':
        if (f.len < 8)
            return false;
        std::memcpy(p, &v, 8);
        return true;
    case 'Y': {
        if (f.len < 8)
            return false;
        int64_t c = static_cast<int64_t>(std::llround(v * 10000.0));
        std::memcpy(p, &c, 8);
        return true;
    }
    default: {
        char buf[64];
        if (v == std::trunc(v) && std::fabs(v) < 1e15)
            std::snprintf(buf, sizeof buf, "%.0f", v);
        else
            std::snprintf(buf, sizeof buf, "%.10g", v);
        return encodeText(f, buf, std::strlen(buf), out);
    }
    }
}

std::string decodeText(const FieldDef& f, const uint8_t* record) {
    const uint8_t* p = record + f.offset;
    switch (f.type) {
    case 'I':
    case 'B':
    case 'Y': {
        char buf[64];
        double v = fieldNumber(f, record);
        if (f.type == 'I')
            std::snprintf(buf, sizeof buf, "%11.0f", v);
        else
            std::snprintf(buf, sizeof buf, "%20.4f", v);
        return buf;
    }
    case 'T': {
        if (f.len < 8)
            return std::string(reinterpret_cast<const char*>(p), f.len);
        int32_t jd, ms;
        std::memcpy(&jd, p, 4);
        std::memcpy(&ms, p + 4, 4);
        if (jd == 0)
            return std::string(14, ' ');
        // Julian day number to a civil date; 2440588 is 1970-01-01.
        std::string d = daysToDate(static_cast<long>(jd) - 2440588);
        char buf[32];
        int secs = ms / 1000;
        std::snprintf(buf, sizeof buf, "%s%02d%02d%02d", d.c_str(), (secs / 3600) % 24, (secs / 60) % 60,
                      secs % 60);
        return buf;
    }
    default:
        return std::string(reinterpret_cast<const char*>(p), f.len);
    }
}

double decodeNumber(const FieldDef& f, const uint8_t* record) {
    if (f.type == 'L') {
        char c = static_cast<char>(record[f.offset]);
        return (c == 'T' || c == 't' || c == 'Y' || c == 'y') ? 1 : 0;
    }
    if (f.type == 'D') {
        long days;
        return dateToDays(reinterpret_cast<const char*>(record + f.offset), days) ? days + 2440588.0 : 0;
    }
    return fieldNumber(f, record);
}

bool decodeMemoPointer(const FieldDef& f, const uint8_t* record, uint32_t& block) {
    const uint8_t* p = record + f.offset;
    block = 0;
    if (f.binaryMemoPtr) {
        std::memcpy(&block, p, 4);
        return true;
    }
    uint64_t v = 0;
    bool digits = false;
    for (unsigned i = 0; i < f.len; ++i) {
        uint8_t c = p[i];
        if (c == ' ' || c == 0) {
            if (digits) {
                // Trailing blanks after the digits are tolerated.
                for (unsigned j = i; j < f.len; ++j)
                    if (p[j] != ' ' && p[j] != 0)
                        return false;
                break;
            }
            continue;
        }
        if (c < '0' || c > '9')
            return false;
        digits = true;
        v = v * 10 + (c - '0');
        if (v > 0xFFFFFFFFull)
            return false;
    }
    block = static_cast<uint32_t>(v);
    return true;
}

void encodeMemoPointer(const FieldDef& f, uint32_t block, uint8_t* record) {
    uint8_t* p = record + f.offset;
    if (f.binaryMemoPtr) {
        std::memcpy(p, &block, 4);
        return;
    }
    if (block == 0) {
        std::memset(p, ' ', f.len);
        return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%*u", static_cast<int>(f.len), block);
    std::memcpy(p, buf, f.len);
}

} // namespace c4
