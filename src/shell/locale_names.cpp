#include "locale_names.h"

namespace velloran {
namespace {

// The first character of a format that is neither a letter nor a blank: the separator it uses.
std::string separatorIn(const QString& format, const std::string& fallback) {
    for (const QChar c : format)
        if (!c.isLetter() && !c.isSpace() && c != '\'')
            return QString(c).toStdString();
    return fallback;
}

} // namespace

DateNames dateNamesFrom(const QLocale& locale) {
    DateNames names;
    // The C locale has no names of its own: keep the English ones.
    if (locale.language() == QLocale::C)
        return names;
    for (int month = 1; month <= 12; ++month) {
        const QString name = locale.monthName(month, QLocale::ShortFormat);
        if (!name.isEmpty())
            names.shortMonths[static_cast<std::size_t>(month - 1)] = name.toStdString();
    }
    for (int day = 1; day <= 7; ++day) {
        // QLocale counts Monday = 1 .. Sunday = 7; the names here start on Sunday.
        const QString name = locale.dayName(day, QLocale::ShortFormat);
        if (!name.isEmpty())
            names.shortDays[static_cast<std::size_t>(day % 7)] = name.toStdString();
    }
    names.dateSeparator = separatorIn(locale.dateFormat(QLocale::ShortFormat), names.dateSeparator);
    names.timeSeparator = separatorIn(locale.timeFormat(QLocale::ShortFormat), names.timeSeparator);
    return names;
}

} // namespace velloran
