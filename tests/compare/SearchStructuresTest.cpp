// The structures behind the match search, each against a plain reference on
// random input: suffix and LCP arrays against sorting, the wavelet matrix
// against a scan, the colour tree against an array of colours, the hashed
// and scanned occurrence tables and the occurrence index against comparing
// word ids.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "compare/GramTable.h"
#include "compare/HighlightColor.h"
#include "compare/OccurrenceIndex.h"
#include "compare/SlotBits.h"
#include "compare/SuffixArray.h"
#include "compare/WaveletMatrix.h"
#include "compare/WordColours.h"
#include "compare/WordDictionary.h"

namespace rasp {
namespace {

std::vector<std::int32_t> RandomIds(std::mt19937& random, int size, int alphabet) {
    std::vector<std::int32_t> s(static_cast<std::size_t>(size));
    const int period = 1 + static_cast<int>(random() % 5);
    const bool periodic = random() % 3 == 0;
    for (int i = 0; i < size; ++i)
        s[static_cast<std::size_t>(i)] = periodic && random() % 20 != 0
                                             ? (i % period) % alphabet
                                             : static_cast<std::int32_t>(random() % static_cast<unsigned>(alphabet));
    return s;
}

TEST(SearchStructures, SuffixAndLcpArraysMatchSorting) {
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        const int alphabet = 1 + static_cast<int>(random() % 6);
        const std::vector<std::int32_t> s = RandomIds(random, static_cast<int>(random() % 60), alphabet);
        std::vector<std::int32_t> expected(s.size());
        for (std::size_t i = 0; i < s.size(); ++i) expected[i] = static_cast<std::int32_t>(i);
        std::sort(expected.begin(), expected.end(), [&](std::int32_t a, std::int32_t b) {
            return std::lexicographical_compare(s.begin() + a, s.end(), s.begin() + b, s.end());
        });
        const std::vector<std::int32_t> sa = BuildSuffixArray(s, alphabet - 1);
        ASSERT_EQ(sa, expected);
        const std::vector<std::int32_t> lcp = BuildLcpArray(s, sa);
        ASSERT_EQ(lcp.size(), s.size() < 2 ? 0 : s.size() - 1);
        for (std::size_t i = 0; i + 1 < sa.size(); ++i) {
            std::int32_t h = 0;
            while (sa[i] + h < static_cast<std::int32_t>(s.size()) && sa[i + 1] + h < static_cast<std::int32_t>(s.size()) &&
                   s[static_cast<std::size_t>(sa[i] + h)] == s[static_cast<std::size_t>(sa[i + 1] + h)])
                ++h;
            ASSERT_EQ(lcp[i], h);
        }
    }
}

TEST(SearchStructures, WaveletNextValueMatchesAScan) {
    std::mt19937 random(12);
    for (int round = 0; round < 300; ++round) {
        const int size = 1 + static_cast<int>(random() % 300);
        const int largest = 1 + static_cast<int>(random() % 1000);
        std::vector<std::int32_t> values(static_cast<std::size_t>(size));
        for (auto& v : values) v = static_cast<std::int32_t>(random() % static_cast<unsigned>(largest));
        const TWaveletMatrix matrix(values);
        for (int q = 0; q < 100; ++q) {
            const auto lo = static_cast<std::int32_t>(random() % static_cast<unsigned>(size + 1));
            const auto hi = lo + static_cast<std::int32_t>(random() % static_cast<unsigned>(size - lo + 1));
            const auto x = static_cast<std::int32_t>(random() % static_cast<unsigned>(largest + 2)) - 1;
            std::int32_t expected = -1;
            for (std::int32_t i = lo; i < hi; ++i) {
                const std::int32_t v = values[static_cast<std::size_t>(i)];
                if (v >= x && (expected < 0 || v < expected)) expected = v;
            }
            ASSERT_EQ(matrix.NextValue(lo, hi, x), expected) << lo << ".." << hi << " x=" << x;
        }
    }
}

TEST(SearchStructures, ColourTreeMatchesAnArray) {
    std::mt19937 random(13);
    for (int round = 0; round < 200; ++round) {
        const int size = 1 + static_cast<int>(random() % 120);
        TListWords words;
        for (int i = 0; i < size; ++i) words.AddWord(i + 1, i + 2, clWhite);
        std::vector<std::uint32_t> plain(static_cast<std::size_t>(size), clWhite);
        const bool runs = random() % 3 != 0;
        const bool flat = random() % 2 == 0;
        TWordColours tree(words, runs, flat);
        ASSERT_EQ(tree.HasFlat(), flat);
        for (int step = 0; step < 60; ++step) {
            const int first = static_cast<int>(random() % static_cast<unsigned>(size));
            const int last = first + static_cast<int>(random() % 8 == 0 ? random() % static_cast<unsigned>(size) : random() % 4);
            const std::uint32_t color = random() % 4 == 0 ? clWhite : HighlightColor(1 + static_cast<int>(random() % 3));
            tree.Assign(first, last, color);
            for (int i = first; i <= std::min(last, size - 1); ++i) plain[static_cast<std::size_t>(i)] = color;
            for (int i = 0; i < size; ++i) ASSERT_EQ(tree.At(i), plain[static_cast<std::size_t>(i)]);
            const int from = static_cast<int>(random() % static_cast<unsigned>(size + 1));
            const auto mask = static_cast<TColourMask>(random() % 16);
            int next = from;
            while (next < size && (ColourClass(plain[static_cast<std::size_t>(next)]) & mask) == 0) ++next;
            ASSERT_EQ(tree.NextIn(from, mask), next);
            const int until = from + static_cast<int>(random() % 10) - 2;
            ASSERT_EQ(tree.NextInWithin(from, until, mask), std::min(next, std::min(until, size - 1) + 1));
            if (!runs) continue;
            const int length = 1 + static_cast<int>(random() % 6);
            int stretch = from;
            for (;; ++stretch) {
                if (stretch + length > size) {
                    stretch = size;
                    break;
                }
                bool white = true;
                for (int k = 0; k < length; ++k) white = white && plain[static_cast<std::size_t>(stretch + k)] == clWhite;
                if (white) break;
            }
            ASSERT_EQ(tree.FirstWhiteStretch(from, length), stretch) << "from " << from << " length " << length;
        }
        TListWords copy = words;
        tree.CopyTo(copy);
        for (int i = 0; i < size; ++i) ASSERT_EQ(copy[i].Color, plain[static_cast<std::size_t>(i)]);
    }
}

// Where ids1[first .. first + length - 1] occurs in ids2, by comparing.
std::vector<std::int32_t> Occurring(const std::vector<std::int32_t>& ids1, std::size_t first, std::size_t length,
                                    const std::vector<std::int32_t>& ids2) {
    std::vector<std::int32_t> found;
    if (first + length > ids1.size()) return found;
    for (std::size_t j = 0; j + length <= ids2.size(); ++j)
        if (std::equal(ids1.begin() + static_cast<std::ptrdiff_t>(first),
                       ids1.begin() + static_cast<std::ptrdiff_t>(first + length),
                       ids2.begin() + static_cast<std::ptrdiff_t>(j)))
            found.push_back(static_cast<std::int32_t>(j));
    return found;
}

std::vector<std::int32_t> GroupSlots(const TOccurrenceTable& table, std::size_t first) {
    const auto g = static_cast<std::size_t>(table.GroupOf1[first]);
    return {table.Slots.begin() + table.Offsets[g], table.Slots.begin() + table.Offsets[g + 1]};
}

TEST(SearchStructures, HashedAndScannedTablesGroupExactlyTheEqualStretches) {
    std::mt19937 random(15);
    for (int round = 0; round < 1500; ++round) {
        const int alphabet = 1 + static_cast<int>(random() % 5);
        const std::vector<std::int32_t> ids1 = RandomIds(random, static_cast<int>(random() % 50), alphabet);
        const std::vector<std::int32_t> ids2 = RandomIds(random, static_cast<int>(random() % 50), alphabet);
        const auto length = 1 + static_cast<std::int32_t>(random() % 7);
        // Seed 0: every stretch hashes alike, so only the word check tells groups apart.
        const std::uint64_t seed = round % 4 == 0 ? 0 : random();
        const TOccurrenceTable table = BuildGramTable(ids1, ids2, length, seed);
        const TOccurrenceTable longer = BuildLongerTable(table, ids1, ids2);
        ASSERT_EQ(table.GroupOf1.size(), ids1.size());
        ASSERT_EQ(table.Offsets.back(), static_cast<std::int32_t>(table.Slots.size()));
        for (std::size_t a = 0; a < ids1.size(); ++a) {
            ASSERT_EQ(GroupSlots(table, a), Occurring(ids1, a, static_cast<std::size_t>(length), ids2)) << a;
            ASSERT_EQ(GroupSlots(longer, a), Occurring(ids1, a, static_cast<std::size_t>(length) + 1, ids2)) << a;
            const std::size_t m = 1 + random() % std::max<std::size_t>(1, ids1.size() - a);
            if (a + m > ids1.size()) continue;
            const TOccurrenceTable scanned =
                PatternTable(std::span<const std::int32_t>(ids1.data() + a, m), ids2);
            ASSERT_EQ(scanned.Slots, Occurring(ids1, a, m, ids2));
            ASSERT_EQ(scanned.Offsets, (std::vector<std::int32_t>{0, static_cast<std::int32_t>(scanned.Slots.size()),
                                                                  static_cast<std::int32_t>(scanned.Slots.size())}));
        }
        // Only groups article 1 asks for keep slots.
        std::size_t asked = 0;
        for (std::size_t j = 0; j + static_cast<std::size_t>(length) <= ids2.size(); ++j) {
            bool anywhere = false;
            for (std::size_t a = 0; a + static_cast<std::size_t>(length) <= ids1.size() && !anywhere; ++a)
                anywhere = std::equal(ids1.begin() + static_cast<std::ptrdiff_t>(a),
                                      ids1.begin() + static_cast<std::ptrdiff_t>(a) + length,
                                      ids2.begin() + static_cast<std::ptrdiff_t>(j));
            asked += anywhere ? 1 : 0;
        }
        ASSERT_EQ(table.Slots.size(), asked);
    }
}

TEST(SearchStructures, OccurrencesMatchComparingIds) {
    std::mt19937 random(14);
    for (int round = 0; round < 400; ++round) {
        const int alphabet = 1 + static_cast<int>(random() % 4);
        const std::vector<std::int32_t> ids1 = RandomIds(random, 1 + static_cast<int>(random() % 70), alphabet);
        const std::vector<std::int32_t> ids2 = RandomIds(random, static_cast<int>(random() % 70), alphabet);
        // Hashed lengths for some rounds: other lengths are then scanned
        // for, until the scans run out and the suffix array takes over.
        TOccurrenceOptions options;
        if (round % 2 == 0) {
            const auto l = static_cast<std::int32_t>(random() % 4);
            options.HashedLengths = {l, l + 1};
        }
        const TOccurrenceIndex index(ids1, ids2, alphabet, options);
        ASSERT_EQ(index.HasSuffixArray(), round % 2 != 0);
        // Ask each length often enough that the one-pass tables are used too.
        for (int q = 0; q < 600; ++q) {
            const auto first = static_cast<std::int32_t>(random() % ids1.size());
            const auto length = 1 + static_cast<std::int32_t>(random() % std::min<std::size_t>(3, ids1.size() - first));
            const auto from = static_cast<std::int32_t>(random() % (ids2.size() + 1));
            std::int32_t expected = -1;
            for (std::size_t j = static_cast<std::size_t>(from); j + static_cast<std::size_t>(length) <= ids2.size(); ++j) {
                if (std::equal(ids1.begin() + first, ids1.begin() + first + length, ids2.begin() + static_cast<std::ptrdiff_t>(j))) {
                    expected = static_cast<std::int32_t>(j);
                    break;
                }
            }
            const TOccurrenceIndex::TRange range = index.Occurrences(first, length);
            ASSERT_EQ(range.Empty() ? -1 : index.FirstAtOrAfter(range, from), expected);
        }

    }
}

// Questions of lengths other than the hashed ones are scanned for a while;
// when they keep coming, the suffix array answers them, with the same results.
TEST(SearchStructures, UnhashedLengthsMoveToTheSuffixArray) {
    std::mt19937 random(16);
    const std::vector<std::int32_t> ids1 = RandomIds(random, 300, 3);
    const std::vector<std::int32_t> ids2 = RandomIds(random, 300, 3);
    TOccurrenceOptions options;
    options.HashedLengths = {4, 5};
    const TOccurrenceIndex index(ids1, ids2, 3, options);
    for (std::int32_t first = 0; first < 200; ++first) {
        const std::int32_t length = 1 + first % 3;
        EXPECT_EQ(index.HasSuffixArray(), first > TOccurrenceIndex::kMaxPatternScans) << first;
        const TOccurrenceIndex::TRange range = index.Occurrences(first, length);
        const std::vector<std::int32_t> expected =
            Occurring(ids1, static_cast<std::size_t>(first), static_cast<std::size_t>(length), ids2);
        ASSERT_EQ(range.Empty() ? -1 : index.FirstAtOrAfter(range, 0), expected.empty() ? -1 : expected[0]);
    }
    EXPECT_TRUE(index.HasSuffixArray());
}

TEST(SearchStructures, SlotBitsMatchAnArray) {
    std::mt19937 random(17);
    for (int round = 0; round < 60; ++round) {
        const std::size_t size = 1 + random() % (round % 3 == 0 ? 300000 : 5000);
        const bool full = random() % 4 == 0;
        TSlotBits bits(size, full);
        std::vector<bool> plain(size, full);
        for (int step = 0; step < 3000; ++step) {
            const std::size_t i = random() % size;
            // Runs of neighbours as well, so that whole words fill up and empty again.
            const std::size_t run = random() % 3 == 0 ? 1 + random() % 200 : 1;
            const bool set = random() % 2 == 0;
            for (std::size_t k = i; k < std::min(size, i + run); ++k) {
                if (set) bits.Set(k); else bits.Clear(k);
                plain[k] = set;
            }
            const std::size_t from = random() % (size + 2);
            std::size_t expected = from;
            while (expected < size && plain[expected]) ++expected;
            ASSERT_EQ(bits.NextClear(from), std::min(expected, size)) << "size " << size << " from " << from;
            ASSERT_EQ(bits.Test(i), plain[i]);
        }
    }
}

// Words of every length from units next to the letters' edges ('@', '[',
// '`', '{'), the letters, and units that are letters but for their top bit:
// only ASCII capitals fold, whichever place of the word they take.
TEST(SearchStructures, WordDictionaryMatchesFoldingEachWord) {
    const std::u16string units = u"@AZ[`az{0\u00C4\u00E4\u8041\u8061\uFF21";
    std::mt19937 random(11);
    std::map<std::u16string, std::int32_t> reference;
    TWordDictionary dictionary;
    std::vector<std::u16string> asked;
    for (int round = 0; round < 6000; ++round) {
        std::u16string word;
        const int length = static_cast<int>(random() % 11);
        for (int k = 0; k < length; ++k) word.push_back(units[random() % units.size()]);
        std::u16string folded = word;
        for (char16_t& c : folded)
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
        const auto [it, fresh] = reference.try_emplace(folded, static_cast<std::int32_t>(reference.size()));
        if (round % 3 == 0) {
            ASSERT_EQ(dictionary.Find(word), it->second < dictionary.Size() ? it->second : -1);
            if (fresh) reference.erase(it);
            continue;
        }
        ASSERT_EQ(dictionary.Intern(word), it->second);
    }
    ASSERT_EQ(dictionary.Size(), static_cast<int>(reference.size()));
}

}  // namespace
}  // namespace rasp
