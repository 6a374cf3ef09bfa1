#pragma once
// The sessions table "TestSess": one row per test attempt (open or closed
// book) or lesson session. A test row carries the whole state of the attempt
// in its answers block, so an unfinished test can be resumed later.
#include <QByteArray>
#include <QString>
#include <functional>

#include "data/Codebase2.h"
#include "data/TTableText.h"

class TDynamicLibrary;

class TTestSession {
public:
    static constexpr int OpenBookSession = 1;
    static constexpr int ClosedBookSession = 2;
    static constexpr int LessonSession = 20;

    TTestSession(TDynamicLibrary& library, const QString& databaseDir, CODE4* engine);
    ~TTestSession();
    TTestSession(const TTestSession&) = delete;
    TTestSession& operator=(const TTestSession&) = delete;

    int GetNextId();
    int AddTestSession(int assignId); // the new ID; its row is current
    bool OpenTestSession(int id);
    void StartTest(int kind, int questions);
    // False when the history text cannot be stored (nothing is written then).
    bool EndTest(int right, const QByteArray& answers, const QString& history);
    bool SetHistory(const QString& history);
    // As many bytes as the block's header states; empty for an empty memo or
    // a block shorter than its header says.
    QByteArray GetAnswers();
    QString GetHistory();
    QString GetDate(); // "MM/DD/CCYY"
    int GetRight();
    int GetTaken();
    int GetTestType();
    int GetId();
    int GetAssignId();
    void ListSessions(int assignId);

    QString LastError() const { return m_text.Error(); }

    std::function<void()> OnListStart;
    std::function<void(int id)> OnListItem;
    std::function<void()> OnListEnd;

    // The engine's message when the table could not be opened (damaged,
    // unreadable, not a file) or opened with a fault; empty when sound. A
    // table that exists is never replaced by an empty one.
    QString OpenFault() const { return m_cb.OpenFault(); }
    // True when the table's file exists but could not be opened: the object
    // has no table and must not be used for the learner's work.
    bool OpenRefused() const { return m_cb.OpenRefused(); }

private:
    Codebase2 m_cb;
    TTableText m_text;
    DATA4* m_data = nullptr;
    FIELD4 *m_id, *m_assignId, *m_typeFlag, *m_date, *m_timeStart, *m_timeEnd, *m_qTaken, *m_qRight,
        *m_answers, *m_history;
    TAG4 *m_tagId, *m_tagAssignId;
    int m_nextIdAtOpening = 1;
};
