#include "ringing_sounds.h"

#include "sound_player.h"

#include <algorithm>

namespace velloran {

void RingingSounds::ring(const void* window, const QString& soundPath, const QString& purpose) {
    std::erase_if(ringing_, [window](const Ringing& entry) { return entry.window == window; });
    ringing_.push_back({window, soundPath, purpose});
    sound_.playLooping(soundPath, purpose);
}

void RingingSounds::silence(const void* window) {
    const bool wasHeard = heard() == window;
    std::erase_if(ringing_, [window](const Ringing& entry) { return entry.window == window; });
    if (!wasHeard)
        return;
    if (ringing_.empty())
        sound_.stop();
    else
        sound_.playLooping(ringing_.back().soundPath, ringing_.back().purpose);
}

bool RingingSounds::isRinging(const void* window) const {
    return std::any_of(ringing_.begin(), ringing_.end(),
                       [window](const Ringing& entry) { return entry.window == window; });
}

} // namespace velloran
