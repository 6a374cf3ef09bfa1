#include "StoredCheck.h"

#include "AnswersBlockBytes.h"
#include "DemoInstallation.h"

QStringList TableDump(const QString& reader, const QString& script, const QString& db) {
    int code = 0;
    const QString out = RunProgram(reader, {script, db}, &code, 60000);
    if (code != 0)
        return {reader + " failed: " + out};
    QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

QString LineDifference(const QStringList& read, const QStringList& expected) {
    QStringList lines;
    for (const QString& line : expected)
        if (!read.contains(line))
            lines << "- " + line;
    for (const QString& line : read)
        if (!expected.contains(line))
            lines << "+ " + line;
    if (lines.isEmpty() && read.size() != expected.size())
        lines << QString("%1 lines read, %2 expected").arg(read.size()).arg(expected.size());
    return lines.join('\n');
}

QString PdfText(const QString& pdf) {
    int code = 0;
    const QString text = RunProgram("pdftotext", {pdf, "-"}, &code, 60000);
    return code == 0 ? text.simplified() : "pdftotext failed: " + text;
}

QByteArray AnswersBlock(const QMap<int, int>& idOfNum, const QString& testId, bool finished, int current,
                        const std::vector<TStoredAnswer>& records) {
    std::vector<TBlockRecord> block;
    for (const TStoredAnswer& r : records)
        block.push_back({idOfNum.value(r.Num, -1), r.Correct, r.Seen, r.Answered, r.Marked, r.Given});
    return AnswersBlockBytes(testId, finished, current, block);
}
