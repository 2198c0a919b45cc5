// Modal to the owner only, so that the windows beside it keep their input: the tray icon above all,
// whose menu must still answer while a window opened from it is up.
#pragma once

#include <QWidget>

namespace velloran {

inline void makeOwnerModal(QWidget* window) {
    // Without an owner, modal to the owner would block nothing at all.
    if (window->parentWidget() != nullptr)
        window->setWindowModality(Qt::WindowModal);
}

// A question or a warning that must be answered opens above the alarm and memo windows, which stay
// above other windows: under a ringing clock it would hold its owner with nothing to see.
inline void keepAboveNotifications(QWidget* window) {
    window->setWindowFlag(Qt::WindowStaysOnTopHint);
}

} // namespace velloran
