#include "data/TTestSession.h"

#include <QTime>

#include "data/TAnswersBlock.h"
#include "platform/TDynamicLibrary.h"

namespace {

const FIELD4INFO SessionFields[] = {
    {"ID", 'N', 9, 0, 0},       {"ASSIGNID", 'N', 9, 0, 0},  {"TYPEFLAG", 'N', 4, 0, 0},
    {"DATE", 'D', 8, 0, 0},     {"TIMESTART", 'F', 8, 0, 0}, {"TIMEEND", 'F', 8, 0, 0},
    {"QTAKEN", 'N', 4, 0, 0},   {"QRIGHT", 'N', 4, 0, 0},    {"ANSWERS", 'M', 10, 0, 0},
    {"HISTORY", 'M', 10, 0, 0}, {nullptr, 0, 0, 0, 0},
};

const TAG4INFO SessionTags[] = {
    {"ID", "ID", ".NOT. DELETED()", 0, 0},
    {"ASSIGNID", "ASSIGNID", ".NOT. DELETED()", 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

// The time of day as a fraction of a day.
double TimeOfDay() {
    return QTime::currentTime().msecsSinceStartOfDay() / 86400000.0;
}

} // namespace

TTestSession::TTestSession(TDynamicLibrary& library, const QString& databaseDir, CODE4* engine)
    : m_cb(library, engine,
           {"d4create",    "d4open",         "code4errorCode", "d4field",     "d4tag",
            "d4tagSelect", "d4bottom",       "d4close",        "d4seek",      "d4appendBlank",
            "f4assign",    "f4memoAssign",   "f4assignLong",   "d4unlock",    "f4long",
            "d4top",       "f4memoStr",      "f4str",          "d4skip",      "d4seekDouble",
            "date4today",  "f4assignDouble", "f4memoAssignN",  "date4format", "f4memoLen",
            "d4lockAppend"}),
      m_text(m_cb, "the sessions table") {
    m_data = m_cb.OpenOrCreate(databaseDir + "TestSess", SessionFields, SessionTags);
    m_text.Attach(m_data);
    m_id = m_cb.Field(m_data, "ID");
    m_assignId = m_cb.Field(m_data, "ASSIGNID");
    m_typeFlag = m_cb.Field(m_data, "TYPEFLAG");
    m_date = m_cb.Field(m_data, "DATE");
    m_timeStart = m_cb.Field(m_data, "TIMESTART");
    m_timeEnd = m_cb.Field(m_data, "TIMEEND");
    m_qTaken = m_cb.Field(m_data, "QTAKEN");
    m_qRight = m_cb.Field(m_data, "QRIGHT");
    m_answers = m_cb.Field(m_data, "ANSWERS");
    m_history = m_cb.Field(m_data, "HISTORY");
    m_tagId = m_cb.Tag(m_data, "ID");
    m_tagAssignId = m_cb.Tag(m_data, "ASSIGNID");
    m_nextIdAtOpening = GetNextId();
}

TTestSession::~TTestSession() {
    m_cb.Close(m_data);
}

int TTestSession::GetNextId() {
    m_cb.TagSelect(m_data, m_tagId);
    if (m_cb.Bottom(m_data) != R4_SUCCESS)
        return 1;
    return int(m_cb.Long(m_id)) + 1;
}

int TTestSession::AddTestSession(int assignId) {
    // The highest ID and the append are one step for every seat sharing the
    // table: under its append lock.
    if (!m_cb.LockAppend(m_data))
        return -1;
    int id = GetNextId();
    if (m_cb.AppendBlank(m_data) != 0) {
        m_cb.Unlock(m_data);
        return -1;
    }
    m_cb.AssignLong(m_id, id);
    m_cb.AssignLong(m_assignId, assignId);
    m_cb.Unlock(m_data);
    return id;
}

bool TTestSession::OpenTestSession(int id) {
    m_cb.TagSelect(m_data, m_tagId);
    long before = m_cb.RecNo(m_data);
    if (m_cb.SeekDouble(m_data, id) == R4_SUCCESS)
        return true;
    // An absent ID leaves the current row where it was.
    if (before > 0)
        m_cb.Go(m_data, before);
    return false;
}

void TTestSession::StartTest(int kind, int questions) {
    if (m_cb.RecNo(m_data) == 0)
        return;
    m_cb.AssignLong(m_typeFlag, kind);
    m_cb.Assign(m_date, m_cb.Today());
    m_cb.AssignDouble(m_timeStart, TimeOfDay());
    m_cb.AssignLong(m_qTaken, questions);
    m_cb.Unlock(m_data);
}

bool TTestSession::EndTest(int right, const QByteArray& answers, const QString& history) {
    m_text.ClearError();
    auto historyBytes = m_text.Encode(history, "The history text");
    if (!historyBytes || m_cb.RecNo(m_data) == 0)
        return false;
    m_cb.AssignDouble(m_timeEnd, TimeOfDay());
    m_cb.AssignLong(m_qRight, right);
    m_cb.MemoAssign(m_answers, answers);
    m_cb.MemoAssign(m_history, *historyBytes);
    m_cb.Unlock(m_data);
    return true;
}

bool TTestSession::SetHistory(const QString& history) {
    m_text.ClearError();
    auto bytes = m_text.Encode(history, "The history text");
    if (!bytes || m_cb.RecNo(m_data) == 0)
        return false;
    m_cb.MemoAssign(m_history, *bytes);
    m_cb.Unlock(m_data);
    return true;
}

QByteArray TTestSession::GetAnswers() {
    QByteArray memo = m_cb.Memo(m_answers);
    qsizetype length = TAnswersBlock::StatedLength(memo);
    if (length < 0 || length > memo.size())
        return {};
    return memo.left(length);
}

QString TTestSession::GetHistory() {
    return m_text.Memo(m_history);
}

QString TTestSession::GetDate() {
    return QString::fromLatin1(m_cb.FormatDate(m_cb.Str(m_date), "MM/DD/CCYY"));
}

int TTestSession::GetRight() {
    return int(m_cb.Long(m_qRight));
}
int TTestSession::GetTaken() {
    return int(m_cb.Long(m_qTaken));
}
int TTestSession::GetTestType() {
    return int(m_cb.Long(m_typeFlag));
}
int TTestSession::GetId() {
    return int(m_cb.Long(m_id));
}
int TTestSession::GetAssignId() {
    return int(m_cb.Long(m_assignId));
}

void TTestSession::ListSessions(int assignId) {
    if (OnListStart)
        OnListStart();
    m_cb.TagSelect(m_data, m_tagAssignId);
    for (int rc = m_cb.SeekDouble(m_data, assignId); rc == R4_SUCCESS; rc = m_cb.Skip(m_data, 1)) {
        if (m_cb.Long(m_assignId) != assignId)
            break;
        if (OnListItem)
            OnListItem(int(m_cb.Long(m_id)));
    }
    if (OnListEnd)
        OnListEnd();
}
