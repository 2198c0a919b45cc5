#include "window_place.h"

namespace velloran {

WindowPlace::Request WindowPlace::on(Event event, bool trayPresent) {
    switch (event) {
    case Event::Restore:
        place_ = Place::Shown;
        // Asked even when shown: the user wants it in front.
        return Request::ShowInFront;
    case Event::BroughtBack:
        place_ = Place::Shown;
        return Request::None;
    case Event::SendToTray:
        if (trayPresent && place_ != Place::InTray) {
            place_ = Place::InTray;
            return Request::Hide;
        }
        // Hidden with no tray would leave no way back.
        if (!trayPresent && place_ != Place::MinimisedForWantOfTray) {
            place_ = Place::MinimisedForWantOfTray;
            return Request::Minimise;
        }
        // Already there: the window system's answer to the last request, or a repeat.
        return Request::None;
    case Event::Minimised:
        if (trayPresent) {
            if (place_ == Place::InTray)
                return Request::None;
            place_ = Place::InTray;
            return Request::Hide;
        }
        // Minimised already: it stays so until a tray comes.
        place_ = Place::MinimisedForWantOfTray;
        return Request::None;
    case Event::TrayCame:
        if (!trayPresent || place_ != Place::MinimisedForWantOfTray)
            return Request::None;
        place_ = Place::InTray;
        return Request::Hide;
    case Event::TrayWent:
        if (trayPresent || place_ != Place::InTray)
            return Request::None;
        place_ = Place::MinimisedForWantOfTray;
        return Request::Minimise;
    }
    return Request::None;
}

} // namespace velloran
