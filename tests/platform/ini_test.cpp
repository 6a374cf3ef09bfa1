#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/TIniFile.h"

namespace {
QString WriteIni(const QTemporaryDir& dir, const QByteArray& text) {
    QString path = dir.filePath("scheme.ini");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}
} // namespace

TEST(IniFile, SectionsAndKeysIgnoreCaseValuesAreTrimmedAndCut) {
    QTemporaryDir dir;
    QByteArray longValue(1500, 'x');
    TIniFile ini(WriteIni(dir, "[misc]\r\n  Main Form Color =  0xFF  \r\nLong=" + longValue +
                                   "\n[Movie Page Screen]\npgButton= btn.bmp\n"));
    EXPECT_TRUE(ini.FileExists());
    EXPECT_EQ(ini.ReadString("Misc", "main form color", ""), "0xFF");
    EXPECT_EQ(ini.ReadString("MOVIE PAGE SCREEN", "PGBUTTON", ""), "btn.bmp");
    EXPECT_EQ(ini.ReadString("Misc", "Long", "").size(), TIniFile::MaxValueLength);
    EXPECT_EQ(ini.ReadString("Misc", "absent", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("Absent Section", "x", "d2"), "d2");
}

TEST(IniFile, AbsentFileGivesDefaults) {
    TIniFile ini("/nonexistent/scheme.ini");
    EXPECT_FALSE(ini.FileExists());
    EXPECT_EQ(ini.ReadString("Misc", "About", "about.gif"), "about.gif");
    EXPECT_EQ(ini.ReadInteger("Misc", "Main Form Color", 40063587), 40063587);
}

TEST(IniFile, IntegerForms) {
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"12", 12},          {"-8", -8},   {"0xFF", 255}, {"0XfF", 255}, {"$10", 16}, {"40063587", 40063587},
        {"0xFFFFFFFF", -1},  {"word", 77}, {"", 77},      {"12abc", 77}, {"0x", 77},  {"$", 77},
        {"99999999999", 77},
    };
    QTemporaryDir dir;
    QByteArray text = "[s]\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        text += "k" + QByteArray::number(qulonglong(i)) + "=" + cases[i].text + "\n";
    TIniFile ini(WriteIni(dir, text));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ini.ReadInteger("s", "k" + QString::number(i), 77), cases[i].expected) << cases[i].text;
}
