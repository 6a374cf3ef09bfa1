#include "reports/TStudentLog.h"

#include <QStringList>

namespace {

QString CsvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// "80%" -> "80"; blank stays blank.
QString CsvScore(const QString& score) {
    return score.endsWith(QLatin1Char('%')) ? score.chopped(1) : score;
}

} // namespace

TStudentLog::TStudentLog(std::vector<TAdminListRow> rows)
    : m_rows(std::move(rows)), QuickRep1(QStringLiteral("Student Log")) {
    TReportBand& title = QuickRep1.TitleBand();
    title.Height = 40;
    title.Add(
        CentredLabel(QStringLiteral("Quenvik Student Log"), 10, {QStringLiteral("Times New Roman"), 18}));
    const double dateBox = 300;
    title.Add(DateField(TElementKind::DateTime, 708 - dateBox, 22, dateBox, Qt::AlignRight));

    TReportBand& header = QuickRep1.ColumnHeaderBand();
    header.Height = 40;
    const std::pair<const char*, double> captions[] = {{"UserName", 21},       {"Name", 104},
                                                       {"Password", 209},      {"Course", 303},
                                                       {"Last PostTest", 520}, {"Best PostTest", 614}};
    for (const auto& [caption, left] : captions)
        header.Add(Label(QString::fromLatin1(caption), left, 16));
    header.Add(HorizontalLine(12, 34, 695));

    TReportBand& detail = QuickRep1.AddDetailBand(25);
    detail.Add(Field(QStringLiteral("Username"), 21, 3));
    detail.Add(Field(QStringLiteral("Name"), 103, 3));
    detail.Add(Field(QStringLiteral("Password"), 210, 3));
    detail.Add(Field(QStringLiteral("Course"), 303, 3));
    // The scores are centred on their columns.
    const double scoreBox = 80;
    detail.Add(Field(QStringLiteral("LastPost"), 561 - scoreBox / 2, 3, scoreBox, Qt::AlignHCenter));
    detail.Add(Field(QStringLiteral("BestPost"), 659 - scoreBox / 2, 3, scoreBox, Qt::AlignHCenter));

    QuickRep1.BeforePrint = [this] { QuickRep1BeforePrint(); };
    QuickRep1.NeedData = [this] { return QuickRep1NeedData(); };
}

void TStudentLog::QuickRep1BeforePrint() {
    LogRow = 0;
}

bool TStudentLog::QuickRep1NeedData() {
    if (LogRow >= m_rows.size())
        return false;
    const TAdminListRow& r = m_rows[LogRow];
    QuickRep1.SetText(QStringLiteral("Username"), r.UserName);
    QuickRep1.SetText(QStringLiteral("Name"), r.Name);
    QuickRep1.SetText(QStringLiteral("Password"), r.Password);
    QuickRep1.SetText(QStringLiteral("Course"), r.HasAssignment ? r.Course : QString());
    QuickRep1.SetText(QStringLiteral("LastPost"), r.HasAssignment ? r.LastPost : QString());
    QuickRep1.SetText(QStringLiteral("BestPost"), r.HasAssignment ? r.BestPost : QString());
    ++LogRow;
    return true;
}

QByteArray StudentLogCsv(const std::vector<TAdminListRow>& rows) {
    QString csv = QStringLiteral("User Name,Real Name,Password,Course,Last Post Test,Best Post Test\r\n");
    for (const TAdminListRow& r : rows) {
        const QStringList fields{CsvField(r.UserName), CsvField(r.Name),     CsvField(r.Password),
                                 CsvField(r.Course),   CsvScore(r.LastPost), CsvScore(r.BestPost)};
        csv += fields.join(QLatin1Char(',')) + QLatin1String("\r\n");
    }
    return csv.toUtf8();
}

bool SaveStudentLogPdf(const QString& path, const std::vector<TAdminListRow>& rows, QString* error) {
    TStudentLog report(rows);
    return WritePdf(report.Run(), path, error);
}

bool SaveStudentLogCsv(const QString& path, const std::vector<TAdminListRow>& rows, QString* error) {
    return WriteFileAtomically(path, StudentLogCsv(rows), error);
}
