#include "console_notifications.h"

#include "common/text.h"

#include <cstdio>

namespace velloran {

void ConsoleNotifications::showAlarm(const std::string& note, const std::string& soundFile) {
    std::fprintf(stderr, "velloran: alarm \"%s\" with sound \"%s\"\n", displayUtf8(note).c_str(),
                 displayUtf8(soundFile).c_str());
}

void ConsoleNotifications::showMemo(const std::string& text, const FontBlock& font) {
    std::fprintf(stderr, "velloran: memo \"%s\" in \"%s\" %d pt\n", displayUtf8(text).c_str(),
                 displayUtf8(fieldText(font.FontName)).c_str(), font.FontSize);
}

} // namespace velloran
