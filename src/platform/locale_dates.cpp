#include "locale_dates.h"

namespace velloran {
namespace {

// The first character of a format that is neither a letter nor a blank: the separator it uses.
std::string separatorIn(const QString& format, const std::string& fallback) {
    for (const QChar c : format)
        if (!c.isLetter() && !c.isSpace() && c != '\'')
            return QString(c).toStdString();
    return fallback;
}

// Whether a time format shows the 12-hour clock: an AM/PM field outside its quoted texts.
bool hasHalfDay(const QString& format) {
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && (c == u'a' || c == u'A'))
            return true;
    }
    return false;
}

void appendLiteral(std::string& out, const QString& text) {
    if (!text.isEmpty())
        out += '"' + text.toStdString() + '"';
}

// A locale's date format in the display's tokens, in the locale's order and with its own punctuation:
// the normal display has two-digit days, months and years; the long one keeps the weekday and the
// month's name, both short, and the four-digit year.
std::string displayDateFormat(const QString& format, bool longDisplay) {
    std::string out;
    QString literal;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') {
            // A quoted text; two quotes are one quote.
            const qsizetype close = format.indexOf(u'\'', i + 1);
            const qsizetype end = close < 0 ? format.size() : close;
            literal += end == i + 1 ? QStringLiteral("'") : format.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        std::string token;
        if (c == u'd')
            token = run >= 3 ? (longDisplay ? "ddd" : "") : "dd";
        else if (c == u'M' || c == u'L')
            token = run >= 3 && longDisplay ? "mmm" : "mm";
        else if (c == u'y')
            token = longDisplay ? "yyyy" : "yy";
        if (token.empty() && c.isLetter()) {
            // A weekday in the normal display, or a field the display does not show: left out with the
            // blank after it.
            i += run;
            while (i < format.size() && format[i].isSpace())
                ++i;
            continue;
        }
        if (!c.isLetter()) {
            literal += format.mid(i, run);
            i += run;
            continue;
        }
        appendLiteral(out, literal);
        literal.clear();
        out += token;
        i += run;
    }
    appendLiteral(out, literal);
    return out;
}

} // namespace

DateStyle dateStyleOf(const QLocale& locale) {
    DateStyle style;
    // The C locale has no names of its own: keep the English ones.
    if (locale.language() == QLocale::C)
        return style;
    for (int month = 1; month <= 12; ++month) {
        const QString name = locale.monthName(month, QLocale::ShortFormat);
        if (!name.isEmpty())
            style.shortMonths[static_cast<std::size_t>(month - 1)] = name.toStdString();
    }
    for (int day = 1; day <= 7; ++day) {
        // QLocale counts Monday = 1 .. Sunday = 7; the names here start on Sunday.
        const QString name = locale.dayName(day, QLocale::ShortFormat);
        if (!name.isEmpty())
            style.shortDays[static_cast<std::size_t>(day % 7)] = name.toStdString();
    }
    style.dateSeparator = separatorIn(locale.dateFormat(QLocale::ShortFormat), style.dateSeparator);
    style.timeSeparator = separatorIn(locale.timeFormat(QLocale::ShortFormat), style.timeSeparator);
    if (locale.language() == QLocale::English && locale.territory() == QLocale::UnitedStates)
        return style;

    const bool twelveHour = hasHalfDay(locale.timeFormat(QLocale::ShortFormat));
    style.normalFormat = displayDateFormat(locale.dateFormat(QLocale::ShortFormat), false) + " - " +
                         (twelveHour ? "hh:mmam/pm" : "hh:mm");
    style.longFormat = displayDateFormat(locale.dateFormat(QLocale::LongFormat), true) + " - " +
                       (twelveHour ? "hh:mm am/pm" : "hh:mm");
    style.clockFormat = twelveHour ? kClockFaceFormat : "hh:mm";
    return style;
}

bool isDesignedStyle(const DateStyle& style) {
    return style.normalFormat == kNormalDisplayFormat && style.longFormat == kLongDisplayFormat;
}

} // namespace velloran
