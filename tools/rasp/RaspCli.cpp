#include "tools/rasp/RaspCli.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "compare/ArticleComparer.h"
#include "compare/KeywordDensity.h"
#include "platform/automation/ArticleImport.h"
#include "platform/automation/LibreOfficeWord.h"
#include "platform/pane/MemoryRichTextPane.h"
#include "platform/textload/TextFileLoader.h"
#include "text/ArticleDecode.h"
#include "text/ArticleNormalise.h"
#include "text/SplitArticle.h"
#include "tools/rasp/RaspJson.h"

namespace rasp {

namespace {

constexpr const char* kUsage =
    "usage: rasp stats FILE\n"
    "       rasp compare FILE1 FILE2 [--unit words|sentences|paragraphs] [--min N] [--json]\n"
    "       rasp density FILE PHRASE\n";

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
};

int ParseMinLength(const std::string& text) {
    int value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) throw EUsage("--min is out of range: " + text);
    if (error != std::errc() || end != last || first == last)
        throw EUsage("--min needs a whole number, not '" + text + "'");
    if (value < 1) throw EUsage("--min must be 1 or more");
    return value;
}

TArguments ParseArguments(const std::vector<std::string>& args, bool compareOptions) {
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
        } else if (compareOptions && name == "--min") {
            parsed.MinLength = ParseMinLength(takeValue());
        } else if (compareOptions && name == "--json" && !hasValue) {
            parsed.Json = true;
        } else {
            throw EUsage("unknown option '" + arg + "'");
        }
    }
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

// The percentage as the window's integer box shows it: nearest integer, ties
// to the even neighbour.
std::string ShownPercentage(double value) {
    const double rounded = std::nearbyint(value);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f", rounded == 0 ? 0.0 : rounded);
    return buffer;
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

int Compare(const TArguments& parsed, std::ostream& out) {
    ExpectPositional(parsed, 2, "compare");
    std::u16string text1 = LoadArticle(parsed.Positional[0]);
    std::u16string text2 = LoadArticle(parsed.Positional[1]);

    // No panes: printing the result needs the word colours, not formatted text.
    TArticleComparer comparer;
    comparer.FText1 = std::move(text1);
    comparer.FText2 = std::move(text2);
    SplitArticle(comparer.FText1, comparer.FWords1, comparer.FSentences1, comparer.FParagraphs1);
    SplitArticle(comparer.FText2, comparer.FWords2, comparer.FSentences2, comparer.FParagraphs2);
    const int wordCounter2 = comparer.FWords2.Count();

    // A blank article leaves the percentage at the box's initial 0.
    const TCompareOutcome outcome =
        comparer.CompareStored(parsed.MinLength, UnitKind(parsed.Unit), wordCounter2);

    if (!parsed.Json) {
        out << "Duplicate Content: " << ShownPercentage(outcome.Percentage) << "%\n";
        return 0;
    }
    out << "{\"percentage\":" << JsonNumber(outcome.Percentage) << ",\n\"article1\":"
        << ArticleSpansJson(comparer.FWords1, comparer.FSentences1, comparer.FParagraphs1)
        << ",\n\"article2\":"
        << ArticleSpansJson(comparer.FWords2, comparer.FSentences2, comparer.FParagraphs2)
        << "}\n";
    return 0;
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
    try {
        if (args.empty()) throw EUsage("missing command");
        const std::string& command = args[0];
        if (command == "--help" || command == "-h" || command == "help") {
            out << kUsage;
            return 0;
        }
        if (command == "stats") return Stats(ParseArguments(args, false), out);
        if (command == "compare") return Compare(ParseArguments(args, true), out);
        if (command == "density") return Density(ParseArguments(args, false), out);
        throw EUsage("unknown command '" + command + "' (stats, compare or density)");
    } catch (const EUsage& e) {
        err << "rasp: " << e.what() << "\n";
        if (args.empty()) err << kUsage;
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
