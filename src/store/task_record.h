// The 3888-byte record of one task as tasks.tsk stores it, and its conversion to and from a task.
#pragma once

#include "task.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace velloran {

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

// The task a record holds: its numbers, the reserved field at offset 1296 and its texts up to their first
// NUL (a damaged field without one is read to its end). TaskId is taken as stored.
Task decodeTaskRecord(const TaskRecord& record);

// The record of a task. Padding, the reserved tail and the bytes behind each text are zero, so decoding
// and encoding give back a stored record except for what followed a text's NUL. A text longer than its
// field is cut to leave room for the NUL, never inside a character.
void encodeTaskRecord(const Task& task, TaskRecord& record);

} // namespace velloran
