// One task in memory: what its record means, without the record's fixed-size fields. The 3888-byte
// record (task_record.h) exists only while tasks.tsk is read or written.
#pragma once

#include "common/datetime.h"
#include "common/font_block.h"
#include "task_text.h"

#include <cstdint>

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

// The memo font of a task: the font block's numbers and its face name as a text.
struct TaskFont {
    std::uint8_t FontCharset = 0; // platform character-set code: 0 ANSI, 1 default
    std::int32_t FontColor = 0;   // 0x00BBGGRR, or 0x80000000 + a system colour index
    TaskText FontName;
    std::int32_t FontSize = 0;   // points
    std::uint32_t FontStyle = 0; // FontStyleBits

    // The 272-byte block that the memo window and the settings use; a name too long for it is cut.
    FontBlock block() const;
    static TaskFont fromBlock(const FontBlock& block);

    friend bool operator==(const TaskFont&, const TaskFont&) = default;
};

struct Task {
    // What the due-task scan reads of every task comes first, so that it shares one cache line.
    DateTime NextRun = 0;
    std::uint32_t Flags = 0;     // TaskFlags
    std::uint32_t TaskId = 0;    // creation time, seconds since 1970; never changed by edits
    std::uint8_t TaskType = 0;   // TaskKind
    std::uint8_t RepeatType = 0; // RepeatKind
    std::int8_t DayOfMonth = 0;  // 1..31, the anchor of Monthly and Yearly repeats
    std::uint8_t DayMask = 0;    // weekdays of a Daily task
    // Nothing reads it, but a file keeps what it holds there.
    std::int32_t Reserved1 = 0;

    TaskText Target; // path or web address; "Alarm Clock" and "Memo" for those kinds
    TaskText ExeArguments;
    TaskText Description;
    TaskText AlarmSound; // file name inside Sounds/
    TaskFont MemoFont;

    bool enabled() const { return (Flags & kEnabled) != 0; }

    friend bool operator==(const Task&, const Task&) = default;
};

} // namespace velloran
