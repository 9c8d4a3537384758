#include "tools/rasp/Help.h"

#include <algorithm>
#include <iterator>

#ifndef RASP_VERSION
#define RASP_VERSION "unknown"
#endif

namespace rasp {
namespace {

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
    "2 bad usage or a file that cannot be read, 3 a scan that skipped something.\n";

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
