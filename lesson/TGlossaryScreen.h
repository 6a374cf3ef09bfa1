// The glossary term window: one term and its definition over the clip area.
#pragma once

#include <QWidget>

class QLabel;
class TSkinButton;

class TGlossaryScreen : public QWidget {
    Q_OBJECT
public:
    explicit TGlossaryScreen(QWidget* parent = nullptr);

    QLabel* Term;
    QLabel* Definition;
    TSkinButton* btnClose;

    void btnCloseClick();
};
