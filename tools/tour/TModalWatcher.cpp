#include "TModalWatcher.h"

#include <QApplication>

TModalWatcher::TModalWatcher(THandler unexpected) : m_unexpected(std::move(unexpected)) {
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &TModalWatcher::Poll);
}

bool TModalWatcher::Act(const std::function<void()>& action, const QString& className, THandler handler) {
    m_expectedClass = className;
    m_handler = std::move(handler);
    m_seen = false;
    m_timer.start();
    action();
    QApplication::processEvents();
    m_timer.stop();
    m_expectedClass.clear();
    m_handler = nullptr;
    return className.isEmpty() || m_seen;
}

void TModalWatcher::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || m_handling || !modal->isVisible())
        return;
    // Handlers click and grab, which may let this timer fire again.
    m_handling = true;
    QPointer<QWidget> guard(modal);
    const bool expected =
        !m_seen && !m_expectedClass.isEmpty() && m_expectedClass == modal->metaObject()->className();
    if (expected) {
        m_seen = true;
        if (m_handler)
            m_handler(modal);
    } else {
        m_unexpected(modal);
    }
    if (guard && guard->isVisible())
        guard->close();
    m_handling = false;
}
