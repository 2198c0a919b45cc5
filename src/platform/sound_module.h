// The sound back end as a module of its own beside the program: the program loads it at the first sound,
// so that the sound server's client library and its thread stay out of a program that waits in the tray.
#pragma once

#include "sound_player.h"

namespace velloran {

inline constexpr const char* kSoundModuleFile = "velloran-sound.so";
// The module's one entry: a new sound player, owned by the caller.
inline constexpr const char* kSoundModuleEntry = "velloranCreateSoundPlayer";
using CreateSoundPlayer = SoundPlayer* (*)();

} // namespace velloran
