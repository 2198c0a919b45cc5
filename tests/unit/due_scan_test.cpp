#include "scheduler/advance.h"
#include "scheduler/due_scan.h"
#include "test_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace velloran {
namespace {

using test::at;
using test::makeTask;

struct RecordingSink : TaskActionSink {
    struct Run {
        std::uint32_t id;
        DateTime nextRunDuringAction;
        DateTime due;
    };
    std::vector<Run> runs;
    void carryOut(const Task& task, DateTime due) override {
        runs.push_back({task.TaskId, task.NextRun, due});
    }
};

class DueScan : public ::testing::Test {
protected:
    const Task& add(const Task& task) { return *tasks.find(tasks.add(task, 1000)); }
    const Task& only() { return tasks[0]; }
    bool scan(DateTime now) { return scanDueTasks(tasks, now, sink); }

    // Scans at now and returns the NextRun the task has afterwards.
    DateTime advancedAt(DateTime now) {
        scan(now);
        return only().NextRun;
    }

    TaskStore tasks;
    RecordingSink sink;
};

TEST_F(DueScan, TaskDueExactlyNowRuns) {
    add(makeTask(kGeneral, at(2009, 12, 3, 14, 5)));
    EXPECT_TRUE(scan(at(2009, 12, 3, 14, 5)));
    ASSERT_EQ(sink.runs.size(), 1u);
}

TEST_F(DueScan, FutureTaskIsNotDueAndNothingIsReported) {
    add(makeTask(kGeneral, at(2009, 12, 3, 14, 5)));
    EXPECT_FALSE(scan(at(2009, 12, 3, 14, 4, 59)));
    EXPECT_TRUE(sink.runs.empty());
    EXPECT_TRUE(only().enabled());
}

TEST_F(DueScan, LateWindowBoundary) {
    const DateTime due = at(2010, 5, 1, 8, 0);
    add(makeTask(kGeneral, due));
    scan(due + encodeTime(0, 14, 59));
    EXPECT_EQ(sink.runs.size(), 1u) << "14 min 59 s late still runs";

    tasks = TaskStore();
    sink.runs.clear();
    add(makeTask(kGeneral, due));
    scan(due + kLateWindow);
    EXPECT_TRUE(sink.runs.empty()) << "899.424 s late is missed";
    EXPECT_FALSE(only().enabled()) << "a missed Once task is still disabled";

    tasks = TaskStore();
    add(makeTask(kGeneral, due, kOnce, kEnabled | kRunIfMissed));
    scan(due + 1.0);
    EXPECT_EQ(sink.runs.size(), 1u) << "RunIfMissed runs however late";
}

TEST_F(DueScan, RunDecisionUsesNextRunBeforeTheAdvance) {
    // A weekly task a day late is missed even though its advanced NextRun lies ahead.
    add(makeTask(kGeneral, at(2010, 3, 3, 10, 0), kWeekly));
    scan(at(2010, 3, 4, 10, 0));
    EXPECT_TRUE(sink.runs.empty());
    EXPECT_EQ(only().NextRun, at(2010, 3, 10, 10, 0));
}

TEST_F(DueScan, ActionSeesTheAdvancedRecord) {
    add(makeTask(kGeneral, at(2010, 3, 3, 10, 0), kWeekly));
    scan(at(2010, 3, 3, 10, 0));
    ASSERT_EQ(sink.runs.size(), 1u);
    EXPECT_EQ(sink.runs[0].nextRunDuringAction, at(2010, 3, 10, 10, 0));
}

TEST_F(DueScan, OnceTaskRunsAndStaysDisabled) {
    add(makeTask(kGeneral, at(2010, 1, 1, 9, 0)));
    EXPECT_TRUE(scan(at(2010, 1, 1, 9, 0, 3)));
    EXPECT_EQ(sink.runs.size(), 1u);
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_FALSE(only().enabled());
    EXPECT_EQ(only().NextRun, at(2010, 1, 1, 9, 0));
    EXPECT_FALSE(scan(at(2010, 1, 1, 9, 1))) << "a disabled task is never due again";
}

TEST_F(DueScan, AutoDeleteRemovesOnceTaskWhetherItRanOrNot) {
    add(makeTask(kGeneral, at(2010, 1, 1, 9, 0), kOnce, kEnabled | kAutoDelete));
    scan(at(2010, 1, 1, 10, 0));
    EXPECT_TRUE(sink.runs.empty()) << "missed";
    EXPECT_TRUE(tasks.empty());

    add(makeTask(kGeneral, at(2010, 1, 1, 9, 0), kOnce, kEnabled | kAutoDelete));
    scan(at(2010, 1, 1, 9, 0));
    EXPECT_EQ(sink.runs.size(), 1u);
    EXPECT_TRUE(tasks.empty());
}

TEST_F(DueScan, AutoDeleteDoesNotRemoveRepeatingTasks) {
    add(makeTask(kGeneral, at(2010, 1, 1, 9, 0), kWeekly, kEnabled | kAutoDelete));
    scan(at(2010, 1, 1, 9, 0));
    EXPECT_EQ(tasks.size(), 1u);
}

TEST_F(DueScan, RemovingTheFirstTaskKeepsTheRest) {
    const DateTime due = at(2010, 1, 1, 9, 0);
    add(makeTask(kGeneral, due, kOnce, kEnabled | kAutoDelete));
    add(makeTask(kGeneral, due + 1.0));
    add(makeTask(kGeneral, due, kOnce, kEnabled | kAutoDelete));
    scan(due);
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_EQ(only().NextRun, due + 1.0);
}

TEST_F(DueScan, DisabledPastTaskIsUntouchedUntilEnabled) {
    const DateTime due = at(2010, 1, 1, 8, 0);
    add(makeTask(kGeneral, due, kDaily, 0));
    EXPECT_FALSE(scan(at(2010, 1, 4, 9, 0)));
    EXPECT_EQ(only().NextRun, due);

    // Enabled again, it catches up one occurrence per tick, each missed.
    tasks.toggleEnabled(only().TaskId);
    for (int day = 2; day <= 4; ++day) {
        EXPECT_TRUE(scan(at(2010, 1, 4, 9, 0)));
        EXPECT_EQ(only().NextRun, at(2010, 1, day, 8, 0));
    }
    EXPECT_TRUE(scan(at(2010, 1, 4, 9, 0)));
    EXPECT_EQ(only().NextRun, at(2010, 1, 5, 8, 0));
    EXPECT_TRUE(sink.runs.empty());
    EXPECT_FALSE(scan(at(2010, 1, 4, 9, 0)));
}

TEST_F(DueScan, CatchUpRunsEveryOccurrenceWithRunIfMissed) {
    // 08:00 three days ago, found at 09:00 today: four ticks, four runs, then tomorrow.
    add(makeTask(kGeneral, at(2010, 1, 1, 8, 0), kDaily, kEnabled | kRunIfMissed));
    const DateTime now = at(2010, 1, 4, 9, 0);
    for (int tick = 0; tick < 6; ++tick)
        scan(now);
    ASSERT_EQ(sink.runs.size(), 4u);
    EXPECT_EQ(only().NextRun, at(2010, 1, 5, 8, 0));
    // Each run is told the moment its occurrence was due, not the one it moved on to.
    for (int day = 1; day <= 4; ++day)
        EXPECT_EQ(sink.runs[day - 1].due, at(2010, 1, day, 8, 0));
}

TEST_F(DueScan, TwoDueTasksRunInListOrderInOneTick) {
    const std::uint32_t first = add(makeTask(kGeneral, at(2010, 1, 1, 9, 0, 30))).TaskId;
    const std::uint32_t second = add(makeTask(kMemo, at(2010, 1, 1, 9, 0))).TaskId;
    scan(at(2010, 1, 1, 9, 1));
    ASSERT_EQ(sink.runs.size(), 2u);
    EXPECT_EQ(sink.runs[0].id, first);
    EXPECT_EQ(sink.runs[1].id, second);
}

TEST_F(DueScan, DailyMondayAndFriday) {
    // 1 March 2010 was a Monday.
    add(makeTask(kGeneral, at(2010, 3, 1, 8, 0), kDaily, kEnabled, 0x22));
    EXPECT_EQ(advancedAt(at(2010, 3, 1, 8, 0)), at(2010, 3, 5, 8, 0));
    EXPECT_EQ(advancedAt(at(2010, 3, 5, 8, 0)), at(2010, 3, 8, 8, 0));
}

TEST_F(DueScan, DailyStartedOnAnUnchosenWeekdayRunsThenMovesOn) {
    // 3 March 2010 was a Wednesday.
    add(makeTask(kGeneral, at(2010, 3, 3, 8, 0), kDaily, kEnabled, 0x22));
    EXPECT_EQ(advancedAt(at(2010, 3, 3, 8, 0)), at(2010, 3, 5, 8, 0));
    EXPECT_EQ(sink.runs.size(), 1u);
}

TEST_F(DueScan, DailyWithOneWeekdayMovesAWholeWeek) {
    add(makeTask(kGeneral, at(2010, 3, 1, 8, 0), kDaily, kEnabled, 0x02));
    EXPECT_EQ(advancedAt(at(2010, 3, 1, 8, 0)), at(2010, 3, 8, 8, 0));
}

TEST_F(DueScan, WeeklyIgnoresDayMask) {
    add(makeTask(kGeneral, at(2010, 3, 3, 10, 0), kWeekly, kEnabled, 0x01));
    EXPECT_EQ(advancedAt(at(2010, 3, 3, 10, 0)), at(2010, 3, 10, 10, 0));
}

TEST_F(DueScan, MonthlyOnThe31st) {
    add(makeTask(kGeneral, at(2009, 1, 31, 7, 30), kMonthly));
    EXPECT_EQ(advancedAt(at(2009, 1, 31, 7, 30)), at(2009, 2, 28, 7, 30));
    EXPECT_EQ(advancedAt(at(2009, 2, 28, 7, 30)), at(2009, 3, 31, 7, 30));
    EXPECT_EQ(advancedAt(at(2009, 3, 31, 7, 30)), at(2009, 4, 30, 7, 30));
    EXPECT_EQ(advancedAt(at(2009, 4, 30, 7, 30)), at(2009, 5, 31, 7, 30));
}

TEST_F(DueScan, MonthlyIntoALeapFebruary) {
    add(makeTask(kGeneral, at(2008, 1, 30, 12, 0), kMonthly));
    EXPECT_EQ(advancedAt(at(2008, 1, 30, 12, 0)), at(2008, 2, 29, 12, 0));
}

TEST_F(DueScan, MonthlyAcrossTheYearEnd) {
    add(makeTask(kGeneral, at(2009, 12, 15, 10, 0), kMonthly));
    EXPECT_EQ(advancedAt(at(2009, 12, 15, 10, 0)), at(2010, 1, 15, 10, 0));
}

TEST_F(DueScan, YearlyOnTheLeapDay) {
    add(makeTask(kGeneral, at(2008, 2, 29, 6, 0), kYearly));
    EXPECT_EQ(advancedAt(at(2008, 2, 29, 6, 0)), at(2009, 2, 28, 6, 0));
    EXPECT_EQ(advancedAt(at(2009, 2, 28, 6, 0)), at(2010, 2, 28, 6, 0));
    EXPECT_EQ(advancedAt(at(2010, 2, 28, 6, 0)), at(2011, 2, 28, 6, 0));
    EXPECT_EQ(advancedAt(at(2011, 2, 28, 6, 0)), at(2012, 2, 29, 6, 0));
}

TEST_F(DueScan, SpringForwardNightMissesTheSkippedHalfHour) {
    // Clocks go from 02:00 to 03:00: the first tick after the jump reads 03:00:05 local time.
    add(makeTask(kGeneral, at(2010, 3, 28, 2, 30)));
    scan(at(2010, 3, 28, 3, 0, 5));
    EXPECT_TRUE(sink.runs.empty());
}

// Damaged records from a file must neither crash nor hang nor run on every tick.

TEST_F(DueScan, DailyWithEmptyDayMaskMovesOneDay) {
    add(makeTask(kGeneral, at(2010, 3, 1, 8, 0), kDaily, kEnabled, 0x80));
    EXPECT_EQ(advancedAt(at(2010, 3, 1, 8, 0)), at(2010, 3, 2, 8, 0));
}

TEST_F(DueScan, DayOfMonthOutOfRangeActsAs31) {
    for (const int anchor : {0, 32, -5, 127}) {
        tasks = TaskStore();
        Task task = makeTask(kGeneral, at(2009, 3, 31, 8, 0), kMonthly);
        task.DayOfMonth = static_cast<std::int8_t>(anchor);
        add(task);
        EXPECT_EQ(advancedAt(at(2009, 3, 31, 8, 0)), at(2009, 4, 30, 8, 0)) << anchor;
        EXPECT_EQ(advancedAt(at(2009, 4, 30, 8, 0)), at(2009, 5, 31, 8, 0)) << anchor;
    }
}

TEST_F(DueScan, AdvancePastYear9999DisablesTheTask) {
    for (const RepeatKind repeat : {kDaily, kWeekly, kMonthly, kYearly}) {
        tasks = TaskStore();
        sink.runs.clear();
        add(makeTask(kGeneral, at(9999, 12, 31, 8, 0), repeat));
        scan(at(9999, 12, 31, 8, 0));
        EXPECT_EQ(sink.runs.size(), 1u) << "the last occurrence itself still runs";
        EXPECT_FALSE(only().enabled()) << int(repeat);
        EXPECT_FALSE(scan(at(9999, 12, 31, 9, 0)));
    }
}

TEST_F(DueScan, NextRunThatIsNoDateDisablesWithoutRunning) {
    for (const double bad : {std::numeric_limits<double>::quiet_NaN(),
                             -std::numeric_limits<double>::infinity(), kFirstValidDay - 5.0}) {
        tasks = TaskStore();
        add(makeTask(kGeneral, bad, kDaily, kEnabled | kRunIfMissed));
        EXPECT_TRUE(scan(at(2010, 1, 1)));
        EXPECT_FALSE(only().enabled());
        EXPECT_FALSE(scan(at(2010, 1, 1)));
    }
    EXPECT_TRUE(sink.runs.empty());
}

TEST_F(DueScan, UnknownRepeatCodeActsAsOnce) {
    add(makeTask(kGeneral, at(2010, 1, 1, 9, 0), static_cast<RepeatKind>(9)));
    scan(at(2010, 1, 1, 9, 0));
    EXPECT_EQ(sink.runs.size(), 1u);
    EXPECT_FALSE(only().enabled());
}

} // namespace
} // namespace velloran
