#pragma once
// What the window benchmarks share: plain articles from a small vocabulary
// and the one main window they all run on (offscreen).

#include "app/MainWindow.h"

#include <QApplication>
#include <iterator>
#include <random>
#include <string>

namespace rasp::bench {

// Sentences of 12 words, a line break every 100 words. "the" is one word in
// 27, and also occurs inside "theme" and "other".
inline std::u16string GardenArticle(int words, unsigned seed)
{
    static const char16_t* const vocabulary[] = {
        u"tomato", u"balcony", u"garden", u"water", u"light", u"the", u"a", u"small", u"green",
        u"pot", u"soil", u"summer", u"fruit", u"leaf", u"grow", u"keep", u"sunny", u"theme",
        u"harvest", u"stem", u"feed", u"every", u"week", u"plant", u"root", u"other", u"warm"};
    std::mt19937 rng(seed);
    std::u16string text;
    for (int i = 1; i <= words; ++i) {
        text += vocabulary[rng() % std::size(vocabulary)];
        if (i % 100 == 0)
            text += u".\r\n";
        else if (i % 12 == 0)
            text += u". ";
        else
            text += u' ';
    }
    return text;
}

// Shown once and kept for the whole run: the benchmarks measure the window's
// work, not its construction.
inline TfrmMain& BenchWindow()
{
    static TfrmMain* window = [] {
        TMainWindowOptions options;
        options.CheckUpdates = false;
        auto* w = new TfrmMain(options);  // lives until the process ends
        w->show();
        QApplication::processEvents();
        return w;
    }();
    return *window;
}

}  // namespace rasp::bench
