// TrayIcon: the icon in the desktop's tray that brings the application back and opens its menu.
#pragma once

#include "tray_clicks.h"
#include "window_place.h"

#include <QElapsedTimer>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

class QMenu;
class QWidget;

namespace velloran {

class TrayWatch;

class TrayIcon : public QObject {
    Q_OBJECT
public:
    // trayProbe answers whether the desktop has a tray now; by default the desktop is asked.
    explicit TrayIcon(QWidget* mainWindow, std::function<bool()> trayProbe = {});
    ~TrayIcon() override;

    void setVisible(bool visible);
    const QString& hint() const { return hint_; }
    // A hint of 64 characters or more is ignored; the previous one stays.
    void setHint(const QString& hint);
    void setPopupMenu(QMenu* menu);
    void setIcon(const QIcon& icon);

    // Whether the desktop has a tray to hide into; without one, hiding would leave no way back.
    static bool trayAvailable();
    // Whether this icon is in a tray now, and so the window may hide there.
    bool inTray() const;
    // The desktop's icon, made once a tray is there; null until then.
    const QSystemTrayIcon* systemIcon() const { return icon_.get(); }
    // Asks at once whether a tray came or went, as an announcement from the desktop does.
    void checkTray();
    // Whether the icon is a StatusNotifier item, whose host shows the menu and reads clicks itself;
    // false for an X11 tray's icon, and before the icon is made.
    bool statusNotifierItem() const { return statusNotifier_; }

    // Sends the application to the tray: no window and no taskbar entry remain, only the icon. Where
    // there is no tray, the window is minimised normally instead.
    void sendToTray();
    // The window became minimised (the minimise box, or the answer to a minimise): into the tray, or,
    // without one, it stays minimised.
    void windowMinimised();
    void restore();
    void showMenu();
    // Whether the window has been restored (from the tray, or by a second start) since the program began.
    bool restoredOnce() const { return restoredOnce_; }
    WindowPlace::Place place() const { return place_.place(); }

protected:
    // Watches the open menu for the second press of a double click, which its grab keeps from the icon,
    // and the main window for the user bringing it back by other roads than the tray's.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void onPress(TrayClicks::Button button);
    void watchMainWindow(const QEvent* event);
    // A tray came or went: the icon is made where it is missing, and a window sent to the tray goes
    // there or, without a tray, stays reachable as a minimised window.
    void trayPresenceChanged(bool present);
    void moveWindow(WindowPlace::Event event);

    QWidget* mainWindow_;
    TrayWatch* watch_;
    // Made only once a tray is there: on X11, Qt picks between its two kinds of tray icon when the
    // first is made, and never again.
    std::unique_ptr<QSystemTrayIcon> icon_;
    QIcon image_;
    bool visible_ = false;
    bool statusNotifier_ = false;
    WindowPlace place_;
    // The window lost the focus or went out of view after it was sent to the tray: its next activation
    // is the user's.
    bool leftSinceSent_ = false;
    // The window system has reported the window minimised since the program last asked it to minimise.
    bool minimiseAnswered_ = true;
    // Since the program last asked the window system to minimise the window.
    QElapsedTimer sinceMinimiseAsked_;
    bool restoredOnce_ = false;
    QString hint_;
    QPointer<QMenu> popupMenu_;
    TrayClicks clicks_;
    QElapsedTimer clock_;
};

} // namespace velloran
