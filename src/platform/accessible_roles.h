// What a screen reader is told a widget is, where Qt's own guess is wrong: a label that is a link, a
// row of buttons that is a page tab list, a picture that closes its window, a frameless window.
#pragma once

#include <QAccessible>

class QWidget;

namespace velloran {

// The widget reports the role. Its name is its accessible name, else its caption (a button's or a
// label's text, a window's title). A button, or a widget with a clicked() signal, offers the action
// "Press"; a checkable button reads as selected while it is down. Call before the widget is shown or
// named (naming it already asks for its interface, which is then kept). The
// widget's own class must be one of the program's (with Q_OBJECT): for Qt's classes Qt answers first.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

} // namespace velloran
