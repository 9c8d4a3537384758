#pragma once
// A matched run: words Start1..End1 of article 1 and Start2..End2 of
// article 2 (0-based word indices, inclusive), equal word for word.

namespace rasp {

struct TRunPair {
    int Start1 = 0;
    int End1 = 0;
    int Start2 = 0;
    int End2 = 0;

    int Words() const noexcept { return End2 - Start2 + 1; }
    bool operator==(const TRunPair&) const = default;
};

}  // namespace rasp
