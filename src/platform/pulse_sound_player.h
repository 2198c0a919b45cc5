// The process-wide sound player on the sound server's own client library (PulseAudio's protocol, which
// PipeWire serves too): one looping sound at a time, plus a short alert. Each stream names itself to the
// mixer: the purpose of the window that plays it, Velloran, its icon and the alarm role, so that the
// desktop's alarm volume governs it and not its system sounds.
//
// The sound server is reached on a thread of the player's own; nothing here waits for it. Without a
// server the player stays silent (a note's alert becomes the desktop's bell) and tries again each second
// while an alarm should be heard, so that a server that restarts, or an output that goes away, takes the
// alarm up again.
#pragma once

#include "sound_player.h"

#include <functional>
#include <memory>
#include <string>

namespace velloran {

class PulseSoundPlayer final : public SoundPlayer {
public:
    // Warnings (no sound server, a sound that cannot be played) go to warn, by default to standard error;
    // warn is called on the player's thread.
    explicit PulseSoundPlayer(std::function<void(const std::string&)> warn = nullptr);
    ~PulseSoundPlayer() override;
    PulseSoundPlayer(const PulseSoundPlayer&) = delete;
    PulseSoundPlayer& operator=(const PulseSoundPlayer&) = delete;

    void playLooping(const QString& path, const QString& purpose) override;
    void stop() override;
    void beep(const QString& purpose) override;

    // Each second while a sound should be heard and cannot be, the player tries again.
    static constexpr int kRetryMs = 1000;
    // How many times a looping sound was offered to the server so far: once per try.
    unsigned loopsStarted() const;

    struct Engine;

private:
    std::unique_ptr<Engine> engine_;
};

} // namespace velloran
