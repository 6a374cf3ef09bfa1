// altavo-bench-window: the peer of the player's start-up. A bare 640x480
// borderless window, centred as the player's main window is, that prints the
// paint marker on its first paint and ends.
#include <QApplication>
#include <QScreen>
#include <QWidget>

#include "TPaintMarker.h"

int main(int argc, char** argv) {
    PrintStage("main");
    QApplication app(argc, argv);
    PrintStage("app");
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.resize(640, 480);
    if (QScreen* screen = app.primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    TPaintMarker marker([](QWidget*) { return true; }, [] { QApplication::quit(); });
    window.show();
    return app.exec();
}
