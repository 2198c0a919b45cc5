#include "advance.h"

namespace velloran {
namespace {

void disable(Task& task) {
    task.Flags &= ~static_cast<std::uint32_t>(kEnabled);
}

// The first chosen weekday strictly after the date, at most a week on. A mask with no weekday (only a
// damaged file holds one) acts as every day, so the search always ends.
double nextChosenWeekday(double date, std::uint8_t dayMask) {
    if ((dayMask & kEveryDay) == 0)
        dayMask = kEveryDay;
    double next = date;
    for (int step = 0; step < 7; ++step) {
        next += 1.0;
        const int weekday = dayOfWeek(next);
        // Past the last valid date there is no weekday; the caller disables the task.
        if (weekday == 0 || (dayMask & dayMaskBit(weekday)) != 0)
            break;
    }
    return next;
}

// The anchored day in the given month, lowered to the month's last day where the month is shorter.
bool anchoredDate(int year, int month, int dayOfMonth, DateTime& result) {
    if (dayOfMonth < 1 || dayOfMonth > 31)
        dayOfMonth = 31;
    if (month < 1 || month > 12)
        return false;
    int day = dayOfMonth;
    while (day > 1 && !isValidDate(year, month, day))
        --day;
    return tryEncodeDate(year, month, day, result);
}

} // namespace

void advanceTask(Task& task) {
    const double oldDate = wholeDays(task.NextRun);
    const CivilDate date = decodeDate(task.NextRun);
    double next = 0;
    bool valid = true;
    switch (task.RepeatType) {
    case kDaily:
        next = nextChosenWeekday(oldDate, task.DayMask);
        break;
    case kWeekly:
        next = oldDate + 7.0;
        break;
    case kMonthly: {
        const bool december = date.month == 12;
        valid = anchoredDate(december ? date.year + 1 : date.year, december ? 1 : date.month + 1,
                             task.DayOfMonth, next);
        break;
    }
    case kYearly:
        valid = anchoredDate(date.year + 1, date.month, task.DayOfMonth, next);
        break;
    default:
        disable(task);
        return;
    }
    const DateTime nextRun = composeDateTime(next, timeOfDay(task.NextRun));
    if (!valid || !isValidDateTime(nextRun)) {
        disable(task);
        return;
    }
    task.NextRun = nextRun;
}

} // namespace velloran
