#include "shell/window_place.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velloran {
namespace {

using Event = WindowPlace::Event;
using Place = WindowPlace::Place;
using Request = WindowPlace::Request;

struct Step {
    Event event;
    bool trayPresent;
    Request request;
    Place place;
};

struct Story {
    const char* name;
    std::vector<Step> steps;
};

constexpr bool kTray = true;
constexpr bool kNoTray = false;

// Each story from a window on screen. A repeated event is what the window system's answer to a request
// looks like (the minimise box's state change after the program's own minimise): it asks for nothing.
const std::vector<Story> kStories = {
    {"the minimise box with a tray, and without",
     {{Event::Minimised, kTray, Request::Hide, Place::InTray},
      {Event::Minimised, kTray, Request::None, Place::InTray},
      {Event::BroughtBack, kTray, Request::None, Place::Shown},
      {Event::Minimised, kNoTray, Request::None, Place::MinimisedForWantOfTray},
      {Event::TrayCame, kTray, Request::Hide, Place::InTray}}},
    // A window manager that refuses to minimise answers with the window shown again (X11 without
    // minimised windows): brought back, and the next answer still asks for nothing.
    {"a minimise refused by the window manager",
     {{Event::SendToTray, kNoTray, Request::Minimise, Place::MinimisedForWantOfTray},
      {Event::Minimised, kNoTray, Request::None, Place::MinimisedForWantOfTray},
      {Event::BroughtBack, kNoTray, Request::None, Place::Shown},
      {Event::Minimised, kNoTray, Request::None, Place::MinimisedForWantOfTray}}},
    {"into the tray and back",
     {{Event::SendToTray, kTray, Request::Hide, Place::InTray},
      {Event::SendToTray, kTray, Request::None, Place::InTray},
      {Event::Restore, kTray, Request::ShowInFront, Place::Shown}}},
    {"the tray leaves while the window is in it, and comes back",
     {{Event::SendToTray, kTray, Request::Hide, Place::InTray},
      {Event::TrayWent, kNoTray, Request::Minimise, Place::MinimisedForWantOfTray},
      // The window system answers the minimise with a state change, the minimise box's road; where it
      // keeps no minimised state (Wayland) the window seems shown again at once, and the user's
      // activation is what brings it back, not that.
      {Event::Minimised, kNoTray, Request::None, Place::MinimisedForWantOfTray},
      {Event::Minimised, kNoTray, Request::None, Place::MinimisedForWantOfTray},
      {Event::TrayWent, kNoTray, Request::None, Place::MinimisedForWantOfTray},
      {Event::TrayCame, kTray, Request::Hide, Place::InTray},
      {Event::TrayCame, kTray, Request::None, Place::InTray}}},
    {"the user brings the window out while there is no tray: a tray that comes leaves it",
     {{Event::SendToTray, kTray, Request::Hide, Place::InTray},
      {Event::TrayWent, kNoTray, Request::Minimise, Place::MinimisedForWantOfTray},
      {Event::BroughtBack, kNoTray, Request::None, Place::Shown},
      {Event::TrayCame, kTray, Request::None, Place::Shown},
      {Event::TrayWent, kNoTray, Request::None, Place::Shown}}},
    {"the tray's restore while there is no tray",
     {{Event::SendToTray, kNoTray, Request::Minimise, Place::MinimisedForWantOfTray},
      {Event::Restore, kNoTray, Request::ShowInFront, Place::Shown},
      {Event::TrayCame, kTray, Request::None, Place::Shown}}},
    {"a hidden start before any tray: minimised, then into the tray that comes",
     {{Event::SendToTray, kNoTray, Request::Minimise, Place::MinimisedForWantOfTray},
      {Event::TrayCame, kTray, Request::Hide, Place::InTray}}},
    {"a tray that flaps moves the window once per change",
     {{Event::SendToTray, kTray, Request::Hide, Place::InTray},
      {Event::TrayWent, kNoTray, Request::Minimise, Place::MinimisedForWantOfTray},
      {Event::TrayCame, kTray, Request::Hide, Place::InTray},
      {Event::TrayWent, kNoTray, Request::Minimise, Place::MinimisedForWantOfTray},
      {Event::TrayCame, kTray, Request::Hide, Place::InTray}}},
    // The icon's tray is gone though the watch has not said so yet: hidden would leave no way back.
    {"sent to the tray again with none there",
     {{Event::SendToTray, kTray, Request::Hide, Place::InTray},
      {Event::SendToTray, kNoTray, Request::Minimise, Place::MinimisedForWantOfTray}}},
    // A tray said to come whose icon is not in it (the program is closing and took its icon away).
    {"a tray the icon is not in takes nothing",
     {{Event::SendToTray, kNoTray, Request::Minimise, Place::MinimisedForWantOfTray},
      {Event::TrayCame, kNoTray, Request::None, Place::MinimisedForWantOfTray}}},
    {"restore on a shown window still brings it in front",
     {{Event::Restore, kTray, Request::ShowInFront, Place::Shown},
      {Event::BroughtBack, kTray, Request::None, Place::Shown}}},
};

TEST(WindowPlace, EachEventMovesThePlaceAtMostOnce) {
    for (const Story& story : kStories) {
        WindowPlace place;
        for (std::size_t i = 0; i < story.steps.size(); ++i) {
            const Step& step = story.steps[i];
            SCOPED_TRACE(std::string(story.name) + ", step " + std::to_string(i + 1));
            EXPECT_EQ(place.on(step.event, step.trayPresent), step.request);
            EXPECT_EQ(place.place(), step.place);
        }
    }
}

} // namespace
} // namespace velloran
