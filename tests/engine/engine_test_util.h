// Shared helpers of the engine tests: a scratch directory per test and the
// field and tag lists of the player's tables.
#pragma once

#include "engine/c4dstand.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace enginetest {

class ScratchDir {
public:
    ScratchDir() {
        char tmpl[] = "/tmp/altavo-engine-XXXXXX";
        path_ = mkdtemp(tmpl);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Runs a shell command, returns its standard output; status in *status.
inline std::string run(const std::string& cmd, int* status = nullptr) {
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    int st = pclose(p);
    if (status)
        *status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return out;
}

inline std::string rtrim(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// The test-session table.
inline const FIELD4INFO* sessionFields() {
    static const FIELD4INFO f[] = {
        {"ID", 'N', 9, 0, 0},       {"ASSIGNID", 'N', 9, 0, 0},  {"TYPEFLAG", 'N', 4, 0, 0},
        {"DATE", 'D', 8, 0, 0},     {"TIMESTART", 'F', 8, 0, 0}, {"TIMEEND", 'F', 8, 0, 0},
        {"QTAKEN", 'N', 4, 0, 0},   {"QRIGHT", 'N', 4, 0, 0},    {"ANSWERS", 'M', 10, 0, 0},
        {"HISTORY", 'M', 10, 0, 0}, {nullptr, 0, 0, 0, 0}};
    return f;
}
inline const TAG4INFO* sessionTags() {
    static const TAG4INFO t[] = {{"ID", "ID", ".NOT. DELETED()", 0, 0},
                                 {"ASSIGNID", "ASSIGNID", ".NOT. DELETED()", 0, 0},
                                 {nullptr, nullptr, nullptr, 0, 0}};
    return t;
}

// The users table.
inline const FIELD4INFO* userFields() {
    static const FIELD4INFO f[] = {
        {"ID", 'N', 9, 0, 0},        {"USERNAME", 'C', 20, 0, 0}, {"FIRSTNAME", 'M', 10, 0, 0},
        {"LASTNAME", 'M', 10, 0, 0}, {"PASSWORD", 'M', 10, 0, 0}, {"SSN", 'C', 11, 0, 0},
        {"COMPANY", 'C', 60, 0, 0},  {"DATE", 'D', 8, 0, 0},      {"EMAIL", 'M', 10, 0, 0},
        {"PHONE", 'M', 10, 0, 0},    {"FAX", 'M', 10, 0, 0},      {"ADLINE1", 'M', 10, 0, 0},
        {"ADLINE2", 'M', 10, 0, 0},  {"CITY", 'M', 10, 0, 0},     {"STATE", 'M', 10, 0, 0},
        {"POSTALCD", 'M', 10, 0, 0}, {"COUNTRY", 'M', 10, 0, 0},  {"RIGHTS", 'M', 10, 0, 0},
        {"EMPID", 'N', 9, 0, 0},     {"STATUS", 'N', 4, 0, 0},    {"CURSESID", 'N', 9, 0, 0},
        {"LASTIP", 'C', 15, 0, 0},   {nullptr, 0, 0, 0, 0}};
    return f;
}
inline const TAG4INFO* userTags() {
    static const TAG4INFO t[] = {{"ID", "ID", ".NOT. DELETED()", 0, 0},
                                 {"EMPID", "EMPID", ".NOT. DELETED()", 0, 0},
                                 {"USERNAME", "USERNAME", ".NOT. DELETED()", 0, 0},
                                 {"STATUS", "STATUS", ".NOT. DELETED()", 0, 0},
                                 {nullptr, nullptr, nullptr, 0, 0}};
    return t;
}

// A session that reports nothing on stderr and overwrites on create, as
// the player sets it up.
struct Session {
    CODE4* cb;
    Session() : cb(code4initP()) {
        code4errOff(cb, 1);
        code4errOpen(cb, 0);
        code4safety(cb, 0);
    }
    ~Session() { code4initUndoP(cb); }
    DATA4* openOrCreate(const std::string& name, const FIELD4INFO* f, const TAG4INFO* t) {
        DATA4* d = d4open(cb, name.c_str());
        if (!d)
            d = d4create(cb, name.c_str(), f, t);
        return d;
    }
};

} // namespace enginetest
