#pragma once
// The users table "Users": one row per learner with sign-in name, password,
// personal data and the learner's current activity.
#include <QDate>
#include <QString>
#include <functional>

#include "data/Codebase2.h"
#include "data/TTableText.h"

class TDynamicLibrary;

// One user passed between the users table and the screens.
struct UserInfoStruct {
    int ID = 0;
    QString UserName;
    QString FirstName;
    QString LastName;
    QString Password;
    QString SSN;
    QString Email;
    QString Phone;
    QString Fax;
    QString AdLine1;
    QString AdLine2;
    QString City;
    QString State;
    QString PostalCd;
    QString Country;
    QString Rights;
    int EmpId = 0;
    QDate Date;
    QString Company;
    int Status = 0;
};

class TUser {
public:
    TUser(TDynamicLibrary& library, const QString& databaseDir, CODE4* engine);
    ~TUser();
    TUser(const TUser&) = delete;
    TUser& operator=(const TUser&) = delete;

    bool Empty();
    int Authenticate(const QString& name, const QString& password);
    // The new ID, or -1 when the name exists or a text cannot be stored
    // (LastError() then says which).
    int AddUser(UserInfoStruct& info);
    // False when the ID is absent or a text cannot be stored.
    bool UpdateUser(const UserInfoStruct& info);
    // False (info untouched) when info.ID is absent.
    bool GetUser(UserInfoStruct& info);
    int GetNextId();
    bool UserExists(const QString& name);
    bool UserExistsByID(int id);
    int UserbyName(const QString& name);
    int SetStatus(int id, int status, int sessionId);
    bool SetLastIp(int id, const QString& address);
    QString GetLastIp(int id);
    // Order 3: by ID, anything else by user name. Raises OnListItem with each ID.
    void ListUsers(int orderKind);
    void DeleteUser(int id);

    // Why the last refused write was refused.
    QString LastError() const { return m_text.Error(); }

    std::function<void()> OnListStart;
    std::function<void(int id)> OnListItem;
    std::function<void()> OnListEnd;

    static constexpr int UserNameWidth = 20;

    // The engine's message when the table could not be opened (damaged,
    // unreadable, not a file) or opened with a fault; empty when sound. A
    // table that exists is never replaced by an empty one.
    QString OpenFault() const { return m_cb.OpenFault(); }
    // True when the table's file exists but could not be opened: the object
    // has no table and must not be used for the learner's work.
    bool OpenRefused() const { return m_cb.OpenRefused(); }

private:
    bool SeekName(const QString& name);
    bool SeekId(int id);
    struct EncodedUser;
    bool EncodeUser(const UserInfoStruct& info, EncodedUser& out);
    void AssignUser(const EncodedUser& user, int empId);

    Codebase2 m_cb;
    TTableText m_text;
    DATA4* m_data = nullptr;
    FIELD4 *m_id, *m_userName, *m_firstName, *m_lastName, *m_password, *m_ssn, *m_company, *m_date, *m_email,
        *m_phone, *m_fax, *m_adLine1, *m_adLine2, *m_city, *m_state, *m_postalCd, *m_country, *m_rights,
        *m_empId, *m_status, *m_cursesId, *m_lastIp;
    TAG4 *m_tagId, *m_tagEmpId, *m_tagUserName, *m_tagStatus;
};
