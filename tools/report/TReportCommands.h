#pragma once
// The commands of altavo-report, on the installation the registry store names.
#include <QString>
#include <QTextStream>

enum ReportExit {
    Done = 0,
    Refused = 1,      // unknown user, test or session; not passed; nothing to print
    Usage = 2,        // bad command line
    NotAvailable = 3, // no installation, engine missing, output not writable
};

struct TReportRequest {
    QString Command; // "student-log", "certificate", "study-material"
    QString Pdf, Csv, User, Test, Session;
};

// Runs one request; messages go to `err`, a note of what was written to `out`.
ReportExit RunReport(const TReportRequest& request, QTextStream& out, QTextStream& err);
