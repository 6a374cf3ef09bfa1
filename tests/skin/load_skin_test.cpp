// The skin loader against small skins made by the tests: defaults, layouts,
// backgrounds of the current screen, coordinates, links, colours, letter case
// of sections, and where a failure ends the load.
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <gtest/gtest.h>

#include "SkinFixture.h"
#include "app/TAdminScreen.h"
#include "app/TCatalogueScreen.h"
#include "app/TRegistrationScreen.h"
#include "lesson/TChallengeScreen.h"
#include "lesson/TMoviePageScreen.h"
#include "lesson/TStreamSelect.h"
#include "program/TProgram.h"
#include "skin/TAboutSkin.h"
#include "skin/TPleaseWait.h"
#include "skin/uLoadSkins.h"
#include "widgets/TGifImage.h"
#include "widgets/TLabelEffect.h"
#include "widgets/TMovieButtonX.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSkinError.h"
#include "widgets/WinColor.h"

namespace {

std::string SkinErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const TSkinError& e) {
        return e.what();
    }
    return "no error";
}

// Loads the skin root + name as start-up and skin selection do.
void LoadSkin(TForm1& form, const QString& root, const QString& name) {
    form.GraphicDir = root;
    form.SkinDir = name;
    LoadSkin(form);
}

QColor WindowColour(const TForm1& form) {
    return form.palette().color(QPalette::Window);
}

} // namespace

TEST(ParseCoordinateList, ReadsFourDecimalParts) {
    EXPECT_EQ(ParseCoordinateList("10,20,30,40"), QRect(10, 20, 30, 40));
    EXPECT_EQ(ParseCoordinateList("-5,0,1,1"), QRect(-5, 0, 1, 1));
}

TEST(ParseCoordinateList, NamesTheBadPart) {
    const std::pair<const char*, const char*> cases[] = {
        {"10,20,30", "'' is not a valid integer value"},       // three parts only
        {"1,2,x,4", "'x' is not a valid integer value"},       // a word
        {"1, 2,3,4", "' 2' is not a valid integer value"},     // no blanks allowed
        {"1,2,3,4,5", "'4,5' is not a valid integer value"},   // all after the third comma
        {"0x10,2,3,4", "'0x10' is not a valid integer value"}, // decimal only
        {"", "'' is not a valid integer value"},
        {"1,2,3,99999999999", "'99999999999' is not a valid integer value"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(SkinErrorOf([&] { ParseCoordinateList(text); }), message) << text;
}

class LoadSkinTest : public ::testing::Test {
protected:
    TSkinFixture skin;
    TForm1& form = *skin.Form;
};

TEST_F(LoadSkinTest, EmptyMiscGivesDefaultColourAndLargeLayout) {
    skin.Form->StreamChoice = 3;
    skin.Load();
    EXPECT_EQ(WindowColour(form), QColor(99, 82, 99));
    const int values[] = {form.GenesisFrameLeft, form.GenesisFrameTop, form.GenesisMovieLeft,
                          form.GenesisMovieTop,  form.MovieFrameLeft,  form.MovieFrameTop,
                          form.MovieLeft,        form.MovieTop};
    EXPECT_EQ(std::vector<int>(std::begin(values), std::end(values)),
              (std::vector<int>{242, 160, 250, 171, 140, 42, 147, 53}));
    EXPECT_EQ(form.MotionMovieLeft, 11);
    EXPECT_EQ(form.MotionMovieTop, 12);
    EXPECT_EQ(form.ExitRect, QRect(570, 450, 45, 25));
    EXPECT_EQ(form.MovieButtonRect, QRect(18, 378, 373, 95));
    EXPECT_EQ(form.MovieFrame->FileName(), skin.SkinPath() + "framelg.gif");
    EXPECT_EQ(form.Module<TChallengeScreen>()->BackgroundName(), "Challbk.gif");
}

TEST_F(LoadSkinTest, SmallLayoutReadsSmallKeysAndFrame) {
    skin.Scheme["Misc"]["Small Movie Left"] = "1";
    skin.Scheme["Misc"]["Large Movie Left"] = "2";
    skin.Scheme["Misc"]["Small Genesis Frame Top"] = "3";
    skin.Write();
    form.StreamChoice = 0;
    skin.Load();
    EXPECT_EQ(form.MovieLeft, 1);
    EXPECT_EQ(form.GenesisFrameTop, 3);
    EXPECT_EQ(form.MovieTop, 140) << "small default";
    EXPECT_EQ(form.MovieFrame->FileName(), skin.SkinPath() + "framesm.gif");
}

TEST_F(LoadSkinTest, OtherStreamChoiceSetsNoLayoutButMotionValues) {
    form.StreamChoice = 7;
    form.MovieLeft = -1;
    skin.Load();
    EXPECT_EQ(form.MovieLeft, -1);
    EXPECT_TRUE(form.MovieFrame->FileName().isEmpty());
    EXPECT_EQ(form.MotionMovieLeft, 11);
}

TEST_F(LoadSkinTest, CurrentScreenBackgroundChangesAtOnceButNotAdministrator) {
    form.CurrentScreen = ScreenSignIn;
    skin.Load();
    EXPECT_EQ(form.Background->FileName(), skin.SkinPath() + "signin.gif");

    form.Background->SetFileName(skin.SkinPath() + "page.gif");
    form.CurrentScreen = ScreenAdmin;
    skin.Load();
    EXPECT_EQ(form.Background->FileName(), skin.SkinPath() + "page.gif")
        << "screen 15 waits for its next showing";
    EXPECT_EQ(form.Module<TAdminScreen>()->BackgroundName(), "admin.gif");
}

TEST_F(LoadSkinTest, MovieButtonCordsMoveTheControlOnlyOnTheMoviePage) {
    skin.Scheme["Movie Page Screen"]["Movie Button Cords"] = "10,20,30,40";
    skin.Write();
    form.Module<TMoviePageScreen>()->MBX->setGeometry(1, 1, 1, 1);
    form.CurrentScreen = ScreenCourseSelection;
    skin.Load();
    EXPECT_EQ(form.MovieButtonRect, QRect(10, 20, 30, 40));
    EXPECT_EQ(form.Module<TMoviePageScreen>()->MBX->geometry(), QRect(1, 1, 1, 1));

    form.CurrentScreen = ScreenMoviePage;
    skin.Load();
    EXPECT_EQ(form.Module<TMoviePageScreen>()->MBX->geometry(), QRect(10, 20, 30, 40));
}

TEST_F(LoadSkinTest, LinkShownOnlyForLinkVisibleOne) {
    skin.Scheme["About Skin Screen"]["Link X"] = "5";
    skin.Scheme["About Skin Screen"]["Link Y"] = "6";
    skin.Scheme["About Skin Screen"]["Link Width"] = "70";
    skin.Scheme["About Skin Screen"]["Link Height"] = "8";
    skin.Scheme["About Skin Screen"]["Link Address"] = "https://skins.example/";
    for (const char* visible : {"1", "2", "0", ""}) {
        skin.Scheme["About Skin Screen"]["Link Visible"] = visible;
        skin.Write();
        skin.Load();
        const bool shown = QString(visible) == "1";
        EXPECT_EQ(!form.AboutSkin->Link->isHidden(), shown) << visible;
        if (shown) {
            EXPECT_EQ(form.AboutSkin->Link->geometry(), QRect(5, 6, 70, 8));
            EXPECT_EQ(form.AboutSkin->LinkAddress, "https://skins.example/");
            EXPECT_EQ(form.AboutSkin->Link->toolTip(), "https://skins.example/");
        }
    }
}

TEST_F(LoadSkinTest, ColourValuesHexWordsAndLowerCaseSections) {
    const std::pair<QString, QColor> cases[] = {
        {"[Misc]\r\nMain Form Color=0xFF\r\n", QColor(255, 0, 0)},
        {"[Misc]\r\nMain Form Color=purple\r\n", QColor(99, 82, 99)},
        {"[misc]\r\nmain form color=$00FF00\r\n", QColor(0, 255, 0)},
        {"[MISC]\r\nMain Form Color=16711680\r\n", QColor(0, 0, 255)},
    };
    for (const auto& [misc, colour] : cases) {
        skin.Scheme.remove("Misc");
        // keep the title-bar faces, which live in Misc too
        QString text = misc;
        for (const char* key :
             {"btnHelp", "btnMinimize", "btnClose", "btnHelp2", "btnMinimize2", "btnClose2"})
            text += QStringLiteral("%1=misc-%2.bmp\r\n").arg(key, QString(key).toLower());
        skin.Write(text);
        skin.Load();
        EXPECT_EQ(WindowColour(form), colour) << misc.toStdString();
    }
}

TEST_F(LoadSkinTest, MissingButtonBitmapEndsTheLoadAtThatStep) {
    form.CurrentScreen = ScreenSignIn;
    const QString missing = skin.SkinPath() + "registrationscreen-btncancel.bmp";
    QFile::remove(missing);
    EXPECT_EQ(SkinErrorOf([&] { skin.Load(); }),
              ("Cannot open file " + missing + " (key \"btnCancel\" of section \"Registration Screen\")")
                  .toStdString());
    // Applied before the failing button ...
    ASSERT_TRUE(form.CorrectImage);
    EXPECT_FALSE(form.CorrectImage->isEmpty());
    EXPECT_EQ(form.Module<TMoviePageScreen>()->BackgroundName(), "page.gif");
    EXPECT_EQ(form.Background->FileName(), skin.SkinPath() + "signin.gif");
    EXPECT_FALSE(form.Module<TRegistrationScreen>()->btnAdd->Face().isNull());
    // ... and nothing after it.
    EXPECT_TRUE(form.Module<TCatalogueScreen>()->btnSelectCourse->Face().isNull());
    EXPECT_EQ(form.MotionMovieLeft, 0);
    EXPECT_EQ(form.MovieButtonRect, QRect());
}

TEST_F(LoadSkinTest, AbsentButtonKeyAndInvalidBitmapFail) {
    skin.Scheme["Misc"].remove("btnClose2");
    skin.Write();
    EXPECT_NE(SkinErrorOf([&] { skin.Load(); }), "no error") << "an absent key names the skin directory";
    EXPECT_TRUE(form.btnClose2->Face().isNull());

    QFile damaged(skin.SkinPath() + "damaged.bmp");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("BM this is no bitmap");
    damaged.close();
    skin.Scheme["Misc"]["btnClose2"] = "damaged.bmp";
    skin.Write();
    EXPECT_EQ(SkinErrorOf([&] { skin.Load(); }), ("Bitmap image is not valid: " + skin.SkinPath() +
                                                  "damaged.bmp (key \"btnClose2\" of section \"Misc\")")
                                                     .toStdString());
}

TEST_F(LoadSkinTest, MissingFeedbackPictureFailsBeforeTheBackgrounds) {
    skin.Scheme["Test Screen"].remove("Incorrect");
    skin.Scheme["Movie Page Screen"]["background"] = "other.gif";
    skin.Write();
    EXPECT_EQ(SkinErrorOf([&] { skin.Load(); }),
              ("Cannot open file " + skin.SkinPath() + " (key \"Incorrect\" of section \"Test Screen\")")
                  .toStdString());
    EXPECT_EQ(form.Module<TMoviePageScreen>()->BackgroundName(), "pagebk.gif") << "step 4 never ran";
    ASSERT_TRUE(form.CorrectImage);
    EXPECT_FALSE(form.CorrectImage->isEmpty());
}

TEST_F(LoadSkinTest, BadCoordinateListEndsTheLoadAfterTheLayout) {
    skin.Scheme["Movie Page Screen"]["Exit Cords"] = "570,450,45";
    skin.Write();
    EXPECT_EQ(SkinErrorOf([&] { skin.Load(); }),
              "'' is not a valid integer value (key \"Exit Cords\" of section \"Movie Page Screen\")");
    EXPECT_EQ(form.MotionMovieLeft, 11) << "layout values come before the coordinates";
}

TEST_F(LoadSkinTest, MissingSchemeIsNamedAndNothingIsApplied) {
    QFile::remove(skin.SkinPath() + "scheme.ini");
    EXPECT_EQ(SkinErrorOf([&] { skin.Load(); }),
              ("Cannot open file " + skin.SkinPath() + "scheme.ini").toStdString());
    EXPECT_FALSE(form.CorrectImage);
}

TEST_F(LoadSkinTest, ValuesWrittenOnWindowsResolve) {
    QDir().mkpath(skin.SkinPath() + "Faces");
    WriteBitmap(skin.SkinPath() + "Faces/Play.bmp");
    skin.Scheme["Movie Page Screen"]["btnPlay"] = "faces\\PLAY.BMP";
    skin.Scheme["Movie Page Screen"]["background"] = "PAGE.GIF";
    skin.Write();
    form.CurrentScreen = ScreenMoviePage;
    skin.Load();
    EXPECT_FALSE(form.Module<TMoviePageScreen>()->BtnPlay->Face().isNull());
    EXPECT_EQ(form.Background->FileName(), skin.SkinPath() + "page.gif");
}

TEST_F(LoadSkinTest, CourseListAndPleaseWaitFromTheSkin) {
    skin.Scheme["Course Selection Screen"]["ListBox Color"] = "255";
    skin.Scheme["Course Selection Screen"]["ListBox Font Size"] = "17";
    skin.Scheme["Course Selection Screen"]["ListBox Font"] = "DejaVu Serif";
    skin.Scheme["Please Wait Screen"]["Logo Speed"] = "250";
    skin.Write();
    skin.Load();
    EXPECT_EQ(form.Module<TCatalogueScreen>()->CourseListbox->palette().color(QPalette::Base),
              QColor(255, 0, 0));
    EXPECT_EQ(form.Module<TCatalogueScreen>()->CourseListbox->palette().color(QPalette::Text),
              QColor(255, 255, 255));
    EXPECT_EQ(form.Module<TCatalogueScreen>()->CourseListbox->font().pointSize(), 17);
    EXPECT_EQ(form.Module<TCatalogueScreen>()->CourseListbox->font().family(), "DejaVu Serif");
}

// Windows that read the skin when shown take the current skin's pictures, and
// captions laid out for Windows fonts keep their line breaks.
TEST_F(LoadSkinTest, WindowsShownWithTheDemoSkin) {
    const QString skins = qEnvironmentVariable("ALTAVO_BIN") + "/../skins/";
    LoadSkin(form, skins, "Default/");
    TStreamSelect& streams = *form.StreamSelect;
    EXPECT_TRUE(streams.Background->IsEmpty()) << "read on showing, not on loading";
    streams.show();
    EXPECT_FALSE(streams.Background->IsEmpty());
    EXPECT_FALSE(streams.choice4->Face().isNull());
    EXPECT_TRUE(streams.lblChoice[3]->isHidden()) << "a face covers its caption";
    streams.hide();

    const TLabelEffect& message = *form.PleaseWait->lblMessage;
    const QRect wrapped = QFontMetrics(message.font())
                              .boundingRect(QRect(0, 0, message.width(), 0), Qt::TextWordWrap,
                                            "Loading Training Information Please Wait..");
    // Three lines; only the last line's descenders may reach a pixel or two past the label.
    EXPECT_LE(wrapped.height(), message.height() + 3) << QFontInfo(message.font()).family().toStdString();
}

// The demo skins drawn at build time load completely, in both spellings.
TEST_F(LoadSkinTest, DemoSkinsLoadCompletely) {
    const QString skins = qEnvironmentVariable("ALTAVO_BIN") + "/../skins/";
    for (const char* name : {"Default/", "Compact/"}) {
        ASSERT_TRUE(QFile::exists(skins + name + "scheme.ini")) << name;
        form.CurrentScreen = ScreenMoviePage;
        EXPECT_EQ(SkinErrorOf([&] { LoadSkin(form, skins, name); }), "no error") << name;
        EXPECT_FALSE(form.Exitfield->Face().isNull());
        EXPECT_FALSE(form.Background->CurrentImage().isNull()) << name;
        EXPECT_FALSE(form.AboutSkin->Background->IsEmpty()) << name;
    }
    EXPECT_EQ(form.MovieButtonRect, QRect(376, 52, 248, 250)) << "Compact's own layout";
    EXPECT_EQ(WindowColour(form), QColor(38, 70, 83));
}
