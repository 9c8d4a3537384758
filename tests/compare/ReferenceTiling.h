#pragma once
// Order-free matching as plainly as it can be written, for the tests and the
// fuzz target to check the fast tiling against.

#include <algorithm>
#include <vector>

#include "compare/RunPair.h"

namespace rasp::reference {

// The definition, spelled out: take the longest stretch of equal, free
// tokens (negative tokens equal nothing); among equally long ones the first
// in sequence 2, then in sequence 1; mark it; again until the longest is
// shorter than N.
inline std::vector<TRunPair> ReferenceTiles(const std::vector<int>& a, const std::vector<int>& b, int minLength) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    std::vector<bool> takenA(a.size()), takenB(b.size());
    std::vector<TRunPair> tiles;
    for (;;) {
        int bestLength = 0, bestI = 0, bestJ = 0;
        for (int j = 0; j < m; ++j)
            for (int i = 0; i < n; ++i) {
                int length = 0;
                while (i + length < n && j + length < m && !takenA[i + length] && !takenB[j + length] &&
                       a[i + length] >= 0 && a[i + length] == b[j + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestI = i;
                    bestJ = j;
                }
            }
        if (bestLength == 0 || bestLength < minLength) break;
        for (int k = 0; k < bestLength; ++k) takenA[bestI + k] = takenB[bestJ + k] = true;
        tiles.push_back({bestI, bestI + bestLength - 1, bestJ, bestJ + bestLength - 1});
    }
    std::sort(tiles.begin(), tiles.end(), [](auto& x, auto& y) { return x.Start2 < y.Start2; });
    return tiles;
}

}  // namespace rasp::reference
