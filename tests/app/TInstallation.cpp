#include "TInstallation.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "app/TSignInScreen.h"
#include "widgets/TSkinButton.h"
#include "platform/TRegistry.h"
#include "program/TProgram.h"

TInstallation::TInstallation() {
    QDir(m_dir.path()).mkpath("db");
    QDir(m_dir.path()).mkpath("media");
    qputenv("ALTAVO_REGISTRY", RegistryFile().toUtf8());
    qputenv("ALTAVO_ENGINE_DIR", qgetenv("ALTAVO_BIN"));
    TRegistry reg(RegistryFile());
    reg.OpenKey(ConfigurationKey, true);
    reg.WriteString("DatabaseDir", Path("db"));
    // The demo skins are made by the build, beside bin/.
    reg.WriteString("GraphicDir", QString::fromUtf8(qgetenv("ALTAVO_BIN")) + "/../skins");
    reg.WriteString("SkinDir", "Default/");
    reg.WriteString("HelpDir", Path("help"));
}

TInstallation::~TInstallation() {
    Stop();
    qunsetenv("ALTAVO_REGISTRY");
    qunsetenv("ALTAVO_ENGINE_DIR");
}

TForm1& TInstallation::StartSignedIn(const QString& user, const QString& password) {
    TForm1& f = Start();
    f.Module<TSignInScreen>()->edtUserName->setText(user);
    f.Module<TSignInScreen>()->edtPassword->setText(password);
    QTest::mouseClick(f.Module<TSignInScreen>()->btnLogin, Qt::LeftButton);
    return f;
}

TForm1& TInstallation::Start() {
    m_form = std::make_unique<TForm1>(Display);
    StartProgram(*m_form);
    return *m_form;
}

void TInstallation::Stop() {
    m_form.reset();
}

void TInstallation::SetStreamDir(const QString& courseId, const QString& dir) {
    TRegistry reg(RegistryFile());
    reg.OpenKey(QString(ConfigurationKey) + "\\" + courseId, true);
    reg.WriteString("StreamDir", dir);
}

void OnNextModal(std::function<void(QWidget*)> handle, QString* seen) {
    auto* timer = new QTimer();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, handle, seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        timer->stop();
        timer->deleteLater();
        if (seen)
            *seen = modal->metaObject()->className();
        handle(modal);
        if (modal->isVisible())
            modal->close();
    });
    timer->start();
}
