#include "notification_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

namespace velloran {
namespace {

// Room left between windows placed side by side, and the step of the search over the screen.
constexpr int kGap = 8;
constexpr int kStep = 8;

std::int64_t overlapArea(const Box& a, const Box& b) {
    const std::int64_t width = std::min(a.right(), b.right()) - std::max(a.x, b.x);
    const std::int64_t height = std::min(a.bottom(), b.bottom()) - std::max(a.y, b.y);
    return width > 0 && height > 0 ? width * height : 0;
}

bool covers(const Box& top, const Box& below) {
    return top.x <= below.x && top.y <= below.y && top.right() >= below.right() &&
           top.bottom() >= below.bottom();
}

Box inflated(const Box& box, int by) {
    return {box.x - by, box.y - by, box.width + 2 * by, box.height + 2 * by};
}

// The range of left (or top) edges at which a window lies on the screen. One larger than the screen
// keeps its corner on the screen's first half, so that windows offset from one another still show.
std::pair<int, int> edges(int start, int room, int size) {
    return {start, size <= room ? start + room - size : start + room / 2};
}

std::int64_t squared(std::int64_t value) {
    return value * value;
}

} // namespace

Spot placeNotification(int width, int height, const Box& screen, const std::vector<Box>& open) {
    const auto [left, lastLeft] = edges(screen.x, screen.width, width);
    const auto [top, lastTop] = edges(screen.y, screen.height, height);
    if (open.empty())
        return {std::max(left, screen.x + (screen.width - width) / 2),
                std::max(top, screen.y + (screen.height - height) / 2)};

    // Every place on the screen, in steps, weighed by how many windows it covers completely (or sits
    // exactly upon), then by how much of them it covers, then by how far it lies from the newest
    // window: side by side where there is room, as far aside as the screen allows where there is none.
    const Box& newest = open.back();
    const std::int64_t wantX = newest.x + (newest.width - width) / 2;
    const std::int64_t wantY = newest.y + (newest.height - height) / 2;
    struct Weight {
        int covered;
        std::int64_t overlapped;
        std::int64_t distance;
        auto operator<=>(const Weight&) const = default;
    };
    std::optional<Weight> best;
    Spot chosen{left, top};
    auto consider = [&](int x, int y) {
        const Box candidate{x, y, width, height};
        Weight weight{0, 0, squared(x - wantX) + squared(y - wantY)};
        for (const Box& window : open) {
            if (covers(candidate, window) || (x == window.x && y == window.y))
                ++weight.covered;
            else
                weight.overlapped += overlapArea(candidate, inflated(window, kGap));
        }
        if (!best || weight < *best) {
            best = weight;
            chosen = {x, y};
        }
    };
    for (int y = top;; y = std::min(y + kStep, lastTop)) {
        for (int x = left;; x = std::min(x + kStep, lastLeft)) {
            consider(x, y);
            if (x == lastLeft)
                break;
        }
        if (y == lastTop)
            break;
    }
    return chosen;
}

} // namespace velloran
