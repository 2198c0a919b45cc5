// One sound for the whole process: starting a sound replaces the one playing.
#pragma once

#include <QString>

namespace velloran {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Plays the file over and over until stopped or replaced. A file that is missing or cannot be played
    // plays the program's built-in alarm sound instead, so an alarm is never silent. The purpose is what
    // the sound is for, as the mixer lists it: the caption of the window that plays it.
    virtual void playLooping(const QString& path, const QString& purpose) = 0;
    // Silences whatever plays.
    virtual void stop() = 0;
    // A short alert, once, as when a note appears.
    virtual void beep(const QString& purpose) = 0;
};

} // namespace velloran
