#pragma once
// A fresh database directory and engine session per test, the engine library
// loaded once, and every message recorded.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "engine/c4dstand.h"
#include "platform/TDynamicLibrary.h"
#include "platform/TMessages.h"

inline TDynamicLibrary& EngineLibrary() {
    static TDynamicLibrary library;
    if (!library.IsLoaded())
        library.Load(EngineLibraryFileName(), {qEnvironmentVariable("ALTAVO_BIN")});
    return library;
}

class DataTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(EngineLibrary().IsLoaded())
            << EngineLibrary().ErrorString().toStdString() << " (ALTAVO_BIN="
            << qEnvironmentVariable("ALTAVO_BIN").toStdString() << ")";
        ASSERT_TRUE(m_dir.isValid());
        Engine = EngineLibrary().Bind<CODE4* (*)()>("code4initP")();
        ASSERT_NE(Engine, nullptr);
        EngineLibrary().Bind<int (*)(CODE4*, int)>("code4errOff")(Engine, 1);
        EngineLibrary().Bind<int (*)(CODE4*, int)>("code4errOpen")(Engine, 0);
        EngineLibrary().Bind<int (*)(CODE4*, int)>("code4safety")(Engine, 0);
    }
    void TearDown() override {
        if (Engine)
            EngineLibrary().Bind<int (*)(CODE4*)>("code4initUndoP")(Engine);
    }
    // The database directory, ending in "/".
    QString Dir() const { return m_dir.path() + "/"; }
    TDynamicLibrary& Library() { return EngineLibrary(); }

    template <typename Fn> Fn Entry(const char* name) { return EngineLibrary().Bind<Fn>(name); }

    CODE4* Engine = nullptr;
    TScriptedMessages Shown;

private:
    QTemporaryDir m_dir;
};
