// How the user's locale shows dates: its names and separators, and the display formats in its order of
// day, month and year and on its clock. US English and the C locale keep the program's designed formats.
#pragma once

#include "common/date_format.h"

#include <QLocale>

namespace velloran {

DateStyle dateStyleOf(const QLocale& locale);

// Whether a style shows the designed US formats.
bool isDesignedStyle(const DateStyle& style);

} // namespace velloran
