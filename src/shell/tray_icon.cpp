#include "tray_icon.h"

#include "platform/tray_presence.h"
#include "tray_watch.h"

#include <QCursor>
#include <QMenu>
#include <QWidget>

namespace velloran {

TTrayIcon::TTrayIcon(QWidget* mainWindow, std::function<bool()> trayProbe)
    : QObject(mainWindow), mainWindow_(mainWindow), watch_(new TrayWatch(this, std::move(trayProbe))) {
    connect(watch_, &TrayWatch::presenceChanged, this, &TTrayIcon::trayPresenceChanged);
}

TTrayIcon::~TTrayIcon() = default;

void TTrayIcon::setIcon(const QIcon& icon) {
    image_ = icon;
    if (icon_)
        icon_->setIcon(icon);
}

void TTrayIcon::setPopupMenu(QMenu* menu) {
    popupMenu_ = menu;
}

void TTrayIcon::setVisible(bool visible) {
    visible_ = visible;
    if (visible && !icon_ && watch_->present()) {
        icon_ = std::make_unique<QSystemTrayIcon>(image_);
        icon_->setToolTip(hint_);
        connect(icon_.get(), &QSystemTrayIcon::activated, this, &TTrayIcon::onActivated);
    }
    if (icon_)
        icon_->setVisible(visible);
}

void TTrayIcon::checkTray() {
    watch_->check();
}

void TTrayIcon::trayPresenceChanged(bool present) {
    // Qt's icon docks again by itself when a panel restarts; it is made here only the first time.
    if (present && visible_ && !icon_)
        setVisible(true);
    if (!sentToTray_)
        return;
    if (present && mainWindow_->isMinimized())
        mainWindow_->hide();
    else if (!present && !mainWindow_->isVisible())
        mainWindow_->showMinimized();
}

void TTrayIcon::setHint(const QString& hint) {
    if (hint == hint_ || hint.size() >= 64)
        return;
    hint_ = hint;
    if (icon_)
        icon_->setToolTip(hint);
}

bool TTrayIcon::trayAvailable() {
    return trayPresent();
}

bool TTrayIcon::inTray() const {
    return watch_->present() && icon_ && icon_->isVisible();
}

void TTrayIcon::Minimize() {
    sentToTray_ = true;
    if (inTray())
        mainWindow_->hide();
    else
        mainWindow_->showMinimized();
}

void TTrayIcon::Restore() {
    sentToTray_ = false;
    if (mainWindow_->isMinimized())
        mainWindow_->showNormal();
    else
        mainWindow_->show();
    mainWindow_->raise();
    mainWindow_->activateWindow();
}

void TTrayIcon::ShowMenu() {
    if (!popupMenu_)
        return;
    const QPoint at = QCursor::pos();
    popupMenu_->popup(at);
    popupMenu_->activateWindow();
}

void TTrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        Restore();
        break;
    case QSystemTrayIcon::Context:
        ShowMenu();
        break;
    default:
        break;
    }
}

} // namespace velloran
