// Which window is heard when several want to sound: ringing alarms, and Task Setup's Play. The program
// plays one sound at a time; it belongs to the window that began sounding last among those still
// sounding, so that one window falling silent (an alarm snoozed or turned off, a preview stopped, Task
// Setup closed) lets the one before it be heard again instead of silencing it for good.
#pragma once

#include <QString>
#include <vector>

namespace velloran {

class SoundPlayer;

class RingingSounds {
public:
    explicit RingingSounds(SoundPlayer& sound) : sound_(sound) {}

    // The window begins (or begins again) to sound: its sound replaces whatever plays. The purpose names
    // the sound in the mixer.
    void ring(const void* window, const QString& soundPath, const QString& purpose);
    // The window has fallen silent. When it was the one heard, the window that sounded before it is heard
    // again, or all is quiet when none sounds; otherwise nothing changes.
    void silence(const void* window);

    bool isRinging(const void* window) const;
    // The window whose sound plays; null when none sounds.
    const void* heard() const { return ringing_.empty() ? nullptr : ringing_.back().window; }

    SoundPlayer& sound() { return sound_; }

private:
    struct Ringing {
        const void* window;
        QString soundPath;
        QString purpose;
    };

    SoundPlayer& sound_;
    std::vector<Ringing> ringing_; // in the order they began sounding; the last is heard
};

} // namespace velloran
