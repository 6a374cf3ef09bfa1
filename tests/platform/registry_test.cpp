#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/TRegistry.h"

class RegistryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file() const { return dir.filePath("sub/registry.ini"); }
};

TEST_F(RegistryTest, ReadOnlyOpenOfAbsentKeyFailsAndCreatesNothing) {
    TRegistry reg(file());
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\Quenvik\\Altavo\\Brisel"));
    EXPECT_FALSE(reg.OpenKey("Software\\Quenvik\\Altavo\\Brisel", false));
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(RegistryTest, KeysAndValueNamesIgnoreCaseAndValuesSurviveRoundTrip) {
    {
        TRegistry reg(file());
        ASSERT_TRUE(reg.OpenKey("\\Software\\Quenvik\\Altavo\\Brisel", true));
        EXPECT_TRUE(reg.WriteString("DatabaseDir", "/srv/altavo/db"));
        EXPECT_TRUE(reg.WriteString("Odd", "a=b\\c\nline two\r[x]"));
    }
    TRegistry reg(file());
    ASSERT_TRUE(reg.OpenKeyReadOnly("SOFTWARE\\quenvik\\ALTAVO\\brisel\\"));
    EXPECT_EQ(reg.ReadString("databasedir"), "/srv/altavo/db");
    EXPECT_EQ(reg.ReadString("ODD"), "a=b\\c\nline two\r[x]");
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_FALSE(reg.ValueExists("Missing"));
    EXPECT_FALSE(reg.WriteString("DatabaseDir", "x")) << "a read-only key takes no writes";
    EXPECT_EQ(reg.ReadString("DatabaseDir"), "/srv/altavo/db");
}

TEST_F(RegistryTest, SubkeysAreSeparateKeys) {
    TRegistry reg(file());
    ASSERT_TRUE(reg.OpenKey("Software\\Quenvik\\Altavo\\Brisel\\SS101", true));
    ASSERT_TRUE(reg.WriteString("StreamDir", "/media/ss101/"));
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\Quenvik\\Altavo\\Brisel"))
        << "a subkey does not make its parent";
    ASSERT_TRUE(reg.OpenKeyReadOnly("software\\quenvik\\altavo\\brisel\\ss101"));
    EXPECT_EQ(reg.ReadString("streamdir"), "/media/ss101/");
}

TEST_F(RegistryTest, WriteToUnwritableLocationFailsAndKeepsOldFile) {
    TRegistry reg(file());
    ASSERT_TRUE(reg.OpenKey("K", true));
    ASSERT_TRUE(reg.WriteString("A", "1"));
    // A directory standing where the temporary file would go makes the save fail.
    TRegistry blocked(dir.path());
    ASSERT_FALSE(blocked.OpenKey("K", true));
    TRegistry again(file());
    ASSERT_TRUE(again.OpenKeyReadOnly("K"));
    EXPECT_EQ(again.ReadString("A"), "1");
}
