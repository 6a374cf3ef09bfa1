// Times the reports against their goals: a student log of 10,000 rows to PDF
// (under 3 s, under 200 MB resident) and a certificate to PDF (under 200 ms).
// Usage: altavo-report-bench [ROWS] [OUTPUT_DIR]
// With OUTPUT_DIR the PDFs are kept there (award.pdf, log.pdf).
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

#include "reports/TCertificate.h"
#include "reports/TStudentLog.h"

namespace {

double PeakResidentMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    const int rowCount = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    QTemporaryDir temporary;
    const QDir dir(argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path());

    // Certificates first: the first one pays for loading the fonts.
    std::vector<double> certificateMs;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!SaveCertificatePdf(dir.filePath("award.pdf"), {"Ann Lee", "Fire Safety – Part 1"}))
            return 1;
        certificateMs.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double firstCertificate = certificateMs.front();
    std::sort(certificateMs.begin(), certificateMs.end());

    std::vector<TAdminListRow> rows;
    rows.reserve(rowCount);
    for (int i = 0; i < rowCount; ++i)
        rows.push_back({QString("user%1").arg(i, 5, 10, QChar('0')), QString("First%1 Last%1").arg(i),
                        "password", true, i, "Fire Safety – Part 1", QString("%1%").arg(i % 101),
                        QString("%1%").arg(100 - i % 101)});
    QElapsedTimer timer;
    timer.start();
    TStudentLog log(rows);
    const TReportDocument document = log.Run();
    const double layoutMs = timer.nsecsElapsed() / 1e6;
    if (!WritePdf(document, dir.filePath("log.pdf")))
        return 1;
    const double logMs = timer.nsecsElapsed() / 1e6;

    std::printf("certificate to PDF: first %.1f ms, median %.1f ms of 10\n", firstCertificate,
                certificateMs[certificateMs.size() / 2]);
    std::printf("student log of %d rows to PDF: %.0f ms (layout %.0f ms), %zu pages\n", rowCount, logMs,
                layoutMs, document.Pages.size());
    std::printf("peak resident memory: %.0f MB\n", PeakResidentMb());
    return 0;
}
