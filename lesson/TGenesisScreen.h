#pragma once
// The genesis screen (12): the course's introduction in its framed clip panel,
// with the button that moves on to the movie page.
#include <QObject>

class TForm1;

class TGenesisScreen : public QObject {
    Q_OBJECT
public:
    explicit TGenesisScreen(TForm1& form);

    void ShowGenesis();
    void HideGenesis();
    void btnGenesisContinueClick();

private:
    TForm1& f;
};
