#include "dbf_format.h"

#include <cctype>
#include <cstring>
#include <ctime>
#include <set>

namespace c4 {

namespace {

uint32_t le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}
unsigned le16(const uint8_t* p) {
    return p[0] | (p[1] << 8);
}
void put32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
void put16(uint8_t* p, unsigned v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

bool knownVersion(uint8_t v) {
    switch (v) {
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x30:
    case 0x31:
    case 0x32:
    case 0x43:
    case 0x63:
    case 0x83:
    case 0x8B:
    case 0x8E:
    case 0xCB:
    case 0xE5:
    case 0xF5:
    case 0xFB:
        return true;
    default:
        return false;
    }
}

} // namespace

bool isMemoType(char t) {
    return t == 'M' || t == 'G' || t == 'P' || t == 'B';
}

MemoKind TableLayout::memoKindFromVersion() const {
    if (!hasMemoFields)
        return MemoKind::None;
    switch (version) {
    case 0x83:
        return MemoKind::Dbt3;
    case 0x8B:
    case 0x8E:
    case 0xCB:
    case 0xE5:
        return MemoKind::Dbt4;
    default:
        return MemoKind::Fpt;
    }
}

unsigned headerLenFromPrefix(const uint8_t* first32) {
    return le16(first32 + 8);
}

std::string parseHeader(const std::vector<uint8_t>& b, int64_t fileSize, TableLayout& out) {
    if (b.size() < 32)
        return "header truncated (file shorter than 32 bytes)";
    out = TableLayout{};
    out.version = b[0];
    if (!knownVersion(out.version))
        return "unknown version byte 0x" + std::to_string(out.version);
    unsigned month = b[2], day = b[3];
    (void)month;
    (void)day;
    out.headerCount = le32(&b[4]);
    out.headerLen = le16(&b[8]);
    out.recordLen = le16(&b[10]);
    out.changeCounter = le32(&b[kChangeCounterOffset]);
    out.tableFlags = b[28];
    out.codePage = b[29];
    if (out.headerLen < 33)
        return "header length " + std::to_string(out.headerLen) + " too small";
    if (fileSize >= 0 && out.headerLen > fileSize)
        return "header length " + std::to_string(out.headerLen) + " beyond the end of the file";
    if (out.recordLen < 1)
        return "record length 0";
    bool vfp = out.version == 0x30 || out.version == 0x31 || out.version == 0x32;
    unsigned offset = 1;
    size_t limit = std::min<size_t>(b.size(), out.headerLen);
    std::set<std::string> names;
    size_t pos = 32;
    bool terminated = false;
    for (; pos + 1 <= limit; pos += 32) {
        if (b[pos] == 0x0D) {
            terminated = true;
            break;
        }
        if (pos + 32 > limit)
            break;
        const uint8_t* d = &b[pos];
        FieldDef f;
        size_t nlen = 0;
        while (nlen < 11 && d[nlen] != 0)
            ++nlen;
        f.name.assign(reinterpret_cast<const char*>(d), nlen);
        while (!f.name.empty() && f.name.back() == ' ')
            f.name.pop_back();
        for (auto& c : f.name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (f.name.empty())
            return "field " + std::to_string(out.fields.size() + 1) + " has no name";
        f.type = static_cast<char>(std::toupper(d[11]));
        f.len = d[16];
        f.dec = d[17];
        if (f.type == 'C' && f.dec != 0 && !vfp) {
            // Clipper and FoxPro store long character widths in the decimals byte.
            f.len += 256 * f.dec;
            f.dec = 0;
        }
        if (vfp && (d[18] & 0x01) && f.type == '0')
            f.hidden = true;
        if (f.type == '0')
            f.hidden = true;
        switch (f.type) {
        case 'C':
        case 'N':
        case 'F':
        case 'D':
        case 'L':
        case 'M':
        case 'G':
        case 'P':
        case 'B':
        case 'I':
        case 'Y':
        case 'T':
        case 'V':
        case 'Q':
        case 'W':
        case '0':
        case '@':
        case '+':
        case 'O':
            break;
        default:
            return "field " + f.name + " has unknown type '" + std::string(1, f.type) + "'";
        }
        if (f.len == 0)
            return "field " + f.name + " has width 0";
        if ((f.type == 'N' || f.type == 'F') && f.len > 20)
            return "field " + f.name + " has numeric width " + std::to_string(f.len);
        if (f.type == 'D' && f.len != 8)
            return "field " + f.name + " is a date of width " + std::to_string(f.len);
        if (isMemoType(f.type) && f.type != 'B' && f.len == 4)
            f.binaryMemoPtr = true;
        if (f.type == 'B' && (vfp)) {
            // Visual FoxPro double: 8 binary bytes, not a memo.
        } else if (isMemoType(f.type)) {
            if (f.len != 10 && f.len != 4)
                return "memo field " + f.name + " has width " + std::to_string(f.len);
            out.hasMemoFields = true;
        }
        if (!names.insert(f.name).second && !f.hidden)
            return "field name " + f.name + " appears twice";
        f.offset = offset;
        offset += f.len;
        out.fields.push_back(std::move(f));
    }
    if (!terminated && pos + 1 > limit && out.fields.empty())
        return "field descriptors missing";
    if (out.fields.empty())
        return "no fields";
    if (offset > out.recordLen)
        return "fields (" + std::to_string(offset) + " bytes) exceed the record length " +
               std::to_string(out.recordLen);
    return "";
}

std::string validateFields(const std::vector<FieldDef>& fields) {
    if (fields.empty())
        return "no fields";
    std::set<std::string> names;
    unsigned total = 1;
    for (const auto& f : fields) {
        if (f.name.empty() || f.name.size() > 10)
            return "bad field name \"" + f.name + "\"";
        for (char c : f.name)
            if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
                return "bad field name \"" + f.name + "\"";
        if (!names.insert(f.name).second)
            return "field name " + f.name + " appears twice";
        switch (f.type) {
        case 'C':
            if (f.len < 1 || f.len > 254)
                return "character field " + f.name + " width must be 1 to 254";
            break;
        case 'N':
        case 'F':
            if (f.len < 1 || f.len > 20 || (f.dec > 0 && f.dec + 2 > f.len))
                return "numeric field " + f.name + " width/decimals out of range";
            break;
        case 'D':
        case 'L':
        case 'M':
            break;
        default:
            return "field " + f.name + " has unsupported type '" + std::string(1, f.type) + "'";
        }
        total += f.len;
    }
    if (total > 65500)
        return "record too long";
    return "";
}

void stampHeader(uint8_t* h, uint32_t count, uint32_t changeCounter) {
    // The local date changes rarely; asking for it costs a look at the time
    // zone file each time, so it is kept for the second it was taken in.
    static thread_local time_t cachedAt = 0;
    static thread_local struct tm cached {};
    time_t now = time(nullptr);
    if (now != cachedAt) {
        localtime_r(&now, &cached);
        cachedAt = now;
    }
    // The year is stored as years since 1900 modulo 100, as FoxPro does.
    h[1] = static_cast<uint8_t>(cached.tm_year % 100);
    h[2] = static_cast<uint8_t>(cached.tm_mon + 1);
    h[3] = static_cast<uint8_t>(cached.tm_mday);
    put32(h + 4, count);
    put32(h + kChangeCounterOffset, changeCounter);
}

std::vector<uint8_t> buildHeader(TableLayout& layout) {
    layout.hasMemoFields = false;
    unsigned offset = 1;
    for (auto& f : layout.fields) {
        if (f.type == 'D')
            f.len = 8, f.dec = 0;
        if (f.type == 'L')
            f.len = 1, f.dec = 0;
        if (f.type == 'M')
            f.len = 10, f.dec = 0, layout.hasMemoFields = true;
        if (f.type == 'C')
            f.dec = 0;
        f.offset = offset;
        offset += f.len;
    }
    layout.version = layout.hasMemoFields ? 0xF5 : 0x03;
    layout.headerLen = 32 + 32 * static_cast<unsigned>(layout.fields.size()) + 1;
    layout.recordLen = offset;
    layout.headerCount = 0;
    std::vector<uint8_t> h(layout.headerLen, 0);
    h[0] = layout.version;
    stampHeader(h.data(), 0, layout.changeCounter);
    put16(&h[8], layout.headerLen);
    put16(&h[10], layout.recordLen);
    h[28] = 0; // no production index: other programs see a plain table
    h[29] = layout.codePage;
    size_t pos = 32;
    for (const auto& f : layout.fields) {
        std::memcpy(&h[pos], f.name.data(), std::min<size_t>(f.name.size(), 10));
        h[pos + 11] = static_cast<uint8_t>(f.type);
        put32(&h[pos + 12], f.offset);
        h[pos + 16] = static_cast<uint8_t>(f.len);
        h[pos + 17] = static_cast<uint8_t>(f.dec);
        pos += 32;
    }
    h[pos] = 0x0D;
    return h;
}

} // namespace c4
