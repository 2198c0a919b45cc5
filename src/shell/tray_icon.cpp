#include "tray_icon.h"

#include "platform/tray_presence.h"
#include "tray_watch.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>

namespace velloran {

TTrayIcon::TTrayIcon(QWidget* mainWindow, std::function<bool()> trayProbe)
    : QObject(mainWindow), mainWindow_(mainWindow), watch_(new TrayWatch(this, std::move(trayProbe))),
      clicks_(QApplication::styleHints()->mouseDoubleClickInterval()) {
    clock_.start();
    connect(watch_, &TrayWatch::presenceChanged, this, &TTrayIcon::trayPresenceChanged);
    // The X11 tray's icon is a widget of Qt's own, made and remade as trays come and go: its presses are
    // watched wherever they arrive.
    qApp->installEventFilter(this);
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
    case QSystemTrayIcon::Trigger:
        onPress(TrayClicks::Button::Left);
        break;
    case QSystemTrayIcon::Context:
        onPress(TrayClicks::Button::Right);
        break;
    case QSystemTrayIcon::MiddleClick:
        onPress(TrayClicks::Button::Middle);
        break;
    case QSystemTrayIcon::DoubleClick:
        // The X11 tray reports a left double click's second press only as this.
        onPress(TrayClicks::Button::Left);
        break;
    default:
        break;
    }
}

void TTrayIcon::onPress(TrayClicks::Button button) {
    switch (clicks_.press(button, clock_.elapsed())) {
    case TrayClicks::Command::Restore:
        if (popupMenu_ && popupMenu_->isVisible())
            popupMenu_->hide();
        Restore();
        break;
    case TrayClicks::Command::ShowMenu:
        ShowMenu();
        break;
    case TrayClicks::Command::None:
        break;
    }
}

bool TTrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return QObject::eventFilter(watched, event);
    const auto* press = static_cast<QMouseEvent*>(event);
    const auto button = press->button() == Qt::RightButton    ? TrayClicks::Button::Right
                        : press->button() == Qt::MiddleButton ? TrayClicks::Button::Middle
                                                              : TrayClicks::Button::Left;
    if (event->type() == QEvent::MouseButtonDblClick && button != TrayClicks::Button::Left &&
        watched->inherits("QSystemTrayIconSys")) {
        // The second press of a right or middle double click, which the X11 tray does not report.
        onPress(button);
    } else if (watched == popupMenu_ && popupMenu_->isVisible()) {
        const QPoint at = press->globalPosition().toPoint();
        // A panel that draws the icon itself tells no place; a press beside the menu is then taken as
        // one on the icon, which the menu opened over.
        const QRect iconPlace = icon_ ? icon_->geometry() : QRect();
        if (!popupMenu_->geometry().contains(at) && (iconPlace.isEmpty() || iconPlace.contains(at)) &&
            clicks_.press(button, clock_.elapsed()) == TrayClicks::Command::Restore) {
            // The menu closes on this press as usual; the restore comes after it.
            QMetaObject::invokeMethod(
                this, [this] { Restore(); }, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velloran
