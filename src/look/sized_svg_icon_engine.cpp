#include "sized_svg_icon_engine.h"

#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace velloran {

SizedSvgIconEngine::SizedSvgIconEngine(std::vector<std::pair<int, QString>> designs)
    : designs_(std::move(designs)) {
    std::sort(designs_.begin(), designs_.end());
}

QString SizedSvgIconEngine::designFor(int logicalSize) const {
    if (designs_.empty())
        return {};
    QString chosen = designs_.front().second;
    for (const auto& [designSize, path] : designs_)
        if (designSize <= logicalSize)
            chosen = path;
    return chosen;
}

QImage SizedSvgIconEngine::render(QSize pixelSize, int logicalSize, QIcon::Mode mode) const {
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(designFor(logicalSize));
    if (!renderer.isValid())
        return image;
    // Square designs are centred in a non-square request rather than stretched.
    const int side = std::min(pixelSize.width(), pixelSize.height());
    const QRectF target((pixelSize.width() - side) / 2, (pixelSize.height() - side) / 2, side, side);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, target);
    painter.end();
    if (mode == QIcon::Disabled) {
        // Grey and faded, the way disabled pictures look in the desktop's own styles.
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = line[x];
                const int grey = qGray(p);
                const int alpha = qAlpha(p) / 2;
                const int level = std::min(grey / 2, alpha);
                line[x] = qRgba(level, level, level, alpha);
            }
        }
    }
    return image;
}

QPixmap SizedSvgIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) {
    if (size.isEmpty())
        return {};
    // Qt hands the size in device pixels; the design is chosen by the size the user sees.
    const qreal ratio = scale > 0 ? scale : 1.0;
    const int logical = static_cast<int>(std::lround(std::min(size.width(), size.height()) / ratio));
    const QString cacheKey =
        QStringLiteral("%1x%2@%3/%4").arg(size.width()).arg(size.height()).arg(ratio).arg(int(mode));
    auto found = cache_.constFind(cacheKey);
    if (found != cache_.constEnd())
        return *found;
    QPixmap result = QPixmap::fromImage(render(size, logical, mode));
    cache_.insert(cacheKey, result);
    return result;
}

QPixmap SizedSvgIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return scaledPixmap(size, mode, state, 1.0);
}

void SizedSvgIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QSize pixels(static_cast<int>(std::lround(rect.width() * ratio)),
                       static_cast<int>(std::lround(rect.height() * ratio)));
    QPixmap drawn = scaledPixmap(pixels, mode, state, ratio);
    drawn.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect.topLeft(), drawn);
}

QSize SizedSvgIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    return size;
}

QList<QSize> SizedSvgIconEngine::availableSizes(QIcon::Mode, QIcon::State) {
    QList<QSize> sizes;
    for (const auto& design : designs_)
        sizes.append(QSize(design.first, design.first));
    return sizes;
}

QIconEngine* SizedSvgIconEngine::clone() const {
    return new SizedSvgIconEngine(designs_);
}

QString SizedSvgIconEngine::key() const {
    return QStringLiteral("velloran-sized-svg");
}

bool SizedSvgIconEngine::isNull() {
    return designs_.empty();
}

} // namespace velloran
