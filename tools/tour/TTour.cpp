#include "TTour.h"
#include "app/TAdminScreen.h"
#include "app/TCatalogueScreen.h"
#include "app/TRegistrationScreen.h"
#include "app/TSignInScreen.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTreeWidget>

#include "TInstallationCopy.h"
#include "app/TBadLogin.h"
#include "data/TUser.h"
#include "lesson/TBookmarkTest.h"
#include "lesson/TBufferingForm.h"
#include "lesson/TChallengeIncorrect.h"
#include "lesson/TGlossaryScreen.h"
#include "lesson/TMoviesDone.h"
#include "lesson/TSteps.h"
#include "lesson/TStreamSelect.h"
#include "platform/gui/TDisplay.h"
#include "program/TProgram.h"
#include "shell/TExitForm.h"
#include "shell/TForm1.h"
#include "shell/TNoticeWindow.h"
#include "skin/TAboutForm.h"
#include "skin/TAboutSkin.h"
#include "skin/TDebugWindow.h"
#include "skin/TPleaseWait.h"
#include "skin/TSelectSkin.h"
#include "testing/TReportPopup.h"
#include "widgets/TDirectory.h"
#include "widgets/TSkinButton.h"

namespace {

QTextStream& Out() {
    static QTextStream out(stdout);
    return out;
}

// The demo learner the installation is seeded with; a first start registers
// a learner of its own.
const char* const DemoUser = "demo";
const char* const DemoPassword = "demo";

QString Slug(const QString& name) {
    QString slug = name.toLower();
    for (QChar& c : slug)
        if (!c.isLetterOrNumber())
            c = '-';
    return slug;
}

} // namespace

TTour::TTour(const QString& outDir)
    : m_out(outDir), m_modals([this](QWidget* w) {
          // A window nobody asked for: keep its picture and what it said.
          QString said = w->metaObject()->className();
          if (auto* box = qobject_cast<QMessageBox*>(w))
              said = "message \"" + box->text() + "\"";
          Shot("unexpected " + QString(w->metaObject()->className()), w);
          Out() << "  unexpected window: " << said << "\n";
          Out().flush();
          if (m_failReason.isEmpty())
              m_failReason = "unexpected window: " + said;
      }) {}

TTour::~TTour() {
    Stop();
}

bool TTour::Run() {
    m_out.mkpath(".");
    for (const QString& old : m_out.entryList({"[0-9][0-9]-*.png"}, QDir::Files))
        m_out.remove(old);
    m_display = std::make_unique<TLinuxDisplay>();
    OnCopy("first start", TCopyLearners::Drop, [this] { FirstStart(); });
    OnCopy("learner session", TCopyLearners::Keep, [this] { LearnerSession(); });
    return m_failures.isEmpty();
}

// --- The parts of the tour ---

void TTour::OnCopy(const QString& part, TCopyLearners learners, const std::function<void()>& body) {
    const QString registry = qEnvironmentVariable("ALTAVO_REGISTRY");
    QTemporaryDir scratch;
    QString error;
    const QString copy = MakeInstallationCopy(registry, scratch.path(), learners, error);
    if (copy.isEmpty()) {
        m_failures << part + ": " + error;
        Out() << "FAILED  " << part << ": " << error << "\n";
        Out().flush();
        return;
    }
    qputenv("ALTAVO_REGISTRY", copy.toUtf8());
    body();
    qputenv("ALTAVO_REGISTRY", registry.toUtf8());
}

void TTour::FirstStart() {
    const bool done =
        Start("first start shows the first-user registration") &&
        Step("first registration: passwords that differ are refused",
             [&] {
                 QString text;
                 Type(m_form->Module<TRegistrationScreen>()->edtRegFirstName, "Pat");
                 Type(m_form->Module<TRegistrationScreen>()->edtRegLastName, "Jordan");
                 Type(m_form->Module<TRegistrationScreen>()->edtRegUserName, "pat");
                 Type(m_form->Module<TRegistrationScreen>()->edtRegPassword, "secret");
                 Type(m_form->Module<TRegistrationScreen>()->edtRegVerifyPassword, "secrte");
                 const bool shown = m_modals.Act(
                     [&] { Click(m_form->Module<TRegistrationScreen>()->btnRegEnter); }, "QMessageBox",
                     [&](QWidget* w) {
                         text = static_cast<QMessageBox*>(w)->text();
                         Shot("message password mismatch", w);
                     });
                 if (!shown)
                     return Fail("no message about the passwords");
                 if (text != "Password and Verify Password do not match.")
                     return Fail("message was \"" + text + "\"");
                 return ExpectScreen(ScreenRegistration);
             }) &&
        Step("first registration signs in and lands on course selection", [&] {
            Type(m_form->Module<TRegistrationScreen>()->edtRegVerifyPassword, "secret");
            QTest::keyClick(m_form->Module<TRegistrationScreen>()->edtRegVerifyPassword, Qt::Key_Return);
            if (!ExpectScreen(ScreenCourseSelection))
                return false;
            Shot("course selection after first registration", m_form.get());
            return true;
        });
    Q_UNUSED(done);
    Stop();
}

void TTour::LearnerSession() {
    if (!Start("player starts on the installation"))
        return;
    // An installation without learners yet: the demo learner registers first.
    if (m_form->CurrentScreen == ScreenRegistration) {
        if (!Step("register the demo learner",
                  [&] { return RegisterFirstUser("Dana", "Miller", DemoUser, DemoPassword); }))
            return;
        Stop();
        if (!Start("player starts again with a learner"))
            return;
    }
    const bool done =
        Step("sign-in screen",
             [&] {
                 if (!ExpectScreen(ScreenSignIn))
                     return false;
                 Shot("sign-in", m_form.get());
                 return true;
             }) &&
        Step("a wrong password shows the bad-login window",
             [&] {
                 Type(m_form->Module<TSignInScreen>()->edtUserName, DemoUser);
                 Type(m_form->Module<TSignInScreen>()->edtPassword, "wrong");
                 const bool shown =
                     m_modals.Act([&] { Click(m_form->Module<TSignInScreen>()->btnLogin); }, "TBadLogin",
                                  [&](QWidget* w) {
                                      Shot("bad login", w);
                                      Click(static_cast<TBadLogin*>(w)->btnClose);
                                  });
                 return (shown || Fail("no bad-login window")) && ExpectScreen(ScreenSignIn);
             }) &&
        Step("add-user form of the registration screen",
             [&] {
                 Click(m_form->Module<TSignInScreen>()->btnAddUser);
                 if (!ExpectScreen(ScreenRegistration))
                     return false;
                 if (!m_form->Module<TRegistrationScreen>()->btnAdd->isVisible() ||
                     !m_form->Module<TRegistrationScreen>()->btnAdmin->isVisible())
                     return Fail("the add-user form lacks its buttons");
                 Shot("registration add user", m_form.get());
                 return true;
             }) &&
        Step("a name that exists is refused in the notice window",
             [&] {
                 Type(m_form->Module<TRegistrationScreen>()->edtRegFirstName, "Dana");
                 Type(m_form->Module<TRegistrationScreen>()->edtRegLastName, "Again");
                 Type(m_form->Module<TRegistrationScreen>()->edtRegUserName, DemoUser);
                 Type(m_form->Module<TRegistrationScreen>()->edtRegPassword, "x");
                 Type(m_form->Module<TRegistrationScreen>()->edtRegVerifyPassword, "x");
                 const int users = m_form->Module<TRegistrationScreen>()->AddUserListBox->count();
                 QString text;
                 const bool shown = m_modals.Act(
                     [&] { Click(m_form->Module<TRegistrationScreen>()->btnAdd); }, "TNoticeWindow",
                     [&](QWidget* w) {
                         auto* notice = static_cast<TNoticeWindow*>(w);
                         text = notice->Text();
                         Shot("notice", w);
                         Click(notice->btnClose);
                     });
                 if (!shown)
                     return Fail("no notice window");
                 if (text != "User Name already exists in the system.")
                     return Fail("notice said \"" + text + "\"");
                 if (m_form->Module<TRegistrationScreen>()->AddUserListBox->count() != users)
                     return Fail("a learner was added");
                 return ExpectScreen(ScreenRegistration);
             }) &&
        Step("administrator screen lists the learners and previews the student log",
             [&] {
                 Click(m_form->Module<TRegistrationScreen>()->btnAdmin);
                 if (!ExpectScreen(ScreenAdmin))
                     return false;
                 if (m_form->Module<TAdminScreen>()->AdminListView->topLevelItemCount() == 0)
                     return Fail("the administrator list is empty");
                 Shot("administrator", m_form.get());
                 const bool previewed = m_modals.Act(
                     [&] { Click(m_form->Module<TAdminScreen>()->btnAdminPrint); }, "QPrintPreviewDialog",
                     [&](QWidget* w) {
                         QTest::qWait(200); // the pages are drawn once it is shown
                         Shot("window student log preview", w);
                         QTest::keyClick(w, Qt::Key_Escape);
                     });
                 if (!previewed)
                     return Fail("\"Print Log\" opened no preview");
                 Click(m_form->Module<TAdminScreen>()->btnAdminDone);
                 return ExpectScreen(ScreenRegistration);
             }) &&
        Step("cancel returns to sign-in",
             [&] {
                 Click(m_form->Module<TRegistrationScreen>()->btnCancel);
                 return ExpectScreen(ScreenSignIn);
             }) &&
        Step("the demo learner signs in",
             [&] {
                 if (!SignIn(DemoUser, DemoPassword))
                     return false;
                 if (m_form->Module<TCatalogueScreen>()->CourseListbox->count() == 0)
                     return Fail("the course list is empty");
                 Shot("course selection", m_form.get());
                 return true;
             }) &&
        Step("help menu and about window",
             [&] {
                 Click(m_form->AboutField);
                 QApplication::processEvents();
                 auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                 if (!menu)
                     return Fail("the help menu did not open");
                 Shot("help menu", menu);
                 QAction* about = nullptr;
                 for (QAction* a : menu->actions())
                     if (a->text() == "About Altavo")
                         about = a;
                 if (!about)
                     return Fail("the help menu has no \"About Altavo\"");
                 const QPoint where = menu->actionGeometry(about).center();
                 const bool shown =
                     m_modals.Act([&] { QTest::mouseClick(menu, Qt::LeftButton, {}, where); }, "TAboutForm",
                                  [&](QWidget* w) {
                                      Shot("about", w);
                                      Click(static_cast<TAboutForm*>(w)->btnClose);
                                  });
                 return shown || Fail("no about window");
             }) &&
        ShortcutWindow("about-skin window", QKeySequence("Ctrl+Shift+A"), m_form->AboutSkin) &&
        ShortcutWindow("skin selection window", QKeySequence("Ctrl+Shift+S"), m_form->SelectSkin) &&
        Step("waiting and streaming windows",
             [&] {
                 ShowOtherWindows();
                 return m_failReason.isEmpty();
             }) &&
        Step("the first course starts on the genesis screen",
             [&] {
                 m_form->Module<TCatalogueScreen>()->CourseListbox->setCurrentRow(0);
                 Click(m_form->Module<TCatalogueScreen>()->btnSelectCourse);
                 if (!ExpectScreen(ScreenGenesis))
                     return false;
                 Shot("genesis", m_form.get());
                 return true;
             }) &&
        LessonScreens() && ChallengeScreens() && TestScreens() &&
        Step("exit window answered No keeps the player",
             [&] {
                 const bool shown = m_modals.Act([&] { Click(m_form->btnClose2); }, "TExitForm",
                                                 [&](QWidget* w) {
                                                     Shot("exit", w);
                                                     Click(static_cast<TExitForm*>(w)->btnNo);
                                                 });
                 if (!shown)
                     return Fail("no exit window");
                 return (m_form->isVisible() || Fail("the player closed")) && ExpectScreen(ScreenMoviePage);
             }) &&
        Step("exit window answered Yes ends the player", [&] {
            const bool shown = m_modals.Act([&] { Click(m_form->btnClose2); }, "TExitForm",
                                            [&](QWidget* w) { Click(static_cast<TExitForm*>(w)->btnYes); });
            return (shown || Fail("no exit window")) &&
                   (!m_form->isVisible() || Fail("the player stayed open"));
        });
    Q_UNUSED(done);
    Stop();
}

// --- Steps and checks ---

bool TTour::Start(const QString& step) {
    return Step(step, [&] {
        bool started = false;
        m_modals.Act([&] {
            m_form = std::make_unique<TForm1>(*m_display);
            started = StartProgram(*m_form);
        });
        if (!started)
            return Fail(m_form->StartFailed ? "the player did not start" : "the skin could not be loaded");
        (void)QTest::qWaitForWindowExposed(m_form.get(), 2000);
        m_form->activateWindow();
        (void)QTest::qWaitForWindowActive(m_form.get(), 2000);
        const int first = m_form->User->Empty() ? ScreenRegistration : ScreenSignIn;
        if (!ExpectScreen(first))
            return false;
        if (first == ScreenRegistration) {
            if (!m_form->Module<TRegistrationScreen>()->btnRegEnter->isVisible())
                return Fail("the first-user form lacks its Enter button");
            Shot("registration first user", m_form.get());
        }
        return true;
    });
}

void TTour::Stop() {
    if (m_form)
        m_form->hide();
    m_form.reset();
    QApplication::processEvents();
}

bool TTour::Step(const QString& name, const std::function<bool()>& body) {
    m_currentStep = name;
    m_failReason.clear();
    const bool ok = body() && m_failReason.isEmpty();
    if (ok) {
        Out() << "ok      " << name << "\n";
    } else {
        const QString reason = m_failReason.isEmpty() ? QStringLiteral("failed") : m_failReason;
        m_failures << name + ": " + reason;
        Out() << "FAILED  " << name << ": " << reason << "\n";
    }
    Out().flush();
    return ok;
}

bool TTour::ExpectScreen(int screen) {
    QApplication::processEvents();
    if (m_form->CurrentScreen == screen)
        return true;
    return Fail(QStringLiteral("expected screen %1, found %2").arg(screen).arg(m_form->CurrentScreen));
}

bool TTour::Fail(const QString& reason) {
    if (m_failReason.isEmpty())
        m_failReason = reason;
    return false;
}

void TTour::Shot(const QString& name, QWidget* widget) {
    QApplication::processEvents();
    const QString file =
        m_out.filePath(QStringLiteral("%1-%2.png").arg(++m_shotNumber, 2, 10, QChar('0')).arg(Slug(name)));
    if (!widget->grab().save(file, "PNG")) {
        Fail("cannot write " + file);
        return;
    }
    m_pictures << file;
}

void TTour::Type(QWidget* box, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        edit->clear();
    QTest::keyClicks(box, text);
}

void TTour::Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

bool TTour::SignIn(const QString& name, const QString& password) {
    Type(m_form->Module<TSignInScreen>()->edtUserName, name);
    Type(m_form->Module<TSignInScreen>()->edtPassword, password);
    QTest::keyClick(m_form->Module<TSignInScreen>()->edtPassword, Qt::Key_Return);
    return ExpectScreen(ScreenCourseSelection);
}

bool TTour::RegisterFirstUser(const QString& first, const QString& last, const QString& user,
                              const QString& password) {
    Type(m_form->Module<TRegistrationScreen>()->edtRegFirstName, first);
    Type(m_form->Module<TRegistrationScreen>()->edtRegLastName, last);
    Type(m_form->Module<TRegistrationScreen>()->edtRegUserName, user);
    Type(m_form->Module<TRegistrationScreen>()->edtRegPassword, password);
    Type(m_form->Module<TRegistrationScreen>()->edtRegVerifyPassword, password);
    Click(m_form->Module<TRegistrationScreen>()->btnRegEnter);
    return ExpectScreen(ScreenCourseSelection);
}

// The hidden help-menu items are reached by their shortcuts on the main
// window. When a shortcut opens nothing, that is a fault of the player worth
// reporting, but the window itself is still shown and photographed.
bool TTour::ShortcutWindow(const QString& name, const QKeySequence& keys, QDialog* window) {
    return Step(name, [&] {
        if (!window)
            return Fail("the player has no such window");
        m_form->activateWindow();
        (void)QTest::qWaitForWindowActive(m_form.get(), 2000);
        const QKeyCombination key = keys[0];
        const QString className = window->metaObject()->className();
        const auto photograph = [&](QWidget* w) { Shot(name, w); };
        if (m_modals.Act([&] { QTest::keyClick(m_form.get(), key.key(), key.keyboardModifiers()); },
                         className, photograph))
            return true;
        m_problems
            << QStringLiteral("%1 opened no window; the window was shown directly").arg(keys.toString());
        Out() << "  problem: " << m_problems.last() << "\n";
        return m_modals.Act([&] { window->exec(); }, className, photograph) ||
               Fail("the window did not open");
    });
}

// The waiting and streaming windows, which a demo installation on a local
// disk hardly shows: please-wait, buffering and the choice of stream. Shown
// one at a time as the player shows them.
void TTour::ShowOtherWindows() {
    TForm1& f = *m_form;
    const std::pair<const char*, QWidget*> windows[] = {
        {"please wait", f.PleaseWait},
        {"buffering", f.BufferingForm},
        {"stream selection", f.StreamSelect},
    };
    for (auto [name, window] : windows) {
        if (!window)
            continue;
        if (window == f.BufferingForm) {
            // Shown the way clip delivery shows it, and photographed once the
            // tip line has scrolled well into the banner.
            f.BufferingForm->ShowProgress(40);
            QTest::qWait(3000);
        } else {
            window->show();
        }
        QApplication::processEvents();
        Shot(QStringLiteral("window %1").arg(name), window);
        window->hide();
        QApplication::processEvents();
    }
}
