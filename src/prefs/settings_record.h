// The user's preferences: one 292-byte record, held once for the whole run and stored whole.
#pragma once

#include "common/font_block.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace velloran {

struct SettingsRecord {
    std::uint8_t SortByDate; // nonzero: the task list is sorted by date and time
    std::uint8_t Padding1[3];
    std::int32_t LongDateDisplay; // 0 short date display, otherwise long
    std::int32_t SnoozeTime;      // index i of the snooze items: (i + 1) * 5 minutes
    std::uint8_t AlarmOffEnabled; // nonzero: a ringing alarm switches itself off
    std::uint8_t Padding2[3];
    std::int32_t AlarmOffTime; // index into the same items; -1 when none was chosen
    FontBlock DefaultFont;     // default memo font
};

// Stored byte for byte, padding included.
static_assert(std::is_trivially_copyable_v<SettingsRecord> && std::is_standard_layout_v<SettingsRecord>);
static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(SettingsRecord) == 292);
static_assert(offsetof(SettingsRecord, LongDateDisplay) == 4);
static_assert(offsetof(SettingsRecord, SnoozeTime) == 8);
static_assert(offsetof(SettingsRecord, AlarmOffEnabled) == 12);
static_assert(offsetof(SettingsRecord, AlarmOffTime) == 16);
static_assert(offsetof(SettingsRecord, DefaultFont) == 20);
static_assert(offsetof(SettingsRecord, DefaultFont) + offsetof(FontBlock, FontName) == 28);
static_assert(offsetof(SettingsRecord, DefaultFont) + offsetof(FontBlock, FontSize) == 284);
static_assert(offsetof(SettingsRecord, DefaultFont) + offsetof(FontBlock, FontStyle) == 288);

// The snooze and switch-off items, the same in every list that offers them.
inline constexpr const char* kSnoozeItems[] = {"5 min", "10 min", "15 min", "20 min", "25 min", "30 min"};
inline constexpr int kSnoozeItemCount = 6;
constexpr int snoozeMinutes(int index) {
    return (index + 1) * 5;
}

// An all-zero record: what the program holds before the settings are loaded, or after a refused value.
SettingsRecord zeroSettings();
// First run: sorted by date, short dates, snooze 10 min, no switch-off, 8-point default font.
SettingsRecord defaultSettings();

} // namespace velloran
