#include "data/TAssignment.h"

#include "platform/TDynamicLibrary.h"

namespace {

const FIELD4INFO AssignFields[] = {
    {"ID", 'N', 9, 0, 0},       {"USERID", 'N', 9, 0, 0},     {"PRODID", 'C', 10, 0, 0},
    {"PRODTYPE", 'N', 4, 0, 0}, {"LASTACTIVE", 'N', 4, 0, 0}, {"LASTPOST", 'N', 4, 0, 0},
    {"BESTPOST", 'N', 4, 0, 0}, {"RIGHTS", 'M', 10, 0, 0},    {"EXCEPTIONS", 'M', 10, 0, 0},
    {"DATE", 'D', 8, 0, 0},     {nullptr, 0, 0, 0, 0},
};

const char* const NotDeleted = ".NOT. DELETED()";

const TAG4INFO AssignTags[] = {
    {"ID", "ID", NotDeleted, 0, 0},
    {"USERID", "USERID", NotDeleted, 0, 0},
    {"PRODID", "PRODID", NotDeleted, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

} // namespace

TAssignment::TAssignment(TDynamicLibrary& library, const QString& databaseDir, CODE4* engine)
    : m_cb(library, engine, {"d4create",      "d4open",   "code4errorCode", "d4field",       "d4tag",
                             "d4tagSelect",   "d4bottom", "d4close",        "d4seek",        "d4seekDouble",
                             "d4appendBlank", "f4assign", "f4assignLong",   "f4memoAssignN", "d4unlock",
                             "f4long",        "d4top",    "f4memoStr",      "f4memoLen",     "f4str",
                             "d4skip",        "d4delete", "date4today",     "date4format",   "d4lockAppend"}),
      m_text(m_cb, "the assignments table") {
    m_data = m_cb.OpenOrCreate(databaseDir + "Assign", AssignFields, AssignTags);
    m_text.Attach(m_data);
    m_id = m_cb.Field(m_data, "ID");
    m_userId = m_cb.Field(m_data, "USERID");
    m_prodId = m_cb.Field(m_data, "PRODID");
    m_prodType = m_cb.Field(m_data, "PRODTYPE");
    m_lastActive = m_cb.Field(m_data, "LASTACTIVE");
    m_lastPost = m_cb.Field(m_data, "LASTPOST");
    m_bestPost = m_cb.Field(m_data, "BESTPOST");
    m_rights = m_cb.Field(m_data, "RIGHTS");
    m_exceptions = m_cb.Field(m_data, "EXCEPTIONS");
    m_date = m_cb.Field(m_data, "DATE");
    m_tagId = m_cb.Tag(m_data, "ID");
    m_tagUserId = m_cb.Tag(m_data, "USERID");
    m_tagProdId = m_cb.Tag(m_data, "PRODID");
}

TAssignment::~TAssignment() {
    m_cb.Close(m_data);
}

// Walks the user's rows in USERID order and stops on the one whose product
// matches (both sides with trailing blanks removed, case-sensitive).
bool TAssignment::FindUserProduct(int userId, const QString& prodId) {
    auto wanted = m_text.Codec().Encode(prodId);
    if (!wanted)
        return false;
    QByteArray product = TrimTrailingBlanks(*wanted);
    m_cb.TagSelect(m_data, m_tagUserId);
    for (int rc = m_cb.SeekDouble(m_data, userId); rc == R4_SUCCESS; rc = m_cb.Skip(m_data, 1)) {
        if (m_cb.Long(m_userId) != userId)
            return false;
        if (TrimTrailingBlanks(m_cb.Str(m_prodId)) == product)
            return true;
    }
    return false;
}

bool TAssignment::GoToAssignment(int userId, const QString& prodId) {
    return FindUserProduct(userId, prodId);
}

bool TAssignment::AddAssignment(int userId, int prodType, int lastActive, const QString& prodId) {
    m_text.ClearError();
    auto product = m_text.Encode(prodId, "The product ID");
    if (!product)
        return false;
    // The highest ID and the append are one step for every seat sharing the
    // table: under its append lock.
    if (!m_cb.LockAppend(m_data))
        return false;
    int id = GetNextId();
    if (m_cb.AppendBlank(m_data) != 0) {
        m_cb.Unlock(m_data);
        return false;
    }
    m_cb.AssignLong(m_id, id);
    m_cb.AssignLong(m_userId, userId);
    m_cb.Assign(m_prodId, *product);
    m_cb.AssignLong(m_prodType, prodType);
    m_cb.AssignLong(m_lastActive, lastActive);
    m_cb.AssignLong(m_lastPost, -1);
    m_cb.AssignLong(m_bestPost, -1);
    m_cb.Assign(m_date, m_cb.Today());
    m_cb.Unlock(m_data);
    return true;
}

int TAssignment::GetNextId() {
    m_cb.TagSelect(m_data, m_tagId);
    if (m_cb.Bottom(m_data) != R4_SUCCESS)
        return 1;
    return int(m_cb.Long(m_id)) + 1;
}

void TAssignment::SetNumber(FIELD4* field, int value) {
    if (m_cb.RecNo(m_data) == 0)
        return;
    m_cb.AssignLong(field, value);
    m_cb.Unlock(m_data);
}

int TAssignment::GetLastActive() {
    return int(m_cb.Long(m_lastActive));
}
void TAssignment::SetLastActive(int value) {
    SetNumber(m_lastActive, value);
}
int TAssignment::GetLastPost() {
    return int(m_cb.Long(m_lastPost));
}
void TAssignment::SetLastPost(int value) {
    SetNumber(m_lastPost, value);
}
int TAssignment::GetBestPost() {
    return int(m_cb.Long(m_bestPost));
}
void TAssignment::SetBestPost(int value) {
    SetNumber(m_bestPost, value);
}

bool TAssignment::Exists(int userId) {
    m_cb.TagSelect(m_data, m_tagUserId);
    return m_cb.SeekDouble(m_data, userId) == R4_SUCCESS;
}

int TAssignment::GetAssignmentId() {
    return int(m_cb.Long(m_id));
}
int TAssignment::GetUserId() {
    return int(m_cb.Long(m_userId));
}
int TAssignment::GetProdType() {
    return int(m_cb.Long(m_prodType));
}
QString TAssignment::GetProdId() {
    return m_text.Padded(m_prodId);
}

bool TAssignment::GoToRecord(int id) {
    m_cb.TagSelect(m_data, m_tagId);
    return m_cb.SeekDouble(m_data, id) == R4_SUCCESS;
}

QString TAssignment::GetDate() {
    return QString::fromLatin1(m_cb.FormatDate(m_cb.Str(m_date), "MM/DD/CCYY"));
}

void TAssignment::ListAssignmentsByTypes(int userId, int prodType) {
    if (OnListStart)
        OnListStart();
    m_cb.TagSelect(m_data, m_tagUserId);
    for (int rc = m_cb.SeekDouble(m_data, userId); rc == R4_SUCCESS; rc = m_cb.Skip(m_data, 1)) {
        if (m_cb.Long(m_userId) != userId)
            break;
        if (m_cb.Long(m_prodType) == prodType && OnListItem)
            // The ID as its field text: right-aligned digits, leading blanks kept.
            OnListItem(m_text.Trimmed(m_id), m_text.Trimmed(m_prodId));
    }
    if (OnListEnd)
        OnListEnd();
}

void TAssignment::ListAssignmentsByProduct(const QString& prodId) {
    if (OnProductListStart)
        OnProductListStart();
    auto product = m_text.Codec().Encode(prodId);
    m_cb.TagSelect(m_data, m_tagProdId);
    if (product) {
        // The stored PRODID, padded to its 10 characters, must equal the text exactly.
        for (int rc = m_cb.Seek(m_data, *product); rc == R4_SUCCESS; rc = m_cb.Skip(m_data, 1)) {
            if (m_cb.Str(m_prodId) != *product)
                break;
            if (OnProductItem)
                OnProductItem(int(m_cb.Long(m_id)));
        }
    }
    if (OnProductListEnd)
        OnProductListEnd();
    m_cb.TagSelect(m_data, nullptr);
}

QByteArray TAssignment::GetBookmarks() {
    QByteArray memo = m_cb.Memo(m_exceptions);
    if (memo.isEmpty())
        return {};
    int length = static_cast<unsigned char>(memo[0]);
    // A memo shorter than its length byte says gives what it holds.
    return memo.mid(1, length);
}

bool TAssignment::SetBookmarks(const QByteArray& marks) {
    if (m_cb.RecNo(m_data) == 0)
        return false;
    // The length byte cannot say more than 255: keep the first 255 bytes and
    // a length byte that matches them, so the stored marks stay readable.
    QByteArray kept = marks.left(MaxBookmarkBytes);
    QByteArray memo;
    memo.append(char(kept.size()));
    memo.append(kept);
    m_cb.MemoAssign(m_exceptions, memo);
    m_cb.Unlock(m_data);
    return kept.size() == marks.size();
}

void TAssignment::DeleteAssignment(int userId, const QString& prodId) {
    if (!FindUserProduct(userId, prodId))
        return;
    m_cb.Delete(m_data);
    m_cb.Unlock(m_data);
}
