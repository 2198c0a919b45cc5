#include "date_format.h"

#include "common/text.h"
#include <cstdio>

namespace velloran {
namespace {

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix) {
    if (text.size() - at < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lowerAscii(text[at + i]) != prefix[i])
            return false;
    return true;
}

std::size_t runLength(std::string_view text, std::size_t at) {
    const char first = lowerAscii(text[at]);
    std::size_t end = at;
    while (end < text.size() && lowerAscii(text[end]) == first)
        ++end;
    return end - at;
}

// The length of an am/pm or a/p token at this place, or 0.
std::size_t halfDayToken(std::string_view format, std::size_t at) {
    if (startsWithNoCase(format, at, "am/pm"))
        return 5;
    if (startsWithNoCase(format, at, "a/p"))
        return 3;
    return 0;
}

// Whether an am/pm token follows before the next hour token.
bool halfDayFollows(std::string_view format, std::size_t from) {
    for (std::size_t i = from; i < format.size(); ++i) {
        if (format[i] == '"') {
            i = format.find('"', i + 1);
            if (i == std::string_view::npos)
                return false;
            continue;
        }
        if (halfDayToken(format, i) != 0)
            return true;
        if (lowerAscii(format[i]) == 'h')
            return false;
    }
    return false;
}

std::string twoDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

} // namespace

std::string formatDateTime(std::string_view format, DateTime value, const DateStyle& names) {
    const CivilDate date = decodeDate(value);
    const CivilTime time = decodeTime(value);
    std::string out;
    bool lastLetterWasHour = false;
    bool halfDayWritten = false;
    for (std::size_t i = 0; i < format.size();) {
        const char c = format[i];
        const char lower = lowerAscii(c);
        if (c == '"') {
            // A quoted literal, such as the "de" of "dd \"de\" mmm": its letters are no tokens.
            const std::size_t close = format.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? format.size() : close;
            out += format.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (const std::size_t length = halfDayToken(format, i)) {
            // The written token gives the case: the part before the slash for morning, after it for
            // afternoon.
            const std::string_view token = format.substr(i, length);
            const std::size_t slash = token.find('/');
            out += time.hour < 12 ? token.substr(0, slash) : token.substr(slash + 1);
            halfDayWritten = true;
            lastLetterWasHour = false;
            i += length;
            continue;
        }
        if (lower == 'y') {
            const std::size_t run = runLength(format, i);
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, run <= 2 ? "%02d" : "%04d",
                          run <= 2 ? date.year % 100 : date.year);
            out += buffer;
            lastLetterWasHour = false;
            i += run;
        } else if (lower == 'm') {
            const std::size_t run = runLength(format, i);
            if (run >= 3)
                out += date.month >= 1 ? names.shortMonths[static_cast<std::size_t>(date.month - 1)] : "";
            else
                out += twoDigits(lastLetterWasHour ? time.minute : date.month);
            lastLetterWasHour = false;
            i += run;
        } else if (lower == 'd') {
            const std::size_t run = runLength(format, i);
            if (run >= 3)
                out += dayOfWeek(value) >= 1 ? names.shortDays[static_cast<std::size_t>(dayOfWeek(value) - 1)]
                                             : "";
            else
                out += twoDigits(date.day);
            lastLetterWasHour = false;
            i += run;
        } else if (lower == 'h') {
            const std::size_t run = runLength(format, i);
            int hour = time.hour;
            if (halfDayWritten || halfDayFollows(format, i + run)) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            out += twoDigits(hour);
            lastLetterWasHour = true;
            i += run;
        } else if (c == '/') {
            out += names.dateSeparator;
            ++i;
        } else if (c == ':') {
            out += names.timeSeparator;
            ++i;
        } else {
            if (std::isalpha(static_cast<unsigned char>(c)))
                lastLetterWasHour = false;
            out += c;
            ++i;
        }
    }
    return out;
}

std::string displayText(DateTime value, bool longDisplay, const DateStyle& style) {
    return formatDateTime(longDisplay ? style.longFormat : style.normalFormat, value, style);
}

} // namespace velloran
