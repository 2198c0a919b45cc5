// Which alarm is heard when several ring. The program plays one sound at a time; it belongs to the alarm
// that began ringing last among those still ringing, so that snoozing or turning off one alarm lets the
// one that rang before it be heard again instead of leaving it silent for good.
#pragma once

#include <QString>
#include <vector>

namespace velloran {

class SoundPlayer;

class RingingAlarms {
public:
    explicit RingingAlarms(SoundPlayer& sound) : sound_(sound) {}

    // The alarm begins (or begins again) to ring: its sound replaces whatever plays. The purpose names
    // the sound in the mixer.
    void ring(const void* alarm, const QString& soundPath, const QString& purpose);
    // The alarm has fallen silent (snoozed, turned off, closed). When it was the one heard, the alarm
    // that rang before it is heard again, or all is quiet when none rings; otherwise nothing changes.
    void silence(const void* alarm);

    bool isRinging(const void* alarm) const;
    // The alarm whose sound plays; null when none rings.
    const void* heard() const { return ringing_.empty() ? nullptr : ringing_.back().alarm; }

    SoundPlayer& sound() { return sound_; }

private:
    struct Ringing {
        const void* alarm;
        QString soundPath;
        QString purpose;
    };

    SoundPlayer& sound_;
    std::vector<Ringing> ringing_; // in the order they began ringing; the last is heard
};

} // namespace velloran
