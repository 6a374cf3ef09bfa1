#pragma once
// A shared library loaded at run time, with entry points looked up by name.
#include <QString>
#include <QStringList>
#include <memory>

class QLibrary;

class TDynamicLibrary {
public:
    TDynamicLibrary();
    ~TDynamicLibrary();
    TDynamicLibrary(const TDynamicLibrary&) = delete;
    TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

    // Loads fileName from the first of dirs that has it, then from the
    // system's library path. False when it cannot be loaded.
    bool Load(const QString& fileName, const QStringList& dirs);
    bool IsLoaded() const;
    void Unload();
    // The entry point's address, or nullptr when the library lacks it.
    void* Symbol(const char* name) const;
    QString FilePath() const;
    QString ErrorString() const;

    template <typename Fn> Fn Bind(const char* name) const { return reinterpret_cast<Fn>(Symbol(name)); }

private:
    std::unique_ptr<QLibrary> m_library;
    QString m_error;
};

// The engine library's file name, and the directory searched for it before the
// system's library path: $ALTAVO_ENGINE_DIR when set, else the program's own.
QString EngineLibraryFileName();
QStringList EngineLibraryDirs();
