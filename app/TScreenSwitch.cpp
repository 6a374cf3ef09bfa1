// Switching screens, and dragging the main window by its background.
#include <QApplication>
#include <QMouseEvent>

#include "app/TExitForm.h"
#include "app/TForm1.h"
#include "platform/TPaths.h"
#include "widgets/TGifImage.h"

void TForm1::SetScreenRoutines(int screen, TScreenRoutines routines) {
    m_screens[screen] = std::move(routines);
}

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
    const int old = CurrentScreen;
    CurrentScreen = ScreenSwitching;
    if (auto it = m_screens.find(old); it != m_screens.end() && it->second.Leave)
        it->second.Leave();
    // Queued events run here and see screen 6, a switch in progress.
    QApplication::processEvents();
    if (auto it = m_screens.find(screen); it != m_screens.end() && it->second.Enter)
        it->second.Enter();
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
