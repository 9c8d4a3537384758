#pragma once
// `rasp scan ARTICLE PATH...`: the article against every article file of a
// collection, on all cores, as a ranked table, JSON or CSV.
//
// Exit status: 0 every file was compared; 3 the scan finished but some
// files or folders could not be read (each named on err with its reason);
// 2 bad usage or an unreadable ARTICLE; 1 an unexpected failure.

#include <ostream>
#include <string>
#include <vector>

#include "compare/ArticleMatch.h"

namespace rasp {

inline constexpr int kScanSkippedStatus = 3;

enum class TScanFormat { Table, Json, Csv };

struct TScanRequest {
    std::string ArticlePath;
    std::u16string ArticleText;  // normalised
    std::vector<std::string> Paths;
    TMatchOptions Options;
    TScanFormat Format = TScanFormat::Table;
    int Top = 0;            // 0: every file
    bool Progress = false;  // draw a progress bar on err
    int Threads = 0;        // 0: one per core
};

struct TScanRow {
    std::string Path;
    double ArticleFound = 0;  // share of ARTICLE's words found in the file
    double FileFound = 0;     // share of the file's words found in ARTICLE
    int LongestRun = 0;
    int ArticleMatched = 0;
    int FileMatched = 0;
    int FileWords = 0;
};

int RunScan(const TScanRequest& request, std::ostream& out, std::ostream& err);

// An .odt, .doc or .docx ARTICLE read as the collection's documents are (the
// window's import rule would read an .odt as plain text). Throws
// std::runtime_error with the reason when it cannot be read.
std::u16string ReadScanDocument(const std::string& path);

}  // namespace rasp
