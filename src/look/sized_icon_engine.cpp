#include "sized_icon_engine.h"

#include "artwork.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace velloran {

SizedIconEngine::SizedIconEngine(std::vector<std::pair<int, QString>> designs)
    : designs_(std::move(designs)) {
    std::sort(designs_.begin(), designs_.end());
}

QString SizedIconEngine::designFor(int logicalSize) const {
    if (designs_.empty())
        return {};
    QString chosen = designs_.front().second;
    for (const auto& [designSize, path] : designs_)
        if (designSize <= logicalSize)
            chosen = path;
    return chosen;
}

QImage SizedIconEngine::render(QSize pixelSize, int logicalSize, QIcon::Mode mode) const {
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // Square designs are centred in a non-square request rather than stretched.
    const int side = std::min(pixelSize.width(), pixelSize.height());
    const QImage design = artworkImage(designFor(logicalSize), QSize(side, side));
    if (design.isNull())
        return image;
    if (design.size() == pixelSize)
        image = design;
    else
        QPainter(&image).drawImage((pixelSize.width() - side) / 2, (pixelSize.height() - side) / 2, design);
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

QPixmap SizedIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) {
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

QPixmap SizedIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return scaledPixmap(size, mode, state, 1.0);
}

void SizedIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QSize pixels(static_cast<int>(std::lround(rect.width() * ratio)),
                       static_cast<int>(std::lround(rect.height() * ratio)));
    QPixmap drawn = scaledPixmap(pixels, mode, state, ratio);
    drawn.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect.topLeft(), drawn);
}

QSize SizedIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    return size;
}

QList<QSize> SizedIconEngine::availableSizes(QIcon::Mode, QIcon::State) {
    QList<QSize> sizes;
    for (const auto& design : designs_)
        sizes.append(QSize(design.first, design.first));
    return sizes;
}

QIconEngine* SizedIconEngine::clone() const {
    return new SizedIconEngine(designs_);
}

QString SizedIconEngine::key() const {
    return QStringLiteral("velloran-sized");
}

bool SizedIconEngine::isNull() {
    return designs_.empty();
}

} // namespace velloran
