#pragma once
// Reading and writing text fields of one open table through its code page.
#include <QString>
#include <optional>

#include "data/Codebase2.h"
#include "data/TTextCodec.h"
#include "data/TTextLimits.h"

// Text with trailing blanks removed.
inline QString TrimTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.left(end);
}

class TTableText {
public:
    TTableText(Codebase2& cb, QString tableName) : m_cb(cb), m_tableName(std::move(tableName)) {}

    // Takes the code page from the open table's header.
    void Attach(DATA4* data) { m_codec = TTextCodec(data ? m_cb.CodePage(data) : 0); }
    const TTextCodec& Codec() const { return m_codec; }

    QString Trimmed(FIELD4* field) { return m_codec.Decode(TrimTrailingBlanks(m_cb.Str(field))); }
    QString Padded(FIELD4* field) { return m_codec.Decode(m_cb.Str(field)); }
    QString Memo(FIELD4* field) { return m_codec.Decode(m_cb.Memo(field)); }
    QString TrimmedMemo(FIELD4* field) { return m_codec.Decode(TrimTrailingBlanks(m_cb.Memo(field))); }
    // Texts shown from tables the player did not write, cut to `limit`
    // characters (TextLimits) so no table can flood the screen.
    QString Capped(FIELD4* field, int limit) {
        return m_codec.Decode(TrimTrailingBlanks(m_cb.Str(field)).left(limit));
    }
    QString MemoCapped(FIELD4* field, int limit) { return m_codec.Decode(m_cb.Memo(field).left(limit)); }
    QString TrimmedMemoCapped(FIELD4* field, int limit) {
        return m_codec.Decode(TrimTrailingBlanks(m_cb.Memo(field).left(limit)));
    }

    // Bytes for a value to store; nullopt (and Error() set) when refused.
    std::optional<QByteArray> Encode(const QString& text, const QString& what) {
        return EncodeForTable(m_codec, text, what, m_tableName, m_error);
    }
    QString Error() const { return m_error; }
    void ClearError() { m_error.clear(); }
    void SetError(const QString& error) { m_error = error; }

private:
    Codebase2& m_cb;
    QString m_tableName;
    TTextCodec m_codec;
    QString m_error;
};
