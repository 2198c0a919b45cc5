#include "artwork.h"

#include "sized_icon_engine.h"

#include <QDir>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>
#include <map>
#include <mutex>
#include <string>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerCompiledResources() {
    Q_INIT_RESOURCE(artwork_1x);
    Q_INIT_RESOURCE(artwork_2x);
}

namespace velloran {
namespace {

// Renders are named <picture>-<width>x<height>.png.
const QString kArtFolder = QStringLiteral(":/velloran/art");

QString renderPath(const QString& picture, QSize pixelSize) {
    return QStringLiteral("%1/%2-%3x%4.png")
        .arg(kArtFolder, picture)
        .arg(pixelSize.width())
        .arg(pixelSize.height());
}

// The sizes each picture was rendered at, read once from the compiled-in names.
const QHash<QString, QList<QSize>>& renderedSizes() {
    static const QHash<QString, QList<QSize>> sizes = [] {
        QHash<QString, QList<QSize>> found;
        for (const QString& file : QDir(kArtFolder).entryList(QDir::Files)) {
            const qsizetype dash = file.lastIndexOf('-');
            const qsizetype cross = file.lastIndexOf('x');
            const qsizetype dot = file.lastIndexOf('.');
            if (dash <= 0 || cross < dash || dot < cross)
                continue;
            const QSize size(file.mid(dash + 1, cross - dash - 1).toInt(),
                             file.mid(cross + 1, dot - cross - 1).toInt());
            if (!size.isEmpty())
                found[file.left(dash)].append(size);
        }
        return found;
    }();
    return sizes;
}

// The smallest render covering pixelSize, or else the largest: shrinking keeps a picture sharper than
// blowing it up.
QSize nearestRender(const QList<QSize>& renders, QSize pixelSize) {
    QSize best;
    for (const QSize& size : renders) {
        const bool covers = size.width() >= pixelSize.width() && size.height() >= pixelSize.height();
        const bool bestCovers = best.width() >= pixelSize.width() && best.height() >= pixelSize.height();
        const qint64 area = qint64(size.width()) * size.height();
        const qint64 bestArea = qint64(best.width()) * best.height();
        if (best.isEmpty() || (covers && (!bestCovers || area < bestArea)) ||
            (!covers && !bestCovers && area > bestArea))
            best = size;
    }
    return best;
}

// Opaque pictures are stored without alpha and stay so: nothing to convert before they are shown.
QImage loadRender(const QString& picture, QSize pixelSize) {
    QImage image(renderPath(picture, pixelSize));
    return image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_ARGB32_Premultiplied) : image;
}

// Below 24 px the design drawn on the 16 px grid is sharper than the large one shrunk.
constexpr int kSmallDesignSize = 16;
constexpr int kLargeDesignFrom = 24;

QIcon twoDesignIcon(const QString& small, const QString& large) {
    return QIcon(new SizedIconEngine({{kSmallDesignSize, small}, {kLargeDesignFrom, large}}));
}

} // namespace

void initResources() {
    static std::once_flag once;
    std::call_once(once, registerCompiledResources);
}

QString kindPicture(std::string_view picture) {
    return QStringLiteral("kind-") + QString::fromUtf8(picture.data(), qsizetype(picture.size()));
}

QString kindSmallPicture(std::string_view picture) {
    return kindPicture(picture) + QStringLiteral("-16");
}

QIcon appIcon() {
    // Trays and panels draw it at 22 to 24 px: the 24 px design shrunk a little keeps more of
    // its shape there than the 16 px one blown up.
    return QIcon(new SizedIconEngine({{16, QString::fromLatin1(kAppIconSmallPicture)},
                                      {20, QString::fromLatin1(kAppIconMediumPicture)},
                                      {32, QString::fromLatin1(kAppIconPicture)}}));
}

QIcon kindPictureIcon(std::string_view picture) {
    // One icon per picture, made once: the list asks for a row's icon at every paint, and an icon keeps
    // what it has drawn. Never freed, so never destroyed after the application object.
    static auto* const icons = new std::map<std::string, QIcon, std::less<>>;
    auto found = icons->find(picture);
    if (found == icons->end())
        found = icons->emplace(picture, twoDesignIcon(kindSmallPicture(picture), kindPicture(picture))).first;
    return found->second;
}

QIcon newTaskIcon() {
    return twoDesignIcon(kNewTaskSmallPicture, kNewTaskPicture);
}

QImage artworkImage(const QString& picture, QSize pixelSize) {
    if (pixelSize.isEmpty())
        return {};
    initResources();
    QImage exact = loadRender(picture, pixelSize);
    if (!exact.isNull())
        return exact;
    const auto renders = renderedSizes().constFind(picture);
    if (renders == renderedSizes().constEnd())
        return {};
    const QImage nearest = loadRender(picture, nearestRender(*renders, pixelSize));
    if (nearest.isNull())
        return {};
    return nearest.scaled(pixelSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QPixmap artworkPixmap(const QString& picture, QSize logicalSize, qreal devicePixelRatio) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize pixels(static_cast<int>(std::lround(logicalSize.width() * ratio)),
                       static_cast<int>(std::lround(logicalSize.height() * ratio)));
    const QImage image = artworkImage(picture, pixels);
    if (image.isNull())
        return {};
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QRegion artworkShape(const QString& picture, QSize logicalSize) {
    const QImage image = artworkImage(picture, logicalSize);
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

void drawArtworkWords(QPixmap& pixmap, QSize designSize, const ArtworkWords& words) {
    if (words.text.isEmpty() || designSize.isEmpty() || pixmap.isNull())
        return;
    // The outlines are made large and scaled down, so that a fractional size keeps its shape.
    constexpr qreal kMadeAt = 100;
    QFont face(QStringLiteral("Liberation Sans"));
    face.setPixelSize(static_cast<int>(kMadeAt));
    face.setBold(words.bold);
    QPainterPath outline;
    outline.addText(0, 0, face, words.text);
    qreal scale = words.size / kMadeAt;
    const QRectF bounds = outline.boundingRect();
    if (words.maxWidth > 0 && bounds.width() * scale > words.maxWidth)
        scale = words.maxWidth / bounds.width();
    const qreal x = words.centred ? words.x - bounds.center().x() * scale : words.x;

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF logical = pixmap.deviceIndependentSize();
    painter.scale(logical.width() / designSize.width(), logical.height() / designSize.height());
    painter.translate(x, words.baseline);
    painter.scale(scale, scale);
    painter.fillPath(outline, QColor::fromRgba(words.color));
}

} // namespace velloran
