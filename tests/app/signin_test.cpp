// Sign-in, registration and the administrator list, driven through the real
// main window with clicks and key presses.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewWidget>
#include <QTest>
#include <QTreeWidget>

#include "TInstallation.h"
#include "app/TAdminScreen.h"
#include "app/TRegistrationScreen.h"
#include "app/TSignInScreen.h"
#include "data/TAssignment.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "shell/TExitForm.h"
#include "shell/TNoticeWindow.h"
#include "widgets/TSkinButton.h"

namespace {
void Type(QLineEdit* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
}

void Register(TForm1& f, const QString& first, const QString& last, const QString& user,
              const QString& password, const QString& verify) {
    Type(f.Module<TRegistrationScreen>()->edtRegFirstName, first);
    Type(f.Module<TRegistrationScreen>()->edtRegLastName, last);
    Type(f.Module<TRegistrationScreen>()->edtRegUserName, user);
    Type(f.Module<TRegistrationScreen>()->edtRegPassword, password);
    Type(f.Module<TRegistrationScreen>()->edtRegVerifyPassword, verify);
}

UserInfoStruct UserById(TForm1& f, int id) {
    UserInfoStruct info;
    info.ID = id;
    f.User->GetUser(info);
    return info;
}
} // namespace

TEST(SignIn, FirstRegistrationRefusalsThenSignsInToCourseSelection) {
    TInstallation install;
    TForm1& f = install.Start();
    ASSERT_FALSE(f.StartFailed);
    ASSERT_EQ(f.CurrentScreen, ScreenRegistration) << "an empty users table starts on registration";
    EXPECT_TRUE(f.Module<TRegistrationScreen>()->btnRegEnter->isVisible());
    EXPECT_FALSE(f.Module<TRegistrationScreen>()->btnAdd->isVisible());

    Register(f, "Ann", "Lee", "ann", "pw1", "pw2");
    QTest::mouseClick(f.Module<TRegistrationScreen>()->btnRegEnter, Qt::LeftButton);
    EXPECT_EQ(install.Messages.Shown.value(0), "Password and Verify Password do not match.");
    EXPECT_TRUE(f.User->Empty());

    Register(f, "Ann", "", "ann", "pw1", "pw1");
    QTest::mouseClick(f.Module<TRegistrationScreen>()->btnRegEnter, Qt::LeftButton);
    EXPECT_TRUE(f.User->Empty()) << "an empty required box does nothing";

    Register(f, "Ann", "Lee", "ann", "pw1", "pw1");
    QTest::keyClick(f.Module<TRegistrationScreen>()->edtRegVerifyPassword, Qt::Key_Return);
    EXPECT_EQ(f.CurrentScreen, ScreenCourseSelection);
    EXPECT_EQ(f.CurrentUserId, 1);
    UserInfoStruct ann = UserById(f, 1);
    EXPECT_EQ(ann.FirstName, "Ann");
    EXPECT_EQ(ann.LastName, "Lee");
    EXPECT_EQ(ann.Password, "pw1");
    EXPECT_EQ(ann.EmpId, 1);
    EXPECT_EQ(ann.Status, 1);
    EXPECT_EQ(install.Messages.Shown.size(), 1);
}

class SignInWithUsers : public ::testing::Test {
protected:
    void SetUp() override {
        TForm1& f = install.Start();
        UserInfoStruct info;
        info.UserName = "Ann";
        info.Password = "Secret";
        ASSERT_EQ(f.User->AddUser(info), 1);
        install.Stop();
        form = &install.Start();
        ASSERT_EQ(form->CurrentScreen, ScreenSignIn);
    }
    TInstallation install;
    TForm1* form = nullptr;
};

TEST_F(SignInWithUsers, EnterWithEmptyNameDoesNothing) {
    TForm1& f = *form;
    QString seen;
    Type(f.Module<TSignInScreen>()->edtPassword, "Secret");
    QTest::keyClick(f.Module<TSignInScreen>()->edtPassword, Qt::Key_Return);
    EXPECT_EQ(f.CurrentScreen, ScreenSignIn);
    EXPECT_EQ(f.CurrentUserId, 0);
}

TEST_F(SignInWithUsers, WrongPasswordAndUnknownNameShowBadLogin) {
    TForm1& f = *form;
    struct Case {
        const char* name;
        const char* password;
        int userIdAfter;
    } cases[] = {{"Ann", "secret", -1}, {"Ann", "Secret ", -1}, {"Nobody", "Secret", 0}};
    for (const Case& c : cases) {
        f.CurrentUserId = 0;
        Type(f.Module<TSignInScreen>()->edtUserName, c.name);
        Type(f.Module<TSignInScreen>()->edtPassword, c.password);
        QString seen;
        OnNextModal([](QWidget*) {}, &seen);
        QTest::mouseClick(f.Module<TSignInScreen>()->btnLogin, Qt::LeftButton);
        EXPECT_EQ(seen, "TBadLogin") << c.name << "/" << c.password;
        EXPECT_EQ(f.CurrentScreen, ScreenSignIn);
        EXPECT_EQ(f.CurrentUserId, c.userIdAfter);
    }
    Type(f.Module<TSignInScreen>()->edtUserName, "Ann");
    Type(f.Module<TSignInScreen>()->edtPassword, "Secret");
    QTest::mouseClick(f.Module<TSignInScreen>()->btnLogin, Qt::LeftButton);
    EXPECT_EQ(f.CurrentScreen, ScreenCourseSelection);
    EXPECT_EQ(f.CurrentUserId, 1);
}

TEST_F(SignInWithUsers, AddUserFormRefusalsInNoticeWindowAndCaseDistinctNames) {
    TForm1& f = *form;
    QTest::mouseClick(f.Module<TSignInScreen>()->btnAddUser, Qt::LeftButton);
    ASSERT_EQ(f.CurrentScreen, ScreenRegistration);
    EXPECT_TRUE(f.Module<TRegistrationScreen>()->btnAdd->isVisible());
    EXPECT_TRUE(f.Module<TRegistrationScreen>()->btnCancel->isVisible());
    EXPECT_EQ(f.Module<TRegistrationScreen>()->edtRegVerifyPassword->pos(), QPoint(204, 245 + 4 * 31));
    ASSERT_EQ(f.Module<TRegistrationScreen>()->AddUserListBox->count(), 1);

    struct Refusal {
        const char* user;
        const char* verify;
        const char* notice;
    } refusals[] = {{"Ann", "pw", "User Name already exists in the system."},
                    {"Bob", "other", "Password and Verify Password do not match."}};
    for (const Refusal& r : refusals) {
        Register(f, "B", "C", r.user, "pw", r.verify);
        QString seen, text;
        OnNextModal([&](QWidget* w) { text = static_cast<TNoticeWindow*>(w)->Text(); }, &seen);
        QTest::mouseClick(f.Module<TRegistrationScreen>()->btnAdd, Qt::LeftButton);
        EXPECT_EQ(seen, "TNoticeWindow");
        EXPECT_EQ(text, r.notice);
    }
    EXPECT_TRUE(install.Messages.Shown.isEmpty());

    Register(f, "Ann", "Small", "ann", "pw", "pw");
    QTest::mouseClick(f.Module<TRegistrationScreen>()->btnAdd, Qt::LeftButton);
    EXPECT_EQ(f.CurrentScreen, ScreenRegistration);
    EXPECT_EQ(f.Module<TRegistrationScreen>()->AddUserListBox->count(), 2);
    EXPECT_TRUE(f.Module<TRegistrationScreen>()->edtRegUserName->text().isEmpty());
    EXPECT_EQ(f.User->UserbyName("ann"), 2);
    EXPECT_EQ(f.User->UserbyName("Ann"), 1);

    QTest::mouseClick(f.Module<TRegistrationScreen>()->btnCancel, Qt::LeftButton);
    EXPECT_EQ(f.CurrentScreen, ScreenSignIn);
}

TEST_F(SignInWithUsers, AdministratorListOneRowPerUserOrTestAssignment) {
    TForm1& f = *form;
    UserInfoStruct bob;
    bob.UserName = "Bob";
    bob.Password = "pw";
    ASSERT_EQ(f.User->AddUser(bob), 2);
    bob.FirstName = "Bob";
    bob.LastName = "Stone";
    f.User->UpdateUser(bob);
    // T1 is in the tests store, T2 is not: T2's row must not borrow T1's title.
    ASSERT_TRUE(f.Testing->AddTest("T1", "", "", "T1Q", "Word Test"));
    f.Assignment->AddAssignment(2, 257, 0, "T1");
    f.Assignment->AddAssignment(2, 258, 0, "C1");
    f.Assignment->AddAssignment(2, 257, 0, "T2");
    ASSERT_TRUE(f.Assignment->GoToAssignment(2, "T2"));
    f.Assignment->SetLastPost(0); // a real score of nothing still shows
    f.Assignment->SetBestPost(90);

    f.ShowScreen(ScreenAdmin);
    EXPECT_EQ(f.CurrentScreen, ScreenAdmin);
    QTreeWidget* list = f.Module<TAdminScreen>()->AdminListView;
    ASSERT_EQ(list->topLevelItemCount(), 3);
    QTreeWidgetItem* ann = list->topLevelItem(0);
    EXPECT_EQ(ann->text(0), "Ann");
    EXPECT_EQ(ann->data(0, Qt::UserRole).toInt(), -1);
    EXPECT_TRUE(ann->text(3).isEmpty());
    QStringList bobScores;
    for (int i = 1; i < 3; ++i) {
        QTreeWidgetItem* row = list->topLevelItem(i);
        EXPECT_EQ(row->text(0), "Bob");
        EXPECT_EQ(row->text(1), "Bob Stone");
        EXPECT_EQ(row->text(2), "pw");
        bobScores << row->text(3) + "/" + row->text(4) + "/" + row->text(5);
    }
    bobScores.sort();
    EXPECT_EQ(bobScores, (QStringList{"/0%/90%", "Word Test//"}));

    // The print button previews the list as shown: the student log.
    QString opened;
    QString firstPage;
    OnNextModal(
        [&](QWidget* w) {
            if (auto* preview = w->findChild<QPrintPreviewWidget*>())
                firstPage = QString::number(preview->pageCount());
        },
        &opened);
    QTest::mouseClick(f.Module<TAdminScreen>()->btnAdminPrint, Qt::LeftButton);
    EXPECT_EQ(opened, "QPrintPreviewDialog");
    EXPECT_EQ(firstPage, "1");
}

TEST_F(SignInWithUsers, ExitAnsweredNoAndSameScreenAgain) {
    TForm1& f = *form;
    OnNextModal([](QWidget* w) {
        auto* exitForm = qobject_cast<TExitForm*>(w);
        ASSERT_NE(exitForm, nullptr);
        QTest::mouseClick(exitForm->btnNo, Qt::LeftButton);
    });
    QTest::mouseClick(f.Exitfield, Qt::LeftButton);
    EXPECT_EQ(f.CurrentScreen, ScreenSignIn);
    EXPECT_TRUE(f.isVisible());

    // Showing the screen again runs leave and enter: the boxes come back.
    f.Module<TSignInScreen>()->edtUserName->hide();
    f.ShowScreen(ScreenSignIn);
    EXPECT_EQ(f.CurrentScreen, ScreenSignIn);
    EXPECT_TRUE(f.Module<TSignInScreen>()->edtUserName->isVisible());
}
