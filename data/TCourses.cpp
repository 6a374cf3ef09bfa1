#include "data/TCourses.h"

#include <cfenv>
#include <climits>
#include <cmath>

#include "platform/TDynamicLibrary.h"

namespace {

const FIELD4INFO CourseFields[] = {
    {"ID", 'C', 10, 0, 0},         {"PARENTID", 'C', 10, 0, 0},   {"TESTID", 'C', 10, 0, 0},
    {"TITLE", 'M', 10, 0, 0},      {"DESCRIPT", 'M', 10, 0, 0},   {"NUMCERT", 'N', 4, 0, 0},
    {"NUMPAGES", 'N', 4, 0, 0},    {"PATH", 'M', 10, 0, 0},       {"GENFILE", 'C', 40, 0, 0},
    {"MOVIETYPE", 'N', 4, 0, 0},   {"LOGONREQ", 'N', 1, 0, 0},    {"INTNAME", 'M', 10, 0, 0},
    {"INTCLSNAME", 'M', 10, 0, 0}, {"INTDEFPATH", 'M', 10, 0, 0}, {nullptr, 0, 0, 0, 0},
};

const char* const NotDeleted = ".NOT. DELETED()";

const TAG4INFO CourseTags[] = {
    {"ID", "ID", NotDeleted, 0, 0},
    {"PARENTID", "PARENTID", NotDeleted, 0, 0},
    {"TESTID", "TESTID", NotDeleted, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

// Nearest integer, halves to even (the default rounding mode), clamped to int.
int RoundScore(long double value) {
    if (!std::isfinite(value))
        return 0;
    std::fesetround(FE_TONEAREST);
    long double rounded = std::nearbyintl(value);
    if (rounded > INT_MAX)
        return INT_MAX;
    if (rounded < INT_MIN)
        return INT_MIN;
    return int(rounded);
}

} // namespace

int PercentOf(long double a, long double p) {
    return RoundScore(a * 0.01L * p);
}

int Percentage(long double total, long double part) {
    return total == 0 ? 0 : RoundScore(part / total * 100.0L);
}

int ScaledPercent(long double a, long double b, long double k) {
    return b == 0 ? 0 : RoundScore(a * 0.01L * b * (1000.0L / b) * (k * 0.001L));
}

int PerMille(long double total, long double part) {
    return total == 0 ? 0 : RoundScore(1000.0L / total * part);
}

TCourses::TCourses(TDynamicLibrary& library, const QString& databaseDir, CODE4* engine)
    : m_cb(library, engine,
           {"d4create",    "d4open",       "code4errorCode", "d4field",      "d4tag",
            "d4tagSelect", "d4bottom",     "d4close",        "d4seek",       "d4appendBlank",
            "f4assign",    "f4assignLong", "f4memoAssignN",  "d4unlock",     "f4long",
            "d4top",       "f4memoStr",    "f4memoLen",      "f4str",        "d4skip",
            "d4delete",    "d4pack",       "d4memoCompress", "d4recCountDo", "d4lockAppend"}),
      m_text(m_cb, "the courses table") {
    m_data = m_cb.OpenOrCreate(databaseDir + "Courses", CourseFields, CourseTags);
    m_text.Attach(m_data);
    m_id = m_cb.Field(m_data, "ID");
    m_parentId = m_cb.Field(m_data, "PARENTID");
    m_testId = m_cb.Field(m_data, "TESTID");
    m_title = m_cb.Field(m_data, "TITLE");
    m_descript = m_cb.Field(m_data, "DESCRIPT");
    m_numCert = m_cb.Field(m_data, "NUMCERT");
    m_numPages = m_cb.Field(m_data, "NUMPAGES");
    m_path = m_cb.Field(m_data, "PATH");
    m_genFile = m_cb.Field(m_data, "GENFILE");
    m_movieType = m_cb.Field(m_data, "MOVIETYPE");
    m_logonReq = m_cb.Field(m_data, "LOGONREQ");
    m_intName = m_cb.Field(m_data, "INTNAME");
    m_intClsName = m_cb.Field(m_data, "INTCLSNAME");
    m_intDefPath = m_cb.Field(m_data, "INTDEFPATH");
    m_tagId = m_cb.Tag(m_data, "ID");
    m_tagParentId = m_cb.Tag(m_data, "PARENTID");
    m_tagTestId = m_cb.Tag(m_data, "TESTID");
}

TCourses::~TCourses() {
    m_cb.Close(m_data);
}

bool TCourses::SeekId(const QString& id) {
    m_cb.TagSelect(m_data, m_tagId);
    auto key = m_text.Codec().Encode(id);
    return key && m_cb.Seek(m_data, *key) == R4_SUCCESS;
}

bool TCourses::GoToCourseId(const QString& id) {
    return SeekId(id);
}

bool TCourses::Exists(const QString& id) {
    return SeekId(id);
}

void TCourses::ListCourseTitles() {
    if (OnListStart)
        OnListStart();
    m_cb.TagSelect(m_data, m_tagId);
    for (int rc = m_cb.Top(m_data); rc == R4_SUCCESS; rc = m_cb.Skip(m_data, 1))
        if (OnListItem)
            OnListItem(m_text.TrimmedMemoCapped(m_title, TextLimits::Title), m_text.Trimmed(m_id),
                       m_text.Trimmed(m_parentId));
    if (OnListEnd)
        OnListEnd();
}

QString TCourses::AddCourse(const QString& id, const QString& title, const QString& testId,
                            const QString& parentId, const QString& path, const QString& genFile, int numCert,
                            int movieType, int logonReq) {
    ErrorFlag = false;
    ErrorText.clear();
    m_text.ClearError();
    const QString texts[] = {id, title, testId, parentId, path, genFile};
    const char* const what[] = {"The course ID", "The course title", "The test ID",
                                "The parent ID", "The course path",  "The genesis file name"};
    QByteArray bytes[6];
    for (int i = 0; i < 6; ++i) {
        auto encoded = m_text.Encode(texts[i], what[i]);
        if (!encoded) {
            ErrorFlag = true;
            ErrorText = m_text.Error();
            return "0";
        }
        bytes[i] = *encoded;
    }
    // The ID check and the append are one step for every process sharing
    // the table: under its append lock.
    if (!m_cb.LockAppend(m_data)) {
        ErrorFlag = true;
        ErrorText = "The course could not be added: " + m_cb.ErrorText();
        return "0";
    }
    if (SeekId(id)) {
        m_cb.Unlock(m_data);
        ErrorFlag = true;
        ErrorText = "Course With Id " + id + ", Already Exists.";
        return "0";
    }
    if (m_cb.AppendBlank(m_data) != 0) {
        ErrorFlag = true;
        ErrorText = "The course could not be added: " + m_cb.ErrorText();
        m_cb.Unlock(m_data);
        return "0";
    }
    m_cb.Assign(m_id, bytes[0]);
    m_cb.MemoAssign(m_title, bytes[1]);
    m_cb.Assign(m_testId, bytes[2]);
    m_cb.Assign(m_parentId, bytes[3]);
    m_cb.MemoAssign(m_path, bytes[4]);
    m_cb.Assign(m_genFile, bytes[5]);
    m_cb.AssignLong(m_numCert, numCert);
    m_cb.AssignLong(m_movieType, movieType);
    m_cb.AssignLong(m_logonReq, logonReq);
    m_cb.Unlock(m_data);
    return id;
}

bool TCourses::SetCourseDetails(const QString& description, int numPages, const QString& intName,
                                const QString& intClassName, const QString& intDefPath) {
    m_text.ClearError();
    auto d = m_text.Encode(description, "The course description");
    auto n = m_text.Encode(intName, "The interactive program's name");
    auto c = m_text.Encode(intClassName, "The interactive program's window class");
    auto p = m_text.Encode(intDefPath, "The interactive program's path");
    if (!d || !n || !c || !p || m_cb.RecNo(m_data) == 0)
        return false;
    m_cb.MemoAssign(m_descript, *d);
    m_cb.AssignLong(m_numPages, numPages);
    m_cb.MemoAssign(m_intName, *n);
    m_cb.MemoAssign(m_intClsName, *c);
    m_cb.MemoAssign(m_intDefPath, *p);
    return m_cb.Unlock(m_data) == 0;
}

QString TCourses::GetNextId() {
    m_cb.TagSelect(m_data, m_tagId);
    if (m_cb.Bottom(m_data) != R4_SUCCESS)
        return "1";
    return QString::number(m_text.Trimmed(m_id).trimmed().toLongLong() + 1);
}

int TCourses::GetNumCourses() {
    return int(m_cb.RecCount(m_data));
}

void TCourses::GoToCourseByIndex(int n) {
    m_cb.TagSelect(m_data, nullptr);
    m_cb.Top(m_data);
    m_cb.Skip(m_data, n);
}

void TCourses::RemoveCourse(const QString& id) {
    if (!SeekId(id))
        return;
    m_cb.Delete(m_data);
    m_cb.Unlock(m_data);
    m_cb.Top(m_data);
}

void TCourses::PackDatabases() {
    m_cb.Pack(m_data);
    m_cb.MemoCompress(m_data);
    m_cb.Top(m_data);
}

QString TCourses::GetId() {
    return m_text.Trimmed(m_id);
}
QString TCourses::GetTitle() {
    return m_text.TrimmedMemoCapped(m_title, TextLimits::Title);
}
QString TCourses::GetPath() {
    return m_text.TrimmedMemo(m_path);
}
QString TCourses::GetTestId() {
    return m_text.Trimmed(m_testId);
}
QString TCourses::GetGenFile() {
    return m_text.Trimmed(m_genFile);
}
QString TCourses::GetIntClsName() {
    return m_text.Memo(m_intClsName);
}
QString TCourses::GetIntDefPath() {
    return m_text.Memo(m_intDefPath);
}
QString TCourses::GetIntName() {
    return m_text.Memo(m_intName);
}
QString TCourses::GetParentId() {
    return m_text.Trimmed(m_parentId);
}
QString TCourses::GetDescription() {
    return m_text.MemoCapped(m_descript, TextLimits::Text);
}
int TCourses::GetNumCert() {
    return int(m_cb.Long(m_numCert));
}
int TCourses::GetNumPages() {
    return int(m_cb.Long(m_numPages));
}
int TCourses::GetMovieType() {
    return int(m_cb.Long(m_movieType));
}
int TCourses::GetLogonReq() {
    return int(m_cb.Long(m_logonReq));
}
