#pragma once
// The sign-in screen (4): user name and password, the login button while any
// learner exists, and the way to registration.
#include "shell/TScreenModule.h"

class QLineEdit;
class TSkinButton;

class TSignInScreen : public TScreenModule {
    Q_OBJECT
public:
    explicit TSignInScreen(TForm1& form);

    QLineEdit* edtUserName;
    QLineEdit* edtPassword;
    TSkinButton* btnLogin;
    TSkinButton* btnAddUser;

    void Enter() override;
    // Signs in the learner named in the boxes; a wrong name or password shows
    // the bad-login window.
    void SignIn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
