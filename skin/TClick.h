// What counts as a click on a label or picture of the small windows: the left
// button released over the control it was pressed on. Releasing elsewhere
// takes the click back, as it does on a button.
#pragma once

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

inline bool IsLeftClick(const QWidget* control, const QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    return mouse->button() == Qt::LeftButton && control->rect().contains(mouse->position().toPoint());
}
