#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>

#include "QtPrinters.h"
#include "TFakeDisplay.h"
#include "TInstallation.h"
#include "platform/TMessages.h"
#include "platform/TRegistry.h"
#include "program/TProgram.h"
#include "shell/TForm1.h"

namespace {
const QString kNo8Bit =
    "Your computer doesn't support graphic modes higher than 8bit. Please contact Quenvik's "
    "technical support";
const QString kAskMode = "Your graphics mode needs to be in higher than 8bit. We have detected that this is "
                         "possible. Would you like us to automatically adjust this setting for you?";
const QString kAskReboot = "You will need to reboot your system for the video mode changes to take place. "
                           "Would you like to do that now?";

// An installation in a temporary directory: registry file, database directory.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(dir.path()).mkpath("db");
        qputenv("ALTAVO_REGISTRY", registryFile().toUtf8());
        qputenv("ALTAVO_ENGINE_DIR", qgetenv("ALTAVO_BIN"));
        TRegistry reg(registryFile());
        ASSERT_TRUE(reg.OpenKey(ConfigurationKey, true));
        reg.WriteString("DatabaseDir", dir.filePath("db"));
        reg.WriteString("GraphicDir", dir.filePath("skins"));
        reg.WriteString("SkinDir", "Default/");
        reg.WriteString("HelpDir", dir.filePath("help"));
    }
    void TearDown() override {
        qunsetenv("ALTAVO_REGISTRY");
        qunsetenv("ALTAVO_ENGINE_DIR");
    }
    QString registryFile() const { return dir.filePath("registry.ini"); }
    bool DatabaseTouched() const { return !QDir(dir.filePath("db")).isEmpty(); }

    QTemporaryDir dir;
    TScriptedMessages messages;
    TFakeDisplay display;
};
} // namespace

TEST_F(StartupTest, DirectoriesFromRegistryGetSeparatorExceptSkinDir) {
    TForm1 form(display);
    ASSERT_FALSE(form.StartFailed) << messages.Shown.join("|").toStdString();
    EXPECT_EQ(form.DatabaseDir, dir.filePath("db") + "/");
    EXPECT_EQ(form.GraphicDir, dir.filePath("skins") + "/");
    EXPECT_EQ(form.HelpDir, dir.filePath("help") + "/");
    EXPECT_EQ(form.SkinDir, "Default/");
    EXPECT_NE(form.EngineHandle, nullptr);
    EXPECT_TRUE(display.Enumerated.empty()) << "a 32-bit desktop skips the mode search";
    EXPECT_TRUE(messages.Shown.isEmpty());
}

TEST_F(StartupTest, MissingConfigurationKeyEndsStartWithoutDatabaseWork) {
    TRegistry(registryFile()).DeleteKey(ConfigurationKey);
    {
        TForm1 form(display);
        EXPECT_TRUE(form.StartFailed);
        EXPECT_EQ(form.EngineHandle, nullptr);
    }
    // The start-up dialog reads the same key for its picture and says so too.
    EXPECT_TRUE(messages.Shown.contains("Registry entry not found for the home directory"));
    EXPECT_FALSE(messages.Shown.contains("Unable to load C4DSTAND.DLL"));
    EXPECT_FALSE(DatabaseTouched());
}

TEST_F(StartupTest, MissingEngineLibraryEndsStart) {
    qputenv("ALTAVO_ENGINE_DIR", dir.filePath("nowhere").toUtf8());
    {
        TForm1 form(display);
        EXPECT_TRUE(form.StartFailed);
    }
    EXPECT_EQ(messages.Shown, QStringList{"Unable to load C4DSTAND.DLL"});
    EXPECT_FALSE(DatabaseTouched());
}

TEST_F(StartupTest, MissingEntryPointsAreNamedAndStartGoesOn) {
    qputenv("ALTAVO_ENGINE_DIR", PARTIAL_ENGINE_DIR);
    TForm1 form(display);
    for (const char* name : {"code4errOpen", "code4safety", "code4initUndoP"})
        EXPECT_TRUE(messages.Shown.contains(QString(name) + " failed to receive")) << name;
    EXPECT_FALSE(messages.Shown.contains("code4initP failed to receive"));
    EXPECT_FALSE(messages.Shown.contains("code4errOff failed to receive"));
    EXPECT_FALSE(form.StartFailed);
}

// The 8-bit desktop: the three passes, the question, and each outcome.
struct ModeCase {
    const char* name;
    std::vector<TDisplayMode> modes;
    std::deque<bool> answers;
    TModeChange outcome;
    bool startFailed;
    QStringList shown;
    int expectedIndex; // mode requested, -1 for none
    bool withRefresh;
    int restarts;
};

class ModeSearchTest : public StartupTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModeSearchTest, Outcome) {
    const ModeCase& c = GetParam();
    display.Current = {800, 600, 8, 75};
    display.Modes = c.modes;
    display.Outcome = c.outcome;
    messages.Answers = c.answers;
    {
        TForm1 form(display);
        EXPECT_EQ(form.StartFailed, c.startFailed);
    }
    EXPECT_EQ(messages.Shown, c.shown);
    if (c.expectedIndex < 0) {
        EXPECT_TRUE(display.Requested.empty());
    } else {
        ASSERT_EQ(display.Requested.size(), 1u);
        const TDisplayMode& want = c.modes[c.expectedIndex];
        const TDisplayMode& got = display.Requested[0].first;
        EXPECT_EQ(got.Width, want.Width);
        EXPECT_EQ(got.Height, want.Height);
        EXPECT_EQ(got.BitsPerPixel, want.BitsPerPixel);
        EXPECT_EQ(display.Requested[0].second, c.withRefresh);
    }
    EXPECT_EQ(display.Restarts, c.restarts);
    if (c.startFailed)
        EXPECT_FALSE(DatabaseTouched());
}

// Modes offered: 0 is 8-bit (never taken), then candidates for each pass.
const TDisplayMode k8{800, 600, 8, 75}, kSame75{800, 600, 16, 75}, kSame60{800, 600, 32, 60},
    kVga{640, 480, 16, 72}, kOther{1024, 768, 16, 75};

INSTANTIATE_TEST_SUITE_P(
    EightBitDesktop, ModeSearchTest,
    ::testing::Values(
        ModeCase{"FirstPassSameRate",
                 {k8, kSame60, kSame75, kVga},
                 {true},
                 TModeChange::Success,
                 false,
                 {},
                 2,
                 true,
                 0},
        ModeCase{"SecondPass60Hz", {k8, kVga, kSame60}, {true}, TModeChange::Success, false, {}, 2, true, 0},
        ModeCase{
            "ThirdPassVgaNoRate", {k8, kOther, kVga}, {true}, TModeChange::Success, false, {}, 2, false, 0},
        ModeCase{"NoModeAtAll", {k8, kOther}, {}, TModeChange::Success, true, {kNo8Bit}, -1, false, 0},
        ModeCase{"UserSaysNo", {k8, kVga}, {false}, TModeChange::Success, true, {}, -1, false, 0},
        ModeCase{"RestartYes", {k8, kVga}, {true, true}, TModeChange::RestartNeeded, true, {}, 1, false, 1},
        ModeCase{"RestartNo",
                 {k8, kVga},
                 {true, false},
                 TModeChange::RestartNeeded,
                 true,
                 {"You need to restart your computer now."},
                 1,
                 false,
                 0},
        ModeCase{"OtherFailureGoesOn",
                 {k8, kVga},
                 {true},
                 TModeChange::Failed,
                 false,
                 {"Error on Video Mode"},
                 1,
                 false,
                 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupTest, QuestionsAskedInOrder) {
    display.Current = {800, 600, 8, 75};
    display.Modes = {kVga};
    display.Outcome = TModeChange::RestartNeeded;
    messages.Answers = {true, false};
    TForm1 form(display);
    EXPECT_EQ(messages.Asked, (QStringList{kAskMode, kAskReboot}));
}

TEST_F(StartupTest, FirstPassMatchesTheCurrentRateEvenWhenItReadsZero) {
    display.Current = {800, 600, 8, 0};
    display.Modes = {kSame75, kVga, {800, 600, 16, 0}};
    messages.Answers = {true};
    TForm1 form(display);
    ASSERT_EQ(display.Requested.size(), 1u);
    EXPECT_EQ(display.Requested[0].first.Refresh, 0);
    EXPECT_EQ(display.Requested[0].first.BitsPerPixel, 16);
    EXPECT_TRUE(display.Requested[0].second) << "a first-pass mode is requested with its rate";
}

namespace {
// What the main window found when it was first shown.
struct TShowWatch : QObject {
    int screen = -1;
    bool dialogAlive = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && screen < 0 && watched->inherits("TForm1")) {
            auto* form = static_cast<TForm1*>(watched);
            screen = form->CurrentScreen;
            dialogAlive = form->InitDialog != nullptr;
        }
        return false;
    }
};
} // namespace

// The main window appears only with its skin loaded and its first screen
// entered, centred on the screen; the start-up dialog stays up until then.
TEST(ProgramStart, MainWindowShowsCentredWithItsFirstScreen) {
    TInstallation installation;
    TShowWatch watch;
    qApp->installEventFilter(&watch);
    TForm1& form = installation.Start();
    qApp->removeEventFilter(&watch);
    EXPECT_EQ(watch.screen, ScreenRegistration) << "no users yet";
    EXPECT_TRUE(watch.dialogAlive);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.InitDialog, nullptr);
    const QRect screen = form.screen()->geometry();
    EXPECT_EQ(form.pos(),
              QPoint(screen.left() + (screen.width() - 640) / 2, screen.top() + (screen.height() - 480) / 2));
}

TEST_F(StartupTest, SkinThatCannotLoadEndsTheStartWithTheMainWindowHidden) {
    TForm1 form(display); // the skin root named in the registry does not exist
    ASSERT_FALSE(form.StartFailed);
    EXPECT_FALSE(StartProgram(form));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(messages.Shown.filter("Cannot open file").size(), 1);
}
