#pragma once
// The assignments table "Assign": which products (a course, or the test of a
// course) a user may take, with the learner's progress for each: the last
// activity record, the last and best post-test scores and, for a course, the
// bookmarks of the lesson. Most operations work on the current row, which
// GoToAssignment or GoToRecord positions.
#include <QByteArray>
#include <QString>
#include <functional>

#include "data/Codebase2.h"
#include "data/TTableText.h"

class TDynamicLibrary;

class TAssignment {
public:
    static constexpr int CourseProduct = 258;
    static constexpr int TestProduct = 257;
    static constexpr int MaxBookmarkBytes = 255; // what the length byte can say

    TAssignment(TDynamicLibrary& library, const QString& databaseDir, CODE4* engine);
    ~TAssignment();
    TAssignment(const TAssignment&) = delete;
    TAssignment& operator=(const TAssignment&) = delete;

    bool GoToAssignment(int userId, const QString& prodId);
    // False when the product ID cannot be stored (LastError() says why).
    bool AddAssignment(int userId, int prodType, int lastActive, const QString& prodId);
    int GetNextId();
    int GetLastActive();
    void SetLastActive(int value);
    int GetLastPost();
    void SetLastPost(int value);
    int GetBestPost();
    void SetBestPost(int value);
    bool Exists(int userId);
    int GetAssignmentId();
    int GetUserId();
    int GetProdType();
    QString GetProdId(); // as stored: 10 characters, blank-padded
    bool GoToRecord(int id);
    QString GetDate(); // "MM/DD/CCYY"
    void ListAssignmentsByTypes(int userId, int prodType);
    void ListAssignmentsByProduct(const QString& prodId);
    QByteArray GetBookmarks();
    // Stores at most 255 bytes (the length byte cannot say more); false when
    // the text was longer and only its first 255 bytes were kept.
    bool SetBookmarks(const QByteArray& marks);
    void DeleteAssignment(int userId, const QString& prodId);

    QString LastError() const { return m_text.Error(); }

    std::function<void()> OnListStart;
    std::function<void(const QString& id, const QString& prodId)> OnListItem;
    std::function<void()> OnListEnd;
    std::function<void()> OnProductListStart;
    std::function<void(int id)> OnProductItem;
    std::function<void()> OnProductListEnd;

    // The engine's message when the table could not be opened (damaged,
    // unreadable, not a file) or opened with a fault; empty when sound. A
    // table that exists is never replaced by an empty one.
    QString OpenFault() const { return m_cb.OpenFault(); }
    // True when the table's file exists but could not be opened: the object
    // has no table and must not be used for the learner's work.
    bool OpenRefused() const { return m_cb.OpenRefused(); }

private:
    bool FindUserProduct(int userId, const QString& prodId);
    void SetNumber(FIELD4* field, int value);

    Codebase2 m_cb;
    TTableText m_text;
    DATA4* m_data = nullptr;
    FIELD4 *m_id, *m_userId, *m_prodId, *m_prodType, *m_lastActive, *m_lastPost, *m_bestPost, *m_rights,
        *m_exceptions, *m_date;
    TAG4 *m_tagId, *m_tagUserId, *m_tagProdId;
};
