#pragma once
// What the session left behind, read by programs nobody here wrote, and the
// answers block of an attempt written out by hand to compare with.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

// The learners' tables of the database directory `db` as `script` run by
// `reader` prints them (check_tables.py by python3-dbfread,
// check_tables.pl by Perl's XBase), sorted.
QStringList TableDump(const QString& reader, const QString& script, const QString& db);

// Empty when the two sorted lists are equal; otherwise the lines only one of
// them has, marked "-" (expected only) and "+" (read only).
QString LineDifference(const QStringList& read, const QStringList& expected);

// pdftotext's text of a PDF, every run of blanks and line ends made one blank.
QString PdfText(const QString& pdf);

struct TStoredAnswer {
    int Num; // the question's position in the test
    bool Correct, Seen, Answered, Marked;
    int Given;
};

// The answers block of an attempt: header 20, 28, n, the finished flag and the
// current index, then one record per question with its ID (from `idOfNum`),
// the test identifier, the four flags and the answer given.
QByteArray AnswersBlock(const QMap<int, int>& idOfNum, const QString& testId, bool finished, int current,
                        const std::vector<TStoredAnswer>& records);
