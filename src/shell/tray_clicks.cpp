#include "tray_clicks.h"

namespace velloran {

TrayClicks::Command TrayClicks::press(Button button, std::int64_t atMs) {
    // A clock that went back never makes a double click.
    if (lastButton_ == button && atMs >= lastAt_ && atMs - lastAt_ <= interval_) {
        // The pair is used up: a third quick press starts a new one.
        lastButton_.reset();
        return Command::Restore;
    }
    lastButton_ = button;
    lastAt_ = atMs;
    return button == Button::Right ? Command::ShowMenu : Command::None;
}

} // namespace velloran
