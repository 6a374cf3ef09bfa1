// The certificate: one landscape page, the learner's name centred, the test
// title below the completion text, the emblem in its box; the same single
// page on every run.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "PdfReader.h"
#include "QtPrinters.h"
#include "reports/TCertificate.h"

namespace {

// The centre of the landscape band in points: margin plus half of 10 inches.
constexpr double BandCentre = (48 + 480) * 0.75;

TEST(CertificateTest, AnnLeeCentredWithTheTitleBelowTheCompletionText) {
    QTemporaryDir dir;
    const QString path = dir.filePath("award.pdf");
    TCertificate certificate({"Ann Lee", "Fire Safety – Part 1"});
    certificate.Report().Clock = [] { return QDateTime(QDate(2026, 5, 4), QTime(10, 0)); };
    ASSERT_TRUE(WritePdf(certificate.Run(), path));
    EXPECT_EQ(PdfPageCount(path), 1);
    EXPECT_EQ(PdfPageSize(path), "792 x 612");

    const auto words = PdfWords(path);
    const TPdfWord award = FindPhrase(words, "Completion Award");
    const TPdfWord name = FindPhrase(words, "Ann Lee");
    const TPdfWord completion = FindPhrase(words, "For the successful completion");
    const TPdfWord program = FindPhrase(words, "Quenvik program:");
    const TPdfWord title = FindPhrase(words, "Fire Safety – Part 1");
    const TPdfWord date = FindPhrase(words, "5/4/2026");
    for (const TPdfWord* w : {&award, &name, &completion, &program, &title, &date})
        ASSERT_FALSE(w->Text.isEmpty()) << PdfText(path).toStdString();
    EXPECT_NEAR(name.CentreX(), BandCentre, 2);
    EXPECT_NEAR(title.CentreX(), BandCentre, 2);
    EXPECT_NEAR(award.CentreX(), BandCentre, 2);
    EXPECT_LT(award.YMax, name.YMin);
    EXPECT_LT(name.YMax, completion.YMin);
    EXPECT_LT(program.YMax, title.YMin) << "the test title comes below the completion text";
    EXPECT_LT(title.YMax, date.YMin);
    EXPECT_NEAR(date.XMin, (48 + 799) * 0.75, 2);
}

TEST(CertificateTest, EmblemIsDrawnInItsBox) {
    QTemporaryDir dir;
    const QString path = dir.filePath("award.pdf");
    ASSERT_TRUE(SaveCertificatePdf(path, {"Ann Lee", "Test"}));
    const QImage page = PdfPage(path, 1, 96); // one pixel per 1/96 inch
    ASSERT_EQ(page.size(), QSize(1056, 816));
    auto coloured = [&](QRect box) {
        int count = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                count += QColor(page.pixel(x, y)).saturation() > 80;
        return count;
    };
    const QRect emblem(48 + 413, 48 + 175, 136, 143);
    EXPECT_GT(coloured(emblem), emblem.width() * emblem.height() / 3);
    EXPECT_EQ(coloured(emblem.translated(-200, 0)), 0);
}

TEST(CertificateTest, EveryRunPrintsTheSameSinglePage) {
    TCertificate certificate({"Ann Lee", "Test"});
    const TReportDocument first = certificate.Run();
    const TReportDocument second = certificate.Run();
    ASSERT_EQ(first.Pages.size(), 1u);
    ASSERT_EQ(second.Pages.size(), 1u);
    ASSERT_EQ(first.Pages[0].Items.size(), second.Pages[0].Items.size());
    for (std::size_t i = 0; i < first.Pages[0].Items.size(); ++i) {
        EXPECT_EQ(first.Pages[0].Items[i].Text, second.Pages[0].Items[i].Text);
        EXPECT_EQ(first.Pages[0].Items[i].Rect, second.Pages[0].Items[i].Rect);
    }
}

} // namespace
