#pragma once
// The study material of a test attempt: every question the learner did not
// answer correctly, in the order the questions were put, with its text, its
// correct answer and its references.
#include <QString>
#include <QStringList>
#include <vector>

#include "reports/TReport.h"

// One question of the attempt as the study material needs it.
struct TStudyEntry {
    QString Question;
    int Type = 0;        // the question's TYPE
    QString Answer;      // the stored correct answer, trailing blanks removed
    QStringList Choices; // the texts of choices (or steps) 1, 2, ...
    QString References;
    bool Correct = false; // answered right in the attempt
};

struct TStudyMaterialData {
    QString Candidate; // first name + " " + last name
    QString TestTitle;
    std::vector<TStudyEntry> Entries; // in the order put to the learner
};

// The "Correct Answer:" text of an entry, coded by its question type. A type
// the report does not know keeps `previous`, the answer of the row before.
QString CorrectAnswerText(const TStudyEntry& entry, const QString& previous);

class TStudyMaterial {
public:
    explicit TStudyMaterial(TStudyMaterialData data);
    TStudyMaterial(const TStudyMaterial&) = delete;
    TStudyMaterial& operator=(const TStudyMaterial&) = delete;

    TReportDocument Run() { return QuickRep1.Run(); }
    TReport& Report() { return QuickRep1; }

private:
    void QuickRep1BeforePrint();
    bool QuickRep1NeedData();

    TStudyMaterialData m_data;
    TReport QuickRep1;
    std::size_t StudyRow = 0;
};

// Entry points for the screens and the command-line tool. Nothing is shown or
// written when no question was answered wrong.
bool SaveStudyMaterialPdf(const QString& path, const TStudyMaterialData& data, QString* error = nullptr);
