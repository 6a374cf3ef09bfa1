#include "app/TCatalogueScreen.h"

#include <QFileInfo>
#include <QListWidget>

#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TGlossary.h"
#include "data/TIndex.h"
#include "data/TSafePath.h"
#include "data/TTableText.h"
#include "data/TTesting.h"
#include "lesson/TSteps.h"
#include "platform/TIniFile.h"
#include "platform/TMessages.h"
#include "platform/TPaths.h"
#include "platform/TRegistry.h"
#include "shell/ControlLayout.h"
#include "shell/TForm1.h"
#include "shell/TListEvents.h"
#include "shell/TNoticeWindow.h"
#include "skin/TPleaseWait.h"
#include "widgets/TDirectory.h"
#include "widgets/TSkinButton.h"

namespace {
constexpr int CourseListColour = 44207513;     // red 153, green 141, blue 162
constexpr int CourseListFontColour = 16777215; // white
} // namespace

TCatalogueScreen::TCatalogueScreen(TForm1& form)
    : TScreenModule(form, ScreenCourseSelection, {"Course Selection Screen", "background", "Blankbk.gif"}) {
    CourseListbox = Own(new QListWidget(&f), "CourseListbox");
    btnSelectCourse = Own(new TSkinButton(&f), "btnSelectCourse");
    btnSelectCourse->setGeometry(ControlLayout::SelectCourseButton);
    AddSkin(FaceEntry(btnSelectCourse, "Course Selection Screen", "btnSelectCourse"));
    AddSkin({TSkinStep::CourseList, [this](const TSkinScheme& s) {
                 QPalette palette = CourseListbox->palette();
                 palette.setColor(QPalette::Base,
                                  s.Colour("Course Selection Screen", "ListBox Color", CourseListColour));
                 palette.setColor(QPalette::Text, s.Colour("Course Selection Screen", "ListBox Font Color",
                                                           CourseListFontColour));
                 CourseListbox->setPalette(palette);
                 QFont font = CourseListbox->font();
                 font.setPointSize(
                     std::max(1, s.Integer("Course Selection Screen", "ListBox Font Size", 12)));
                 font.setFamily(
                     s.String("Course Selection Screen", "ListBox Font", QStringLiteral("Times New Roman")));
                 CourseListbox->setFont(font);
             }});
    connect(btnSelectCourse, &QAbstractButton::clicked, this, &TCatalogueScreen::StartSelectedCourse);
    connect(CourseListbox, &QListWidget::itemDoubleClicked, this, [this] { StartSelectedCourse(); });
    CourseListbox->installEventFilter(this);
}

bool TCatalogueScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched != CourseListbox || !IsEnterPress(event))
        return false;
    StartSelectedCourse();
    return true;
}

void TCatalogueScreen::Enter() {
    CourseListbox->setGeometry(141, 200, 405, 176);
    CourseListbox->clear();
    CourseListbox->show();
    FillCourseList();
    btnSelectCourse->move(282, 417);
    btnSelectCourse->show();
    CourseListbox->setFocus();
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
        f.Assignment->AddAssignment(f.CurrentUserId, TAssignment::CourseProduct, 0, c.id);
        f.Assignment->AddAssignment(f.CurrentUserId, TAssignment::TestProduct, 0, c.testId);
    }
    TListEvents events(
        *f.Assignment, [this] { CourseListStart(); },
        [this](const QString&, const QString& productId) { CourseListItem(productId); },
        [this] { CourseListEnd(); });
    f.Assignment->ListAssignmentsByTypes(f.CurrentUserId, TAssignment::CourseProduct);
}

void TCatalogueScreen::CourseListStart() {
    CourseListbox->clear();
    f.ListedIds.clear();
    btnSelectCourse->setEnabled(true);
}

void TCatalogueScreen::CourseListItem(const QString& productId) {
    if (!f.Courses->GoToCourseId(productId))
        return;
    auto* item = new QListWidgetItem(f.Courses->GetTitle(), CourseListbox);
    item->setData(Qt::UserRole, CourseListbox->count() - 1);
    f.ListedIds << productId;
}

void TCatalogueScreen::CourseListEnd() {
    if (CourseListbox->count() > 0)
        CourseListbox->setCurrentRow(0);
    else
        btnSelectCourse->setEnabled(false);
    if (f.PleaseWait)
        f.PleaseWait->hide();
}

bool TCatalogueScreen::StartSelectedCourse() {
    const int row = CourseListbox->currentRow();
    if (row < 0 || row >= f.ListedIds.size())
        return false;
    f.CurrentCourseId = f.ListedIds[row];
    if (!f.Courses->GoToCourseId(f.CurrentCourseId))
        return false;
    const QString title = f.Courses->GetTitle();
    const QString testId = f.Courses->GetTestId();
    const QString genFile = f.Courses->GetGenFile();
    // The course's PATH comes from a table: a path leading out of the database
    // directory refuses the course before anything is opened or written.
    QString fault;
    const QString tablesDir = CourseTablesDirectory(f.DatabaseDir, TrimTrailingBlanks(f.CurrentCourseId),
                                                    f.Courses->GetPath(), &fault);
    if (tablesDir.isEmpty()) {
        Messages().ShowMessage(fault);
        return false;
    }
    // A course installed from Windows may name its directory in another letter
    // case than the disk has.
    const QString courseDir = ResolvePath(tablesDir);
    // The side windows name the open course.
    if (f.Directory)
        f.Directory->SetCourseTitle(title);
    if (f.Steps)
        f.Steps->SetTitle(title);

    // The course's own tables live in its directory below the database.
    delete f.Index;
    delete f.Glossary;
    f.Index = new TIndex(f.EngineLibrary, courseDir, f.EngineHandle);
    f.Glossary = new TGlossary(f.EngineLibrary, courseDir, f.EngineHandle);
    // A course table that exists but cannot be read is never replaced: the
    // course is refused and the learner stays on the list.
    for (const auto& [refused, tableFault] :
         {std::pair{f.Index->OpenRefused(), f.Index->OpenFault()},
          std::pair{f.Glossary->OpenRefused(), f.Glossary->OpenFault()}}) {
        if (refused) {
            Messages().ShowMessage(TForm1::RefusedTableMessage(tableFault));
            delete f.Index;
            delete f.Glossary;
            f.Index = nullptr;
            f.Glossary = nullptr;
            return false;
        }
    }
    // The movie page needs a page to show: a course without any stays here.
    if (f.Index->PageCount() == 0) {
        if (f.NoticeWindow) {
            f.NoticeWindow->SetText(QStringLiteral("The course has no lesson pages"));
            f.NoticeWindow->exec();
        }
        return false;
    }

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
