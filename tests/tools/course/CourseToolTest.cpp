// altavo-course: what an installation writes, reinstalling, and descriptions
// or installations that fail without leaving anything half-done.
#include <QJsonArray>

#include <sys/stat.h>

#include "CourseToolSupport.h"
#include "data/TCourses.h"
#include "data/TGlossary.h"
#include "data/TIndex.h"
#include "data/TTesting.h"
#include "platform/TIniFile.h"
#include "platform/TRegistry.h"

namespace {

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QString StreamDir(const QString& registryFile, const QString& courseId) {
    TRegistry registry(registryFile);
    if (!registry.OpenKeyReadOnly("\\Software\\Quenvik\\Altavo\\Brisel\\" + courseId))
        return "(no key)";
    return registry.ReadString("StreamDir");
}

TEST_F(CourseToolTest, InstallsEveryPartOfTheCourse) {
    TToolRun run = Install(CaseDir("spreadsheets") + "course.json");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    TCourses courses(EngineLibrary(), Database(), Engine);
    ASSERT_TRUE(courses.GoToCourseId("SS101"));
    EXPECT_EQ(courses.GetTitle(), "Spreadsheets from the ground up");
    EXPECT_EQ(courses.GetTestId(), "SS101T");
    EXPECT_EQ(courses.GetPath(), "SS101/");
    EXPECT_EQ(courses.GetGenFile(), "intro");
    EXPECT_EQ(courses.GetNumCert(), 1);
    EXPECT_EQ(courses.GetNumPages(), 2);
    EXPECT_EQ(courses.GetDescription(), "Cells, formulas and charts.");
    EXPECT_EQ(courses.GetIntName(), "Spreadsheet practice");
    EXPECT_EQ(courses.GetIntClsName(), "SSPractice");
    EXPECT_EQ(courses.GetIntDefPath(), "/opt/sspractice/run");

    TIndex index(EngineLibrary(), Database() + "SS101/", Engine);
    EXPECT_EQ(index.PageCount(), 2);
    EXPECT_EQ(index.GetPage(2), "Formulas");
    EXPECT_EQ(index.ButtonCount(1), 2);
    EXPECT_EQ(index.GetButton(1, 2), "Moving about");
    ASSERT_EQ(index.ClipCount(1, 1), 2);
    const TMoviePageLinkList* clip = index.GetClip(1, 1, 1);
    EXPECT_EQ(clip->FileName, "c0101");
    EXPECT_EQ(clip->ClipType, 257);
    EXPECT_EQ(clip->Reel, 1);
    EXPECT_EQ(clip->TimeOut, "00:00:12:00");
    EXPECT_EQ(clip->WordsIn, "Welcome…");

    TGlossary glossary(EngineLibrary(), Database() + "SS101/", Engine);
    QStringList terms;
    glossary.OnListItem = [&](const QString& term) { terms << term; };
    glossary.ListTerms();
    EXPECT_EQ(terms, (QStringList{"Cell", "Formula", "Grid"}));
    EXPECT_EQ(glossary.GetTerm("Cell"), "One box of the grid. {see:Grid}");

    TTesting testing(EngineLibrary(), Database(), Engine);
    ASSERT_EQ(testing.OpenTest("SS101T"), 0);
    EXPECT_EQ(testing.GetOpenTitle(), "Spreadsheets post-test");
    EXPECT_EQ(testing.GetDefaultGraphic(), "default.gif");
    EXPECT_EQ(testing.GetDefaultGraphicDT(), FileBytes(CaseDir("spreadsheets") + "default.gif"));
    EXPECT_EQ(testing.NumTestQ(), 4);
    EXPECT_EQ(testing.GetParentNum("SSP"), 1);
    struct Expected {
        int type;
        const char* answer;
        QStringList choices;
    } expected[] = {
        {0, "TRUE", {"TRUE", "FALSE"}},
        {1, "2", {"Tab", "Enter", "Esc"}},
        {5, "5", {"SUM", "CELL", "AVERAGE", "GRID"}},
        {3, "", {"Click File", "Click Save"}},
    };
    for (int n = 1; n <= 4; ++n) {
        ASSERT_EQ(testing.GoToTestQuestion(n), 0);
        const Expected& e = expected[n - 1];
        EXPECT_EQ(testing.CurrentQuestion().Type, e.type) << n;
        EXPECT_EQ(testing.GetTestQuestionCorrectAnswer(), e.answer) << n;
        EXPECT_EQ(testing.CurrentQuestion().NumAnswer, e.choices.size()) << n;
        for (int k = 1; k <= e.choices.size(); ++k)
            EXPECT_EQ(testing.GetTestQuestionAnswerText(k), e.choices[k - 1]) << n << " " << k;
    }
    ASSERT_EQ(testing.GoToTestQuestion(4), 0);
    EXPECT_EQ(testing.CurrentQuestion().Graphic, "save.sim");
    EXPECT_EQ(testing.GetTestQuestionGraphicDT(), FileBytes(CaseDir("spreadsheets") + "save.sim"));
    ASSERT_EQ(testing.GoToTestQuestion(1), 0);
    EXPECT_EQ(testing.CurrentQuestion().Hint, "Look at the grid.");
    EXPECT_EQ(testing.GetTestQuestionGraphicDT(), FileBytes(CaseDir("spreadsheets") + "exhibit1.gif"));

    EXPECT_EQ(StreamDir(RegistryFile(), "SS101"), Database() + "SS101/");
    EXPECT_EQ(TIniFile(Database() + "SS101/Course.ini").ReadString("Main", "CourseId", ""), "SS101");
    EXPECT_TRUE(Shown.Shown.isEmpty()) << Shown.Shown.join("|").toStdString();
}

TEST_F(CourseToolTest, MediaDirectoryTakesCourseIni) {
    const QString media = Scratch() + "cdrom";
    TToolRun run = Install(CaseDir("spreadsheets") + "course.json", {"--media", media});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(StreamDir(RegistryFile(), "SS101"), media + "/");
    EXPECT_EQ(TIniFile(media + "/Course.ini").ReadString("Main", "CourseId", ""), "SS101");
    EXPECT_FALSE(QFile::exists(Database() + "SS101/Course.ini"));
}

TEST_F(CourseToolTest, InstallingTwiceInstallsOnceAndKeepsOtherCourses) {
    const QString other = EditedSample(
        [](QJsonObject& root) {
            root["id"] = "WP101";
            root["path"] = "WP101/";
            QJsonObject test = root["test"].toObject();
            test["id"] = "WP101T";
            test["path"] = "WP101T/";
            root["test"] = test;
        },
        "other");
    ASSERT_EQ(Install(other).exitCode, 0);
    ASSERT_EQ(Install(CaseDir("spreadsheets") + "course.json").exitCode, 0);
    const QString renamed =
        EditedSample([](QJsonObject& root) { root["title"] = "Spreadsheets, second edition"; });
    TToolRun again = Install(renamed);
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains("Replaced the installed course SS101."));

    TCourses courses(EngineLibrary(), Database(), Engine);
    QStringList listed;
    courses.OnListItem = [&](const QString& title, const QString& id, const QString&) {
        listed << id + ":" + title;
    };
    courses.ListCourseTitles();
    EXPECT_EQ(listed,
              (QStringList{"SS101:Spreadsheets, second edition", "WP101:Spreadsheets from the ground up"}));
    EXPECT_EQ(courses.GetNumCourses(), 2);

    TTesting testing(EngineLibrary(), Database(), Engine);
    QStringList tests;
    testing.OnTestParentItem = [&](const QString&, const QString& id, const QString& parent) {
        tests << id + ":" + parent;
    };
    testing.ListTestTitlesWParent();
    tests.sort();
    EXPECT_EQ(tests, (QStringList{"SS101T:SSP", "WP101T:SSP"}));
    EXPECT_EQ(testing.GetParentNum("SSP"), 2);
    ASSERT_EQ(testing.OpenTest("SS101T"), 0);
    EXPECT_EQ(testing.NumTestQ(), 4);

    TIndex index(EngineLibrary(), Database() + "SS101/", Engine);
    EXPECT_EQ(index.PageCount(), 2);
    EXPECT_EQ(index.ClipCount(1, 1), 2);
    EXPECT_FALSE(QFileInfo::exists(Database() + ".altavo-course-stage")) << "no staging left behind";
    for (const QString& entry :
         QDir(Database()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        EXPECT_FALSE(entry.startsWith(".altavo-course")) << entry.toStdString();
}

TEST_F(CourseToolTest, BadDescriptionsNameThePathAndChangeNothing) {
    ASSERT_EQ(Install(CaseDir("spreadsheets") + "course.json").exitCode, 0);
    const auto before = Snapshot(Scratch());

    auto at = [](QJsonObject& root, const QString& key, const std::function<void(QJsonObject&)>& edit) {
        QJsonObject child = root[key].toObject();
        edit(child);
        root[key] = child;
    };
    auto question = [&](int n, const std::function<void(QJsonObject&)>& edit) {
        return [=](QJsonObject& root) {
            at(root, "test", [&](QJsonObject& test) {
                QJsonArray questions = test["questions"].toArray();
                QJsonObject q = questions[n].toObject();
                edit(q);
                questions[n] = q;
                test["questions"] = questions;
            });
        };
    };
    auto firstClip = [](const std::function<void(QJsonObject&)>& edit) {
        return [=](QJsonObject& root) {
            QJsonArray pages = root["pages"].toArray();
            QJsonObject page = pages[0].toObject();
            QJsonArray buttons = page["buttons"].toArray();
            QJsonObject button = buttons[0].toObject();
            QJsonArray clips = button["clips"].toArray();
            QJsonObject clip = clips[0].toObject();
            edit(clip);
            clips[0] = clip;
            button["clips"] = clips;
            buttons[0] = button;
            page["buttons"] = buttons;
            pages[0] = page;
            root["pages"] = pages;
        };
    };
    struct Case {
        const char* expected;
        std::function<void(QJsonObject&)> edit;
    } cases[] = {
        {"$.id: is missing", [](QJsonObject& r) { r.remove("id"); }},
        {"$.title: must be a string", [](QJsonObject& r) { r["title"] = 5; }},
        {"$.path: must be a relative directory", [](QJsonObject& r) { r["path"] = "../outside/"; }},
        {"$.numcert: must be a whole number", [](QJsonObject& r) { r["numcert"] = 1.5; }},
        {"$.pages[0].buttons[0].clips[0].type: must be a whole number",
         firstClip([](QJsonObject& c) { c["type"] = "framed"; })},
        {"$.pages[0].buttons[0].clips[0].file: is longer than 40 characters",
         firstClip([](QJsonObject& c) { c["file"] = QString(41, 'f'); })},
        {"$.pages[0].buttons[0].clips[0].title: holds the character \"Ł\"",
         firstClip([](QJsonObject& c) { c["title"] = "Łódź"; })},
        {"$.glossary[1].term: \"Cell\" is already in the glossary",
         [](QJsonObject& r) {
             QJsonArray g = r["glossary"].toArray();
             QJsonObject t = g[1].toObject();
             t["term"] = "Cell";
             g[1] = t;
             r["glossary"] = g;
         }},
        {"$.test.questions[0].type: must be", question(0, [](QJsonObject& q) { q["type"] = "essay"; })},
        {"$.test.questions[0].graphic: must be a relative file name",
         question(0, [](QJsonObject& q) { q["graphic"] = "../../etc/passwd"; })},
        {"$.test.questions[1].answer: must be from 1 to 3",
         question(1, [](QJsonObject& q) { q["answer"] = 4; })},
        {"$.test.questions[2].answer[1]: must be a choice number from 1 to 4",
         question(2,
                  [](QJsonObject& q) {
                      q["answer"] = QJsonArray{1, 9};
                  })},
        {"$.test.questions[3].graphic: the file",
         question(3, [](QJsonObject& q) { q["graphic"] = "missing.sim"; })},
        {"$.test.questions[3].steps: is missing", question(3, [](QJsonObject& q) { q.remove("steps"); })},
        // A simulation file the simulation reader refuses (altavo-sim check would): cut
        // short, or a JSON document of another kind.
        {"$.test.questions[3].graphic: question \"Saving\": the simulation cut.sim cannot be played",
         question(3,
                  [this](QJsonObject& q) {
                      QFile whole(CaseDir("spreadsheets") + "save.sim");
                      whole.open(QIODevice::ReadOnly);
                      QFile cut(Scratch() + "edited/cut.sim");
                      cut.open(QIODevice::WriteOnly);
                      cut.write(whole.readAll().chopped(40));
                      q["graphic"] = "cut.sim";
                  })},
        {"$.test.questions[3].graphic: question \"Saving\": the simulation other.sim cannot be played",
         question(3,
                  [this](QJsonObject& q) {
                      QFile other(Scratch() + "edited/other.sim");
                      other.open(QIODevice::WriteOnly);
                      other.write("{\"format\": \"something else\"}");
                      q["graphic"] = "other.sim";
                  })},
        {"$.title: is longer than 255 characters", [](QJsonObject& r) { r["title"] = QString(256, 't'); }},
        {"$.glossary[0].definition: is longer than 16000 characters",
         [](QJsonObject& r) {
             QJsonArray g = r["glossary"].toArray();
             QJsonObject t = g[0].toObject();
             t["definition"] = QString(16001, 'd');
             g[0] = t;
             r["glossary"] = g;
         }},
        {"$.test.questions[1].question: is longer than 16000 characters",
         question(1, [](QJsonObject& q) { q["question"] = QString(16001, 'q'); })},
        // Graphics: only regular files inside the description's folder.
        {"$.test.questions[0].graphic: the file \"secret.gif\" leads outside",
         question(0,
                  [this](QJsonObject& q) {
                      QFile::link("/etc/passwd", Scratch() + "edited/secret.gif");
                      q["graphic"] = "secret.gif";
                  })},
        {"$.test.questions[0].graphic: \"pipe.gif\" is not a regular file",
         question(0,
                  [this](QJsonObject& q) {
                      mkfifo(QFile::encodeName(Scratch() + "edited/pipe.gif").constData(), 0644);
                      q["graphic"] = "pipe.gif";
                  })},
        {"$.test.questions[0].graphic: \"folder.gif\" is not a regular file",
         question(0,
                  [this](QJsonObject& q) {
                      QDir().mkpath(Scratch() + "edited/folder.gif");
                      q["graphic"] = "folder.gif";
                  })},
        {"$.test.parent.time: is longer than 5 characters",
         [&](QJsonObject& r) {
             at(r, "test",
                [&](QJsonObject& t) { at(t, "parent", [](QJsonObject& p) { p["time"] = "100:00"; }); });
         }},
    };
    for (const Case& c : cases) {
        const QString description = EditedSample(c.edit);
        TToolRun run = Install(description);
        EXPECT_EQ(run.exitCode, 1) << c.expected;
        EXPECT_TRUE(run.err.contains(c.expected)) << c.expected << "\n" << run.err.toStdString();
        auto after = Snapshot(Scratch());
        after.removeIf([](const auto& file) { return file.key().startsWith("edited/"); });
        EXPECT_EQ(after, before) << c.expected;
    }

    QFile notJson(Scratch() + "broken.json");
    notJson.open(QIODevice::WriteOnly);
    notJson.write("{\"id\": ");
    notJson.close();
    TToolRun broken = Install(notJson.fileName());
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(broken.err.contains("$: not valid JSON")) << broken.err.toStdString();
}

TEST_F(CourseToolTest, FailedInstallationLeavesEverythingAsItWas) {
    ASSERT_EQ(Install(CaseDir("spreadsheets") + "course.json").exitCode, 0);
    const auto before = Snapshot(Database());
    // A registry file that cannot be written: the last step fails, after the
    // tables were already swapped in.
    const QString unwritable = Scratch() + "registry-is-a-directory";
    QDir().mkpath(unwritable);
    const QString renamed = EditedSample([](QJsonObject& root) {
        root["title"] = "Never installed";
        root["path"] = "SS101NEW/";
    });
    TToolRun run = Run({"install", renamed, "--database", Database()}, unwritable);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("nothing was installed")) << run.err.toStdString();
    EXPECT_EQ(Snapshot(Database()), before);
    EXPECT_FALSE(QFileInfo::exists(Database() + "SS101NEW")) << "directories made for it are gone";
    EXPECT_EQ(StreamDir(RegistryFile(), "SS101"), Database() + "SS101/");
}

TEST_F(CourseToolTest, TestOfAnotherCourseIsRefused) {
    ASSERT_EQ(Install(CaseDir("spreadsheets") + "course.json").exitCode, 0);
    const auto before = Snapshot(Database());
    const QString thief = EditedSample([](QJsonObject& root) {
        root["id"] = "XX101";
        root["path"] = "XX101/";
    });
    TToolRun run = Install(thief);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("The test ID SS101T belongs to the installed course SS101."))
        << run.err.toStdString();
    EXPECT_EQ(Snapshot(Database()), before);
}

TEST_F(CourseToolTest, UsageErrors) {
    EXPECT_EQ(Run({}).exitCode, 2);
    EXPECT_EQ(Run({"install", "x.json"}).exitCode, 2) << "no database directory";
    EXPECT_EQ(Run({"remove", "x.json", "--database", Database()}).exitCode, 2);
    TToolRun help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("altavo-course install DESCRIPTION.json --database DIR"));
}

} // namespace
