#pragma once
// Generated archives for the index tests: an article, and documents that
// hold passages of it of known lengths, its paragraphs shuffled, copies with
// edits, texts of a tiny vocabulary, and unrelated ones.

#include <algorithm>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/rasp/RaspTestSupport.h"

namespace rasp::testing {

inline std::vector<std::string> DrawWords(std::mt19937& random, int count, int vocabulary, const std::string& prefix) {
    std::vector<std::string> words;
    for (int k = 0; k < count; ++k)
        words.push_back(prefix + std::to_string(random() % static_cast<unsigned>(vocabulary)));
    return words;
}

inline std::string JoinWords(const std::vector<std::string>& words, int paragraph = 40) {
    std::string text;
    for (std::size_t k = 0; k < words.size(); ++k) {
        if (k) text += (k % static_cast<std::size_t>(paragraph) == 0) ? "\n" : (k % 9 == 0 ? ". " : " ");
        text += words[k];
    }
    return text + "\n";
}

struct TTestArchive {
    std::string ArticlePath;
    std::string Folder;  // absolute
};

// Writes the article and `documents` files under `root`.
inline TTestArchive WriteTestArchive(const TTempFolder& root, unsigned seed, int documents, int vocabulary) {
    std::mt19937 random(seed);
    const std::vector<std::string> article = DrawWords(random, 400, vocabulary, "a");
    TTestArchive archive;
    archive.ArticlePath = root.Write("article.txt", JoinWords(article));
    archive.Folder = root.Path() + "/archive";
    const int lengths[] = {3, 8, 15, 19, 20, 21, 25, 40, 90};
    for (int d = 0; d < documents; ++d) {
        std::vector<std::string> words = DrawWords(random, 150 + static_cast<int>(random() % 200), vocabulary,
                                                   d % 7 == 0 ? "a" : "b");
        switch (d % 5) {
            case 0:
            case 1: {  // planted passages, one in upper case
                for (int p = 0; p < 1 + d % 3; ++p) {
                    const int length = lengths[random() % std::size(lengths)];
                    const std::size_t from = random() % (article.size() - static_cast<std::size_t>(length));
                    std::vector<std::string> passage(article.begin() + static_cast<std::ptrdiff_t>(from),
                                                     article.begin() + static_cast<std::ptrdiff_t>(from) + length);
                    if (p == 1)
                        for (std::string& w : passage) std::transform(w.begin(), w.end(), w.begin(), ::toupper);
                    words.insert(words.begin() + static_cast<std::ptrdiff_t>(random() % words.size()),
                                 passage.begin(), passage.end());
                }
                break;
            }
            case 2: {  // the article's paragraphs shuffled
                std::vector<std::vector<std::string>> paragraphs;
                for (std::size_t k = 0; k < article.size(); k += 40)
                    paragraphs.emplace_back(article.begin() + static_cast<std::ptrdiff_t>(k),
                                            article.begin() + static_cast<std::ptrdiff_t>(std::min(k + 40, article.size())));
                std::shuffle(paragraphs.begin(), paragraphs.end(), random);
                words.clear();
                for (const auto& p : paragraphs) words.insert(words.end(), p.begin(), p.end());
                break;
            }
            case 3: {  // a near-duplicate: every so many words edited
                words = article;
                const std::size_t step = 5 + random() % 30;
                for (std::size_t k = random() % step; k < words.size(); k += step) words[k] = "edit" + std::to_string(k);
                break;
            }
            default: break;  // unrelated, or of the article's words by chance
        }
        root.Write("archive/" + std::to_string(d / 10) + "/doc" + std::to_string(d) + ".txt", JoinWords(words));
    }
    return archive;
}

// CSV rows without the header.
inline std::vector<std::string> CsvRows(const std::string& csv) {
    std::vector<std::string> rows;
    std::istringstream in(csv);
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        rows.push_back(line);
    }
    return rows;
}

inline int LongestOfRow(const std::string& row) { return std::stoi(row.substr(row.rfind(',') + 1)); }

}  // namespace rasp::testing
