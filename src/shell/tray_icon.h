// TTrayIcon: the icon in the desktop's tray that brings the application back and opens its menu.
#pragma once

#include "tray_clicks.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

class QMenu;
class QWidget;

namespace velloran {

class TTrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TTrayIcon(QWidget* mainWindow);

    bool Visible() const { return icon_.isVisible(); }
    void setVisible(bool visible);
    const QString& Hint() const { return hint_; }
    // A hint of 64 characters or more is ignored; the previous one stays.
    void setHint(const QString& hint);
    void setPopupMenu(QMenu* menu);
    void setIcon(const QIcon& icon) { icon_.setIcon(icon); }

    // Whether the desktop has a tray to hide into; without one, hiding would leave no way back.
    static bool trayAvailable();

    // Sends the application to the tray: no window and no taskbar entry remain, only the icon. Where
    // there is no tray, the window is minimised normally instead.
    void Minimize();
    void Restore();
    void ShowMenu();

protected:
    // Watches the open menu for the second press of a double click, which its grab keeps from the icon.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void onPress(TrayClicks::Button button);

    QWidget* mainWindow_;
    QSystemTrayIcon icon_;
    QString hint_;
    QPointer<QMenu> popupMenu_;
    TrayClicks clicks_;
    QElapsedTimer clock_;
};

} // namespace velloran
