#pragma once
// The preview window of the reports (Qt's print preview) with printing through
// the system's printer dialog, page navigation and "Save as PDF…"; the
// student log adds "Save as CSV…".
#include <QString>
#include <functional>
#include <vector>

#include "reports/TAdminList.h"
#include "reports/TCertificate.h"
#include "reports/TReportDocument.h"
#include "reports/TStudyMaterial.h"

class QPrintPreviewDialog;
class QWidget;

// Another way to keep the report, offered in the preview's tool bar.
struct TPreviewSave {
    QString Caption;    // "Save as CSV…"
    QString NameFilter; // "CSV files (*.csv)"
    QString Suffix;     // "csv", added when the chosen name has none
    std::function<bool(const QString& path, QString* error)> Save;
};

// The preview window for a laid-out report, not yet shown; the caller owns it.
// Its print button asks for a printer (saying so when none is installed), its
// "Save as PDF…" button writes the same pages as a PDF.
QPrintPreviewDialog* CreateReportPreview(QWidget* parent, const TReportDocument& document,
                                         std::vector<TPreviewSave> saves = {});
// Shows the preview modally. False, with nothing shown, for a report without rows.
bool PreviewReport(QWidget* parent, const TReportDocument& document, std::vector<TPreviewSave> saves = {});
// Prints through the system's printer dialog. False when nothing was printed:
// no printer installed (the user is told), the dialog cancelled, or an empty report.
bool PrintReport(QWidget* parent, const TReportDocument& document);

// The three reports' preview entry points for the screens.
bool PreviewStudyMaterial(QWidget* parent, const TStudyMaterialData& data);
bool PreviewStudentLog(QWidget* parent, const std::vector<TAdminListRow>& rows);
bool PreviewCertificate(QWidget* parent, const TCertificateData& data);
