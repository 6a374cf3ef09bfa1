// The preview window: the pages it shows are the report's, its own buttons
// print (saying so when no printer exists) and save PDF and CSV files.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include "PdfReader.h"
#include "QtPrinters.h"
#include "platform/TMessages.h"
#include "reports/TReportPreview.h"
#include "reports/TStudentLog.h"

namespace {

QAction* ActionNamed(QWidget* window, const QString& text) {
    for (QAction* a : window->findChildren<QAction*>())
        if (a->text().remove('&') == text && a->isVisible())
            return a;
    return nullptr;
}

// Answers the next file window with `path`.
void AnswerNextFileDialog(const QString& path) {
    QTimer::singleShot(0, [path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

std::vector<TAdminListRow> Rows(int count) {
    std::vector<TAdminListRow> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({QString("user%1").arg(i), "A Name", "pw", false, -1, "", "", ""});
    return rows;
}

TEST(PreviewTest, ShowsTheReportsPagesAndSavesThemAsPdfAndCsv) {
    QTemporaryDir dir;
    const auto rows = Rows(90);
    TStudentLog log(rows);
    const TReportDocument document = log.Run();
    ASSERT_GT(document.Pages.size(), 1u);
    TPreviewSave csv{"Save as CSV…", "CSV files (*.csv)", "csv", [&](const QString& path, QString* error) {
                         return SaveStudentLogCsv(path, rows, error);
                     }};
    std::unique_ptr<QPrintPreviewDialog> preview(CreateReportPreview(nullptr, document, {csv}));
    preview->show();
    auto* pages = preview->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(pages, nullptr);
    pages->updatePreview();
    EXPECT_EQ(pages->pageCount(), int(document.Pages.size()));
    pages->setCurrentPage(2);
    EXPECT_EQ(pages->currentPage(), 2);

    EXPECT_EQ(ActionNamed(preview.get(), "Print"), nullptr) << "the preview's own print button is replaced";
    ASSERT_NE(ActionNamed(preview.get(), "Print…"), nullptr);

    QAction* savePdf = ActionNamed(preview.get(), "Save as PDF…");
    ASSERT_NE(savePdf, nullptr);
    auto* bar = preview->findChild<QToolBar*>();
    for (QAction* own :
         {ActionNamed(preview.get(), "Print…"), savePdf, ActionNamed(preview.get(), "Save as CSV…")})
        EXPECT_TRUE(bar->widgetForAction(own)->isVisible())
            << own->text().toStdString() << " is hidden behind the tool bar's overflow button";
    AnswerNextFileDialog(dir.filePath("log"));
    savePdf->trigger();
    EXPECT_EQ(PdfPageCount(dir.filePath("log.pdf")), int(document.Pages.size()));

    QAction* saveCsv = ActionNamed(preview.get(), "Save as CSV…");
    ASSERT_NE(saveCsv, nullptr);
    AnswerNextFileDialog(dir.filePath("log.csv"));
    saveCsv->trigger();
    QFile file(dir.filePath("log.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count('\n'), 91);
}

TEST(PreviewTest, PrintingWithoutAPrinterSaysSo) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer";
    TScriptedMessages messages;
    TStudentLog log(Rows(1));
    const TReportDocument document = log.Run();
    EXPECT_FALSE(PrintReport(nullptr, document));
    ASSERT_EQ(messages.Shown.size(), 1);
    EXPECT_TRUE(messages.Shown[0].contains("No printer is installed")) << messages.Shown[0].toStdString();

    std::unique_ptr<QPrintPreviewDialog> preview(CreateReportPreview(nullptr, document));
    ActionNamed(preview.get(), "Print…")->trigger();
    EXPECT_EQ(messages.Shown.size(), 2);
}

TEST(PreviewTest, EmptyReportsAreNotPreviewed) {
    TScriptedMessages messages;
    EXPECT_FALSE(PreviewStudentLog(nullptr, {}));
    EXPECT_FALSE(PreviewStudyMaterial(nullptr, {"Ann Lee", "Test", {}}));
    EXPECT_TRUE(messages.Shown.isEmpty());
    EXPECT_EQ(QApplication::topLevelWidgets().count(), 0);
}

} // namespace
