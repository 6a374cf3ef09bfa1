#pragma once
// Handing documents and programs to the desktop.
#include <QString>

// Opens a file or address with the desktop's default handler; an executable
// file is started. False when nothing could be started.
bool ShellOpen(const QString& fileOrUrl);

// Finds a top-level window whose window class (X11 WM_CLASS, name or class
// part) is className, and shows it normally and raised. False when there is
// no such window or the session is not an X11 one.
bool ShowWindowOfClass(const QString& className);
