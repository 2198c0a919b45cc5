// The program's sound player: the sound back end (sound_module.h) is loaded at the first sound, not at
// start-up. Where it cannot be loaded, sounds stay silent, a note's alert becomes the desktop's bell, and
// the reason is told once on standard error.
#pragma once

#include "sound_player.h"

#include <functional>
#include <memory>
#include <string>

namespace velloran {

class DeferredSoundPlayer final : public SoundPlayer {
public:
    // moduleFolder ends in '/': the program directory, where the module is installed beside the program.
    explicit DeferredSoundPlayer(std::string moduleFolder,
                                 std::function<void(const std::string&)> warn = nullptr);
    ~DeferredSoundPlayer() override;

    void playLooping(const QString& path, const QString& purpose) override;
    void stop() override;
    void beep(const QString& purpose) override;

    // Whether the back end has been loaded: only a sound loads it.
    bool loaded() const { return player_ != nullptr; }

private:
    SoundPlayer* player();

    std::string moduleFolder_;
    std::function<void(const std::string&)> warn_;
    std::unique_ptr<SoundPlayer> player_;
    bool tried_ = false;
};

} // namespace velloran
