#include "app/TAdminScreen.h"

#include <QApplication>
#include <QHeaderView>
#include <QTreeWidget>

#include "data/TAssignment.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "shell/ControlLayout.h"
#include "shell/TForm1.h"
#include "shell/TListEvents.h"
#include "widgets/TSkinButton.h"

namespace {
// A post-test score in percent; the table keeps -1 until a test is scored, and
// that marker is left blank rather than shown as a score.
QString ScoreText(int percent) {
    return percent < 0 ? QString() : QString::number(percent) + "%";
}
} // namespace

TAdminScreen::TAdminScreen(TForm1& form)
    : TScreenModule(form, ScreenAdmin, {"Admin Screen", "Background", "Adminbk.gif"}) {
    AdminListView = Own(new QTreeWidget(&f), "AdminListView");
    AdminListView->setRootIsDecorated(false);
    AdminListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    AdminListView->setHeaderLabels({QStringLiteral("User Name"), QStringLiteral("Real Name"),
                                    QStringLiteral("Password"), QStringLiteral("Course"),
                                    QStringLiteral("Last Post Test"), QStringLiteral("Best Post Test")});
    // The score captions are wider than their fixed columns: they wrap onto a
    // second header line instead of being cut off.
    AdminListView->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter |
                                                 Qt::Alignment(Qt::TextWordWrap));
    AdminListView->header()->setMinimumHeight(2 * AdminListView->fontMetrics().lineSpacing() + 6);
    const int widths[] = {73, 120, 60, 150, 70, 70};
    for (int i = 0; i < 6; ++i)
        AdminListView->header()->resizeSection(i, widths[i]);
    btnAdminPrint = Own(new TSkinButton(&f), "btnAdminPrint");
    btnAdminDone = Own(new TSkinButton(&f), "btnAdminDone");
    btnAdminPrint->setGeometry(ControlLayout::AdminPrintButton);
    btnAdminDone->setGeometry(ControlLayout::AdminDoneButton);

    // A new skin's background shows on this screen's next showing.
    KeepBackgroundUntilShown();
    AddSkin(FaceEntry(btnAdminDone, "Admin Screen", "btnDone"));
    AddSkin(FaceEntry(btnAdminPrint, "Admin Screen", "btnPrint"));

    // btnAdmin sits on the add-user form of screen 13, so Done returns there.
    connect(btnAdminDone, &QAbstractButton::clicked, this, [this] { f.ShowScreen(ScreenRegistration); });
}

void TAdminScreen::Enter() {
    btnAdminPrint->show();
    btnAdminDone->show();
    AdminListView->setGeometry(ControlLayout::AdminList);
    AdminListView->clear();
    AdminListView->show();
    QApplication::processEvents();
    FillAdminList();
}

// One row per user without test assignments, one row per test assignment
// otherwise, with the test's title and the post-test scores.
void TAdminScreen::FillAdminList() {
    const int next = f.User->GetNextId();
    for (int id = 1; id < next; ++id) {
        if (!f.User->UserExistsByID(id))
            continue;
        UserInfoStruct info;
        info.ID = id;
        f.User->GetUser(info);
        const QStringList userColumns{info.UserName, info.FirstName + " " + info.LastName, info.Password};
        auto* row = new QTreeWidgetItem(AdminListView, userColumns);
        row->setData(0, Qt::UserRole, -1);

        {
            TListEvents events(
                *f.Assignment, [this] { f.ListedIds.clear(); },
                [this](const QString& assignmentId, const QString&) { f.ListedIds << assignmentId; },
                nullptr);
            f.Assignment->ListAssignmentsByTypes(id, TAssignment::TestProduct);
        }
        const QStringList assignments = f.ListedIds;
        for (int i = 0; i < assignments.size(); ++i) {
            const int assignmentId = assignments[i].trimmed().toInt();
            if (!f.Assignment->GoToRecord(assignmentId))
                continue;
            // A test gone from the tests store leaves the course column blank.
            f.Testing->OpenTest(f.Assignment->GetProdId());
            if (i > 0)
                row = new QTreeWidgetItem(AdminListView, userColumns);
            row->setData(0, Qt::UserRole, assignmentId);
            row->setText(3, f.Testing->GetOpenTitle());
            row->setText(4, ScoreText(f.Assignment->GetLastPost()));
            row->setText(5, ScoreText(f.Assignment->GetBestPost()));
            f.Testing->CloseTest();
        }
    }
    // Rows are ordered by their first column once; the headers do not re-sort.
    AdminListView->sortItems(0, Qt::AscendingOrder);
}
