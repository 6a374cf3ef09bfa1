#pragma once
// The one binding between the table objects and the engine library: every
// entry point is looked up by name in the loaded library. A table object names
// the entry points it relies on; each missing one is reported with its name
// followed by " failed to receive" and the program goes on. Calls through an
// entry point that is missing, or on a table that could not be opened, do
// nothing and answer an engine error, so a broken installation never crashes.
#include <QByteArray>
#include <QString>
#include <initializer_list>

#include "engine/c4dstand.h"

class TDynamicLibrary;

// Shows "<name> failed to receive" when address is null; true when bound.
bool CheckEntryPoint(const void* address, const char* name);

class Codebase2 {
public:
    // Binds every entry point the engine offers; checks those in `relied` with
    // CheckEntryPoint (each table object names its own).
    Codebase2(TDynamicLibrary& library, CODE4* engine, std::initializer_list<const char*> relied);

    CODE4* Engine() const { return m_engine; }

    // Open the table `path` (no extension); when no file of that name exists
    // create it from the field and tag lists. `created` tells which happened.
    // A file that exists but cannot be read (damaged, unreadable, a directory,
    // a FIFO) is never replaced, nor is a table an interrupted installation is
    // replacing: the result is null, nothing is shown, and OpenFault() says
    // why (the caller reports it and stops). A table that opens with a fault
    // (a missing memo file, a damaged tag file) shows the engine's message,
    // then "bad", and is used as far as it goes.
    DATA4* OpenOrCreate(const QString& path, const FIELD4INFO* fields, const TAG4INFO* tags,
                        bool* created = nullptr);
    // Why an OpenOrCreate gave no table, or the engine's complaint about
    // the table it gave (a missing memo file): the engine's message naming the
    // file and the fault, one line per table. Empty when all was well.
    QString OpenFault() const { return m_openFault; }
    // True when an OpenOrCreate gave no table although its file exists (or an
    // installation is replacing it): the caller must stop or refuse the course.
    bool OpenRefused() const { return m_openRefused; }
    DATA4* Open(const QString& path);
    DATA4* Create(const QString& path, const FIELD4INFO* fields, const TAG4INFO* tags);
    int Close(DATA4*& data);

    int ErrorCode(); // the last error; resets it to 0
    QString ErrorText();

    FIELD4* Field(DATA4* data, const char* name);
    TAG4* Tag(DATA4* data, const char* name);
    void TagSelect(DATA4* data, TAG4* tag);
    int CodePage(DATA4* data);

    int Seek(DATA4* data, const QByteArray& key);
    int SeekDouble(DATA4* data, double key);
    int Top(DATA4* data);
    int Bottom(DATA4* data);
    int Skip(DATA4* data, long count);
    int Go(DATA4* data, long recNo);
    long RecNo(DATA4* data);
    int AppendBlank(DATA4* data);
    // Holds the table's append lock until the next Unlock, with the table
    // brought up to date: the highest ID read under it is still the highest
    // when the row with the next one is appended, whatever other processes
    // sharing the directory do. False when the lock cannot be taken; true
    // without locking when the engine lacks the entry point (reported when
    // bound), as for a single seat.
    bool LockAppend(DATA4* data);
    int Unlock(DATA4* data);
    void Delete(DATA4* data);
    bool Deleted(DATA4* data);
    int Pack(DATA4* data);
    int MemoCompress(DATA4* data);
    int Zap(DATA4* data, long start, long count);
    long RecCount(DATA4* data);

    void Assign(FIELD4* field, const QByteArray& bytes);
    void AssignLong(FIELD4* field, long value);
    void AssignInt(FIELD4* field, int value);
    void AssignDouble(FIELD4* field, double value);
    int MemoAssign(FIELD4* field, const QByteArray& bytes); // exact length
    QByteArray Str(FIELD4* field);                          // as stored, padded
    long Long(FIELD4* field);
    int Int(FIELD4* field);
    double Double(FIELD4* field);
    QByteArray Memo(FIELD4* field); // whole memo, exact length

    QByteArray Today(); // "CCYYMMDD"
    QByteArray FormatDate(const QByteArray& date8, const char* picture);

private:
    void NoteOpenFault(const QString& text);
    CODE4* m_engine;
    QString m_openFault;
    bool m_openRefused = false;
#define C4_ENTRY(ret, name, args) ret(*m_##name) args = nullptr;
#include "Codebase2Entries.inc"
#undef C4_ENTRY
};

// Bytes with trailing blanks removed (the stored padding of character fields).
QByteArray TrimTrailingBlanks(const QByteArray& bytes);
