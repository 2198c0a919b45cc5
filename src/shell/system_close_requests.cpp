#include "system_close_requests.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace velloran {

SystemCloseRequests::SystemCloseRequests(QObject* parent) : QObject(parent) {
    sweeper_.setInterval(100);
    connect(&sweeper_, &QTimer::timeout, this, &SystemCloseRequests::endModalWindows);
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->installEventFilter(this);
}

bool SystemCloseRequests::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Quit || watched != QCoreApplication::instance())
        return false;
    if (mainWindowClosed_ && mainWindowClosed_())
        return false; // the program's own quit, at the end of its close path
    request();
    // Let it through only once the main window's close went through.
    return !(mainWindowClosed_ && mainWindowClosed_());
}

bool SystemCloseRequests::request() {
    requested_ = true;
    if (closeMainWindow_)
        return closeMainWindow_();
    endModalWindows();
    sweeper_.start();
    return true;
}

void SystemCloseRequests::attach(std::function<bool()> closeMainWindow,
                                 std::function<bool()> mainWindowClosed) {
    closeMainWindow_ = std::move(closeMainWindow);
    mainWindowClosed_ = std::move(mainWindowClosed);
    sweeper_.stop();
    if (requested_)
        QTimer::singleShot(0, this, [this] { closeMainWindow_(); });
}

void SystemCloseRequests::endModalWindows() {
    // Each window is ended once; a window that refuses to close is rejected instead.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (!window->isVisible() || !window->isModal())
            continue;
        if (!window->close())
            if (auto* dialog = qobject_cast<QDialog*>(window))
                dialog->reject();
    }
}

} // namespace velloran
