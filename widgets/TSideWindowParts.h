#pragma once
// The parts the side windows (directory, challenges, glossary list) share: a
// 41-pixel title panel in the side-window colour over a special list box in
// the same colour, filling the window.
#include <QtGlobal>

class QLabel;
class QWidget;
class TSpecialListBox;

inline constexpr quint32 SideWindowColour = 44930213; // red 165, green 148, blue 173

struct TSideWindowParts {
    QWidget* Panel;
    QLabel* Title;         // centred, word-wrapped plain text in bold Times New Roman
    TSpecialListBox* List; // frameless, 13-pixel Times New Roman, black text
};

// Lays the parts out in window, which must have no layout yet.
TSideWindowParts MakeSideWindowParts(QWidget* window);
