#include "tools/rasp/RaspCli.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <unistd.h>

#include "compare/ArticleComparer.h"
#include "compare/Exclusions.h"
#include "compare/KeywordDensity.h"
#include "platform/automation/ArticleImport.h"
#include "platform/automation/LibreOfficeWord.h"
#include "platform/pane/MemoryRichTextPane.h"
#include "platform/textload/TextFileLoader.h"
#include "text/ArticleDecode.h"
#include "text/ArticleNormalise.h"
#include "text/SplitArticle.h"
#include "tools/rasp/CompareCommand.h"
#include "tools/rasp/ColorOutput.h"
#include "tools/rasp/Help.h"
#include "tools/rasp/IndexCommand.h"
#include "index/IndexStore.h"
#include "index/WordRunFingerprints.h"
#include "tools/rasp/RaspJson.h"
#include "tools/rasp/ScanCommand.h"
#include "tools/rasp/ScanFiles.h"

namespace rasp {

namespace {

// A failure the user caused: one line on stderr, exit status 2.
class EUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TArguments {
    std::vector<std::string> Positional;
    std::string Unit = "words";
    int MinLength = 1;
    bool Json = false;
    bool AnyOrder = false;
    bool IgnoreQuoted = false;
    std::vector<std::string> ExcludeFiles;
    std::string HtmlPath;
    bool Csv = false;
    int Top = 0;
    std::string Index;
    bool MinGiven = false;
    TColorMode Color = TColorMode::Auto;
};

enum class TOptionSet { None, Compare, Scan, Check };

int ParseMinLength(const std::string& text, const std::string& name = "--min") {
    int value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) throw EUsage(name + " is out of range: " + text);
    if (error != std::errc() || end != last || first == last)
        throw EUsage(name + " needs a whole number, not '" + text + "'");
    if (value < 1) throw EUsage(name + " must be 1 or more");
    return value;
}

TArguments ParseArguments(const std::vector<std::string>& args, TOptionSet options) {
    const bool check = options == TOptionSet::Check;
    const bool compareOptions = options == TOptionSet::Compare || options == TOptionSet::Scan;
    const bool scan = options == TOptionSet::Scan || check;
    TArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.Positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::string value;
        bool hasValue = false;
        if (const auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            hasValue = true;
        }
        auto takeValue = [&]() -> std::string {
            if (hasValue) return value;
            if (i + 1 >= args.size()) throw EUsage(name + " needs a value");
            return args[++i];
        };
        if (compareOptions && name == "--unit") {
            parsed.Unit = takeValue();
            if (parsed.Unit != "words" && parsed.Unit != "sentences" && parsed.Unit != "paragraphs")
                throw EUsage("--unit must be words, sentences or paragraphs, not '" + parsed.Unit + "'");
        } else if ((compareOptions || check) && name == "--min") {
            parsed.MinLength = ParseMinLength(takeValue());
            parsed.MinGiven = true;
        } else if ((compareOptions || check) && name == "--json" && !hasValue) {
            parsed.Json = true;
        } else if (check && name == "--index") {
            parsed.Index = takeValue();
            if (parsed.Index.empty()) throw EUsage("--index needs a file name or a postgresql:// address");
        } else if (check && name == "--html") {
            parsed.HtmlPath = takeValue();
            if (parsed.HtmlPath.empty()) throw EUsage("--html needs a file name");
        } else if ((compareOptions || check) && name == "--any-order" && !hasValue) {
            parsed.AnyOrder = true;
        } else if (compareOptions && name == "--ignore-quoted" && !hasValue) {
            parsed.IgnoreQuoted = true;
        } else if (compareOptions && name == "--exclude") {
            parsed.ExcludeFiles.push_back(takeValue());
        } else if (compareOptions && !scan && name == "--html") {
            parsed.HtmlPath = takeValue();
            if (parsed.HtmlPath.empty()) throw EUsage("--html needs a file name");
        } else if (scan && name == "--csv" && !hasValue) {
            parsed.Csv = true;
        } else if (scan && name == "--top") {
            parsed.Top = ParseMinLength(takeValue(), "--top");
        } else if (compareOptions && name == "--color") {
            // As in GNU tools, the value is optional and only given with '='.
            try {
                parsed.Color = hasValue ? ParseColorMode(value) : TColorMode::Always;
            } catch (const std::invalid_argument& e) {
                throw EUsage(e.what());
            }
        } else {
            throw EUsage("unknown option '" + arg + "'");
        }
    }
    if (parsed.AnyOrder && parsed.Unit != "words")
        throw EUsage("--any-order matches runs of words; --unit must be words");
    if (parsed.Json && parsed.Csv) throw EUsage("--json and --csv cannot be combined");
    if (check && !parsed.HtmlPath.empty() && (parsed.Json || parsed.Csv))
        throw EUsage("--html cannot be combined with --json or --csv");
    return parsed;
}

void ExpectPositional(const TArguments& parsed, std::size_t count, const std::string& command) {
    if (parsed.Positional.size() < count) throw EUsage(command + ": missing arguments");
    if (parsed.Positional.size() > count)
        throw EUsage(command + ": unexpected argument '" + parsed.Positional[count] + "'");
}

// The article as the window would hold it after importing the file into a
// pane (rich text, plain text, or a document with ".doc" in its name through
// the word processor), CR LF line breaks, the three typographic characters
// replaced. Unlike a pane, a pipe may be read.
std::u16string LoadArticle(const std::string& path) {
    std::u16string text;
    try {
        TAutomationRegistry automation;
        RegisterLibreOfficeWord(automation);
        text = LoadArticleText(path, automation, TStreamPolicy::AllowStreams);
    } catch (const ELoadStreamError& e) {
        throw EUsage("cannot read '" + path + "': " + e.Reason());
    } catch (const std::exception& e) {
        throw EUsage(e.what());
    }
    NormaliseArticleText(text);
    return text;
}

int UnitKind(const std::string& unit) {
    if (unit == "sentences") return ukSentences;
    if (unit == "paragraphs") return ukParagraphs;
    return ukWords;
}

int Stats(const TArguments& parsed, std::ostream& out) {
    ExpectPositional(parsed, 1, "stats");
    const std::u16string text = LoadArticle(parsed.Positional[0]);
    TListWords words;
    TListSentences sentences;
    TListParagraphs paragraphs;
    SplitArticle(text, words, sentences, paragraphs);
    out << "Words: " << words.Count() << "\nSentences: " << sentences.Count()
        << "\nParagraphs: " << paragraphs.Count() << "\n";
    return 0;
}

TMatchOptions MatchOptions(const TArguments& parsed) {
    TMatchOptions options;
    options.AnyOrder = parsed.AnyOrder;
    options.MinLength = parsed.MinLength;
    options.Unit = UnitKind(parsed.Unit);
    options.IgnoreQuoted = parsed.IgnoreQuoted;
    for (const std::string& file : parsed.ExcludeFiles)
        for (std::u16string& phrase : PhraseLines(LoadArticle(file))) options.Phrases.push_back(std::move(phrase));
    return options;
}

int Compare(const TArguments& parsed, std::ostream& out, std::ostream& err, const TTerminal& terminal) {
    ExpectPositional(parsed, 2, "compare");
    TCompareRequest request;
    request.Path1 = parsed.Positional[0];
    request.Path2 = parsed.Positional[1];
    request.Text1 = LoadArticle(request.Path1);
    request.Text2 = LoadArticle(request.Path2);
    request.Options = MatchOptions(parsed);
    request.Json = parsed.Json;
    request.HtmlPath = parsed.HtmlPath;
    request.ExclusionsAsked = parsed.IgnoreQuoted || !parsed.ExcludeFiles.empty();
    request.Color = !parsed.Json && UseColor(parsed.Color, terminal);
    request.TrueColor = terminal.TrueColor;
    return RunCompare(std::move(request), out, err);
}

int Scan(const TArguments& parsed, std::ostream& out, std::ostream& err) {
    if (parsed.Positional.size() < 2) throw EUsage("scan: missing arguments");
    TScanRequest request;
    request.ArticlePath = parsed.Positional[0];
    if (IsScanDocumentName(request.ArticlePath)) {
        try {
            request.ArticleText = ReadScanDocument(request.ArticlePath);
        } catch (const std::exception& e) {
            throw EUsage("cannot read '" + request.ArticlePath + "': " + e.what());
        }
    } else {
        request.ArticleText = LoadArticle(request.ArticlePath);
    }
    request.Paths.assign(parsed.Positional.begin() + 1, parsed.Positional.end());
    request.Options = MatchOptions(parsed);
    request.Format = parsed.Json ? TScanFormat::Json : parsed.Csv ? TScanFormat::Csv : TScanFormat::Table;
    request.Top = parsed.Top;
    request.Progress = &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
    return RunScan(request, out, err);
}

std::u16string LoadScanArticle(const std::string& path) {
    if (!IsScanDocumentName(path)) return LoadArticle(path);
    try {
        return ReadScanDocument(path);
    } catch (const std::exception& e) {
        throw EUsage("cannot read '" + path + "': " + e.what());
    }
}

int Check(TArguments parsed, std::ostream& out, std::ostream& err) {
    ExpectPositional(parsed, 1, "check");
    if (parsed.Index.empty()) throw EUsage("check: --index DB is needed");
    if (!parsed.MinGiven) parsed.MinLength = kGuaranteeWords;
    TScanRequest request;
    request.ArticlePath = parsed.Positional[0];
    request.ArticleText = LoadScanArticle(request.ArticlePath);
    request.Options = MatchOptions(parsed);
    request.Format = parsed.Json             ? TScanFormat::Json
                     : parsed.Csv            ? TScanFormat::Csv
                     : parsed.HtmlPath.empty() ? TScanFormat::Table
                                             : TScanFormat::Html;
    request.HtmlPath = parsed.HtmlPath;
    request.Top = parsed.Top;
    request.Progress = &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
    return RunCheck(request, parsed.Index, out, err);
}

int Index(const TArguments& parsed, std::ostream& out, std::ostream& err) {
    if (parsed.Positional.empty()) throw EUsage("index: missing subcommand (add, remove, list or stats)");
    const std::string& sub = parsed.Positional[0];
    if (sub != "add" && sub != "remove" && sub != "list" && sub != "stats")
        throw EUsage("index: unknown subcommand '" + sub + "' (add, remove, list or stats)");
    if (parsed.Positional.size() < 2) throw EUsage("index " + sub + ": missing DB");
    const std::string& location = parsed.Positional[1];
    const std::vector<std::string> paths(parsed.Positional.begin() + 2, parsed.Positional.end());
    if (sub == "list" || sub == "stats") {
        if (!paths.empty()) throw EUsage("index " + sub + ": unexpected argument '" + paths[0] + "'");
        return sub == "list" ? RunIndexList(location, out) : RunIndexStats(location, out);
    }
    if (paths.empty()) throw EUsage("index " + sub + ": missing PATH");
    return sub == "add" ? RunIndexAdd(location, paths, out, err) : RunIndexRemove(location, paths, out, err);
}

int Density(const TArguments& parsed, std::ostream& out) {
    ExpectPositional(parsed, 2, "density");
    const std::u16string text = LoadArticle(parsed.Positional[0]);
    const std::u16string phrase = DecodeArticleBytes(parsed.Positional[1]);
    TListWords words;
    TListSentences sentences;
    TListParagraphs paragraphs;
    SplitArticle(text, words, sentences, paragraphs);
    TMemoryRichTextPane pane;
    pane.SetText(text);
    const TDensityResult result = CalculateKwDensity(pane, phrase, words.Count(), nullptr);
    char percentage[64];
    std::snprintf(percentage, sizeof percentage, "%.2f", result.Percentage);
    out << "Occurrences: " << result.Count << "\nDensity: " << percentage << "%\n";
    return 0;
}

}  // namespace

int RunRasp(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunRasp(args, out, err, TTerminal{});
}

int RunRasp(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            const TTerminal& terminal) {
    try {
        if (args.empty()) throw EUsage("missing command");
        if (const std::optional<int> status = RunHelpRequest(args, out, err)) return *status;
        const std::string& command = args[0];
        if (command == "stats") return Stats(ParseArguments(args, TOptionSet::None), out);
        if (command == "compare") return Compare(ParseArguments(args, TOptionSet::Compare), out, err, terminal);
        if (command == "scan") return Scan(ParseArguments(args, TOptionSet::Scan), out, err);
        if (command == "check") return Check(ParseArguments(args, TOptionSet::Check), out, err);
        if (command == "index") return Index(ParseArguments(args, TOptionSet::None), out, err);
        if (command == "density") return Density(ParseArguments(args, TOptionSet::None), out);
        throw EUsage("unknown command '" + command + "' (stats, compare, scan, index, check or density)");
    } catch (const EUsage& e) {
        err << "rasp: " << e.what() << "\n";
        if (args.empty()) err << UsageText();
        return 2;
    } catch (const EIndexError& e) {
        err << "rasp: " << e.what() << "\n";
        return 2;
    } catch (const std::bad_alloc&) {
        err << "rasp: out of memory\n";
        return 1;
    } catch (const std::exception& e) {
        err << "rasp: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace rasp
