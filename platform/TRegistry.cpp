#include "platform/TRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

// File format: "[key path]" lines, then "name=value" lines. Backslashes,
// newlines and a leading "[" in values are escaped so every value survives.
namespace {
QString Escape(const QString& s) {
    QString out;
    for (QChar c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '=')
            out += "\\e";
        else
            out += c;
    }
    return out;
}

QString Unescape(const QString& s) {
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            QChar n = s[++i];
            out += n == 'n' ? QChar('\n') : n == 'r' ? QChar('\r') : n == 'e' ? QChar('=') : n;
        } else {
            out += s[i];
        }
    }
    return out;
}
} // namespace

QString TRegistry::DefaultFile() {
    QString env = qEnvironmentVariable("ALTAVO_REGISTRY");
    return env.isEmpty() ? QStringLiteral("/etc/altavo/registry.ini") : env;
}

TRegistry::TRegistry(QString file) : m_file(std::move(file)) {}

QString TRegistry::Normalise(const QString& key) {
    QString k = key;
    k.replace('/', '\\');
    while (k.startsWith('\\'))
        k.remove(0, 1);
    while (k.endsWith('\\'))
        k.chop(1);
    return k.toLower();
}

bool TRegistry::Load(Store& store) const {
    store.clear();
    QFile f(m_file);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    Key* current = nullptr;
    while (!in.atEnd()) {
        QString line = in.readLine();
        if (line.startsWith('[') && line.endsWith(']')) {
            QString path = line.mid(1, line.size() - 2);
            Key& k = store[Normalise(path)];
            if (k.path.isEmpty())
                k.path = path;
            current = &k;
        } else if (current && line.contains('=')) {
            qsizetype eq = line.indexOf('=');
            QString name = Unescape(line.left(eq));
            current->values[name.toLower()] = {name, Unescape(line.mid(eq + 1))};
        }
    }
    return true;
}

bool TRegistry::Save(const Store& store) {
    QFileInfo info(m_file);
    if (!QDir().mkpath(info.absolutePath())) {
        m_lastError = QStringLiteral("Cannot create directory %1").arg(info.absolutePath());
        return false;
    }
    QSaveFile f(m_file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        m_lastError = QStringLiteral("Cannot write %1: %2").arg(m_file, f.errorString());
        return false;
    }
    QTextStream out(&f);
    out.setEncoding(QStringConverter::Utf8);
    for (const Key& k : store) {
        out << '[' << k.path << "]\n";
        for (const auto& [name, value] : k.values)
            out << Escape(name) << '=' << Escape(value) << '\n';
        out << '\n';
    }
    out.flush();
    if (!f.commit()) {
        m_lastError = QStringLiteral("Cannot write %1: %2").arg(m_file, f.errorString());
        return false;
    }
    return true;
}

bool TRegistry::KeyExists(const QString& key) const {
    Store store;
    return Load(store) && store.contains(Normalise(key));
}

bool TRegistry::OpenKeyReadOnly(const QString& key) {
    CloseKey();
    if (!KeyExists(key))
        return false;
    m_openKey = Normalise(key);
    m_writable = false;
    return true;
}

bool TRegistry::OpenKey(const QString& key, bool canCreate) {
    CloseKey();
    Store store;
    if (!Load(store)) {
        m_lastError = QStringLiteral("Cannot read %1").arg(m_file);
        return false;
    }
    QString norm = Normalise(key);
    if (!store.contains(norm)) {
        if (!canCreate)
            return false;
        QString path = key;
        path.replace('/', '\\');
        while (path.startsWith('\\'))
            path.remove(0, 1);
        store[norm].path = path;
        if (!Save(store))
            return false;
    }
    m_openKey = norm;
    m_writable = true;
    return true;
}

void TRegistry::CloseKey() {
    m_openKey.clear();
    m_writable = false;
}

bool TRegistry::DeleteKey(const QString& key) {
    Store store;
    if (!Load(store))
        return false;
    if (store.remove(Normalise(key)) == 0)
        return false;
    return Save(store);
}

QString TRegistry::ReadString(const QString& name) const {
    Store store;
    if (m_openKey.isEmpty() || !Load(store))
        return {};
    return store.value(m_openKey).values.value(name.toLower()).second;
}

bool TRegistry::ValueExists(const QString& name) const {
    Store store;
    return !m_openKey.isEmpty() && Load(store) && store.value(m_openKey).values.contains(name.toLower());
}

bool TRegistry::WriteString(const QString& name, const QString& value) {
    if (m_openKey.isEmpty() || !m_writable) {
        m_lastError = QStringLiteral("No key is open for writing");
        return false;
    }
    Store store;
    if (!Load(store)) {
        m_lastError = QStringLiteral("Cannot read %1").arg(m_file);
        return false;
    }
    store[m_openKey].values[name.toLower()] = {name, value};
    return Save(store);
}
