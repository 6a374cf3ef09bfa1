#include "PdfReader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

QString Run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString Unescape(QString text) {
    return text.replace("&lt;", "<")
        .replace("&gt;", ">")
        .replace("&quot;", "\"")
        .replace("&apos;", "'")
        .replace("&amp;", "&");
}

} // namespace

QString PdfText(const QString& pdf, int page) {
    QStringList args{"-layout", "-enc", "UTF-8"};
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    return Run("pdftotext", args << pdf << "-");
}

std::vector<TPdfWord> PdfWords(const QString& pdf) {
    const QString html = Run("pdftotext", {"-bbox", "-enc", "UTF-8", pdf, "-"});
    static const QRegularExpression tag(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<TPdfWord> words;
    int page = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0) == "<page ") {
            ++page;
            continue;
        }
        words.push_back({Unescape(m.captured(5)), page, m.captured(1).toDouble(), m.captured(2).toDouble(),
                         m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return words;
}

TPdfWord FindPhrase(const std::vector<TPdfWord>& words, const QString& text) {
    const QStringList parts = text.split(' ', Qt::SkipEmptyParts);
    for (std::size_t i = 0; i + parts.size() <= words.size(); ++i) {
        bool match = true;
        for (qsizetype k = 0; k < parts.size() && match; ++k)
            match = words[i + k].Text == parts[k] && words[i + k].Page == words[i].Page;
        if (match) {
            TPdfWord run = words[i];
            run.Text = text;
            run.XMax = words[i + parts.size() - 1].XMax;
            return run;
        }
    }
    return {};
}

int PdfPageCount(const QString& pdf) {
    static const QRegularExpression pages(R"(Pages:\s+(\d+))");
    return pages.match(Run("pdfinfo", {pdf})).captured(1).toInt();
}

QString PdfPageSize(const QString& pdf) {
    static const QRegularExpression size(R"(Page size:\s+([\d.]+ x [\d.]+))");
    return size.match(Run("pdfinfo", {pdf})).captured(1);
}

QString PdfFonts(const QString& pdf) {
    return Run("pdffonts", {pdf});
}

QImage PdfPage(const QString& pdf, int page, int dpi) {
    QTemporaryDir dir;
    const QString base = dir.filePath("page");
    Run("pdftoppm", {"-png", "-r", QString::number(dpi), "-f", QString::number(page), "-l",
                     QString::number(page), "-singlefile", pdf, base});
    return QImage(base + ".png");
}
