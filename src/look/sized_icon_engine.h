// An icon made of several designs of one picture, each drawn for a size range: the 16 px design
// stays crisp in lists and menus, the large one on buttons and in the tray.
#pragma once

#include <QHash>
#include <QIconEngine>
#include <QString>

#include <vector>

namespace velloran {

class SizedIconEngine : public QIconEngine {
public:
    // designs: (smallest logical size the design is drawn at, picture name). Each size uses the
    // design with the largest start not above it; sizes below every start use the first.
    explicit SizedIconEngine(std::vector<std::pair<int, QString>> designs);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;
    bool isNull() override;

    // The picture chosen for a logical (device-independent) size.
    QString designFor(int logicalSize) const;

private:
    QImage render(QSize pixelSize, int logicalSize, QIcon::Mode mode) const;

    std::vector<std::pair<int, QString>> designs_;
    QHash<QString, QPixmap> cache_;
};

} // namespace velloran
