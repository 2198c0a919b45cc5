// WindowPlace: where the main window is, as the program keeps it: on screen, in the tray, or minimised
// for want of a tray. Events move it, each at most once, and say what to ask of the window system. The
// window system's own answer to a request (a state change, or nothing where it ignores the request) never
// asks again: a window that became minimised is never asked to minimise, so a tray that leaves cannot
// start a chase of requests.
#pragma once

namespace velloran {

class WindowPlace {
public:
    enum class Place { Shown, InTray, MinimisedForWantOfTray };
    enum class Event {
        // Hidden start, Run in background.
        SendToTray,
        // The window became minimised: the minimise box, or the window system's answer to a minimise.
        Minimised,
        // The tray's Restore, its click, a second start: on screen and in front.
        Restore,
        // The user brought the window back by a road of the desktop's (task bar, window list).
        BroughtBack,
        TrayCame,
        TrayWent,
    };
    enum class Request { None, Hide, Minimise, ShowInFront };

    Place place() const { return place_; }
    // trayPresent: whether the icon is in a tray once the event has happened.
    Request on(Event event, bool trayPresent);

private:
    Place place_ = Place::Shown;
};

} // namespace velloran
