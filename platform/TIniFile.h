#pragma once
// Reader of profile files (scheme.ini, Course.ini) with the private-profile
// rules that skins and course media were written for: section and key names
// match without regard to case, values are cut at 1023 characters and trimmed,
// an absent file, section or key yields the caller's default, integers are
// decimal or hexadecimal with "0x"/"0X" or "$", and an unparsable integer
// yields the default. The file is read once, when the reader is made.
#include <QHash>
#include <QString>

class TIniFile {
public:
    static constexpr int MaxValueLength = 1023;

    explicit TIniFile(const QString& path);

    bool FileExists() const { return m_exists; }
    bool SectionExists(const QString& section) const;
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;

    // The integer rules on their own, for values read elsewhere.
    static bool ParseInteger(const QString& text, int& value);

private:
    bool m_exists = false;
    // lower-case section -> lower-case key -> value (first occurrence wins)
    QHash<QString, QHash<QString, QString>> m_sections;
};
