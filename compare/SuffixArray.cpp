#include "compare/SuffixArray.h"

#include <algorithm>
#include <numeric>

namespace rasp {

namespace {

using TInts = std::vector<std::int32_t>;

// Induced sorting (SA-IS): classify every suffix as S (smaller than the one
// after it) or L, sort the LMS substrings by two induction passes, name them,
// sort the sequence of names recursively when names repeat, and induce the
// whole order from the sorted LMS suffixes.
TInts InducedSort(const TInts& s, std::int32_t upper) {
    const auto n = static_cast<std::int32_t>(s.size());
    if (n == 0) return {};
    if (n == 1) return {0};
    if (n == 2) return s[0] < s[1] ? TInts{0, 1} : TInts{1, 0};

    TInts sa(static_cast<std::size_t>(n));
    std::vector<bool> isS(static_cast<std::size_t>(n));
    for (std::int32_t i = n - 2; i >= 0; --i)
        isS[i] = s[i] == s[i + 1] ? isS[i + 1] : s[i] < s[i + 1];

    // Bucket c holds the L suffixes starting with c, then its S suffixes:
    // startL[c] is where its L part begins, startS[c] where its S part does.
    const auto buckets = static_cast<std::size_t>(upper) + 1;
    TInts startL(buckets + 1, 0);
    TInts startS(buckets + 1, 0);
    for (std::int32_t i = 0; i < n; ++i) {
        if (!isS[i])
            ++startS[static_cast<std::size_t>(s[i])];
        else
            ++startL[static_cast<std::size_t>(s[i]) + 1];
    }
    for (std::size_t c = 0; c < buckets; ++c) {
        startS[c] += startL[c];
        startL[c + 1] += startS[c];
    }

    TInts cursor(buckets + 1);
    auto induce = [&](const TInts& lms) {
        std::fill(sa.begin(), sa.end(), -1);
        std::copy(startS.begin(), startS.end(), cursor.begin());
        for (const std::int32_t d : lms)
            if (d != n) sa[static_cast<std::size_t>(cursor[static_cast<std::size_t>(s[d])]++)] = d;
        std::copy(startL.begin(), startL.end(), cursor.begin());
        sa[static_cast<std::size_t>(cursor[static_cast<std::size_t>(s[n - 1])]++)] = n - 1;
        for (std::int32_t i = 0; i < n; ++i) {
            const std::int32_t v = sa[static_cast<std::size_t>(i)];
            if (v >= 1 && !isS[v - 1])
                sa[static_cast<std::size_t>(cursor[static_cast<std::size_t>(s[v - 1])]++)] = v - 1;
        }
        std::copy(startL.begin(), startL.end(), cursor.begin());
        for (std::int32_t i = n - 1; i >= 0; --i) {
            const std::int32_t v = sa[static_cast<std::size_t>(i)];
            if (v >= 1 && isS[v - 1])
                sa[static_cast<std::size_t>(--cursor[static_cast<std::size_t>(s[v - 1]) + 1])] = v - 1;
        }
    };

    TInts lmsIndex(static_cast<std::size_t>(n) + 1, -1);
    TInts lms;
    for (std::int32_t i = 1; i < n; ++i) {
        if (!isS[i - 1] && isS[i]) {
            lmsIndex[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(lms.size());
            lms.push_back(i);
        }
    }
    const auto m = static_cast<std::int32_t>(lms.size());
    induce(lms);
    if (m == 0) return sa;

    TInts sortedLms;
    sortedLms.reserve(static_cast<std::size_t>(m));
    for (const std::int32_t v : sa)
        if (lmsIndex[static_cast<std::size_t>(v)] != -1) sortedLms.push_back(v);
    TInts names(static_cast<std::size_t>(m));
    std::int32_t name = 0;
    names[static_cast<std::size_t>(lmsIndex[static_cast<std::size_t>(sortedLms[0])])] = 0;
    for (std::int32_t i = 1; i < m; ++i) {
        std::int32_t l = sortedLms[static_cast<std::size_t>(i) - 1];
        std::int32_t r = sortedLms[static_cast<std::size_t>(i)];
        const std::int32_t li = lmsIndex[static_cast<std::size_t>(l)];
        const std::int32_t ri = lmsIndex[static_cast<std::size_t>(r)];
        const std::int32_t endL = li + 1 < m ? lms[static_cast<std::size_t>(li) + 1] : n;
        const std::int32_t endR = ri + 1 < m ? lms[static_cast<std::size_t>(ri) + 1] : n;
        bool same = endL - l == endR - r;
        if (same) {
            while (l < endL && s[l] == s[r]) {
                ++l;
                ++r;
            }
            if (l == n || s[l] != s[r]) same = false;
        }
        if (!same) ++name;
        names[static_cast<std::size_t>(ri)] = name;
    }
    TInts order;
    if (name + 1 == m) {
        // Every LMS substring is distinct: their order is already known.
        order.assign(static_cast<std::size_t>(m), 0);
        for (std::int32_t i = 0; i < m; ++i) order[static_cast<std::size_t>(names[static_cast<std::size_t>(i)])] = i;
    } else {
        order = InducedSort(names, name);
    }
    names = TInts();
    for (std::int32_t i = 0; i < m; ++i)
        sortedLms[static_cast<std::size_t>(i)] = lms[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])];
    induce(sortedLms);
    return sa;
}

}  // namespace

std::vector<std::int32_t> BuildSuffixArray(const std::vector<std::int32_t>& s, std::int32_t upper) {
    return InducedSort(s, upper);
}

std::vector<std::int32_t> BuildLcpArray(const std::vector<std::int32_t>& s,
                                        const std::vector<std::int32_t>& sa) {
    const std::size_t n = s.size();
    if (n < 2) return {};
    TInts rank(n);
    for (std::size_t i = 0; i < n; ++i) rank[static_cast<std::size_t>(sa[i])] = static_cast<std::int32_t>(i);
    TInts lcp(n - 1);
    // Kasai: the LCP of the suffix at i + 1 with its predecessor is at least
    // the one at i less one.
    std::size_t h = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (h > 0) --h;
        const auto r = static_cast<std::size_t>(rank[i]);
        if (r == 0) continue;
        const auto j = static_cast<std::size_t>(sa[r - 1]);
        while (i + h < n && j + h < n && s[i + h] == s[j + h]) ++h;
        lcp[r - 1] = static_cast<std::int32_t>(h);
    }
    return lcp;
}

}  // namespace rasp
