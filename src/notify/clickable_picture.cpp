#include "clickable_picture.h"

#include "platform/accessible_roles.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace velloran {

ClickablePicture::ClickablePicture(QWidget* parent) : QLabel(parent) {
    // The role before the name that the form gives it: naming the widget asks for its accessible
    // interface.
    setAccessibleRole(this, QAccessible::Button);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void ClickablePicture::mousePressEvent(QMouseEvent* event) {
    // Taken here, so that a press on the picture never starts a drag of the window below it.
    event->accept();
}

void ClickablePicture::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void ClickablePicture::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        emit clicked();
        break;
    default:
        QLabel::keyPressEvent(event);
    }
}

} // namespace velloran
