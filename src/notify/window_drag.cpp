#include "window_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace velloran {

WindowDrag::WindowDrag(QWidget* window) : QObject(window), window_(window) {}

void WindowDrag::addHandle(QWidget* handle) {
    handle->installEventFilter(this);
}

bool WindowDrag::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // The window system's own move works where a program may not place its windows (Wayland);
        // where it is not offered, the window follows the pointer here.
        QWindow* handle = window_->windowHandle();
        if (mouse->button() == Qt::LeftButton && handle != nullptr && handle->startSystemMove()) {
            dragging_ = false;
            return true;
        }
        mouseDown(mouse->position().toPoint());
        return true;
    }
    case QEvent::MouseMove:
        mouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        return dragging_;
    case QEvent::MouseButtonRelease:
        mouseUp();
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

void WindowDrag::mouseDown(QPoint position) {
    dragging_ = true;
    press_ = position;
}

void WindowDrag::mouseMove(QPoint position) {
    if (dragging_)
        window_->move(window_->pos() + position - press_);
}

} // namespace velloran
