#include "app/TAdminScreen.h"

#include <QApplication>
#include <QHeaderView>
#include <QTreeWidget>

#include "reports/TReportPreview.h"
#include "shell/ControlLayout.h"
#include "shell/TForm1.h"
#include "widgets/TSkinButton.h"

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
    connect(btnAdminPrint, &QAbstractButton::clicked, this, &TAdminScreen::btnAdminPrintClick);
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
    m_rows = BuildAdminList(*f.User, *f.Assignment, *f.Testing);
    for (const TAdminListRow& r : m_rows) {
        auto* row = new QTreeWidgetItem(AdminListView, {r.UserName, r.Name, r.Password});
        row->setData(0, Qt::UserRole, r.HasAssignment ? r.AssignmentId : -1);
        row->setText(3, r.Course);
        row->setText(4, r.LastPost);
        row->setText(5, r.BestPost);
    }
    // Rows are ordered by their first column once; the headers do not re-sort.
    AdminListView->sortItems(0, Qt::AscendingOrder);
}

// The student log prints the list as it was shown; an empty list prints nothing.
void TAdminScreen::btnAdminPrintClick() {
    PreviewStudentLog(&f, m_rows);
}
