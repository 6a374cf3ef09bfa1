#include "data/Codebase2.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "data/TInstallJournal.h"

#include "platform/TDynamicLibrary.h"
#include "platform/TMessages.h"

bool CheckEntryPoint(const void* address, const char* name) {
    if (address)
        return true;
    Messages().ShowMessage(QString::fromLatin1(name) + " failed to receive");
    return false;
}

Codebase2::Codebase2(TDynamicLibrary& library, CODE4* engine, std::initializer_list<const char*> relied)
    : m_engine(engine) {
#define C4_ENTRY(ret, name, args) m_##name = library.Bind<ret(*) args>(#name);
#include "data/Codebase2Entries.inc"
#undef C4_ENTRY
    for (const char* name : relied)
        CheckEntryPoint(library.IsLoaded() ? library.Symbol(name) : nullptr, name);
}

DATA4* Codebase2::Open(const QString& path) {
    if (!m_d4open || !m_engine)
        return nullptr;
    return m_d4open(m_engine, QFile::encodeName(path).constData());
}

DATA4* Codebase2::Create(const QString& path, const FIELD4INFO* fields, const TAG4INFO* tags) {
    if (!m_d4create || !m_engine)
        return nullptr;
    return m_d4create(m_engine, QFile::encodeName(path).constData(), fields, tags);
}

namespace {

// True when the directory holds an entry of any kind (file, directory, FIFO,
// link) named like the file, in any letter case.
bool NameTaken(const QString& filePath) {
    const QFileInfo info(filePath);
    if (info.exists() || info.isSymLink())
        return true;
    const QStringList entries =
        info.dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

DATA4* Codebase2::OpenOrCreate(const QString& path, const FIELD4INFO* fields, const TAG4INFO* tags,
                               bool* created) {
    if (created)
        *created = false;
    DATA4* data = Open(path);
    if (!data) {
        const QString text = ErrorText();
        ErrorCode();
        // Only a table that is not there at all is made anew: whatever holds
        // its name is the administrator's to look at (altavo-db check).
        if (NameTaken(path + ".dbf")) {
            NoteOpenFault(!text.isEmpty() ? text : path + ".dbf: cannot be opened");
            m_openRefused = true;
            return nullptr;
        }
        if (TableBeingReplaced(path)) {
            NoteOpenFault(path + ".dbf: an interrupted course installation is replacing this table");
            m_openRefused = true;
            return nullptr;
        }
        data = Create(path, fields, tags);
        if (data && created)
            *created = true;
        if (!data) {
            NoteOpenFault(ErrorText());
            ErrorCode();
        }
    }
    if (data) {
        const QString text = ErrorText();
        if (ErrorCode() != 0) {
            // The engine's message names the file and the fault; "bad" alone
            // would tell the administrator nothing.
            NoteOpenFault(text);
            if (!text.isEmpty())
                Messages().ShowMessage(text);
            Messages().ShowMessage("bad");
        }
    }
    return data;
}

void Codebase2::NoteOpenFault(const QString& text) {
    if (!text.isEmpty())
        m_openFault += (m_openFault.isEmpty() ? "" : "\n") + text;
}

int Codebase2::Close(DATA4*& data) {
    int result = 0;
    if (data && m_d4close)
        result = m_d4close(data);
    data = nullptr;
    return result;
}

int Codebase2::ErrorCode() {
    return m_code4errorCode && m_engine ? m_code4errorCode(m_engine, 0) : 0;
}

QString Codebase2::ErrorText() {
    if (!m_code4errorText || !m_engine)
        return {};
    const char* text = m_code4errorText(m_engine);
    return text ? QString::fromLocal8Bit(text) : QString();
}

FIELD4* Codebase2::Field(DATA4* data, const char* name) {
    return data && m_d4field ? m_d4field(data, name) : nullptr;
}

TAG4* Codebase2::Tag(DATA4* data, const char* name) {
    return data && m_d4tag ? m_d4tag(data, name) : nullptr;
}

void Codebase2::TagSelect(DATA4* data, TAG4* tag) {
    if (data && m_d4tagSelect)
        m_d4tagSelect(data, tag);
}

int Codebase2::CodePage(DATA4* data) {
    return data && m_d4codePage ? m_d4codePage(data) : 0;
}

int Codebase2::Seek(DATA4* data, const QByteArray& key) {
    return data && m_d4seek ? m_d4seek(data, key.constData()) : R4_EOF;
}

int Codebase2::SeekDouble(DATA4* data, double key) {
    return data && m_d4seekDouble ? m_d4seekDouble(data, key) : R4_EOF;
}

int Codebase2::Top(DATA4* data) {
    return data && m_d4top ? m_d4top(data) : R4_EOF;
}

int Codebase2::Bottom(DATA4* data) {
    return data && m_d4bottom ? m_d4bottom(data) : R4_EOF;
}

int Codebase2::Skip(DATA4* data, long count) {
    return data && m_d4skip ? m_d4skip(data, count) : R4_EOF;
}

int Codebase2::Go(DATA4* data, long recNo) {
    return data && m_d4go ? m_d4go(data, recNo) : R4_EOF;
}

long Codebase2::RecNo(DATA4* data) {
    return data && m_d4recNo ? m_d4recNo(data) : 0;
}

int Codebase2::AppendBlank(DATA4* data) {
    return data && m_d4appendBlank ? m_d4appendBlank(data) : E4_PARM;
}

bool Codebase2::LockAppend(DATA4* data) {
    if (!data)
        return false;
    return !m_d4lockAppend || m_d4lockAppend(data) == 0;
}

int Codebase2::Unlock(DATA4* data) {
    return data && m_d4unlock ? m_d4unlock(data) : E4_PARM;
}

void Codebase2::Delete(DATA4* data) {
    if (data && m_d4delete)
        m_d4delete(data);
}

bool Codebase2::Deleted(DATA4* data) {
    return data && m_d4deleted && m_d4deleted(data) != 0;
}

int Codebase2::Pack(DATA4* data) {
    return data && m_d4pack ? m_d4pack(data) : E4_PARM;
}

int Codebase2::MemoCompress(DATA4* data) {
    return data && m_d4memoCompress ? m_d4memoCompress(data) : E4_PARM;
}

int Codebase2::Zap(DATA4* data, long start, long count) {
    return data && m_d4zap ? m_d4zap(data, start, count) : E4_PARM;
}

long Codebase2::RecCount(DATA4* data) {
    return data && m_d4recCountDo ? m_d4recCountDo(data) : 0;
}

void Codebase2::Assign(FIELD4* field, const QByteArray& bytes) {
    if (!field)
        return;
    if (m_f4assign && !bytes.contains('\0'))
        m_f4assign(field, bytes.constData());
    else if (m_f4assignN)
        m_f4assignN(field, bytes.constData(), unsigned(bytes.size()));
}

void Codebase2::AssignLong(FIELD4* field, long value) {
    if (field && m_f4assignLong)
        m_f4assignLong(field, value);
}

void Codebase2::AssignInt(FIELD4* field, int value) {
    if (field && m_f4assignInt)
        m_f4assignInt(field, value);
}

void Codebase2::AssignDouble(FIELD4* field, double value) {
    if (field && m_f4assignDouble)
        m_f4assignDouble(field, value);
}

int Codebase2::MemoAssign(FIELD4* field, const QByteArray& bytes) {
    if (!field)
        return E4_PARM;
    if (m_f4memoAssignN)
        return m_f4memoAssignN(field, bytes.constData(), unsigned(bytes.size()));
    if (m_f4memoAssign && !bytes.contains('\0'))
        return m_f4memoAssign(field, bytes.constData());
    return E4_PARM;
}

QByteArray Codebase2::Str(FIELD4* field) {
    if (!field || !m_f4str)
        return {};
    const char* text = m_f4str(field);
    if (!text)
        return {};
    // The stored text is exactly the field's width when the engine tells it.
    if (m_f4len) {
        int width = m_f4len(field);
        if (width > 0)
            return QByteArray(text, qstrnlen(text, uint(width)));
    }
    return QByteArray(text);
}

long Codebase2::Long(FIELD4* field) {
    return field && m_f4long ? m_f4long(field) : 0;
}

int Codebase2::Int(FIELD4* field) {
    return field && m_f4int ? m_f4int(field) : 0;
}

double Codebase2::Double(FIELD4* field) {
    return field && m_f4double ? m_f4double(field) : 0.0;
}

QByteArray Codebase2::Memo(FIELD4* field) {
    if (!field || !m_f4memoStr)
        return {};
    const char* text = m_f4memoStr(field);
    if (!text)
        return {};
    if (m_f4memoLen)
        return QByteArray(text, qsizetype(m_f4memoLen(field)));
    return QByteArray(text);
}

QByteArray Codebase2::Today() {
    char date[9] = {};
    if (m_date4today)
        m_date4today(date);
    return QByteArray(date, 8);
}

QByteArray Codebase2::FormatDate(const QByteArray& date8, const char* picture) {
    if (!m_date4format || date8.size() < 8)
        return {};
    QByteArray result(qsizetype(qstrlen(picture)) + 1, '\0');
    m_date4format(date8.left(8).constData(), result.data(), picture);
    result.chop(1);
    return result;
}

QByteArray TrimTrailingBlanks(const QByteArray& bytes) {
    qsizetype end = bytes.size();
    while (end > 0 && bytes[end - 1] == ' ')
        --end;
    return bytes.left(end);
}
