#include "platform/TDynamicLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

namespace {
// The directories the dynamic linker searches by itself: LD_LIBRARY_PATH, the
// directories of /etc/ld.so.conf and its included files, and the defaults.
// Looking there ourselves, instead of handing the linker a bare name, means a
// copy of the library that is already loaded from elsewhere is never taken
// for one on the system's path.
QStringList SystemLibraryDirs() {
    QStringList dirs = qEnvironmentVariable("LD_LIBRARY_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    QStringList confs{QStringLiteral("/etc/ld.so.conf")};
    for (const QFileInfo& conf : QDir(QStringLiteral("/etc/ld.so.conf.d"))
                                     .entryInfoList({QStringLiteral("*.conf")}, QDir::Files, QDir::Name))
        confs << conf.filePath();
    for (const QString& conf : confs) {
        QFile file(conf);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        while (!file.atEnd()) {
            const QString line = QString::fromLocal8Bit(file.readLine()).trimmed();
            if (line.startsWith(QLatin1Char('/')))
                dirs << line;
        }
    }
    dirs << QStringLiteral("/lib") << QStringLiteral("/usr/lib") << QStringLiteral("/lib64")
         << QStringLiteral("/usr/lib64");
    return dirs;
}
} // namespace

TDynamicLibrary::TDynamicLibrary() = default;

TDynamicLibrary::~TDynamicLibrary() {
    Unload();
}

bool TDynamicLibrary::Load(const QString& fileName, const QStringList& dirs) {
    Unload();
    QStringList candidates;
    for (const QString& dir : dirs + SystemLibraryDirs()) {
        QString path = QDir(dir).filePath(fileName);
        if (QFileInfo::exists(path))
            candidates << path;
    }
    if (candidates.isEmpty())
        m_error = fileName + QStringLiteral(": not found");
    for (const QString& candidate : candidates) {
        auto lib = std::make_unique<QLibrary>(candidate);
        // Resolve every symbol at load time, so a damaged library fails here.
        lib->setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (lib->load()) {
            m_library = std::move(lib);
            m_error.clear();
            return true;
        }
        m_error = lib->errorString();
    }
    return false;
}

bool TDynamicLibrary::IsLoaded() const {
    return m_library && m_library->isLoaded();
}

void TDynamicLibrary::Unload() {
    // The library stays mapped: table objects may still hold function
    // pointers into it until the process ends.
    m_library.reset();
}

void* TDynamicLibrary::Symbol(const char* name) const {
    if (!IsLoaded())
        return nullptr;
    return reinterpret_cast<void*>(m_library->resolve(name));
}

QString TDynamicLibrary::FilePath() const {
    return m_library ? m_library->fileName() : QString();
}

QString TDynamicLibrary::ErrorString() const {
    return m_error;
}

QString EngineLibraryFileName() {
    return QStringLiteral("libc4dstand.so");
}

QStringList EngineLibraryDirs() {
    QStringList dirs;
    QString env = qEnvironmentVariable("ALTAVO_ENGINE_DIR");
    if (!env.isEmpty())
        return {env};
    if (QCoreApplication::instance())
        dirs << QCoreApplication::applicationDirPath();
    return dirs;
}
