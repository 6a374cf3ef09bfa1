#include "TCourseInstaller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

#include "TInstallPlan.h"
#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TEngineSession.h"
#include "data/TGlossary.h"
#include "data/TIndex.h"
#include "data/TInstallJournal.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "engine/c4dstand.h"
#include "platform/TDynamicLibrary.h"
#include "platform/TMessages.h"
#include "platform/TRegistry.h"

namespace {

// The registry key every installation's settings live under.
const char* const SettingsKey = "\\Software\\Quenvik\\Altavo\\Brisel";

// Collects what the table objects show, so that an engine complaint ("bad",
// "... failed to receive") stops the installation instead of passing by.
class TCollectedMessages : public TMessageService {
public:
    TCollectedMessages() { SetMessageService(this); }
    ~TCollectedMessages() override { SetMessageService(nullptr); }
    void ShowMessage(const QString& text) override { Shown << text; }
    void ShowMessageCaption(const QString& text, const QString& caption) override {
        Shown << caption + ": " + text;
    }
    bool Ask(const QString&) override { return false; }
    bool Confirm(const QString&) override { return false; }
    QStringList Shown;
};

// True when the directory holds a table of that base name, in any letter case.
bool TableExists(const QString& dir, const QString& baseName) {
    const QStringList entries = QDir(dir).entryList(QDir::Files);
    for (const QString& entry : entries)
        if (entry.section('.', 0, 0).compare(baseName, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Copies the files of a table (every file of that base name) into `to`.
bool CopyTable(const QString& from, const QString& to, const QString& baseName) {
    const QStringList entries = QDir(from).entryList(QDir::Files);
    for (const QString& entry : entries)
        if (entry.section('.', 0, 0).compare(baseName, Qt::CaseInsensitive) == 0 &&
            !QFile::copy(QDir(from).filePath(entry), QDir(to).filePath(entry)))
            return false;
    return true;
}

} // namespace

TCourseInstaller::TCourseInstaller(TDynamicLibrary& engine, const QString& databaseDir,
                                   const QString& mediaDir, const QString& registryFile)
    : m_engine(engine), m_databaseDir(QDir(databaseDir).absolutePath() + "/"), m_mediaDir(mediaDir),
      m_registryFile(registryFile) {}

bool TCourseInstaller::BuildTest(TTesting& testing, const TTestDescription& test, const QString& staged,
                                 int /*numPages*/) {
    TParentInfo parent;
    parent.Id = test.ParentId;
    parent.Title = test.ParentTitle;
    parent.Description = test.ParentDescription;
    parent.Time = test.ParentTime;
    parent.NumQ = int(test.Questions.size());
    if (testing.ParentExists(test.ParentId)) {
        testing.SetParentInfo(parent, test.ParentId);
        if (parent.Id == "bad" || !testing.LastError().isEmpty()) {
            m_error = "The test's parent could not be updated. " + testing.LastError();
            return false;
        }
    } else if (!testing.AddParent(parent.Id, parent.Title, parent.Description, parent.Time, parent.NumQ)) {
        m_error = "The test's parent could not be added. " + testing.LastError();
        return false;
    }
    QDir().mkpath(staged + QString(test.Path).replace('\\', '/'));
    if (!testing.AddTest(test.Id, test.ParentId, test.Path, test.Table, test.Title) ||
        testing.OpenTest(test.Id) != 0) {
        m_error = "The test could not be added. " + testing.LastError();
        return false;
    }
    bool ok = testing.SetDescription(test.Description);
    if (!test.Graphic.isEmpty())
        ok = ok && testing.SetDefaultGraphic(test.Graphic) && testing.SetDefaultGraphicDT(test.GraphicData);
    for (size_t i = 0; ok && i < test.Questions.size(); ++i) {
        const TQuestionDescription& q = test.Questions[i];
        int numAnswer = q.Type == TTesting::TrueFalse ? 2 : int(q.Choices.size());
        int id = testing.AddTestQuestion(int(i) + 1, q.Type, q.Title, q.Question, numAnswer, q.Answer, q.Hint,
                                         q.Ref, q.Graphic);
        ok = id > 0;
        if (ok && !q.Graphic.isEmpty())
            ok = testing.SetTestQuestionGraphicDT(q.GraphicData);
        for (int k = 0; ok && k < q.Choices.size(); ++k)
            ok = testing.SetTestQuestionXtra(id, k + 1, q.Choices[k]) == 0;
        if (!ok)
            m_error = QString("Question %1 of the test could not be stored. %2")
                          .arg(i + 1)
                          .arg(testing.LastError());
    }
    if (!ok && m_error.isEmpty())
        m_error = "The test could not be stored. " + testing.LastError();
    testing.CloseTest();
    return ok;
}

// Builds every table the course touches inside `staged`, a directory laid
// out like the database directory.
bool TCourseInstaller::Stage(const TCourseDescription& course, const QString& staged) {
    for (const char* table : {"Courses", "gtest", "ptest"})
        if (!CopyTable(m_databaseDir, staged, table)) {
            m_error = QString("The table \"%1\" could not be copied for staging.").arg(table);
            return false;
        }
    TCollectedMessages messages;
    TEngineSession session(m_engine);
    if (!session.Engine()) {
        m_error = "The engine library could not start a session.";
        return false;
    }
    CODE4* engine = session.Engine();
    {
        // The shared tables of an installation, made when it has none yet.
        if (!TableExists(m_databaseDir, "Users"))
            TUser(m_engine, staged, engine);
        if (!TableExists(m_databaseDir, "Assign"))
            TAssignment(m_engine, staged, engine);
        if (!TableExists(m_databaseDir, "TestSess"))
            TTestSession(m_engine, staged, engine);

        TCourses courses(m_engine, staged, engine);
        // A damaged catalogue is reported, never replaced by an empty one.
        if (!courses.OpenFault().isEmpty()) {
            m_error = "The courses table cannot be used: " + courses.OpenFault();
            return false;
        }
        QString oldTestId;
        if (courses.GoToCourseId(course.Id)) {
            oldTestId = courses.GetTestId();
            courses.RemoveCourse(course.Id);
            m_notes << QString("Replaced the installed course %1.").arg(course.Id);
        }
        if (course.Test) {
            QStringList ids;
            courses.OnListItem = [&](const QString&, const QString& id, const QString&) { ids << id; };
            courses.ListCourseTitles();
            courses.OnListItem = nullptr;
            QString owner;
            for (const QString& id : ids)
                if (courses.GoToCourseId(id) && courses.GetTestId() == course.Test->Id)
                    owner = id;
            if (!owner.isEmpty()) {
                m_error =
                    QString("The test ID %1 belongs to the installed course %2.").arg(course.Test->Id, owner);
                return false;
            }
        }
        courses.PackDatabases();
        const QString testId = course.Test ? course.Test->Id : QString();
        courses.AddCourse(course.Id, course.Title, testId, QString(), course.Path, course.Genesis,
                          course.NumCert, course.MovieType, course.LogonReq);
        if (courses.ErrorFlag || !courses.GoToCourseId(course.Id) ||
            !courses.SetCourseDetails(course.Description, int(course.Pages.size()), course.InteractiveName,
                                      course.InteractiveClass, course.InteractivePath)) {
            m_error = "The course could not be added. " + courses.ErrorText;
            return false;
        }

        TTesting testing(m_engine, staged, engine);
        if (!testing.OpenFault().isEmpty()) {
            m_error = "The tests catalogue cannot be used: " + testing.OpenFault();
            return false;
        }
        if (!oldTestId.isEmpty())
            testing.DeleteTest(oldTestId);
        if (course.Test)
            testing.DeleteTest(course.Test->Id); // a test left by an earlier, broken installation
        testing.PackDatabases();
        if (course.Test && !BuildTest(testing, *course.Test, staged, int(course.Pages.size())))
            return false;

        const QString courseDir = staged + QString(course.Path).replace('\\', '/');
        QDir().mkpath(courseDir);
        TIndex index(m_engine, courseDir, engine);
        for (const TPageDescription& page : course.Pages) {
            int pageId = index.AddPage(page.Title);
            for (size_t b = 0; pageId > 0 && b < page.Buttons.size(); ++b) {
                const TButtonDescription& button = page.Buttons[b];
                int buttonId = index.AddButton(button.Title, pageId);
                for (size_t c = 0; buttonId > 0 && c < button.Clips.size(); ++c) {
                    const TClipDescription& clip = button.Clips[c];
                    if (index.AddClip(clip.Title, clip.TimeIn, clip.TimeOut, clip.WordsIn, clip.WordsOut,
                                      clip.File, buttonId, clip.Reel, clip.Type) < 0)
                        buttonId = -1;
                }
                if (buttonId < 0)
                    pageId = -1;
            }
            if (pageId < 0) {
                m_error =
                    QString("The page \"%1\" could not be stored. %2").arg(page.Title, index.LastError());
                return false;
            }
        }
        TGlossary glossary(m_engine, courseDir, engine);
        for (const TTermDescription& term : course.Glossary)
            if (!glossary.AddTerm(term.Term, term.Definition)) {
                m_error =
                    QString("The term \"%1\" could not be stored. %2").arg(term.Term, glossary.LastError());
                return false;
            }
    }
    if (!messages.Shown.isEmpty()) {
        m_error = "The engine reported: " + messages.Shown.join("; ");
        return false;
    }
    return true;
}

bool TCourseInstaller::Install(const TCourseDescription& course) {
    m_error.clear();
    m_notes.clear();
    if (!QDir().mkpath(m_databaseDir)) {
        m_error = QString("The database directory \"%1\" could not be made.").arg(m_databaseDir);
        return false;
    }
    // One installation at a time per database directory; a second one waits.
    std::unique_ptr<TInstallLock> lock = std::make_unique<TInstallLock>(m_databaseDir, false);
    if (!lock->Held() && lock->HeldElsewhere()) {
        QTextStream(stderr) << "altavo-course: another installation into " << m_databaseDir
                            << " is running; waiting for it to finish.\n";
        lock = std::make_unique<TInstallLock>(m_databaseDir, true);
    }
    if (!lock->Held()) {
        m_error = lock->Error();
        return false;
    }
    QString recovered;
    if (RecoverInstallationLocked(m_databaseDir, &recovered) == TRecovery::Failed) {
        m_error = recovered;
        return false;
    }
    if (!recovered.isEmpty())
        m_notes << recovered;

    const QString courseDir = m_databaseDir + QString(course.Path).replace('\\', '/');
    m_mediaDir = m_mediaDir.isEmpty() ? courseDir : QDir(m_mediaDir).absolutePath() + "/";

    // Staging and backups live inside the database directory, so that every
    // move into place is a rename on one file system. The staged tables are
    // copies of the live ones as they are now, under the lock.
    QTemporaryDir staging(m_databaseDir + ".altavo-course-stage-XXXXXX");
    QTemporaryDir backup(m_databaseDir + ".altavo-course-backup-XXXXXX");
    if (!staging.isValid() || !backup.isValid()) {
        m_error = QString("No staging directory could be made in \"%1\".").arg(m_databaseDir);
        return false;
    }
    if (!Stage(course, staging.path() + "/"))
        return false;

    TInstallJournal journal;
    const QByteArray ini = "[Main]\r\nCourseId=" + course.Id.toUtf8() + "\r\n";
    TInstallPlan plan(journal, backup.path());
    // A media directory inside the database directory gets its Course.ini
    // through the staged tree, so nothing is written outside the work
    // directories before the journal.
    const QString liveRoot = QDir(m_databaseDir).absolutePath();
    const bool mediaInside = m_mediaDir.startsWith(m_databaseDir);
    if (mediaInside) {
        const QString staged = staging.path() + "/" + m_mediaDir.mid(m_databaseDir.size()) + "Course.ini";
        QDir().mkpath(QFileInfo(staged).path());
        QFile out(staged);
        if (!out.open(QIODevice::WriteOnly) || out.write(ini) != ini.size()) {
            m_error = QString("\"%1\" could not be written.").arg(staged);
            return false;
        }
    }
    if (!plan.AddTree(staging.path(), liveRoot) ||
        (!mediaInside && !plan.AddFile(m_mediaDir + "Course.ini", ini))) {
        m_error = plan.Error();
        plan.Abandon();
        return false;
    }
    TRegistry registry(m_registryFile);
    journal.RegistryFile = m_registryFile;
    journal.RegistryKey = QString(SettingsKey) + "\\" + course.Id;
    journal.RegistryName = "StreamDir";
    journal.RegistryValue = m_mediaDir;
    journal.RegistryKeyExisted = registry.OpenKeyReadOnly(journal.RegistryKey);
    journal.RegistryOldValue = journal.RegistryKeyExisted ? registry.ReadString("StreamDir") : QString();
    journal.WorkDirs = {staging.path(), backup.path()};

    // From the moment the journal is written, an interrupted run is finished
    // by the next one (or by the player's start-up).
    if (!journal.Write(m_databaseDir, &m_error)) {
        plan.Abandon();
        return false;
    }
    staging.setAutoRemove(false);
    backup.setAutoRemove(false);
    if (!journal.RollForward(&m_error)) {
        journal.RollBack();
        journal.Finish(m_databaseDir);
        return false;
    }
    journal.Finish(m_databaseDir);
    m_notes << QString("Media directory (StreamDir): %1").arg(m_mediaDir);
    return true;
}
