// Day and month names and separators from the user's locale, English where it gives none.
#pragma once

#include "date_format.h"

#include <QLocale>

namespace velloran {

DateNames dateNamesFrom(const QLocale& locale);

} // namespace velloran
