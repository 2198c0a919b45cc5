#include "tray_icon.h"

#include "platform/logging.h"
#include "platform/tray_presence.h"
#include "tray_watch.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>
#include <QWindow>

namespace velloran {

TrayIcon::TrayIcon(QWidget* mainWindow, std::function<bool()> trayProbe)
    : QObject(mainWindow), mainWindow_(mainWindow), watch_(new TrayWatch(this, std::move(trayProbe))),
      clicks_(QApplication::styleHints()->mouseDoubleClickInterval()) {
    clock_.start();
    connect(watch_, &TrayWatch::presenceChanged, this, &TrayIcon::trayPresenceChanged);
    // The X11 tray's icon is a widget of Qt's own, made and remade as trays come and go: its presses are
    // watched wherever they arrive; the main window's activations are watched here too.
    qApp->installEventFilter(this);
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::setIcon(const QIcon& icon) {
    image_ = icon;
    if (icon_)
        icon_->setIcon(icon);
}

void TrayIcon::setPopupMenu(QMenu* menu) {
    popupMenu_ = menu;
    // A StatusNotifier host shows the menu itself, item by item, from what Qt exports over DBusMenu.
    // An X11 tray's icon gets no menu from Qt: Qt would open it on the press, and here it opens on the
    // release that the program's clicks decide.
    if (icon_ && statusNotifier_)
        icon_->setContextMenu(menu);
}

void TrayIcon::setVisible(bool visible) {
    visible_ = visible;
    if (visible && !icon_ && watch_->present()) {
        // Qt makes a StatusNotifier item where a host is there when its first icon is made (always off
        // X11), an X11 tray icon otherwise, and keeps to that kind; the same question, asked just before.
        statusNotifier_ =
            QGuiApplication::platformName() != QLatin1String("xcb") || statusNotifierHostPresent();
        icon_ = std::make_unique<QSystemTrayIcon>(image_);
        icon_->setToolTip(hint_);
        connect(icon_.get(), &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
        setPopupMenu(popupMenu_);
        watch_->followKind(statusNotifier_);
    }
    if (icon_)
        icon_->setVisible(visible);
}

void TrayIcon::checkTray() {
    watch_->check();
}

void TrayIcon::trayPresenceChanged(bool present) {
    // Qt's icon docks again by itself when a panel restarts; it is made here only the first time.
    if (present && visible_ && !icon_)
        setVisible(true);
    // Into the tray that came, whether minimised or, where the compositor ignored the minimise (sway),
    // still on screen; out of the tray that went, as a minimised window.
    moveWindow(present ? WindowPlace::Event::TrayCame : WindowPlace::Event::TrayWent);
}

void TrayIcon::moveWindow(WindowPlace::Event event) {
    switch (place_.on(event, inTray())) {
    case WindowPlace::Request::None:
        break;
    case WindowPlace::Request::Hide:
        qCDebug(logWindow, "hide");
        sinceMinimiseAsked_.invalidate();
        mainWindow_->hide();
        break;
    case WindowPlace::Request::Minimise:
        qCDebug(logWindow, "minimise");
        mainWindow_->showMinimized();
        // A compositor that shows it focused has not seen the user bring it back.
        leftSinceSent_ = false;
        // Set after the request: Qt marks the window minimised at once, on its own.
        minimiseAnswered_ = false;
        sinceMinimiseAsked_.start();
        break;
    case WindowPlace::Request::ShowInFront:
        qCDebug(logWindow, "show");
        sinceMinimiseAsked_.invalidate();
        if (mainWindow_->isMinimized())
            mainWindow_->showNormal();
        else
            mainWindow_->show();
        mainWindow_->raise();
        mainWindow_->activateWindow();
        break;
    }
}

void TrayIcon::setHint(const QString& hint) {
    if (hint == hint_ || hint.size() >= 64)
        return;
    hint_ = hint;
    if (icon_)
        icon_->setToolTip(hint);
}

bool TrayIcon::trayAvailable() {
    return trayPresent();
}

bool TrayIcon::inTray() const {
    return watch_->present() && icon_ && icon_->isVisible();
}

void TrayIcon::sendToTray() {
    leftSinceSent_ = false;
    moveWindow(WindowPlace::Event::SendToTray);
}

void TrayIcon::windowMinimised() {
    moveWindow(WindowPlace::Event::Minimised);
}

void TrayIcon::restore() {
    restoredOnce_ = true;
    moveWindow(WindowPlace::Event::Restore);
}

void TrayIcon::showMenu() {
    if (!popupMenu_)
        return;
    const QPoint at = QCursor::pos();
    popupMenu_->popup(at);
    popupMenu_->activateWindow();
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason) {
    if (statusNotifier_) {
        // The host decides what a click is (GNOME: a double click, waybar: a press, KDE: a click) and says
        // so with Activate; restoring a window already shown is harmless. A host that asks for the menu
        // with ContextMenu instead of reading it gets it at the pointer.
        if (reason == QSystemTrayIcon::Context) {
            showMenu();
        } else if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::MiddleClick ||
                   reason == QSystemTrayIcon::DoubleClick) {
            if (popupMenu_ && popupMenu_->isVisible())
                popupMenu_->hide();
            restore();
        }
        return;
    }
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

void TrayIcon::onPress(TrayClicks::Button button) {
    switch (clicks_.press(button, clock_.elapsed())) {
    case TrayClicks::Command::Restore:
        if (popupMenu_ && popupMenu_->isVisible())
            popupMenu_->hide();
        restore();
        break;
    case TrayClicks::Command::ShowMenu:
        showMenu();
        break;
    case TrayClicks::Command::None:
        break;
    }
}

// How soon a compositor that ignores a minimise focuses the window it maps instead (sway: a few ms).
constexpr qint64 kMinimiseAnswerTime = 500; // ms

void TrayIcon::watchMainWindow(const QEvent* event) {
    if (place_.place() == WindowPlace::Place::Shown)
        return;
    // Wayland reports no minimised state, so there only activations tell.
    const bool minimisedStateKnown = QGuiApplication::platformName() != QLatin1String("wayland");
    switch (event->type()) {
    // Not a Hide: minimising sends one too, while the window may keep the focus.
    case QEvent::WindowDeactivate:
        qCDebug(logWindow, "main window deactivated");
        leftSinceSent_ = true;
        break;
    // Out of view: the compositor did minimise it (GNOME on Wayland, where the window may never have had
    // the focus), and only the user brings it back into view.
    case QEvent::Expose:
        qCDebug(logWindow, "main window %s",
                mainWindow_->windowHandle()->isExposed() ? "exposed" : "out of view");
        if (!mainWindow_->windowHandle()->isExposed())
            leftSinceSent_ = minimiseAnswered_ = true;
        break;
    case QEvent::WindowActivate: {
        // Wayland tells neither that the window was minimised nor that it was not: a compositor that
        // ignores the request (sway) focuses the window as it maps it, at once, while one that minimised
        // it (mutter) may never have focused it. A later activation there is the user's from the overview.
        const bool lateOnWayland = !minimisedStateKnown && sinceMinimiseAsked_.isValid() &&
                                   sinceMinimiseAsked_.elapsed() >= kMinimiseAnswerTime;
        qCDebug(logWindow, "main window activated%s",
                leftSinceSent_  ? " after leaving"
                : lateOnWayland ? " later"
                                : "");
        // Brought back by the task bar or the window list; it stays where the user put it. A window the
        // window system focuses while it stays minimised (mutter after an unlock, with no other window to
        // focus) is not in view: there the un-minimising below is the user's.
        if ((leftSinceSent_ || lateOnWayland) && !(minimisedStateKnown && mainWindow_->isMinimized()))
            moveWindow(WindowPlace::Event::BroughtBack);
        break;
    }
    case QEvent::WindowStateChange:
        if (mainWindow_->isMinimized()) {
            minimiseAnswered_ = true;
            break;
        }
        // Un-minimised by the user. Before the window system has minimised the window that the program
        // asked it to, a window mapped as minimised reads for a moment as not minimised (XWayland): that
        // is not the user's, and the window system's minimise that follows may never be reported.
        if (minimisedStateKnown && minimiseAnswered_ &&
            (static_cast<const QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized) &&
            mainWindow_->isVisible())
            moveWindow(WindowPlace::Event::BroughtBack);
        break;
    default:
        break;
    }
}

bool TrayIcon::eventFilter(QObject* watched, QEvent* event) {
    // Whether it is in view is known to its platform window only.
    if (watched == mainWindow_ ||
        (event->type() == QEvent::Expose && watched != nullptr && watched == mainWindow_->windowHandle()))
        watchMainWindow(event);
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
    } else if (!statusNotifier_ && watched == popupMenu_ && popupMenu_->isVisible()) {
        const QPoint at = press->globalPosition().toPoint();
        const QRect iconPlace = icon_ ? icon_->geometry() : QRect();
        if (!popupMenu_->geometry().contains(at) && iconPlace.contains(at) &&
            clicks_.press(button, clock_.elapsed()) == TrayClicks::Command::Restore) {
            // The menu closes on this press as usual; the restore comes after it.
            QMetaObject::invokeMethod(
                this, [this] { restore(); }, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velloran
