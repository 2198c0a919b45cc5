#include "notification_placement.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

namespace velloran {
namespace {

// Room left between windows placed side by side; how far a window that finds no room is set off from
// another; how many of the newest windows a new one keeps clear of.
constexpr int kGap = 8;
constexpr int kOffset = 32;
constexpr std::size_t kConsidered = 24;

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

    // Only the newest windows count: those open together are what must stay in view, and a screen full
    // of older ones can no longer be kept clear anyway.
    const std::size_t first = open.size() > kConsidered ? open.size() - kConsidered : 0;
    const std::vector<Box> recent(open.begin() + static_cast<std::ptrdiff_t>(first), open.end());
    const Box& newest = recent.back();
    const int wantX = std::clamp(newest.x + (newest.width - width) / 2, left, lastLeft);
    const int wantY = std::clamp(newest.y + (newest.height - height) / 2, top, lastTop);

    // The places worth trying: the screen's edges, in line with the newest window, beside each window
    // and a step down and right of each.
    std::vector<int> xs{left, lastLeft, wantX};
    std::vector<int> ys{top, lastTop, wantY};
    for (const Box& window : recent) {
        for (const int x : {window.right() + kGap, window.x - kGap - width, window.x + kOffset})
            xs.push_back(std::clamp(x, left, lastLeft));
        for (const int y : {window.bottom() + kGap, window.y - kGap - height, window.y + kOffset, window.y})
            ys.push_back(std::clamp(y, top, lastTop));
    }
    for (std::vector<int>* edges : {&xs, &ys}) {
        std::sort(edges->begin(), edges->end());
        edges->erase(std::unique(edges->begin(), edges->end()), edges->end());
    }

    // Each weighed by how many windows it covers completely (or sits exactly upon), then by how much of
    // them it covers, then by how far it lies from the newest window: side by side where there is room,
    // as far aside as the screen allows where there is none.
    struct Weight {
        int covered;
        std::int64_t overlapped;
        std::int64_t distance;
        auto operator<=>(const Weight&) const = default;
    };
    std::optional<Weight> best;
    Spot chosen{wantX, wantY};
    for (const int y : ys) {
        for (const int x : xs) {
            const Box candidate{x, y, width, height};
            Weight weight{0, 0, squared(x - wantX) + squared(y - wantY)};
            for (const Box& window : recent) {
                if (covers(candidate, window) || (x == window.x && y == window.y))
                    ++weight.covered;
                else
                    weight.overlapped += overlapArea(candidate, inflated(window, kGap));
            }
            if (!best || weight < *best) {
                best = weight;
                chosen = {x, y};
            }
        }
    }
    return chosen;
}

} // namespace velloran
