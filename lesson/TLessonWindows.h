#pragma once
// Wires the lesson's secondary windows to the main window and the movie page
// once they all exist: the directory's rows and marks, the glossary list and
// its term window, the steps window's button, the diagnostics window's
// readings of the clip player, and the side windows following the main
// window when it is dragged.
class TForm1;

void ConnectLessonWindows(TForm1& form);
