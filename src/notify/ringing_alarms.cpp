#include "ringing_alarms.h"

#include "platform/sound_player.h"

#include <algorithm>

namespace velloran {

void RingingAlarms::ring(const void* alarm, const QString& soundPath) {
    std::erase_if(ringing_, [alarm](const Ringing& entry) { return entry.alarm == alarm; });
    ringing_.push_back({alarm, soundPath});
    sound_.playLooping(soundPath);
}

void RingingAlarms::silence(const void* alarm) {
    const bool wasHeard = heard() == alarm;
    std::erase_if(ringing_, [alarm](const Ringing& entry) { return entry.alarm == alarm; });
    if (!wasHeard)
        return;
    if (ringing_.empty())
        sound_.stop();
    else
        sound_.playLooping(ringing_.back().soundPath);
}

bool RingingAlarms::isRinging(const void* alarm) const {
    return std::any_of(ringing_.begin(), ringing_.end(),
                       [alarm](const Ringing& entry) { return entry.alarm == alarm; });
}

} // namespace velloran
