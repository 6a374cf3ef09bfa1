#pragma once
// A course description (JSON) read and checked completely before anything is
// installed. Every problem is reported with the JSON path of the bad value.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct TClipDescription {
    QString File, Title, TimeIn, TimeOut, WordsIn, WordsOut;
    int Type = 0;
    int Reel = 0;
};

struct TButtonDescription {
    QString Title;
    std::vector<TClipDescription> Clips;
};

struct TPageDescription {
    QString Title;
    std::vector<TButtonDescription> Buttons;
};

struct TTermDescription {
    QString Term, Definition;
};

struct TQuestionDescription {
    int Type = 0; // as stored: 0, 1, 3 or 5
    QString Title, Question, Hint, Ref;
    QString Answer;         // as stored in ANSWER
    QStringList Choices;    // answer choices, or the steps of a simulation
    QString Graphic;        // file name as given, empty for none
    QByteArray GraphicData; // the file's bytes
};

struct TTestDescription {
    QString Id, Title, Description, Path, Table;
    QString ParentId, ParentTitle, ParentDescription, ParentTime;
    QString Graphic;
    QByteArray GraphicData;
    std::vector<TQuestionDescription> Questions;
};

struct TCourseDescription {
    QString Id, Title, Description, Path, Genesis;
    int MovieType = 0, NumCert = 0, LogonReq = 0;
    QString InteractiveName, InteractiveClass, InteractivePath;
    std::vector<TPageDescription> Pages;
    std::vector<TTermDescription> Glossary;
    std::optional<TTestDescription> Test;
};

// Reads and checks the description in `file`; graphic files are read from the
// file's own directory. On failure `errors` holds one line per problem,
// "<json path>: <what is wrong>".
std::optional<TCourseDescription> ReadCourseDescription(const QString& file, QStringList& errors);
