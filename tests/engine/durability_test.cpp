// Several processes on one table, processes killed in the middle of
// writes, and file operations that fail: nothing unlocked is lost, nothing
// is corrupted, and the table always opens.
#include "engine_test_util.h"

#include "c4fault.h"

#include <csignal>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace enginetest;

namespace {

std::string memoFor(long id, long version) {
    // Lengths vary so that memos of different sizes interleave in the file.
    std::string s = "row " + std::to_string(id) + " v" + std::to_string(version) + ":";
    s.append(static_cast<size_t>((id * 37 + version * 11) % 300), static_cast<char>('a' + id % 26));
    s.push_back('\0');
    s.push_back('\x1a');
    return s;
}

struct Row {
    long qright = 0, typeflag = 0, timeend = 0;
    std::string memo;
};

// Reads every live row by ID through the ID tag.
std::map<long, Row> readRows(DATA4* d) {
    std::map<long, Row> rows;
    d4tagSelect(d, d4tag(d, "ID"));
    for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1)) {
        long id = f4long(d4field(d, "ID"));
        EXPECT_EQ(rows.count(id), 0u) << "ID " << id << " appears twice";
        Row& r = rows[id];
        r.qright = f4long(d4field(d, "QRIGHT"));
        r.typeflag = f4long(d4field(d, "TYPEFLAG"));
        r.timeend = f4long(d4field(d, "TIMEEND"));
        FIELD4* m = d4field(d, "ANSWERS");
        r.memo.assign(f4memoStr(m), f4memoLen(m));
    }
    return rows;
}

void appendRow(DATA4* d, long id, long assign) {
    ASSERT_EQ(d4appendBlank(d), 0);
    f4assignLong(d4field(d, "ID"), id);
    f4assignLong(d4field(d, "ASSIGNID"), assign);
    std::string m = memoFor(id, 0);
    f4memoAssignN(d4field(d, "ANSWERS"), m.data(), static_cast<unsigned>(m.size()));
}

// One writer of the shared-table test: appends its own rows, updates its
// own rows (QRIGHT and the memo) and the other writer's rows (TYPEFLAG),
// and reports each unlocked change on fd as "id field value".
void writer(const std::string& name, int who, int ops, int fd) {
    Session s;
    DATA4* d = d4open(s.cb, name.c_str());
    if (!d)
        _exit(2);
    std::mt19937 rng(static_cast<unsigned>(who * 7919));
    long nextOwn = 0;
    for (int i = 0; i < ops; ++i) {
        std::string line;
        int kind = i < 10 ? 0 : static_cast<int>(rng() % 3);
        if (kind == 0) {
            long id = who * 100000 + ++nextOwn;
            if (d4appendBlank(d) != 0)
                _exit(3);
            f4assignLong(d4field(d, "ID"), id);
            f4assignLong(d4field(d, "ASSIGNID"), who);
            std::string m = memoFor(id, 0);
            f4memoAssignN(d4field(d, "ANSWERS"), m.data(), static_cast<unsigned>(m.size()));
            line = std::to_string(id) + " new 0\n";
        } else if (kind == 1) {
            long id = who * 100000 + 1 + static_cast<long>(rng() % static_cast<unsigned>(nextOwn));
            d4tagSelect(d, d4tag(d, "ID"));
            if (d4seekDouble(d, id) != 0)
                _exit(4);
            f4assignLong(d4field(d, "QRIGHT"), i);
            std::string m = memoFor(id, i);
            f4memoAssignN(d4field(d, "ANSWERS"), m.data(), static_cast<unsigned>(m.size()));
            line = std::to_string(id) + " own " + std::to_string(i) + "\n";
        } else {
            // A row of the other writer, found through the ASSIGNID tag.
            d4tagSelect(d, d4tag(d, "ASSIGNID"));
            if (d4seekDouble(d, 3 - who) != 0)
                continue;
            long skip = static_cast<long>(rng() % 50);
            if (d4skip(d, skip) != 0 || f4long(d4field(d, "ASSIGNID")) != 3 - who)
                continue;
            f4assignLong(d4field(d, "TYPEFLAG"), i % 10000);
            line = std::to_string(f4long(d4field(d, "ID"))) + " other " + std::to_string(i % 10000) + "\n";
        }
        if (d4unlock(d) != 0)
            _exit(5);
        if (write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            _exit(6);
    }
    d4close(d);
    _exit(0);
}

std::vector<std::string> readLines(int fd) {
    std::string all;
    char buf[4096];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) > 0)
        all.append(buf, static_cast<size_t>(n));
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t nl; (nl = all.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(all.substr(start, nl - start));
    return lines;
}

std::string toolCheck(const std::string& name) {
    const char* bin = std::getenv("ALTAVO_BIN");
    int status = -1;
    std::string out = run("ASAN_OPTIONS=detect_leaks=0 " + std::string(bin ? bin : ".") +
                              "/altavo-db check " + name + " 2>&1",
                          &status);
    return status == 0 ? "" : out;
}

} // namespace

TEST(Durability, TwoProcessesAppendAndUpdateWithoutLosingAnything) {
    ScratchDir dir;
    std::string name = dir / "TestSess";
    {
        Session s;
        ASSERT_NE(s.openOrCreate(name, sessionFields(), sessionTags()), nullptr);
    }
    const int ops = 1500;
    int pipes[2][2];
    pid_t pids[2];
    for (int w = 0; w < 2; ++w) {
        ASSERT_EQ(pipe(pipes[w]), 0);
        pids[w] = fork();
        ASSERT_GE(pids[w], 0);
        if (pids[w] == 0) {
            close(pipes[w][0]);
            writer(name, w + 1, ops, pipes[w][1]);
        }
        close(pipes[w][1]);
    }
    // Expected state: the last value each writer unlocked for each field.
    std::map<long, long> qright, typeflag, version;
    std::set<long> created;
    for (int w = 0; w < 2; ++w) {
        for (const auto& line : readLines(pipes[w][0])) {
            long id = 0, v = 0;
            char what[16] = {0};
            ASSERT_EQ(std::sscanf(line.c_str(), "%ld %15s %ld", &id, what, &v), 3);
            if (!std::strcmp(what, "new"))
                created.insert(id);
            else if (!std::strcmp(what, "own"))
                qright[id] = v, version[id] = v;
            else
                typeflag[id] = v;
        }
        close(pipes[w][0]);
        int status = 0;
        waitpid(pids[w], &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer " << w << " status " << status;
    }
    Session s;
    DATA4* d = d4open(s.cb, name.c_str());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d4recCountDo(d), static_cast<long>(created.size()));
    auto rows = readRows(d);
    ASSERT_EQ(rows.size(), created.size());
    for (long id : created) {
        SCOPED_TRACE("ID " + std::to_string(id));
        ASSERT_EQ(rows.count(id), 1u);
        const Row& r = rows[id];
        EXPECT_EQ(r.qright, qright.count(id) ? qright[id] : 0);
        EXPECT_EQ(r.typeflag, typeflag.count(id) ? typeflag[id] : 0);
        EXPECT_EQ(r.memo, memoFor(id, version.count(id) ? version[id] : 0));
    }
    EXPECT_EQ(toolCheck(name), "") << "no two records share a memo block, the tags hold every row";
}

namespace {

// The scripted work of the crash test; reports each unlocked step on fd.
void crashScript(const std::string& name, int fd) {
    Session s;
    DATA4* d = d4open(s.cb, name.c_str());
    if (!d)
        _exit(2);
    auto done = [&](const std::string& step) {
        std::string line = step + "\n";
        if (write(fd, line.data(), line.size()) < 0)
            _exit(6);
    };
    for (long id = 11; id <= 14; ++id) {
        appendRow(d, id, 1);
        if (d4unlock(d) != 0)
            _exit(3);
        done("append " + std::to_string(id));
    }
    d4tagSelect(d, d4tag(d, "ID"));
    for (long id : {1L, 12L}) {
        if (d4seekDouble(d, id) != 0)
            _exit(4);
        f4assignLong(d4field(d, "QRIGHT"), 77);
        std::string m = memoFor(id, 77);
        f4memoAssignN(d4field(d, "ANSWERS"), m.data(), static_cast<unsigned>(m.size()));
        if (d4unlock(d) != 0)
            _exit(3);
        done("update " + std::to_string(id));
    }
    if (d4seekDouble(d, 2) != 0)
        _exit(4);
    d4delete(d);
    if (d4unlock(d) != 0)
        _exit(3);
    done("delete 2");
    if (d4pack(d) != 0)
        _exit(3);
    done("pack");
    if (d4memoCompress(d) != 0)
        _exit(3);
    done("compress");
    appendRow(d, 15, 1);
    if (d4unlock(d) != 0)
        _exit(3);
    done("append 15");
    d4close(d);
    _exit(0);
}

void makeStartTable(const std::string& name) {
    Session s;
    DATA4* d = d4create(s.cb, name.c_str(), sessionFields(), sessionTags());
    ASSERT_NE(d, nullptr);
    for (long id = 1; id <= 3; ++id) {
        appendRow(d, id, 1);
        ASSERT_EQ(d4unlock(d), 0);
    }
    d4close(d);
}

// The order of the script's steps; a crash may leave the step in flight
// done or not done, every reported step done, and nothing else.
const std::vector<std::string> kSteps = {"append 11", "append 12", "append 13", "append 14", "update 1",
                                         "update 12", "delete 2",  "pack",      "compress",  "append 15"};

// The table opens cleanly and holds the start rows plus every reported step.
void verifyAfterCrash(const std::string& name, const std::vector<std::string>& steps) {
    Session s;
    DATA4* d = d4open(s.cb, name.c_str());
    ASSERT_NE(d, nullptr) << "the table opens after the crash";
    EXPECT_EQ(code4errorCode(s.cb, 0), 0) << code4errorText(s.cb);
    auto rows = readRows(d);
    std::set<std::string> done(steps.begin(), steps.end());
    std::string inFlight = steps.size() < kSteps.size() ? kSteps[steps.size()] : "";
    auto check = [&](long id, bool mustExist) {
        SCOPED_TRACE("ID " + std::to_string(id));
        if (!rows.count(id)) {
            EXPECT_FALSE(mustExist);
            return;
        }
        const Row& r = rows[id];
        std::string upd = "update " + std::to_string(id);
        if (done.count(upd)) {
            EXPECT_EQ(r.qright, 77);
            EXPECT_EQ(r.memo, memoFor(id, 77));
        } else if (r.qright == 77 && inFlight == upd) {
            EXPECT_EQ(r.memo, memoFor(id, 77));
        } else {
            EXPECT_EQ(r.qright, 0);
            EXPECT_EQ(r.memo, memoFor(id, 0));
        }
    };
    check(1, true);
    check(3, true);
    check(2, !done.count("delete 2") && inFlight != "delete 2");
    if (done.count("delete 2"))
        EXPECT_FALSE(rows.count(2));
    for (long id = 11; id <= 15; ++id) {
        std::string app = "append " + std::to_string(id);
        check(id, done.count(app) > 0);
        if (!done.count(app) && inFlight != app)
            EXPECT_FALSE(rows.count(id)) << "only appended rows, never garbage";
    }
    for (const auto& [id, row] : rows)
        EXPECT_TRUE((id >= 1 && id <= 3) || (id >= 11 && id <= 15)) << "garbage row with ID " << id;
    if (done.count("pack"))
        EXPECT_EQ(d4recCountDo(d), static_cast<long>(rows.size()));
}

} // namespace

// A process is ended in the middle of its Nth write (half the bytes down),
// for every N the script reaches.
TEST(Durability, KilledInTheMiddleOfAnyWriteLosesNothingUnlocked) {
    ScratchDir dir;
    std::string name = dir / "TestSess";
    for (long n = 1;; ++n) {
        SCOPED_TRACE("crash at write " + std::to_string(n));
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directories(dir.path());
        makeStartTable(name);
        int p[2];
        ASSERT_EQ(pipe(p), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(p[0]);
            c4faultSet(2, n, 2);
            crashScript(name, p[1]);
        }
        close(p[1]);
        auto steps = readLines(p[0]);
        close(p[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << status;
        verifyAfterCrash(name, steps);
        if (WEXITSTATUS(status) == 0)
            break; // the script finished before the Nth write
        ASSERT_EQ(WEXITSTATUS(status), 137);
        ASSERT_LT(n, 500);
    }
}

// A process killed with SIGKILL at random moments while it writes.
TEST(Durability, KilledAtRandomMomentsLosesNothingUnlocked) {
    ScratchDir dir;
    std::string name = dir / "TestSess";
    {
        Session s;
        ASSERT_NE(s.openOrCreate(name, sessionFields(), sessionTags()), nullptr);
    }
    std::mt19937 rng(12345);
    std::map<long, long> qright;
    std::set<long> created;
    long nextId = 1;
    for (int round = 0; round < 12; ++round) {
        int p[2];
        ASSERT_EQ(pipe(p), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(p[0]);
            Session s;
            DATA4* d = d4open(s.cb, name.c_str());
            if (!d)
                _exit(2);
            d4tagSelect(d, d4tag(d, "ID"));
            for (long i = 0;; ++i) {
                std::string line;
                if (i % 2 == 0 || nextId == 1) {
                    long id = nextId++;
                    appendRow(d, id, round);
                    line = "new " + std::to_string(id) + " 0\n";
                } else {
                    long id = 1 + static_cast<long>(i * 7919 % (nextId - 1));
                    if (d4seekDouble(d, id) != 0)
                        _exit(4);
                    f4assignLong(d4field(d, "TIMEEND"), round * 100000 + i);
                    std::string m = memoFor(id, round * 100000 + i);
                    f4memoAssignN(d4field(d, "ANSWERS"), m.data(), static_cast<unsigned>(m.size()));
                    line = "upd " + std::to_string(id) + " " + std::to_string(round * 100000 + i) + "\n";
                }
                if (d4unlock(d) != 0)
                    _exit(3);
                if (write(p[1], line.data(), line.size()) < 0)
                    _exit(6);
            }
        }
        close(p[1]);
        // Let the writer report a random number of changes (so the test
        // does not depend on the machine's speed), then kill it a moment
        // later, in the middle of whatever it is doing.
        std::string seen;
        size_t wanted = 1 + rng() % 40, lines = 0;
        char ch;
        while (lines < wanted && read(p[0], &ch, 1) == 1) {
            seen.push_back(ch);
            lines += ch == '\n';
        }
        usleep(rng() % 3000);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        std::vector<std::string> reported;
        for (size_t start = 0, nl; (nl = seen.find('\n', start)) != std::string::npos; start = nl + 1)
            reported.push_back(seen.substr(start, nl - start));
        for (const auto& line : readLines(p[0]))
            reported.push_back(line);
        for (const auto& line : reported) {
            char what[8] = {0};
            long id = 0, v = 0;
            ASSERT_EQ(std::sscanf(line.c_str(), "%7s %ld %ld", what, &id, &v), 3);
            if (!std::strcmp(what, "new"))
                created.insert(id);
            else
                qright[id] = v;
        }
        close(p[0]);
        Session s;
        DATA4* d = d4open(s.cb, name.c_str());
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(code4errorCode(s.cb, 0), 0);
        auto rows = readRows(d);
        for (long id : created) {
            ASSERT_EQ(rows.count(id), 1u) << "round " << round << " lost row " << id;
            long want = qright.count(id) ? qright[id] : 0;
            // A change unlocked just before the kill may not have been reported.
            EXPECT_GE(rows[id].timeend, want);
            EXPECT_EQ(rows[id].memo, memoFor(id, rows[id].timeend));
        }
        for (const auto& [id, row] : rows)
            created.insert(id); // appended but killed before it was reported
        nextId = rows.empty() ? 1 : rows.rbegin()->first + 1;
        d4close(d);
    }
    EXPECT_GT(created.size(), 12u);
    EXPECT_EQ(toolCheck(name), "");
}

// Each write, then each read, fails once in turn: the operation reports an
// error or succeeds, and the table afterwards opens with either the old or
// the new content, never a mixture.
TEST(Durability, FailedReadsAndWritesLeaveConsistentTables) {
    ScratchDir dir;
    std::string name = dir / "TestSess";
    for (int op : {2, 1}) {
        for (long n = 1; n < 200; ++n) {
            SCOPED_TRACE(std::string(op == 2 ? "write " : "read ") + std::to_string(n));
            std::filesystem::remove_all(dir.path());
            std::filesystem::create_directories(dir.path());
            makeStartTable(name);
            bool fired;
            int rcAppend, rcUpdate, rcPack;
            {
                Session s;
                DATA4* d = d4open(s.cb, name.c_str());
                ASSERT_NE(d, nullptr);
                long before = c4faultCount(op);
                c4faultSet(op, n, 1);
                rcAppend = d4appendBlank(d);
                if (rcAppend == 0) {
                    f4assignLong(d4field(d, "ID"), 20);
                    std::string m = memoFor(20, 0);
                    f4memoAssignN(d4field(d, "ANSWERS"), m.data(), static_cast<unsigned>(m.size()));
                    rcAppend = d4unlock(d);
                }
                d4tagSelect(d, d4tag(d, "ID"));
                rcUpdate = -1;
                if (d4seekDouble(d, 1) == 0) {
                    f4assignLong(d4field(d, "QRIGHT"), 5);
                    std::string m = memoFor(1, 5);
                    f4memoAssignN(d4field(d, "ANSWERS"), m.data(), static_cast<unsigned>(m.size()));
                    rcUpdate = d4unlock(d);
                }
                if (d4seekDouble(d, 3) == 0) {
                    d4delete(d);
                    d4unlock(d);
                }
                rcPack = d4pack(d);
                fired = c4faultCount(op) - before >= n;
                c4faultSet(op, 0, 0);
                d4close(d);
            }
            Session s;
            DATA4* d = d4open(s.cb, name.c_str());
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(code4errorCode(s.cb, 0), 0) << code4errorText(s.cb);
            auto rows = readRows(d);
            ASSERT_TRUE(rows.count(2));
            EXPECT_EQ(rows[2].memo, memoFor(2, 0));
            if (rcAppend == 0) {
                ASSERT_TRUE(rows.count(20));
                EXPECT_EQ(rows[20].memo, memoFor(20, 0));
            } else {
                EXPECT_FALSE(rows.count(20));
            }
            ASSERT_TRUE(rows.count(1));
            if (rcUpdate == 0)
                EXPECT_EQ(rows[1].memo, memoFor(1, 5));
            else
                EXPECT_TRUE(rows[1].memo == memoFor(1, 0) || rows[1].memo == memoFor(1, 5));
            if (rcPack == 0)
                EXPECT_EQ(d4recCountDo(d), static_cast<long>(rows.size()));
            if (!fired)
                break;
        }
    }
}

// Another handle packs and compresses the table (new files renamed into
// place); a handle still holding the old files sees the new ones and its
// next append lands in them.
TEST(Durability, AHandleFollowsATableRebuiltUnderIt) {
    ScratchDir dir;
    std::string name = dir / "TestSess";
    makeStartTable(name);
    Session s;
    DATA4* a = d4open(s.cb, name.c_str());
    DATA4* b = d4open(s.cb, name.c_str());
    ASSERT_TRUE(a && b);
    d4tagSelect(a, d4tag(a, "ID"));
    ASSERT_EQ(d4seekDouble(a, 2), 0);
    d4delete(a);
    ASSERT_EQ(d4unlock(a), 0);
    ASSERT_EQ(d4pack(a), 0);
    ASSERT_EQ(d4memoCompress(a), 0);
    EXPECT_EQ(d4recCountDo(b), 2) << "the other handle sees the packed table";
    appendRow(b, 30, 1);
    ASSERT_EQ(d4unlock(b), 0);
    d4tagSelect(b, d4tag(b, "ID"));
    ASSERT_EQ(d4seekDouble(b, 3), 0);
    EXPECT_EQ(std::string(f4memoStr(d4field(b, "ANSWERS"))),
              memoFor(3, 0).substr(0, memoFor(3, 0).find('\0')));
    d4close(a);
    d4close(b);
    DATA4* c = d4open(s.cb, name.c_str());
    auto rows = readRows(c);
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[30].memo, memoFor(30, 0));
    EXPECT_EQ(rows[3].memo, memoFor(3, 0));
    EXPECT_FALSE(rows.count(2));
    EXPECT_EQ(toolCheck(name), "");
}
