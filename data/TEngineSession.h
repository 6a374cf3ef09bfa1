#pragma once
// An engine session for a tool's run: started with the player's settings
// (engine messages off, quiet failed opens, create replaces), released at the
// end of the scope.
#include <utility>

#include "engine/c4dstand.h"
#include "platform/TDynamicLibrary.h"

class TEngineSession {
public:
    explicit TEngineSession(TDynamicLibrary& library) : m_library(library) {
        auto init = library.Bind<CODE4* (*)()>("code4initP");
        m_engine = init ? init() : nullptr;
        if (!m_engine)
            return;
        for (auto [name, value] : {std::pair{"code4errOff", 1}, {"code4errOpen", 0}, {"code4safety", 0}})
            if (auto set = library.Bind<int (*)(CODE4*, int)>(name))
                set(m_engine, value);
    }
    ~TEngineSession() {
        if (auto undo = m_library.Bind<int (*)(CODE4*)>("code4initUndoP"); undo && m_engine)
            undo(m_engine);
    }
    TEngineSession(const TEngineSession&) = delete;
    TEngineSession& operator=(const TEngineSession&) = delete;
    CODE4* Engine() const { return m_engine; }

private:
    TDynamicLibrary& m_library;
    CODE4* m_engine = nullptr;
};
