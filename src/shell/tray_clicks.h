// TrayClicks: tells the tray icon's double clicks from single ones. Trays report each press (X11 the
// left button's double click only, StatusNotifier panels never one), so the pairs are found here.
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
