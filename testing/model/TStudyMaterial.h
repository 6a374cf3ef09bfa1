#pragma once
// The rows of the study material of an attempt: every question not answered
// correctly, in the order put to the learner, with its correct answer and
// its references as the tests store holds them.
#include <QString>
#include <QStringList>
#include <vector>

#include "testing/model/QuestionAnswer.h"

class TTesting;

struct TStudyRow {
    QString Question;
    QStringList Answer; // one line each
    QString References;
};

// The correct answer of the store's current question, coded by type: "TRUE"
// or "FALSE"; "C: text" for single choice 3; one "letter: text" line per
// correct choice of a multiple-choice question; one line per step of a
// simulation; nothing for an unknown type.
QStringList CorrectAnswerLines(TTesting& store);

// Entries whose question is no longer in the open test are left out.
std::vector<TStudyRow> StudyMaterialRows(const std::vector<QuestionAnswer>& entries, TTesting& store);
