// What the table objects rely on: open-or-create with their field and tag
// lists, orders and filters, the seek rules, positioning, appends, deletes,
// pack, memo compression, zap, counts, memos of any bytes and dates.
#include "engine_test_util.h"

#include <cstring>

using namespace enginetest;

namespace {

void addSession(DATA4* d, long id, long assign, const std::string& answers) {
    ASSERT_EQ(d4appendBlank(d), 0);
    f4assignLong(d4field(d, "ID"), id);
    f4assignLong(d4field(d, "ASSIGNID"), assign);
    f4memoAssignN(d4field(d, "ANSWERS"), answers.data(), static_cast<unsigned>(answers.size()));
    ASSERT_EQ(d4unlock(d), 0);
}

std::vector<long> idsInOrder(DATA4* d, const char* field = "ID") {
    std::vector<long> ids;
    for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1))
        ids.push_back(f4long(d4field(d, field)));
    return ids;
}

} // namespace

TEST(EngineApi, OpenOrCreateKeepsLayoutTagsAndCodePage) {
    ScratchDir dir;
    Session s;
    std::string name = dir / "TestSess";
    EXPECT_EQ(d4open(s.cb, name.c_str()), nullptr);
    EXPECT_EQ(code4errorCode(s.cb, 0), 0) << "a missing table is quiet when open failures are off";
    DATA4* d = s.openOrCreate(name, sessionFields(), sessionTags());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(code4errorCode(s.cb, 0), 0);
    EXPECT_EQ(d4version(d), 0xF5);
    EXPECT_EQ(d4codePage(d), 0x03);
    addSession(d, 1, 7, "x");
    d4close(d);

    d = d4open(s.cb, name.c_str());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(code4errorCode(s.cb, 0), 0);
    ASSERT_EQ(d4numFields(d), 10);
    FIELD4* f = d4fieldJ(d, 5);
    EXPECT_STREQ(f4name(f), "TIMESTART");
    EXPECT_EQ(f4type(f), 'F');
    EXPECT_EQ(f4len(f), 8);
    ASSERT_EQ(d4numTags(d), 2);
    TAG4* t = d4tag(d, "ASSIGNID");
    ASSERT_NE(t, nullptr);
    EXPECT_STREQ(t4expr(t), "ASSIGNID");
    EXPECT_STREQ(t4filter(t), ".NOT. DELETED()");
    EXPECT_EQ(d4field(d, "assignid"), d4field(d, "ASSIGNID")) << "field names match without regard to case";
    EXPECT_EQ(d4field(d, "NOSUCH"), nullptr);
    EXPECT_EQ(d4recCountDo(d), 1);

    // No production-index flag, so other programs see a plain table; no
    // Visual FoxPro backlink; the file ends in 0x1A.
    std::string bytes = readFile(dir / "TestSess.dbf");
    EXPECT_EQ(static_cast<unsigned char>(bytes[28]) & 1, 0);
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]) | (static_cast<unsigned char>(bytes[9]) << 8),
              32 + 32 * 10 + 1);
    EXPECT_EQ(bytes.back(), '\x1a');
    EXPECT_TRUE(std::filesystem::exists(dir / "TestSess.fpt"));
    EXPECT_TRUE(std::filesystem::exists(dir / "TestSess.atx"));
}

TEST(EngineApi, TablesWithoutMemosAreVersion3) {
    ScratchDir dir;
    Session s;
    static const FIELD4INFO f[] = {{"ID", 'N', 4, 0, 0}, {"NAME", 'C', 5, 0, 0}, {nullptr, 0, 0, 0, 0}};
    DATA4* d = d4create(s.cb, (dir / "plain").c_str(), f, nullptr);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d4version(d), 0x03);
    EXPECT_EQ(d4numTags(d), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "plain.fpt"));
}

TEST(EngineApi, EmptyOrderAndEndOfFile) {
    ScratchDir dir;
    Session s;
    DATA4* d = s.openOrCreate(dir / "TestSess", sessionFields(), sessionTags());
    d4tagSelect(d, d4tag(d, "ID"));
    EXPECT_EQ(d4top(d), R4_EOF);
    EXPECT_EQ(d4bottom(d), R4_EOF);
    EXPECT_EQ(d4seekDouble(d, 1), R4_EOF);
    d4tagSelect(d, nullptr);
    EXPECT_EQ(d4top(d), R4_EOF);
    addSession(d, 1, 1, "");
    d4tagSelect(d, d4tag(d, "ID"));
    EXPECT_EQ(d4top(d), 0);
    EXPECT_EQ(d4skip(d, 1), R4_EOF);
    EXPECT_EQ(d4skip(d, -1), 0) << "a step back from the end reaches the last record";
    EXPECT_EQ(d4skip(d, -1), R4_BOF);
    EXPECT_EQ(d4recNo(d), 1);
}

TEST(EngineApi, NumericTagsCompareAsNumbersAndSeekExactly) {
    ScratchDir dir;
    Session s;
    DATA4* d = s.openOrCreate(dir / "TestSess", sessionFields(), sessionTags());
    for (long id : {10, 9, 100, -1, 2})
        addSession(d, id, id % 3, "");
    d4tagSelect(d, d4tag(d, "ID"));
    EXPECT_EQ(idsInOrder(d), (std::vector<long>{-1, 2, 9, 10, 100}));
    EXPECT_EQ(d4bottom(d), 0);
    EXPECT_EQ(f4long(d4field(d, "ID")), 100) << "the last ID + 1 is how the tables number rows";
    EXPECT_EQ(d4seekDouble(d, 9), 0);
    EXPECT_EQ(f4long(d4field(d, "ID")), 9);
    EXPECT_EQ(d4seekDouble(d, 11), R4_AFTER);
    EXPECT_EQ(f4long(d4field(d, "ID")), 100);
    EXPECT_EQ(d4seekDouble(d, 101), R4_EOF);
    EXPECT_EQ(d4seek(d, "10"), 0) << "text seeks on numeric tags compare as numbers";
    EXPECT_EQ(f4long(d4field(d, "ID")), 10);
}

TEST(EngineApi, EqualKeysComeInRecordOrder) {
    ScratchDir dir;
    Session s;
    DATA4* d = s.openOrCreate(dir / "TestSess", sessionFields(), sessionTags());
    for (long id = 1; id <= 6; ++id)
        addSession(d, id, id % 2 ? 5 : 4, "");
    d4tagSelect(d, d4tag(d, "ASSIGNID"));
    ASSERT_EQ(d4seekDouble(d, 5), 0);
    std::vector<long> ids;
    for (int rc = 0; rc == 0 && f4long(d4field(d, "ASSIGNID")) == 5; rc = d4skip(d, 1))
        ids.push_back(f4long(d4field(d, "ID")));
    EXPECT_EQ(ids, (std::vector<long>{1, 3, 5}));
    // Still in record order after a reopen (tags are rebuilt from the data).
    d4close(d);
    d = d4open(s.cb, (dir / "TestSess").c_str());
    d4tagSelect(d, d4tag(d, "ASSIGNID"));
    EXPECT_EQ(idsInOrder(d), (std::vector<long>{2, 4, 6, 1, 3, 5}));
}

TEST(EngineApi, CharacterSeekPadsTheSearchText) {
    ScratchDir dir;
    Session s;
    DATA4* d = s.openOrCreate(dir / "Users", userFields(), userTags());
    for (const char* n : {"Anna", "Bob", "ann"}) {
        d4appendBlank(d);
        f4assign(d4field(d, "USERNAME"), n);
        d4unlock(d);
    }
    d4tagSelect(d, d4tag(d, "USERNAME"));
    EXPECT_NE(d4seek(d, "Ann"), 0) << "\"Ann\" must not find \"Anna\"";
    EXPECT_EQ(d4seek(d, "Anna"), 0);
    EXPECT_EQ(std::string(f4str(d4field(d, "USERNAME"))), "Anna                ")
        << "f4str pads to the width";
    EXPECT_EQ(d4seek(d, "Bob"), 0);
    EXPECT_NE(d4seek(d, "bob"), 0) << "character keys compare as bytes";
    EXPECT_EQ(d4seek(d, "Anna                "), 0);
}

TEST(EngineApi, FilterHidesDeletedRecordsAndPackRemovesThem) {
    ScratchDir dir;
    Session s;
    DATA4* d = s.openOrCreate(dir / "TestSess", sessionFields(), sessionTags());
    for (long id = 1; id <= 5; ++id)
        addSession(d, id, 1, std::string(static_cast<size_t>(id) * 100, static_cast<char>('a' + id)));
    d4tagSelect(d, d4tag(d, "ID"));
    ASSERT_EQ(d4seekDouble(d, 5), 0);
    d4delete(d);
    d4unlock(d);
    ASSERT_EQ(d4seekDouble(d, 2), 0);
    d4delete(d);
    d4unlock(d);
    EXPECT_EQ(d4seekDouble(d, 2), R4_AFTER) << "a deleted record drops out of a filtered order";
    EXPECT_EQ(idsInOrder(d), (std::vector<long>{1, 3, 4}));
    d4bottom(d);
    EXPECT_EQ(f4long(d4field(d, "ID")), 4) << "deleting the highest ID lets it be given again";
    d4tagSelect(d, nullptr);
    EXPECT_EQ(idsInOrder(d), (std::vector<long>{1, 2, 3, 4, 5})) << "record order shows deleted records";
    d4go(d, 2);
    EXPECT_EQ(d4deleted(d), 1);
    EXPECT_EQ(d4recCountDo(d), 5);

    EXPECT_EQ(d4pack(d), 0);
    EXPECT_EQ(d4recCountDo(d), 3);
    EXPECT_EQ(idsInOrder(d), (std::vector<long>{1, 3, 4}));
    uintmax_t before = std::filesystem::file_size(dir / "TestSess.fpt");
    EXPECT_EQ(d4memoCompress(d), 0);
    EXPECT_LT(std::filesystem::file_size(dir / "TestSess.fpt"), before);
    d4tagSelect(d, d4tag(d, "ID"));
    ASSERT_EQ(d4seekDouble(d, 3), 0);
    EXPECT_EQ(std::string(f4memoStr(d4field(d, "ANSWERS"))), std::string(300, 'd'));
    ASSERT_EQ(d4seekDouble(d, 4), 0);
    EXPECT_EQ(f4memoLen(d4field(d, "ANSWERS")), 400u);

    EXPECT_EQ(d4zap(d, 1, 1000000), 0);
    EXPECT_EQ(d4recCountDo(d), 0);
    EXPECT_EQ(d4top(d), R4_EOF);
}

TEST(EngineApi, ZapRemovesARangeOfRecords) {
    ScratchDir dir;
    Session s;
    DATA4* d = s.openOrCreate(dir / "TestSess", sessionFields(), sessionTags());
    for (long id = 1; id <= 6; ++id)
        addSession(d, id, 1, "");
    EXPECT_EQ(d4zap(d, 2, 3), 0);
    d4tagSelect(d, nullptr);
    EXPECT_EQ(idsInOrder(d), (std::vector<long>{1, 5, 6}));
    d4tagSelect(d, d4tag(d, "ID"));
    EXPECT_EQ(idsInOrder(d), (std::vector<long>{1, 5, 6}));
}

TEST(EngineApi, MemosHoldAnyBytesWithTheirExactLength) {
    ScratchDir dir;
    Session s;
    DATA4* d = s.openOrCreate(dir / "TestSess", sessionFields(), sessionTags());
    std::string block(104, '\0');
    block[0] = 20;
    block[4] = 28;
    block[8] = 3;
    block[50] = 0x1A;
    block[51] = 0x1A;
    std::string gif =
        "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00\x00\x00\x00,";
    gif += std::string("\0\x1a\x1a\x0d\x0a", 5);
    addSession(d, 1, 1, block);
    ASSERT_EQ(d4appendBlank(d), 0);
    f4assignLong(d4field(d, "ID"), 2);
    f4memoAssignN(d4field(d, "HISTORY"), gif.data(), static_cast<unsigned>(gif.size()));
    f4memoAssign(d4field(d, "ANSWERS"), "");
    d4unlock(d);
    d4close(d);

    d = d4open(s.cb, (dir / "TestSess").c_str());
    d4tagSelect(d, d4tag(d, "ID"));
    ASSERT_EQ(d4seekDouble(d, 1), 0);
    FIELD4* answers = d4field(d, "ANSWERS");
    ASSERT_EQ(f4memoLen(answers), 104u);
    EXPECT_EQ(std::string(f4memoStr(answers), 104), block);
    ASSERT_EQ(d4seekDouble(d, 2), 0);
    EXPECT_EQ(f4memoLen(answers), 0u);
    FIELD4* history = d4field(d, "HISTORY");
    ASSERT_EQ(f4memoLen(history), gif.size());
    EXPECT_EQ(std::string(f4memoStr(history), gif.size()), gif);
    // An empty memo leaves the pointer blank; the block size is 64.
    std::string fpt = readFile(dir / "TestSess.fpt");
    EXPECT_EQ(static_cast<unsigned char>(fpt[7]), 64);
}

TEST(EngineApi, FieldValuesArePaddedFormattedAndCut) {
    ScratchDir dir;
    Session s;
    DATA4* d = s.openOrCreate(dir / "TestSess", sessionFields(), sessionTags());
    ASSERT_EQ(d4appendBlank(d), 0);
    EXPECT_EQ(std::string(f4str(d4field(d, "ID"))), "         ");
    f4assignLong(d4field(d, "ID"), 42);
    f4assignInt(d4field(d, "TYPEFLAG"), -1);
    f4assignDouble(d4field(d, "TIMESTART"), 0.75);
    f4assign(d4field(d, "DATE"), "20240229");
    d4unlock(d);
    EXPECT_EQ(std::string(f4str(d4field(d, "ID"))), "       42");
    EXPECT_EQ(std::string(f4str(d4field(d, "TYPEFLAG"))), "  -1");
    EXPECT_EQ(f4int(d4field(d, "TYPEFLAG")), -1);
    EXPECT_EQ(std::string(f4str(d4field(d, "TIMESTART"))), "       1")
        << "written with the field's 0 decimals";
    char out[11];
    date4format(f4str(d4field(d, "DATE")), out, "MM/DD/CCYY");
    EXPECT_STREQ(out, "02/29/2024");
    date4format("        ", out, "MM/DD/CCYY");
    EXPECT_STREQ(out, "  /  /    ");
    char today[9] = {0};
    date4today(today);
    EXPECT_EQ(std::strlen(today), 8u);
    EXPECT_GE(std::atoi(today), 20240101);

    static const FIELD4INFO f[] = {
        {"NAME", 'C', 5, 0, 0}, {"OK", 'L', 1, 0, 0}, {"AMOUNT", 'N', 8, 2, 0}, {nullptr, 0, 0, 0, 0}};
    DATA4* t = d4create(s.cb, (dir / "values").c_str(), f, nullptr);
    d4appendBlank(t);
    f4assign(d4field(t, "NAME"), "ABCDEFG");
    f4assign(d4field(t, "OK"), "T");
    f4assignDouble(d4field(t, "AMOUNT"), 3.14159);
    d4unlock(t);
    EXPECT_EQ(std::string(f4str(d4field(t, "NAME"))), "ABCDE");
    EXPECT_EQ(std::string(f4str(d4field(t, "OK"))), "T");
    EXPECT_EQ(std::string(f4str(d4field(t, "AMOUNT"))), "    3.14");
}

TEST(EngineApi, CourseIndexExpressionsAndGlossaryOrder) {
    ScratchDir dir;
    Session s;
    static const FIELD4INFO f[] = {{"ID", 'N', 4, 0, 0},       {"PARENTID", 'N', 4, 0, 0},
                                   {"INDEX", 'N', 4, 0, 0},    {"TYPE", 'N', 2, 0, 0},
                                   {"CLIPTYPE", 'N', 4, 0, 0}, {"REEL", 'N', 2, 0, 0},
                                   {"TITLE", 'C', 40, 0, 0},   {nullptr, 0, 0, 0, 0}};
    static const TAG4INFO t[] = {{"ID", "ID", ".NOT. DELETED()", 0, 0},
                                 {"ID_INDEX", "ID+INDEX", "", 0, 0},
                                 {"PARENTID", "PARENTID", ".NOT. DELETED()", 0, 0},
                                 {"PID_INDEX", "PARENTID + INDEX", ".NOT. DELETED()", 0, 0},
                                 {"TYPE_NDX", "TYPE + INDEX", ".NOT. DELETED()", 0, 0},
                                 {"CLIPTYPE", "CLIPTYPE", ".NOT. DELETED()", 0, 0},
                                 {nullptr, nullptr, nullptr, 0, 0}};
    DATA4* d = s.openOrCreate(dir / "index", f, t);
    ASSERT_NE(d, nullptr) << code4errorText(s.cb);
    struct Row {
        long id, parent, index;
    } rows[] = {{1, 0, 2}, {2, 0, 1}, {3, 0, 3}, {4, 2, 1}};
    for (auto r : rows) {
        d4appendBlank(d);
        f4assignLong(d4field(d, "ID"), r.id);
        f4assignLong(d4field(d, "PARENTID"), r.parent);
        f4assignLong(d4field(d, "INDEX"), r.index);
        d4unlock(d);
    }
    d4tagSelect(d, d4tag(d, "PID_INDEX"));
    EXPECT_EQ(idsInOrder(d), (std::vector<long>{2, 1, 3, 4})) << "PARENTID + INDEX sums numbers";
    d4tagSelect(d, d4tag(d, "PARENTID"));
    EXPECT_EQ(idsInOrder(d), (std::vector<long>{1, 2, 3, 4}));

    static const FIELD4INFO gf[] = {
        {"TERM", 'C', 50, 0, 0}, {"DEFINITION", 'M', 10, 0, 0}, {nullptr, 0, 0, 0, 0}};
    static const TAG4INFO gt[] = {{"TERM_TAG", "TERM", ".NOT. DELETED()", 0, 0},
                                  {nullptr, nullptr, nullptr, 0, 0}};
    DATA4* g = s.openOrCreate(dir / "Glossary", gf, gt);
    for (const char* term : {"Zoom", "Applet", "Macro"}) {
        d4appendBlank(g);
        f4assign(d4field(g, "TERM"), term);
        f4memoAssign(d4field(g, "DEFINITION"), (std::string("about ") + term).c_str());
        d4unlock(g);
    }
    // A new table's only tag is its default order.
    std::vector<std::string> terms;
    for (int rc = d4top(g); rc == 0; rc = d4skip(g, 1))
        terms.push_back(rtrim(f4str(d4field(g, "TERM"))));
    EXPECT_EQ(terms, (std::vector<std::string>{"Applet", "Macro", "Zoom"}));
    ASSERT_EQ(d4seek(g, "Macro"), 0);
    EXPECT_STREQ(f4memoStr(d4field(g, "DEFINITION")), "about Macro");
}

TEST(EngineApi, DescendingUniqueAndFunctionKeys) {
    ScratchDir dir;
    Session s;
    static const FIELD4INFO f[] = {
        {"NAME", 'C', 8, 0, 0}, {"N", 'N', 5, 1, 0}, {"D", 'D', 8, 0, 0}, {nullptr, 0, 0, 0, 0}};
    static const TAG4INFO t[] = {{"DESC", "N", "", 0, 1},
                                 {"UNIQ", "UPPER(NAME)", "", 1, 0},
                                 {"MIX", "DTOS(D) + STR(N, 6, 1)", "N > 0 .AND. .NOT. DELETED()", 0, 0},
                                 {nullptr, nullptr, nullptr, 0, 0}};
    DATA4* d = d4create(s.cb, (dir / "mix").c_str(), f, t);
    ASSERT_NE(d, nullptr) << code4errorText(s.cb);
    struct Row {
        const char* name;
        double n;
        const char* date;
    } rows[] = {{"beta", 2.5, "20240102"},
                {"Alpha", -1, "20240101"},
                {"BETA", 10, "20231231"},
                {"alpha", 2.5, "20240102"}};
    for (auto r : rows) {
        d4appendBlank(d);
        f4assign(d4field(d, "NAME"), r.name);
        f4assignDouble(d4field(d, "N"), r.n);
        f4assign(d4field(d, "D"), r.date);
        d4unlock(d);
    }
    auto recs = [&](const char* tag) {
        d4tagSelect(d, d4tag(d, tag));
        std::vector<long> out;
        for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1))
            out.push_back(d4recNo(d));
        return out;
    };
    EXPECT_EQ(recs("DESC"), (std::vector<long>{3, 1, 4, 2})) << "descending, equal keys in record order";
    EXPECT_EQ(recs("UNIQ"), (std::vector<long>{2, 1})) << "a unique tag shows the first record of each key";
    EXPECT_EQ(recs("MIX"), (std::vector<long>{3, 1, 4}));
    d4tagSelect(d, d4tag(d, "MIX"));
    EXPECT_EQ(d4seek(d, "20240102   2.5"), 0);
    EXPECT_EQ(d4recNo(d), 1);
}

TEST(EngineApi, BadCreateArgumentsAreErrors) {
    ScratchDir dir;
    Session s;
    static const FIELD4INFO badField[] = {{"TOO_LONG_NAME", 'C', 5, 0, 0}, {nullptr, 0, 0, 0, 0}};
    EXPECT_EQ(d4create(s.cb, (dir / "a").c_str(), badField, nullptr), nullptr);
    EXPECT_EQ(code4errorCode(s.cb, 0), E4_FIELD);
    static const FIELD4INFO ok[] = {{"NAME", 'C', 5, 0, 0}, {nullptr, 0, 0, 0, 0}};
    static const TAG4INFO badTag[] = {{"T", "NAME +", "", 0, 0}, {nullptr, nullptr, nullptr, 0, 0}};
    EXPECT_EQ(d4create(s.cb, (dir / "b").c_str(), ok, badTag), nullptr);
    EXPECT_EQ(code4errorCode(s.cb, 0), E4_EXPR);
    static const TAG4INFO unknown[] = {{"T", "NOFIELD", "", 0, 0}, {nullptr, nullptr, nullptr, 0, 0}};
    EXPECT_EQ(d4create(s.cb, (dir / "c").c_str(), ok, unknown), nullptr);
    EXPECT_EQ(code4errorCode(s.cb, 0), E4_EXPR);
    // With safety on, an existing table is not replaced.
    ASSERT_NE(d4create(s.cb, (dir / "d").c_str(), ok, nullptr), nullptr);
    code4safety(s.cb, 1);
    EXPECT_EQ(d4create(s.cb, (dir / "d").c_str(), ok, nullptr), nullptr);
    EXPECT_EQ(code4errorCode(s.cb, 0), E4_CREATE);
}

TEST(EngineApi, ChangedKeysMoveInTheOrder) {
    ScratchDir dir;
    Session s;
    static const FIELD4INFO f[] = {
        {"PRODID", 'C', 10, 0, 0}, {"PARENT", 'C', 10, 0, 0}, {nullptr, 0, 0, 0, 0}};
    static const TAG4INFO t[] = {{"PRODID", "PRODID", ".NOT. DELETED()", 0, 0},
                                 {"PARENT", "PARENT", ".NOT. DELETED()", 0, 0},
                                 {nullptr, nullptr, nullptr, 0, 0}};
    DATA4* d = s.openOrCreate(dir / "gtest", f, t);
    for (const char* p : {"OLD", "OLD", "KEEP"}) {
        d4appendBlank(d);
        f4assign(d4field(d, "PARENT"), p);
        d4unlock(d);
    }
    d4tagSelect(d, d4tag(d, "PARENT"));
    int changed = 0;
    while (d4seek(d, "OLD") == 0) {
        f4assign(d4field(d, "PARENT"), "NEW");
        d4unlock(d);
        ++changed;
        ASSERT_LT(changed, 5);
    }
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(d4seek(d, "NEW"), 0);
    EXPECT_EQ(d4skip(d, 1), 0);
    EXPECT_EQ(rtrim(f4str(d4field(d, "PARENT"))), "NEW");
}

// Expressions meet numbers far outside what dates, widths and positions
// hold: the keys come out blank or cut, never undefined.
TEST(EngineApi, ExpressionsTakeOutOfRangeNumbers) {
    ScratchDir dir;
    Session s;
    static const FIELD4INFO f[] = {
        {"NAME", 'C', 8, 0, 0}, {"N", 'N', 20, 0, 0}, {"D", 'D', 8, 0, 0}, {nullptr, 0, 0, 0, 0}};
    static const TAG4INFO t[] = {{"SHIFT", "DTOS(D + N) + DTOS(D - N)", "", 0, 0},
                                 {"CUT", "SUBSTR(NAME, N, N) + LEFT(NAME, N) + RIGHT(NAME, N)", "", 0, 0},
                                 {"NUM", "STR(N, N, N)", "", 0, 0},
                                 {nullptr, nullptr, nullptr, 0, 0}};
    DATA4* d = d4create(s.cb, (dir / "far").c_str(), f, t);
    ASSERT_NE(d, nullptr) << code4errorText(s.cb);
    for (const char* n : {"99999999999999999999", "-9999999999999999999", "3"}) {
        d4appendBlank(d);
        f4assign(d4field(d, "NAME"), "abcdefgh");
        f4assign(d4field(d, "N"), n);
        f4assign(d4field(d, "D"), "20240229");
        ASSERT_EQ(d4unlock(d), 0);
    }
    d4tagSelect(d, d4tag(d, "SHIFT"));
    EXPECT_EQ(d4seek(d, "2024030320240226"), 0) << "three days either way";
    EXPECT_EQ(d4recNo(d), 3);
    d4tagSelect(d, d4tag(d, "CUT"));
    EXPECT_EQ(d4top(d), 0);
}

// Damaged files give an error code and a text naming the file and the
// fault; nothing crashes and no garbage is returned.
TEST(EngineApi, DamagedFilesAreReportedNotRead) {
    ScratchDir dir;
    std::string name = dir / "TestSess";
    {
        Session s;
        DATA4* d = s.openOrCreate(name, sessionFields(), sessionTags());
        ASSERT_EQ(d4appendBlank(d), 0);
        f4assignLong(d4field(d, "ID"), 1);
        f4memoAssign(d4field(d, "ANSWERS"), "kept");
        ASSERT_EQ(d4unlock(d), 0);
    }
    const std::string dbf = readFile(name + ".dbf"), fpt = readFile(name + ".fpt");
    const size_t hlen = 32 + 32 * 10 + 1;
    const size_t answersAt = 1 + 9 + 9 + 4 + 8 + 8 + 8 + 4 + 4;
    struct Case {
        const char* what;
        std::string dbf, fpt;
        int openCode; // error at open (0: opens)
        int memoCode; // error reading the memo (0: reads)
        const char* text;
    };
    std::string badVersion = dbf, badLen = dbf, badType = dbf, badPtr = dbf, garbagePtr = dbf, badBlock = fpt,
                headerPtr = dbf;
    badVersion[0] = '\x77';
    badLen[8] = '\x10', badLen[9] = 0;
    badType[32 + 11] = '?';
    std::memcpy(&badPtr[hlen + answersAt], "  99999999", 10);
    std::memcpy(&garbagePtr[hlen + answersAt], "12ab      ", 10);
    std::memcpy(&headerPtr[hlen + answersAt], "         3", 10);
    badBlock[6] = 0, badBlock[7] = 0;
    std::vector<Case> cases = {
        {"truncated header", dbf.substr(0, 20), fpt, E4_DATA, 0, "header truncated"},
        {"unknown version", badVersion, fpt, E4_DATA, 0, "unknown version"},
        {"header length too small", badLen, fpt, E4_DATA, 0, "header length"},
        {"bad field type", badType, fpt, E4_DATA, 0, "unknown type"},
        {"descriptors cut off", dbf.substr(0, 200), fpt, E4_DATA, 0, "does not fit the file"},
        {"memo pointer beyond the memo file", badPtr, fpt, 0, E4_MEMO, "beyond the end of the memo file"},
        {"memo pointer into the memo file's header", headerPtr, fpt, 0, E4_MEMO,
         "into the memo file's header"},
        {"memo pointer not a number", garbagePtr, fpt, 0, E4_MEMO, "not a block number"},
        {"memo block size 0", dbf, badBlock, E4_MEMO, E4_MEMO, "block size is 0"},
        {"memo file truncated", dbf, fpt.substr(0, 520), 0, E4_MEMO, "runs past the end"},
        {"memo length beyond the file", dbf, fpt.substr(0, 512) + std::string("\0\0\0\1\x7f\0\0\0", 8), 0,
         E4_MEMO, "runs past the end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(name + ".dbf", c.dbf);
        writeFile(name + ".fpt", c.fpt);
        Session s;
        DATA4* d = d4open(s.cb, name.c_str());
        std::string text = code4errorText(s.cb);
        int code = code4errorCode(s.cb, 0);
        if (c.openCode && c.openCode != c.memoCode) {
            EXPECT_EQ(d, nullptr);
            EXPECT_EQ(code, c.openCode);
            EXPECT_NE(text.find("TestSess.dbf"), std::string::npos) << text;
            EXPECT_NE(text.find(c.text), std::string::npos) << text;
            continue;
        }
        ASSERT_NE(d, nullptr) << text;
        EXPECT_EQ(code, c.openCode) << text;
        d4tagSelect(d, nullptr);
        ASSERT_EQ(d4top(d), 0);
        FIELD4* answers = d4field(d, "ANSWERS");
        std::string memo(f4memoStr(answers), f4memoLen(answers));
        text = code4errorText(s.cb);
        code = code4errorCode(s.cb, 0);
        if (c.memoCode) {
            EXPECT_EQ(code, c.memoCode);
            EXPECT_EQ(memo, "");
            EXPECT_NE(text.find("TestSess."), std::string::npos) << text;
            EXPECT_NE(text.find(c.text), std::string::npos) << text;
        } else {
            EXPECT_EQ(memo, "kept");
        }
    }
}

// Tolerated rather than refused: a count beyond the records in the file, a
// count below them, a missing end-of-file marker, a last record cut short.
TEST(EngineApi, RecordCountsThatDisagreeWithTheFileAreTolerated) {
    ScratchDir dir;
    std::string name = dir / "TestSess";
    {
        Session s;
        DATA4* d = s.openOrCreate(name, sessionFields(), sessionTags());
        for (long id = 1; id <= 3; ++id) {
            d4appendBlank(d);
            f4assignLong(d4field(d, "ID"), id);
            ASSERT_EQ(d4unlock(d), 0);
        }
    }
    const std::string dbf = readFile(name + ".dbf");
    struct Case {
        const char* what;
        std::string bytes;
        long count;
    };
    std::string countHigh = dbf, countLow = dbf;
    countHigh[4] = 9;
    countLow[4] = 2;
    std::vector<Case> cases = {{"count beyond the file", countHigh, 3},
                               {"count below the records", countLow, 2},
                               {"no end-of-file marker", dbf.substr(0, dbf.size() - 1), 3},
                               {"last record cut short", dbf.substr(0, dbf.size() - 10), 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(name + ".dbf", c.bytes);
        Session s;
        DATA4* d = d4open(s.cb, name.c_str());
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(code4errorCode(s.cb, 0), 0);
        EXPECT_EQ(d4recCountDo(d), c.count);
        d4tagSelect(d, d4tag(d, "ID"));
        ASSERT_EQ(d4bottom(d), 0);
        EXPECT_EQ(f4long(d4field(d, "ID")), c.count);
        // The next append lands after the counted records.
        d4appendBlank(d);
        f4assignLong(d4field(d, "ID"), 10);
        ASSERT_EQ(d4unlock(d), 0);
        d4close(d);
        d = d4open(s.cb, name.c_str());
        EXPECT_EQ(d4recCountDo(d), c.count + 1);
    }
}

TEST(EngineApi, CreateSetsADamagedTableAsideInsteadOfDestroyingIt) {
    ScratchDir dir;
    std::string name = dir / "Users";
    writeFile(name + ".dbf", "this is not a table at all, but somebody's data");
    Session s;
    EXPECT_EQ(d4open(s.cb, name.c_str()), nullptr);
    EXPECT_EQ(code4errorCode(s.cb, 0), E4_DATA)
        << "a damaged table is an error even with open failures quiet";
    DATA4* d = d4create(s.cb, name.c_str(), userFields(), userTags());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(readFile(name + ".dbf.damaged"), "this is not a table at all, but somebody's data");
    EXPECT_EQ(d4recCountDo(d), 0);
}
