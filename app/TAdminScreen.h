#pragma once
// The administrator list (15): every learner with the title and post-test
// scores of each test assigned, printable as the student log.
#include <vector>

#include "reports/TAdminList.h"
#include "shell/TScreenModule.h"

class QTreeWidget;
class TSkinButton;

class TAdminScreen : public TScreenModule {
    Q_OBJECT
public:
    explicit TAdminScreen(TForm1& form);

    QTreeWidget* AdminListView;
    TSkinButton* btnAdminPrint;
    TSkinButton* btnAdminDone;

    void Enter() override;
    void FillAdminList();
    void btnAdminPrintClick();

private:
    std::vector<TAdminListRow> m_rows; // as shown, for the student log
};
