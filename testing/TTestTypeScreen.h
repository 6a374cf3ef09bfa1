#pragma once
// The test type selection (8): open book (the pre-test, with help) or closed
// book (the timed post-test), an explanation of the type under the mouse, and
// whether to put the questions in a random order.
#include "shell/TScreenModule.h"

class QCheckBox;
class QLabel;
class TSkinButton;
class TTestScreen;

class TTestTypeScreen : public TScreenModule {
    Q_OBJECT
public:
    TTestTypeScreen(TForm1& form, TTestScreen& test);

    TSkinButton* btnOpenbook;
    TSkinButton* btnClosedBook;
    QCheckBox* chkRandom;
    QLabel* lblTestTypeExplaination;

    void Enter() override;
    void ChooseType(bool closedBook);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Explain(bool closedBook);
    TTestScreen& m_test;
};
