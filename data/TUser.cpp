#include "data/TUser.h"

#include <array>

#include "platform/TDynamicLibrary.h"

namespace {

const FIELD4INFO UserFields[] = {
    {"ID", 'N', 9, 0, 0},        {"USERNAME", 'C', 20, 0, 0}, {"FIRSTNAME", 'M', 10, 0, 0},
    {"LASTNAME", 'M', 10, 0, 0}, {"PASSWORD", 'M', 10, 0, 0}, {"SSN", 'C', 11, 0, 0},
    {"COMPANY", 'C', 60, 0, 0},  {"DATE", 'D', 8, 0, 0},      {"EMAIL", 'M', 10, 0, 0},
    {"PHONE", 'M', 10, 0, 0},    {"FAX", 'M', 10, 0, 0},      {"ADLINE1", 'M', 10, 0, 0},
    {"ADLINE2", 'M', 10, 0, 0},  {"CITY", 'M', 10, 0, 0},     {"STATE", 'M', 10, 0, 0},
    {"POSTALCD", 'M', 10, 0, 0}, {"COUNTRY", 'M', 10, 0, 0},  {"RIGHTS", 'M', 10, 0, 0},
    {"EMPID", 'N', 9, 0, 0},     {"STATUS", 'N', 4, 0, 0},    {"CURSESID", 'N', 9, 0, 0},
    {"LASTIP", 'C', 15, 0, 0},   {nullptr, 0, 0, 0, 0},
};

const char* const NotDeleted = ".NOT. DELETED()";

const TAG4INFO UserTags[] = {
    {"ID", "ID", NotDeleted, 0, 0},
    {"EMPID", "EMPID", NotDeleted, 0, 0},
    {"USERNAME", "USERNAME", NotDeleted, 0, 0},
    {"STATUS", "STATUS", NotDeleted, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

} // namespace

TUser::TUser(TDynamicLibrary& library, const QString& databaseDir, CODE4* engine)
    : m_cb(library, engine, {"d4create",      "d4open",   "code4errorCode", "d4field",       "d4tag",
                             "d4tagSelect",   "d4bottom", "d4close",        "d4seek",        "d4seekDouble",
                             "d4appendBlank", "f4assign", "f4assignLong",   "f4memoAssignN", "d4unlock",
                             "f4long",        "d4top",    "f4memoStr",      "f4memoLen",     "f4str",
                             "d4skip",        "d4delete", "date4today",     "date4format",   "d4lockAppend"}),
      m_text(m_cb, "the users table") {
    m_data = m_cb.OpenOrCreate(databaseDir + "Users", UserFields, UserTags);
    m_text.Attach(m_data);
    m_id = m_cb.Field(m_data, "ID");
    m_userName = m_cb.Field(m_data, "USERNAME");
    m_firstName = m_cb.Field(m_data, "FIRSTNAME");
    m_lastName = m_cb.Field(m_data, "LASTNAME");
    m_password = m_cb.Field(m_data, "PASSWORD");
    m_ssn = m_cb.Field(m_data, "SSN");
    m_company = m_cb.Field(m_data, "COMPANY");
    m_date = m_cb.Field(m_data, "DATE");
    m_email = m_cb.Field(m_data, "EMAIL");
    m_phone = m_cb.Field(m_data, "PHONE");
    m_fax = m_cb.Field(m_data, "FAX");
    m_adLine1 = m_cb.Field(m_data, "ADLINE1");
    m_adLine2 = m_cb.Field(m_data, "ADLINE2");
    m_city = m_cb.Field(m_data, "CITY");
    m_state = m_cb.Field(m_data, "STATE");
    m_postalCd = m_cb.Field(m_data, "POSTALCD");
    m_country = m_cb.Field(m_data, "COUNTRY");
    m_rights = m_cb.Field(m_data, "RIGHTS");
    m_empId = m_cb.Field(m_data, "EMPID");
    m_status = m_cb.Field(m_data, "STATUS");
    m_cursesId = m_cb.Field(m_data, "CURSESID");
    m_lastIp = m_cb.Field(m_data, "LASTIP");
    m_tagId = m_cb.Tag(m_data, "ID");
    m_tagEmpId = m_cb.Tag(m_data, "EMPID");
    m_tagUserName = m_cb.Tag(m_data, "USERNAME");
    m_tagStatus = m_cb.Tag(m_data, "STATUS");
}

TUser::~TUser() {
    m_cb.Close(m_data);
}

bool TUser::SeekName(const QString& name) {
    m_cb.TagSelect(m_data, m_tagUserName);
    // A name the table cannot hold is in no row. That includes a name longer
    // than the field, which the seek would otherwise cut to the field's width
    // and so find the user whose name is its first 20 bytes.
    auto key = m_text.Codec().Encode(name);
    return key && key->size() <= UserNameWidth && m_cb.Seek(m_data, *key) == R4_SUCCESS;
}

bool TUser::SeekId(int id) {
    m_cb.TagSelect(m_data, m_tagId);
    return m_cb.SeekDouble(m_data, id) == R4_SUCCESS;
}

bool TUser::Empty() {
    return m_cb.Top(m_data) != R4_SUCCESS;
}

int TUser::Authenticate(const QString& name, const QString& password) {
    if (!SeekName(name))
        return -1;
    // The password is compared as stored: exact bytes, exact length.
    auto given = m_text.Codec().Encode(password);
    if (!given || m_cb.Memo(m_password) != *given)
        return -1;
    return int(m_cb.Long(m_id));
}

// The texts of one user in the table's code page, all encoded before any is
// written, so a refused one leaves the row untouched.
struct TUser::EncodedUser {
    std::array<QByteArray, 16> bytes;
};

namespace {
struct UserText {
    QString UserInfoStruct::*member;
    const char* what;
};
const std::array<UserText, 16> UserTexts = {{
    {&UserInfoStruct::UserName, "The user name"},
    {&UserInfoStruct::FirstName, "The first name"},
    {&UserInfoStruct::LastName, "The last name"},
    {&UserInfoStruct::Password, "The password"},
    {&UserInfoStruct::SSN, "The social security number"},
    {&UserInfoStruct::Email, "The e-mail address"},
    {&UserInfoStruct::Phone, "The phone number"},
    {&UserInfoStruct::Fax, "The fax number"},
    {&UserInfoStruct::AdLine1, "The first address line"},
    {&UserInfoStruct::AdLine2, "The second address line"},
    {&UserInfoStruct::City, "The city"},
    {&UserInfoStruct::State, "The state"},
    {&UserInfoStruct::PostalCd, "The postal code"},
    {&UserInfoStruct::Country, "The country"},
    {&UserInfoStruct::Rights, "The rights text"},
    {&UserInfoStruct::Company, "The company"},
}};
} // namespace

bool TUser::EncodeUser(const UserInfoStruct& info, EncodedUser& out) {
    m_text.ClearError();
    for (size_t i = 0; i < UserTexts.size(); ++i) {
        auto encoded = m_text.Encode(info.*UserTexts[i].member, UserTexts[i].what);
        if (!encoded)
            return false;
        out.bytes[i] = *encoded;
    }
    // A longer name would be cut by the table and then sign in under another spelling.
    if (out.bytes[0].size() > UserNameWidth) {
        m_text.SetError(QString("The user name is longer than %1 characters.").arg(UserNameWidth));
        return false;
    }
    return true;
}

void TUser::AssignUser(const EncodedUser& user, int empId) {
    FIELD4* const fields[16] = {m_userName, m_firstName, m_lastName, m_password, m_ssn,  m_email,
                                m_phone,    m_fax,       m_adLine1,  m_adLine2,  m_city, m_state,
                                m_postalCd, m_country,   m_rights,   m_company};
    for (size_t i = 0; i < 16; ++i) {
        if (fields[i] == m_userName || fields[i] == m_ssn || fields[i] == m_company)
            m_cb.Assign(fields[i], user.bytes[i]);
        else
            m_cb.MemoAssign(fields[i], user.bytes[i]);
    }
    m_cb.AssignLong(m_empId, empId);
}

int TUser::AddUser(UserInfoStruct& info) {
    EncodedUser user;
    if (!EncodeUser(info, user))
        return -1;
    // Seats sharing the table register at once: the name check, the highest
    // ID and the append are one step under the table's append lock.
    if (!m_cb.LockAppend(m_data))
        return -1;
    if (SeekName(info.UserName)) {
        m_cb.Unlock(m_data);
        return -1;
    }
    int id = GetNextId();
    if (m_cb.AppendBlank(m_data) != 0) {
        m_cb.Unlock(m_data);
        return -1;
    }
    info.ID = id;
    m_cb.AssignLong(m_id, id);
    AssignUser(user, info.EmpId);
    m_cb.Assign(m_date, m_cb.Today());
    m_cb.AssignLong(m_status, 0);
    m_cb.Unlock(m_data);
    return id;
}

bool TUser::UpdateUser(const UserInfoStruct& info) {
    EncodedUser user;
    if (!EncodeUser(info, user))
        return false;
    if (!SeekId(info.ID))
        return false;
    AssignUser(user, info.EmpId);
    m_cb.Unlock(m_data);
    return true;
}

bool TUser::GetUser(UserInfoStruct& info) {
    if (!SeekId(info.ID))
        return false;
    info.UserName = m_text.Trimmed(m_userName);
    info.FirstName = m_text.Memo(m_firstName);
    info.LastName = m_text.Memo(m_lastName);
    info.Password = m_text.Memo(m_password);
    info.SSN = m_text.Trimmed(m_ssn);
    info.Email = m_text.Memo(m_email);
    info.Phone = m_text.Memo(m_phone);
    info.Fax = m_text.Memo(m_fax);
    info.AdLine1 = m_text.Memo(m_adLine1);
    info.AdLine2 = m_text.Memo(m_adLine2);
    info.City = m_text.Memo(m_city);
    info.State = m_text.Memo(m_state);
    info.PostalCd = m_text.Memo(m_postalCd);
    info.Country = m_text.Memo(m_country);
    info.Rights = m_text.Memo(m_rights);
    info.EmpId = int(m_cb.Long(m_empId));
    info.Company = m_text.Trimmed(m_company);
    info.Status = int(m_cb.Long(m_status));
    // "MM/DD/CCYY", read as month, day, four-digit year.
    QByteArray date = m_cb.FormatDate(m_cb.Str(m_date), "MM/DD/CCYY");
    info.Date = QDate::fromString(QString::fromLatin1(date), "MM/dd/yyyy");
    return true;
}

int TUser::GetNextId() {
    m_cb.TagSelect(m_data, m_tagId);
    if (m_cb.Bottom(m_data) != R4_SUCCESS)
        return 1;
    return int(m_cb.Long(m_id)) + 1;
}

bool TUser::UserExists(const QString& name) {
    return SeekName(name);
}

bool TUser::UserExistsByID(int id) {
    return SeekId(id);
}

int TUser::UserbyName(const QString& name) {
    return SeekName(name) ? int(m_cb.Long(m_id)) : -1;
}

int TUser::SetStatus(int id, int status, int sessionId) {
    m_cb.TagSelect(m_data, m_tagId);
    int found = m_cb.SeekDouble(m_data, id);
    if (found != R4_SUCCESS)
        return found;
    m_cb.AssignLong(m_status, status);
    m_cb.AssignLong(m_cursesId, sessionId);
    return m_cb.Unlock(m_data);
}

bool TUser::SetLastIp(int id, const QString& address) {
    m_text.ClearError();
    auto bytes = m_text.Encode(address, "The network address");
    if (!bytes || !SeekId(id))
        return false;
    m_cb.Assign(m_lastIp, *bytes);
    m_cb.Unlock(m_data);
    return true;
}

QString TUser::GetLastIp(int id) {
    if (!SeekId(id))
        return {};
    return m_text.Padded(m_lastIp);
}

void TUser::ListUsers(int orderKind) {
    if (OnListStart)
        OnListStart();
    m_cb.TagSelect(m_data, orderKind == 3 ? m_tagId : m_tagUserName);
    for (int rc = m_cb.Top(m_data); rc == R4_SUCCESS; rc = m_cb.Skip(m_data, 1))
        if (OnListItem)
            OnListItem(int(m_cb.Long(m_id)));
    if (OnListEnd)
        OnListEnd();
}

void TUser::DeleteUser(int id) {
    if (SeekId(id)) {
        m_cb.Delete(m_data);
        m_cb.Unlock(m_data);
    }
    m_cb.Top(m_data);
}
