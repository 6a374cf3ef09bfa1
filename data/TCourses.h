#pragma once
// The course catalogue "Courses": one row per installed course with its title,
// the identifier of its global test, its media path and its interactive
// exercise program. Also the score functions of the exam analysis.
#include <QString>
#include <functional>

#include "data/Codebase2.h"
#include "data/TTableText.h"

class TDynamicLibrary;

// Score functions: extended precision, rounded to the nearest integer with
// halves to even. A zero total (or b of zero) gives 0.
int PercentOf(long double a, long double p);                    // a x 0.01 x p
int Percentage(long double total, long double part);            // part / total x 100
int ScaledPercent(long double a, long double b, long double k); // a x 0.01 x b x (1000 / b) x (k x 0.001)
int PerMille(long double total, long double part);              // 1000 / total x part

class TCourses {
public:
    TCourses(TDynamicLibrary& library, const QString& databaseDir, CODE4* engine);
    ~TCourses();
    TCourses(const TCourses&) = delete;
    TCourses& operator=(const TCourses&) = delete;

    bool GoToCourseId(const QString& id);
    bool Exists(const QString& id);
    void ListCourseTitles();
    // The ID, or "0" with ErrorFlag and ErrorText set when the ID exists or a
    // text cannot be stored.
    QString AddCourse(const QString& id, const QString& title, const QString& testId, const QString& parentId,
                      const QString& path, const QString& genFile, int numCert, int movieType, int logonReq);
    QString GetNextId();
    int GetNumCourses();
    void GoToCourseByIndex(int n);
    void RemoveCourse(const QString& id);
    void PackDatabases();

    // Fields of the current record.
    QString GetId();
    QString GetTitle();
    QString GetPath();
    QString GetTestId();
    QString GetGenFile();
    QString GetIntClsName(); // as stored
    QString GetIntDefPath(); // as stored
    QString GetIntName();    // as stored
    QString GetParentId();
    QString GetDescription();
    int GetNumCert();
    int GetNumPages();
    int GetMovieType();
    int GetLogonReq();

    // Authoring: the values AddCourse does not take, on the current record.
    bool SetCourseDetails(const QString& description, int numPages, const QString& intName,
                          const QString& intClassName, const QString& intDefPath);

    bool ErrorFlag = false;
    QString ErrorText;

    std::function<void()> OnListStart;
    std::function<void(const QString& title, const QString& id, const QString& parentId)> OnListItem;
    std::function<void()> OnListEnd;

    // The engine's message when the table could not be opened (damaged,
    // unreadable, not a file) or opened with a fault; empty when sound. A
    // table that exists is never replaced by an empty one.
    QString OpenFault() const { return m_cb.OpenFault(); }
    // True when the table's file exists but could not be opened: the object
    // has no table and must not be used for the learner's work.
    bool OpenRefused() const { return m_cb.OpenRefused(); }

private:
    bool SeekId(const QString& id);

    Codebase2 m_cb;
    TTableText m_text;
    DATA4* m_data = nullptr;
    FIELD4 *m_id, *m_parentId, *m_testId, *m_title, *m_descript, *m_numCert, *m_numPages, *m_path, *m_genFile,
        *m_movieType, *m_logonReq, *m_intName, *m_intClsName, *m_intDefPath;
    TAG4 *m_tagId, *m_tagParentId, *m_tagTestId;
};
