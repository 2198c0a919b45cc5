#include "artwork.h"

#include "sized_svg_icon_engine.h"
#include "store/task_kinds.h"

#include <QPainter>
#include <QSvgRenderer>

#include <array>
#include <cmath>
#include <mutex>
#include <string>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerCompiledResources() {
    Q_INIT_RESOURCE(resources);
}

namespace velloran {
namespace {

// Each kind's pictures, named in the kinds table: kind-<picture>.svg and kind-<picture>-16.svg.
struct KindPaths {
    std::array<std::string, kKindImageCount> large;
    std::array<std::string, kKindImageCount> small;
};

const KindPaths& kindPaths() {
    static const KindPaths paths = [] {
        KindPaths made;
        for (std::size_t kind = 0; kind < kKindImageCount; ++kind) {
            const std::string base = ":/velloran/svg/kind-" + std::string(kTaskKinds[kind].picture);
            made.large[kind] = base + ".svg";
            made.small[kind] = base + "-16.svg";
        }
        return made;
    }();
    return paths;
}

// Below 24 px the design drawn on the 16 px grid is sharper than the large one shrunk.
constexpr int kSmallDesignSize = 16;
constexpr int kLargeDesignFrom = 24;

QIcon twoDesignIcon(const char* small, const char* large) {
    initResources();
    return QIcon(new SizedSvgIconEngine(
        {{kSmallDesignSize, QString::fromLatin1(small)}, {kLargeDesignFrom, QString::fromLatin1(large)}}));
}

} // namespace

void initResources() {
    static std::once_flag once;
    std::call_once(once, registerCompiledResources);
}

const char* kindIconPath(int kind) {
    return kind >= 0 && kind < kKindImageCount ? kindPaths().large[static_cast<std::size_t>(kind)].c_str()
                                               : nullptr;
}

const char* kindIconSmallPath(int kind) {
    return kind >= 0 && kind < kKindImageCount ? kindPaths().small[static_cast<std::size_t>(kind)].c_str()
                                               : nullptr;
}

QIcon appIcon() {
    initResources();
    // Trays and panels draw it at 22 to 24 px: the 24 px design shrunk a little keeps more of
    // its shape there than the 16 px one blown up.
    return QIcon(new SizedSvgIconEngine({{16, QString::fromLatin1(kAppIconSmallPath)},
                                         {20, QString::fromLatin1(kAppIconMediumPath)},
                                         {32, QString::fromLatin1(kAppIconPath)}}));
}

QIcon kindIcon(int kind) {
    if (kind < 0 || kind >= kKindImageCount)
        return {};
    return twoDesignIcon(kindIconSmallPath(kind), kindIconPath(kind));
}

QIcon newTaskIcon() {
    return twoDesignIcon(kNewTaskSmallPath, kNewTaskPath);
}

QImage renderArtwork(const QString& path, QSize pixelSize) {
    initResources();
    QSvgRenderer renderer(path);
    if (!renderer.isValid() || pixelSize.isEmpty())
        return {};
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixelSize)));
    return image;
}

QPixmap artworkPixmap(const QString& path, QSize logicalSize, qreal devicePixelRatio) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize pixels(static_cast<int>(std::lround(logicalSize.width() * ratio)),
                       static_cast<int>(std::lround(logicalSize.height() * ratio)));
    const QImage image = renderArtwork(path, pixels);
    if (image.isNull())
        return {};
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QRegion artworkShape(const QString& path, QSize logicalSize) {
    const QImage image = renderArtwork(path, logicalSize);
    if (image.isNull())
        return {};
    QRegion shape;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int runStart = -1;
        for (int x = 0; x <= image.width(); ++x) {
            const bool inside = x < image.width() && qAlpha(line[x]) >= 128;
            if (inside && runStart < 0)
                runStart = x;
            else if (!inside && runStart >= 0) {
                shape += QRect(runStart, y, x - runStart, 1);
                runStart = -1;
            }
        }
    }
    return shape;
}

} // namespace velloran
