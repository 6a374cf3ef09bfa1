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

QString TTesting::GetTestDescription(const QString& testId) {
    return SeekTest(testId) ? m_gText.MemoCapped(m_gDescrip, TextLimits::Text) : QString();
}

bool TTesting::ChangeCurrentTestQuestionInfo(int position, int type, const QString& title,
                                             const QString& question, int numAnswer, const QString& answer,
                                             const QString& hint, const QString& ref,
                                             const QString& graphic) {
    m_error.clear();
    const auto bytes = EncodeQuestion(title, question, answer, hint, ref, graphic);
    if (!bytes || !m_open || m_cb.RecNo(m_q) == 0)
        return false;
    WriteQuestionFields(position, type, numAnswer, *bytes);
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

std::optional<TTesting::TQuestionBytes> TTesting::EncodeQuestion(const QString& title,
                                                                 const QString& question,
                                                                 const QString& answer, const QString& hint,
                                                                 const QString& ref, const QString& graphic) {
    auto bTitle = Enc(m_qText, title, "The question title");
    auto bQuestion = Enc(m_qText, question, "The question text");
    auto bAnswer = Enc(m_qText, answer, "The answer");
    auto bHint = Enc(m_qText, hint, "The hint");
    auto bRef = Enc(m_qText, ref, "The reference");
    auto bGraphic = Enc(m_qText, graphic, "The graphic file name");
    if (!bTitle || !bQuestion || !bAnswer || !bHint || !bRef || !bGraphic)
        return std::nullopt;
    return TQuestionBytes{*bTitle, *bQuestion, *bAnswer, *bHint, *bRef, *bGraphic};
}

void TTesting::WriteQuestionFields(int position, int type, int numAnswer, const TQuestionBytes& bytes) {
    m_cb.AssignLong(m_qNum, position);
    m_cb.AssignLong(m_qType, type);
    m_cb.MemoAssign(m_qTitle, bytes.Title);
    m_cb.MemoAssign(m_qQuestion, bytes.Question);
    m_cb.AssignLong(m_qNumAnswer, numAnswer);
    m_cb.Assign(m_qAnswer, bytes.Answer);
    m_cb.MemoAssign(m_qHint, bytes.Hint);
    m_cb.MemoAssign(m_qRef, bytes.Ref);
    m_cb.MemoAssign(m_qGraphic, bytes.Graphic);
    m_cb.Unlock(m_q);
}

int TTesting::GetCurrentId() {
    return int(m_cb.Long(m_qId));
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