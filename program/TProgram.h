#pragma once
class QApplication;
class TForm1;

// What the entry does before the application object exists: the window
// system (windows are placed at absolute positions, which Wayland does not
// allow) and the clip backend, chosen before any multimedia object.
void PrepareProcess();
// What it does right after: the fonts the skins name and the player's
// message boxes.
void PrepareApplication();

// The program entry after the application object exists: title, main window,
// screen modules, secondary windows, skin, first screen, message loop. Returns
// the exit code.
int RunAltavo(QApplication& app);

// The screens of the main window, each a module that owns its controls.
void CreateScreenModules(TForm1& form);
// The windows every run creates right after the main window, even one whose
// start-up failed.
void CreateStartWindows(TForm1& form);
// The windows of a started program, created once and then shown and hidden.
void CreateSecondaryWindows(TForm1& form);
// Applies the skin GraphicDir + SkinDir to the main window, its screens and the
// secondary windows that exist; throws TSkinError when it cannot be loaded.
void LoadSkin(TForm1& form);
// Loads the skin and the buffering window's text, then shows the first
// screen; false (after the message) when the skin cannot be loaded.
bool ShowFirstScreen(TForm1& form);
// Everything the entry does after creating the main window, up to the message
// loop: the screens, the windows, the skin, the first screen, and only then the
// main window itself, centred on the screen (which takes the start-up dialog
// away). False when the start failed; the main window then stays hidden.
bool StartProgram(TForm1& form);
