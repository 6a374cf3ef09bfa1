#include "platform/TDynamicLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

TDynamicLibrary::TDynamicLibrary() = default;

TDynamicLibrary::~TDynamicLibrary() {
    Unload();
}

bool TDynamicLibrary::Load(const QString& fileName, const QStringList& dirs) {
    Unload();
    QStringList candidates;
    for (const QString& dir : dirs) {
        QString path = QDir(dir).filePath(fileName);
        if (QFileInfo::exists(path))
            candidates << path;
    }
    candidates << fileName; // the system's library path
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
