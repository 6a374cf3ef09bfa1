#pragma once
// The question bank. Two catalogue tables in the database directory,
// "gtest.dbf" (one row per test) and "ptest.dbf" (one row per parent, a group
// of tests), and for every test a question table and an extra table holding
// the texts of answer choices and steps. The player opens one test and steps
// through its questions; the building operations create and edit tests.
#include <QByteArray>
#include <QString>
#include <functional>
#include <map>

#include "data/Codebase2.h"
#include "data/TTableText.h"

class TDynamicLibrary;

// The question row last read.
struct TTestQuestion {
    int Num = 0;
    int ID = 0;
    int Type = 0;
    QString Title;
    QString Question;
    int NumAnswer = 0;
    QString Answer; // as stored, padded
    QString Hint;
    QString Ref;
    QString Graphic;
};

// A parent row of "ptest.dbf".
struct TParentInfo {
    QString Id;
    QString Title;
    QString Description;
    int Num = 0; // number of tests under the parent
    QString Time;
    int NumQ = 0;
};

class TTesting {
public:
    static constexpr int TrueFalse = 0;
    static constexpr int SingleChoice = 1;
    static constexpr int Simulation = 3;
    static constexpr int MultipleChoice = 5;

    TTesting(TDynamicLibrary& library, const QString& databaseDir, CODE4* engine);
    ~TTesting();
    TTesting(const TTesting&) = delete;
    TTesting& operator=(const TTesting&) = delete;

    // --- Used by the player ---
    int OpenTest(const QString& testId); // 0, or -1
    void CloseTest();
    bool IsOpen() const { return m_open; }
    bool IsTestOpen() const { return m_open; }
    int GoToTestQuestion(int position); // 0, or -1
    int GoToTestQuestionId(int id);     // 0, or -1
    QString GetTestQuestionAnswerText(int choice);
    QString GetTestQuestionCorrectAnswer();
    QByteArray GetTestQuestionGraphicDT();
    QString GetTestQuestionTitle();
    QString GetOpenTitle() const { return m_openTitle; }
    QString GetTestTitle() const { return m_openTitle; } // the open test's title
    QString GetDescription() const { return m_openDescription; }
    QString GetDefaultGraphic() const { return m_openGraphic; }
    QByteArray GetDefaultGraphicDT();
    int NumTestQ() const { return m_numTestQ; }
    QString OpenTestId() const { return m_openId; }
    QString OpenPath() const { return m_openPath; } // as stored, trailing blanks removed
    QString OpenParent() const { return m_openParent; }
    const TTestQuestion& CurrentQuestion() const { return m_question; }

    // The file a question's graphic is written to: the test's directory plus
    // the name. Empty for a name that is empty, absolute or leads out of the
    // test's directory.
    QString GraphicFilePath(const QString& graphic) const;
    // Writes the current question's graphic file from its data when it does
    // not exist yet; false (nothing written) for a refused name or data that
    // cannot be written. `path` receives the file's path when the name is safe.
    bool WriteTestQuestionGraphicFile(QString* path = nullptr);

    // --- Used for building tests ---
    bool AddTest(const QString& id, const QString& parent, const QString& path, const QString& tableName,
                 const QString& title);
    // Our addition for reinstalling: marks the test's catalogue row deleted and
    // takes it off its parent's count. Its tables stay.
    bool DeleteTest(const QString& id);
    bool AddParent(const QString& id, const QString& title, const QString& description, const QString& time,
                   int numQ);
    bool ParentExists(const QString& id);
    QString GetParentTitle(const QString& id);
    QString GetParentDescription(const QString& id);
    int GetParentNum(const QString& id);
    bool SetParentTitle(const QString& id, const QString& title);
    void GetParentInfo(TParentInfo& info);
    void SetParentInfo(TParentInfo& info, const QString& id);
    QString GetTestDescription(const QString& testId);
    int AddTestQuestion(int position, int type, const QString& title, const QString& question, int numAnswer,
                        const QString& answer, const QString& hint, const QString& ref,
                        const QString& graphic);
    int NewTestQuestion();
    bool ChangeCurrentTestQuestionInfo(int position, int type, const QString& title, const QString& question,
                                       int numAnswer, const QString& answer, const QString& hint,
                                       const QString& ref, const QString& graphic);
    int GetCurrentId();
    // Our addition: the current question's graphic data, length-prefixed.
    bool SetTestQuestionGraphicDT(const QByteArray& data);
    int SetTestQuestionXtra(int questionId, int choice, const QString& text);
    QString GetTestQuestionXtra(int questionId, int choice);
    void SetTestQuestionXtraIndex(int questionId, int oldChoice, int newChoice);
    void ChangeQuestionNumber(int from, int to);
    void ChangeStepNumber(int from, int to);
    bool DeleteTestQuestion(int position);   // false when refused
    bool DeleteTestQuestionXtra(int choice); // false when refused
    bool SetDescription(const QString& text);
    bool SetOpenTitle(const QString& text);
    bool SetOpenPath(const QString& text);
    bool SetOpenId(const QString& text);
    bool SetDefaultGraphic(const QString& text);
    bool SetDefaultGraphicDT(const QByteArray& data);
    void ChangeGlobalCrap(int numQuestions, int nextId);
    void ChangeParentIds(const QString& oldParent, const QString& newParent);
    void ListGlobalTestTitles();
    void ListParentTestTitles();
    void ListTestTitles();
    void ListTestTitlesWParent();
    void RawRecordDump();
    int DeleteRecords(int first, int last);
    void PackDatabases();

    QString LastError() const { return m_error; }

    std::function<void(int num, int id, int type, const QString& title, const QString& question,
                       int numAnswer, const QString& answer, const QString& hint, const QString& ref,
                       const QString& graphic)>
        OnTestQuestion;

    // Hooks of the list operations: before, per row, after.
    std::function<void()> OnGlobalTestListStart;
    std::function<void(const QString& title, const QString& id)> OnGlobalTestItem;
    std::function<void()> OnGlobalTestListEnd;
    std::function<void()> OnParentListStart;
    std::function<void(const QString& title, const QString& id)> OnParentItem;
    std::function<void()> OnParentListEnd;
    std::function<void()> OnTestTitleListStart;
    std::function<void(const QString& title, int position)> OnTestTitleItem;
    std::function<void()> OnTestTitleListEnd;
    std::function<void()> OnTestParentListStart;
    std::function<void(const QString& title, const QString& id, const QString& parent)> OnTestParentItem;
    std::function<void()> OnTestParentListEnd;
    std::function<void()> OnRawDumpStart;
    std::function<void(int ordinal, int id, int position, const QString& title, const QString& question)>
        OnRawDumpItem;
    std::function<void()> OnRawDumpEnd;

    // The engine's message when the table could not be opened (damaged,
    // unreadable, not a file) or opened with a fault; empty when sound. A
    // table that exists is never replaced by an empty one.
    QString OpenFault() const { return m_cb.OpenFault(); }
    // True when the table's file exists but could not be opened: the object
    // has no table and must not be used for the learner's work.
    bool OpenRefused() const { return m_cb.OpenRefused(); }

private:
    bool SeekTest(const QString& id);
    bool SeekParent(const QString& id);
    bool OpenTestIsCurrentRow();
    void ReadQuestion();
    QString TestDirectory() const;
    QString QuestionTablePath(const QString& path, const QString& tableName) const;
    bool WriteGlobalCounts();
    bool WriteOpenTestMemo(FIELD4* memo, const QString& text, const char* what);
    // Extra rows of a question: choice number -> record number.
    std::vector<std::pair<int, long>> ExtraRows(int questionId);
    void MoveNumberedRow(DATA4* table, FIELD4* number, const std::map<int, long>& rows, int from, int to);
    std::optional<QByteArray> Enc(TTableText& text, const QString& value, const char* what);
    // A question's texts in the question table's code page.
    struct TQuestionBytes {
        QByteArray Title, Question, Answer, Hint, Ref, Graphic;
    };
    // nullopt, with the error set, when a text cannot be held.
    std::optional<TQuestionBytes> EncodeQuestion(const QString& title, const QString& question,
                                                 const QString& answer, const QString& hint,
                                                 const QString& ref, const QString& graphic);
    // Writes every field of a question but its ID into the question table's
    // current record, then unlocks.
    void WriteQuestionFields(int position, int type, int numAnswer, const TQuestionBytes& bytes);

    Codebase2 m_cb;
    QString m_databaseDir;
    DATA4* m_gtest = nullptr;
    DATA4* m_ptest = nullptr;
    TTableText m_gText, m_pText, m_qText, m_xText;
    bool m_oldCatalogue = false;
    FIELD4 *m_pId = nullptr, *m_pTitle = nullptr, *m_pDescrip = nullptr, *m_pNum = nullptr,
           *m_pTime = nullptr, *m_pNumQ = nullptr;
    TAG4* m_pTagId = nullptr;
    FIELD4 *m_gProdId = nullptr, *m_gPath = nullptr, *m_gTableName = nullptr, *m_gTitle = nullptr,
           *m_gNumTestQ = nullptr, *m_gNextId = nullptr, *m_gGraphic = nullptr, *m_gGraphicDT = nullptr,
           *m_gDescrip = nullptr, *m_gParent = nullptr;
    TAG4 *m_gTagProdId = nullptr, *m_gTagParent = nullptr;

    bool m_open = false;
    QString m_openId;
    DATA4* m_q = nullptr;
    DATA4* m_x = nullptr;
    FIELD4 *m_qNum = nullptr, *m_qId = nullptr, *m_qType = nullptr, *m_qTitle = nullptr,
           *m_qQuestion = nullptr, *m_qNumAnswer = nullptr, *m_qAnswer = nullptr, *m_qHint = nullptr,
           *m_qRef = nullptr, *m_qGraphic = nullptr, *m_qGraphicDT = nullptr;
    TAG4 *m_qTagNum = nullptr, *m_qTagId = nullptr;
    FIELD4 *m_xId = nullptr, *m_xIndex = nullptr, *m_xAnswer = nullptr;
    TAG4* m_xTagId = nullptr;

    // The open test's catalogue row, copied at opening.
    QString m_openProdId, m_openPath, m_openTableName, m_openTitle, m_openGraphic, m_openDescription,
        m_openParent;
    int m_numTestQ = 0;
    int m_nextId = 1;

    TTestQuestion m_question;
    QString m_error;
};
