// Where windows open and which keys a dialog keeps to itself.
#pragma once

#include <QSize>
#include <initializer_list>

class QKeyEvent;
class QWidget;

namespace velloran {

// Puts a window of this size in the middle of the screen: the screen of its owner when it has one, else
// the primary one; the area the panels leave, or the whole screen for a splash.
void centreOnScreen(QWidget& window, QSize size, bool wholeScreen = false);

// Takes a key press that the dialog must not act on (Escape closing it, Enter pressing a default
// button); true when the key was one of them.
bool swallowKeys(QKeyEvent* event, std::initializer_list<int> keys);

} // namespace velloran
