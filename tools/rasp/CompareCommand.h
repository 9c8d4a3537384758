#pragma once
// `rasp compare` once both articles are read: either mode, left-out words,
// the figures, JSON and the HTML report.

#include <ostream>
#include <string>

#include "compare/ArticleMatch.h"

namespace rasp {

struct TCompareRequest {
    std::string Path1;
    std::string Path2;
    std::u16string Text1;  // normalised article texts
    std::u16string Text2;
    TMatchOptions Options;
    bool Json = false;
    std::string HtmlPath;  // empty: no report
    bool ExclusionsAsked = false;  // --ignore-quoted or --exclude given: say how many words were left out
    bool Color = false;      // both articles first, each matched run on its colour
    bool TrueColor = false;  // the terminal takes 24-bit colours
};

// Exit status 0, or 2 when the report cannot be written (one line on err).
// Takes the request's texts over (long articles are not held twice).
int RunCompare(TCompareRequest request, std::ostream& out, std::ostream& err);

// Writes `bytes` to `path`, replacing the file; refuses a path that names
// one of `inputs` (an article must never be overwritten by its report).
// Returns an empty string, or the reason it failed.
std::string WriteReportFile(const std::string& path, const std::string& bytes,
                            const std::vector<std::string>& inputs);

}  // namespace rasp
