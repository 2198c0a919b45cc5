// The times that the alarm and memo windows show.
#pragma once

#include "common/datetime.h"

#include <QLocale>
#include <QString>

namespace velloran {

// "hh:nn am/pm": the hour on the 12-hour clock (0 shows as 12), two-digit minutes, "am" before noon and
// "pm" from noon on. 00:30 reads "12:30 am", 21:07 "09:07 pm".
QString alarmTimeText(DateTime now);

// The locale's short date, a blank and its long time; the time is left out only at exactly midnight.
// The long time is shown without a time-zone name.
QString memoShownText(DateTime now, const QLocale& locale);

} // namespace velloran
