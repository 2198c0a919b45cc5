#include "common/text.h"
#include "shell/task_rows.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace velloran {
namespace {

using test::at;

const DateStyle english;

std::string format(std::string_view pattern, DateTime value) {
    return formatDateTime(pattern, value, english);
}

TEST(DateFormat, TheThreeFormatsOfTheList) {
    const DateTime value = at(2009, 12, 3, 14, 5);
    EXPECT_EQ(format(kNormalDisplayFormat, value), "12/03/09 - 02:05pm");
    EXPECT_EQ(format(kLongDisplayFormat, value), "Thu, Dec 03, 2009 - 02:05 pm");
    EXPECT_EQ(format(kSortKeyFormat, value), "091203 p 02:05");
}

TEST(DateFormat, TwelveHourClockAroundMidnightAndNoon) {
    EXPECT_EQ(format(kNormalDisplayFormat, at(2009, 12, 3, 0, 30)), "12/03/09 - 12:30am");
    EXPECT_EQ(format(kNormalDisplayFormat, at(2009, 12, 3, 12, 0)), "12/03/09 - 12:00pm");
    EXPECT_EQ(format(kNormalDisplayFormat, at(2009, 12, 3, 23, 59)), "12/03/09 - 11:59pm");
    EXPECT_EQ(format(kSortKeyFormat, at(2009, 12, 3, 0, 30)), "091203 a 12:30");
}

TEST(DateFormat, TokenRules) {
    const DateTime value = at(2009, 7, 4, 9, 7);
    EXPECT_EQ(format("hh:mm", value), "09:07") << "mm after an hour is minutes; no am/pm means 24 hours";
    EXPECT_EQ(format("hh:mm", at(2009, 7, 4, 21, 7)), "21:07");
    EXPECT_EQ(format("mm hh", value), "07 09") << "mm before any hour is the month";
    EXPECT_EQ(format("AM/PM hh", at(2009, 7, 4, 21, 7)), "PM 09") << "am/pm written earlier counts too";
    EXPECT_EQ(format("hh A/P", value), "09 A");
    EXPECT_EQ(format("yyyy yy", at(2100, 1, 1, 0, 0)), "2100 00");
    EXPECT_EQ(format("x-dd", value), "x-04") << "other characters are copied";
}

TEST(DateFormat, LocaleSuppliesSeparatorsAndNames) {
    DateStyle german;
    german.dateSeparator = ".";
    german.timeSeparator = ".";
    german.shortDays[4] = "Do";
    german.shortMonths[11] = "Dez";
    EXPECT_EQ(formatDateTime(kLongDisplayFormat, at(2009, 12, 3, 14, 5), german),
              "Do, Dez 03, 2009 - 02.05 pm");
    EXPECT_EQ(formatDateTime(kNormalDisplayFormat, at(2009, 12, 3, 14, 5), german), "12.03.09 - 02.05pm");
}

TEST(DateFormat, DamagedValuesDoNotCrash) {
    EXPECT_NO_THROW(format(kLongDisplayFormat, std::numeric_limits<double>::quiet_NaN()));
    EXPECT_NO_THROW(format(kLongDisplayFormat, 1e300));
}

Task withTarget(TaskKind kind, std::string_view target) {
    Task task = test::makeTask(kind, at(2009, 12, 3, 14, 5));
    task.Target = target;
    return task;
}

TEST(TaskRows, TargetIsShortenedToItsLastComponent) {
    EXPECT_EQ(shortTarget(withTarget(kAudio, "C:\\Music\\wake.mp3")), "wake.mp3");
    EXPECT_EQ(shortTarget(withTarget(kDocument, "C:/Docs/a.txt")), "a.txt");
    EXPECT_EQ(shortTarget(withTarget(kGeneral, "plain")), "plain");
    EXPECT_EQ(shortTarget(withTarget(kGeneral, "C:\\folder\\")), "");
    EXPECT_EQ(shortTarget(withTarget(kWebAddress, "http://example.org/a/b")), "http://example.org/a/b");
}

TEST(TaskRows, NamesAndStatus) {
    Task task = withTarget(kGeneral, "x");
    task.RepeatType = kWeekly;
    task.Flags = 0;
    EXPECT_EQ(kindName(8), "");
    EXPECT_EQ(kindName(-1), "");
    EXPECT_EQ(kindName(kAlarmClock), "Alarm Clock");
    EXPECT_EQ(repeatName(task.RepeatType), "weekly");
    EXPECT_EQ(repeatName(9), "");
    EXPECT_EQ(statusName(task), "Disabled");
    task.Flags = kEnabled;
    EXPECT_EQ(statusName(task), "Enabled");
    EXPECT_EQ(nextRunText(task, false, english), "12/03/09 - 02:05pm");
    EXPECT_EQ(nextRunText(task, true, english), "Thu, Dec 03, 2009 - 02:05 pm");
}

TEST(TaskRows, SortKeyOrder) {
    const auto key = [](DateTime when) { return format(kSortKeyFormat, when); };
    const auto before = [&](DateTime a, DateTime b) { return compareSortKeys(key(a), key(b)) < 0; };
    EXPECT_TRUE(before(at(2009, 12, 3, 9, 0), at(2009, 12, 3, 15, 0)));
    EXPECT_TRUE(before(at(2009, 12, 3, 11, 15), at(2009, 12, 3, 0, 30))) << "a 11:15 before a 12:30";
    EXPECT_TRUE(before(at(2009, 12, 3, 23, 0), at(2009, 12, 3, 12, 10))) << "p 11:00 before p 12:10";
    EXPECT_TRUE(before(at(2100, 1, 1, 9, 0), at(2099, 1, 1, 9, 0))) << "two-digit years";
    EXPECT_EQ(compareSortKeys(key(at(2009, 12, 3, 9, 0)), key(at(2009, 12, 3, 9, 0) + 0.0005)), 0);
    EXPECT_EQ(compareSortKeys("abc", "ABC"), 0);
    EXPECT_LT(compareSortKeys("ab", "abc"), 0);
    EXPECT_GT(compareSortKeys("\xe9", "a"), 0) << "bytes compare unsigned";
}

TaskList threeTasks() {
    TaskList tasks;
    const DateTime nine = at(2009, 12, 3, 9, 0);
    tasks.appendNew(withTarget(kGeneral, "b"), 1).NextRun = nine;
    tasks.appendNew(withTarget(kGeneral, "late"), 2).NextRun = at(2009, 12, 3, 15, 0);
    tasks.appendNew(withTarget(kGeneral, "a"), 3).NextRun = nine;
    return tasks;
}

std::vector<std::string> targetsOf(const TaskList& tasks, const std::vector<TaskRowRef>& rows) {
    std::vector<std::string> targets;
    for (const TaskRowRef row : rows) {
        const Task* task = rowTask(tasks, row);
        targets.push_back(task != nullptr ? targetText(*task) : "-");
    }
    return targets;
}

TEST(TaskRows, SortedRowsKeepListOrderForEqualKeys) {
    const TaskList tasks = threeTasks();
    EXPECT_EQ(targetsOf(tasks, orderTaskRows(tasks, true, english)),
              (std::vector<std::string>{"b", "a", "late"}));
    const auto unsorted = orderTaskRows(tasks, false, english);
    EXPECT_EQ(targetsOf(tasks, unsorted), (std::vector<std::string>{"b", "late", "a"}));
    EXPECT_EQ(unsorted[1].taskId, 2u);
    EXPECT_TRUE(orderTaskRows(TaskList(), true, english).empty());
}

TEST(TaskRows, RowsOfRemovedOrMovedTasksFindNoTask) {
    TaskList tasks = threeTasks();
    const auto rows = orderTaskRows(tasks, true, english); // b (place 0), a (place 2), late (place 1)
    tasks.removeAt(1);
    // The row of "late" finds "a" at its place, the row of "a" points past the end: neither shows a text.
    EXPECT_EQ(targetsOf(tasks, rows), (std::vector<std::string>{"b", "-", "-"}));
    tasks.removeAt(0);
    tasks.removeAt(0);
    EXPECT_EQ(targetsOf(tasks, rows), (std::vector<std::string>{"-", "-", "-"}));
}

TEST(TaskRows, RowsFollowTheirTasksWhenARowIsRemovedWithItsTask) {
    TaskList tasks = threeTasks();
    auto rows = orderTaskRows(tasks, true, english); // b, a, late
    tasks.removeAt(0);                               // "b", the first row
    removeTaskRow(rows, 0);
    EXPECT_EQ(targetsOf(tasks, rows), (std::vector<std::string>{"a", "late"}));
    tasks.removeAt(0); // "late", now the last row but first in the list
    removeTaskRow(rows, 1);
    EXPECT_EQ(targetsOf(tasks, rows), (std::vector<std::string>{"a"}));
    EXPECT_EQ(rows[0].place, 0u);
    EXPECT_EQ(rows[0].taskId, 3u);
}

TEST(TaskRows, OlderTextsShowReadably) {
    Task task = withTarget(kDocument, "C:\\Docs\\r\xe9sum\xe9.doc");
    task.Description = "caf\xe9";
    EXPECT_EQ(targetText(task), "résumé.doc");
    EXPECT_EQ(descriptionText(task), "café");
}

} // namespace
} // namespace velloran
