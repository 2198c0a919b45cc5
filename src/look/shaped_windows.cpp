#include "shaped_windows.h"

#include "x11_selections.h"

#include <QGuiApplication>

namespace velloran {
namespace {

std::optional<bool>& forcedAnswer() {
    static std::optional<bool> answer;
    return answer;
}

} // namespace

bool shapedWindowsUseAlpha() {
    if (forcedAnswer().has_value())
        return *forcedAnswer();
    const QString platform = QGuiApplication::platformName();
    return shapedWindowsUseAlpha(platform, platform == QLatin1String("xcb") && x11CompositingManagerRuns());
}

bool shapedWindowsUseAlpha(QStringView platformName, bool x11CompositingManagerRuns) {
    // Qt names its Wayland platforms "wayland", "wayland-egl", "wayland-brcm" and so on.
    if (platformName.startsWith(QLatin1String("wayland")))
        return true;
    return platformName == QLatin1String("xcb") && x11CompositingManagerRuns;
}

bool x11CompositingManagerRuns() {
    // A display of several screens counts only when every one composites: a window on a screen
    // without a compositing manager would show black where it is clear, while a mask works anywhere.
    const SelectionOwners managers = x11SelectionOwners("_NET_WM_CM_S");
    return managers.screens > 0 && managers.owned == managers.screens;
}

void setShapedWindowsUseAlphaForTesting(std::optional<bool> useAlpha) {
    forcedAnswer() = useAlpha;
}

} // namespace velloran
