#include "notification_form.h"

#include "look/artwork.h"
#include "look/fonts.h"
#include "look/shaped_windows.h"
#include "platform/accessible_roles.h"
#include "platform/wayland_activation.h"

#include <QCloseEvent>
#include <QHash>
#include <QWindow>
#include <utility>

namespace velloran {

NotificationForm::NotificationForm(DesktopNotifications& notifications, QAccessible::Role role)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      notice_(std::make_shared<TaskNotice>(notifications)), drawnByAlpha_(shapedWindowsUseAlpha()) {
    // Named by its title, as the framed windows are.
    setAccessibleRole(this, role);
    // On top, but the keys stay with the window the user types in: an Enter meant for a terminal must
    // not snooze an alarm that appeared a moment before. On X11 the window manager is told so by a user
    // time of 0. A click on the window, or the user's request elsewhere, brings it forward with the focus.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(designFont());
    // Closing a note while the main window sits in the tray must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    // Only before the native window exists does it get an alpha channel.
    if (drawnByAlpha_)
        setAttribute(Qt::WA_TranslucentBackground);
}

QString NotificationForm::firstLineOf(const QString& text) {
    for (const QString& line : text.split(u'\n')) {
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    }
    return {};
}

void NotificationForm::keepAbove(bool above) {
    // The widget's own flags would hide and re-create the window; the shown one is changed in place.
    overrideWindowFlags(windowFlags().setFlag(Qt::WindowStaysOnTopHint, above));
    if (QWindow* handle = windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, above);
}

void NotificationForm::setRimColor(QRgb color) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(color));
    setPalette(palette);
    setAutoFillBackground(!drawnByAlpha_);
}

void NotificationForm::setShape(const QRegion& shape) {
    if (!drawnByAlpha_) {
        setMask(shape);
        return;
    }
    // The shape holds the pixels at least half opaque; the fainter ones lie within a pixel of it, the
    // diagonal neighbours included.
    QRegion wider = shape;
    wider += shape.translated(1, 0);
    wider += shape.translated(-1, 0);
    QRegion grown = wider;
    grown += wider.translated(0, 1);
    grown += wider.translated(0, -1);
    setMask(grown & rect());
}

NotificationForm::~NotificationForm() {
    withdrawNotice();
}

void NotificationForm::closeEvent(QCloseEvent* event) {
    closed_ = true;
    onClosed();
    withdrawNotice();
    event->accept();
}

// The native window exists from the first showing on; every press on the window passes it first,
// whichever control it reaches.
void NotificationForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QWindow* window = windowHandle())
        window->installEventFilter(this); // installing it again only moves it to the front
    if (!event->spontaneous()) {
        userTurnedToIt_ = false;
        quietSince_.start();
    }
}

// A click takes the focus, as on any window, also where the window manager leaves that to the program.
// Some desktops give every new window the keyboard all the same (GNOME on Wayland): keys that come
// while the user goes on typing, as the window appears, were meant for another window, and Enter must
// not snooze an alarm nor Space close a note then. Keys count once the user has clicked the window or
// asked for it, or after a second without a key.
bool NotificationForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != windowHandle())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        userTurnedToIt_ = true;
        if (!isActiveWindow()) {
            raise();
            activateWindow();
        }
        break;
    case QEvent::KeyPress:
        if (!userTurnedToIt_ && quietSince_.isValid() && quietSince_.elapsed() >= kTypingPause)
            userTurnedToIt_ = true;
        if (!userTurnedToIt_) {
            quietSince_.start();
            return true;
        }
        break;
    case QEvent::KeyRelease:
        return !userTurnedToIt_;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void NotificationForm::shareNotice(std::shared_ptr<TaskNotice> notice, const ShownOccurrence& occurrence) {
    withdrawNotice();
    notice_ = std::move(notice);
    occurrence_ = occurrence;
}

void NotificationForm::postNotice(const DesktopNotice& notice) {
    // The handler never outlives the window's asking, which ends with the window at the latest.
    notice_->ask(this, occurrence_, notice, [this](const QString& action, const QString& activationToken) {
        noticeAction(action, activationToken);
    });
}

void NotificationForm::withdrawNotice() {
    notice_->stopAsking(this);
}

void NotificationForm::noticeAction(const QString& action, const QString& activationToken) {
    if (action == QLatin1String("default"))
        bringForward(activationToken);
}

// On Wayland the compositor is handed the notice's token for the window; elsewhere the window manager is
// asked directly.
void NotificationForm::bringForward(const QString& activationToken) {
    show();
    userTurnedToIt_ = true; // asked for: its keys count at once
    raise();
    activateWindow();
    activateWaylandWindow(this, activationToken);
}

// Made afresh for each window: decoding a picture takes a few milliseconds, and a cached copy would be
// held all day for an alarm that rings once.
QPixmap NotificationForm::picture(const char* name, QSize size, qreal devicePixelRatio) {
    return artworkPixmap(QLatin1String(name), size, devicePixelRatio);
}

QRegion NotificationForm::pictureShape(const char* name, QSize size) {
    static QHash<QString, QRegion> shapes;
    const QString key =
        QStringLiteral("%1:%2x%3").arg(QLatin1String(name)).arg(size.width()).arg(size.height());
    const auto found = shapes.constFind(key);
    if (found != shapes.constEnd())
        return *found;
    return shapes.insert(key, artworkShape(QLatin1String(name), size)).value();
}

} // namespace velloran
