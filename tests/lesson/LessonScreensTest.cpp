// The genesis screen, the movie page and the lesson windows on the real main
// window, with real clips made by ffmpeg once for the suite.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "TInstallation.h"
#include "app/TCatalogueScreen.h"
#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TGlossary.h"
#include "data/TIndex.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "lesson/TExibitForm.h"
#include "lesson/TGenesisScreen.h"
#include "lesson/TGlossaryForm.h"
#include "lesson/TGlossaryScreen.h"
#include "lesson/TInfoForm.h"
#include "lesson/TMoviePageScreen.h"
#include "lesson/TMoviesDone.h"
#include "lesson/TSteps.h"
#include "lesson/model/TLessonCursor.h"
#include "platform/TMediaPlayer.h"
#include "platform/media/TMoviePanel.h"
#include "shell/TNoticeWindow.h"
#include "skin/TDebugWindow.h"
#include "widgets/TDirectory.h"
#include "widgets/TGifImage.h"
#include "widgets/TLabelEffect.h"
#include "widgets/TMovieButtonX.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSpecialListBox.h"

namespace {

bool WaitFor(const std::function<bool()>& done, int ms = 8000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QTest::qWait(5);
    }
    return true;
}

bool Ffmpeg(const QStringList& args) {
    QProcess p;
    p.start("ffmpeg", QStringList{"-loglevel", "error", "-y"} + args);
    return p.waitForFinished(60000) && p.exitCode() == 0;
}

// Short clips: framed ones in MS Video 1 at 320x240, full-motion ones in
// MJPEG at 619x325, and a file of random bytes named like a clip. Made once
// per build beside its programs and shared by the suite's processes: each
// process that finds none makes a set in a directory of its own and moves it
// into place, so a half-made set is never used.
class Clips {
public:
    Clips() {
        const QString root = QString::fromUtf8(qgetenv("ALTAVO_BIN")) + "/../test-clips";
        QDir().mkpath(root);
        dir = root + "/lesson-screens-1";
        if (QFile::exists(dir + "/done"))
            return;
        QTemporaryDir staging(root + "/making-XXXXXX");
        staging.setAutoRemove(true);
        const QString at = staging.path() + "/";
        const QString src = "testsrc=size=%1:rate=15:duration=0.4";
        auto make = [&](const QString& name, const QString& size, const QStringList& codec) {
            ok = ok && Ffmpeg(QStringList{"-f", "lavfi", "-i", src.arg(size)} + codec +
                              QStringList{at + name + ".avi"});
        };
        for (const char* name : {"intro", "c1", "p1b2", "p2b1", "p2b2", "p2b3"})
            make(name, "320x240", {"-c:v", "msvideo1"});
        for (const char* name : {"c2", "c3"})
            make(name, "619x325", {"-c:v", "mjpeg", "-q:v", "5"});
        QFile bad(at + "bad.avi");
        ok = ok && bad.open(QIODevice::WriteOnly);
        for (int i = 0; i < 4096; ++i)
            bad.putChar(char((i * 7919) % 251));
        bad.close();
        QFile done(at + "done");
        ok = ok && done.open(QIODevice::WriteOnly);
        done.close();
        // Another process may have finished first; its set is as good.
        if (ok && !QDir().rename(staging.path(), dir))
            ok = QFile::exists(dir + "/done");
    }
    QString Dir() const { return dir + "/"; }
    QString Path(const QString& name) const { return Dir() + name + ".avi"; }
    QString dir;
    bool ok = true;
};

Clips* SharedClips = nullptr;

} // namespace

// Course SS101: page 1 with three buttons (three clips: framed, 0 and 258;
// one clip; a damaged clip), page 2 with three one-clip buttons; four
// simulation questions in its test; two glossary terms. D = 8, K = 4.
class LessonScreens : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SharedClips = new Clips(); }
    static void TearDownTestSuite() {
        delete SharedClips;
        SharedClips = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(SharedClips->ok) << "ffmpeg could not make the clips";
        TForm1& f = install.Start();
        UserInfoStruct ann;
        ann.UserName = "Ann";
        ann.Password = "pw";
        ASSERT_EQ(f.User->AddUser(ann), 1);
        ASSERT_EQ(f.Courses->AddCourse("SS101", "Spreadsheets", "SS101T", "", "SS101/", "intro", 1, 0, 0),
                  "SS101");
        ASSERT_TRUE(f.Testing->AddTest("SS101T", "", "", "SS101Q", "Spreadsheets Test"));
        ASSERT_EQ(f.Testing->OpenTest("SS101T"), 0);
        for (int q = 1; q <= 5; ++q)
            f.Testing->AddTestQuestion(q, q == 3 ? TTesting::TrueFalse : TTesting::Simulation,
                                       QString("Task %1").arg(q), "Do it", 0, "", "", "", "");
        const QString courseDir = install.Path("db/SS101/");
        QDir().mkpath(courseDir);
        {
            TIndex index(f.EngineLibrary, courseDir, f.EngineHandle);
            index.AddPageByIndex("Basics");
            index.AddButtonByIndex("Three clips", 1);
            index.AddClipByIndex("one", "", "", "", "", "c1", 1, 1, 1, TIndex::FramedClip);
            index.AddClipByIndex("two", "", "", "", "", "c2", 1, 1, 1, 0);
            index.AddClipByIndex("three", "", "", "", "", "c3", 1, 1, 1, 258);
            index.AddButtonByIndex("One clip", 1);
            index.AddClipByIndex("one", "", "", "", "", "p1b2", 1, 2, 1, TIndex::FramedClip);
            index.AddButtonByIndex("Damaged", 1);
            index.AddClipByIndex("bad", "", "", "", "", "bad", 1, 3, 1, TIndex::FramedClip);
            index.AddPageByIndex("More");
            for (int b = 1; b <= 3; ++b) {
                index.AddButtonByIndex(QString("More %1").arg(b), 2);
                index.AddClipByIndex("x", "", "", "", "", QString("p2b%1").arg(b), 2, b, 1,
                                     TIndex::FramedClip);
            }
            TGlossary glossary(f.EngineLibrary, courseDir, f.EngineHandle);
            glossary.AddTerm("Dialog", "Opens a {x}file{y} dialog");
            glossary.AddTerm("Cell", "One box of a sheet");
        }
        install.SetStreamDir("SS101", SharedClips->Dir());
        install.Stop();
    }

    // Signs Ann in and starts the course; the genesis screen is then on.
    TForm1& StartCourse() {
        TForm1& f = install.StartSignedIn("Ann", "pw");
        QTest::mouseClick(f.Module<TCatalogueScreen>()->btnSelectCourse, Qt::LeftButton);
        return f;
    }
    // Straight to the movie page, past the introduction.
    TForm1& OpenMoviePage() {
        TForm1& f = StartCourse();
        QTest::mouseClick(f.Module<TGenesisScreen>()->btnGenesisContinue, Qt::LeftButton);
        return f;
    }
    TMoviePageScreen& Page(TForm1& f) { return *f.Module<TMoviePageScreen>(); }
    TMediaPlayer& Player(TForm1& f) { return Page(f).MediaPlayer1(); }
    bool Playing(TForm1& f, const QString& clip) {
        return Player(f).Mode() == TMediaMode::Playing && Player(f).FileName() == SharedClips->Path(clip);
    }
    // The clips started from now until `done`, in order.
    QStringList ClipsUntil(TForm1& f, const std::function<bool()>& done) {
        QStringList seen;
        QString last;
        WaitFor([&] {
            const QString now = Player(f).Mode() == TMediaMode::Playing ? Player(f).FileName() : QString();
            if (!now.isEmpty() && now != last)
                seen << QFileInfo(now).baseName();
            last = now;
            return done();
        });
        return seen;
    }
    void ClickButton(TForm1& f, int index) {
        QTest::mouseClick(Page(f).MBX, Qt::LeftButton, {}, Page(f).MBX->ButtonRect(index).center());
    }
    QByteArray StoredMarks(TForm1& f) {
        f.Assignment->GoToAssignment(1, "SS101");
        return f.Assignment->GetBookmarks();
    }

    TInstallation install;
};

TEST_F(LessonScreens, GenesisPlaysTheIntroductionAndItsEndOpensTheMoviePage) {
    TForm1& f = StartCourse();
    ASSERT_EQ(f.CurrentScreen, ScreenGenesis);
    EXPECT_TRUE(WaitFor([&] { return Playing(f, "intro"); }));
    EXPECT_EQ(f.MoviePanel->geometry(), QRect(f.GenesisMovieLeft, f.GenesisMovieTop, 320, 240));
    ASSERT_TRUE(WaitFor([&] { return f.CurrentScreen == ScreenMoviePage; })) << "the clip's end moves on";
    EXPECT_FALSE(f.Module<TGenesisScreen>()->btnGenesisContinue->isVisible());
    EXPECT_EQ(f.MovieFrame->pos(), QPoint(f.MovieFrameLeft, f.MovieFrameTop));
    EXPECT_TRUE(install.Messages.Shown.isEmpty()) << qPrintable(install.Messages.Shown.join("|"));
}

TEST_F(LessonScreens, ButtonPlaysItsClipsInTurnThenIsMarkedAndTheNextRowStarts) {
    TForm1& f = OpenMoviePage();
    TMoviePageScreen& page = Page(f);
    ASSERT_EQ(f.CurrentScreen, ScreenMoviePage);
    EXPECT_EQ(page.PageName->Caption(), "Basics");
    EXPECT_EQ(page.MBX->LinesVisible(), 3);
    EXPECT_EQ(page.MBX->ButtonCaption(1), "One clip");
    EXPECT_EQ(f.Directory->ListBox1->ItemIndex(), 1) << "page 1, button 1 is row 1";
    EXPECT_EQ(f.Marks.size(), 12);

    // Layouts by clip type, checked while each clip plays.
    QRect framed, motion, motion258;
    bool frameShown = false, frameHiddenForMotion = false;
    QStringList seen;
    QString last;
    ASSERT_TRUE(WaitFor([&] {
        if (Player(f).Mode() == TMediaMode::Playing && Player(f).FileName() != last) {
            last = Player(f).FileName();
            seen << QFileInfo(last).baseName();
            if (seen.last() == "c1") {
                framed = f.MoviePanel->geometry();
                frameShown = f.MovieFrame->isVisible();
            } else if (seen.last() == "c2") {
                motion = f.MoviePanel->geometry();
                frameHiddenForMotion = !f.MovieFrame->isVisible();
            } else if (seen.last() == "c3") {
                motion258 = f.MoviePanel->geometry();
            }
        }
        return f.CurrentButton == 2 && Playing(f, "p1b2");
    }));
    EXPECT_EQ(seen, (QStringList{"c1", "c2", "c3", "p1b2"}));
    EXPECT_EQ(framed, QRect(f.MovieLeft, f.MovieTop, 320, 240));
    EXPECT_TRUE(frameShown);
    EXPECT_EQ(motion, QRect(f.MotionMovieLeft, f.MotionMovieTop, 619, 325));
    EXPECT_EQ(motion258, motion);
    EXPECT_TRUE(frameHiddenForMotion);
    EXPECT_EQ(f.Marks[1], 1) << "byte 2 belongs to page 1, button 1";
    EXPECT_EQ(f.Directory->ListBox1->State(1), 1);
    EXPECT_EQ(page.MBX->ButtonMark(0), 1);
    EXPECT_EQ(page.MBX->ActiveButton(), 1);
    EXPECT_EQ(f.Directory->ListBox1->ItemIndex(), 2);
    EXPECT_GT(qobject_cast<TMoviePanel*>(f.MoviePanel)->FramesShown(), 0) << "frames reach the panel";
}

TEST_F(LessonScreens, StopThenPlayReplaysAndContinuesStopThenAnotherButtonAdvancesNothing) {
    TForm1& f = OpenMoviePage();
    TMoviePageScreen& page = Page(f);
    ASSERT_TRUE(WaitFor([&] { return Playing(f, "c1"); }));
    QTest::mouseClick(page.btnStop, Qt::LeftButton);
    EXPECT_FALSE(f.ClipOpen);
    EXPECT_FALSE(f.MoviePanel->isVisible());
    QTest::qWait(600); // past the clip's end: a stop advances nothing
    EXPECT_EQ(f.CurrentClip, 1);
    QTest::mouseClick(page.BtnPlay, Qt::LeftButton);
    const QStringList replay = ClipsUntil(f, [&] { return Playing(f, "c2"); });
    EXPECT_EQ(replay, (QStringList{"c1", "c2"})) << "the clip again from its start, then the next";

    QTest::mouseClick(page.btnStop, Qt::LeftButton);
    page.MBX->SetActiveButton(1); // the learner picks page 1, button 2
    ASSERT_TRUE(WaitFor([&] { return f.Marks[2] == 1; })) << "its own end marks page 1, button 2";
    ASSERT_TRUE(WaitFor([&] { return !install.Messages.Shown.isEmpty(); }));
    EXPECT_EQ(f.Marks[1], 0) << "the stopped button is not marked";
    EXPECT_EQ(f.Directory->ListBox1->ItemIndex(), 3) << "and the chain goes on to the damaged clip's row";
}

TEST_F(LessonScreens, ReChoosingTheActiveButtonRestartsItAndReturningRestartsAfterTheTimer) {
    TForm1& f = OpenMoviePage();
    TMoviePageScreen& page = Page(f);
    ASSERT_TRUE(WaitFor([&] { return Playing(f, "c2"); }));
    ClickButton(f, 0);
    EXPECT_EQ(f.CurrentClip, 1);
    EXPECT_TRUE(WaitFor([&] { return Playing(f, "c1"); })) << "clip 1 again";

    f.ShowScreen(ScreenCourseSelection);
    EXPECT_EQ(Player(f).Mode(), TMediaMode::Notready) << "leaving closes the player";
    EXPECT_FALSE(page.MBX->isVisible());
    f.ShowScreen(ScreenMoviePage);
    EXPECT_TRUE(page.Timer1.isActive());
    EXPECT_EQ(f.CurrentPage, 1);
    EXPECT_EQ(f.CurrentButton, 1);
    EXPECT_EQ(Player(f).Mode(), TMediaMode::Notready) << "nothing plays before the timer";
    EXPECT_TRUE(WaitFor([&] { return Playing(f, "c1"); }));
}

TEST_F(LessonScreens, DamagedClipShowsItsErrorAndAnotherButtonStillPlays) {
    TForm1& f = OpenMoviePage();
    // Chosen before the entry's timer fires: the choice wins, the timer
    // starts nothing afterwards.
    ClickButton(f, 2);
    ASSERT_TRUE(WaitFor([&] { return !install.Messages.Shown.isEmpty(); }));
    EXPECT_FALSE(install.Messages.Shown.first().isEmpty());
    EXPECT_FALSE(f.ClipOpen);
    QTest::qWait(200);
    EXPECT_EQ(f.CurrentButton, 3) << "the chain stops at the damaged clip";
    ClickButton(f, 1);
    EXPECT_TRUE(WaitFor([&] { return Playing(f, "p1b2"); }));
}

TEST_F(LessonScreens, LastButtonOfTheCourseShowsTrainingCompleteAndHidesTheClip) {
    TForm1& f = OpenMoviePage();
    Page(f).GoToButton(2, 3);
    EXPECT_EQ(Page(f).PageName->Caption(), "More");
    EXPECT_EQ(f.Directory->ListBox1->ItemIndex(), 7);
    ASSERT_TRUE(WaitFor([&] { return f.MoviesDone->isVisible(); }));
    EXPECT_FALSE(f.MoviePanel->isVisible());
    EXPECT_FALSE(f.MovieFrame->isVisible());
    EXPECT_EQ(f.Marks[7], 1);
    EXPECT_EQ(f.CurrentScreen, ScreenMoviePage) << "the page stays usable underneath";
}

TEST_F(LessonScreens, DirectoryRowsChooseButtonsAndRightClicksToggleMarks) {
    TForm1& f = OpenMoviePage();
    TMoviePageScreen& page = Page(f);
    TSpecialListBox& list = *f.Directory->ListBox1;
    ASSERT_EQ(list.Count(), 8);
    EXPECT_EQ(list.State(4), TLessonCursor::PageRowState);

    QTest::mouseClick(page.DirectoryField, Qt::LeftButton);
    ASSERT_TRUE(f.Directory->isVisible());
    const auto rowPoint = [&](int row) { return list.ItemRect(row).center(); };
    // Right button over the page row of page 2: nothing.
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, rowPoint(4));
    EXPECT_EQ(list.State(4), TLessonCursor::PageRowState);
    EXPECT_EQ(f.Marks[4], 0);
    // Right button over page 1, button 2: marked in the list, Marks and MBX.
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, rowPoint(2));
    EXPECT_EQ(list.State(2), 1);
    EXPECT_EQ(f.Marks[2], 1);
    EXPECT_EQ(page.MBX->ButtonMark(1), 1);
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, rowPoint(2));
    EXPECT_EQ(f.Marks[2], 0);
    EXPECT_EQ(page.MBX->ButtonMark(1), 0);

    // A left click on the page row of page 2 makes its first button current
    // and changes no mark.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowPoint(4));
    EXPECT_FALSE(f.Directory->isVisible());
    EXPECT_EQ(f.CurrentPage, 2);
    EXPECT_EQ(f.CurrentButton, 1);
    EXPECT_EQ(list.ItemIndex(), 5) << "page 2, button 1 with three buttons on page 1";
    EXPECT_EQ(page.PageName->Caption(), "More");
    EXPECT_EQ(f.Marks, QByteArray(12, '\0'));
    EXPECT_TRUE(WaitFor([&] { return Playing(f, "p2b1"); }));
}

TEST_F(LessonScreens, SessionStatusAndMarksSurviveShutdownAndTheNextSignIn) {
    {
        TForm1& f = OpenMoviePage();
        EXPECT_GT(f.CurrentSessionId, 0);
        f.Assignment->GoToAssignment(1, "SS101");
        EXPECT_EQ(f.Assignment->GetLastActive(), f.CurrentSessionId);
        UserInfoStruct ann;
        ann.ID = 1;
        f.User->GetUser(ann);
        EXPECT_EQ(ann.Status, 2);
        const int session = f.CurrentSessionId;
        // A second showing in the run opens no second session.
        f.ShowScreen(ScreenCourseSelection);
        f.ShowScreen(ScreenMoviePage);
        EXPECT_EQ(f.CurrentSessionId, session);
        install.Stop();
    }
    {
        TForm1& f = install.Start();
        EXPECT_EQ(StoredMarks(f), QByteArray(12, '\0')) << "D = 8 and K = 4: twelve zero bytes";
        install.Stop();
    }
    // The length byte and the bytes, as an independent reader sees the memo.
    QProcess perl;
    perl.start("perl", {"-MXBase", "-e",
                        "my $t = XBase->new(shift) or die XBase->errstr; my %r = $t->get_record_as_hash(0);"
                        " print unpack('H*', $r{EXCEPTIONS});",
                        install.Path("db/Assign.dbf")});
    ASSERT_TRUE(perl.waitForFinished());
    const QByteArray memo = QByteArray::fromHex(perl.readAllStandardOutput());
    EXPECT_EQ(memo.size(), 13) << perl.readAllStandardError().constData();
    EXPECT_EQ(memo.left(1), QByteArray(1, 12));

    {
        TForm1& f = OpenMoviePage();
        ClickButton(f, 1);
        ASSERT_TRUE(WaitFor([&] { return f.Marks[2] == 1; }));
        install.Stop();
    }
    {
        TForm1& f = OpenMoviePage();
        EXPECT_EQ(f.Marks[2], 1) << "restored at the next sign-in";
        EXPECT_EQ(Page(f).MBX->ButtonMark(1), 1);
        EXPECT_EQ(f.Directory->ListBox1->State(2), 1);
        install.Stop();
    }
    TForm1& f = install.Start();
    UserInfoStruct ann;
    ann.ID = 1;
    f.User->GetUser(ann);
    EXPECT_EQ(ann.Status, 0) << "shutdown signs the learner off";
}

TEST_F(LessonScreens, GlossaryListsTermsOnceAndShowsDefinitionsWithoutBraces) {
    TForm1& f = OpenMoviePage();
    TGlossaryForm& list = *f.GlossaryForm;
    ASSERT_EQ(list.ListBox1->Count(), 2);
    EXPECT_EQ(list.lblTitle->text(), "Spreadsheets");
    f.ShowScreen(ScreenCourseSelection);
    f.ShowScreen(ScreenMoviePage);
    EXPECT_EQ(list.ListBox1->Count(), 2) << "listed once per run";

    QTest::mouseClick(Page(f).SearchField, Qt::LeftButton);
    ASSERT_TRUE(list.isVisible());
    EXPECT_EQ(list.pos(), f.pos() + QPoint(460, 30));
    const int dialog = list.ListBox1->Item(0) == "Dialog" ? 0 : 1;
    QTest::mouseClick(list.ListBox1->viewport(), Qt::LeftButton, {},
                      list.ListBox1->ItemRect(dialog).center());
    EXPECT_FALSE(list.isVisible());
    ASSERT_TRUE(f.GlossaryScreen->isVisible());
    EXPECT_EQ(f.GlossaryScreen->Term->text(), "Dialog");
    EXPECT_EQ(f.GlossaryScreen->Definition->text(), "Opens a file dialog");
    QTest::mouseClick(f.GlossaryScreen->btnClose, Qt::LeftButton);
    EXPECT_FALSE(f.GlossaryScreen->isVisible());
}

TEST(GlossaryMarkup, BraceGroupsAreRemovedAndAnUnmatchedBraceEndsTheRemoval) {
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"Opens a {x}file{y} dialog", "Opens a file dialog"},
        {"No braces here", "No braces here"},
        {"{hidden}", ""},
        {"Ends {open", "Ends {open"},
        {"A {b} c {open", "A  c {open"},
        {"Close } before {x}open", "Close } before open"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RemoveBraceGroups(c.stored), c.shown) << c.stored;
}

TEST_F(LessonScreens, SideWindowsFieldButtonsAndDiagnostics) {
    TForm1& f = OpenMoviePage();
    TMoviePageScreen& page = Page(f);
    ASSERT_TRUE(WaitFor([&] { return Playing(f, "c1"); }));
    f.DebugWindow->Timer1Timer();
    EXPECT_EQ(f.DebugWindow->lblMode->text(), "Playing");
    EXPECT_EQ(f.DebugWindow->lblNotify->text(), "true");

    // The directory and glossary buttons open one side window at a time.
    QTest::mouseClick(page.DirectoryField, Qt::LeftButton);
    QTest::mouseClick(page.SearchField, Qt::LeftButton);
    EXPECT_FALSE(f.Directory->isVisible());
    EXPECT_TRUE(f.GlossaryForm->isVisible());
    QTest::mouseClick(page.SearchField, Qt::LeftButton);
    EXPECT_FALSE(f.GlossaryForm->isVisible());

    // The steps window: the main button opens and closes it, its own close
    // button closes it, and it docks at the main window's right edge.
    QTest::mouseClick(f.btnSteps, Qt::LeftButton);
    ASSERT_TRUE(f.Steps->isVisible());
    EXPECT_EQ(f.Steps->pos(), QPoint(f.x() + f.width() - f.Steps->width() - 15, f.y() + 127));
    QTest::mouseClick(f.btnSteps, Qt::LeftButton);
    EXPECT_FALSE(f.Steps->isVisible());
    QTest::mouseClick(f.btnSteps, Qt::LeftButton);
    QTest::mouseClick(f.Steps->btnClose, Qt::LeftButton);
    EXPECT_FALSE(f.Steps->isVisible());
}

TEST_F(LessonScreens, InformationWindowClosesItselfAndExhibitClosesOnAClick) {
    TForm1& f = OpenMoviePage();
    ASSERT_TRUE(f.CorrectImage && !f.CorrectImage->isEmpty());
    QElapsedTimer shown;
    shown.start();
    f.InfoForm->ShowImage(*f.CorrectImage); // modal: returns when it closes
    EXPECT_GE(shown.elapsed(), 1900);
    EXPECT_FALSE(f.InfoForm->isVisible());
    EXPECT_FALSE(f.InfoForm->Timer1.isActive());
    EXPECT_FALSE(f.InfoForm->GIFImage1->IsEmpty());
    EXPECT_EQ(f.InfoForm->size(), f.InfoForm->GIFImage1->PictureSize());

    f.ExibitForm->GIFImage1->LoadFromData(*f.CorrectImage);
    f.ExibitForm->show();
    EXPECT_EQ(f.ExibitForm->size(), f.ExibitForm->GIFImage1->PictureSize());
    QTest::mouseClick(f.ExibitForm->GIFImage1, Qt::LeftButton);
    EXPECT_FALSE(f.ExibitForm->isVisible());
}

TEST_F(LessonScreens, CourseWithoutPagesShowsANoticeAndStaysOnTheList) {
    {
        TForm1& f = install.Start();
        ASSERT_EQ(f.Courses->AddCourse("EMPTY", "Empty", "SS101T", "", "EMPTY/", "intro", 1, 0, 0), "EMPTY");
        QDir().mkpath(install.Path("db/EMPTY"));
        install.Stop();
    }
    install.SetStreamDir("EMPTY", SharedClips->Dir());
    TForm1& f = install.StartSignedIn("Ann", "pw");
    TCatalogueScreen& catalogue = *f.Module<TCatalogueScreen>();
    const int empty = f.ListedIds.indexOf("EMPTY");
    ASSERT_GE(empty, 0);
    catalogue.CourseListbox->setCurrentRow(empty);
    QString seen;
    OnNextModal([](QWidget*) {}, &seen);
    QTest::mouseClick(catalogue.btnSelectCourse, Qt::LeftButton);
    EXPECT_EQ(f.CurrentScreen, ScreenCourseSelection);
    EXPECT_EQ(seen, "TNoticeWindow");
    EXPECT_EQ(f.NoticeWindow->Text(), "The course has no lesson pages");
}
