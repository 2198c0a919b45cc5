#include "wave_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace velloran {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint32_t little32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t little16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

struct WaveFormat {
    std::uint16_t tag = 0;
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bits = 0;
};

bool formatIsPlayable(const WaveFormat& format) {
    const bool pcm = format.tag == kFormatPcm &&
                     (format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32);
    const bool floating = format.tag == kFormatFloat && format.bits == 32;
    return (pcm || floating) && format.channels >= 1 && format.channels <= 8 && format.rate > 0 &&
           format.blockAlign == format.channels * format.bits / 8;
}

} // namespace

bool isPlayableWave(const std::string& path) {
    // Opening a pipe or a device would wait for a writer, and the alarm would hang.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::array<unsigned char, 12> riff{};
    if (!file.read(reinterpret_cast<char*>(riff.data()), riff.size()) ||
        std::memcmp(riff.data(), "RIFF", 4) != 0 || std::memcmp(riff.data() + 8, "WAVE", 4) != 0)
        return false;

    // Chunks follow one another, each padded to an even length; "fmt " must come before "data".
    bool haveFormat = false;
    WaveFormat format;
    for (int chunks = 0; chunks < 64; ++chunks) {
        std::array<unsigned char, 8> header{};
        if (!file.read(reinterpret_cast<char*>(header.data()), header.size()))
            return false;
        const std::uint32_t size = little32(header.data() + 4);
        if (std::memcmp(header.data(), "fmt ", 4) == 0) {
            if (size < 16 || size > 1024)
                return false;
            std::array<unsigned char, 1024> body{};
            if (!file.read(reinterpret_cast<char*>(body.data()), size))
                return false;
            format.tag = little16(body.data());
            format.channels = little16(body.data() + 2);
            format.rate = little32(body.data() + 4);
            format.blockAlign = little16(body.data() + 12);
            format.bits = little16(body.data() + 14);
            if (format.tag == kFormatExtensible) {
                // The sub-format's first two bytes are the plain format tag.
                if (size < 40)
                    return false;
                format.tag = little16(body.data() + 24);
            }
            haveFormat = true;
            if (size % 2 != 0)
                file.ignore(1);
        } else if (std::memcmp(header.data(), "data", 4) == 0) {
            if (!haveFormat || !formatIsPlayable(format) || size < format.blockAlign)
                return false;
            // The samples must really be there: a cut-off file plays nothing.
            std::array<char, 64> first{};
            return static_cast<bool>(
                file.read(first.data(), std::min<std::streamsize>(format.blockAlign, 64)));
        } else {
            file.ignore(static_cast<std::streamsize>(size) + size % 2);
            if (!file)
                return false;
        }
    }
    return false;
}

} // namespace velloran
