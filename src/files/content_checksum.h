// A 64-bit checksum of a file's bytes, taken as they stream past while the file is read or written, so
// that knowing a file by its content costs no extra pass over it. Four independent lanes of eight bytes
// keep it near memory speed; it tells versions of a file apart, it is not meant to resist an attacker.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velloran {

class ContentChecksum {
public:
    void add(const void* data, std::size_t size);
    // The checksum of every byte added so far; adding more afterwards goes on from there.
    std::uint64_t value() const;
    std::uint64_t size() const { return total_; }

private:
    void mixStripe(const unsigned char* stripe);

    std::uint64_t lanes_[4] = {0x9e3779b97f4a7c15u, 0xc2b2ae3d27d4eb4fu, 0x165667b19e3779f9u,
                               0x27d4eb2f165667c5u};
    unsigned char held_[32] = {};
    std::size_t heldSize_ = 0;
    std::uint64_t total_ = 0;
};

} // namespace velloran
