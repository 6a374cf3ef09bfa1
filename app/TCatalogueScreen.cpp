#include "app/TCatalogueScreen.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>

#include "app/TForm1.h"
#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TGlossary.h"
#include "data/TIndex.h"
#include "data/TTableText.h"
#include "data/TTesting.h"
#include "platform/TIniFile.h"
#include "platform/TMessages.h"
#include "platform/TPaths.h"
#include "platform/TRegistry.h"
#include "skin/TPleaseWait.h"
#include "widgets/TSkinButton.h"

namespace {
constexpr int kCourseProduct = 258;
constexpr int kTestProduct = 257;
} // namespace

TCatalogueScreen::TCatalogueScreen(TForm1& form) : QObject(&form), f(form) {
    f.SetScreenRoutines(ScreenCourseSelection, {[this] { Enter(); }, [this] { Leave(); }});
    connect(f.btnSelectCourse, &QAbstractButton::clicked, this, &TCatalogueScreen::StartSelectedCourse);
    connect(f.CourseListbox, &QListWidget::itemDoubleClicked, this, [this] { StartSelectedCourse(); });
    f.CourseListbox->installEventFilter(this);
}

bool TCatalogueScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == f.CourseListbox && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            StartSelectedCourse();
            return true;
        }
    }
    return false;
}

void TCatalogueScreen::Enter() {
    f.CurrentScreen = ScreenCourseSelection;
    f.SetBackground(f.BackgroundNames.CourseSelection);
    f.CourseListbox->setGeometry(141, 200, 405, 176);
    f.CourseListbox->clear();
    f.CourseListbox->show();
    FillCourseList();
    f.btnSelectCourse->move(282, 417);
    f.btnSelectCourse->show();
    f.CourseListbox->setFocus();
}

void TCatalogueScreen::Leave() {
    f.btnSelectCourse->hide();
    f.CourseListbox->hide();
}

// Every course is assigned to the learner (course and test) on the way; then
// the learner's course assignments fill the list.
void TCatalogueScreen::FillCourseList() {
    struct Course {
        QString id, testId;
    };
    QList<Course> courses;
    f.Courses->OnListItem = [&](const QString&, const QString& id, const QString&) {
        courses.append({id, {}});
    };
    f.Courses->ListCourseTitles();
    f.Courses->OnListItem = nullptr;
    for (Course& c : courses) {
        if (f.Assignment->GoToAssignment(f.CurrentUserId, c.id))
            continue;
        if (!f.Courses->GoToCourseId(c.id))
            continue;
        c.testId = f.Courses->GetTestId();
        f.Assignment->AddAssignment(f.CurrentUserId, kCourseProduct, 0, c.id);
        f.Assignment->AddAssignment(f.CurrentUserId, kTestProduct, 0, c.testId);
    }
    f.Assignment->ListAssignmentsByTypes(f.CurrentUserId, kCourseProduct);
}

void TCatalogueScreen::CourseListStart() {
    f.CourseListbox->clear();
    f.ListedIds.clear();
    f.btnSelectCourse->setEnabled(true);
}

void TCatalogueScreen::CourseListItem(const QString& productId) {
    if (!f.Courses->GoToCourseId(productId))
        return;
    auto* item = new QListWidgetItem(f.Courses->GetTitle(), f.CourseListbox);
    item->setData(Qt::UserRole, f.CourseListbox->count() - 1);
    f.ListedIds << productId;
}

void TCatalogueScreen::CourseListEnd() {
    if (f.CourseListbox->count() > 0)
        f.CourseListbox->setCurrentRow(0);
    else
        f.btnSelectCourse->setEnabled(false);
    if (f.PleaseWait)
        f.PleaseWait->hide();
}

bool TCatalogueScreen::StartSelectedCourse() {
    const int row = f.CourseListbox->currentRow();
    if (row < 0 || row >= f.ListedIds.size())
        return false;
    f.CurrentCourseId = f.ListedIds[row];
    if (!f.Courses->GoToCourseId(f.CurrentCourseId))
        return false;
    const QString title = f.Courses->GetTitle();
    const QString testId = f.Courses->GetTestId();
    const QString genFile = f.Courses->GetGenFile();
    // A course installed from Windows may name its directory in another letter
    // case than the disk has.
    const QString courseDir = ResolvePath(f.DatabaseDir + FromStoredPath(f.Courses->GetPath()));
    f.SetCourseTitle(title);

    // The course's own tables live in its directory below the database.
    delete f.Index;
    delete f.Glossary;
    f.Index = new TIndex(f.EngineLibrary, courseDir, f.EngineHandle);
    f.Glossary = new TGlossary(f.EngineLibrary, courseDir, f.EngineHandle);

    if (f.Testing->IsOpen())
        f.Testing->CloseTest();
    f.CourseTestId = testId;
    // Without its test the course keeps the application's own caption.
    const bool testOpened = f.Testing->OpenTest(testId) == 0;
    f.setWindowTitle(testOpened ? f.Testing->GetOpenTitle() : QStringLiteral("Altavo"));

    const QString courseId = TrimTrailingBlanks(f.CurrentCourseId);
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(QString::fromLatin1(ConfigurationKey) + "\\" + courseId)) {
        Messages().ShowMessage("Registry entry not found for the Course directory " + courseId);
        return false;
    }
    f.StreamDir = FromStoredPath(registry.ReadString(QStringLiteral("StreamDir")));
    registry.CloseKey();

    if (!CheckMedia(courseId, title, genFile))
        return false;
    f.ShowScreen(ScreenGenesis);
    return true;
}

// The medium is right when its Course.ini names this course, or, without a
// Course.ini, when the introduction clip is there. The prompt offers Cancel so
// a learner whose medium is gone is not held in it for ever.
bool TCatalogueScreen::CheckMedia(const QString& courseId, const QString& title, const QString& genFile) {
    for (;;) {
        const QString ini = ResolvePath(f.StreamDir + QStringLiteral("Course.ini"));
        bool present;
        if (QFileInfo::exists(ini))
            present = TIniFile(ini).ReadString(QStringLiteral("Main"), QStringLiteral("CourseId"),
                                               QString()) == courseId;
        else
            present = QFileInfo::exists(ResolvePath(f.StreamDir + genFile + QStringLiteral(".avi")));
        if (present)
            return true;
        if (!Messages().Confirm(
                title + " is currently not in the CD-ROM tray. Please insert it and then click on OK."))
            return false;
    }
}
