// The fast order-free tiling against the plain one on fuzzer-chosen token
// sequences: the first byte picks the minimum run length, the rest is split
// at the first 0xFF byte into the two sequences; a byte is a token of a
// small alphabet (0xFE stands for a word that matches nothing).

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "compare/AnyOrderMatch.h"
#include "tests/compare/ReferenceTiling.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 600) return 0;
    const int minLength = 1 + data[0] % 8;
    std::vector<int> a, b;
    bool second = false;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF && !second) {
            second = true;
            continue;
        }
        const int token = data[i] == 0xFE ? -1 : data[i] % 5;
        (second ? b : a).push_back(token);
    }
    const std::vector<std::int32_t> a32(a.begin(), a.end()), b32(b.begin(), b.end());
    if (rasp::TileTokens(a32, b32, minLength) != rasp::reference::ReferenceTiles(a, b, minLength)) std::abort();
    return 0;
}
