#include "tools/rasp/ScanCommand.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <new>
#include <optional>
#include <sys/stat.h>
#include <thread>

#include "platform/automation/ArticleImport.h"
#include "platform/automation/LibreOfficeWord.h"
#include "platform/textdecode/PlainTextDecoder.h"
#include "platform/textload/TextFileLoader.h"
#include "text/ArticleNormalise.h"
#include "tools/rasp/CompareCommand.h"
#include "tools/rasp/HtmlReport.h"
#include "tools/rasp/RaspJson.h"
#include "tools/rasp/ScanFiles.h"

namespace rasp {

namespace {

struct TOutcome {
    std::optional<TScanRow> Row;
    std::string Reason;  // why the file was skipped
};

// Text files hold no NUL bytes, except UTF-16 ones, which start with a BOM.
bool LooksBinary(std::string_view bytes) {
    if (bytes.substr(0, 5) == "{\\rtf") return false;
    const TTextEncoding encoding = DetectTextEncoding(bytes);
    if (encoding == TTextEncoding::Utf16LE || encoding == TTextEncoding::Utf16BE) return false;
    return bytes.find('\0') != std::string_view::npos;
}

std::u16string LoadText(const TScanFile& file, std::string& reason) {
    try {
        const std::string bytes = ReadFileBytes(file.Path);
        if (LooksBinary(bytes)) {
            reason = "binary file, not text";
            return {};
        }
        return DecodeTextBytes(bytes);
    } catch (const ELoadStreamError& e) {
        reason = e.Reason();
    }
    return {};
}

std::u16string LoadDocument(const TScanFile& file, const TAutomationRegistry& automation, std::string& reason) {
    struct stat info {};
    if (::stat(file.Path.c_str(), &info) == 0 && static_cast<unsigned long long>(info.st_size) > kMaxLoadFileSize) {
        reason = "the file is larger than " + std::to_string(kMaxLoadFileSize >> 20) + " MB";
        return {};
    }
    try {
        std::u16string joined;
        bool first = true;
        for (const std::u16string& line : ReadDocumentLines(automation, file.Path)) {
            if (!first) joined += u"\r\n";
            joined += line;
            first = false;
        }
        return joined;
    } catch (const std::exception& e) {
        reason = e.what();
    }
    return {};
}

// ARTICLE as every comparison of the scan starts from: prepared, and for
// order-free matching its word ids, built once.
struct TBaseArticle {
    TMatchArticle Article;
    TWordDictionary Dictionary;
    std::vector<std::int32_t> Ids;
};

TScanRow CompareFile(const std::string& path, std::u16string text, const TBaseArticle& base,
                     const TMatchOptions& options) {
    NormaliseArticleText(text);
    // The file is article 1, ARTICLE article 2: the percentage is the share
    // of ARTICLE found in the file.
    TMatchArticle file = PrepareArticle(std::move(text), options);
    TMatchArticle article = base.Article;
    const TMatchResult result = options.AnyOrder
                                    ? MatchAnyOrder(file, article, base.Dictionary, base.Ids, options.MinLength)
                                    : MatchArticles(file, article, options);
    TScanRow row;
    row.Path = path;
    row.ArticleFound = result.Figures.Percentage;
    row.FileFound = result.Figures.Covered1;
    row.LongestRun = result.Figures.LongestRun;
    row.ArticleMatched = result.Figures.Matched2;
    row.FileMatched = result.Figures.Matched1;
    row.FileWords = result.Figures.Words1;
    return row;
}

class TProgress {
public:
    TProgress(std::ostream& err, bool shown, std::size_t total) : FErr(err), FShown(shown), FTotal(total) {}

    void Step() {
        const std::size_t done = ++FDone;
        if (!FShown) return;
        std::unique_lock lock(FMutex, std::try_to_lock);
        if (!lock.owns_lock()) return;
        const auto now = std::chrono::steady_clock::now();
        if (done != FTotal && now - FLast < std::chrono::milliseconds(100)) return;
        FLast = now;
        constexpr std::size_t kWidth = 30;
        const std::size_t filled = FTotal ? done * kWidth / FTotal : kWidth;
        FErr << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '-') << "] " << done << "/"
             << FTotal << " files" << std::flush;
        FDrawn = true;
    }
    void Clear() {
        std::lock_guard lock(FMutex);
        if (FDrawn) FErr << "\r\033[K" << std::flush;
        FDrawn = false;
    }

private:
    std::ostream& FErr;
    bool FShown;
    std::size_t FTotal;
    std::atomic<std::size_t> FDone{0};
    std::mutex FMutex;
    std::chrono::steady_clock::time_point FLast{};
    bool FDrawn = false;
};

// Names in the table and on err: control characters would break the lines.
std::string Printable(const std::string& path) {
    std::string out = path;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return out;
}

std::string Percent(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
    return buffer;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

void WriteTable(std::ostream& out, const std::vector<TScanRow>& rows, std::size_t compared, std::size_t skipped) {
    out << "Article    File  Longest  Path\n";
    for (const TScanRow& row : rows) {
        char line[64];
        std::snprintf(line, sizeof line, "%6s%%  %5s%%  %7d  ", Percent(row.ArticleFound).c_str(),
                      Percent(row.FileFound).c_str(), row.LongestRun);
        out << line << Printable(row.Path) << "\n";
    }
    out << compared << (compared == 1 ? " file" : " files") << " compared";
    if (skipped > 0) out << ", " << skipped << " skipped";
    out << "\n";
}

void WriteJson(std::ostream& out, const TScanRequest& request, const std::vector<TScanRow>& rows,
               std::size_t compared, const std::vector<TScanProblem>& skipped) {
    static const char* const kUnits[] = {"words", "sentences", "paragraphs"};
    out << "{\"article\":" << JsonString(request.ArticlePath)
        << ",\"mode\":" << (request.Options.AnyOrder ? "\"any-order\"" : "\"in-order\"")
        << ",\"min\":" << request.Options.MinLength << ",\"unit\":\""
        << kUnits[std::clamp(request.Options.Unit, 0, 2)] << "\",\"compared\":" << compared << ",\n\"files\":[";
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const TScanRow& r = rows[k];
        out << (k ? ",\n" : "\n") << "{\"path\":" << JsonString(r.Path) << ",\"articleFound\":"
            << JsonNumber(r.ArticleFound) << ",\"fileFound\":" << JsonNumber(r.FileFound)
            << ",\"longestRun\":" << r.LongestRun << ",\"articleWordsMatched\":" << r.ArticleMatched
            << ",\"fileWordsMatched\":" << r.FileMatched << ",\"fileWords\":" << r.FileWords << "}";
    }
    out << "],\n\"skipped\":[";
    for (std::size_t k = 0; k < skipped.size(); ++k)
        out << (k ? ",\n" : "\n") << "{\"path\":" << JsonString(skipped[k].Path)
            << ",\"reason\":" << JsonString(skipped[k].Reason) << "}";
    out << "]}\n";
}

void WriteCsv(std::ostream& out, const std::vector<TScanRow>& rows) {
    out << "file,article_found_percent,file_found_percent,longest_run\r\n";
    for (const TScanRow& r : rows)
        out << CsvField(r.Path) << ',' << JsonNumber(r.ArticleFound) << ',' << JsonNumber(r.FileFound) << ','
            << r.LongestRun << "\r\n";
}

std::string HtmlTable(const TScanRequest& request, const std::vector<TScanRow>& rows, std::size_t compared,
                      std::size_t skipped) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>rasp: " +
        HtmlEscapeBytes(request.ArticlePath) +
        "</title>\n<style>\nbody{font-family:sans-serif}table{border-collapse:collapse}"
        "td,th{padding:2px 8px;border-bottom:1px solid #ccc}td.n{text-align:right}\n</style>\n</head>\n<body>\n"
        "<h1>" +
        HtmlEscapeBytes(request.ArticlePath) + "</h1>\n<table>\n<tr><th>Article</th><th>File</th><th>Longest</th>"
        "<th>Path</th></tr>\n";
    for (const TScanRow& row : rows)
        html += "<tr><td class=\"n\">" + Percent(row.ArticleFound) + "%</td><td class=\"n\">" +
                Percent(row.FileFound) + "%</td><td class=\"n\">" + std::to_string(row.LongestRun) +
                "</td><td>" + HtmlEscapeBytes(row.Path) + "</td></tr>\n";
    html += "</table>\n<p>" + std::to_string(compared) + (compared == 1 ? " file" : " files") + " compared";
    if (skipped > 0) html += ", " + std::to_string(skipped) + " skipped";
    return html + "</p>\n</body>\n</html>\n";
}

}  // namespace

std::u16string LoadScanFileText(const TScanFile& file, const TAutomationRegistry* automation, std::string& reason) {
    if (!file.Document) return LoadText(file, reason);
    if (!automation) {
        reason = "no word processor for this document";
        return {};
    }
    return LoadDocument(file, *automation, reason);
}

std::u16string ReadScanDocument(const std::string& path) {
    TAutomationRegistry automation;
    RegisterLibreOfficeWord(automation);
    std::string reason;
    std::u16string text = LoadDocument({path, true}, automation, reason);
    if (!reason.empty()) throw std::runtime_error(reason);
    NormaliseArticleText(text);
    return text;
}

int RunScan(const TScanRequest& request, std::ostream& out, std::ostream& err) {
    return RunScanFiles(request, CollectScanFiles(request.Paths, request.ArticlePath), out, err);
}

int RunScanFiles(const TScanRequest& request, const TScanFiles& files, std::ostream& out, std::ostream& err) {
    for (const TScanProblem& note : files.Notes)
        err << "rasp: note: skipping '" << Printable(note.Path) << "': " << note.Reason << "\n";
    for (const TScanProblem& problem : files.Skipped)
        err << "rasp: skipped '" << Printable(problem.Path) << "': " << problem.Reason << "\n";

    TBaseArticle base;
    base.Article = PrepareArticle(request.ArticleText, request.Options);
    if (request.Options.AnyOrder) base.Ids = base.Dictionary.InternAll(base.Article.Words, base.Article.Text);

    std::vector<TOutcome> outcomes(files.Files.size());
    TProgress progress(err, request.Progress, files.Files.size());
    auto run = [&](std::size_t k, const TAutomationRegistry* automation) {
        const TScanFile& file = files.Files[k];
        TOutcome& outcome = outcomes[k];
        try {
            std::string reason;
            std::u16string text = file.Document ? LoadDocument(file, *automation, reason) : LoadText(file, reason);
            if (reason.empty()) outcome.Row = CompareFile(file.Path, std::move(text), base, request.Options);
            else outcome.Reason = reason;
        } catch (const std::bad_alloc&) {
            outcome.Reason = "out of memory";
        } catch (const std::exception& e) {
            outcome.Reason = e.what();
        }
        progress.Step();
    };

    // Text files on every core; word-processor documents one after another
    // on this thread, each through its own office session.
    std::atomic<std::size_t> next{0};
    auto textWorker = [&] {
        for (;;) {
            const std::size_t k = next++;
            if (k >= files.Files.size()) return;
            if (!files.Files[k].Document) run(k, nullptr);
        }
    };
    const unsigned cores = request.Threads > 0 ? static_cast<unsigned>(request.Threads)
                                               : std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < cores; ++t) workers.emplace_back(textWorker);
    if (std::any_of(files.Files.begin(), files.Files.end(), [](const TScanFile& f) { return f.Document; })) {
        TAutomationRegistry automation;
        RegisterLibreOfficeWord(automation);
        for (std::size_t k = 0; k < files.Files.size(); ++k)
            if (files.Files[k].Document) run(k, &automation);
    }
    textWorker();
    for (std::thread& worker : workers) worker.join();
    progress.Clear();

    std::vector<TScanRow> rows;
    std::vector<TScanProblem> skipped = files.Skipped;
    for (std::size_t k = 0; k < outcomes.size(); ++k) {
        if (outcomes[k].Row) {
            rows.push_back(std::move(*outcomes[k].Row));
        } else {
            err << "rasp: skipped '" << Printable(files.Files[k].Path) << "': " << outcomes[k].Reason << "\n";
            skipped.push_back({files.Files[k].Path, outcomes[k].Reason});
        }
    }
    const std::size_t compared = rows.size();
    std::sort(rows.begin(), rows.end(), [](const TScanRow& a, const TScanRow& b) {
        if (a.ArticleFound != b.ArticleFound) return a.ArticleFound > b.ArticleFound;
        if (a.FileFound != b.FileFound) return a.FileFound > b.FileFound;
        if (a.LongestRun != b.LongestRun) return a.LongestRun > b.LongestRun;
        return a.Path < b.Path;
    });
    if (request.Top > 0 && rows.size() > static_cast<std::size_t>(request.Top))
        rows.resize(static_cast<std::size_t>(request.Top));

    switch (request.Format) {
        case TScanFormat::Table: WriteTable(out, rows, compared, skipped.size()); break;
        case TScanFormat::Json: WriteJson(out, request, rows, compared, skipped); break;
        case TScanFormat::Csv: WriteCsv(out, rows); break;
        case TScanFormat::Html: {
            WriteTable(out, rows, compared, skipped.size());
            std::vector<std::string> inputs{request.ArticlePath};
            for (const TScanRow& row : rows) inputs.push_back(row.Path);
            const std::string reason =
                WriteReportFile(request.HtmlPath, HtmlTable(request, rows, compared, skipped.size()), inputs);
            if (!reason.empty()) {
                err << "rasp: cannot write the report '" << Printable(request.HtmlPath) << "': " << reason << "\n";
                return 2;
            }
            break;
        }
    }
    return skipped.empty() ? 0 : kScanSkippedStatus;
}

}  // namespace rasp
