// TrayClicks: tells the X11 tray icon's double clicks from single ones. That tray reports each press (a
// double click only for the left button), so the pairs are found here. A StatusNotifier host decides
// for itself what a click is.
#pragma once

#include <cstdint>
#include <optional>

namespace velloran {

class TrayClicks {
public:
    enum class Button { Left, Right, Middle };
    enum class Command { None, Restore, ShowMenu };

    explicit TrayClicks(std::int64_t doubleClickMs) : interval_(doubleClickMs) {}

    // A press at a moment in milliseconds. The second press of one button within the interval after
    // the first is a double click of any button, which restores; a lone right press opens the menu.
    Command press(Button button, std::int64_t atMs);

private:
    std::int64_t interval_;
    std::optional<Button> lastButton_;
    std::int64_t lastAt_ = 0;
};

} // namespace velloran
