#pragma once
// The display: its current mode, the modes it offers, changing the mode and
// restarting the machine. Start-up uses it to make sure the desktop shows more
// than 256 colours.
#include <memory>

struct TDisplayMode {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 0;
    int Refresh = 0; // Hz; 0 when unknown
};

enum class TModeChange {
    Success,       // the new mode is in effect
    RestartNeeded, // the change takes effect after a restart
    Failed,        // any other outcome
};

class TDisplay {
public:
    virtual ~TDisplay() = default;
    virtual TDisplayMode CurrentMode() const = 0;
    // Mode number index (from 0); false past the last mode.
    virtual bool EnumMode(int index, TDisplayMode& mode) const = 0;
    // Changes to mode, persistently; the refresh rate is part of the request
    // only when withRefresh is set.
    virtual TModeChange ChangeMode(const TDisplayMode& mode, bool withRefresh) = 0;
    // Asks the system for a restart; false when that was refused.
    virtual bool Restart() = 0;
};

// The display of the running session: the primary screen's size, depth and
// refresh rate. Linux desktops do not change colour depth at run time, so the
// only mode offered is the current one.
class TLinuxDisplay : public TDisplay {
public:
    TDisplayMode CurrentMode() const override;
    bool EnumMode(int index, TDisplayMode& mode) const override;
    TModeChange ChangeMode(const TDisplayMode& mode, bool withRefresh) override;
    bool Restart() override;
};
