// The building operations of the tests store: adding and deleting tests,
// parents, questions and answer choices, and keeping their numbers in step.
#include "data/TTesting.h"

#include "data/TSafePath.h"
#include "data/TTestingLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>
#include <map>

#include "platform/TDynamicLibrary.h"
#include "platform/TMessages.h"
#include "platform/TPaths.h"

using namespace TestingLayout;

// --- Building ---

bool TTesting::AddTest(const QString& id, const QString& parent, const QString& path,
                       const QString& tableName, const QString& title) {
    m_error.clear();
    auto bId = Enc(m_gText, id, "The test ID");
    auto bParent = Enc(m_gText, parent, "The parent ID");
    auto bPath = Enc(m_gText, path, "The test path");
    auto bTable = Enc(m_gText, tableName, "The question table name");
    auto bTitle = Enc(m_gText, title, "The test title");
    if (!bId || !bParent || !bPath || !bTable || !bTitle)
        return false;
    if (m_oldCatalogue || !m_gtest || m_cb.AppendBlank(m_gtest) != 0) {
        m_error = "The tests catalogue cannot take a new test.";
        return false;
    }
    m_cb.Assign(m_gProdId, *bId);
    m_cb.Assign(m_gParent, *bParent);
    m_cb.MemoAssign(m_gPath, *bPath);
    m_cb.Assign(m_gTableName, *bTable);
    m_cb.MemoAssign(m_gTitle, *bTitle);
    m_cb.AssignLong(m_gNumTestQ, 0);
    m_cb.AssignLong(m_gNextId, 1);
    m_cb.Unlock(m_gtest);
    long testRow = m_cb.RecNo(m_gtest);

    QString tablePath = QuestionTablePath(path, TrimTrailingBlanks(tableName));
    DATA4* q = m_cb.Create(tablePath, QuestionFields, QuestionTags);
    DATA4* x = m_cb.Create(tablePath + "X", ExtraFields, ExtraTags);
    bool created = q && x;
    if (!created)
        m_error = "The question tables of the test could not be created: " + m_cb.ErrorText();
    m_cb.ErrorCode();
    m_cb.Close(q);
    m_cb.Close(x);

    m_numTestQ = 0;
    m_nextId = 1;
    if (SeekParent(parent)) {
        m_cb.AssignLong(m_pNum, m_cb.Long(m_pNum) + 1);
        m_cb.Unlock(m_ptest);
    }
    m_openParent = TrimTrailingBlanks(parent);
    // The new test's row stays the current catalogue row.
    m_cb.TagSelect(m_gtest, nullptr);
    m_cb.Go(m_gtest, testRow);
    return created;
}

bool TTesting::DeleteTest(const QString& id) {
    if (!SeekTest(id))
        return false;
    QString parent = m_gText.Trimmed(m_gParent);
    m_cb.Delete(m_gtest);
    m_cb.Unlock(m_gtest);
    if (SeekParent(parent) && m_cb.Long(m_pNum) > 0) {
        m_cb.AssignLong(m_pNum, m_cb.Long(m_pNum) - 1);
        m_cb.Unlock(m_ptest);
    }
    return true;
}

bool TTesting::AddParent(const QString& id, const QString& title, const QString& description,
                         const QString& time, int numQ) {
    m_error.clear();
    auto bId = Enc(m_pText, id, "The parent ID");
    auto bTitle = Enc(m_pText, title, "The parent title");
    auto bDescrip = Enc(m_pText, description, "The parent description");
    auto bTime = Enc(m_pText, time, "The time");
    if (!bId || !bTitle || !bDescrip || !bTime || m_oldCatalogue || m_cb.AppendBlank(m_ptest) != 0)
        return false;
    m_cb.Assign(m_pId, *bId);
    m_cb.MemoAssign(m_pTitle, *bTitle);
    m_cb.MemoAssign(m_pDescrip, *bDescrip);
    m_cb.AssignLong(m_pNum, 0);
    m_cb.Assign(m_pTime, *bTime);
    m_cb.AssignLong(m_pNumQ, numQ);
    return m_cb.Unlock(m_ptest) == 0;
}

bool TTesting::SetParentTitle(const QString& id, const QString& title) {
    m_error.clear();
    auto bytes = Enc(m_pText, title, "The parent title");
    if (!bytes || !SeekParent(id))
        return false;
    m_cb.MemoAssign(m_pTitle, *bytes);
    return m_cb.Unlock(m_ptest) == 0;
}

void TTesting::SetParentInfo(TParentInfo& info, const QString& id) {
    m_error.clear();
    auto bId = Enc(m_pText, info.Id, "The parent ID");
    auto bTitle = Enc(m_pText, info.Title, "The parent title");
    auto bDescrip = Enc(m_pText, info.Description, "The parent description");
    auto bTime = Enc(m_pText, info.Time, "The time");
    if (!SeekParent(id)) {
        info.Id = "bad";
        return;
    }
    if (!bId || !bTitle || !bDescrip || !bTime)
        return;
    m_cb.MemoAssign(m_pTitle, *bTitle);
    m_cb.MemoAssign(m_pDescrip, *bDescrip);
    m_cb.Assign(m_pTime, *bTime);
    m_cb.AssignLong(m_pNumQ, info.NumQ);
    m_cb.Assign(m_pId, *bId);
    m_cb.Unlock(m_ptest);
}

bool TTesting::WriteGlobalCounts() {
    if (!OpenTestIsCurrentRow() && !SeekTest(m_openId))
        return false;
    m_cb.AssignLong(m_gNumTestQ, m_numTestQ);
    m_cb.AssignLong(m_gNextId, m_nextId);
    return m_cb.Unlock(m_gtest) == 0;
}

int TTesting::AddTestQuestion(int position, int type, const QString& title, const QString& question,
                              int numAnswer, const QString& answer, const QString& hint, const QString& ref,
                              const QString& graphic) {
    m_error.clear();
    if (!OpenTestIsCurrentRow())
        return -1;
    const auto bytes = EncodeQuestion(title, question, answer, hint, ref, graphic);
    if (!bytes)
        return -1;
    int id = m_nextId;
    if (m_cb.AppendBlank(m_q) != 0)
        return -1;
    m_cb.AssignLong(m_qId, id);
    WriteQuestionFields(position, type, numAnswer, *bytes);
    ++m_nextId;
    ++m_numTestQ;
    WriteGlobalCounts();
    GoToTestQuestionId(id);
    return id;
}

int TTesting::NewTestQuestion() {
    if (!m_open || m_cb.AppendBlank(m_q) != 0)
        return -1;
    int id = m_nextId;
    m_cb.AssignLong(m_qId, id);
    m_cb.AssignLong(m_qNum, m_numTestQ + 1);
    m_cb.AssignLong(m_qType, SingleChoice);
    m_cb.AssignLong(m_qNumAnswer, 1);
    m_cb.Unlock(m_q);
    ++m_numTestQ;
    ++m_nextId;
    WriteGlobalCounts();
    GoToTestQuestionId(id);
    return id;
}

bool TTesting::SetTestQuestionGraphicDT(const QByteArray& data) {
    if (!m_open || m_cb.RecNo(m_q) == 0)
        return false;
    m_cb.MemoAssign(m_qGraphicDT, ToLengthPrefixed(data));
    return m_cb.Unlock(m_q) == 0;
}

int TTesting::SetTestQuestionXtra(int questionId, int choice, const QString& text) {
    m_error.clear();
    if (!OpenTestIsCurrentRow())
        return -1;
    auto bytes = Enc(m_xText, text, "The answer choice");
    if (!bytes)
        return -1;
    for (const auto& [index, recNo] : ExtraRows(questionId)) {
        if (index == choice) {
            m_cb.Go(m_x, recNo);
            m_cb.MemoAssign(m_xAnswer, *bytes);
            m_cb.Unlock(m_x);
            return 0;
        }
    }
    if (m_cb.AppendBlank(m_x) != 0)
        return -1;
    m_cb.AssignLong(m_xId, questionId);
    m_cb.AssignLong(m_xIndex, choice);
    m_cb.MemoAssign(m_xAnswer, *bytes);
    m_cb.Unlock(m_x);
    return 0;
}

void TTesting::SetTestQuestionXtraIndex(int questionId, int oldChoice, int newChoice) {
    if (!m_open)
        return;
    for (const auto& [index, recNo] : ExtraRows(questionId)) {
        if (index == oldChoice) {
            m_cb.Go(m_x, recNo);
            m_cb.AssignLong(m_xIndex, newChoice);
            m_cb.Unlock(m_x);
            return;
        }
    }
}

void TTesting::ChangeQuestionNumber(int from, int to) {
    if (!m_open || from == to || to > m_numTestQ || to < 1 || from < 1 || from > m_numTestQ)
        return;
    // Record numbers by position first, then renumber, so no seek meets a
    // half-renumbered order.
    std::map<int, long> rows;
    m_cb.TagSelect(m_q, m_qTagNum);
    for (int rc = m_cb.Top(m_q); rc == R4_SUCCESS; rc = m_cb.Skip(m_q, 1))
        rows.emplace(int(m_cb.Long(m_qNum)), m_cb.RecNo(m_q));
    MoveNumberedRow(m_q, m_qNum, rows, from, to);
    GoToTestQuestion(to);
}

void TTesting::ChangeStepNumber(int from, int to) {
    if (!m_open || from == to || to > m_question.NumAnswer || to < 1 || from < 1 ||
        from > m_question.NumAnswer)
        return;
    std::map<int, long> rows;
    for (const auto& [index, recNo] : ExtraRows(m_question.ID))
        rows.emplace(index, recNo);
    MoveNumberedRow(m_x, m_xIndex, rows, from, to);
}

bool TTesting::DeleteTestQuestion(int position) {
    if (!m_open || m_numTestQ <= 1 || position < 1 || position > m_numTestQ)
        return false;
    std::map<int, long> rows;
    m_cb.TagSelect(m_q, m_qTagNum);
    for (int rc = m_cb.Top(m_q); rc == R4_SUCCESS; rc = m_cb.Skip(m_q, 1))
        rows.emplace(int(m_cb.Long(m_qNum)), m_cb.RecNo(m_q));
    auto it = rows.find(position);
    if (it == rows.end())
        return false;
    m_cb.Go(m_q, it->second);
    m_cb.Delete(m_q);
    m_cb.Unlock(m_q);
    for (auto later = std::next(it); later != rows.end(); ++later) {
        m_cb.Go(m_q, later->second);
        m_cb.AssignLong(m_qNum, later->first - 1);
        m_cb.Unlock(m_q);
    }
    --m_numTestQ;
    WriteGlobalCounts();
    GoToTestQuestion(std::min(position, m_numTestQ));
    return true;
}

bool TTesting::DeleteTestQuestionXtra(int choice) {
    if (!m_open || m_question.NumAnswer <= 1)
        return false;
    auto rows = ExtraRows(m_question.ID);
    std::sort(rows.begin(), rows.end());
    auto it = std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row.first == choice; });
    if (it == rows.end())
        return false;
    m_cb.Go(m_x, it->second);
    m_cb.Delete(m_x);
    m_cb.Unlock(m_x);
    for (auto later = std::next(it); later != rows.end(); ++later) {
        m_cb.Go(m_x, later->second);
        m_cb.AssignLong(m_xIndex, later->first - 1);
        m_cb.Unlock(m_x);
    }
    int questionId = m_question.ID;
    m_cb.TagSelect(m_q, m_qTagId);
    if (m_cb.SeekDouble(m_q, questionId) == R4_SUCCESS) {
        m_cb.AssignLong(m_qNumAnswer, m_question.NumAnswer - 1);
        m_cb.Unlock(m_q);
        ReadQuestion();
    }
    return true;
}

// Writes one memo of the open test's row; `what` names the value in the error
// kept when the text cannot be stored in the table's code page.
bool TTesting::WriteOpenTestMemo(FIELD4* memo, const QString& text, const char* what) {
    m_error.clear();
    auto bytes = Enc(m_gText, text, what);
    if (!bytes || m_cb.RecNo(m_gtest) == 0)
        return false;
    m_cb.MemoAssign(memo, *bytes);
    m_cb.Unlock(m_gtest);
    return true;
}

bool TTesting::SetDescription(const QString& text) {
    if (!WriteOpenTestMemo(m_gDescrip, text, "The test description"))
        return false;
    m_openDescription = text;
    return true;
}

bool TTesting::SetOpenTitle(const QString& text) {
    if (!WriteOpenTestMemo(m_gTitle, text, "The test title"))
        return false;
    m_openTitle = text;
    return true;
}

bool TTesting::SetOpenPath(const QString& text) {
    if (!WriteOpenTestMemo(m_gPath, text, "The test path"))
        return false;
    m_openPath = TrimTrailingBlanks(text);
    return true;
}

bool TTesting::SetOpenId(const QString& text) {
    m_error.clear();
    auto bytes = Enc(m_gText, text, "The test ID");
    if (!bytes || m_cb.RecNo(m_gtest) == 0)
        return false;
    m_cb.Assign(m_gProdId, *bytes);
    m_cb.Unlock(m_gtest);
    m_openProdId = m_gText.Padded(m_gProdId);
    m_openId = text;
    return true;
}

bool TTesting::SetDefaultGraphic(const QString& text) {
    if (!WriteOpenTestMemo(m_gGraphic, text, "The default graphic's file name"))
        return false;
    m_openGraphic = text;
    return true;
}

bool TTesting::SetDefaultGraphicDT(const QByteArray& data) {
    if (m_cb.RecNo(m_gtest) == 0)
        return false;
    m_cb.MemoAssign(m_gGraphicDT, ToLengthPrefixed(data));
    return m_cb.Unlock(m_gtest) == 0;
}

void TTesting::ChangeGlobalCrap(int numQuestions, int nextId) {
    if (m_cb.RecNo(m_gtest) == 0)
        return;
    m_cb.AssignLong(m_gNumTestQ, numQuestions);
    m_cb.AssignLong(m_gNextId, nextId);
    m_cb.Unlock(m_gtest);
    m_numTestQ = numQuestions;
    m_nextId = nextId;
}

void TTesting::ChangeParentIds(const QString& oldParent, const QString& newParent) {
    QString from = TrimTrailingBlanks(oldParent);
    QString to = TrimTrailingBlanks(newParent);
    auto fromKey = m_gText.Codec().Encode(from);
    auto toBytes = m_gText.Codec().Encode(to);
    if (from == to || !fromKey || !toBytes)
        return;
    m_cb.TagSelect(m_gtest, m_gTagParent);
    // Each renamed row leaves the old parent's key, so the seek moves on.
    for (int guard = 0; m_cb.Seek(m_gtest, *fromKey) == R4_SUCCESS && guard < 1000000; ++guard) {
        m_cb.Assign(m_gParent, *toBytes);
        m_cb.Unlock(m_gtest);
    }
    m_cb.TagSelect(m_gtest, m_gTagProdId);
    if (m_open)
        SeekTest(m_openId);
}

void TTesting::RawRecordDump() {
    if (OnRawDumpStart)
        OnRawDumpStart();
    if (m_open) {
        m_cb.TagSelect(m_q, nullptr);
        int ordinal = 0;
        for (int rc = m_cb.Top(m_q); rc == R4_SUCCESS; rc = m_cb.Skip(m_q, 1))
            if (OnRawDumpItem)
                OnRawDumpItem(++ordinal, int(m_cb.Long(m_qId)), int(m_cb.Long(m_qNum)),
                              m_qText.MemoCapped(m_qTitle, TextLimits::Title),
                              m_qText.MemoCapped(m_qQuestion, TextLimits::Text));
    }
    if (OnRawDumpEnd)
        OnRawDumpEnd();
}

int TTesting::DeleteRecords(int first, int last) {
    if (!m_open || last < first)
        return R4_EOF;
    m_cb.Zap(m_q, first, last - first + 1);
    m_cb.MemoCompress(m_q);
    return m_cb.Top(m_q);
}

void TTesting::PackDatabases() {
    for (DATA4* data : {m_gtest, m_ptest, m_q, m_x}) {
        if (!data)
            continue;
        m_cb.Pack(data);
        m_cb.MemoCompress(data);
    }
}
