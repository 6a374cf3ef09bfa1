// The exit window: the skin's "Misc"/"Exit" picture with Yes and No. Closing
// the program asks here; `ExitRequested` holds the answer.
#pragma once

#include "skin/TYesNoWindow.h"

class TExitForm : public TYesNoWindow {
    Q_OBJECT
public:
    explicit TExitForm(QWidget* parent = nullptr) : TYesNoWindow(true, TPlacement::CentredOnScreen, parent) {}

    bool ExitRequested = false;

protected:
    void SetAnswer(bool yes) override { ExitRequested = yes; }
};
