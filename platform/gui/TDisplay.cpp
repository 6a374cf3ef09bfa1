#include "platform/gui/TDisplay.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <cmath>

TDisplayMode TLinuxDisplay::CurrentMode() const {
    TDisplayMode mode;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return mode;
    mode.Width = screen->size().width();
    mode.Height = screen->size().height();
    mode.BitsPerPixel = screen->depth();
    mode.Refresh = static_cast<int>(std::lround(screen->refreshRate()));
    return mode;
}

bool TLinuxDisplay::EnumMode(int index, TDisplayMode& mode) const {
    if (index != 0)
        return false;
    mode = CurrentMode();
    return true;
}

TModeChange TLinuxDisplay::ChangeMode(const TDisplayMode& mode, bool withRefresh) {
    TDisplayMode now = CurrentMode();
    bool same = mode.Width == now.Width && mode.Height == now.Height &&
                mode.BitsPerPixel == now.BitsPerPixel && (!withRefresh || mode.Refresh == now.Refresh);
    return same ? TModeChange::Success : TModeChange::Failed;
}

bool TLinuxDisplay::Restart() {
    // A forced restart: sessions that inhibit shutdown do not hold it up, but
    // services still stop in order, so no data is lost.
    return QProcess::startDetached(QStringLiteral("systemctl"),
                                   {QStringLiteral("reboot"), QStringLiteral("-i")});
}
