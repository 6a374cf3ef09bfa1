// Skin selection, the start-up dialog and the small windows' own behaviour.
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "SkinFixture.h"
#include "platform/TConfiguration.h"
#include "platform/TRegistry.h"
#include "program/TProgram.h"
#include "shell/TExitForm.h"
#include "skin/TAboutSkin.h"
#include "skin/TDebugWindow.h"
#include "skin/TInitDialog.h"
#include "skin/TSelectSkin.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"

namespace {

class SelectSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        TRegistry registry(skin.RegistryFile());
        registry.OpenKey(ConfigurationKey, true);
        registry.WriteString("GraphicDir", skin.Root());
        registry.WriteString("SkinDir", "Test/");
        // A second skin, a hidden folder and a plain file beside the test skin.
        QDir(skin.Root()).mkpath("Blue");
        QDir(skin.Root()).mkpath(".hidden");
        QFile readme(skin.Root() + "readme.txt");
        readme.open(QIODevice::WriteOnly);
        form.SkinDir = "test/"; // other letter case than the folder
    }
    QString StoredSkinDir() const {
        TRegistry registry(skin.RegistryFile());
        registry.OpenKeyReadOnly(ConfigurationKey);
        return registry.ReadString("SkinDir");
    }
    QStringList Listed(const TSelectSkin& window) const {
        QStringList names;
        for (int i = 0; i < window.ListBox1->count(); ++i)
            names << window.ListBox1->item(i)->text();
        return names;
    }

    TSkinFixture skin;
    TForm1& form = *skin.Form;
};

} // namespace

TEST_F(SelectSkinTest, ListsSkinFoldersUnsortedAndSelectsTheCurrentOne) {
    TSelectSkin window(form.GraphicDir, form.SkinDir, [this] { LoadSkin(form); });
    window.FormShow();
    EXPECT_EQ(Listed(window), QDir(skin.Root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted));
    QStringList sorted = Listed(window);
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList{"Blue", "Test"}));
    ASSERT_EQ(window.ListBox1->selectedItems().size(), 1);
    EXPECT_EQ(window.ListBox1->selectedItems().front()->text(), "Test");

    form.SkinDir = "Gone/";
    window.FormShow();
    EXPECT_TRUE(window.ListBox1->selectedItems().isEmpty());
}

TEST_F(SelectSkinTest, ClickWithNothingSelectedWritesNothing) {
    TSelectSkin window(form.GraphicDir, form.SkinDir, [this] { LoadSkin(form); });
    form.SkinDir = "Gone/";
    window.FormShow();
    window.ListBox1Click();
    EXPECT_EQ(StoredSkinDir(), "Test/");
    EXPECT_EQ(form.SkinDir, "Gone/");
    EXPECT_FALSE(form.CorrectImage) << "no load ran";
}

TEST_F(SelectSkinTest, ChoosingASkinStoresItAndLoadsIt) {
    TSelectSkin window(form.GraphicDir, form.SkinDir, [this] { LoadSkin(form); });
    window.FormShow();
    window.ListBox1Click();
    EXPECT_EQ(StoredSkinDir(), "Test/");
    EXPECT_EQ(form.SkinDir, "Test/");
    ASSERT_TRUE(form.CorrectImage);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(skin.Messages.Shown.filter("Cannot open").isEmpty());
}

TEST_F(SelectSkinTest, FailedLoadKeepsTheChoiceReportsAndStaysOpen) {
    TSelectSkin window(form.GraphicDir, form.SkinDir, [this] { LoadSkin(form); });
    window.FormShow();
    const QList<QListWidgetItem*> blue = window.ListBox1->findItems("Blue", Qt::MatchExactly);
    ASSERT_EQ(blue.size(), 1);
    window.ListBox1->setCurrentItem(blue.front());
    skin.Messages.Shown.clear();
    window.ListBox1Click(); // Blue has no scheme.ini
    EXPECT_EQ(StoredSkinDir(), "Blue/");
    EXPECT_EQ(form.SkinDir, "Blue/");
    EXPECT_EQ(skin.Messages.Shown, QStringList{"Cannot open file " + skin.Root() + "Blue/scheme.ini"});
    EXPECT_NE(window.result(), QDialog::Accepted);
}

TEST_F(SelectSkinTest, StartUpDialogTakesThePictureSize) {
    WriteSolidGif(skin.SkinPath() + "opening.gif", 400, 100);
    skin.Scheme["init screen"]["BACKGROUND"] = "Opening.gif";
    skin.Write();
    TInitDialog dialog;
    EXPECT_EQ(dialog.size(), QSize(400, 100));

    TRegistry(skin.RegistryFile()).DeleteKey(ConfigurationKey);
    skin.Messages.Shown.clear();
    TInitDialog empty;
    EXPECT_EQ(empty.size(), QSize(306, 209));
    EXPECT_EQ(skin.Messages.Shown, QStringList{"Registry entry not found for the home directory"});
}

TEST(SkinWindows, ExitFormAnswersAndAboutSkinClosesOnAnyClick) {
    TExitForm exit;
    exit.show();
    QTest::mouseClick(exit.btnYes, Qt::LeftButton);
    EXPECT_TRUE(exit.ExitRequested);
    exit.show();
    QTest::keyClick(&exit, Qt::Key_Escape); // no answer, so the window stays
    EXPECT_TRUE(exit.isVisible());
    QTest::mouseClick(exit.btnNo, Qt::LeftButton);
    EXPECT_FALSE(exit.ExitRequested);
    EXPECT_FALSE(exit.isVisible());

    TAboutSkin about;
    about.show();
    EXPECT_TRUE(about.Link->isHidden());
    // Neither the right button nor a press taken off the window is a click.
    QTest::mouseClick(about.Background, Qt::RightButton, {}, QPoint(150, 100));
    QTest::mousePress(about.Background, Qt::LeftButton, {}, QPoint(150, 100));
    QTest::mouseRelease(about.Background, Qt::LeftButton, {}, QPoint(500, 100));
    EXPECT_TRUE(about.isVisible());
    QTest::mouseClick(about.Background, Qt::LeftButton, {}, QPoint(150, 100));
    EXPECT_FALSE(about.isVisible());
}

TEST(SkinWindows, DebugWindowNamesPlayerModes) {
    TDebugWindow window;
    bool notify = true;
    int mode = 2;
    window.NotifyFlag = [&] { return notify; };
    window.PlayerMode = [&] { return mode; };
    window.Timer1Timer();
    EXPECT_EQ(window.lblNotify->text(), "true");
    EXPECT_EQ(window.lblMode->text(), "Playing");
    notify = false;
    mode = 9; // unknown modes leave the label
    window.Timer1Timer();
    EXPECT_EQ(window.lblNotify->text(), "false");
    EXPECT_EQ(window.lblMode->text(), "Playing");
    EXPECT_FALSE(window.Timer1.isActive());
    EXPECT_EQ(window.Timer1.interval(), 5);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window.windowFlags() & Qt::FramelessWindowHint);
}
