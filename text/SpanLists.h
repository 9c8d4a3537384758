#pragma once
// Ordered, owning lists of span records, addressed by 0-based index in
// insertion order. Records are stored by value: nobody looks entries up by
// key, so the key (the decimal text of the record's first field) is computed
// on demand instead of being stored.

#include <cstddef>
#include <string>
#include <vector>

#include "text/Spans.h"

namespace rasp {

template <class TSpan>
class TSpanList {
public:
    int Count() const noexcept { return static_cast<int>(FItems.size()); }
    bool Empty() const noexcept { return FItems.empty(); }

    // Unchecked: callers iterate 0 .. Count() - 1.
    TSpan& operator[](int index) { return FItems[static_cast<std::size_t>(index)]; }
    const TSpan& operator[](int index) const { return FItems[static_cast<std::size_t>(index)]; }
    // Checked access; throws std::out_of_range.
    TSpan& At(int index) { return FItems.at(static_cast<std::size_t>(index)); }
    const TSpan& At(int index) const { return FItems.at(static_cast<std::size_t>(index)); }

    // Frees every record and empties the list; never fails.
    void ClearAll() noexcept { FItems.clear(); }
    void Reserve(int count) { FItems.reserve(count > 0 ? static_cast<std::size_t>(count) : 0); }

    auto begin() noexcept { return FItems.begin(); }
    auto end() noexcept { return FItems.end(); }
    auto begin() const noexcept { return FItems.begin(); }
    auto end() const noexcept { return FItems.end(); }

    bool operator==(const TSpanList&) const = default;

protected:
    std::vector<TSpan> FItems;
};

inline bool operator==(const TWord& a, const TWord& b) {
    return a.StartPos == b.StartPos && a.EndPos == b.EndPos && a.Color == b.Color;
}
inline bool operator==(const TSentence& a, const TSentence& b) {
    return a.FirstWord == b.FirstWord && a.LastWord == b.LastWord;
}
inline bool operator==(const TParagraph& a, const TParagraph& b) {
    return a.FirstWord == b.FirstWord && a.LastWord == b.LastWord;
}

class TListWords : public TSpanList<TWord> {
public:
    void AddWord(std::int32_t StartPos, std::int32_t EndPos, std::uint32_t Color) {
        FItems.push_back(TWord{StartPos, EndPos, Color});
    }
    std::string Key(int index) const { return std::to_string(At(index).StartPos); }
};

class TListSentences : public TSpanList<TSentence> {
public:
    void AddSentence(std::int32_t FirstWord, std::int32_t LastWord) {
        FItems.push_back(TSentence{FirstWord, LastWord});
    }
    std::string Key(int index) const { return std::to_string(At(index).FirstWord); }
};

class TListParagraphs : public TSpanList<TParagraph> {
public:
    void AddParagraph(std::int32_t FirstWord, std::int32_t LastWord) {
        FItems.push_back(TParagraph{FirstWord, LastWord});
    }
    std::string Key(int index) const { return std::to_string(At(index).FirstWord); }
};

}  // namespace rasp
