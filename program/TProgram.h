#pragma once
class QApplication;
class TForm1;

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
