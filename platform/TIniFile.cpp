#include "platform/TIniFile.h"

#include <QFile>

TIniFile::TIniFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    m_exists = true;
    // Profile files are 8-bit text; Latin-1 keeps every byte.
    const QList<QByteArray> lines = f.readAll().split('\n');
    QHash<QString, QString>* section = nullptr;
    for (const QByteArray& raw : lines) {
        QString line = QString::fromLatin1(raw).trimmed();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[')) {
            qsizetype close = line.indexOf(']');
            QString name = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed().toLower();
            section = &m_sections[name];
            continue;
        }
        qsizetype eq = line.indexOf('=');
        if (!section || eq < 0)
            continue;
        QString key = line.left(eq).trimmed().toLower();
        if (!section->contains(key))
            section->insert(key, line.mid(eq + 1).trimmed());
    }
}

bool TIniFile::SectionExists(const QString& section) const {
    return m_sections.contains(section.toLower());
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const {
    auto s = m_sections.constFind(section.toLower());
    QString value = defaultValue;
    if (s != m_sections.constEnd()) {
        auto k = s->constFind(key.toLower());
        if (k != s->constEnd())
            value = *k;
    }
    value = value.left(MaxValueLength).trimmed();
    // A value in matching quotes is given without them, as the platform does.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

bool TIniFile::ParseInteger(const QString& text, int& value) {
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith('-')) {
        negative = true;
        t.remove(0, 1);
    } else if (t.startsWith('+')) {
        t.remove(0, 1);
    }
    int base = 10;
    if (t.startsWith("0x", Qt::CaseInsensitive)) {
        base = 16;
        t.remove(0, 2);
    } else if (t.startsWith('$')) {
        base = 16;
        t.remove(0, 1);
    }
    if (t.isEmpty())
        return false;
    bool ok = false;
    // Hexadecimal values are 32-bit patterns (colour values use all 32 bits).
    qlonglong v = t.toLongLong(&ok, base);
    if (!ok)
        return false;
    if (base == 16 ? v > 0xFFFFFFFFLL : v > 0x7FFFFFFFLL + (negative ? 1 : 0))
        return false;
    value = static_cast<int>(static_cast<quint32>(v));
    if (negative)
        value = static_cast<int>(-static_cast<qint64>(static_cast<quint32>(v)));
    return true;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    int value = 0;
    return ParseInteger(ReadString(section, key, QString()), value) ? value : defaultValue;
}
