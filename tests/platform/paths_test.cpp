#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/TPaths.h"

TEST(Paths, StoredWindowsPathsAndSeparators) {
    EXPECT_EQ(FromStoredPath("SS101\\media\\"), "SS101/media/");
    EXPECT_EQ(WithSeparator("/srv/db"), "/srv/db/");
}

TEST(Paths, ResolvesEachComponentWithoutRegardToCase) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("Skins/Default");
    QFile f(dir.filePath("Skins/Default/PageBk.GIF"));
    f.open(QIODevice::WriteOnly);
    f.close();
    const QString root = dir.path() + "/";
    EXPECT_EQ(ResolvePath(root + "skins\\DEFAULT\\pagebk.gif"), root + "Skins/Default/PageBk.GIF");
    EXPECT_EQ(ResolvePath(root + "Skins/Default/PageBk.GIF"), root + "Skins/Default/PageBk.GIF");
    EXPECT_EQ(ResolvePath(root + "skins/default/"), root + "Skins/Default/");
    EXPECT_EQ(ResolvePath(root + "skins/missing.gif"), root + "skins/missing.gif")
        << "no match: path unchanged";
}
