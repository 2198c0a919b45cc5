#include "system_close_requests.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace velloran {

SystemCloseRequests::SystemCloseRequests(QObject* parent) : QObject(parent) {
    sweeper_.setInterval(100);
    connect(&sweeper_, &QTimer::timeout, this, &SystemCloseRequests::endModalWindows);
}

bool SystemCloseRequests::request() {
    requested_ = true;
    if (closeMainWindow_)
        return closeMainWindow_();
    endModalWindows();
    sweeper_.start();
    return true;
}

void SystemCloseRequests::attach(std::function<bool()> closeMainWindow) {
    closeMainWindow_ = std::move(closeMainWindow);
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
