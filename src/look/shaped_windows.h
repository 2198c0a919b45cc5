// How a window shaped like its picture gets its outline. Where the window system composites, the
// window is translucent and the picture's own alpha draws a smooth outline; elsewhere a window mask
// cuts it, because a translucent window without a compositor shows black where it is clear, and on
// Wayland a mask only limits where the pointer reaches the window.
#pragma once

#include <QStringView>
#include <optional>

namespace velloran {

// The running application's answer, asked again at each call, so a window made after a compositing
// manager started or stopped follows it.
bool shapedWindowsUseAlpha();

// The rule behind it: every Wayland compositor composites; on X11 that takes a compositing manager;
// any other platform (offscreen, a frame buffer) is masked.
bool shapedWindowsUseAlpha(QStringView platformName, bool x11CompositingManagerRuns);

// Whether a compositing manager owns _NET_WM_CM_S<n> for every screen n of the application's X
// display; false off X11.
bool x11CompositingManagerRuns();

// For tests: the answer of shapedWindowsUseAlpha(); std::nullopt asks the platform again.
void setShapedWindowsUseAlphaForTesting(std::optional<bool> useAlpha);

} // namespace velloran
