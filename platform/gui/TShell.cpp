#include "platform/gui/TShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

bool ShellOpen(const QString& fileOrUrl) {
    QFileInfo info(fileOrUrl);
    if (info.isFile() && info.isExecutable())
        return QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath());
    QUrl url = info.exists() ? QUrl::fromLocalFile(info.absoluteFilePath()) : QUrl::fromUserInput(fileOrUrl);
    return url.isValid() && QDesktopServices::openUrl(url);
}

namespace {
bool HasClass(Display* display, Window window, const QByteArray& wanted) {
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint))
        return false;
    const bool match =
        (hint.res_name && wanted == hint.res_name) || (hint.res_class && wanted == hint.res_class);
    if (hint.res_name)
        XFree(hint.res_name);
    if (hint.res_class)
        XFree(hint.res_class);
    return match;
}

// Window managers wrap client windows in frames: look one level down too.
Window FindInTree(Display* display, Window parent, const QByteArray& wanted, int depth) {
    Window root = 0, parentOut = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        if (HasClass(display, children[i], wanted))
            found = children[i];
        else if (depth > 0)
            found = FindInTree(display, children[i], wanted, depth - 1);
    }
    if (children)
        XFree(children);
    return found;
}
} // namespace

bool ShowWindowOfClass(const QString& className) {
    if (className.isEmpty() || qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    Window window = FindInTree(display, DefaultRootWindow(display), className.toLocal8Bit(), 1);
    if (window) {
        XMapRaised(display, window);
        XFlush(display);
    }
    XCloseDisplay(display);
    return window != 0;
}
