#include "compare/GramTable.h"

#include <algorithm>
#include <bit>

#include "compare/MixHash.h"

namespace rasp {

namespace {

std::uint64_t HashStretch(const std::int32_t* ids, std::int32_t length, std::uint64_t seed) {
    if (seed == 0) return 1;  // tests: every stretch collides with every other
    std::uint64_t h = seed;
    for (std::int32_t k = 0; k < length; ++k) {
        h ^= static_cast<std::uint32_t>(ids[k]);
        h *= 0x9E3779B97F4A7C15ULL;
        h ^= h >> 31;
    }
    return MixWordHash(h);
}

// Groups of equal stretches of article 2, looked up by hash. A slot holds
// the upper half of its group's hash beside the group, so that a lookup that
// misses reads the slot alone; a group keeps the position of its first member.
class TGramGroups {
public:
    TGramGroups(const std::vector<std::int32_t>& ids2, std::int32_t length, std::size_t entries)
        : FIds2(ids2),
          FLength(length),
          FSlots(std::bit_ceil(std::max<std::size_t>(16, entries * 2)), 0),
          FMask(FSlots.size() - 1) {
        FFirst.reserve(entries);
    }

    std::int32_t Count() const { return static_cast<std::int32_t>(FFirst.size()); }
    void Prefetch(std::uint64_t hash) const { __builtin_prefetch(FSlots.data() + (hash & FMask)); }

    // The group of the stretch at `words` (of article 2 when `insert`), or -1.
    std::int32_t Find(const std::int32_t* words, std::uint64_t hash, bool insert, std::int32_t position) {
        const std::uint64_t tag = hash >> 32 << 32;
        for (std::size_t slot = hash & FMask;; slot = (slot + 1) & FMask) {
            const std::uint64_t entry = FSlots[slot];
            if (entry == 0) {
                if (!insert) return -1;
                const std::int32_t group = Count();
                FSlots[slot] = tag | (static_cast<std::uint64_t>(group) + 1);
                FFirst.push_back(position);
                return group;
            }
            if ((entry >> 32 << 32) != tag) continue;
            const auto group = static_cast<std::int32_t>((entry & 0xFFFFFFFFULL) - 1);
            if (std::equal(words, words + FLength, FIds2.data() + FFirst[static_cast<std::size_t>(group)]))
                return group;
        }
    }

private:
    const std::vector<std::int32_t>& FIds2;
    std::int32_t FLength;
    std::vector<std::uint64_t> FSlots;
    std::size_t FMask;
    std::vector<std::int32_t> FFirst;
};

// Groups keyed exactly by (group of the stretch one word shorter, last word).
class TPairGroups {
public:
    explicit TPairGroups(std::size_t entries)
        : FKeys(std::bit_ceil(std::max<std::size_t>(16, entries * 2)), kEmpty),
          FGroups(FKeys.size(), -1),
          FMask(FKeys.size() - 1) {}

    std::int32_t Count() const { return FCount; }
    static std::uint64_t Key(std::int32_t shorter, std::int32_t word) {
        return static_cast<std::uint64_t>(static_cast<std::uint32_t>(shorter)) << 32 |
               static_cast<std::uint32_t>(word);
    }
    std::int32_t Find(std::uint64_t key, bool insert) {
        for (std::size_t slot = MixWordHash(key) & FMask;; slot = (slot + 1) & FMask) {
            if (FKeys[slot] == key) return FGroups[slot];
            if (FKeys[slot] == kEmpty) {
                if (!insert) return -1;
                FKeys[slot] = key;
                FGroups[slot] = FCount;
                return FCount++;
            }
        }
    }

private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};
    std::vector<std::uint64_t> FKeys;
    std::vector<std::int32_t> FGroups;
    std::size_t FMask;
    std::int32_t FCount = 0;
};

// Keeps only the groups article 1 asks for, numbered anew, and fills the
// table from the group of each article-2 position (negative: none) and of
// each article-1 position (negative: none).
void KeepAskedGroups(TOccurrenceTable& table, std::vector<std::int32_t>& groupOf2, std::int32_t groups) {
    std::vector<std::int32_t> kept(static_cast<std::size_t>(groups), -1);
    std::int32_t keptCount = 0;
    for (std::int32_t& g : table.GroupOf1) {
        if (g < 0) continue;
        std::int32_t& k = kept[static_cast<std::size_t>(g)];
        if (k < 0) k = keptCount++;
        g = k;
    }
    for (std::int32_t& g : groupOf2)
        if (g >= 0) g = kept[static_cast<std::size_t>(g)];
    kept = std::vector<std::int32_t>();
    FillOccurrenceSlots(table, groupOf2, keptCount);
    for (std::int32_t& g : table.GroupOf1)
        if (g < 0) g = table.EmptyGroup();
}

// Hashes of the stretches of `length` words of `ids`, one position after the
// other, each a little ahead of its use so that its slot can be fetched.
class THashAhead {
public:
    static constexpr std::size_t kAhead = 16;
    THashAhead(const std::vector<std::int32_t>& ids, std::int32_t length, std::uint64_t seed)
        : FIds(ids),
          FLength(length),
          FSeed(seed),
          FCount(ids.size() >= static_cast<std::size_t>(length)
                     ? ids.size() - static_cast<std::size_t>(length) + 1
                     : 0) {
        for (std::size_t p = 0; p < kAhead && p < FCount; ++p) FRing[p] = Hash(p);
    }
    std::size_t Count() const { return FCount; }
    // The hash of position p; positions are asked in order from 0.
    std::uint64_t Take(std::size_t p, const TGramGroups& groups) {
        const std::uint64_t hash = FRing[p % kAhead];
        if (p + kAhead < FCount) {
            FRing[p % kAhead] = Hash(p + kAhead);
            groups.Prefetch(FRing[p % kAhead]);
        }
        return hash;
    }

private:
    std::uint64_t Hash(std::size_t p) const { return HashStretch(FIds.data() + p, FLength, FSeed); }
    const std::vector<std::int32_t>& FIds;
    std::int32_t FLength;
    std::uint64_t FSeed;
    std::size_t FCount;
    std::uint64_t FRing[kAhead] = {};
};

}  // namespace

TOccurrenceTable BuildGramTable(const std::vector<std::int32_t>& ids1, const std::vector<std::int32_t>& ids2,
                                std::int32_t length, std::uint64_t seed) {
    TOccurrenceTable table;
    table.Length = length;
    if (length < 1) length = 1;

    THashAhead hashes2(ids2, length, seed);
    std::vector<std::int32_t> groupOf2(hashes2.Count());
    table.GroupOf1.assign(ids1.size(), -1);
    std::int32_t count = 0;
    {
        TGramGroups groups(ids2, length, hashes2.Count());
        for (std::size_t j = 0; j < groupOf2.size(); ++j)
            groupOf2[j] =
                groups.Find(ids2.data() + j, hashes2.Take(j, groups), true, static_cast<std::int32_t>(j));
        THashAhead hashes1(ids1, length, seed);
        for (std::size_t a = 0; a < hashes1.Count(); ++a)
            table.GroupOf1[a] = groups.Find(ids1.data() + a, hashes1.Take(a, groups), false, 0);
        count = groups.Count();
    }
    // Only groups that article 1 asks for keep their slots: on unrelated
    // articles that is a small part of article 2.
    KeepAskedGroups(table, groupOf2, count);
    return table;
}

TOccurrenceTable BuildLongerTable(const TOccurrenceTable& shorter, const std::vector<std::int32_t>& ids1,
                                  const std::vector<std::int32_t>& ids2) {
    TOccurrenceTable table;
    table.Length = shorter.Length + 1;
    const std::size_t length = static_cast<std::size_t>(table.Length);
    // Only stretches whose first Length - 1 words article 1 asks for can
    // be asked for themselves.
    TPairGroups groups(shorter.Slots.size());
    std::vector<std::int32_t> groupOf2(ids2.size() >= length ? ids2.size() - length + 1 : 0, -1);
    for (std::int32_t g = 0; g < shorter.Groups(); ++g) {
        for (std::int32_t s = shorter.Offsets[static_cast<std::size_t>(g)];
             s < shorter.Offsets[static_cast<std::size_t>(g) + 1]; ++s) {
            const auto j = static_cast<std::size_t>(shorter.Slots[static_cast<std::size_t>(s)]);
            if (j >= groupOf2.size()) continue;
            groupOf2[j] = groups.Find(TPairGroups::Key(g, ids2[j + length - 1]), true);
        }
    }
    table.GroupOf1.assign(ids1.size(), -1);
    for (std::size_t a = 0; a + length <= ids1.size(); ++a) {
        const std::int32_t g = shorter.GroupOf1[a];
        if (g == shorter.EmptyGroup()) continue;
        table.GroupOf1[a] = groups.Find(TPairGroups::Key(g, ids1[a + length - 1]), false);
    }
    const std::int32_t count = groups.Count();
    groups = TPairGroups(0);
    KeepAskedGroups(table, groupOf2, count);
    return table;
}

std::vector<std::int32_t> FindPattern(std::span<const std::int32_t> pattern,
                                      const std::vector<std::int32_t>& text) {
    std::vector<std::int32_t> found;
    const auto m = static_cast<std::int32_t>(pattern.size());
    if (m == 0 || text.size() < pattern.size()) return found;
    // border[k]: length of the longest proper border of pattern[0 .. k].
    std::vector<std::int32_t> border(pattern.size(), 0);
    for (std::int32_t k = 1, b = 0; k < m; ++k) {
        while (b > 0 && pattern[static_cast<std::size_t>(k)] != pattern[static_cast<std::size_t>(b)])
            b = border[static_cast<std::size_t>(b - 1)];
        if (pattern[static_cast<std::size_t>(k)] == pattern[static_cast<std::size_t>(b)]) ++b;
        border[static_cast<std::size_t>(k)] = b;
    }
    std::int32_t matched = 0;
    const auto n = static_cast<std::int32_t>(text.size());
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t c = text[static_cast<std::size_t>(i)];
        while (matched > 0 && c != pattern[static_cast<std::size_t>(matched)])
            matched = border[static_cast<std::size_t>(matched - 1)];
        if (c == pattern[static_cast<std::size_t>(matched)]) ++matched;
        if (matched == m) {
            found.push_back(i - m + 1);
            matched = border[static_cast<std::size_t>(m - 1)];
        }
    }
    return found;
}

TOccurrenceTable PatternTable(std::span<const std::int32_t> pattern, const std::vector<std::int32_t>& ids2) {
    TOccurrenceTable table;
    table.Length = static_cast<std::int32_t>(pattern.size());
    table.Slots = FindPattern(pattern, ids2);
    const auto count = static_cast<std::int32_t>(table.Slots.size());
    table.Offsets = {0, count, count};
    table.Skip.resize(table.Slots.size());
    for (std::size_t s = 0; s < table.Skip.size(); ++s) table.Skip[s] = static_cast<std::int32_t>(s);
    return table;
}

}  // namespace rasp
