#pragma once
// What `rasp compare` prints: the percentage as the window shows it with the
// figures beside it, or the JSON form with every span, the figures and the
// run pairs.

#include <ostream>
#include <string>

#include "compare/ArticleMatch.h"

namespace rasp {

// The percentage as the window's integer box shows it: nearest integer, ties
// to the even neighbour.
std::string ShownPercentage(double value);

void WriteCompareText(std::ostream& out, const TMatchResult& result, bool showExcluded);
void WriteCompareJson(std::ostream& out, const TMatchArticle& article1, const TMatchArticle& article2,
                      const TMatchResult& result);

// "[[Start1,End1,Start2,End2,Words],...]"
std::string RunPairsJson(const std::vector<TRunPair>& runs);
// {"wordsMatched":..,"words":..,"runs":..,"longestRun":..,"article1Covered":..,
//  "article1WordsMatched":..,"article1Words":..,"excluded1":..,"excluded2":..}
std::string FiguresJson(const TMatchFigures& figures);

}  // namespace rasp
