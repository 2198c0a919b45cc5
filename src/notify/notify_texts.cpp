#include "notify_texts.h"

#include <QDate>
#include <QTime>

namespace velloran {
namespace {

// Removes the time-zone fields ("t", "tt", ...) of a time format, with the blanks before them; quoted
// literals stay as they are.
QString withoutTimeZone(const QString& format) {
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't') {
            result += c;
            continue;
        }
        while (i + 1 < format.size() && format.at(i + 1) == u't')
            ++i;
        while (!result.isEmpty() && result.back().isSpace())
            result.chop(1);
    }
    return result;
}

} // namespace

QString memoShownText(DateTime now, const QLocale& locale) {
    const CivilDate date = decodeDate(now);
    const CivilTime time = decodeTime(now);
    QString text = locale.toString(QDate(date.year, date.month, date.day), QLocale::ShortFormat);
    if (time.hour != 0 || time.minute != 0 || time.second != 0 || time.millisecond != 0)
        text += QLatin1Char(' ') + locale.toString(QTime(time.hour, time.minute, time.second),
                                                   withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    return text;
}

} // namespace velloran
