#pragma once
// The student log: the administrator list on paper, one line per row with
// user name, full name, password, course and the last and best post-test
// scores, the column captions at the top of every page.
#include <QByteArray>
#include <vector>

#include "reports/TAdminList.h"
#include "reports/TReport.h"

class TStudentLog {
public:
    explicit TStudentLog(std::vector<TAdminListRow> rows);
    TStudentLog(const TStudentLog&) = delete;
    TStudentLog& operator=(const TStudentLog&) = delete;

    TReportDocument Run() { return QuickRep1.Run(); }
    TReport& Report() { return QuickRep1; }

private:
    void QuickRep1BeforePrint();
    bool QuickRep1NeedData();

    std::vector<TAdminListRow> m_rows;
    TReport QuickRep1;
    std::size_t LogRow = 0;
};

// The rows as CSV: UTF-8, a header row with the list's column captions,
// fields quoted where they need it, lines ended by CR LF, scores as plain
// numbers or empty.
QByteArray StudentLogCsv(const std::vector<TAdminListRow>& rows);

// Entry points for the screens and the command-line tool. No PDF is written
// for an empty list; the CSV then holds its header row only.
bool SaveStudentLogPdf(const QString& path, const std::vector<TAdminListRow>& rows, QString* error = nullptr);
bool SaveStudentLogCsv(const QString& path, const std::vector<TAdminListRow>& rows, QString* error = nullptr);
