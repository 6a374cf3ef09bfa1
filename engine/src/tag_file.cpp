#include "tag_file.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <sstream>

namespace c4 {

namespace {

const char* kMagic = "ALTAVO-TAGS 1";

std::string upper(std::string s) {
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\0' || s[a] == '\r'))
        ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\0' || s[b - 1] == '\r'))
        --b;
    return s.substr(a, b - a);
}

uint32_t le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}
unsigned le16(const uint8_t* p) {
    return p[0] | (p[1] << 8);
}

bool printableExpr(const std::string& s) {
    if (s.empty() || s.size() > 512)
        return false;
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F)
            return false;
    return true;
}

} // namespace

bool validTagName(const std::string& name) {
    if (name.empty() || name.size() > 10)
        return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

std::string parseTagFile(const std::string& text, std::vector<TagDef>& out) {
    out.clear();
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || trim(line) != kMagic)
        return "not a tag file (first line is not \"" + std::string(kMagic) + "\")";
    std::set<std::string> names;
    int lineNo = 1;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> cols;
        size_t start = 0;
        for (;;) {
            size_t tab = line.find('\t', start);
            cols.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        if (cols.size() != 5)
            return "line " + std::to_string(lineNo) + ": expected 5 tab-separated columns";
        TagDef d;
        d.name = upper(cols[0]);
        d.expression = cols[1];
        d.filter = cols[2];
        if (!validTagName(d.name))
            return "line " + std::to_string(lineNo) + ": bad tag name";
        if (!names.insert(d.name).second)
            return "line " + std::to_string(lineNo) + ": tag " + d.name + " appears twice";
        if (d.expression.empty())
            return "line " + std::to_string(lineNo) + ": tag " + d.name + " has no expression";
        if ((cols[3] != "0" && cols[3] != "1") || (cols[4] != "0" && cols[4] != "1"))
            return "line " + std::to_string(lineNo) + ": unique/descending must be 0 or 1";
        d.unique = cols[3] == "1";
        d.descending = cols[4] == "1";
        out.push_back(std::move(d));
        if (out.size() > 256)
            return "more than 256 tags";
    }
    return "";
}

std::string formatTagFile(const std::vector<TagDef>& tags) {
    std::string s = std::string(kMagic) + "\n# name\texpression\tfilter\tunique\tdescending\n";
    for (const auto& t : tags)
        s += t.name + "\t" + t.expression + "\t" + t.filter + "\t" + (t.unique ? "1" : "0") + "\t" +
             (t.descending ? "1" : "0") + "\n";
    return s;
}

// A FoxPro compound index: a directory tag at offset 0 whose B-tree keys are
// the tag names and whose record numbers are the offsets of each tag's
// header; each header holds the options, the order and the expressions.
std::string readCdxTags(const std::vector<uint8_t>& img, std::vector<TagDef>& out) {
    out.clear();
    if (img.size() < 1024 || img.size() % 512 != 0)
        return "compound index size " + std::to_string(img.size()) + " is not a multiple of 512";
    unsigned dirKeyLen = le16(&img[12]);
    if (dirKeyLen == 0 || dirKeyLen > 240)
        return "compound index directory key length " + std::to_string(dirKeyLen);
    uint32_t node = le32(&img[0]);
    std::set<uint32_t> seen;
    // Descend to the leftmost leaf.
    for (int depth = 0;; ++depth) {
        if (depth > 32 || node % 512 != 0 || node + 512 > img.size() || !seen.insert(node).second)
            return "compound index directory node " + std::to_string(node) + " is out of place";
        unsigned attr = le16(&img[node]);
        if (attr & 2)
            break;
        unsigned nkeys = le16(&img[node + 2]);
        if (nkeys == 0 || 12 + dirKeyLen + 8 > 512)
            return "compound index directory node has no keys";
        const uint8_t* e = &img[node + 12 + dirKeyLen];
        node = (uint32_t(e[4]) << 24) | (e[5] << 16) | (e[6] << 8) | e[7];
    }
    std::vector<std::pair<std::string, uint32_t>> entries;
    while (node != 0xFFFFFFFFu) {
        if (node % 512 != 0 || node + 512 > img.size() || entries.size() > 1000)
            return "compound index directory leaf " + std::to_string(node) + " is out of place";
        const uint8_t* n = &img[node];
        unsigned nkeys = le16(n + 2);
        uint32_t right = le32(n + 8);
        uint32_t recMask = le32(n + 14);
        unsigned recBits = n[20], dupBits = n[21], trailBits = n[22], entryLen = n[23];
        uint8_t dupMask = n[18], trailMask = n[19];
        if (entryLen < 1 || entryLen > 8 || recBits + dupBits + trailBits > 64 ||
            24u + nkeys * entryLen > 512)
            return "compound index directory leaf is damaged";
        (void)dupMask;
        (void)trailMask;
        std::string prev(dirKeyLen, ' ');
        size_t keyEnd = 512;
        for (unsigned i = 0; i < nkeys; ++i) {
            uint64_t v = 0;
            for (unsigned b = 0; b < entryLen; ++b)
                v |= uint64_t(n[24 + i * entryLen + b]) << (8 * b);
            uint32_t rec = static_cast<uint32_t>(v & recMask);
            unsigned dup = static_cast<unsigned>((v >> recBits) & ((1u << dupBits) - 1));
            unsigned trail = static_cast<unsigned>((v >> (recBits + dupBits)) & ((1u << trailBits) - 1));
            if (dup + trail > dirKeyLen)
                return "compound index directory key is damaged";
            unsigned fresh = dirKeyLen - dup - trail;
            if (keyEnd < 24 + nkeys * entryLen + fresh)
                return "compound index directory keys overlap";
            keyEnd -= fresh;
            std::string key = prev.substr(0, dup) +
                              std::string(reinterpret_cast<const char*>(n + keyEnd), fresh) +
                              std::string(trail, ' ');
            prev = key;
            entries.emplace_back(upper(trim(key)), rec);
        }
        if (right == node)
            break;
        node = right;
    }
    for (const auto& [name, off] : entries) {
        if (off % 512 != 0 || static_cast<uint64_t>(off) + 1024 > img.size())
            return "tag " + name + " header is beyond the end of the compound index";
        const uint8_t* h = &img[off];
        TagDef d;
        d.name = name;
        if (!validTagName(d.name))
            return "compound index has a bad tag name";
        d.unique = (h[14] & 0x01) != 0;
        d.descending = le16(h + 502) != 0;
        unsigned forLen = le16(h + 506);
        unsigned keyLen = le16(h + 510);
        if (keyLen == 0 || keyLen > 512 || forLen > 512)
            return "tag " + name + " expression lengths are damaged";
        const char* pool = reinterpret_cast<const char*>(h + 512);
        size_t k = strnlen(pool, std::min<unsigned>(keyLen, 512));
        d.expression = trim(std::string(pool, k));
        if ((h[14] & 0x08) && forLen > 0 && keyLen + forLen <= 512) {
            size_t f = strnlen(pool + keyLen, forLen);
            d.filter = trim(std::string(pool + keyLen, f));
        }
        if (!printableExpr(d.expression) || (!d.filter.empty() && !printableExpr(d.filter)))
            return "tag " + name + " expression is not text";
        out.push_back(std::move(d));
    }
    if (out.empty())
        return "compound index lists no tags";
    return "";
}

// A dBASE IV production index: a tag table at offset 544 (32-byte entries)
// pointing at tag headers (in 512-byte pages) holding the expressions.
std::string readMdxTags(const std::vector<uint8_t>& img, std::vector<TagDef>& out) {
    out.clear();
    if (img.size() < 1024)
        return "production index shorter than its header";
    unsigned tagsInUse = img[28];
    unsigned entryLen = img[26] ? img[26] : 32;
    if (tagsInUse == 0 || tagsInUse > 47 || entryLen < 32)
        return "production index tag count " + std::to_string(tagsInUse) + " is damaged";
    for (unsigned i = 0; i < tagsInUse; ++i) {
        size_t e = 544 + static_cast<size_t>(i) * entryLen;
        if (e + 32 > img.size())
            return "production index tag table is truncated";
        uint32_t page = le32(&img[e]);
        std::string name = upper(trim(std::string(reinterpret_cast<const char*>(&img[e + 4]),
                                                  strnlen(reinterpret_cast<const char*>(&img[e + 4]), 11))));
        uint64_t off = static_cast<uint64_t>(page) * 512;
        if (!validTagName(name))
            return "production index has a bad tag name";
        if (off + 512 > img.size())
            return "tag " + name + " header is beyond the end of the production index";
        const uint8_t* h = &img[off];
        TagDef d;
        d.name = name;
        d.descending = (h[8] & 0x08) != 0;
        d.unique = (h[8] & 0x40) != 0;
        const char* expr = reinterpret_cast<const char*>(h + 24);
        d.expression = trim(std::string(expr, strnlen(expr, 220)));
        // The FOR clause's place differs between dBASE versions; tags come
        // without a filter and the caller may add one.
        if (!printableExpr(d.expression))
            return "tag " + name + " expression is not text";
        out.push_back(std::move(d));
    }
    return "";
}

} // namespace c4
