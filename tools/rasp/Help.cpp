#include "tools/rasp/Help.h"

#include <algorithm>
#include <iterator>

#include "index/WordRunFingerprints.h"

#ifndef RASP_VERSION
#define RASP_VERSION "unknown"
#endif

namespace rasp {
namespace {

static_assert(kGuaranteeWords == 22 && kGramWords == 5, "the help of check states the index's guarantee");

struct TCommandHelp {
    const char* Name;
    const char* Synopsis;
    const char* Text;
};

// A new command adds one entry here.
const TCommandHelp kCommands[] = {
    {"stats", "rasp stats FILE",
     "Prints the word, sentence and paragraph counts of an article.\n"},
    {"compare", "rasp compare FILE1 FILE2 [--unit words|sentences|paragraphs] [--min N] [--json]\n"
                "                    [--any-order] [--ignore-quoted] [--exclude FILE] [--html OUT.html]\n"
                "                    [--color[=auto|always|never]]",
     "Highlights every run of at least N units of FILE1 that also occurs in FILE2\n"
     "(letter case ignored) and prints the highlighted share of FILE2's words as\n"
     "\"Duplicate Content: P%\", rounded to the nearest integer.\n"
     "\n"
     "  --unit KIND     words (default), sentences or paragraphs\n"
     "  --min N         the shortest run that counts, in units (default 1)\n"
     "  --json          the exact percentage and every span of both articles\n"
     "  --any-order     every shared run wherever it lies, longest first (words only)\n"
     "  --ignore-quoted leave passages between quotation marks out of the matching\n"
     "  --exclude FILE  leave out every phrase listed in FILE, one per line\n"
     "  --html OUT      also write a self-contained HTML report to OUT\n"
     "  --color[=WHEN]  show both articles with each matched run on its colour:\n"
     "                  auto (default: on a terminal, unless NO_COLOR is set),\n"
     "                  always (also --color alone) or never\n"},
    {"scan", "rasp scan ARTICLE PATH... [--any-order] [--min N] [--unit U] [--ignore-quoted]\n"
             "                    [--exclude FILE] [--json | --csv] [--top K]",
     "Compares ARTICLE with every readable file under the given files and folders\n"
     "(.txt, .rtf, .doc, .docx, .odt) and ranks them by how much of ARTICLE they hold.\n"
     "Entries that cannot be read are named on standard error and skipped.\n"
     "\n"
     "  --json, --csv   the ranking in another format\n"
     "  --top K         only the K best files\n"},
    {"index", "rasp index add|remove|list|stats DB [PATH...]",
     "Keeps an archive of articles as an index of word-run fingerprints in DB, an\n"
     "SQLite file, or on a PostgreSQL server when DB is a postgresql:// address.\n"
     "\n"
     "  add DB PATH...     index every .txt, .rtf, .doc, .docx and .odt file under the\n"
     "                     given files and folders, read as scan reads them; a\n"
     "                     document is known by its absolute path, a changed one\n"
     "                     (size, time or content) is indexed again, an unchanged one\n"
     "                     skipped; a new DB file is made when none exists\n"
     "  remove DB PATH...  forget these documents, or every document under a folder\n"
     "  list DB            the indexed documents with their word counts\n"
     "  stats DB           documents, words, fingerprints and the size on disk\n"
     "\n"
     "Each document is stored in one transaction: an interrupted add leaves the\n"
     "index as it was before the document it was at. Other rasp processes may\n"
     "check while one adds. A file that is not an index, or of a newer format, is\n"
     "refused and left untouched.\n"},
    {"check", "rasp check ARTICLE --index DB [--min N] [--any-order] [--top K]\n"
              "                    [--json | --csv | --html OUT]",
     "Ranks the indexed documents by how much of ARTICLE they hold, exactly as scan\n"
     "ranks files, but compares ARTICLE only with the documents the index proposes:\n"
     "every document that shares a run of at least 22 words with ARTICLE (letter\n"
     "case ignored) is proposed, and many that share shorter runs (5 words or more\n"
     "at the least); documents changed since they were added are read as they are\n"
     "now, but proposed by what they held then. The comparison\n"
     "that ranks is the exact one; the files are read from their indexed paths.\n"
     "\n"
     "  --index DB      the index (an SQLite file or a postgresql:// address)\n"
     "  --min N         the shortest run that counts, in words (default 22); below\n"
     "                  22 every indexed document is compared, with a note\n"
     "  --any-order     every shared run wherever it lies, longest first\n"
     "  --top K         only the K best documents\n"
     "  --json, --csv   the ranking in scan's other formats\n"
     "  --html OUT      also write the ranking as an HTML page to OUT\n"},
    {"density", "rasp density FILE PHRASE",
     "Prints how often PHRASE occurs in the article (letter case ignored, inside\n"
     "words and overlapping too) and that count as a percentage of its words.\n"},
    {"help", "rasp help [COMMAND]", "Prints the help of every command, or of one.\n"},
};

constexpr const char* kCommonText =
    "\n"
    "Files are read as UTF-8, else as Windows-1252; rich text (.rtf) is read as\n"
    "text, and files with \".doc\" in their name through LibreOffice.\n"
    "Options may be written --min=3; -- ends the options.\n"
    "\n"
    "Exit status: 0 done, 1 an internal failure (such as running out of memory),\n"
    "2 bad usage, a file that cannot be read or an index that cannot be used,\n"
    "3 a scan, add or check that skipped something.\n";

const TCommandHelp* Find(const std::string& command)
{
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const TCommandHelp& entry) { return command == entry.Name; });
    return found == std::end(kCommands) ? nullptr : found;
}

bool IsHelpOption(const std::string& arg) { return arg == "--help" || arg == "-h"; }

std::string CommandNames()
{
    std::string names;
    for (const TCommandHelp& entry : kCommands) {
        if (!names.empty())
            names += ", ";
        names += entry.Name;
    }
    return names;
}

}  // namespace

std::string UsageText()
{
    std::string text;
    for (const TCommandHelp& entry : kCommands) {
        text += text.empty() ? "usage: " : "       ";
        text += entry.Synopsis;
        text += '\n';
    }
    text += "       rasp --version\n";
    return text;
}

std::optional<std::string> CommandHelp(const std::string& command)
{
    const TCommandHelp* entry = Find(command);
    if (!entry)
        return std::nullopt;
    return std::string("usage: ") + entry->Synopsis + "\n\n" + entry->Text + kCommonText;
}

std::optional<int> RunHelpRequest(const std::vector<std::string>& args, std::ostream& out,
                                  std::ostream& err)
{
    if (args.empty())
        return std::nullopt;
    const std::string& first = args[0];
    if (first == "--version" || first == "-V") {
        out << "rasp (Tellivo Rasp) " << RASP_VERSION << "\n";
        return 0;
    }
    if (IsHelpOption(first) || (first == "help" && args.size() == 1)) {
        out << "rasp compares two articles and measures keyword density, on the same\n"
               "engine as the Tellivo Rasp window.\n\n"
            << UsageText() << kCommonText << "\n\"rasp help COMMAND\" tells more of one command.\n";
        return 0;
    }
    if (first == "help") {
        if (args.size() > 2) {
            err << "rasp: help: unexpected argument '" << args[2] << "'\n";
            return 2;
        }
        const std::optional<std::string> help = CommandHelp(args[1]);
        if (!help) {
            err << "rasp: help: unknown command '" << args[1] << "' (" << CommandNames() << ")\n";
            return 2;
        }
        out << *help;
        return 0;
    }
    if (!Find(first))
        return std::nullopt;
    for (std::size_t i = 1; i < args.size() && args[i] != "--"; ++i) {
        if (IsHelpOption(args[i])) {
            out << *CommandHelp(first);
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace rasp
