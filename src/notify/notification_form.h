// What alarm and memo windows share: a borderless, always-on-top window shaped to its picture that
// appears without taking the keyboard from the window the user types in, and the closed flag that tells
// the main window's sweep that the window may be destroyed.
#pragma once

#include "task_notice.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QWidget>
#include <memory>

namespace velloran {

class NotificationForm : public QWidget {
    Q_OBJECT
public:
    ~NotificationForm() override;

    // Set by every close; a closed window is only hidden until the sweep destroys it.
    bool closed() const { return closed_; }
    // The window asks in the notice of its task, shared with the task's other windows, for the given
    // occurrence; until this is called, before it shows, it has a notice of its own.
    void shareNotice(std::shared_ptr<TaskNotice> notice, const ShownOccurrence& occurrence);

protected:
    // No owner: the window stands on its own on the desktop. Its notices go to notifications. The
    // window's form gives its caption and size; a screen reader is told it is of the given role.
    NotificationForm(DesktopNotifications& notifications, QAccessible::Role role);

    // Runs on every close (the window's own buttons, the window manager's close command, close()).
    virtual void onClosed() {}
    // The text's first line that holds anything, which names the window in its notice.
    static QString firstLineOf(const QString& text);
    // Kept above other windows, or not, while shown and without hiding it: a snoozed clock steps back.
    void keepAbove(bool above);
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The window's notice on the desktop's notification service, replacing the one it had. The user's
    // choices in it reach noticeAction(); every close withdraws it. Where the task's other windows ask
    // too, one notice stands for them all.
    void postNotice(const DesktopNotice& notice);
    void withdrawNotice();
    // A click on the notice itself brings the window forward.
    virtual void noticeAction(const QString& action, const QString& activationToken);
    // Shows the window in front, with the activation token that the desktop handed over for it.
    void bringForward(const QString& activationToken);

    // A picture of the artwork at a size, rendered for each window (a copy kept would stay in memory all
    // day for an alarm that rings once), and the part of it that is at least half opaque, worked out once
    // and shared by every window.
    static QPixmap picture(const char* name, QSize size, qreal devicePixelRatio);
    static QRegion pictureShape(const char* name, QSize size);

    // The colour of the pictures' rim. A masked window lays it under everything, so the anti-aliased
    // edge that the mask cuts blends into it instead of into a fringe; a translucent window stays clear.
    void setRimColor(QRgb color);
    // The outline: the part of the window that the pointer reaches, and on X11 the part that shows.
    // A translucent window keeps the faint outer pixels of its pictures' soft edge inside it.
    void setShape(const QRegion& shape);

private:
    // How long no key may be pressed before keys count for a window the user has not turned to.
    static constexpr qint64 kTypingPause = 1000; // ms

    std::shared_ptr<TaskNotice> notice_;
    ShownOccurrence occurrence_;
    bool closed_ = false; // cleared on creation
    // The user clicked the window or asked for it since it was last shown; until then keys count only
    // after a pause in the typing.
    bool userTurnedToIt_ = false;
    QElapsedTimer quietSince_;
    // True when the window is translucent and its pictures' alpha draws its outline; false when a mask
    // cuts it out. Chosen once, on creation, for the platform the window shows on.
    const bool drawnByAlpha_;
};

} // namespace velloran
