#include "deferred_sound_player.h"

#include "child_environment.h"
#include "sound_module.h"

#include "common/product.h"

#include <QApplication>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace velloran {
namespace {

// The sound server's client library reads these when the back end connects to it, at the first sound:
// the mixer then lists the sound under Velloran, as an alarm, which the desktop's alarm volume governs
// and not its system sounds. Qt names the client itself, so the name must override; a role the user set
// is left alone. They are set here, in the program, so that the programs tasks start never get them.
void describeSoundStreams() {
    setOwnVariable("PULSE_PROP_OVERRIDE_application.name", kProgramName);
    setOwnVariable("PULSE_PROP_OVERRIDE_application.icon_name", kProgramIconName);
    if (std::getenv("PULSE_PROP_media.role") == nullptr)
        setOwnVariable("PULSE_PROP_media.role", "alarm");
}

} // namespace

DeferredSoundPlayer::DeferredSoundPlayer(std::string moduleFolder,
                                         std::function<void(const std::string&)> warn)
    : moduleFolder_(std::move(moduleFolder)), warn_(std::move(warn)) {
    if (!warn_)
        warn_ = [](const std::string& text) { std::fprintf(stderr, "velloran: %s\n", text.c_str()); };
}

// The module stays loaded until the program ends: the player's classes live in it.
DeferredSoundPlayer::~DeferredSoundPlayer() = default;

SoundPlayer* DeferredSoundPlayer::player() {
    if (tried_)
        return player_.get();
    tried_ = true;
    describeSoundStreams();
    const std::string path = moduleFolder_ + kSoundModuleFile;
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        warn_(std::string("the sound back end cannot be loaded (") + ::dlerror() +
              "): alarms and notes stay silent");
        return nullptr;
    }
    void* entry = ::dlsym(module, kSoundModuleEntry);
    if (entry == nullptr) {
        warn_(path + " is not Velloran's sound back end: alarms and notes stay silent");
        return nullptr;
    }
    player_.reset(std::bit_cast<CreateSoundPlayer>(entry)());
    return player_.get();
}

void DeferredSoundPlayer::playLooping(const QString& path) {
    if (SoundPlayer* sound = player())
        sound->playLooping(path);
}

void DeferredSoundPlayer::stop() {
    // Nothing plays before the first sound, so stopping loads nothing.
    if (player_)
        player_->stop();
}

void DeferredSoundPlayer::beep() {
    if (SoundPlayer* sound = player())
        sound->beep();
    else if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
        QApplication::beep();
}

} // namespace velloran
