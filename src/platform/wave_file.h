// Whether a file is a WAVE sound that the sound player can play: checked before playing, because the
// player waits forever on a file that is not one instead of reporting it.
#pragma once

#include <string>

namespace velloran {

// True for a regular RIFF/WAVE file with PCM samples (8, 16, 24 or 32 bits) or 32-bit float samples, 1 to 8
// channels, a sample rate, and a data chunk that holds at least one whole frame.
bool isPlayableWave(const std::string& path);

} // namespace velloran
