// The main window's controls. Every screen's controls exist for the whole run
// and start hidden; each screen's enter routine places and shows its own.
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTreeWidget>

#include "app/ControlLayout.h"
#include "app/TForm1.h"
#include "widgets/TGifImage.h"
#include "widgets/TLabelEffect.h"
#include "widgets/TMovieButtonX.h"
#include "widgets/TSkinButton.h"

namespace {
template <typename T> T* Hidden(T* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    control->hide();
    return control;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, bool masked) {
    auto* edit = Hidden(new QLineEdit(parent), name);
    if (masked)
        edit->setEchoMode(QLineEdit::Password);
    edit->resize(170, 24);
    return edit;
}
} // namespace

void TForm1::CreateControls() {
    Background = new TGifImage(this);
    Background->setObjectName(QStringLiteral("Background"));
    Background->setGeometry(0, 0, 640, 480);
    Background->SetStretch(true);
    Background->show();

    MBX = Hidden(new TMovieButtonX(this), "MBX");
    Image1 = Hidden(new TGifImage(MBX), "Image1");
    Image1->SetAutoSize(true);
    MovieFrame = Hidden(new TGifImage(this), "MovieFrame");
    MovieFrame->SetAutoSize(true);
    PageName = Hidden(new TLabelEffect(this), "PageName");
    MoviePanel = Hidden(new QWidget(this), "MoviePanel");
    MoviePanel->setAutoFillBackground(true);
    MoviePanel->setPalette(QPalette(Qt::black));

    CourseListbox = Hidden(new QListWidget(this), "CourseListbox");

    edtUserName = MakeEdit(this, "edtUserName", false);
    edtPassword = MakeEdit(this, "edtPassword", true);
    edtRegFirstName = MakeEdit(this, "edtRegFirstName", false);
    edtRegLastName = MakeEdit(this, "edtRegLastName", false);
    edtRegUserName = MakeEdit(this, "edtRegUserName", false);
    edtRegPassword = MakeEdit(this, "edtRegPassword", true);
    edtRegVerifyPassword = MakeEdit(this, "edtRegVerifyPassword", true);
    AddUserListBox = Hidden(new QListWidget(this), "AddUserListBox");
    AddUserListBox->setSortingEnabled(true);

    AdminListView = Hidden(new QTreeWidget(this), "AdminListView");
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

    struct ButtonSlot {
        TSkinButton** button;
        const char* name;
    };
    const ButtonSlot buttons[] = {
        {&btnLogin, "btnLogin"},
        {&btnAddUser, "btnAddUser"},
        {&btnRegEnter, "btnRegEnter"},
        {&btnAdd, "btnAdd"},
        {&btnCancel, "btnCancel"},
        {&btnAdmin, "btnAdmin"},
        {&btnSelectCourse, "btnSelectCourse"},
        {&btnGenesisContinue, "btnGenesisContinue"},
        {&BtnPlay, "BtnPlay"},
        {&btnPause, "btnPause"},
        {&btnStop, "btnStop"},
        {&btnOpenbook, "btnOpenbook"},
        {&btnClosedBook, "btnClosedBook"},
        {&btnLeft, "btnLeft"},
        {&btnRight, "btnRight"},
        {&btnItemReview, "btnItemReview"},
        {&btnExhibit, "btnExhibit"},
        {&btnHint, "btnHint"},
        {&btnReference, "btnReference"},
        {&btnTReport, "btnTReport"},
        {&btnMain, "btnMain"},
        {&btnMarkclosed, "btnMarkclosed"},
        {&btnMarkOpen, "btnMarkOpen"},
        {&btnReviewIncomplete, "btnReviewIncomplete"},
        {&btnRevEnd, "btnRevEnd"},
        {&btnReview, "btnReview"},
        {&btnPrintStudyGuide, "btnPrintStudyGuide"},
        {&btnPrintCertificate, "btnPrintCertificate"},
        {&btnYes, "btnYes"},
        {&btnNo, "btnNo"},
        {&DirectoryField, "DirectoryField"},
        {&TestField, "TestField"},
        {&ChallengeField, "ChallengeField"},
        {&SearchField, "SearchField"},
        {&InteractField, "InteractField"},
        {&btnAdminDone, "btnAdminDone"},
        {&btnAdminPrint, "btnAdminPrint"},
        {&AboutField, "AboutField"},
        {&MinimizeField, "MinimizeField"},
        {&Exitfield, "Exitfield"},
        {&btnHelp2, "btnHelp2"},
        {&btnMinimize2, "btnMinimize2"},
        {&btnClose2, "btnClose2"},
        {&btnSteps, "btnSteps"},
    };
    for (const ButtonSlot& slot : buttons)
        *slot.button = Hidden(new TSkinButton(this), slot.name);

    // The first set of window buttons is always there, at the top right.
    AboutField->setGeometry(580, 2, 17, 15);
    MinimizeField->setGeometry(600, 2, 17, 15);
    Exitfield->setGeometry(619, 2, 17, 15);
    btnHelp2->setGeometry(600, 0, 12, 11);
    btnMinimize2->setGeometry(613, 0, 12, 11);
    btnClose2->setGeometry(626, 0, 12, 11);
    for (TSkinButton* b : {AboutField, MinimizeField, Exitfield})
        b->show();

    // Where the screens keep their controls; the skins draw their pictures
    // around these places.
    namespace L = ControlLayout;
    edtUserName->setGeometry(L::UserNameBox);
    edtPassword->setGeometry(L::PasswordBox);
    btnLogin->setGeometry(L::LoginButton);
    btnAddUser->setGeometry(L::AddUserButton);
    QLineEdit* registration[] = {edtRegFirstName, edtRegLastName, edtRegUserName, edtRegPassword,
                                 edtRegVerifyPassword};
    for (int i = 0; i < 5; ++i)
        registration[i]->setGeometry(L::FirstRegistrationBox.translated(0, i * L::RegistrationBoxStep));
    btnRegEnter->setGeometry(L::RegEnterButton);
    btnAdd->setGeometry(L::AddButton);
    btnCancel->setGeometry(L::CancelButton);
    btnAdmin->setGeometry(L::AdminButton);
    btnSelectCourse->setGeometry(L::SelectCourseButton);
    btnGenesisContinue->setGeometry(L::GenesisContinueButton);
    btnAdminPrint->setGeometry(L::AdminPrintButton);
    btnAdminDone->setGeometry(L::AdminDoneButton);
    PageName->setGeometry(L::PageNameLabel);
    TSkinButton* fields[] = {DirectoryField, TestField, ChallengeField, SearchField, InteractField};
    for (int i = 0; i < 5; ++i)
        fields[i]->setGeometry(L::FieldButtons[i]);
    btnOpenbook->setGeometry(L::OpenBookButton);
    btnClosedBook->setGeometry(L::ClosedBookButton);
    TSkinButton* testButtons[] = {btnLeft,      btnRight,   btnItemReview, btnExhibit, btnHint,
                                  btnReference, btnTReport, btnMarkOpen,   btnMain};
    for (int i = 0; i < 9; ++i)
        testButtons[i]->setGeometry(L::TestButtonLefts[i], L::TestButtonTop, L::TestButton.width(),
                                    L::TestButton.height());
    btnMarkclosed->setGeometry(btnMarkOpen->geometry());
    btnReview->setGeometry(L::ReviewButton);
    btnReviewIncomplete->setGeometry(L::ReviewIncompleteButton);
    btnRevEnd->setGeometry(L::ReviewEndButton);
    btnPrintStudyGuide->setGeometry(L::StudyGuideButton);
    btnPrintCertificate->setGeometry(L::CertificateButton);
    btnYes->setGeometry(L::BookmarkYesButton);
    btnNo->setGeometry(L::BookmarkNoButton);

    AboutPopup = new QMenu(this);
    AboutPopup->setObjectName(QStringLiteral("AboutPopup"));
}

// Start-up step that readies controls of later screens.
void TForm1::PrepareControls() {
    MBX->SetArrowLeftMargin(-8);
    MBX->SetStretchBackground(true);
    MBX->SetTopMargin(0);
    MBX->resize(1, 1);
    PageName->hide();
    PageName->SetShowAccelChar(false);
    edtUserName->clear();
    edtPassword->clear();
    TestRunning = false;
    ContinueLater = false;
    CourseOpen = false;
    ClipOpen = false;
    CurrentScreen = ScreenNone;
}
