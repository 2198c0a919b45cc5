#include "deferred_sound_player.h"

#include "logging.h"
#include "sound_module.h"

#include <QApplication>
#include <bit>
#include <cstdio>
#include <dlfcn.h>

namespace velloran {

DeferredSoundPlayer::DeferredSoundPlayer(std::string moduleFolder,
                                         std::function<void(const std::string&)> warn)
    : moduleFolder_(std::move(moduleFolder)), warn_(std::move(warn)) {
    if (!warn_)
        warn_ = [](const std::string& text) { qCWarning(logSound, "%s", text.c_str()); };
}

// The module stays loaded until the program ends: the player's classes live in it.
DeferredSoundPlayer::~DeferredSoundPlayer() = default;

SoundPlayer* DeferredSoundPlayer::player() {
    if (tried_)
        return player_.get();
    tried_ = true;
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

void DeferredSoundPlayer::playLooping(const QString& path, const QString& purpose) {
    if (SoundPlayer* sound = player())
        sound->playLooping(path, purpose);
}

void DeferredSoundPlayer::stop() {
    // Nothing plays before the first sound, so stopping loads nothing.
    if (player_)
        player_->stop();
}

void DeferredSoundPlayer::beep(const QString& purpose) {
    if (SoundPlayer* sound = player())
        sound->beep(purpose);
    else if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
        QApplication::beep();
}

} // namespace velloran
