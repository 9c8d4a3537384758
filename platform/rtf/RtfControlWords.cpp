#include "platform/rtf/RtfControlWords.h"

#include <string>
#include <unordered_map>

namespace rasp {

namespace {

using Table = std::unordered_map<std::string_view, TRtfControlWord>;

Table MakeTable() {
    using A = TRtfAction;
    Table t = {
        {"par", {A::LineBreak, 0}},        {"line", {A::LineBreak, 0}},
        {"sect", {A::LineBreak, 0}},       {"page", {A::LineBreak, 0}},
        {"row", {A::LineBreak, 0}},        {"nestrow", {A::LineBreak, 0}},
        {"tab", {A::Character, u'\t'}},    {"cell", {A::Character, u'\t'}},
        {"nestcell", {A::Character, u'\t'}},
        {"emdash", {A::Character, 0x2014}}, {"endash", {A::Character, 0x2013}},
        {"emspace", {A::Character, 0x2003}}, {"enspace", {A::Character, 0x2002}},
        {"qmspace", {A::Character, 0x2005}}, {"bullet", {A::Character, 0x2022}},
        {"lquote", {A::Character, 0x2018}}, {"rquote", {A::Character, 0x2019}},
        {"ldblquote", {A::Character, 0x201C}}, {"rdblquote", {A::Character, 0x201D}},
        {"zwj", {A::Character, 0x200D}},    {"zwnj", {A::Character, 0x200C}},
        {"ltrmark", {A::Character, 0x200E}}, {"rtlmark", {A::Character, 0x200F}},
        {"fonttbl", {A::FontTable, 0}},
        {"u", {A::UnicodeChar, 0}},         {"uc", {A::UnicodeSkip, 0}},
        {"f", {A::Font, 0}},                {"deff", {A::DefaultFont, 0}},
        {"plain", {A::Plain, 0}},           {"ansicpg", {A::CodePage, 0}},
        {"ansi", {A::Charset, 1252}},       {"mac", {A::Charset, 10000}},
        {"pc", {A::Charset, 437}},          {"pca", {A::Charset, 850}},
        {"fcharset", {A::FontCharset, 0}},  {"cpg", {A::FontCodePage, 0}},
        {"bin", {A::Binary, 0}},
    };
    // Destinations that hold tables, pictures, objects, document properties,
    // page furniture, field codes and list numbering rather than article text.
    static constexpr std::string_view kSkipped[] = {
        "colortbl", "stylesheet", "info", "pict", "object", "objdata", "objclass",
        "header", "headerl", "headerr", "headerf", "footer", "footerl", "footerr", "footerf",
        "footnote", "fldinst", "listtable", "listoverridetable", "revtbl", "rsidtbl",
        "pn", "pntext", "pntxta", "pntxtb", "listtext", "xmlnstbl", "themedata",
        "colorschememapping", "datastore", "latentstyles", "generator", "filetbl",
        "nonshppict", "shppict", "shp", "shpinst", "bkmkstart", "bkmkend", "template",
        "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn", "annotation",
        "atnid", "atnauthor", "atrfstart", "atrfend", "xe", "tc", "txe", "rxe", "do",
        "userprops", "docvar", "mmathPr", "pgdsctbl", "protusertbl", "wgrffmtfilter",
        "fchars", "lchars", "author", "operator", "title", "subject", "keywords",
        "comment", "doccomm", "password", "passwordhash", "buptim", "creatim",
        "revtim", "printim", "falt", "panose", "fontemb", "fontfile",
    };
    for (std::string_view name : kSkipped) t.emplace(name, TRtfControlWord{A::SkipGroup, 0});
    return t;
}

}  // namespace

TRtfControlWord LookupRtfControlWord(std::string_view name) {
    static const Table table = MakeTable();
    const auto it = table.find(name);
    return it == table.end() ? TRtfControlWord{TRtfAction::Ignore, 0} : it->second;
}

}  // namespace rasp
