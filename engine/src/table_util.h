// Small helpers shared by the parts of the table code (table.cpp: opening,
// creating, positioning; table_write.cpp: changes and other processes;
// table_rewrite.cpp: whole-table locks and rewrites).
#pragma once

#include "storage.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

namespace c4::detail {

inline uint32_t le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}
inline void put32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

inline bool endsWithCi(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && strcasecmp(s.c_str() + s.size() - suffix.size(), suffix.c_str()) == 0;
}

inline std::string upper(std::string s) {
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

inline std::string errnoText() {
    return std::strerror(errno);
}

inline bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t limit) {
    int err = 0;
    auto f = File::open(path, false, false, err);
    if (!f)
        return false;
    int64_t size = f->size();
    if (size < 0 || static_cast<uint64_t>(size) > limit)
        return false;
    out.resize(static_cast<size_t>(size));
    return size == 0 || f->readAt(0, out.data(), out.size());
}

inline bool writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, bool sync) {
    int err = 0;
    auto f = File::open(path, true, true, err);
    if (!f)
        return false;
    if (!bytes.empty() && !f->writeAt(0, bytes.data(), bytes.size()))
        return false;
    return !sync || f->sync();
}

// Records beyond the stated count, or trailing records that are not
// records at all (a torn append, a file extended but never written), are
// not rows.
inline uint32_t usableCount(const std::vector<uint8_t>& data, uint32_t count, unsigned recLen) {
    while (count > 0) {
        uint8_t flag = data[static_cast<size_t>(count - 1) * recLen];
        if (flag == ' ' || flag == '*')
            break;
        --count;
    }
    return count;
}

} // namespace c4::detail
