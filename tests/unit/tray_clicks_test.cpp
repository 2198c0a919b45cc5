#include "shell/tray_clicks.h"

#include <gtest/gtest.h>

namespace velloran {
namespace {

using Button = TrayClicks::Button;
using Command = TrayClicks::Command;

TEST(TrayClicks, EachButtonsSecondPressWithinTheIntervalRestores) {
    for (const Button button : {Button::Left, Button::Right, Button::Middle}) {
        TrayClicks clicks(400);
        clicks.press(button, 1000);
        EXPECT_EQ(clicks.press(button, 1400), Command::Restore);
    }
}

TEST(TrayClicks, LoneRightPressOpensTheMenuOtherButtonsDoNothing) {
    TrayClicks clicks(400);
    EXPECT_EQ(clicks.press(Button::Right, 0), Command::ShowMenu);
    EXPECT_EQ(clicks.press(Button::Left, 5000), Command::None);
    EXPECT_EQ(clicks.press(Button::Middle, 10000), Command::None);
}

TEST(TrayClicks, RightDoubleClickOpensTheMenuOnceThenRestores) {
    TrayClicks clicks(400);
    EXPECT_EQ(clicks.press(Button::Right, 100), Command::ShowMenu);
    EXPECT_EQ(clicks.press(Button::Right, 250), Command::Restore);
}

TEST(TrayClicks, PressesFurtherApartThanTheIntervalAreSingle) {
    TrayClicks clicks(400);
    clicks.press(Button::Left, 1000);
    EXPECT_EQ(clicks.press(Button::Left, 1401), Command::None);
    // The late press starts a pair of its own.
    EXPECT_EQ(clicks.press(Button::Left, 1700), Command::Restore);
}

TEST(TrayClicks, TwoDifferentButtonsMakeNoDoubleClick) {
    TrayClicks clicks(400);
    clicks.press(Button::Left, 0);
    EXPECT_EQ(clicks.press(Button::Right, 100), Command::ShowMenu);
    EXPECT_EQ(clicks.press(Button::Middle, 200), Command::None);
    EXPECT_EQ(clicks.press(Button::Middle, 300), Command::Restore);
}

TEST(TrayClicks, ThirdQuickPressStartsANewPair) {
    TrayClicks clicks(400);
    clicks.press(Button::Right, 0);
    EXPECT_EQ(clicks.press(Button::Right, 100), Command::Restore);
    EXPECT_EQ(clicks.press(Button::Right, 200), Command::ShowMenu);
    EXPECT_EQ(clicks.press(Button::Right, 300), Command::Restore);
}

TEST(TrayClicks, ClockGoingBackMakesNoDoubleClick) {
    TrayClicks clicks(400);
    clicks.press(Button::Left, 5000);
    EXPECT_EQ(clicks.press(Button::Left, 4900), Command::None);
}

} // namespace
} // namespace velloran
