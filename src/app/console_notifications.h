// Alarm and memo tasks reported on standard error, for a run without windows.
#pragma once

#include "scheduler/task_actions.h"

namespace velloran {

class ConsoleNotifications final : public NotificationWindows {
public:
    void showAlarm(const std::string& note, const std::string& soundFile) override;
    void showMemo(const std::string& text, const FontBlock& font) override;
};

} // namespace velloran
