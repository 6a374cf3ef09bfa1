#pragma once
// Text at the boundary of the tables. A table holds bytes in its code page
// (Windows-1252 unless the table's header declares another); the rest of the
// program works with Unicode text. Encoding refuses a character the code page
// cannot hold instead of turning it into "?".
#include <QByteArray>
#include <QString>
#include <optional>

class TTextCodec {
public:
    // From the code-page byte of a table's header (0: none declared).
    explicit TTextCodec(int headerCodePage = 0);

    // The code page number a header byte stands for (1252 when unknown or none).
    static int CodePageOfHeaderByte(int headerCodePage);

    int CodePage() const { return m_codePage; }
    QString Name() const; // e.g. "Windows-1252"

    // Bytes of the table decode always; a byte the code page leaves undefined
    // becomes U+FFFD (Windows-1252's five unused bytes keep their C1 values so
    // that they survive a round trip).
    QString Decode(const QByteArray& bytes) const;
    // nullopt when some character cannot be held; `refused` then names it.
    std::optional<QByteArray> Encode(const QString& text, QString* refused = nullptr) const;

private:
    int m_codePage;
};

// Encodes `text` for a table, or fills `error` with a message that names what
// was refused: "<what> holds the character "ł", which <table> (Windows-1252)
// cannot store."
std::optional<QByteArray> EncodeForTable(const TTextCodec& codec, const QString& text, const QString& what,
                                         const QString& table, QString& error);
