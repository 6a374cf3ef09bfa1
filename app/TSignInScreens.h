#pragma once
// Sign-in (screen 4), registration in its two forms (screen 13) and the
// administrator list (screen 15).
#include <QObject>

class TForm1;
struct UserInfoStruct;

class TSignInScreens : public QObject {
    Q_OBJECT
public:
    explicit TSignInScreens(TForm1& form);

    void SignIn();
    void RegisterFirstUser();
    void AddFurtherUser();
    void FillAdminList();

    // The assignment list events while screen 15 is shown.
    void AdminListStart();
    void AdminListItem(const QString& id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EnterSignIn();
    void LeaveSignIn();
    void EnterRegistration();
    void LeaveRegistration();
    void EnterAdmin();
    void LeaveAdmin();
    // Steps shared by both registration forms: the new user's ID, or -1 when
    // a box is empty or the user was refused (the refusal already shown).
    int AddUserFromBoxes(bool firstUser);
    void Refuse(bool firstUser, const QString& messageText, const QString& noticeText);

    TForm1& f;
};
