// altavo-db on tables we make: info, dump as JSON lines and CSV, check on
// sound and damaged tables, reindex from a foreign compound index.
#include "engine_test_util.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <cstring>

using namespace enginetest;

namespace {

std::string tool() {
    const char* bin = std::getenv("ALTAVO_BIN");
    return std::string(bin ? bin : ".") + "/altavo-db";
}

std::string runTool(const std::string& args, int* status) {
    return run("ASAN_OPTIONS=detect_leaks=0 " + tool() + " " + args + " 2>&1", status);
}

// A users-like table: text with trailing blanks, a number, a blank number,
// a date, a logical, a text memo, a binary memo and a deleted row.
std::string makeTable(const ScratchDir& dir) {
    Session s;
    static const FIELD4INFO f[] = {{"NAME", 'C', 8, 0, 0}, {"ID", 'N', 5, 0, 0}, {"PRICE", 'N', 7, 2, 0},
                                   {"WHEN", 'D', 8, 0, 0}, {"OK", 'L', 1, 0, 0}, {"NOTE", 'M', 10, 0, 0},
                                   {nullptr, 0, 0, 0, 0}};
    static const TAG4INFO t[] = {{"ID", "ID", ".NOT. DELETED()", 0, 0},
                                 {"NAME", "UPPER(NAME)", "", 1, 1},
                                 {nullptr, nullptr, nullptr, 0, 0}};
    std::string name = dir / "people";
    DATA4* d = d4create(s.cb, name.c_str(), f, t);
    d4appendBlank(d);
    f4assign(d4field(d, "NAME"), "Zo\xeb");
    f4assignLong(d4field(d, "ID"), 1);
    f4assignDouble(d4field(d, "PRICE"), 2.5);
    f4assign(d4field(d, "WHEN"), "20240229");
    f4assign(d4field(d, "OK"), "T");
    f4memoAssign(d4field(d, "NOTE"), "line \"one\"\r\nline\ttwo");
    d4unlock(d);
    d4appendBlank(d);
    f4assign(d4field(d, "NAME"), "Bob");
    f4memoAssignN(d4field(d, "NOTE"), "\0\x1a\xff", 3);
    d4delete(d);
    d4unlock(d);
    d4close(d);
    return name;
}

} // namespace

TEST(AltavoDb, InfoListsStructureAndTags) {
    ScratchDir dir;
    std::string name = makeTable(dir);
    int status = -1;
    std::string out = runTool("info " + name, &status);
    ASSERT_EQ(status, 0) << out;
    for (const char* want :
         {"version: 0xF5", "code page: 0x03 (Windows-1252)", "records: 2", "NAME       C   8  0",
          "PRICE      N   7  2", "FoxPro .fpt, block size 64",
          "NAME       expression=\"UPPER(NAME)\" filter=\"\" unique=yes descending=yes",
          "ID         expression=\"ID\" filter=\".NOT. DELETED()\" unique=no descending=no"})
        EXPECT_NE(out.find(want), std::string::npos) << want << "\n" << out;
    EXPECT_EQ(runTool("info " + name + ".dbf", &status).substr(0, 6), "table:")
        << "the extension is optional";
}

TEST(AltavoDb, DumpWritesJsonLinesAndCsv) {
    ScratchDir dir;
    std::string name = makeTable(dir);
    int status = -1;
    std::string out = runTool("dump --jsonl " + name, &status);
    ASSERT_EQ(status, 0) << out;
    size_t nl = out.find('\n');
    ASSERT_NE(nl, std::string::npos);
    QJsonObject first = QJsonDocument::fromJson(QByteArray::fromStdString(out.substr(0, nl))).object();
    QJsonObject second = QJsonDocument::fromJson(QByteArray::fromStdString(out.substr(nl + 1))).object();
    EXPECT_EQ(first["NAME"].toString(), QString::fromUtf8("Zo\xc3\xab     "))
        << "decoded, trailing blanks kept";
    EXPECT_EQ(first["ID"].toDouble(), 1);
    EXPECT_EQ(first["PRICE"].toDouble(), 2.5);
    EXPECT_EQ(first["WHEN"].toString(), "2024-02-29");
    EXPECT_EQ(first["OK"].toBool(), true);
    EXPECT_EQ(first["NOTE"].toString(), "line \"one\"\r\nline\ttwo");
    EXPECT_FALSE(first.contains("_deleted"));
    EXPECT_TRUE(second["ID"].isNull());
    EXPECT_TRUE(second["WHEN"].isNull());
    EXPECT_TRUE(second["OK"].isNull());
    EXPECT_EQ(second["NOTE"].toObject()["base64"].toString(), "ABr/");
    EXPECT_EQ(second["_deleted"].toBool(), true);

    out = runTool("dump --csv " + name, &status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(out, "NAME,ID,PRICE,WHEN,OK,NOTE,_deleted\r\n"
                   "\"Zo\xc3\xab     \",1,2.50,2024-02-29,true,\"line \"\"one\"\"\r\nline\ttwo\",false\r\n"
                   "\"Bob     \",,,,,base64:ABr/,true\r\n");
}

TEST(AltavoDb, CheckPassesSoundTablesAndListsFaults) {
    ScratchDir dir;
    std::string name = makeTable(dir);
    int status = -1;
    std::string out = runTool("check " + name, &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("sound: 2 records, 2 memos, 2 tags"), std::string::npos) << out;

    std::string dbf = readFile(name + ".dbf");
    const size_t hlen = 32 + 32 * 6 + 1, rl = 1 + 8 + 5 + 7 + 8 + 1 + 10;
    const size_t noteAt = 1 + 8 + 5 + 7 + 8 + 1;
    struct Case {
        const char* what;
        std::string bytes;
        const char* fault;
    };
    std::string beyondMemo = dbf, intoHeader = dbf, shared = dbf, badCount = dbf, badNumber = dbf,
                badFlag = dbf, strayBytes = dbf;
    std::memcpy(&beyondMemo[hlen + noteAt], "    999999", 10);
    std::memcpy(&intoHeader[hlen + noteAt], "         1", 10);
    std::memcpy(&shared[hlen + rl + noteAt], &dbf[hlen + noteAt], 10);
    badCount[4] = 9;
    std::memcpy(&badNumber[hlen + 1 + 8], "  1x3", 5);
    badFlag[hlen + rl] = 'Q';
    strayBytes.insert(strayBytes.size() - 1, "stray");
    std::vector<Case> cases = {
        {"memo pointer beyond the memo file", beyondMemo, "beyond the end of the memo file"},
        {"memo pointer into the memo file's header", intoHeader, "points into the memo file's header"},
        {"two records sharing a memo block", shared, "share memo blocks"},
        {"record count beyond the file", badCount, "header says 9 records"},
        {"bad number", badNumber, "is not a number"},
        {"bad deletion flag", badFlag, "deletion flag"},
        {"truncated header", dbf.substr(0, 20), "header truncated"},
        {"field descriptors cut off", dbf.substr(0, 100), "beyond the end of the file"},
        {"bytes after the last record", strayBytes, "6 bytes after the last counted record"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(name + ".dbf", c.bytes);
        out = runTool("check " + name, &status);
        EXPECT_EQ(status, 1) << out;
        EXPECT_NE(out.find(c.fault), std::string::npos) << out;
        EXPECT_NE(out.find("/people."), std::string::npos) << "faults name the file";
    }

    // An append killed after writing its record but before counting it leaves
    // the record and the end-of-file marker past the count: no damage.
    std::string uncounted = dbf;
    uncounted[4] = 1;
    writeFile(name + ".dbf", uncounted);
    out = runTool("check " + name, &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("1 uncounted record(s) left by an interrupted append"), std::string::npos) << out;

    // dump reports a bad memo pointer instead of printing an empty memo.
    writeFile(name + ".dbf", intoHeader);
    out = runTool("dump --jsonl " + name, &status);
    EXPECT_NE(status, 0) << out;
    EXPECT_NE(out.find("points into the memo file's header"), std::string::npos) << out;
}

namespace {

// A FoxPro compound index holding only its tag directory: the directory
// leaf names the tags, each tag header carries options and expressions.
std::string compoundIndex(const std::vector<std::array<std::string, 3>>& tags,
                          const std::vector<int>& options, const std::vector<int>& descending) {
    std::string img(1024 + 512 + 1024 * tags.size(), '\0');
    auto put16 = [&](size_t at, unsigned v) {
        img[at] = static_cast<char>(v & 0xFF);
        img[at + 1] = static_cast<char>(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            img[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(0, 1024); // root node of the directory
    put16(12, 10);  // directory key length
    img[14] = 0x60; // compact, compound
    size_t node = 1024;
    put16(node, 3); // root and leaf
    put16(node + 2, static_cast<unsigned>(tags.size()));
    put32(node + 4, 0xFFFFFFFF);
    put32(node + 8, 0xFFFFFFFF);
    put32(node + 14, 0x00FFFFFF);
    img[node + 18] = 0x0F;
    img[node + 19] = 0x0F;
    img[node + 20] = 24;
    img[node + 21] = 4;
    img[node + 22] = 4;
    img[node + 23] = 4;
    for (size_t i = 0; i < tags.size(); ++i) {
        uint32_t header = static_cast<uint32_t>(1536 + 1024 * i);
        put32(node + 24 + 4 * i, header); // no shared or trailing bytes
        std::string key = tags[i][0];
        key.resize(10, ' ');
        img.replace(node + 512 - 10 * (i + 1), 10, key);
        img[header + 14] = static_cast<char>(options[i]);
        put16(header + 502, static_cast<unsigned>(descending[i]));
        const std::string& expr = tags[i][1];
        const std::string& filter = tags[i][2];
        put16(header + 510, static_cast<unsigned>(expr.size() + 1));
        put16(header + 506, static_cast<unsigned>(filter.size() + 1));
        img.replace(header + 512, expr.size(), expr);
        img.replace(header + 512 + expr.size() + 1, filter.size(), filter);
    }
    return img;
}

} // namespace

TEST(AltavoDb, TagsComeFromAForeignCompoundIndexAndReindexKeepsThem) {
    ScratchDir dir;
    std::string name = makeTable(dir);
    std::filesystem::remove(name + ".atx");
    writeFile(name + ".cdx", compoundIndex({{"BYID", "ID", ".NOT. DELETED()"}, {"BYNAME", "UPPER(NAME)", ""}},
                                           {0x28, 0x21}, {0, 1}));
    int status = -1;
    std::string out = runTool("info " + name, &status);
    ASSERT_EQ(status, 0) << out;
    EXPECT_NE(out.find("BYID       expression=\"ID\" filter=\".NOT. DELETED()\" unique=no descending=no"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("BYNAME     expression=\"UPPER(NAME)\" filter=\"\" unique=yes descending=yes"),
              std::string::npos)
        << out;
    out = runTool("reindex " + name, &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("BYID: 1 keys"), std::string::npos) << out;
    EXPECT_TRUE(std::filesystem::exists(name + ".atx"));

    // Through the engine: the tag orders records.
    Session s;
    DATA4* d = d4open(s.cb, name.c_str());
    ASSERT_NE(d, nullptr);
    d4tagSelect(d, d4tag(d, "BYNAME"));
    ASSERT_EQ(d4top(d), 0);
    EXPECT_EQ(rtrim(f4str(d4field(d, "NAME"))), "Zo\xeb");

    // A damaged tag file is an error naming it; the table still opens.
    writeFile(name + ".atx", "not a tag file\n");
    code4errorCode(s.cb, 0);
    DATA4* d2 = d4open(s.cb, name.c_str());
    ASSERT_NE(d2, nullptr);
    EXPECT_NE(std::string(code4errorText(s.cb)).find("people.atx"), std::string::npos);
    EXPECT_EQ(code4errorCode(s.cb, 0), E4_INDEX);
}
