#include "settings_record.h"

#include <cstring>

namespace velloran {

SettingsRecord zeroSettings() {
    SettingsRecord settings;
    std::memset(&settings, 0, sizeof settings);
    return settings;
}

SettingsRecord defaultSettings() {
    SettingsRecord settings = zeroSettings();
    settings.SortByDate = 1;
    settings.LongDateDisplay = 0;
    settings.SnoozeTime = 1;
    settings.AlarmOffEnabled = 0;
    settings.AlarmOffTime = 1;
    settings.DefaultFont.FontCharset = 1;
    settings.DefaultFont.FontColor = 0;
    settings.DefaultFont.FontSize = 8;
    settings.DefaultFont.FontStyle = 0;
    return settings;
}

} // namespace velloran
