#include "reports/TStudyMaterial.h"

namespace {

QString Letter(int choice) {
    return QString(QChar(u'A' + (choice - 1)));
}

QString ChoiceText(const TStudyEntry& entry, int choice) {
    return choice >= 1 && choice <= entry.Choices.size() ? entry.Choices[choice - 1] : QString();
}

TReportFont Bold() {
    TReportFont font;
    font.Bold = true;
    return font;
}

} // namespace

QString CorrectAnswerText(const TStudyEntry& entry, const QString& previous) {
    switch (entry.Type) {
    case 0: // true or false, read as the test run scores it
        return entry.Answer.trimmed() == QLatin1String("TRUE") ? QStringLiteral("TRUE")
                                                               : QStringLiteral("FALSE");
    case 1: { // single choice: the choice's letter and text
        bool ok = false;
        const int n = entry.Answer.trimmed().toInt(&ok);
        // A damaged answer names no choice; no letter before "A" is made up.
        if (!ok || n < 1 || n > 26)
            return QString();
        return Letter(n) + QStringLiteral(": ") + ChoiceText(entry, n);
    }
    case 3: // simulation: every step
        return entry.Choices.join(QLatin1Char('\n'));
    case 5: { // multiple choice: one line per set bit, ascending
        bool ok = false;
        const qlonglong mask = entry.Answer.trimmed().toLongLong(&ok);
        QStringList lines;
        for (int k = 1; ok && k <= std::min<qsizetype>(entry.Choices.size(), 26); ++k)
            if (mask & (qlonglong(1) << (k - 1)))
                lines << Letter(k) + QStringLiteral(": ") + ChoiceText(entry, k);
        return lines.join(QLatin1Char('\n'));
    }
    default:
        return previous;
    }
}

TStudyMaterial::TStudyMaterial(TStudyMaterialData data)
    : m_data(std::move(data)), QuickRep1(QStringLiteral("Study Material")) {
    TReportBand& title = QuickRep1.TitleBand();
    title.Height = 207;
    title.Add(CentredLabel(QStringLiteral("Quenvik"), 43, {QStringLiteral("Times New Roman"), 42}));
    title.Add(Label(QStringLiteral("Study Material for:"), 26, 122, Bold()));
    title.Add(Field(QStringLiteral("Candidate"), 154, 122));
    title.Add(DateField(TElementKind::DateTime, 460, 122, 214, Qt::AlignRight));
    title.Add(Memo(QStringLiteral("TestTitle"), 26, 146, 647, 49));

    TReportBand& question = QuickRep1.AddDetailBand(63);
    question.Add(Label(QStringLiteral("Question:"), 26, 11, Bold()));
    question.Add(Memo(QStringLiteral("Question"), 44, 35, 629));
    TReportBand& answer = QuickRep1.AddDetailBand(63);
    answer.Add(Label(QStringLiteral("Correct Answer:"), 26, 11, Bold()));
    answer.Add(Memo(QStringLiteral("Answer"), 44, 38, 629));
    TReportBand& references = QuickRep1.AddDetailBand(61);
    references.Add(Label(QStringLiteral("References:"), 26, 9, Bold()));
    references.Add(Memo(QStringLiteral("References"), 44, 38, 629));
    QuickRep1.AddDetailBand(14).Add(HorizontalLine(16, 2, 679));

    QuickRep1.BeforePrint = [this] { QuickRep1BeforePrint(); };
    QuickRep1.NeedData = [this] { return QuickRep1NeedData(); };
}

void TStudyMaterial::QuickRep1BeforePrint() {
    QuickRep1.SetText(QStringLiteral("Candidate"), m_data.Candidate);
    QuickRep1.SetText(QStringLiteral("TestTitle"), m_data.TestTitle);
    // Each run starts from a clean answer: no earlier run's text is repeated.
    QuickRep1.SetText(QStringLiteral("Answer"), QString());
    StudyRow = 0;
}

bool TStudyMaterial::QuickRep1NeedData() {
    while (StudyRow < m_data.Entries.size() && m_data.Entries[StudyRow].Correct)
        ++StudyRow;
    if (StudyRow >= m_data.Entries.size())
        return false;
    const TStudyEntry& entry = m_data.Entries[StudyRow];
    QuickRep1.SetText(QStringLiteral("Question"), entry.Question);
    TReportElement& answer = QuickRep1.Element(QStringLiteral("Answer"));
    answer.Text = CorrectAnswerText(entry, answer.Text);
    QuickRep1.SetText(QStringLiteral("References"), entry.References);
    ++StudyRow;
    return true;
}

bool SaveStudyMaterialPdf(const QString& path, const TStudyMaterialData& data, QString* error) {
    TStudyMaterial report(data);
    return WritePdf(report.Run(), path, error);
}
