#include "alarm_rules.h"

#include <climits>
#include <cstdint>

namespace velloran {
namespace {

constexpr std::int64_t kCountdownStep = 300000; // one list step: 5 minutes
constexpr int kFallbackSnoozeIndex = 1;

} // namespace

int countdownInterval(int index) {
    const std::int64_t interval = (static_cast<std::int64_t>(index) + 1) * kCountdownStep;
    return interval > 0 && interval <= INT_MAX ? static_cast<int>(interval) : 0;
}

int offeredSnoozeIndex(const SettingsRecord& settings) {
    return settings.SnoozeTime >= 0 && settings.SnoozeTime < kSnoozeItemCount ? settings.SnoozeTime
                                                                              : kFallbackSnoozeIndex;
}

std::optional<int> switchOffInterval(const SettingsRecord& settings) {
    if (settings.AlarmOffEnabled == 0)
        return std::nullopt;
    return countdownInterval(settings.AlarmOffTime);
}

std::string alarmTimeText(DateTime now, const DateStyle& style) {
    return formatDateTime(style.clockFormat, now, style);
}

} // namespace velloran
