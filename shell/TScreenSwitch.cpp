// Switching screens, and dragging the main window by its background.
#include <QApplication>
#include <QMouseEvent>

#include "platform/TPaths.h"
#include "shell/TExitForm.h"
#include "shell/TForm1.h"
#include "shell/TScreenModule.h"
#include "widgets/TGifImage.h"

void TForm1::ShowScreen(int screen) {
    if (screen == ScreenExit) {
        if (ExitForm) {
            ExitForm->ExitRequested = false;
            ExitForm->exec();
            if (ExitForm->ExitRequested)
                close();
        }
        return;
    }
    TScreenModule* leaving = ScreenModule(CurrentScreen);
    CurrentScreen = ScreenSwitching;
    if (leaving) {
        for (QWidget* control : leaving->Controls())
            control->hide();
        leaving->Leave();
    }
    // Queued events run here and see screen 6, a switch in progress.
    QApplication::processEvents();
    if (TScreenModule* entering = ScreenModule(screen)) {
        CurrentScreen = screen;
        SetBackground(entering->EnterBackground());
        entering->Enter();
    }
}

void TForm1::SetBackground(const QString& name) {
    Background->SetFileName(ResolvePath(GraphicDir + SkinDir + name));
}

bool TForm1::event(QEvent* e) {
    if (e->type() == WM_SHOWSCREEN) {
        ShowScreen(static_cast<TShowScreenEvent*>(e)->LParam);
        return true;
    }
    return QWidget::event(e);
}

// Any mouse button on the background drags the window; visible side windows
// follow by their own placement routines.
void TForm1::mousePressEvent(QMouseEvent* e) {
    Dragging = true;
    m_dragStart = e->position().toPoint();
    setCursor(Qt::SizeAllCursor);
}

void TForm1::mouseMoveEvent(QMouseEvent* e) {
    if (!Dragging)
        return;
    move(pos() + (e->position().toPoint() - m_dragStart));
    for (const auto& place : SideWindowPlacers)
        place();
}

void TForm1::mouseReleaseEvent(QMouseEvent*) {
    Dragging = false;
    unsetCursor();
}
