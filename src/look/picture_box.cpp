#include "picture_box.h"

#include <QPainter>

namespace velloran {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPixmap(const QPixmap& pixmap) {
    pixmap_ = pixmap;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (pixmap_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), pixmap_);
}

} // namespace velloran
