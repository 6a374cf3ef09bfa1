#pragma once
// The genesis screen (12): the course's introduction in its framed clip panel,
// with the button that moves on to the movie page.
#include "shell/TScreenModule.h"

class TSkinButton;

class TGenesisScreen : public TScreenModule {
    Q_OBJECT
public:
    explicit TGenesisScreen(TForm1& form);

    TSkinButton* btnGenesisContinue;

    void Enter() override;
    void Leave() override;
    void btnGenesisContinueClick();
};
