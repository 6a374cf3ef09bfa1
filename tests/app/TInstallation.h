#pragma once
// A complete installation in a temporary directory for tests that drive the
// real main window: registry file, database directory, the demo skin, and the
// main window with its windows created as the program entry creates them.
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "QtPrinters.h"
#include "TFakeDisplay.h"
#include "platform/TMessages.h"
#include "shell/TForm1.h"

class TInstallation {
public:
    TInstallation();
    ~TInstallation();

    // Makes the main window, its windows and the first screen, as at start-up.
    TForm1& Start();
    TForm1& Form() { return *m_form; }
    // Starts and signs `user` in on the sign-in screen with the login button.
    TForm1& StartSignedIn(const QString& user, const QString& password);
    // Ends the run: shutdown as when the program closes.
    void Stop();

    QString Path(const QString& relative) const { return m_dir.filePath(relative); }
    QString RegistryFile() const { return Path("registry.ini"); }
    // Writes the per-course registry key with its media directory.
    void SetStreamDir(const QString& courseId, const QString& dir);

    TScriptedMessages Messages;
    TFakeDisplay Display;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TForm1> m_form;
};

// Runs `handle` on the next modal window to open (then closes it if the
// handler left it open), so tests can click through modal windows. Returns the
// class name of the window that was handled, through `seen`.
void OnNextModal(std::function<void(QWidget*)> handle, QString* seen = nullptr);
