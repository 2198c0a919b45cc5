// The alarm clock's rules, without widgets: the snooze time it offers, how long its countdowns run and
// the time it shows.
#pragma once

#include "common/date_format.h"
#include "common/datetime.h"
#include "prefs/settings_record.h"

#include <optional>
#include <string>

namespace velloran {

// The snooze or switch-off countdown of a list index in milliseconds: (index + 1) x 5 minutes; 0, which
// never fires, for an index below 0 or one too large for a countdown.
int countdownInterval(int index);

// The snooze time chosen when the alarm rings: the settings' item, or 10 minutes when they hold none, so
// that a snooze always rings again.
int offeredSnoozeIndex(const SettingsRecord& settings);

// The switch-off countdown that starts when the alarm rings or rings again; none when switching off is
// turned off in the settings.
std::optional<int> switchOffInterval(const SettingsRecord& settings);

// The clock face in the style's clock format; the designed one is "hh:nn am/pm": the hour on the
// 12-hour clock (0 shows as 12), two-digit minutes, "am" before noon and "pm" from noon on. 00:30 reads
// "12:30 am", 21:07 "09:07 pm".
std::string alarmTimeText(DateTime now, const DateStyle& style);

} // namespace velloran
