// Shared set-up of the small skinned windows: borderless top-level windows of a
// fixed client size, placed centred on the screen or over the main window.
#pragma once

#include <QSize>

class QWidget;

// Frameless top-level window of a fixed client size; `stayOnTop` adds the
// tool-window and stay-on-top hints.
void MakeSkinnedWindow(QWidget* window, QSize clientSize, bool stayOnTop = true);

// The program's main window (the top-level TForm1), or nullptr before it exists.
QWidget* FindMainWindow();

// left = main left + (main width - own width) div 2, the same for top; division
// truncates toward zero. Without a main window the window is centred on the screen.
void CentreOverMainWindow(QWidget* window);
void CentreOver(QWidget* window, const QWidget* mainWindow);
void CentreOnScreen(QWidget* window);
