#include "ringing_alarms.h"

#include "platform/sound_player.h"

#include <algorithm>

namespace velloran {

void RingingAlarms::ring(const void* alarm, const QString& soundPath, const QString& purpose) {
    std::erase_if(ringing_, [alarm](const Ringing& entry) { return entry.alarm == alarm; });
    ringing_.push_back({alarm, soundPath, purpose});
    sound_.playLooping(soundPath, purpose);
}

void RingingAlarms::silence(const void* alarm) {
    const bool wasHeard = heard() == alarm;
    std::erase_if(ringing_, [alarm](const Ringing& entry) { return entry.alarm == alarm; });
    if (!wasHeard)
        return;
    if (ringing_.empty())
        sound_.stop();
    else
        sound_.playLooping(ringing_.back().soundPath, ringing_.back().purpose);
}

bool RingingAlarms::isRinging(const void* alarm) const {
    return std::any_of(ringing_.begin(), ringing_.end(),
                       [alarm](const Ringing& entry) { return entry.alarm == alarm; });
}

} // namespace velloran
