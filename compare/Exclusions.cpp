#include "compare/Exclusions.h"

#include <algorithm>

#include "compare/WordDictionary.h"
#include "text/SplitArticle.h"

namespace rasp {

namespace {

char16_t ClosingMark(char16_t c) noexcept {
    switch (c) {
        case u'"': return u'"';
        case u'\u201C': return u'\u201D';
        case u'\u00AB': return u'\u00BB';
        default: return 0;
    }
}

}  // namespace

TWordFlags QuotedWords(const TListWords& words, std::u16string_view text) {
    // quoted[i]: code unit i (0-based) lies in a passage.
    std::vector<std::uint8_t> quoted(text.size(), 0);
    char16_t closing = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (closing != 0) {
            quoted[i] = 1;
            if (c == closing) closing = 0;
            else if (IsParagraphEnd(c)) {
                quoted[i] = 0;
                closing = 0;
            }
        } else if ((closing = ClosingMark(c)) != 0) {
            quoted[i] = 1;
        }
    }
    TWordFlags flags(static_cast<std::size_t>(words.Count()), 0);
    for (int k = 0; k < words.Count(); ++k) {
        const TWord& word = words[k];
        const auto from = static_cast<std::size_t>(std::max<std::int32_t>(word.StartPos, 1) - 1);
        const auto to = std::min(text.size(), static_cast<std::size_t>(std::max<std::int32_t>(word.EndPos, 1) - 1));
        for (std::size_t i = from; i < to; ++i)
            if (quoted[i]) {
                flags[static_cast<std::size_t>(k)] = 1;
                break;
            }
    }
    return flags;
}

TWordFlags PhraseWords(const TListWords& words, std::u16string_view text,
                       const std::vector<std::u16string>& phrases) {
    TWordFlags flags(static_cast<std::size_t>(words.Count()), 0);
    TWordDictionary dictionary;
    const std::vector<std::int32_t> ids = dictionary.InternAll(words, text);
    // Positions of every word id, ascending.
    std::vector<std::vector<int>> positions(static_cast<std::size_t>(dictionary.Size()));
    for (std::size_t k = 0; k < ids.size(); ++k)
        positions[static_cast<std::size_t>(ids[k])].push_back(static_cast<int>(k));

    for (const std::u16string& phrase : phrases) {
        TListWords phraseWords;
        TListSentences sentences;
        TListParagraphs paragraphs;
        SplitArticle(phrase, phraseWords, sentences, paragraphs);
        if (phraseWords.Empty()) continue;
        const std::vector<std::int32_t> wanted = dictionary.FindAll(phraseWords, phrase);
        if (std::find(wanted.begin(), wanted.end(), -1) != wanted.end()) continue;
        const std::size_t length = wanted.size();
        for (const int start : positions[static_cast<std::size_t>(wanted[0])]) {
            const auto s = static_cast<std::size_t>(start);
            if (s + length > ids.size()) break;
            if (!std::equal(wanted.begin(), wanted.end(), ids.begin() + static_cast<std::ptrdiff_t>(s)))
                continue;
            std::fill_n(flags.begin() + static_cast<std::ptrdiff_t>(s), length, 1);
        }
    }
    return flags;
}

std::vector<std::u16string> PhraseLines(std::u16string_view list) {
    std::vector<std::u16string> phrases;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= list.size(); ++i) {
        if (i < list.size() && !IsParagraphEnd(list[i])) continue;
        const std::u16string_view line = list.substr(start, i - start);
        if (std::any_of(line.begin(), line.end(), [](char16_t c) { return !IsSeparator(c); }))
            phrases.emplace_back(line);
        start = i + 1;
    }
    return phrases;
}

void AddFlags(TWordFlags& into, const TWordFlags& from) {
    if (into.size() < from.size()) into.resize(from.size(), 0);
    for (std::size_t k = 0; k < from.size(); ++k)
        if (from[k]) into[k] = 1;
}

int CountFlags(const TWordFlags& flags) {
    return static_cast<int>(std::count_if(flags.begin(), flags.end(), [](std::uint8_t f) { return f != 0; }));
}

}  // namespace rasp
