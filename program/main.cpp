// The player. No command-line options: the installation is described by the
// registry store ($ALTAVO_REGISTRY or /etc/altavo/registry.ini).
#include <QApplication>

#include "platform/gui/TFonts.h"
#include "platform/gui/TMessageBoxes.h"
#include "platform/media/TQtMediaPlayer.h"
#include "program/TProgram.h"

int main(int argc, char** argv) {
    // Windows are placed at absolute positions, which Wayland does not allow.
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == "wayland" &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // Clips play through GStreamer, chosen before any multimedia object exists.
    TQtMediaPlayer::UseGStreamer();
    QApplication app(argc, argv);
    UseWindowsFonts();
    UseMessageBoxes();
    return RunAltavo(app);
}
