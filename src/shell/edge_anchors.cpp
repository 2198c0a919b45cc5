#include "edge_anchors.h"

#include <QWidget>
#include <algorithm>

namespace velloran {

void EdgeAnchors::anchor(QWidget* control, int edges) {
    controls_.push_back({control, control->geometry(), edges});
}

void EdgeAnchors::follow(QSize parentSize) const {
    const int grow = std::max(parentSize.width(), designed_.width()) - designed_.width();
    const int drop = std::max(parentSize.height(), designed_.height()) - designed_.height();
    for (const Anchored& anchored : controls_) {
        if (anchored.control.isNull())
            continue;
        QRect place = anchored.designed;
        if (anchored.edges & Right) {
            if (anchored.edges & Left)
                place.setWidth(place.width() + grow);
            else
                place.translate(grow, 0);
        }
        if (anchored.edges & Bottom) {
            if (anchored.edges & Top)
                place.setHeight(place.height() + drop);
            else
                place.translate(0, drop);
        }
        anchored.control->setGeometry(place);
    }
}

} // namespace velloran
