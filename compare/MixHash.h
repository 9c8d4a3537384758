#pragma once
// The finishing step of the comparison's hash tables: spreads every bit of a
// key over the low bits that pick a slot.

#include <cstdint>

namespace rasp {

inline std::uint64_t MixWordHash(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDULL;
    x ^= x >> 33;
    return x;
}

}  // namespace rasp
