#pragma once
// The certificate: a one-page completion award for a learner and a test,
// landscape, with the program's emblem.
#include <QImage>
#include <QString>

#include "reports/TReport.h"

struct TCertificateData {
    QString Name;   // first name + " " + last name
    QString Course; // the test's title
};

// The emblem printed on every certificate, drawn by the program itself.
QImage CertificateEmblem();

class TCertificate {
public:
    explicit TCertificate(TCertificateData data);
    TCertificate(const TCertificate&) = delete;
    TCertificate& operator=(const TCertificate&) = delete;

    TReportDocument Run() { return QuickRep1.Run(); }
    TReport& Report() { return QuickRep1; }

private:
    void QuickRep1BeforePrint();
    bool QuickRep1NeedData();

    TCertificateData m_data;
    TReport QuickRep1;
    int AwardRow = 0;
};

bool SaveCertificatePdf(const QString& path, const TCertificateData& data, QString* error = nullptr);
