#include "content_checksum.h"

#include <cstring>

namespace velloran {
namespace {

constexpr std::uint64_t kPrime1 = 0x9e3779b185ebca87u;
constexpr std::uint64_t kPrime2 = 0xc2b2ae3d27d4eb4fu;

std::uint64_t rotateLeft(std::uint64_t value, int bits) {
    return (value << bits) | (value >> (64 - bits));
}

std::uint64_t word(const unsigned char* bytes) {
    std::uint64_t value = 0;
    std::memcpy(&value, bytes, sizeof value); // the same on every run of one machine: enough here
    return value;
}

std::uint64_t round(std::uint64_t lane, std::uint64_t input) {
    return rotateLeft(lane + input * kPrime2, 31) * kPrime1;
}

} // namespace

void ContentChecksum::mixStripe(const unsigned char* stripe) {
    for (int lane = 0; lane < 4; ++lane)
        lanes_[lane] = round(lanes_[lane], word(stripe + 8 * lane));
}

void ContentChecksum::add(const void* data, std::size_t size) {
    // An empty write may come with no buffer at all (an empty file's view), which memcpy must not see.
    if (size == 0)
        return;
    const auto* bytes = static_cast<const unsigned char*>(data);
    total_ += size;
    if (heldSize_ > 0) {
        const std::size_t taken = size < 32 - heldSize_ ? size : 32 - heldSize_;
        std::memcpy(held_ + heldSize_, bytes, taken);
        heldSize_ += taken;
        bytes += taken;
        size -= taken;
        if (heldSize_ < 32)
            return;
        mixStripe(held_);
        heldSize_ = 0;
    }
    for (; size >= 32; bytes += 32, size -= 32)
        mixStripe(bytes);
    std::memcpy(held_, bytes, size);
    heldSize_ = size;
}

std::uint64_t ContentChecksum::value() const {
    std::uint64_t hash = total_ * kPrime1;
    for (int lane = 0; lane < 4; ++lane)
        hash = rotateLeft(hash ^ round(0, lanes_[lane]), 27) * kPrime1 + kPrime2;
    // The bytes that make no whole stripe, one at a time.
    for (std::size_t i = 0; i < heldSize_; ++i)
        hash = rotateLeft(hash ^ (held_[i] * kPrime2), 11) * kPrime1;
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    return hash;
}

} // namespace velloran
