// WAVE sounds as the sound player plays them: the header checked before playing (a file that is not one
// must never reach the sound server), then the samples read over and over for a looping alarm.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>

namespace velloran {

inline constexpr std::uint16_t kWavePcm = 1;
inline constexpr std::uint16_t kWaveFloat = 3;

struct WaveFormat {
    std::uint16_t tag = 0; // kWavePcm or kWaveFloat, also for an extensible file
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint16_t blockAlign = 0; // bytes per frame
    std::uint16_t bits = 0;
};

// The samples of one WAVE sound, read from the file as they play, so that a long sound costs no memory.
class WaveSamples {
public:
    // The sound in the file, or null when it is not a playable WAVE file: a regular RIFF/WAVE file with
    // PCM samples (8, 16, 24 or 32 bits) or 32-bit float samples, 1 to 8 channels, a sample rate, and a
    // data chunk that holds at least one whole frame.
    static std::unique_ptr<WaveSamples> open(const std::string& path);
    // The same from a WAVE file's bytes held in memory (the built-in sounds).
    static std::unique_ptr<WaveSamples> fromBytes(std::string bytes);

    const WaveFormat& format() const { return format_; }

    // Up to size bytes of whole frames, where the last read stopped. With loop the first samples follow
    // the last; without, the sound ends. Returns how many bytes it wrote: 0 once a sound that does not
    // loop has ended, or when the samples can no longer be read (the file was cut short meanwhile).
    std::size_t read(char* buffer, std::size_t size, bool loop);

private:
    WaveSamples(std::unique_ptr<std::istream> stream, const WaveFormat& format, std::streamoff dataStart,
                std::uint64_t dataSize);
    static std::unique_ptr<WaveSamples> parse(std::unique_ptr<std::istream> stream);

    std::unique_ptr<std::istream> stream_;
    WaveFormat format_;
    std::streamoff dataStart_;
    std::uint64_t dataSize_; // whole frames only; lowered when the file turns out shorter
    std::uint64_t position_ = 0;
};

} // namespace velloran
