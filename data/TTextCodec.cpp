#include "data/TTextCodec.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The five bytes it
// leaves undefined map to the C1 control of the same value.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString DecodeCp1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b <= 0x9F ? QChar(Cp1252High[b - 0x80]) : QChar(b));
    }
    return text;
}

std::optional<QByteArray> EncodeCp1252(const QString& text, QString* refused) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) {
        char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.append(char(u));
            continue;
        }
        int found = -1;
        for (int i = 0; i < 32; ++i)
            if (Cp1252High[i] == u)
                found = i;
        if (found < 0) {
            if (refused)
                *refused = ch.isSurrogate() ? text.mid(text.indexOf(ch), 2) : QString(ch);
            return std::nullopt;
        }
        bytes.append(char(0x80 + found));
    }
    return bytes;
}

QByteArray IconvName(int codePage) {
    return "CP" + QByteArray::number(codePage);
}

// Runs iconv over all of `in`; on a byte sequence it cannot convert, calls
// `onError` (which may consume input and answer false to give up).
template <typename OnError>
bool RunIconv(iconv_t cd, const QByteArray& in, QByteArray& out, OnError onError) {
    char* inPtr = const_cast<char*>(in.constData());
    size_t inLeft = size_t(in.size());
    std::vector<char> buffer(in.size() * 4 + 16);
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), qsizetype(buffer.size() - outLeft));
        if (r == size_t(-1) && errno != E2BIG) {
            if (!onError(inPtr, inLeft, out))
                return false;
        }
    }
    return true;
}

} // namespace

TTextCodec::TTextCodec(int headerCodePage) : m_codePage(CodePageOfHeaderByte(headerCodePage)) {
    if (m_codePage != 1252) {
        iconv_t probe = iconv_open("UTF-8", IconvName(m_codePage).constData());
        if (probe == iconv_t(-1))
            m_codePage = 1252;
        else
            iconv_close(probe);
    }
}

int TTextCodec::CodePageOfHeaderByte(int b) {
    switch (b) {
    case 0x01:
        return 437;
    case 0x02:
        return 850;
    case 0x03:
        return 1252;
    case 0x26:
        return 866;
    case 0x57:
    case 0x58:
    case 0x59:
        return 1252;
    case 0x64:
        return 852;
    case 0x65:
        return 866;
    case 0x66:
        return 865;
    case 0x67:
        return 861;
    case 0x6A:
        return 737;
    case 0x6B:
        return 857;
    case 0x78:
        return 950;
    case 0x79:
        return 949;
    case 0x7A:
        return 936;
    case 0x7B:
        return 932;
    case 0x7C:
        return 874;
    case 0x7D:
        return 1255;
    case 0x7E:
        return 1256;
    case 0xC8:
        return 1250;
    case 0xC9:
        return 1251;
    case 0xCA:
        return 1254;
    case 0xCB:
        return 1253;
    case 0xCC:
        return 1257;
    default:
        return 1252;
    }
}

QString TTextCodec::Name() const {
    if (m_codePage >= 1250 && m_codePage <= 1258)
        return QString("Windows-%1").arg(m_codePage);
    return QString("code page %1").arg(m_codePage);
}

QString TTextCodec::Decode(const QByteArray& bytes) const {
    if (m_codePage == 1252)
        return DecodeCp1252(bytes);
    iconv_t cd = iconv_open("UTF-8", IconvName(m_codePage).constData());
    if (cd == iconv_t(-1))
        return DecodeCp1252(bytes);
    QByteArray utf8;
    RunIconv(cd, bytes, utf8, [](char*& in, size_t& left, QByteArray& out) {
        out.append("\xEF\xBF\xBD"); // U+FFFD for a byte the code page does not define
        ++in;
        --left;
        return true;
    });
    iconv_close(cd);
    return QString::fromUtf8(utf8);
}

std::optional<QByteArray> TTextCodec::Encode(const QString& text, QString* refused) const {
    if (m_codePage == 1252)
        return EncodeCp1252(text, refused);
    iconv_t cd = iconv_open(IconvName(m_codePage).constData(), "UTF-8");
    if (cd == iconv_t(-1))
        return EncodeCp1252(text, refused);
    QByteArray in = text.toUtf8();
    QByteArray out;
    bool ok = RunIconv(cd, in, out, [&](char*& inPtr, size_t&, QByteArray&) {
        if (refused) {
            qsizetype offset = inPtr - in.constData();
            *refused = QString::fromUtf8(in.mid(offset)).left(1);
        }
        return false;
    });
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    return out;
}

std::optional<QByteArray> EncodeForTable(const TTextCodec& codec, const QString& text, const QString& what,
                                         const QString& table, QString& error) {
    QString refused;
    auto bytes = codec.Encode(text, &refused);
    if (!bytes)
        error = QString("%1 holds the character \"%2\", which %3 (%4) cannot store.")
                    .arg(what, refused, table, codec.Name());
    return bytes;
}
