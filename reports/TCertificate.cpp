#include "reports/TCertificate.h"

namespace {

TReportFont Times(double points, bool bold = false, bool italic = false) {
    TReportFont font{QStringLiteral("Times New Roman"), points};
    font.Bold = bold;
    font.Italic = italic;
    return font;
}

} // namespace

TCertificate::TCertificate(TCertificateData data)
    : m_data(std::move(data)), QuickRep1(QStringLiteral("Certificate"), QPageLayout::Landscape) {
    TReportBand& title = QuickRep1.TitleBand();
    title.Height = 332;
    title.Add(CentredLabel(QStringLiteral("Completion Award"), 80, Times(48, false, true)));
    title.Add(HorizontalLine(198, 157, 559));
    title.Add(PictureBox(CertificateEmblem(), 413, 175, 136, 143));

    TReportBand& detail = QuickRep1.AddDetailBand(354);
    detail.Add(Label(QStringLiteral("Quenvik, Inc. proudly presents this award to:"), 194, 36, Times(16)));
    TReportElement name = CentredLabel(QString(), 75, Times(28, true, true));
    name.Name = QStringLiteral("Name");
    detail.Add(name);
    TReportElement completion = Memo(QString(), 193, 139, 499, 58, Times(16));
    completion.Text = QStringLiteral("For the successful completion of the training and testing requirements "
                                     "for the following Quenvik program:");
    detail.Add(completion);
    TReportElement course = CentredLabel(QString(), 213, Times(28, true, true));
    course.Name = QStringLiteral("Course");
    detail.Add(course);
    detail.Add(DateField(TElementKind::Date, 799, 278, 0, Qt::AlignHCenter, Times(12)));
    detail.Add(HorizontalLine(751, 296, 129));
    detail.Add(Label(QStringLiteral("Date"), 799, 305, Times(16)));

    QuickRep1.BeforePrint = [this] { QuickRep1BeforePrint(); };
    QuickRep1.NeedData = [this] { return QuickRep1NeedData(); };
}

void TCertificate::QuickRep1BeforePrint() {
    AwardRow = 0;
}

bool TCertificate::QuickRep1NeedData() {
    if (AwardRow == 1)
        return false;
    QuickRep1.SetText(QStringLiteral("Name"), m_data.Name);
    QuickRep1.SetText(QStringLiteral("Course"), m_data.Course);
    ++AwardRow;
    return true;
}

bool SaveCertificatePdf(const QString& path, const TCertificateData& data, QString* error) {
    TCertificate report(data);
    return WritePdf(report.Run(), path, error);
}
