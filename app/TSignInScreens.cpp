#include "app/TSignInScreens.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include "app/TBadLogin.h"
#include "app/TForm1.h"
#include "app/TNoticeWindow.h"
#include "data/TAssignment.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "platform/TMessages.h"
#include "widgets/TSkinButton.h"

namespace {
constexpr int kTestProduct = 257;

// A post-test score in percent; the table keeps -1 until a test is scored, and
// that marker is left blank rather than shown as a score.
QString ScoreText(int percent) {
    return percent < 0 ? QString() : QString::number(percent) + "%";
}
} // namespace

TSignInScreens::TSignInScreens(TForm1& form) : QObject(&form), f(form) {
    f.SetScreenRoutines(ScreenSignIn, {[this] { EnterSignIn(); }, [this] { LeaveSignIn(); }});
    f.SetScreenRoutines(ScreenRegistration,
                        {[this] { EnterRegistration(); }, [this] { LeaveRegistration(); }});
    f.SetScreenRoutines(ScreenAdmin, {[this] { EnterAdmin(); }, [this] { LeaveAdmin(); }});

    connect(f.btnLogin, &QAbstractButton::clicked, this, &TSignInScreens::SignIn);
    connect(f.btnAddUser, &QAbstractButton::clicked, this, [this] { f.ShowScreen(ScreenRegistration); });
    connect(f.btnCancel, &QAbstractButton::clicked, this, [this] { f.ShowScreen(ScreenSignIn); });
    connect(f.btnRegEnter, &QAbstractButton::clicked, this, &TSignInScreens::RegisterFirstUser);
    connect(f.btnAdd, &QAbstractButton::clicked, this, &TSignInScreens::AddFurtherUser);
    connect(f.btnAdmin, &QAbstractButton::clicked, this, [this] { f.ShowScreen(ScreenAdmin); });
    // btnAdmin sits on the add-user form of screen 13, so Done returns there.
    connect(f.btnAdminDone, &QAbstractButton::clicked, this, [this] { f.ShowScreen(ScreenRegistration); });
    f.edtPassword->installEventFilter(this);
    f.edtRegVerifyPassword->installEventFilter(this);
}

// Enter in the password boxes acts like the screen's main button; the key
// itself is always swallowed.
bool TSignInScreens::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (watched == f.edtPassword && f.CurrentScreen == ScreenSignIn)
        SignIn();
    else if (watched == f.edtRegVerifyPassword && f.CurrentScreen == ScreenRegistration)
        f.User->Empty() ? RegisterFirstUser() : AddFurtherUser();
    return true;
}

void TSignInScreens::EnterSignIn() {
    f.CurrentScreen = ScreenSignIn;
    f.SetBackground(f.BackgroundNames.SignIn);
    f.edtUserName->show();
    f.edtPassword->show();
    f.btnLogin->setVisible(!f.User->Empty());
    f.btnAddUser->show();
    f.edtUserName->setFocus();
}

void TSignInScreens::LeaveSignIn() {
    for (QWidget* w : {static_cast<QWidget*>(f.edtUserName), static_cast<QWidget*>(f.edtPassword),
                       static_cast<QWidget*>(f.btnLogin), static_cast<QWidget*>(f.btnAddUser)})
        w->hide();
}

void TSignInScreens::SignIn() {
    const QString name = f.edtUserName->text();
    const QString password = f.edtPassword->text();
    if (name.isEmpty() || password.isEmpty())
        return;
    if (!f.User->UserExists(name)) {
        f.BadLogin->exec();
        return;
    }
    f.CurrentUserId = f.User->Authenticate(name, password);
    if (f.CurrentUserId == -1) {
        f.BadLogin->exec();
        return;
    }
    f.User->SetStatus(f.CurrentUserId, 1, f.CurrentSessionId);
    f.ShowScreen(ScreenCourseSelection);
}

void TSignInScreens::EnterRegistration() {
    f.CurrentScreen = ScreenRegistration;
    QLineEdit* boxes[] = {f.edtRegFirstName, f.edtRegLastName, f.edtRegUserName, f.edtRegPassword,
                          f.edtRegVerifyPassword};
    const bool firstUser = f.User->Empty();
    if (firstUser) {
        f.SetBackground(f.BackgroundNames.NoUsers);
        f.btnRegEnter->show();
    } else {
        f.SetBackground(f.BackgroundNames.Registration);
        f.btnAdd->show();
        f.btnCancel->show();
        f.btnAdmin->show();
        for (int i = 0; i < 5; ++i)
            boxes[i]->move(204, 245 + 31 * i);
        f.AddUserListBox->clear();
        const int next = f.User->GetNextId();
        for (int id = 1; id < next; ++id) {
            UserInfoStruct info;
            info.ID = id;
            if (f.User->GetUser(info))
                f.AddUserListBox->addItem(info.UserName);
        }
        f.AddUserListBox->setGeometry(398, 244, 224, 152);
        f.AddUserListBox->show();
    }
    for (QLineEdit* box : boxes) {
        box->clear();
        box->show();
    }
    if (!firstUser)
        f.edtRegFirstName->setFocus();
}

void TSignInScreens::LeaveRegistration() {
    f.AddUserListBox->hide();
    for (QWidget* w : {static_cast<QWidget*>(f.btnRegEnter), static_cast<QWidget*>(f.btnAdd),
                       static_cast<QWidget*>(f.btnCancel), static_cast<QWidget*>(f.btnAdmin),
                       static_cast<QWidget*>(f.edtRegFirstName), static_cast<QWidget*>(f.edtRegLastName),
                       static_cast<QWidget*>(f.edtRegUserName), static_cast<QWidget*>(f.edtRegPassword),
                       static_cast<QWidget*>(f.edtRegVerifyPassword)})
        w->hide();
}

void TSignInScreens::Refuse(bool firstUser, const QString& messageText, const QString& noticeText) {
    if (firstUser) {
        Messages().ShowMessage(messageText);
    } else {
        f.NoticeWindow->SetText(noticeText);
        f.NoticeWindow->exec();
    }
}

int TSignInScreens::AddUserFromBoxes(bool firstUser) {
    const QString firstName = f.edtRegFirstName->text();
    const QString lastName = f.edtRegLastName->text();
    const QString userName = f.edtRegUserName->text();
    const QString password = f.edtRegPassword->text();
    if (firstName.isEmpty() || lastName.isEmpty() || userName.isEmpty() || password.isEmpty())
        return -1;
    if (f.User->UserExists(userName)) {
        Refuse(firstUser,
               "User Name of : " + userName +
                   ", Already exists in the system. Please choose a different User Name.",
               QStringLiteral("User Name already exists in the system."));
        return -1;
    }
    if (password != f.edtRegVerifyPassword->text()) {
        const QString text = QStringLiteral("Password and Verify Password do not match.");
        Refuse(firstUser, text, text);
        return -1;
    }
    UserInfoStruct info;
    info.UserName = userName;
    info.Password = password;
    info.EmpId = 1;
    info.ID = f.User->AddUser(info);
    if (info.ID == -1) {
        // A text the table cannot hold (a character outside its code page).
        Messages().ShowMessage(f.User->LastError());
        return -1;
    }
    info.FirstName = firstName;
    info.LastName = lastName;
    if (!f.User->UpdateUser(info))
        Messages().ShowMessage(f.User->LastError());
    return info.ID;
}

void TSignInScreens::RegisterFirstUser() {
    if (AddUserFromBoxes(true) == -1)
        return;
    f.edtUserName->setText(f.edtRegUserName->text());
    f.edtPassword->setText(f.edtRegPassword->text());
    SignIn();
}

void TSignInScreens::AddFurtherUser() {
    if (AddUserFromBoxes(false) == -1)
        return;
    f.AddUserListBox->addItem(f.edtRegUserName->text());
    for (QLineEdit* box :
         {f.edtRegFirstName, f.edtRegLastName, f.edtRegUserName, f.edtRegPassword, f.edtRegVerifyPassword})
        box->clear();
    f.edtRegFirstName->setFocus();
}

void TSignInScreens::EnterAdmin() {
    f.CurrentScreen = ScreenAdmin;
    f.SetBackground(f.BackgroundNames.Admin);
    f.btnAdminPrint->show();
    f.btnAdminDone->show();
    f.AdminListView->setGeometry(48, 148, 547, 248);
    f.AdminListView->clear();
    f.AdminListView->show();
    QApplication::processEvents();
    FillAdminList();
}

void TSignInScreens::LeaveAdmin() {
    f.AdminListView->hide();
    f.btnAdminPrint->hide();
    f.btnAdminDone->hide();
}

void TSignInScreens::AdminListStart() {
    f.ListedIds.clear();
}

void TSignInScreens::AdminListItem(const QString& id) {
    f.ListedIds << id;
}

// One row per user without test assignments, one row per test assignment
// otherwise, with the test's title and the post-test scores.
void TSignInScreens::FillAdminList() {
    const int next = f.User->GetNextId();
    for (int id = 1; id < next; ++id) {
        if (!f.User->UserExistsByID(id))
            continue;
        UserInfoStruct info;
        info.ID = id;
        f.User->GetUser(info);
        const QStringList userColumns{info.UserName, info.FirstName + " " + info.LastName, info.Password};
        auto* row = new QTreeWidgetItem(f.AdminListView, userColumns);
        row->setData(0, Qt::UserRole, -1);

        f.Assignment->ListAssignmentsByTypes(id, kTestProduct);
        const QStringList assignments = f.ListedIds;
        for (int i = 0; i < assignments.size(); ++i) {
            const int assignmentId = assignments[i].trimmed().toInt();
            if (!f.Assignment->GoToRecord(assignmentId))
                continue;
            // A test gone from the tests store leaves the course column blank.
            f.Testing->OpenTest(f.Assignment->GetProdId());
            if (i > 0)
                row = new QTreeWidgetItem(f.AdminListView, userColumns);
            row->setData(0, Qt::UserRole, assignmentId);
            row->setText(3, f.Testing->GetOpenTitle());
            row->setText(4, ScoreText(f.Assignment->GetLastPost()));
            row->setText(5, ScoreText(f.Assignment->GetBestPost()));
            f.Testing->CloseTest();
        }
    }
    // Rows are ordered by their first column once; the headers do not re-sort.
    f.AdminListView->sortItems(0, Qt::AscendingOrder);
}
