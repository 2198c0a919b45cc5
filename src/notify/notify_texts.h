// The times that the alarm and memo windows show.
#pragma once

#include "common/datetime.h"

#include <QLocale>
#include <QString>

namespace velloran {

// The locale's short date, a blank and its long time; the time is left out only at exactly midnight.
// The long time is shown without a time-zone name.
QString memoShownText(DateTime now, const QLocale& locale);

} // namespace velloran
