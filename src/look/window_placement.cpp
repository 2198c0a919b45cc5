#include "window_placement.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace velloran {

void centreOnScreen(QWidget& window, QSize size, bool wholeScreen) {
    const QWidget* owner = window.parentWidget();
    const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = wholeScreen ? screen->geometry() : screen->availableGeometry();
    window.move(area.center() - QRect(QPoint(), size).center());
}

bool swallowKeys(QKeyEvent* event, std::initializer_list<int> keys) {
    if (std::find(keys.begin(), keys.end(), event->key()) == keys.end())
        return false;
    event->accept();
    return true;
}

} // namespace velloran
