#include "StoredCheck.h"

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
    QByteArray b;
    auto put32 = [&b](qint32 v) {
        for (int i = 0; i < 4; ++i)
            b.append(char((quint32(v) >> (8 * i)) & 0xff));
    };
    put32(20);
    put32(28);
    put32(int(records.size()));
    b.append(char(finished ? 255 : 0));
    b.append(3, '\0');
    put32(current);
    for (const TStoredAnswer& r : records) {
        put32(idOfNum.value(r.Num, -1));
        b.append(char(testId.size()));
        b.append(testId.toLatin1());
        b.append(12 - int(testId.size()), '\0');
        for (bool flag : {r.Correct, r.Seen, r.Answered, r.Marked})
            b.append(char(flag ? 1 : 0));
        b.append(3, '\0');
        put32(r.Given);
    }
    return b;
}
