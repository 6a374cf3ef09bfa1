// The banded engine: no output without rows, pagination (column headers on
// every page, a row's bands kept together, a memo taller than a page broken
// without losing a line), the same pages on every device, embedded fonts.
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "PdfReader.h"
#include "QtPrinters.h"
#include "reports/TStudentLog.h"
#include "reports/TStudyMaterial.h"

namespace {

QStringList Matches(const QString& text, const QString& pattern) {
    QStringList found;
    for (auto it = QRegularExpression(pattern).globalMatch(text); it.hasNext();)
        found << it.next().captured(0);
    return found;
}

TStudyEntry Wrong(const QString& question) {
    TStudyEntry e;
    e.Question = question;
    e.Type = 1;
    e.Answer = "1";
    e.Choices = {"Only choice"};
    e.References = "Chapter 1";
    return e;
}

class ReportEngineTest : public ::testing::Test {
protected:
    QString File(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(ReportEngineTest, ReportWithoutRowsHasNoPagesAndLeavesNoFile) {
    TReport report("Empty");
    report.TitleBand().Height = 40;
    report.TitleBand().Add(Label("Title only", 0, 0));
    report.AddDetailBand(20).Add(Field("X", 0, 0));
    int asked = 0;
    report.NeedData = [&] { return ++asked < 0; };
    const TReportDocument document = report.Run();
    EXPECT_TRUE(document.IsEmpty());
    EXPECT_EQ(asked, 1);

    QString error;
    EXPECT_FALSE(WritePdf(document, File("empty.pdf"), &error));
    EXPECT_FALSE(QFile::exists(File("empty.pdf")));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(ReportEngineTest, StudentLogRepeatsColumnHeadersOnEveryPageAndPrintsEachRowOnce) {
    std::vector<TAdminListRow> rows;
    for (int i = 1; i <= 300; ++i)
        rows.push_back(
            {QString("u%1").arg(i, 3, 10, QChar('0')), "Some Name", "pw", true, i, "Course", "80%", "90%"});
    ASSERT_TRUE(SaveStudentLogPdf(File("log.pdf"), rows));
    const int pages = PdfPageCount(File("log.pdf"));
    ASSERT_GT(pages, 5);
    QStringList seen;
    for (int page = 1; page <= pages; ++page) {
        const QString text = PdfText(File("log.pdf"), page);
        const QStringList lines = text.split('\n', Qt::SkipEmptyParts);
        // The header is the first line of every page but the first, whose
        // title comes before it.
        const QString header = lines.value(page == 1 ? 1 : 0);
        for (const char* caption :
             {"UserName", "Name", "Password", "Course", "Last PostTest", "Best PostTest"})
            EXPECT_TRUE(header.contains(caption)) << "page " << page << ": " << header.toStdString();
        EXPECT_EQ(text.count("UserName"), 1) << "page " << page;
        seen << Matches(text, R"(\bu\d{3}\b)");
    }
    ASSERT_EQ(seen.size(), 300);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(seen[i], QString("u%1").arg(i + 1, 3, 10, QChar('0')));
}

TEST_F(ReportEngineTest, RowBandsStayTogetherOnAPage) {
    TStudyMaterialData data{"Ann Lee", "Test", {}};
    for (int i = 0; i < 30; ++i)
        data.Entries.push_back(Wrong(QString("Question number %1").arg(i)));
    ASSERT_TRUE(SaveStudyMaterialPdf(File("rows.pdf"), data));
    const int pages = PdfPageCount(File("rows.pdf"));
    ASSERT_GT(pages, 2);
    int questions = 0;
    for (int page = 1; page <= pages; ++page) {
        const QString text = PdfText(File("rows.pdf"), page);
        const int q = int(text.count("Question:"));
        EXPECT_EQ(text.count("Correct Answer:"), q) << "page " << page;
        EXPECT_EQ(text.count("References:"), q) << "page " << page;
        questions += q;
    }
    EXPECT_EQ(questions, 30);
}

TEST_F(ReportEngineTest, MemoTallerThanAPageContinuesOnTheNextLosingNoWord) {
    QStringList words;
    for (int i = 1; i <= 1000; ++i)
        words << QString("w%1").arg(i, 4, 10, QChar('0'));
    const QString question = words.join(' ');
    ASSERT_EQ(question.size(), 5999);
    TStudyMaterialData data{"Ann Lee", "Test", {Wrong(question), Wrong("After the long one")}};
    ASSERT_TRUE(SaveStudyMaterialPdf(File("long.pdf"), data));
    ASSERT_GE(PdfPageCount(File("long.pdf")), 2);
    const QString text = PdfText(File("long.pdf"));
    EXPECT_EQ(Matches(text, R"(\bw\d{4}\b)"), words);
    // The rest of the row and the next row follow the memo.
    EXPECT_LT(text.indexOf("w1000"), text.indexOf("Correct Answer:"));
    EXPECT_LT(text.indexOf("Chapter 1"), text.indexOf("After the long one"));
}

// The pages are laid out once: a printer at screen resolution gets the same
// words on the same pages as the 1200-dpi PDF.
TEST_F(ReportEngineTest, EveryDeviceGetsTheSamePages) {
    TStudyMaterialData data{"Ann Lee", "A title long enough to wrap? No, just a title", {}};
    for (int i = 0; i < 12; ++i)
        data.Entries.push_back(Wrong(QString("Word wrapped question %1 ").arg(i).repeated(12)));
    TStudyMaterial report(data);
    const TReportDocument document = report.Run();
    ASSERT_TRUE(WritePdf(document, File("writer.pdf")));

    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(File("printer.pdf"));
    printer.setPageLayout(document.PageLayout());
    printer.setFullPage(true);
    ASSERT_TRUE(PaintDocument(printer, document));

    const auto a = PdfWords(File("writer.pdf"));
    const auto b = PdfWords(File("printer.pdf"));
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].Text, b[i].Text) << i;
        EXPECT_EQ(a[i].Page, b[i].Page) << a[i].Text.toStdString();
        EXPECT_NEAR(a[i].YMin, b[i].YMin, 1.5) << a[i].Text.toStdString();
    }
}

TEST_F(ReportEngineTest, PdfEmbedsTheMetricCompatibleFonts) {
    TStudyMaterialData data{"Ann Lee", "Test", {Wrong("Why?")}};
    ASSERT_TRUE(SaveStudyMaterialPdf(File("fonts.pdf"), data));
    const QStringList fonts = PdfFonts(File("fonts.pdf")).split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(fonts.isEmpty());
    bool sans = false, serif = false;
    for (const QString& line : fonts) {
        sans |= line.contains("LiberationSans");
        serif |= line.contains("LiberationSerif");
        // Columns: name, type (one or two words), encoding, emb, sub, uni, object, generation.
        const QStringList columns = line.split(' ', Qt::SkipEmptyParts);
        ASSERT_GE(columns.size(), 8);
        EXPECT_EQ(columns[columns.size() - 5], "yes") << "embedded: " << line.toStdString();
    }
    EXPECT_TRUE(sans) << "Arial";
    EXPECT_TRUE(serif) << "Times New Roman";
}

} // namespace
