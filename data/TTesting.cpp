#include "data/TTesting.h"

#include "data/TSafePath.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>
#include <map>

#include "platform/TDynamicLibrary.h"
#include "platform/TMessages.h"
#include "platform/TPaths.h"

namespace {

const char* const NotDeleted = ".NOT. DELETED()";

const FIELD4INFO GlobalFields[] = {
    {"PRODID", 'C', 10, 0, 0},  {"PATH", 'M', 10, 0, 0},      {"TABLENAME", 'C', 10, 0, 0},
    {"TITLE", 'M', 10, 0, 0},   {"NUMTESTQ", 'N', 4, 0, 0},   {"NEXTID", 'N', 4, 0, 0},
    {"GRAPHIC", 'M', 10, 0, 0}, {"GRAPHICDT", 'M', 10, 0, 0}, {"DESCRIP", 'M', 10, 0, 0},
    {"PARENT", 'C', 10, 0, 0},  {nullptr, 0, 0, 0, 0},
};
const TAG4INFO GlobalTags[] = {
    {"PRODID", "PRODID", NotDeleted, 0, 0},
    {"PARENT", "PARENT", NotDeleted, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

const FIELD4INFO ParentFields[] = {
    {"ID", 'C', 10, 0, 0},  {"TITLE", 'M', 10, 0, 0}, {"DESCRIP", 'M', 10, 0, 0}, {"NUM", 'N', 4, 0, 0},
    {"TIME", 'C', 5, 0, 0}, {"NUMQ", 'N', 4, 0, 0},   {nullptr, 0, 0, 0, 0},
};
const TAG4INFO ParentTags[] = {
    {"ID", "ID", NotDeleted, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

const FIELD4INFO QuestionFields[] = {
    {"NUM", 'N', 4, 0, 0},      {"ID", 'N', 4, 0, 0},         {"TYPE", 'N', 2, 0, 0},
    {"TITLE", 'M', 10, 0, 0},   {"QUESTION", 'M', 10, 0, 0},  {"NUMANSWER", 'N', 2, 0, 0},
    {"ANSWER", 'C', 5, 0, 0},   {"Hint", 'M', 10, 0, 0},      {"REF", 'M', 10, 0, 0},
    {"GRAPHIC", 'M', 10, 0, 0}, {"GRAPHICDT", 'M', 10, 0, 0}, {nullptr, 0, 0, 0, 0},
};
const TAG4INFO QuestionTags[] = {
    {"NUM", "NUM", NotDeleted, 0, 0},
    {"ID", "ID", NotDeleted, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

const FIELD4INFO ExtraFields[] = {
    {"ID", 'N', 4, 0, 0},
    {"INDEX", 'N', 4, 0, 0},
    {"ANSWER", 'M', 10, 0, 0},
    {nullptr, 0, 0, 0, 0},
};
const TAG4INFO ExtraTags[] = {
    {"ID", "ID", NotDeleted, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

// Length-prefixed data: a 32-bit little-endian count, then that many bytes.
QByteArray FromLengthPrefixed(const QByteArray& memo) {
    if (memo.size() < 4)
        return {};
    quint32 count = qFromLittleEndian<quint32>(memo.constData());
    // A count beyond the memo's end is damage: no picture rather than half of one.
    if (count > quint32(memo.size() - 4))
        return {};
    return memo.mid(4, qsizetype(count));
}

QByteArray ToLengthPrefixed(const QByteArray& data) {
    QByteArray memo(4, '\0');
    qToLittleEndian<quint32>(quint32(data.size()), memo.data());
    return memo + data;
}

} // namespace

TTesting::TTesting(TDynamicLibrary& library, const QString& databaseDir, CODE4* engine)
    : m_cb(library, engine, {"d4create",     "d4open",         "code4errorCode", "d4field",  "d4tag",
                             "d4tagSelect",  "d4bottom",       "d4close",        "d4seek",   "d4appendBlank",
                             "f4assign",     "f4memoAssign",   "f4assignLong",   "d4unlock", "f4long",
                             "d4top",        "f4memoStr",      "f4str",          "d4skip",   "f4assignInt",
                             "d4seekDouble", "f4int",          "f4assignDouble", "d4delete", "f4memoAssignN",
                             "d4pack",       "d4memoCompress", "d4zap"}),
      m_databaseDir(databaseDir), m_gText(m_cb, "the tests catalogue"),
      m_pText(m_cb, "the parents catalogue"), m_qText(m_cb, "the question table"),
      m_xText(m_cb, "the answer choices table") {
    m_gtest = m_cb.OpenOrCreate(databaseDir + "gtest", GlobalFields, GlobalTags);
    m_ptest = m_cb.OpenOrCreate(databaseDir + "ptest", ParentFields, ParentTags);
    m_gText.Attach(m_gtest);
    m_pText.Attach(m_ptest);
    m_pId = m_cb.Field(m_ptest, "Id");
    m_pTitle = m_cb.Field(m_ptest, "Title");
    m_pDescrip = m_cb.Field(m_ptest, "Descrip");
    m_pNum = m_cb.Field(m_ptest, "Num");
    m_pTime = m_cb.Field(m_ptest, "Time");
    if (m_ptest && !m_pTime) {
        // A catalogue from before parents had a time and a question count.
        m_oldCatalogue = true;
        Messages().ShowMessage(
            "this is an old database file that doesn't have time and NumQ, please Close this "
            "app and contact Dervin!");
        return;
    }
    m_pNumQ = m_cb.Field(m_ptest, "NumQ");
    m_pTagId = m_cb.Tag(m_ptest, "ID");
    m_gProdId = m_cb.Field(m_gtest, "PRODID");
    m_gPath = m_cb.Field(m_gtest, "PATH");
    m_gTableName = m_cb.Field(m_gtest, "TABLENAME");
    m_gTitle = m_cb.Field(m_gtest, "TITLE");
    m_gNumTestQ = m_cb.Field(m_gtest, "NUMTESTQ");
    m_gNextId = m_cb.Field(m_gtest, "NEXTID");
    m_gGraphic = m_cb.Field(m_gtest, "GRAPHIC");
    m_gGraphicDT = m_cb.Field(m_gtest, "GRAPHICDT");
    m_gDescrip = m_cb.Field(m_gtest, "DESCRIP");
    m_gParent = m_cb.Field(m_gtest, "PARENT");
    m_gTagProdId = m_cb.Tag(m_gtest, "PRODID");
    m_gTagParent = m_cb.Tag(m_gtest, "PARENT");
}

TTesting::~TTesting() {
    CloseTest();
    m_cb.Close(m_gtest);
    m_cb.Close(m_ptest);
}

std::optional<QByteArray> TTesting::Enc(TTableText& text, const QString& value, const char* what) {
    auto bytes = text.Encode(value, what);
    if (!bytes)
        m_error = text.Error();
    return bytes;
}

bool TTesting::SeekTest(const QString& id) {
    m_cb.TagSelect(m_gtest, m_gTagProdId);
    auto key = m_gText.Codec().Encode(id);
    return key && m_cb.Seek(m_gtest, TrimTrailingBlanks(*key)) == R4_SUCCESS;
}

bool TTesting::SeekParent(const QString& id) {
    m_cb.TagSelect(m_ptest, m_pTagId);
    auto key = m_pText.Codec().Encode(id);
    return key && m_cb.Seek(m_ptest, TrimTrailingBlanks(*key)) == R4_SUCCESS;
}

// DatabaseDir + PATH + TABLENAME; a path written on Windows is found on disk.
QString TTesting::QuestionTablePath(const QString& path, const QString& tableName) const {
    return ResolvePath(m_databaseDir + FromStoredPath(path)) + tableName;
}

QString TTesting::TestDirectory() const {
    return ResolvePath(m_databaseDir + FromStoredPath(m_openPath));
}

bool TTesting::OpenTestIsCurrentRow() {
    if (!m_open || m_cb.RecNo(m_gtest) == 0)
        return false;
    return m_gText.Trimmed(m_gProdId) == TrimTrailingBlanks(m_openId);
}

int TTesting::OpenTest(const QString& testId) {
    // With no test open, a failed open must not leave the values of the test
    // open before, so that no caller shows one test's title for another.
    if (!m_open) {
        m_openProdId.clear();
        m_openPath.clear();
        m_openTableName.clear();
        m_openTitle.clear();
        m_openGraphic.clear();
        m_openDescription.clear();
        m_openParent.clear();
        m_numTestQ = 0;
    }
    if (!SeekTest(testId))
        return -1;
    QString path = m_gText.TrimmedMemo(m_gPath);
    QString name = m_gText.Trimmed(m_gTableName);
    // A test's tables stay below the database directory.
    if (!IsSafeTableDirectory(path) || name.isEmpty() || SafeRelativePath(name) != name)
        return -1;
    QString tablePath = QuestionTablePath(path, name);
    DATA4* q = m_cb.Open(tablePath);
    if (!q) {
        m_cb.ErrorCode();
        return -1;
    }
    DATA4* x = m_cb.Open(tablePath + "X");
    if (!x) {
        m_cb.ErrorCode();
        m_cb.Close(q);
        return -1;
    }
    m_q = q;
    m_x = x;
    m_qText.Attach(m_q);
    m_xText.Attach(m_x);
    m_qNum = m_cb.Field(m_q, "NUM");
    m_qId = m_cb.Field(m_q, "ID");
    m_qType = m_cb.Field(m_q, "TYPE");
    m_qTitle = m_cb.Field(m_q, "TITLE");
    m_qQuestion = m_cb.Field(m_q, "QUESTION");
    m_qNumAnswer = m_cb.Field(m_q, "NUMANSWER");
    m_qAnswer = m_cb.Field(m_q, "ANSWER");
    m_qHint = m_cb.Field(m_q, "Hint");
    m_qRef = m_cb.Field(m_q, "REF");
    m_qGraphic = m_cb.Field(m_q, "GRAPHIC");
    m_qGraphicDT = m_cb.Field(m_q, "GRAPHICDT");
    m_qTagNum = m_cb.Tag(m_q, "NUM");
    m_qTagId = m_cb.Tag(m_q, "ID");
    m_xId = m_cb.Field(m_x, "ID");
    m_xIndex = m_cb.Field(m_x, "INDEX");
    m_xAnswer = m_cb.Field(m_x, "ANSWER");
    m_xTagId = m_cb.Tag(m_x, "ID");

    m_openId = testId;
    m_open = true;
    m_openProdId = m_gText.Padded(m_gProdId);
    m_openPath = path;
    m_openTableName = name;
    m_openTitle = m_gText.MemoCapped(m_gTitle, TextLimits::Title);
    m_numTestQ = int(m_cb.Long(m_gNumTestQ));
    m_nextId = int(m_cb.Long(m_gNextId));
    m_openGraphic = m_gText.Memo(m_gGraphic);
    m_openDescription = m_gText.MemoCapped(m_gDescrip, TextLimits::Text);
    m_openParent = m_gText.Trimmed(m_gParent);
    m_question = TTestQuestion();

    m_cb.TagSelect(m_q, m_qTagNum);
    m_cb.TagSelect(m_x, m_xTagId);
    return 0;
}

void TTesting::CloseTest() {
    if (!m_open)
        return;
    m_cb.Close(m_q);
    m_cb.Close(m_x);
    m_open = false;
    m_cb.TagSelect(m_gtest, nullptr);
    m_openId.clear();
    m_question = TTestQuestion();
}

void TTesting::ReadQuestion() {
    m_question.Num = int(m_cb.Long(m_qNum));
    m_question.ID = int(m_cb.Long(m_qId));
    m_question.Type = int(m_cb.Long(m_qType));
    m_question.Title = m_qText.MemoCapped(m_qTitle, TextLimits::Title);
    m_question.Question = m_qText.MemoCapped(m_qQuestion, TextLimits::Text);
    m_question.NumAnswer = int(m_cb.Long(m_qNumAnswer));
    m_question.Answer = m_qText.Padded(m_qAnswer);
    m_question.Hint = m_qText.MemoCapped(m_qHint, TextLimits::Text);
    m_question.Ref = m_qText.MemoCapped(m_qRef, TextLimits::Text);
    m_question.Graphic = m_qText.Memo(m_qGraphic);
    if (OnTestQuestion)
        OnTestQuestion(m_question.Num, m_question.ID, m_question.Type, m_question.Title, m_question.Question,
                       m_question.NumAnswer, m_question.Answer, m_question.Hint, m_question.Ref,
                       m_question.Graphic);
}

int TTesting::GoToTestQuestion(int position) {
    // Bounded by the open test's own count (kept in step by the building
    // operations), whichever catalogue row happens to be current.
    if (!m_open || position > m_numTestQ)
        return -1;
    m_cb.TagSelect(m_q, m_qTagNum);
    long before = m_cb.RecNo(m_q);
    if (m_cb.SeekDouble(m_q, position) != R4_SUCCESS) {
        if (before > 0)
            m_cb.Go(m_q, before);
        return -1;
    }
    ReadQuestion();
    return 0;
}

int TTesting::GoToTestQuestionId(int id) {
    if (!m_open)
        return -1;
    m_cb.TagSelect(m_q, m_qTagId);
    long before = m_cb.RecNo(m_q);
    if (m_cb.SeekDouble(m_q, id) != R4_SUCCESS) {
        if (before > 0)
            m_cb.Go(m_q, before);
        return -1;
    }
    ReadQuestion();
    return 0;
}

std::vector<std::pair<int, long>> TTesting::ExtraRows(int questionId) {
    std::vector<std::pair<int, long>> rows;
    m_cb.TagSelect(m_x, m_xTagId);
    for (int rc = m_cb.SeekDouble(m_x, questionId); rc == R4_SUCCESS; rc = m_cb.Skip(m_x, 1)) {
        if (m_cb.Long(m_xId) != questionId)
            break;
        rows.emplace_back(int(m_cb.Long(m_xIndex)), m_cb.RecNo(m_x));
    }
    return rows;
}

QString TTesting::GetTestQuestionAnswerText(int choice) {
    if (m_question.Type == TrueFalse)
        return choice == 1 ? "TRUE" : "FALSE";
    return GetTestQuestionXtra(m_question.ID, choice);
}

QString TTesting::GetTestQuestionCorrectAnswer() {
    return TrimTrailingBlanks(m_question.Answer);
}

QByteArray TTesting::GetTestQuestionGraphicDT() {
    if (!m_open)
        return {};
    return FromLengthPrefixed(m_cb.Memo(m_qGraphicDT));
}

QString TTesting::GetTestQuestionTitle() {
    return m_question.Title;
}

QByteArray TTesting::GetDefaultGraphicDT() {
    return FromLengthPrefixed(m_cb.Memo(m_gGraphicDT));
}

QString TTesting::GraphicFilePath(const QString& graphic) const {
    const QString name = SafeRelativePath(FromStoredPath(graphic));
    if (name.isEmpty())
        return {};
    QString dir = TestDirectory();
    if (dir.isEmpty())
        dir = "./";
    else if (!dir.endsWith('/'))
        dir += '/';
    return dir + name;
}

bool TTesting::WriteTestQuestionGraphicFile(QString* path) {
    QString file = GraphicFilePath(m_question.Graphic);
    if (path)
        *path = file;
    if (file.isEmpty()) {
        m_error = QString("The file name \"%1\" is not inside the test's directory.").arg(m_question.Graphic);
        return false;
    }
    if (QFileInfo::exists(file))
        return true;
    QByteArray data = GetTestQuestionGraphicDT();
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size() || !out.commit()) {
        m_error = QString("The file \"%1\" could not be written.").arg(file);
        return false;
    }
    return true;
}

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

bool TTesting::ParentExists(const QString& id) {
    return SeekParent(id);
}

QString TTesting::GetParentTitle(const QString& id) {
    return SeekParent(id) ? m_pText.MemoCapped(m_pTitle, TextLimits::Title) : QString();
}

QString TTesting::GetParentDescription(const QString& id) {
    return SeekParent(id) ? m_pText.MemoCapped(m_pDescrip, TextLimits::Text) : QString();
}

int TTesting::GetParentNum(const QString& id) {
    return SeekParent(id) ? int(m_cb.Long(m_pNum)) : 0;
}

bool TTesting::SetParentTitle(const QString& id, const QString& title) {
    m_error.clear();
    auto bytes = Enc(m_pText, title, "The parent title");
    if (!bytes || !SeekParent(id))
        return false;
    m_cb.MemoAssign(m_pTitle, *bytes);
    return m_cb.Unlock(m_ptest) == 0;
}

void TTesting::GetParentInfo(TParentInfo& info) {
    if (!SeekParent(info.Id)) {
        info.Id = "bad";
        return;
    }
    info.Title = m_pText.MemoCapped(m_pTitle, TextLimits::Title);
    info.Description = m_pText.MemoCapped(m_pDescrip, TextLimits::Text);
    info.Num = int(m_cb.Long(m_pNum));
    info.Time = m_pText.Trimmed(m_pTime);
    info.NumQ = int(m_cb.Long(m_pNumQ));
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

QString TTesting::GetTestDescription(const QString& testId) {
    return SeekTest(testId) ? m_gText.MemoCapped(m_gDescrip, TextLimits::Text) : QString();
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
    auto bTitle = Enc(m_qText, title, "The question title");
    auto bQuestion = Enc(m_qText, question, "The question text");
    auto bAnswer = Enc(m_qText, answer, "The answer");
    auto bHint = Enc(m_qText, hint, "The hint");
    auto bRef = Enc(m_qText, ref, "The reference");
    auto bGraphic = Enc(m_qText, graphic, "The graphic file name");
    if (!bTitle || !bQuestion || !bAnswer || !bHint || !bRef || !bGraphic)
        return -1;
    int id = m_nextId;
    if (m_cb.AppendBlank(m_q) != 0)
        return -1;
    m_cb.AssignLong(m_qNum, position);
    m_cb.AssignLong(m_qId, id);
    m_cb.AssignLong(m_qType, type);
    m_cb.MemoAssign(m_qTitle, *bTitle);
    m_cb.MemoAssign(m_qQuestion, *bQuestion);
    m_cb.AssignLong(m_qNumAnswer, numAnswer);
    m_cb.Assign(m_qAnswer, *bAnswer);
    m_cb.MemoAssign(m_qHint, *bHint);
    m_cb.MemoAssign(m_qRef, *bRef);
    m_cb.MemoAssign(m_qGraphic, *bGraphic);
    m_cb.Unlock(m_q);
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

bool TTesting::ChangeCurrentTestQuestionInfo(int position, int type, const QString& title,
                                             const QString& question, int numAnswer, const QString& answer,
                                             const QString& hint, const QString& ref,
                                             const QString& graphic) {
    m_error.clear();
    auto bTitle = Enc(m_qText, title, "The question title");
    auto bQuestion = Enc(m_qText, question, "The question text");
    auto bAnswer = Enc(m_qText, answer, "The answer");
    auto bHint = Enc(m_qText, hint, "The hint");
    auto bRef = Enc(m_qText, ref, "The reference");
    auto bGraphic = Enc(m_qText, graphic, "The graphic file name");
    if (!bTitle || !bQuestion || !bAnswer || !bHint || !bRef || !bGraphic || !m_open || m_cb.RecNo(m_q) == 0)
        return false;
    m_cb.AssignLong(m_qNum, position);
    m_cb.AssignLong(m_qType, type);
    m_cb.MemoAssign(m_qTitle, *bTitle);
    m_cb.MemoAssign(m_qQuestion, *bQuestion);
    m_cb.AssignLong(m_qNumAnswer, numAnswer);
    m_cb.Assign(m_qAnswer, *bAnswer);
    m_cb.MemoAssign(m_qHint, *bHint);
    m_cb.MemoAssign(m_qRef, *bRef);
    m_cb.MemoAssign(m_qGraphic, *bGraphic);
    m_cb.Unlock(m_q);
    m_question.Num = position;
    m_question.Type = type;
    m_question.Title = title;
    m_question.Question = question;
    m_question.NumAnswer = numAnswer;
    m_question.Answer = m_qText.Padded(m_qAnswer);
    m_question.Hint = hint;
    m_question.Ref = ref;
    m_question.Graphic = graphic;
    return true;
}

int TTesting::GetCurrentId() {
    return int(m_cb.Long(m_qId));
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

QString TTesting::GetTestQuestionXtra(int questionId, int choice) {
    if (!m_open)
        return {};
    for (const auto& [index, recNo] : ExtraRows(questionId)) {
        if (index == choice) {
            m_cb.Go(m_x, recNo);
            return m_xText.MemoCapped(m_xAnswer, TextLimits::Text);
        }
    }
    return {};
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

// The rows between the two numbers shift by one toward `from`, then the row
// numbered `from` takes `to`. `rows` maps every number to its record, read
// before any change so that no seek meets a half-renumbered order.
void TTesting::MoveNumberedRow(DATA4* table, FIELD4* number, const std::map<int, long>& rows, int from,
                               int to) {
    auto renumber = [&](long recNo, int newNumber) {
        m_cb.Go(table, recNo);
        m_cb.AssignLong(number, newNumber);
        m_cb.Unlock(table);
    };
    const auto moving = rows.find(from);
    const int step = from < to ? 1 : -1;
    for (int n = from + step; n != to + step; n += step)
        if (auto it = rows.find(n); it != rows.end())
            renumber(it->second, n - step);
    if (moving != rows.end())
        renumber(moving->second, to);
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

void TTesting::ListGlobalTestTitles() {
    if (OnGlobalTestListStart)
        OnGlobalTestListStart();
    for (int rc = m_cb.Top(m_gtest); rc == R4_SUCCESS; rc = m_cb.Skip(m_gtest, 1))
        if (OnGlobalTestItem)
            OnGlobalTestItem(m_gText.MemoCapped(m_gTitle, TextLimits::Title), m_gText.Trimmed(m_gProdId));
    if (OnGlobalTestListEnd)
        OnGlobalTestListEnd();
}

void TTesting::ListParentTestTitles() {
    if (OnParentListStart)
        OnParentListStart();
    m_cb.TagSelect(m_ptest, nullptr);
    for (int rc = m_cb.Top(m_ptest); rc == R4_SUCCESS; rc = m_cb.Skip(m_ptest, 1))
        if (!m_cb.Deleted(m_ptest) && OnParentItem)
            OnParentItem(m_pText.MemoCapped(m_pTitle, TextLimits::Title), m_pText.Trimmed(m_pId));
    if (OnParentListEnd)
        OnParentListEnd();
}

void TTesting::ListTestTitles() {
    if (OnTestTitleListStart)
        OnTestTitleListStart();
    if (m_open)
        for (int rc = m_cb.Top(m_q); rc == R4_SUCCESS; rc = m_cb.Skip(m_q, 1))
            if (OnTestTitleItem)
                OnTestTitleItem(m_qText.MemoCapped(m_qTitle, TextLimits::Title), int(m_cb.Long(m_qNum)));
    if (OnTestTitleListEnd)
        OnTestTitleListEnd();
}

void TTesting::ListTestTitlesWParent() {
    if (OnTestParentListStart)
        OnTestParentListStart();
    m_cb.TagSelect(m_gtest, nullptr);
    for (int rc = m_cb.Top(m_gtest); rc == R4_SUCCESS; rc = m_cb.Skip(m_gtest, 1))
        if (!m_cb.Deleted(m_gtest) && OnTestParentItem)
            OnTestParentItem(m_gText.MemoCapped(m_gTitle, TextLimits::Title), m_gText.Trimmed(m_gProdId),
                             m_gText.Trimmed(m_gParent));
    if (OnTestParentListEnd)
        OnTestParentListEnd();
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
