#include "tray_icon.h"

#include <QCursor>
#include <QMenu>
#include <QWidget>

namespace velloran {

TTrayIcon::TTrayIcon(QWidget* mainWindow) : QObject(mainWindow), mainWindow_(mainWindow), icon_(this) {
    connect(&icon_, &QSystemTrayIcon::activated, this, &TTrayIcon::onActivated);
}

void TTrayIcon::setPopupMenu(QMenu* menu) {
    popupMenu_ = menu;
}

void TTrayIcon::setVisible(bool visible) {
    icon_.setVisible(visible);
}

void TTrayIcon::setHint(const QString& hint) {
    if (hint == hint_ || hint.size() >= 64)
        return;
    hint_ = hint;
    icon_.setToolTip(hint);
}

bool TTrayIcon::trayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TTrayIcon::Minimize() {
    if (trayAvailable() && icon_.isVisible())
        mainWindow_->hide();
    else
        mainWindow_->showMinimized();
}

void TTrayIcon::Restore() {
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
