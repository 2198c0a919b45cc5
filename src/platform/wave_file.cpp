#include "wave_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <ext/stdio_filebuf.h>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint32_t little32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t little16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

bool formatIsPlayable(const WaveFormat& format) {
    const bool pcm = format.tag == kWavePcm &&
                     (format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32);
    const bool floating = format.tag == kWaveFloat && format.bits == 32;
    return (pcm || floating) && format.channels >= 1 && format.channels <= 8 && format.rate > 0 &&
           format.blockAlign == format.channels * format.bits / 8;
}

// A stream on a descriptor opened close-on-exec: the file stays this program's while a program that a
// task starts meanwhile runs on.
class DescriptorStream final : public std::istream {
public:
    explicit DescriptorStream(int fd) : std::istream(nullptr), buffer_(fd, std::ios::in | std::ios::binary) {
        rdbuf(&buffer_);
    }

private:
    __gnu_cxx::stdio_filebuf<char> buffer_; // closes the descriptor
};

} // namespace

WaveSamples::WaveSamples(std::unique_ptr<std::istream> stream, const WaveFormat& format,
                         std::streamoff dataStart, std::uint64_t dataSize)
    : stream_(std::move(stream)), format_(format), dataStart_(dataStart), dataSize_(dataSize) {}

std::unique_ptr<WaveSamples> WaveSamples::open(const std::string& path) {
    // Opening a pipe or a device would wait for a writer, and the alarm would hang.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return nullptr;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return parse(std::make_unique<DescriptorStream>(fd));
}

std::unique_ptr<WaveSamples> WaveSamples::fromBytes(std::string bytes) {
    return parse(std::make_unique<std::istringstream>(std::move(bytes), std::ios::binary));
}

std::unique_ptr<WaveSamples> WaveSamples::parse(std::unique_ptr<std::istream> stream) {
    std::istream& file = *stream;
    std::array<unsigned char, 12> riff{};
    if (!file.read(reinterpret_cast<char*>(riff.data()), riff.size()) ||
        std::memcmp(riff.data(), "RIFF", 4) != 0 || std::memcmp(riff.data() + 8, "WAVE", 4) != 0)
        return nullptr;

    // Chunks follow one another, each padded to an even length; "fmt " must come before "data".
    bool haveFormat = false;
    WaveFormat format;
    for (int chunks = 0; chunks < 64; ++chunks) {
        std::array<unsigned char, 8> header{};
        if (!file.read(reinterpret_cast<char*>(header.data()), header.size()))
            return nullptr;
        const std::uint32_t size = little32(header.data() + 4);
        if (std::memcmp(header.data(), "fmt ", 4) == 0) {
            if (size < 16 || size > 1024)
                return nullptr;
            std::array<unsigned char, 1024> body{};
            if (!file.read(reinterpret_cast<char*>(body.data()), size))
                return nullptr;
            format.tag = little16(body.data());
            format.channels = little16(body.data() + 2);
            format.rate = little32(body.data() + 4);
            format.blockAlign = little16(body.data() + 12);
            format.bits = little16(body.data() + 14);
            if (format.tag == kFormatExtensible) {
                // The sub-format's first two bytes are the plain format tag.
                if (size < 40)
                    return nullptr;
                format.tag = little16(body.data() + 24);
            }
            haveFormat = true;
            if (size % 2 != 0)
                file.ignore(1);
        } else if (std::memcmp(header.data(), "data", 4) == 0) {
            if (!haveFormat || !formatIsPlayable(format) || size < format.blockAlign)
                return nullptr;
            const std::streamoff start = file.tellg();
            // The samples must really be there: a cut-off file plays nothing.
            std::array<char, 64> first{};
            if (!file.read(first.data(), std::min<std::streamsize>(format.blockAlign, 64)))
                return nullptr;
            file.seekg(start);
            const std::uint64_t whole = size - size % format.blockAlign;
            return std::unique_ptr<WaveSamples>(new WaveSamples(std::move(stream), format, start, whole));
        } else {
            file.ignore(static_cast<std::streamsize>(size) + size % 2);
            if (!file)
                return nullptr;
        }
    }
    return nullptr;
}

std::size_t WaveSamples::read(char* buffer, std::size_t size, bool loop) {
    const std::size_t frame = format_.blockAlign;
    size -= size % frame;
    std::size_t written = 0;
    bool readSinceStart = position_ > 0;
    while (written < size) {
        if (position_ >= dataSize_) {
            // Without anything read since the first sample, the file holds none any more.
            if (!loop || !readSinceStart)
                break;
            stream_->clear();
            stream_->seekg(dataStart_);
            position_ = 0;
            readSinceStart = false;
        }
        const auto want =
            static_cast<std::streamsize>(std::min<std::uint64_t>(size - written, dataSize_ - position_));
        stream_->read(buffer + written, want);
        const auto got = static_cast<std::size_t>(stream_->gcount());
        const std::size_t whole = got - got % frame;
        written += whole;
        position_ += whole;
        readSinceStart = readSinceStart || whole > 0;
        if (got < static_cast<std::size_t>(want)) {
            // The file is shorter than its header says, or was cut meanwhile: its end is here.
            dataSize_ = position_;
        }
    }
    return written;
}

} // namespace velloran
