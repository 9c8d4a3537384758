#pragma once
// The window walk and the match search in their plainest form, as a reference,
// step by step: word texts are cut out of the stored texts and lower-cased for
// every pair compared, and article 2 is scanned position by position. Slow on
// purpose; the engine must give identical results.

#include <string>

#include "text/SpanLists.h"

namespace rasp::reference {

inline std::u16string LowerCaseCopy(const std::u16string& text, int startPos, int endPos) {
    // A Pascal-style string copy: a start before 1 counts as 1, the count is cut
    // at the end of the text.
    long long index = startPos < 1 ? 1 : startPos;
    long long count = static_cast<long long>(endPos) - startPos;
    const auto size = static_cast<long long>(text.size());
    std::u16string word;
    if (count > 0 && index <= size) {
        if (count > size - index + 1) count = size - index + 1;
        word = text.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
    }
    for (char16_t& c : word)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return word;
}

inline std::uint32_t LiteralHighlightColor(int index) {
    switch (index) {
        case 1: return 0xFFFF00;
        case 2: return 0xC0DCC0;
        case 3: return 0x00FFFF;
        case 4: return 0x0000FF;
        case 5: return 0x008080;
        case 6: return 0xC0C0C0;
        default: return 0xFFFFFF;
    }
}

struct TLiteralComparer {
    TListWords Words1, Words2;
    TListSentences Sentences1;
    TListParagraphs Paragraphs1;
    std::u16string Text1, Text2;
    int MinLength = 1;
    int UnitKind = 0;
    int ColorIndex = 0;

    bool NextWindow(int& cursor, int& start, int& end) const {
        start = -1;
        end = -1;
        const int L = MinLength;
        if (UnitKind == 0) {
            cursor = cursor + 1;
            if (cursor > Words1.Count() - 1) return false;
            if (Words1.Count() - 1 < cursor + L)
                end = Words1.Count() - 1;
            else
                end = cursor + L - 1;
            start = cursor;
            return start != -1 && end != -1;
        }
        if (UnitKind == 1 || UnitKind == 2) {
            cursor = cursor + 1;
            const int count = UnitKind == 1 ? Sentences1.Count() : Paragraphs1.Count();
            if (cursor > count - 1) return false;
            int last;
            if (count - 1 < cursor + L)
                last = count - 1;
            else
                last = cursor + L - 1;
            if (cursor != -1 && last != -1) {
                start = UnitKind == 1 ? Sentences1[cursor].FirstWord : Paragraphs1[cursor].FirstWord;
                end = UnitKind == 1 ? Sentences1[last].LastWord : Paragraphs1[last].LastWord;
                return true;
            }
            return false;
        }
        return false;
    }

    bool FindMatch(int A0, int A1, int& ResumePos, int& M0, int& M1) {
        const std::uint32_t white = 0xFFFFFF;
        const std::uint32_t current = LiteralHighlightColor(ColorIndex);
        const int last2 = Words2.Count() - 1;
        bool restarted = false;
        bool mayRestart = true;
        bool found = false;
        int j = ResumePos;
        if (j == last2) {
            j = -1;
            restarted = true;
        }
        while (j < last2) {
            j = j + 1;
            int k = 0;
            bool stop = false;
            for (;;) {
                const std::u16string w1 =
                    LowerCaseCopy(Text1, Words1[A0 + k].StartPos, Words1[A0 + k].EndPos);
                const std::u16string w2 =
                    LowerCaseCopy(Text2, Words2[j + k].StartPos, Words2[j + k].EndPos);
                const bool differ = w1 != w2;
                const bool runsOut = (j + k + 1 > last2) && (A0 + k != A1);
                const bool taken = Words2[j + k].Color != white &&
                                   (Words2[j + k].Color != current || restarted);
                const bool stale = restarted && Words1[A0 + k].Color == white &&
                                   Words1[A0].Color != white;
                stop = differ || runsOut || taken || stale;
                if (stop || A0 + k == A1) break;
                k = k + 1;
            }
            if (stop && A0 + k == A1 && mayRestart) {
                j = -1;
                ResumePos = -1;
                restarted = true;
                mayRestart = false;
                continue;
            }
            if (!stop) {
                M0 = j;
                M1 = j + k;
                ResumePos = j;
                found = true;
                break;
            }
        }
        if (found) {
            bool newRun = restarted;
            if (A0 > 0 && Words1[A0 - 1].Color == white) newRun = true;
            if (M0 > 0 && Words2[M0 - 1].Color == white) newRun = true;
            if (newRun) ColorIndex = ColorIndex + 1;
            if (ColorIndex == 0) ColorIndex = 1;
            if (ColorIndex > 6) ColorIndex = 1;
            for (int a = A0; a <= A1; ++a) Words1[a].Color = LiteralHighlightColor(ColorIndex);
            for (int b = M0; b <= M1; ++b) Words2[b].Color = LiteralHighlightColor(ColorIndex);
        }
        return found;
    }
};

}  // namespace rasp::reference
