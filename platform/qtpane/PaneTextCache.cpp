#include "platform/qtpane/PaneTextCache.h"

#include <QTextDocument>
#include <algorithm>

namespace rasp {

void TPaneTextCache::Rebuild(const QTextDocument& doc)
{
    const QString raw = doc.toRawText();
    FText.clear();
    FText.reserve(static_cast<std::size_t>(raw.size()) + static_cast<std::size_t>(doc.blockCount()));
    FLineStarts.clear();
    FLineStarts.push_back(0);
    const char16_t* p = reinterpret_cast<const char16_t*>(raw.utf16());
    const char16_t* end = p + raw.size();
    while (p != end) {
        const char16_t* run = p;
        while (p != end && *p != u'\u2029')
            ++p;
        FText.append(run, p);
        if (p != end) {
            FText += u"\r\n";
            FLineStarts.push_back(static_cast<int>(FText.size()));
            ++p;
        }
    }
    FValid = true;
}

int TPaneTextCache::ToDocument(int position) const
{
    position = std::clamp(position, 0, static_cast<int>(FText.size()));
    const auto it = std::upper_bound(FLineStarts.begin(), FLineStarts.end(), position);
    int line = static_cast<int>(it - FLineStarts.begin()) - 1;
    // Between CR and LF: after the break.
    if (line + 1 < static_cast<int>(FLineStarts.size()) && position == FLineStarts[line + 1] - 1)
        return FLineStarts[line + 1] - (line + 1);
    return position - line;
}

int TPaneTextCache::FromDocument(int position) const
{
    // Line i starts at document position FLineStarts[i] - i.
    int lo = 0;
    int hi = static_cast<int>(FLineStarts.size()) - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (FLineStarts[mid] - mid <= position)
            lo = mid;
        else
            hi = mid - 1;
    }
    return std::min(position + lo, static_cast<int>(FText.size()));
}

bool TPaneTextCache::SameText(const QTextDocument& doc, int docFrom, int count) const
{
    if (!FValid)
        return false;
    int ours = FromDocument(docFrom);
    for (int i = 0; i < count; ++i) {
        const char16_t c = doc.characterAt(docFrom + i).unicode();
        if (c == u'\u2029') {
            if (docFrom + i == doc.characterCount() - 1)
                return true;  // the document's final break is not part of the text
            if (ours + 1 >= static_cast<int>(FText.size()) || FText[ours] != u'\r' || FText[ours + 1] != u'\n')
                return false;
            ours += 2;
        } else {
            if (ours >= static_cast<int>(FText.size()) || FText[ours] != c)
                return false;
            ++ours;
        }
    }
    return true;
}

}  // namespace rasp
