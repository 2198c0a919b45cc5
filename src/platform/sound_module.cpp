#include "sound_module.h"

#include "pulse_sound_player.h"

// A plain C name, so that the loader finds it by kSoundModuleEntry.
extern "C" Q_DECL_EXPORT velloran::SoundPlayer* velloranCreateSoundPlayer() {
    return new velloran::PulseSoundPlayer(); // the caller owns it
}
