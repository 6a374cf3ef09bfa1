#include "reports/TReportPreview.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QToolBar>

#include "platform/TMessages.h"
#include "reports/TStudentLog.h"

namespace {

const char* const NoPrinterText = "No printer is installed, so the report cannot be printed. "
                                  "Use \"Save as PDF…\" in the preview to keep it as a file.";

// Asks for a file name in the program's own file window (the same on every
// desktop); empty when cancelled.
QString AskSavePath(QWidget* parent, const QString& caption, const QString& filter, const QString& suffix) {
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setObjectName(QStringLiteral("reportSaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void SetUpPrinter(QPrinter& printer, const TReportDocument& document) {
    printer.setPageLayout(document.PageLayout());
    printer.setFullPage(true); // the pages carry their own margins
    printer.setDocName(document.Title);
}

void AddSaveAction(QPrintPreviewDialog* preview, QToolBar* bar, TPreviewSave save) {
    QAction* action = bar->addAction(save.Caption);
    QObject::connect(action, &QAction::triggered, preview, [preview, save] {
        const QString path = AskSavePath(preview, save.Caption, save.NameFilter, save.Suffix);
        if (path.isEmpty())
            return;
        QString error;
        if (!save.Save(path, &error))
            Messages().ShowMessage(QStringLiteral("The report could not be saved: ") + error);
    });
}

} // namespace

QPrintPreviewDialog* CreateReportPreview(QWidget* parent, const TReportDocument& document,
                                         std::vector<TPreviewSave> saves) {
    auto* printer = new QPrinter(QPrinter::HighResolution);
    SetUpPrinter(*printer, document);
    auto* preview = new QPrintPreviewDialog(printer, parent);
    QObject::connect(preview, &QObject::destroyed, [printer] { delete printer; });
    preview->setWindowTitle(document.Title);
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                     [document](QPrinter* target) { PaintDocument(*target, document); });

    // The preview's own print, page-setup and orientation buttons go: pages
    // are laid out once for their paper and orientation, and printing must say
    // when no printer exists.
    QToolBar* bar = preview->findChild<QToolBar*>();
    for (QAction* action : preview->findChildren<QAction*>()) {
        const QString text = action->text().remove(QLatin1Char('&'));
        if (text == QLatin1String("Print") || text == QLatin1String("Page setup") ||
            text == QLatin1String("Portrait") || text == QLatin1String("Landscape"))
            action->setVisible(false);
    }
    if (bar) {
        bar->addSeparator();
        QAction* print = bar->addAction(QStringLiteral("Print…"));
        print->setObjectName(QStringLiteral("reportPrintAction"));
        QObject::connect(print, &QAction::triggered, preview,
                         [preview, document] { PrintReport(preview, document); });
        saves.insert(saves.begin(),
                     TPreviewSave{QStringLiteral("Save as PDF…"), QStringLiteral("PDF files (*.pdf)"),
                                  QStringLiteral("pdf"), [document](const QString& path, QString* error) {
                                      return WritePdf(document, path, error);
                                  }});
        for (TPreviewSave& save : saves)
            AddSaveAction(preview, bar, std::move(save));
        // Wide enough for the whole tool bar: printing and saving must never
        // hide behind its overflow button.
        const QSize wanted(std::max(bar->sizeHint().width() + 40, 800), 700);
        const QScreen* screen = preview->screen();
        preview->resize(screen ? wanted.boundedTo(screen->availableGeometry().size()) : wanted);
    }
    return preview;
}

bool PreviewReport(QWidget* parent, const TReportDocument& document, std::vector<TPreviewSave> saves) {
    if (document.IsEmpty())
        return false;
    QPrintPreviewDialog* preview = CreateReportPreview(parent, document, std::move(saves));
    preview->exec();
    delete preview;
    return true;
}

bool PrintReport(QWidget* parent, const TReportDocument& document) {
    if (document.IsEmpty())
        return false;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        Messages().ShowMessage(QString::fromUtf8(NoPrinterText));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, document);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, int(document.Pages.size()));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    int first = 1, last = int(document.Pages.size());
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = printer.toPage();
    }
    if (!PaintDocument(printer, document, first, last)) {
        Messages().ShowMessage(QStringLiteral("The report could not be printed."));
        return false;
    }
    return true;
}

bool PreviewStudyMaterial(QWidget* parent, const TStudyMaterialData& data) {
    TStudyMaterial report(data);
    return PreviewReport(parent, report.Run());
}

bool PreviewStudentLog(QWidget* parent, const std::vector<TAdminListRow>& rows) {
    TStudentLog report(rows);
    TPreviewSave csv{
        QStringLiteral("Save as CSV…"), QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv"),
        [rows](const QString& path, QString* error) { return SaveStudentLogCsv(path, rows, error); }};
    return PreviewReport(parent, report.Run(), {csv});
}

bool PreviewCertificate(QWidget* parent, const TCertificateData& data) {
    TCertificate report(data);
    return PreviewReport(parent, report.Run());
}
