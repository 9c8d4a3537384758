#include "tools/rasp/CompareReport.h"

#include <cmath>
#include <cstdio>

#include "tools/rasp/RaspJson.h"

namespace rasp {

std::string ShownPercentage(double value) {
    const double rounded = std::nearbyint(value);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f", rounded == 0 ? 0.0 : rounded);
    return buffer;
}

void WriteCompareText(std::ostream& out, const TMatchResult& result, bool showExcluded) {
    const TMatchFigures& f = result.Figures;
    out << "Duplicate Content: " << ShownPercentage(f.Percentage) << "%\n"
        << "Words matched: " << f.Matched2 << " of " << f.Words2 << "\n"
        << "Runs: " << f.Runs << "\n"
        << "Longest run: " << f.LongestRun << (f.LongestRun == 1 ? " word" : " words") << "\n"
        << "Article 1 covered: " << ShownPercentage(f.Covered1) << "% (" << f.Matched1 << " of " << f.Words1
        << " words)\n";
    if (showExcluded)
        out << "Left out: " << f.Excluded1 << " words of article 1, " << f.Excluded2 << " of article 2\n";
}

std::string RunPairsJson(const std::vector<TRunPair>& runs) {
    std::string out = "[";
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const TRunPair& r = runs[k];
        if (k > 0) out += ',';
        out += '[' + std::to_string(r.Start1) + ',' + std::to_string(r.End1) + ',' + std::to_string(r.Start2) +
               ',' + std::to_string(r.End2) + ',' + std::to_string(r.Words()) + ']';
    }
    out += ']';
    return out;
}

std::string FiguresJson(const TMatchFigures& f) {
    return "{\"wordsMatched\":" + std::to_string(f.Matched2) + ",\"words\":" + std::to_string(f.Words2) +
           ",\"runs\":" + std::to_string(f.Runs) + ",\"longestRun\":" + std::to_string(f.LongestRun) +
           ",\"article1Covered\":" + JsonNumber(f.Covered1) +
           ",\"article1WordsMatched\":" + std::to_string(f.Matched1) +
           ",\"article1Words\":" + std::to_string(f.Words1) + ",\"excluded1\":" + std::to_string(f.Excluded1) +
           ",\"excluded2\":" + std::to_string(f.Excluded2) + "}";
}

void WriteCompareJson(std::ostream& out, const TMatchArticle& article1, const TMatchArticle& article2,
                      const TMatchResult& result) {
    out << "{\"percentage\":" << JsonNumber(result.Figures.Percentage) << ",\n\"article1\":"
        << ArticleSpansJson(article1.Words, article1.Sentences, article1.Paragraphs) << ",\n\"article2\":"
        << ArticleSpansJson(article2.Words, article2.Sentences, article2.Paragraphs)
        << ",\n\"figures\":" << FiguresJson(result.Figures) << ",\n\"runs\":" << RunPairsJson(result.Runs)
        << "}\n";
}

}  // namespace rasp
