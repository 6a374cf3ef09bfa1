// The bookmark-test window: asks whether a test left part-way through should be
// kept to be continued later. `Result` is true for Yes.
#pragma once

#include "skin/TYesNoWindow.h"

class TBookmarkTest : public TYesNoWindow {
    Q_OBJECT
public:
    explicit TBookmarkTest(QWidget* parent = nullptr)
        : TYesNoWindow(false, TPlacement::CentredOverMainWindow, parent) {}

    bool Result = false;

protected:
    void SetAnswer(bool yes) override { Result = yes; }
};
