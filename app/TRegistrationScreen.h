#pragma once
// Registration (13) in its two forms: the first learner's form when the users
// table is empty (who then signs in at once), else the add-user form with the
// list of learners and the way to the administrator list.
#include "shell/TScreenModule.h"

class QLineEdit;
class QListWidget;
class TSkinButton;

class TRegistrationScreen : public TScreenModule {
    Q_OBJECT
public:
    explicit TRegistrationScreen(TForm1& form);

    QLineEdit* edtRegFirstName;
    QLineEdit* edtRegLastName;
    QLineEdit* edtRegUserName;
    QLineEdit* edtRegPassword;
    QLineEdit* edtRegVerifyPassword;
    QListWidget* AddUserListBox;
    TSkinButton* btnRegEnter;
    TSkinButton* btnAdd;
    TSkinButton* btnCancel;
    TSkinButton* btnAdmin;

    QString EnterBackground() const override;
    void Enter() override;
    void RegisterFirstUser();
    void AddFurtherUser();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Steps shared by both forms: the new user's ID, or -1 when a box is empty
    // or the user was refused (the refusal already shown).
    int AddUserFromBoxes(bool firstUser);
    void Refuse(bool firstUser, const QString& messageText, const QString& noticeText);
    QLineEdit* Boxes(int i) const;

    QString m_noUsersBackground = QStringLiteral("Blankbk.gif");
};
