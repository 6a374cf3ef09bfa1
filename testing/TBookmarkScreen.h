#pragma once
// The continue-the-test screen (11): an attempt left to be continued later is
// taken up again (Yes, with the whole time limit) or given up for a new one (No).
#include "shell/TScreenModule.h"

class TSkinButton;
class TTestScreen;

class TBookmarkScreen : public TScreenModule {
    Q_OBJECT
public:
    TBookmarkScreen(TForm1& form, TTestScreen& test);

    TSkinButton* btnYes;
    TSkinButton* btnNo;

    void Enter() override;
    void btnYesClick();
    void btnNoClick();

private:
    TTestScreen& m_test;
};
