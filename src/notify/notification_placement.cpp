#include "notification_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace velloran {
namespace {

// Room left between windows placed side by side, and the step of the search and of the cascade.
constexpr int kGap = 8;
constexpr int kCascadeStep = 32;

bool overlaps(const Box& a, const Box& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

bool covers(const Box& top, const Box& below) {
    return top.x <= below.x && top.y <= below.y && top.right() >= below.right() &&
           top.bottom() >= below.bottom();
}

Box inflated(const Box& box, int by) {
    return {box.x - by, box.y - by, box.width + 2 * by, box.height + 2 * by};
}

// The nearest position to (x, y) at which the window lies on the screen; the top-left corner wins where
// the screen is smaller than the window.
Spot onScreen(int x, int y, int width, int height, const Box& screen) {
    x = std::max(screen.x, std::min(x, screen.right() - width));
    y = std::max(screen.y, std::min(y, screen.bottom() - height));
    return {x, y};
}

std::int64_t squared(std::int64_t value) {
    return value * value;
}

} // namespace

Spot placeNotification(int width, int height, const Box& screen, const std::vector<Box>& open) {
    if (open.empty())
        return onScreen(screen.x + (screen.width - width) / 2, screen.y + (screen.height - height) / 2, width,
                        height, screen);

    const Box& newest = open.back();
    const std::int64_t centreX = newest.x + newest.width / 2;
    const std::int64_t centreY = newest.y + newest.height / 2;

    // Every place on the screen in steps, the free one whose middle is nearest the newest window's.
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    Spot chosen{};
    const int step = kGap;
    for (int y = screen.y; y + height <= screen.bottom(); y += step) {
        for (int x = screen.x; x + width <= screen.right(); x += step) {
            const Box candidate{x, y, width, height};
            const std::int64_t distance =
                squared(x + width / 2 - centreX) + squared(y + height / 2 - centreY);
            if (distance >= best)
                continue;
            const bool free = std::none_of(open.begin(), open.end(), [&](const Box& window) {
                return overlaps(candidate, inflated(window, kGap));
            });
            if (free) {
                best = distance;
                chosen = {x, y};
            }
        }
    }
    if (best != std::numeric_limits<std::int64_t>::max())
        return chosen;

    // No free place: down and right of the newest window, back to the screen's corner when the screen
    // ends, until the window covers none completely and none lies exactly beneath it.
    Spot spot = onScreen(newest.x + kCascadeStep, newest.y + kCascadeStep, width, height, screen);
    const int tries = std::max(1, (screen.width + screen.height) / kCascadeStep);
    for (int i = 0; i < tries; ++i) {
        const Box candidate{spot.x, spot.y, width, height};
        const bool coversOne = std::any_of(open.begin(), open.end(), [&](const Box& window) {
            return covers(candidate, window) || (window.x == spot.x && window.y == spot.y);
        });
        if (!coversOne)
            return spot;
        Spot next = onScreen(spot.x + kCascadeStep, spot.y + kCascadeStep, width, height, screen);
        if (next == spot)
            next = onScreen(screen.x + kCascadeStep * (i % 4), screen.y + kCascadeStep * ((i + 1) % 4), width,
                            height, screen);
        spot = next;
    }
    return spot;
}

} // namespace velloran
