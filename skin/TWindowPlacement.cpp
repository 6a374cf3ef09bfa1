#include "TWindowPlacement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

void MakeSkinnedWindow(QWidget* window, QSize clientSize, bool stayOnTop) {
    Qt::WindowFlags flags = Qt::FramelessWindowHint;
    flags |= stayOnTop ? (Qt::Tool | Qt::WindowStaysOnTopHint) : Qt::Window;
    window->setWindowFlags(flags);
    window->resize(clientSize);
}

QWidget* FindMainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits("TForm1"))
            return widget;
    return nullptr;
}

void CentreOver(QWidget* window, const QWidget* mainWindow) {
    if (!mainWindow) {
        CentreOnScreen(window);
        return;
    }
    const QRect main = mainWindow->geometry();
    window->move(main.left() + (main.width() - window->width()) / 2,
                 main.top() + (main.height() - window->height()) / 2);
}

void CentreOverMainWindow(QWidget* window) {
    CentreOver(window, FindMainWindow());
}

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    window->move(area.left() + (area.width() - window->width()) / 2,
                 area.top() + (area.height() - window->height()) / 2);
}
