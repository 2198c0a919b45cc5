// What every window's test asks of it: captions that fit, children inside their parents, a picture to
// look at, its private controls found by name, and clicks that reach it as the user's do.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

class QWidget;

namespace velloran::test {

// Every caption that needs more room, with the control's own font, than its control has, and every
// control that reaches beyond its parent, but for those named in reachingOut, which are laid out so on
// purpose; empty when all fit.
QStringList clippedCaptions(const QWidget& window, const QStringList& reachingOut = {});

// Saves the window's picture as `name` in $VELLORAN_SCREENSHOTS, when that is set; false when it could
// not be saved.
bool picture(QWidget& window, const QString& name);

// The window's child of that object name; a test that asks for one the window lacks stops here.
template <typename T> T* part(const QObject& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        std::fprintf(stderr, "no %s in %s\n", name, qPrintable(window.objectName()));
        std::abort();
    }
    return found;
}

// A left click on the middle of the control as the window system delivers it: to the control's window,
// which hands it on to the control there.
void clickThroughItsWindow(QWidget& control);

// The offscreen platform cannot shape windows and says so at every shape; the tests read the shape from
// the widget, so that warning is only noise.
void quietWindowMaskWarnings();

} // namespace velloran::test
