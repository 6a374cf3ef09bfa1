#include "app/TRegistrationScreen.h"

#include <QLineEdit>
#include <QListWidget>

#include "app/TSignInScreen.h"
#include "data/TUser.h"
#include "platform/TMessages.h"
#include "shell/ControlLayout.h"
#include "shell/TForm1.h"
#include "shell/TNoticeWindow.h"
#include "widgets/TSkinButton.h"

TRegistrationScreen::TRegistrationScreen(TForm1& form)
    : TScreenModule(form, ScreenRegistration, {"Registration Screen", "background", "Blankbk.gif"}) {
    namespace L = ControlLayout;
    const char* const names[] = {"edtRegFirstName", "edtRegLastName", "edtRegUserName", "edtRegPassword",
                                 "edtRegVerifyPassword"};
    QLineEdit** boxes[] = {&edtRegFirstName, &edtRegLastName, &edtRegUserName, &edtRegPassword,
                           &edtRegVerifyPassword};
    for (int i = 0; i < 5; ++i) {
        *boxes[i] = Own(new QLineEdit(&f), names[i]);
        (*boxes[i])->setGeometry(L::FirstRegistrationBox.translated(0, i * L::RegistrationBoxStep));
        if (i >= 3)
            (*boxes[i])->setEchoMode(QLineEdit::Password);
    }
    AddUserListBox = Own(new QListWidget(&f), "AddUserListBox");
    AddUserListBox->setSortingEnabled(true);
    btnRegEnter = Own(new TSkinButton(&f), "btnRegEnter");
    btnAdd = Own(new TSkinButton(&f), "btnAdd");
    btnCancel = Own(new TSkinButton(&f), "btnCancel");
    btnAdmin = Own(new TSkinButton(&f), "btnAdmin");
    btnRegEnter->setGeometry(L::RegEnterButton);
    btnAdd->setGeometry(L::AddButton);
    btnCancel->setGeometry(L::CancelButton);
    btnAdmin->setGeometry(L::AdminButton);

    AddSkin({TSkinStep::BackgroundNames, [this](const TSkinScheme& s) {
                 m_noUsersBackground =
                     s.String("NoUsers Screen", "background", QStringLiteral("Blankbk.gif"));
             }});
    AddSkin(FaceEntry(btnRegEnter, "Registration Screen", "btnEnter"));
    AddSkin(FaceEntry(btnAdd, "Registration Screen", "btnAdd"));
    AddSkin(FaceEntry(btnCancel, "Registration Screen", "btnCancel"));
    // The administrator button's key is optional: older skins have none, and
    // without the key the button keeps its built-in face.
    AddSkin({TSkinStep::MainWindowFaces, [this](const TSkinScheme& s) {
                 if (!s.String("Registration Screen", "btnAdmin").isEmpty())
                     s.Face(btnAdmin, "Registration Screen", "btnAdmin");
             }});

    connect(btnCancel, &QAbstractButton::clicked, this, [this] { f.ShowScreen(ScreenSignIn); });
    connect(btnRegEnter, &QAbstractButton::clicked, this, &TRegistrationScreen::RegisterFirstUser);
    connect(btnAdd, &QAbstractButton::clicked, this, &TRegistrationScreen::AddFurtherUser);
    connect(btnAdmin, &QAbstractButton::clicked, this, [this] { f.ShowScreen(ScreenAdmin); });
    edtRegVerifyPassword->installEventFilter(this);
}

QLineEdit* TRegistrationScreen::Boxes(int i) const {
    QLineEdit* const boxes[] = {edtRegFirstName, edtRegLastName, edtRegUserName, edtRegPassword,
                                edtRegVerifyPassword};
    return boxes[i];
}

// Enter in the verify box acts like the form's main button; the key itself is
// always swallowed.
bool TRegistrationScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edtRegVerifyPassword || !IsEnterPress(event))
        return false;
    if (f.CurrentScreen == ScreenRegistration)
        f.User->Empty() ? RegisterFirstUser() : AddFurtherUser();
    return true;
}

QString TRegistrationScreen::EnterBackground() const {
    return f.User->Empty() ? m_noUsersBackground : BackgroundName();
}

void TRegistrationScreen::Enter() {
    const bool firstUser = f.User->Empty();
    if (firstUser) {
        btnRegEnter->show();
    } else {
        btnAdd->show();
        btnCancel->show();
        btnAdmin->show();
        for (int i = 0; i < 5; ++i)
            Boxes(i)->move(204, 245 + 31 * i);
        AddUserListBox->clear();
        const int next = f.User->GetNextId();
        for (int id = 1; id < next; ++id) {
            UserInfoStruct info;
            info.ID = id;
            if (f.User->GetUser(info))
                AddUserListBox->addItem(info.UserName);
        }
        AddUserListBox->setGeometry(ControlLayout::AddUserList);
        AddUserListBox->show();
    }
    for (int i = 0; i < 5; ++i) {
        Boxes(i)->clear();
        Boxes(i)->show();
    }
    if (!firstUser)
        edtRegFirstName->setFocus();
}

void TRegistrationScreen::Refuse(bool firstUser, const QString& messageText, const QString& noticeText) {
    if (firstUser) {
        Messages().ShowMessage(messageText);
    } else {
        f.NoticeWindow->SetText(noticeText);
        f.NoticeWindow->exec();
    }
}

int TRegistrationScreen::AddUserFromBoxes(bool firstUser) {
    const QString firstName = edtRegFirstName->text();
    const QString lastName = edtRegLastName->text();
    const QString userName = edtRegUserName->text();
    const QString password = edtRegPassword->text();
    if (firstName.isEmpty() || lastName.isEmpty() || userName.isEmpty() || password.isEmpty())
        return -1;
    if (f.User->UserExists(userName)) {
        Refuse(firstUser,
               "User Name of : " + userName +
                   ", Already exists in the system. Please choose a different User Name.",
               QStringLiteral("User Name already exists in the system."));
        return -1;
    }
    if (password != edtRegVerifyPassword->text()) {
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

// The first learner signs in at once with what was typed.
void TRegistrationScreen::RegisterFirstUser() {
    if (AddUserFromBoxes(true) == -1)
        return;
    TSignInScreen* signIn = f.Module<TSignInScreen>();
    signIn->edtUserName->setText(edtRegUserName->text());
    signIn->edtPassword->setText(edtRegPassword->text());
    signIn->SignIn();
}

void TRegistrationScreen::AddFurtherUser() {
    if (AddUserFromBoxes(false) == -1)
        return;
    AddUserListBox->addItem(edtRegUserName->text());
    for (int i = 0; i < 5; ++i)
        Boxes(i)->clear();
    edtRegFirstName->setFocus();
}
