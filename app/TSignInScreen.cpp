#include "app/TSignInScreen.h"

#include <QLineEdit>

#include "app/TBadLogin.h"
#include "data/TUser.h"
#include "shell/ControlLayout.h"
#include "shell/TForm1.h"
#include "widgets/TSkinButton.h"

namespace {
QLineEdit* MakeEdit(QWidget* parent, bool masked) {
    auto* edit = new QLineEdit(parent);
    if (masked)
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}
} // namespace

TSignInScreen::TSignInScreen(TForm1& form)
    : TScreenModule(form, ScreenSignIn, {"User Registration Screen", "background", "Blankbk.gif"}) {
    namespace L = ControlLayout;
    edtUserName = Own(MakeEdit(&f, false), "edtUserName");
    edtPassword = Own(MakeEdit(&f, true), "edtPassword");
    btnLogin = Own(new TSkinButton(&f), "btnLogin");
    btnAddUser = Own(new TSkinButton(&f), "btnAddUser");
    edtUserName->setGeometry(L::UserNameBox);
    edtPassword->setGeometry(L::PasswordBox);
    btnLogin->setGeometry(L::LoginButton);
    btnAddUser->setGeometry(L::AddUserButton);
    AddSkin(FaceEntry(btnLogin, "User Registration Screen", "btnLogin"));
    AddSkin(FaceEntry(btnAddUser, "User Registration Screen", "btnAddUser"));

    connect(btnLogin, &QAbstractButton::clicked, this, &TSignInScreen::SignIn);
    connect(btnAddUser, &QAbstractButton::clicked, this, [this] { f.ShowScreen(ScreenRegistration); });
    edtPassword->installEventFilter(this);
}

// Enter in the password box acts like the login button; the key itself is
// always swallowed.
bool TSignInScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edtPassword || !IsEnterPress(event))
        return false;
    if (f.CurrentScreen == ScreenSignIn)
        SignIn();
    return true;
}

void TSignInScreen::Enter() {
    edtUserName->show();
    edtPassword->show();
    btnLogin->setVisible(!f.User->Empty());
    btnAddUser->show();
    edtUserName->setFocus();
}

void TSignInScreen::SignIn() {
    const QString name = edtUserName->text();
    const QString password = edtPassword->text();
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
