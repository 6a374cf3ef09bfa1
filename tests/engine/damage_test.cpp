// A table file that exists but cannot be read is reported, never replaced:
// open fails with a message naming the file, create refuses to make a table
// in the place of a directory or FIFO, and whatever create sets aside keeps
// every earlier copy.
#include "engine_test_util.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace enginetest;

namespace {

// A users table with one learner and a memo, closed.
void makeUsers(const std::string& name) {
    Session s;
    DATA4* d = s.openOrCreate(name, userFields(), userTags());
    ASSERT_NE(d, nullptr);
    d4appendBlank(d);
    f4assignLong(d4field(d, "ID"), 1);
    f4memoAssign(d4field(d, "FIRSTNAME"), "Ann");
    ASSERT_EQ(d4unlock(d), 0);
    d4close(d);
}

struct Damage {
    const char* what;
    void (*apply)(const std::string& dbf);
    bool createRefused; // d4create leaves the thing alone (it is not a file)
};

void truncateTo(const std::string& dbf, size_t size) {
    writeFile(dbf, readFile(dbf).substr(0, size));
}

const Damage damages[] = {
    {"cut to 40 bytes", [](const std::string& dbf) { truncateTo(dbf, 40); }, false},
    {"cut to half", [](const std::string& dbf) { truncateTo(dbf, readFile(dbf).size() / 2 - 100); }, false},
    {"a directory",
     [](const std::string& dbf) {
         std::remove(dbf.c_str());
         mkdir(dbf.c_str(), 0755);
     },
     true},
    {"a FIFO",
     [](const std::string& dbf) {
         std::remove(dbf.c_str());
         mkfifo(dbf.c_str(), 0644);
     },
     true},
    {"a link to nothing",
     [](const std::string& dbf) {
         std::remove(dbf.c_str());
         symlink("/nonexistent/Users.dbf", dbf.c_str());
     },
     true},
    {"unreadable", [](const std::string& dbf) { chmod(dbf.c_str(), 0); }, false},
};

} // namespace

TEST(Damage, OpenReportsTheFileAndCreateNeverDestroysIt) {
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        if (std::string(damage.what) == "unreadable" && geteuid() == 0)
            continue; // permissions do not stop root
        ScratchDir dir;
        const std::string name = dir / "Users";
        makeUsers(name);
        const std::string fpt = readFile(name + ".fpt");
        damage.apply(name + ".dbf");

        Session s;
        EXPECT_EQ(d4open(s.cb, name.c_str()), nullptr);
        std::string text = code4errorText(s.cb);
        EXPECT_LT(code4errorCode(s.cb, 0), 0) << "even with failed opens quiet, this is an error";
        EXPECT_NE(text.find("Users.dbf"), std::string::npos) << text;

        DATA4* created = d4create(s.cb, name.c_str(), userFields(), userTags());
        text = code4errorText(s.cb);
        if (damage.createRefused) {
            EXPECT_EQ(created, nullptr);
            EXPECT_EQ(code4errorCode(s.cb, 0), E4_CREATE);
            EXPECT_NE(text.find("Users.dbf: is a"), std::string::npos) << text;
            EXPECT_EQ(readFile(name + ".fpt"), fpt) << "the sound memo file is untouched";
            struct stat st;
            EXPECT_NE(stat((name + ".fpt.damaged").c_str(), &st), 0) << "nothing was set aside";
        } else {
            ASSERT_NE(created, nullptr) << text;
            d4close(created);
            EXPECT_EQ(readFile(name + ".fpt.damaged"), fpt) << "the memo file is kept beside";
        }
    }
}

TEST(Damage, EverySetAsideCopyIsKept) {
    ScratchDir dir;
    const std::string name = dir / "Users";
    std::vector<std::string> dbfs, fpts;
    for (int round = 0; round < 3; ++round) {
        makeUsers(name);
        dbfs.push_back("damage " + std::to_string(round));
        writeFile(name + ".dbf", dbfs.back());
        fpts.push_back(readFile(name + ".fpt"));
        writeFile(name + ".fpt", fpts.back() + std::to_string(round));
        fpts.back() += std::to_string(round);
        Session s;
        DATA4* d = d4create(s.cb, name.c_str(), userFields(), userTags());
        ASSERT_NE(d, nullptr);
        d4close(d);
    }
    EXPECT_EQ(readFile(name + ".dbf.damaged"), dbfs[0]);
    EXPECT_EQ(readFile(name + ".dbf.damaged.2"), dbfs[1]);
    EXPECT_EQ(readFile(name + ".dbf.damaged.3"), dbfs[2]);
    EXPECT_EQ(readFile(name + ".fpt.damaged"), fpts[0]);
    EXPECT_EQ(readFile(name + ".fpt.damaged.3"), fpts[2]);

    // A memo file left without its table is kept too, not emptied.
    std::remove((name + ".dbf").c_str());
    writeFile(name + ".fpt", "orphan memo");
    Session s;
    DATA4* d = d4create(s.cb, name.c_str(), userFields(), userTags());
    ASSERT_NE(d, nullptr);
    d4close(d);
    EXPECT_EQ(readFile(name + ".fpt.damaged.4"), "orphan memo");
}
