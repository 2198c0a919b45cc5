#include "editor/typed_date_time.h"

#include <gtest/gtest.h>

namespace velloran {
namespace {

DateWords englishDates(DateOrder order = DateOrder::DayMonthYear) {
    DateWords words;
    words.order = order;
    const char* longNames[] = {"january", "february", "march",     "april",   "may",      "june",
                               "july",    "august",   "september", "october", "november", "december"};
    const char* shortNames[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                "jul", "aug", "sep", "oct", "nov", "dec"};
    for (std::size_t m = 0; m < 12; ++m)
        words.monthNames[m] = {longNames[m], shortNames[m]};
    words.dayNames = {"monday", "mon", "tuesday", "tue", "sunday", "sun"};
    return words;
}

TimeWords englishTimes(bool twelveHour) {
    return TimeWords{{"am"}, {"pm"}, twelveHour};
}

std::optional<TypedDate> date(std::string_view text, const DateWords& words = englishDates()) {
    return readTypedDate(text, words);
}

std::optional<TypedTime> time24(std::string_view text) {
    return readTypedTime(text, englishTimes(false));
}

std::optional<TypedTime> time12(std::string_view text) {
    return readTypedTime(text, englishTimes(true));
}

TEST(TypedDate, WholeDatesInTheShortFormatAndWithNumbers) {
    EXPECT_EQ(date("11 dec 2026"), (TypedDate{2026, 12, 11}));
    EXPECT_EQ(date("7 december 2026"), (TypedDate{2026, 12, 7}));
    EXPECT_EQ(date("  07 dec. 2026 "), (TypedDate{2026, 12, 7}));
    EXPECT_EQ(date("11/12/2026"), (TypedDate{2026, 12, 11}));
    EXPECT_EQ(date("11.12.2026"), (TypedDate{2026, 12, 11}));
    EXPECT_EQ(date("11 12 2026"), (TypedDate{2026, 12, 11}));
    EXPECT_EQ(date("11/12/2026", englishDates(DateOrder::MonthDayYear)), (TypedDate{2026, 11, 12}));
    EXPECT_EQ(date("dec 11, 2026", englishDates(DateOrder::MonthDayYear)), (TypedDate{2026, 12, 11}));
    // A four-digit year first is read year-month-day whatever the locale's order.
    EXPECT_EQ(date("2026-12-11"), (TypedDate{2026, 12, 11}));
    EXPECT_EQ(date("2026-12-11", englishDates(DateOrder::YearMonthDay)), (TypedDate{2026, 12, 11}));
    EXPECT_EQ(date("2026 dec 11"), (TypedDate{2026, 12, 11}));
    // A weekday name may stand beside the date; the start of a month's name is enough.
    EXPECT_EQ(date("mon 11 dec 2026"), (TypedDate{2026, 12, 11}));
    EXPECT_EQ(date("11 sept 2026"), (TypedDate{2026, 9, 11}));
}

TEST(TypedDate, LeapDaysAndMonthEnds) {
    EXPECT_EQ(date("29 feb 2028"), (TypedDate{2028, 2, 29}));
    EXPECT_EQ(date("29 feb 2027"), std::nullopt);
    EXPECT_EQ(date("29 feb 2100"), std::nullopt);
    EXPECT_EQ(date("29 feb 2000"), (TypedDate{2000, 2, 29}));
    EXPECT_EQ(date("31 apr 2026"), std::nullopt);
    EXPECT_EQ(date("31/12/9999"), (TypedDate{9999, 12, 31}));
    EXPECT_EQ(date("0 dec 2026"), std::nullopt);
    EXPECT_EQ(date("1/13/2026"), std::nullopt);
}

TEST(TypedDate, AnythingElseIsRefused) {
    for (const char* text : {"", "   ", "11", "11 dec", "11 dec 26", "11/12/26", "117 dec 2026",
                             "11 dec 02026", "11 xyz 2026", "11 dec 2026 12", "dec 2026", "11 dec jan 2026",
                             "11+12+2026", "11122026", "11 dec 2026 10:00", "2026/11", "26-12-11"})
        EXPECT_EQ(date(text), std::nullopt) << text;
    // "ma" starts both March and May: no guess.
    EXPECT_EQ(date("11 ma 2026"), std::nullopt);
}

TEST(TypedDate, TwoDigitYearsAreReadAroundThisYear) {
    DateWords words = englishDates();
    words.thisYear = 2026;
    const struct {
        const char* text;
        std::optional<TypedDate> read;
    } cases[] = {
        {"24.12.27", TypedDate{2027, 12, 24}}, // as the list shows it
        {"24 dec 27", TypedDate{2027, 12, 24}},
        {"01.01.75", TypedDate{2075, 1, 1}},  // 49 years on: still ahead
        {"01.01.76", TypedDate{1976, 1, 1}},  // 50 years on: the past century's
        {"29.02.00", TypedDate{2000, 2, 29}}, // a leap day in the window's 2000
        {"31.02.27", std::nullopt},           // no such day
        {"29.02.27", std::nullopt},
        {"24.12.7", std::nullopt}, // one digit is no year
        {"24.12.027", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(date(c.text, words), c.read) << c.text;
    words.thisYear = 2099; // the window moves with the clock
    EXPECT_EQ(date("01.01.27", words), (TypedDate{2127, 1, 1}));
}

TEST(TypedDate, AMonthsNameWinsOverAWeekdaysOfTheSameSpelling) {
    DateWords spanish = englishDates();
    spanish.monthNames[2] = {"marzo", "mar"};
    spanish.dayNames = {"martes", "mar"};
    EXPECT_EQ(date("11 mar 2026", spanish), (TypedDate{2026, 3, 11}));
    EXPECT_EQ(date("martes 11/03/2026", spanish), (TypedDate{2026, 3, 11}));
}

TEST(TypedTime, TwentyFourHourTimes) {
    EXPECT_EQ(time24("07:30:00"), (TypedTime{7, 30, 0}));
    EXPECT_EQ(time24("23:45:00"), (TypedTime{23, 45, 0}));
    EXPECT_EQ(time24("00:00:00"), (TypedTime{0, 0, 0}));
    EXPECT_EQ(time24("7:30"), (TypedTime{7, 30, 0}));
    EXPECT_EQ(time24(" 07.30.15 "), (TypedTime{7, 30, 15}));
    EXPECT_EQ(time24("23:59:59"), (TypedTime{23, 59, 59}));
    // AM and PM say which half of the day even where the field shows a 24-hour clock.
    EXPECT_EQ(time24("7:30 pm"), (TypedTime{19, 30, 0}));
}

TEST(TypedTime, TwelveHourTimes) {
    EXPECT_EQ(time12("7:30 am"), (TypedTime{7, 30, 0}));
    EXPECT_EQ(time12("7:30 pm"), (TypedTime{19, 30, 0}));
    EXPECT_EQ(time12("7:30pm"), (TypedTime{19, 30, 0}));
    EXPECT_EQ(time12("7:30:05 p.m."), (TypedTime{19, 30, 5}));
    EXPECT_EQ(time12("12:00 am"), (TypedTime{0, 0, 0}));
    EXPECT_EQ(time12("12:30 pm"), (TypedTime{12, 30, 0}));
    EXPECT_EQ(time12("pm 7:30"), (TypedTime{19, 30, 0})); // where the locale puts it first
    // Without AM or PM an hour of 1 to 12 could be either; 0 and 13 to 23 cannot.
    EXPECT_EQ(time12("7:30"), std::nullopt);
    EXPECT_EQ(time12("12:00"), std::nullopt);
    EXPECT_EQ(time12("19:30"), (TypedTime{19, 30, 0}));
    EXPECT_EQ(time12("0:15"), (TypedTime{0, 15, 0}));
    EXPECT_EQ(time12("13:00 pm"), std::nullopt);
    EXPECT_EQ(time12("0:00 am"), std::nullopt);
}

TEST(TypedTime, ImpossibleAndPartialTimesAreRefused) {
    for (const char* text : {"",       "7",       "25:61:00", "24:00:00",   "23:60", "23:59:60", "7:5",
                             "7:30:5", "07:300",  "123:00",   "7:30:00:00", "7::30", ":30",      "7:30:",
                             "7 30",   "7:30 xm", "am",       "7:30 am pm", "7-30",  "7:30 am 5"})
        EXPECT_EQ(time24(text), std::nullopt) << text;
}

} // namespace
} // namespace velloran
