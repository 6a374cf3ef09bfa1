// Interoperability with readers and writers nobody here wrote: our tables
// read by python3-dbfread, python3-dbf and Perl's XBase; FoxPro, Visual
// FoxPro and dBASE III tables written by them read by our engine.
#include "engine_test_util.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace enginetest;

namespace {

const char* kPython = "/usr/bin/python3";

// Bytes every reader can take back exactly (Windows-1252 defines them).
std::string binaryMemo() {
    std::string s;
    for (int b = 0; b < 256; ++b)
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
            s.push_back(static_cast<char>(b));
    s += std::string("\0\x1a\x1a\0", 4);
    return s;
}

struct Row {
    std::string name;
    const char* qty;
    double price;
    double rate;
    const char* when;
    const char* ok;
    std::string note;
    std::string blob;
    bool deleted;
};

std::vector<Row> rows() {
    return {
        {"Anna", "5", 12.5, 0.125, "20240229", "T", "plain text\r\nsecond line", binaryMemo(), false},
        {"Bob", "", -3.25, 1.5, "", "F", "", "", true},
        {"Zo\xeb", "123456", 9999.99, -2.5, "19991231", "", std::string(2000, 'x') + "\x1a", "\0", false}};
}

std::string hex(const std::string& s) {
    static const char* d = "0123456789abcdef";
    std::string h;
    for (unsigned char c : s) {
        h.push_back(d[c >> 4]);
        h.push_back(d[c & 15]);
    }
    return h;
}

std::string makeOurTable(const ScratchDir& dir) {
    Session s;
    static const FIELD4INFO f[] = {{"NAME", 'C', 12, 0, 0}, {"QTY", 'N', 6, 0, 0},   {"PRICE", 'N', 8, 2, 0},
                                   {"RATE", 'F', 10, 3, 0}, {"WHEN", 'D', 8, 0, 0},  {"OK", 'L', 1, 0, 0},
                                   {"NOTE", 'M', 10, 0, 0}, {"BLOB", 'M', 10, 0, 0}, {nullptr, 0, 0, 0, 0}};
    static const TAG4INFO t[] = {{"NAME", "NAME", ".NOT. DELETED()", 0, 0},
                                 {nullptr, nullptr, nullptr, 0, 0}};
    std::string name = dir / "ours";
    DATA4* d = d4create(s.cb, name.c_str(), f, t);
    EXPECT_NE(d, nullptr);
    for (const Row& r : rows()) {
        d4appendBlank(d);
        f4assign(d4field(d, "NAME"), r.name.c_str());
        f4assign(d4field(d, "QTY"), r.qty);
        f4assignDouble(d4field(d, "PRICE"), r.price);
        f4assignDouble(d4field(d, "RATE"), r.rate);
        f4assign(d4field(d, "WHEN"), r.when);
        f4assign(d4field(d, "OK"), r.ok);
        f4memoAssignN(d4field(d, "NOTE"), r.note.data(), static_cast<unsigned>(r.note.size()));
        f4memoAssignN(d4field(d, "BLOB"), r.blob.data(), static_cast<unsigned>(r.blob.size()));
        if (r.deleted)
            d4delete(d);
        d4unlock(d);
    }
    d4close(d);
    return name + ".dbf";
}

// Each reader prints one JSON array per record: deleted flag, then the
// fields; texts as hex of their bytes, numbers as numbers, dates as
// CCYYMMDD, logicals as booleans, blanks as null.
const char* kDbfread = R"(
import sys, json, dbfread
t = dbfread.DBF(sys.argv[1], encoding='latin-1')
def conv(v):
    if v is None: return None
    if isinstance(v, bool): return v
    if isinstance(v, (int, float)): return float(v)
    if isinstance(v, (bytes, bytearray)): return v.hex()
    if isinstance(v, str): return v.rstrip(' ').encode('latin-1').hex()
    return v.strftime('%Y%m%d')
recs = [(False, r) for r in t] + [(True, r) for r in t.deleted]
recs.sort(key=lambda x: x[1]['NAME'])
print(json.dumps([[d] + [conv(v) for v in r.values()] for d, r in recs]))
)";

const char* kPyDbf = R"(
import sys, json, dbf
t = dbf.Table(sys.argv[1]); t.open(dbf.READ_ONLY)
out = []
for r in t:
    row = [bool(dbf.is_deleted(r))]
    for name in t.field_names:
        v = r[name]
        kind = t.field_info(name)[0]
        kind = chr(kind) if isinstance(kind, int) else str(kind)
        if v is None or (isinstance(v, dbf.Date) and not v) : row.append(None)
        elif kind == 'L': row.append(None if v is dbf.Unknown or v is None else bool(v))
        elif kind == 'D': row.append(v.strftime('%Y%m%d'))
        elif kind in 'NF': row.append(float(v))
        elif kind == 'M': row.append(v.encode('cp1252').hex() if isinstance(v, str) else bytes(v).hex())
        else: row.append(v.rstrip(' ').encode('cp1252').hex())
    out.append(row)
print(json.dumps(out))
)";

const char* kPerl = R"(
use strict; use XBase;
my $t = XBase->new($ARGV[0]) or die XBase->errstr;
for my $i (0 .. $t->last_record) {
    my ($del, @f) = $t->get_record($i);
    print join("\t", $del ? 1 : 0, map { defined $_ ? unpack("H*", $_) : "-" } @f), "\n";
}
)";

QJsonArray runJson(const std::string& cmd) {
    int status = -1;
    std::string out = run(cmd, &status);
    EXPECT_EQ(status, 0) << cmd << "\n" << out;
    QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(out));
    EXPECT_TRUE(doc.isArray()) << out;
    return doc.array();
}

void expectRows(const QJsonArray& got, const char* reader) {
    auto expected = rows();
    ASSERT_EQ(got.size(), 3) << reader;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(std::string(reader) + " row " + std::to_string(i));
        const Row& r = expected[static_cast<size_t>(i)];
        QJsonArray g = got[i].toArray();
        ASSERT_EQ(g.size(), 9);
        EXPECT_EQ(g[0].toBool(), r.deleted);
        EXPECT_EQ(g[1].toString().toStdString(), hex(r.name));
        if (*r.qty)
            EXPECT_EQ(g[2].toDouble(), std::atof(r.qty));
        else
            EXPECT_TRUE(g[2].isNull());
        EXPECT_DOUBLE_EQ(g[3].toDouble(), r.price);
        EXPECT_DOUBLE_EQ(g[4].toDouble(), r.rate);
        if (*r.when)
            EXPECT_EQ(g[5].toString().toStdString(), r.when);
        else
            EXPECT_TRUE(g[5].isNull());
        if (*r.ok)
            EXPECT_EQ(g[6].toBool(), std::string(r.ok) == "T");
        else
            EXPECT_TRUE(g[6].isNull());
        // An empty memo may come back as null or as empty text.
        EXPECT_EQ(g[7].toString().toStdString(), hex(r.note));
        EXPECT_EQ(g[8].toString().toStdString(), hex(r.blob));
    }
}

} // namespace

TEST(Interop, DbfreadReadsOurTables) {
    ScratchDir dir;
    std::string path = makeOurTable(dir);
    writeFile(dir / "read.py", kDbfread);
    expectRows(runJson(std::string(kPython) + " " + (dir / "read.py") + " " + path), "dbfread");
}

TEST(Interop, PythonDbfReadsOurTables) {
    ScratchDir dir;
    std::string path = makeOurTable(dir);
    writeFile(dir / "read.py", kPyDbf);
    QJsonArray got = runJson(std::string(kPython) + " " + (dir / "read.py") + " " + path);
    expectRows(got, "python3-dbf");
}

TEST(Interop, PerlXBaseReadsOurTables) {
    ScratchDir dir;
    std::string path = makeOurTable(dir);
    writeFile(dir / "read.pl", kPerl);
    int status = -1;
    std::string out = run("perl " + (dir / "read.pl") + " " + path + " 2>&1", &status);
    ASSERT_EQ(status, 0) << out;
    std::vector<std::vector<std::string>> lines;
    size_t start = 0;
    while (start < out.size()) {
        size_t nl = out.find('\n', start);
        std::string line = out.substr(start, nl - start);
        std::vector<std::string> cols;
        size_t p = 0;
        for (;;) {
            size_t tab = line.find('\t', p);
            cols.push_back(line.substr(p, tab == std::string::npos ? std::string::npos : tab - p));
            if (tab == std::string::npos)
                break;
            p = tab + 1;
        }
        lines.push_back(cols);
        start = nl == std::string::npos ? out.size() : nl + 1;
    }
    auto expected = rows();
    ASSERT_EQ(lines.size(), 3u) << out;
    auto unhex = [](const std::string& h) {
        std::string s;
        for (size_t i = 0; i + 1 < h.size(); i += 2)
            s.push_back(static_cast<char>(std::stoi(h.substr(i, 2), nullptr, 16)));
        return s;
    };
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE("perl row " + std::to_string(i));
        const Row& r = expected[i];
        ASSERT_EQ(lines[i].size(), 9u);
        EXPECT_EQ(lines[i][0], r.deleted ? "1" : "0");
        EXPECT_EQ(rtrim(unhex(lines[i][1])), r.name);
        if (*r.qty)
            EXPECT_EQ(std::atof(unhex(lines[i][2]).c_str()), std::atof(r.qty));
        EXPECT_DOUBLE_EQ(std::atof(unhex(lines[i][3]).c_str()), r.price);
        EXPECT_DOUBLE_EQ(std::atof(unhex(lines[i][4]).c_str()), r.rate);
        if (*r.when)
            EXPECT_EQ(unhex(lines[i][5]), r.when);
        EXPECT_EQ(unhex(lines[i][7]), r.note);
        EXPECT_EQ(unhex(lines[i][8]), r.blob);
    }
}

namespace {

struct Foreign {
    const char* kind; // python3-dbf table type
    const char* memoExt;
};

// Builds a table with python3-dbf: two live rows and a deleted one.
std::string makeWithPythonDbf(const ScratchDir& dir, const char* type) {
    std::string script = R"(
import sys, dbf, datetime
t = dbf.Table(sys.argv[1], 'NAME C(10); QTY N(5,0); WHEN D; OK L; NOTE M', dbf_type=sys.argv[2], codepage='cp1252')
t.open(dbf.READ_WRITE)
t.append(('Anna', 7, datetime.date(2024, 2, 29), True, 'memo of Anna\r\nline two'))
t.append(('Bob', 8, None, False, 'gone'))
t.append(('Cy', -2, datetime.date(1999, 12, 31), None, 'x' * 3000))
with t[1] as r:
    dbf.delete(r)
t.close()
)";
    writeFile(dir / "make.py", script);
    int status = -1;
    std::string out =
        run(std::string(kPython) + " " + (dir / "make.py") + " " + (dir / "foreign") + " " + type + " 2>&1",
            &status);
    EXPECT_EQ(status, 0) << out;
    return dir / "foreign";
}

void expectForeignRows(DATA4* d) {
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d4recCountDo(d), 3);
    d4tagSelect(d, nullptr);
    ASSERT_EQ(d4top(d), 0);
    EXPECT_EQ(rtrim(f4str(d4field(d, "NAME"))), "Anna");
    EXPECT_EQ(f4long(d4field(d, "QTY")), 7);
    EXPECT_STREQ(f4str(d4field(d, "WHEN")), "20240229");
    EXPECT_STREQ(f4str(d4field(d, "OK")), "T");
    EXPECT_EQ(std::string(f4memoStr(d4field(d, "NOTE"))), "memo of Anna\r\nline two");
    EXPECT_EQ(d4deleted(d), 0);
    ASSERT_EQ(d4skip(d, 1), 0);
    EXPECT_EQ(d4deleted(d), 1);
    EXPECT_EQ(std::string(f4memoStr(d4field(d, "NOTE"))), "gone");
    ASSERT_EQ(d4skip(d, 1), 0);
    EXPECT_EQ(f4long(d4field(d, "QTY")), -2);
    EXPECT_EQ(f4memoLen(d4field(d, "NOTE")), 3000u);
    EXPECT_EQ(d4skip(d, 1), R4_EOF);
}

} // namespace

TEST(Interop, WeReadTablesMadeByPythonDbf) {
    for (const char* type : {"fp", "vfp", "db3"}) {
        SCOPED_TRACE(type);
        ScratchDir dir;
        std::string name = makeWithPythonDbf(dir, type);
        Session s;
        code4errOff(s.cb, 0);
        DATA4* d = d4open(s.cb, name.c_str());
        EXPECT_EQ(code4errorCode(s.cb, 0), 0) << code4errorText(s.cb);
        expectForeignRows(d);
        // We can add to such a table and the program that made it reads it.
        ASSERT_EQ(d4appendBlank(d), 0);
        f4assign(d4field(d, "NAME"), "Dee");
        f4memoAssign(d4field(d, "NOTE"), "added by us");
        ASSERT_EQ(d4unlock(d), 0);
        // Seen by the other program at once, with our table still open.
        writeFile(dir / "check.py", "import sys, dbf\nt = dbf.Table(sys.argv[1]); t.open(dbf.READ_ONLY)\n"
                                    "r = t[3]\nprint(r.name.strip() + '|' + r.note)\n");
        EXPECT_EQ(run(std::string(kPython) + " " + (dir / "check.py") + " " + name + " 2>&1"),
                  "Dee|added by us\n");
        d4close(d);
    }
}

TEST(Interop, WeReadDbaseIIITablesMadeByPerlAndUpperCaseNames) {
    ScratchDir dir;
    writeFile(dir / "make.pl", R"(
use strict; use XBase;
my $t = XBase->create(name => $ARGV[0], field_names => ['NAME', 'QTY', 'NOTE'],
    field_types => ['C', 'N', 'M'], field_lengths => [10, 5, 10], field_decimals => [0, 0, 0],
    version => 3) or die XBase->errstr;
$t->set_record(0, 'Anna', 7, "a dBASE III memo") or die $t->errstr;
$t->set_record(1, 'Bob', 8, "x" x 1500) or die $t->errstr;
$t->close;
)");
    int status = -1;
    std::string out = run("perl " + (dir / "make.pl") + " " + (dir / "PERLTAB") + " 2>&1", &status);
    ASSERT_EQ(status, 0) << out;
    Session s;
    code4errOff(s.cb, 0);
    DATA4* d = d4open(s.cb, (dir / "perltab").c_str());
    ASSERT_NE(d, nullptr) << "upper-case file names are found from a lower-case name";
    EXPECT_EQ(d4version(d), 0x83);
    ASSERT_EQ(d4top(d), 0);
    EXPECT_EQ(std::string(f4memoStr(d4field(d, "NOTE"))), "a dBASE III memo");
    ASSERT_EQ(d4skip(d, 1), 0);
    EXPECT_EQ(std::string(f4memoStr(d4field(d, "NOTE"))), std::string(1500, 'x'));
}
