#include "notification_form.h"

#include "platform/fonts.h"
#include "resources/artwork.h"

#include <QCloseEvent>
#include <QHash>
#include <QPixmapCache>

namespace velloran {

NotificationForm::NotificationForm(const QString& caption, QSize clientSize)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(caption);
    setFixedSize(clientSize);
    setFont(designFont());
    // Closing a note while the main window sits in the tray must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void NotificationForm::closeEvent(QCloseEvent* event) {
    closed_ = true;
    FormClose();
    event->accept();
}

QPixmap NotificationForm::picture(const char* path, QSize size, qreal devicePixelRatio) {
    const QString key = QStringLiteral("velloran-notify:%1:%2x%3@%4")
                            .arg(QLatin1String(path))
                            .arg(size.width())
                            .arg(size.height())
                            .arg(devicePixelRatio);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = artworkPixmap(QLatin1String(path), size, devicePixelRatio);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

QRegion NotificationForm::pictureShape(const char* path, QSize size) {
    static QHash<QString, QRegion> shapes;
    const QString key =
        QStringLiteral("%1:%2x%3").arg(QLatin1String(path)).arg(size.width()).arg(size.height());
    const auto found = shapes.constFind(key);
    if (found != shapes.constEnd())
        return *found;
    return shapes.insert(key, artworkShape(QLatin1String(path), size)).value();
}

} // namespace velloran
