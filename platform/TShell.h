#pragma once
// Handing documents and programs to the desktop.
#include <QString>

// Opens a file or address with the desktop's default handler; false when no
// handler could be started.
bool ShellOpen(const QString& fileOrUrl);
