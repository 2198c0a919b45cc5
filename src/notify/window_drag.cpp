#include "window_drag.h"

#include <QApplication>
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
        // The left button may hand the move to the window system, but only once the pointer really
        // moves: a window manager asked to move on a mere click may take its grab after the button is
        // up already, and the window then sticks to the pointer until the next click.
        if (mouse->button() == Qt::LeftButton) {
            systemMovePending_ = true;
            press_ = mouse->position().toPoint();
            return true;
        }
        mouseDown(mouse->position().toPoint());
        return true;
    }
    case QEvent::MouseMove: {
        const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (systemMovePending_ &&
            (position - press_).manhattanLength() >= QApplication::startDragDistance()) {
            systemMovePending_ = false;
            // The window first makes up the pixels the pointer went before this became a drag (a window
            // manager's own move may start from where the pointer is now instead).
            mouseDown(press_);
            mouseMove(position);
            // The window system's own move works where a program may not place its windows (Wayland);
            // where it is not offered, the window follows the pointer here.
            QWindow* handle = window_->windowHandle();
            if (handle != nullptr && handle->startSystemMove())
                mouseUp(); // the window system moves it from here on
            return true;
        }
        mouseMove(position);
        return dragging_ || systemMovePending_;
    }
    case QEvent::MouseButtonRelease:
        systemMovePending_ = false;
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
