#pragma once
// An engine session: started with the settings every program of ours uses
// (failed opens quiet, so the caller reports them; engine messages off unless
// asked for), released when the session goes. The player and the tools share it.
#include <functional>
#include <utility>

#include "engine/c4dstand.h"
#include "platform/TDynamicLibrary.h"

struct TEngineSessionOptions {
    // Leaves the engine's own messages on (the player shows them).
    bool EngineMessages = false;
    // Told the name of each entry point the library lacks, in binding order.
    std::function<void(const char* name)> OnMissingEntryPoint;
};

class TEngineSession {
public:
    explicit TEngineSession(TDynamicLibrary& library, const TEngineSessionOptions& options = {})
        : m_library(library) {
        auto init = library.Bind<CODE4* (*)()>("code4initP");
        auto errOpen = library.Bind<int (*)(CODE4*, int)>("code4errOpen");
        auto safety = library.Bind<int (*)(CODE4*, int)>("code4safety");
        m_undo = library.Bind<int (*)(CODE4*)>("code4initUndoP");
        auto errOff = library.Bind<int (*)(CODE4*, int)>("code4errOff");
        if (options.OnMissingEntryPoint) {
            const std::pair<const char*, bool> entryPoints[] = {{"code4initP", init != nullptr},
                                                                {"code4errOpen", errOpen != nullptr},
                                                                {"code4safety", safety != nullptr},
                                                                {"code4initUndoP", m_undo != nullptr},
                                                                {"code4errOff", errOff != nullptr}};
            for (const auto& [name, present] : entryPoints)
                if (!present)
                    options.OnMissingEntryPoint(name);
        }
        m_engine = init ? init() : nullptr;
        if (!m_engine)
            return;
        if (errOff) {
            errOff(m_engine, 1);
            if (options.EngineMessages)
                errOff(m_engine, 0);
        }
        if (errOpen)
            errOpen(m_engine, 0); // a table that cannot be opened is the caller's to report
        if (safety)
            safety(m_engine, 0);
    }
    ~TEngineSession() {
        if (m_undo && m_engine)
            m_undo(m_engine);
    }
    TEngineSession(const TEngineSession&) = delete;
    TEngineSession& operator=(const TEngineSession&) = delete;
    CODE4* Engine() const { return m_engine; }

private:
    TDynamicLibrary& m_library;
    CODE4* m_engine = nullptr;
    int (*m_undo)(CODE4*) = nullptr;
};
