#pragma once
// A display for start-up tests: a current mode, a list of offered modes, a
// scripted outcome for mode changes, and a record of what was asked.
#include <vector>

#include "platform/gui/TDisplay.h"

class TFakeDisplay : public TDisplay {
public:
    TDisplayMode Current{1024, 768, 32, 60};
    std::vector<TDisplayMode> Modes;
    TModeChange Outcome = TModeChange::Success;
    bool RestartResult = true;

    // What the program asked for.
    std::vector<int> Enumerated;
    std::vector<std::pair<TDisplayMode, bool>> Requested; // mode, with refresh
    int Restarts = 0;

    TDisplayMode CurrentMode() const override { return Current; }
    bool EnumMode(int index, TDisplayMode& mode) const override {
        const_cast<TFakeDisplay*>(this)->Enumerated.push_back(index);
        if (index < 0 || index >= static_cast<int>(Modes.size()))
            return false;
        mode = Modes[index];
        return true;
    }
    TModeChange ChangeMode(const TDisplayMode& mode, bool withRefresh) override {
        Requested.emplace_back(mode, withRefresh);
        return Outcome;
    }
    bool Restart() override {
        ++Restarts;
        return RestartResult;
    }
};
