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
#include "tools/rasp/ScanFiles.h"

namespace rasp {

class TAutomationRegistry;

inline constexpr int kScanSkippedStatus = 3;

enum class TScanFormat { Table, Json, Csv, Html };

struct TScanRequest {
    std::string ArticlePath;
    std::u16string ArticleText;  // normalised
    std::vector<std::string> Paths;
    TMatchOptions Options;
    TScanFormat Format = TScanFormat::Table;
    int Top = 0;            // 0: every file
    bool Progress = false;  // draw a progress bar on err
    int Threads = 0;        // 0: one per core
    std::string HtmlPath;   // TScanFormat::Html: the report file; the table goes to out as well
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

// The same for files already chosen (request.Paths is not read): what an
// indexed check runs on the documents the index proposes.
int RunScanFiles(const TScanRequest& request, const TScanFiles& files, std::ostream& out, std::ostream& err);

// One collection file's text as a scan reads it, not yet normalised;
// `automation` is needed for word-processor documents. On failure the text
// is empty and `reason` says why.
std::u16string LoadScanFileText(const TScanFile& file, const TAutomationRegistry* automation, std::string& reason);

// An .odt, .doc or .docx ARTICLE read as the collection's documents are (the
// window's import rule would read an .odt as plain text). Throws
// std::runtime_error with the reason when it cannot be read.
std::u16string ReadScanDocument(const std::string& path);

}  // namespace rasp
