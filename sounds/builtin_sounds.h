// The sounds compiled into the program: the alarm that stands in for a missing or unplayable sound file,
// and the short alert of a note appearing.
#pragma once

namespace velloran {

extern const char* const kBuiltinAlarmSound;
extern const char* const kBuiltinAlertSound;

} // namespace velloran
