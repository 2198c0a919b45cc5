#include "builtin_sounds.h"

namespace velloran {

const char* const kBuiltinAlarmSound = ":/velloran/sounds/alarm.wav";
const char* const kBuiltinAlertSound = ":/velloran/sounds/alert.wav";

} // namespace velloran
