// Where alarm and memo windows open: in the middle when alone, beside the others where the screen has
// room, and never covering another completely when it has none.
#include "notify/notification_placement.h"

#include <gtest/gtest.h>

namespace velloran {
namespace {

constexpr int kAlarmWidth = 320, kAlarmHeight = 385;
constexpr int kMemoWidth = 393, kMemoHeight = 521;

bool overlap(const Box& a, const Box& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}
bool covers(const Box& top, const Box& below) {
    return top.x <= below.x && top.y <= below.y && top.right() >= below.right() &&
           top.bottom() >= below.bottom();
}
bool inside(const Box& box, const Box& screen) {
    return box.x >= screen.x && box.y >= screen.y && box.right() <= screen.right() &&
           box.bottom() <= screen.bottom();
}

// Opens windows of the given sizes one after another, as the scan does, each placed among the others.
std::vector<Box> openAll(const std::vector<std::pair<int, int>>& sizes, const Box& screen) {
    std::vector<Box> open;
    for (const auto& [width, height] : sizes) {
        const Spot spot = placeNotification(width, height, screen, open);
        open.push_back({spot.x, spot.y, width, height});
    }
    return open;
}

TEST(NotificationPlacement, AloneInTheMiddleOfTheFreeArea) {
    // A panel takes the top 30 pixels of a screen that starts right of another one.
    const Box screen{1920, 30, 1280, 770};
    EXPECT_EQ(placeNotification(kAlarmWidth, kAlarmHeight, screen, {}),
              (Spot{1920 + (1280 - kAlarmWidth) / 2, 30 + (770 - kAlarmHeight) / 2}));
}

TEST(NotificationPlacement, AlarmAndMemoDueTogetherBothShowWhole) {
    const Box screen{0, 0, 1280, 800};
    const std::vector<Box> open = openAll({{kAlarmWidth, kAlarmHeight}, {kMemoWidth, kMemoHeight}}, screen);
    EXPECT_FALSE(overlap(open[0], open[1]));
    EXPECT_TRUE(inside(open[1], screen));
    // Right beside the alarm, not somewhere far off.
    EXPECT_LE(std::abs(open[1].x - open[0].right()) + std::abs(open[0].x - open[1].right()),
              open[0].width + open[1].width + 2 * 8 + 16);
}

TEST(NotificationPlacement, ManyWindowsOnASmallScreenNeverCoverOneAnother) {
    const Box screen{0, 0, 800, 600};
    std::vector<std::pair<int, int>> sizes;
    for (int i = 0; i < 24; ++i)
        sizes.emplace_back(i % 2 == 0 ? kAlarmWidth : kMemoWidth, i % 2 == 0 ? kAlarmHeight : kMemoHeight);
    const std::vector<Box> open = openAll(sizes, screen);
    for (std::size_t later = 0; later < open.size(); ++later) {
        EXPECT_TRUE(inside(open[later], screen)) << later;
        for (std::size_t earlier = 0; earlier < later; ++earlier)
            EXPECT_FALSE(covers(open[later], open[earlier])) << later << " covers " << earlier;
    }
}

TEST(NotificationPlacement, TheSecondGoesWhereThereIsRoomWhenTheFirstWasDraggedToAnEdge) {
    const Box screen{0, 0, 1024, 768};
    const std::vector<Box> open{{1024 - kAlarmWidth, 0, kAlarmWidth, kAlarmHeight}};
    const Spot spot = placeNotification(kMemoWidth, kMemoHeight, screen, open);
    const Box memo{spot.x, spot.y, kMemoWidth, kMemoHeight};
    EXPECT_TRUE(inside(memo, screen));
    EXPECT_FALSE(overlap(memo, open[0]));
}

TEST(NotificationPlacement, AWindowLargerThanTheScreenKeepsItsTopLeftOnIt) {
    const Box screen{100, 50, 300, 200};
    EXPECT_EQ(placeNotification(kMemoWidth, kMemoHeight, screen, {}), (Spot{100, 50}));
    const std::vector<Box> open{{100, 50, kMemoWidth, kMemoHeight}};
    const Spot next = placeNotification(kMemoWidth, kMemoHeight, screen, open);
    EXPECT_GE(next.x, 100);
    EXPECT_GE(next.y, 50);
    EXPECT_FALSE(next == (Spot{100, 50})); // not exactly over the first
}

// A full table of windows: each still lands on the screen, clear of the newest ones.
TEST(NotificationPlacement, HundredsOfWindowsStayOnTheScreen) {
    const Box screen{0, 0, 1920, 1080};
    std::vector<std::pair<int, int>> sizes(500, {kAlarmWidth, kAlarmHeight});
    const std::vector<Box> open = openAll(sizes, screen);
    for (std::size_t i = 0; i < open.size(); ++i) {
        ASSERT_TRUE(inside(open[i], screen)) << i;
        if (i > 0) {
            EXPECT_FALSE(covers(open[i], open[i - 1])) << i;
        }
    }
}

TEST(NotificationPlacement, AWindowPartlyOffTheScreenIsStillAvoided) {
    // The user dragged the first alarm half off the screen.
    const Box screen{0, 0, 1280, 800};
    const std::vector<Box> open{{-160, 600, kAlarmWidth, kAlarmHeight}};
    const Spot spot = placeNotification(kAlarmWidth, kAlarmHeight, screen, open);
    const Box alarm{spot.x, spot.y, kAlarmWidth, kAlarmHeight};
    EXPECT_TRUE(inside(alarm, screen));
    EXPECT_FALSE(overlap(alarm, open[0]));
}

} // namespace
} // namespace velloran
