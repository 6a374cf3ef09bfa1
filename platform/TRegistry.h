#pragma once
// The machine-wide settings store: keys such as "Software\Quenvik\Altavo\Brisel"
// holding named string values. Key paths and value names match without regard
// to case. The store is one text file ($ALTAVO_REGISTRY, else
// /etc/altavo/registry.ini); every write replaces it atomically.
#include <QMap>
#include <QString>

class TRegistry {
public:
    // The store file in use: $ALTAVO_REGISTRY when set, else the machine-wide file.
    static QString DefaultFile();

    explicit TRegistry(QString file = DefaultFile());

    // Opens an existing key for reading; false when the key is absent.
    bool OpenKeyReadOnly(const QString& key);
    // Opens a key for reading and writing; creates it when canCreate is set.
    bool OpenKey(const QString& key, bool canCreate);
    void CloseKey();
    bool KeyExists(const QString& key) const;
    bool DeleteKey(const QString& key);

    // Values of the open key. An absent value reads as "".
    QString ReadString(const QString& name) const;
    bool ValueExists(const QString& name) const;
    // Writes the value and saves the store; false (with LastError) when the
    // key is read-only or the file cannot be written.
    bool WriteString(const QString& name, const QString& value);

    QString LastError() const { return m_lastError; }

private:
    struct Key {
        QString path;                                  // as first written
        QMap<QString, QPair<QString, QString>> values; // lower-case name -> (name, value)
    };
    using Store = QMap<QString, Key>; // lower-case normalised path -> key

    static QString Normalise(const QString& key);
    bool Load(Store& store) const;
    bool Save(const Store& store);

    QString m_file;
    QString m_openKey; // normalised, empty when none
    bool m_writable = false;
    QString m_lastError;
};
