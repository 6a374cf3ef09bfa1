#include "shell/TForm1.h"

#include <QApplication>

#include "data/TEngineSession.h"
#include "platform/TConfiguration.h"
#include "platform/TMessages.h"
#include "platform/TPaths.h"
#include "platform/gui/TDisplay.h"
#include "shell/TScreenModule.h"
#include "skin/TInitDialog.h"
#include "skin/uLoadSkins.h"

TForm1::TForm1(TDisplay& display, QWidget* parent) : QWidget(parent), m_display(display) {
    setWindowTitle(QStringLiteral("Altavo"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(640, 480);
    CreateControls();
    ConnectWindowButtons();
    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
    // The screen modules watch controls of this window; they go before the
    // controls do.
    m_modules.clear();
    // The secondary windows are top-level windows of their own, freed in the
    // order they were created.
    for (auto& window : m_windows)
        window.reset();
    delete InitDialog;
}

void TForm1::OwnWindow(QWidget* window) {
    m_windows.emplace_back(window);
}

void TForm1::AddScreen(TScreenModule* module) {
    m_modules.emplace_back(module);
}

TScreenModule* TForm1::ScreenModule(int screen) const {
    for (const auto& m : m_modules)
        if (m->Screen() == screen)
            return m.get();
    return nullptr;
}

TSkinEntries TForm1::SkinEntries() {
    TSkinEntries entries;
    for (const auto& m : m_modules)
        entries.insert(entries.end(), m->SkinEntries().begin(), m->SkinEntries().end());
    const TSkinEntries own = OwnSkinEntries();
    entries.insert(entries.end(), own.begin(), own.end());
    entries.insert(entries.end(), WindowSkinEntries.begin(), WindowSkinEntries.end());
    return entries;
}

void TForm1::LoadSkin() {
    ::LoadSkin(SkinEntries(), GraphicDir + SkinDir);
}

// The start-up dialog shows while the program starts and goes when the main
// window is first shown.
void TForm1::CreateStartupDialog() {
    InitDialog = new TInitDialog();
    InitDialog->show();
    // The rest of start-up keeps the event loop waiting; let the window
    // system map the dialog now so the picture is on screen meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    InitDialog->repaint();
}

void TForm1::FormShow() {
    delete InitDialog;
    InitDialog = nullptr;
}

void TForm1::HideSideWindows() {
    for (QWidget* window : SideWindows)
        window->hide();
}

// The creation handler: display depth, configuration, engine, table objects.
// Any fatal failure leaves StartFailed set and returns; the program entry then
// ends before the message loop.
void TForm1::FormCreate() {
    StartFailed = true;
    CreateStartupDialog();
    CurrentSessionId = 0;
    if (!CheckDisplay())
        return;
    if (!ReadConfiguration())
        return;
    PrepareControls();
    if (!LoadEngine())
        return;
    if (!CheckDatabaseDirectory())
        return;
    CreateTableObjects();
    if (!TablesOpened())
        return;
    ListedIds.clear();
    StartFailed = false;
}

// A desktop of more than 256 colours passes. On an 8-bit desktop look for a
// mode of at least 15 bits per pixel in three passes (same size and refresh
// rate, same size at 60 Hz, 640 by 480 at any rate) and offer to switch.
bool TForm1::CheckDisplay() {
    const TDisplayMode now = m_display.CurrentMode();
    if (now.BitsPerPixel > 8)
        return true;

    struct Pass {
        int width, height;
        bool sameRefresh; // the rate must match, and is part of the request
        int refresh;
    };
    // The first pass asks for the current rate even when the display reports
    // it as 0; only the last pass leaves the rate out.
    const Pass passes[] = {
        {now.Width, now.Height, true, now.Refresh}, {now.Width, now.Height, true, 60}, {640, 480, false, 0}};
    TDisplayMode found;
    bool haveMode = false;
    bool withRefresh = false;
    for (const Pass& pass : passes) {
        TDisplayMode mode;
        for (int i = 0; !haveMode && m_display.EnumMode(i, mode); ++i) {
            if (mode.Width == pass.width && mode.Height == pass.height && mode.BitsPerPixel >= 15 &&
                (!pass.sameRefresh || mode.Refresh == pass.refresh)) {
                found = mode;
                haveMode = true;
                withRefresh = pass.sameRefresh;
            }
        }
        if (haveMode)
            break;
    }
    if (!haveMode) {
        Messages().ShowMessage(QStringLiteral("Your computer doesn't support graphic modes higher than 8bit. "
                                              "Please contact Quenvik's technical support"));
        return false;
    }
    if (!Messages().Ask(
            QStringLiteral("Your graphics mode needs to be in higher than 8bit. We have detected that "
                           "this is possible. Would you like us to automatically adjust this setting "
                           "for you?")))
        return false;

    switch (m_display.ChangeMode(found, withRefresh)) {
    case TModeChange::Success:
        return true;
    case TModeChange::RestartNeeded:
        if (Messages().Ask(
                QStringLiteral("You will need to reboot your system for the video mode changes to take "
                               "place. Would you like to do that now?"))) {
            RestartRequested = m_display.Restart();
            if (!RestartRequested)
                Messages().ShowMessageCaption(QStringLiteral("Exit Error"), QStringLiteral("Restart Failed"));
        } else {
            Messages().ShowMessage(QStringLiteral("You need to restart your computer now."));
        }
        return false;
    case TModeChange::Failed:
        Messages().ShowMessage(QStringLiteral("Error on Video Mode"));
        return true;
    }
    return true;
}

// The installation's directories from the registry.
bool TForm1::ReadConfiguration() {
    TConfiguration configuration;
    if (!::ReadConfiguration(configuration)) {
        Messages().ShowMessage(QStringLiteral("Registry entry not found for the home directory"));
        return false;
    }
    DatabaseDir = configuration.DatabaseDir;
    GraphicDir = configuration.GraphicDir;
    SkinDir = configuration.SkinDir;
    HelpDir = configuration.HelpDir;
    return true;
}

// Loads the engine library and starts an engine session. A missing entry
// point is reported by name and start-up goes on; a missing library ends it.
bool TForm1::LoadEngine() {
    if (!EngineLibrary.Load(EngineLibraryFileName(), EngineLibraryDirs())) {
        Messages().ShowMessage(QStringLiteral("Unable to load C4DSTAND.DLL"));
        return false;
    }
    TEngineSessionOptions options;
    options.EngineMessages = true;
    options.OnMissingEntryPoint = [](const char* name) {
        Messages().ShowMessage(QString::fromLatin1(name) + QStringLiteral(" failed to receive"));
    };
    m_engineSession = std::make_unique<TEngineSession>(EngineLibrary, options);
    EngineHandle = m_engineSession->Engine();
    return true;
}

// Shutdown: only after a successful start-up. Saves what must survive, then
// frees the tables and releases the engine.
void TForm1::FormDestroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    if (!StartFailed)
        SaveSessionState();
    FreeTableObjects();
    m_engineSession.reset();
    EngineHandle = nullptr;
}
