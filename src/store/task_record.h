// One task: the 3888-byte record, identical in memory and in tasks.tsk.
#pragma once

#include "common/datetime.h"
#include "common/font_block.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace velloran {

enum TaskKind : std::uint8_t {
    kAlarmClock = 0,
    kMemo = 1,
    kExecutable = 2,
    kWebAddress = 3,
    kAudio = 4,
    kVideo = 5,
    kDocument = 6,
    kGeneral = 7,
};
inline constexpr int kTaskKindCount = 8;

enum RepeatKind : std::uint8_t {
    kOnce = 0,
    kDaily = 1,
    kWeekly = 2,
    kMonthly = 3,
    kYearly = 4,
};

enum TaskFlags : std::uint32_t {
    kEnabled = 0x1,
    kRunIfMissed = 0x2,
    kAutoDelete = 0x4,
};

// DayMask bit of a weekday numbered 1 = Sunday .. 7 = Saturday.
constexpr std::uint8_t dayMaskBit(int weekday) {
    return static_cast<std::uint8_t>(1u << (weekday - 1));
}
inline constexpr std::uint8_t kEveryDay = 0x7F;

struct TaskRecord {
    std::uint32_t TaskId;  // creation time, seconds since 1970; never changed by edits
    std::uint8_t TaskType; // TaskKind
    char Target[1024];     // path or web address; "Alarm Clock" and "Memo" for those kinds
    char ExeArguments[256];
    std::uint8_t Padding1[3];
    DateTime NextRun;
    std::int32_t Reserved1;
    std::uint8_t RepeatType; // RepeatKind
    std::int8_t DayOfMonth;  // 1..31, the anchor of Monthly and Yearly repeats
    char Description[1024];
    char AlarmSound[256]; // file name inside Sounds/
    std::uint8_t DayMask; // weekdays of a Daily task
    std::uint8_t Padding2;
    std::uint32_t Flags; // TaskFlags
    FontBlock MemoFont;
    std::uint8_t Reserved2[1028];

    bool enabled() const { return (Flags & kEnabled) != 0; }
};

// The record is stored byte for byte, so its layout is part of the file format.
static_assert(std::is_trivially_copyable_v<TaskRecord> && std::is_standard_layout_v<TaskRecord>);
static_assert(std::endian::native == std::endian::little, "tasks.tsk is little-endian");
static_assert(sizeof(TaskRecord) == 3888);
static_assert(offsetof(TaskRecord, TaskType) == 4);
static_assert(offsetof(TaskRecord, Target) == 5);
static_assert(offsetof(TaskRecord, ExeArguments) == 1029);
static_assert(offsetof(TaskRecord, NextRun) == 1288);
static_assert(offsetof(TaskRecord, Reserved1) == 1296);
static_assert(offsetof(TaskRecord, RepeatType) == 1300);
static_assert(offsetof(TaskRecord, DayOfMonth) == 1301);
static_assert(offsetof(TaskRecord, Description) == 1302);
static_assert(offsetof(TaskRecord, AlarmSound) == 2326);
static_assert(offsetof(TaskRecord, DayMask) == 2582);
static_assert(offsetof(TaskRecord, Flags) == 2584);
static_assert(offsetof(TaskRecord, MemoFont) == 2588);
static_assert(offsetof(TaskRecord, MemoFont) + offsetof(FontBlock, FontName) == 2596);
static_assert(offsetof(TaskRecord, MemoFont) + offsetof(FontBlock, FontSize) == 2852);
static_assert(offsetof(TaskRecord, MemoFont) + offsetof(FontBlock, FontStyle) == 2856);
static_assert(offsetof(TaskRecord, Reserved2) == 2860);

// An all-zero record: every text empty, no flags.
TaskRecord emptyTaskRecord();

} // namespace velloran
