// Windows and skins name their fonts by Windows family names ("MS Sans Serif",
// "Times New Roman", "Arial", "Courier New"). On Linux those names are mapped to
// the metric-compatible Liberation families, so captions keep the line breaks
// and widths the window layouts were drawn for.
#pragma once

// Registers the substitutes and makes the program's default font the Windows
// dialog font (MS Sans Serif, 8 points). Call once, after the application object
// exists and before any window is created.
void UseWindowsFonts();
