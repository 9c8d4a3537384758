// The HTML report read back by a small strict parser: well-formed nesting,
// the articles' text exactly as written (escaped, nothing lost or added),
// the window's colours, every run linked to its partner and back, nothing
// loaded from elsewhere; and the validator from Debian (tidy) accepts it.

#include "RaspTestSupport.h"

#include <cstdlib>
#include <map>
#include <set>

#include "compare/HighlightColor.h"
#include "tools/rasp/HtmlReport.h"

namespace rasp {
namespace {

using namespace rasp::testing;

struct TElement {
    std::string Name;
    std::map<std::string, std::string> Attributes;
    std::string Text;  // all text inside, references resolved
    std::string Class() const { return Attributes.count("class") ? Attributes.at("class") : ""; }
};

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const std::size_t end = text.find(';', i);
        EXPECT_NE(end, std::string::npos) << "unterminated reference";
        const std::string name = text.substr(i + 1, end - i - 1);
        if (name == "amp") out += '&';
        else if (name == "lt") out += '<';
        else if (name == "gt") out += '>';
        else if (name == "quot") out += '"';
        else if (name == "#39") out += '\'';
        else ADD_FAILURE() << "unexpected reference &" << name << ";";
        i = end;
    }
    return out;
}

// Every element in document order; fails the test on bad nesting.
std::vector<TElement> Parse(const std::string& html) {
    static const std::set<std::string> kVoid = {"meta", "br", "!DOCTYPE"};
    std::vector<TElement> elements;
    std::vector<std::size_t> open;
    std::size_t i = 0;
    auto addText = [&](const std::string& raw) {
        EXPECT_EQ(raw.find('>'), std::string::npos) << "a bare '>' in text";
        const std::string text = Unescape(raw);
        for (const std::size_t k : open) elements[k].Text += text;
    };
    while (i < html.size()) {
        const std::size_t lt = html.find('<', i);
        addText(html.substr(i, lt == std::string::npos ? std::string::npos : lt - i));
        if (lt == std::string::npos) break;
        const std::size_t gt = html.find('>', lt);
        if (gt == std::string::npos) {
            ADD_FAILURE() << "unterminated tag";
            break;
        }
        std::string tag = html.substr(lt + 1, gt - lt - 1);
        i = gt + 1;
        if (tag[0] == '/') {
            const std::string name = tag.substr(1);
            if (open.empty() || elements[open.back()].Name != name) {
                ADD_FAILURE() << "</" << name << "> closes " << (open.empty() ? "nothing" : elements[open.back()].Name);
                return elements;
            }
            open.pop_back();
            continue;
        }
        TElement element;
        std::size_t p = tag.find_first_of(" \n");
        element.Name = tag.substr(0, p);
        while (p != std::string::npos && element.Name != "!DOCTYPE") {
            p = tag.find_first_not_of(" \n", p);
            if (p == std::string::npos) break;
            const std::size_t eq = tag.find('=', p);
            EXPECT_NE(eq, std::string::npos) << tag;
            EXPECT_EQ(tag[eq + 1], '"') << "unquoted attribute in " << tag;
            const std::size_t close = tag.find('"', eq + 2);
            element.Attributes[tag.substr(p, eq - p)] = Unescape(tag.substr(eq + 2, close - eq - 2));
            p = close + 1;
        }
        elements.push_back(element);
        if (kVoid.count(element.Name)) continue;
        open.push_back(elements.size() - 1);
        if (element.Name == "style" || element.Name == "script") {
            const std::size_t end = html.find("</" + element.Name + ">", i);
            elements.back().Text = html.substr(i, end - i);
            i = end;
        }
    }
    EXPECT_TRUE(open.empty()) << "elements left open";
    return elements;
}

// The article as the report must show it: LF line breaks, the control
// character as U+FFFD.
std::string Shown(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        if (text[i] == '\x01') out += "\xEF\xBF\xBD";
        else out += text[i];
    }
    return out;
}

// The text without separators in front (a stretch may start with the gap
// before it) and with letter case folded.
std::string Words(const std::string& text) {
    std::size_t first = text.find_first_not_of(" ,.;!?\n");
    std::string out = first == std::string::npos ? "" : text.substr(first);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

void CheckReport(const std::string& html, const std::string& text1, const std::string& text2, bool anyOrder) {
    const std::vector<TElement> elements = Parse(html);
    std::map<std::string, const TElement*> byId;
    std::vector<const TElement*> texts, runs;
    std::string style;
    for (const TElement& e : elements) {
        if (e.Attributes.count("id")) {
            EXPECT_TRUE(byId.emplace(e.Attributes.at("id"), &e).second) << "id twice";
        }
        if (e.Name == "div" && e.Class() == "text") texts.push_back(&e);
        if (e.Name == "a") runs.push_back(&e);
        if (e.Name == "style") style = e.Text;
        EXPECT_EQ(e.Attributes.count("src"), 0u);
        EXPECT_NE(e.Name, "link");
        EXPECT_NE(e.Name, "iframe");
    }
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->Text, Shown(text1));
    EXPECT_EQ(texts[1]->Text, Shown(text2));
    EXPECT_EQ(style.find("url("), std::string::npos);
    EXPECT_EQ(style.find("@import"), std::string::npos);
    EXPECT_NE(style.find("@media print"), std::string::npos);
    for (int k = 1; k <= 6; ++k)
        EXPECT_NE(style.find(".c" + std::to_string(k) + "{background:" + CssColour(HighlightColor(k))),
                  std::string::npos)
            << k;
    EXPECT_EQ(CssColour(HighlightColor(1)), "#00FFFF");
    EXPECT_EQ(CssColour(HighlightColor(4)), "#FF0000");

    ASSERT_FALSE(runs.empty());
    int named = 0;
    for (const TElement* run : runs) {
        const std::string href = run->Attributes.at("href");
        ASSERT_EQ(href[0], '#');
        ASSERT_TRUE(byId.count(href.substr(1))) << "dangling link " << href;
        const TElement& partner = *byId.at(href.substr(1));
        EXPECT_EQ(Words(partner.Text), Words(run->Text)) << "a run and its partner hold the same words";
        if (!run->Attributes.count("id")) continue;
        ++named;
        const std::string id = run->Attributes.at("id");
        EXPECT_EQ(partner.Attributes.at("href"), "#" + id) << "the partner links back";
        EXPECT_EQ(partner.Class(), run->Class());
        if (anyOrder) {
            // Runs are numbered in article-2 order and take the cycle in that order.
            const int number = std::stoi(id.substr(1));
            EXPECT_EQ(run->Class(), "run c" + std::to_string((number - 1) % 6 + 1)) << id;
        }
    }
    EXPECT_GT(named, 1);
}

TEST(HtmlReport, EscapesTheArticlesAndLinksEveryRun) {
    TTempFolder folder;
    const std::string hostile = "<script>alert('x')</script> & \"quoted\" it's\x01 odd ]]> --> </div></section>";
    const std::string text1 = hostile + "\r\nSecond line: <b>bold</b> & more words here.\r\nhttp://example.invalid/?a=1&b=2 end";
    const std::string text2 = "Second line: <b>bold</b> & more words here. Unrelated words first, then\n" + hostile +
                              "\nand a tail of seven more unrelated words to close.";
    const std::string a = folder.Write("a <&>.txt", text1);
    const std::string b = folder.Write("b.txt", text2);
    for (const bool anyOrder : {true, false}) {
        SCOPED_TRACE(anyOrder ? "order-free" : "in order");
        const std::string out = folder.Path() + (anyOrder ? "/free.html" : "/ordered.html");
        std::vector<std::string> args = {"compare", a, b, "--html", out, "--min", "2"};
        if (anyOrder) args.push_back("--any-order");
        const TRun run = RunCli(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string html = ReadBytes(out);
        // The text output is printed as without --html.
        EXPECT_EQ(run.out.rfind("Duplicate Content: ", 0), 0u);
        CheckReport(html, text1, text2.substr(0), anyOrder);
        EXPECT_NE(html.find("<h2>Article 1: " + folder.Path() + "/a &lt;&amp;&gt;.txt</h2>"), std::string::npos);
        EXPECT_NE(html.find("<title>Duplicate Content: "), std::string::npos);
    }
}

TEST(HtmlReport, TidyFindsNoErrors) {
    if (std::system("command -v tidy > /dev/null 2>&1") != 0) GTEST_SKIP() << "tidy is not installed";
    TTempFolder folder;
    const std::string sample = std::string(RASP_SOURCE_TREE) + "/samples/article";
    const std::string hostile = folder.Write("h.txt", "<p>\"tags\" & 'quotes'</p>\x01\r\nline two <!-- x -->");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"compare", sample + "1.txt", sample + "2.txt", "--any-order", "--min", "3"},
          std::vector<std::string>{"compare", sample + "1.txt", sample + "2.txt", "--ignore-quoted"},
          std::vector<std::string>{"compare", hostile, hostile, "--any-order"}}) {
        std::vector<std::string> withReport = args;
        withReport.push_back("--html");
        withReport.push_back(folder.Path() + "/r.html");
        const TRun run = RunCli(withReport);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string command = "tidy -errors -q " + folder.Path() + "/r.html > " + folder.Path() +
                                    "/tidy.txt 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << ReadBytes(folder.Path() + "/tidy.txt");
    }
}

TEST(HtmlReport, EscapingCoversWhatHtmlForbids) {
    EXPECT_EQ(HtmlEscape(u"a<b>&\"'\r\nc\rd\te"), "a&lt;b&gt;&amp;&quot;&#39;\nc\nd\te");
    // Controls, noncharacters and a lone surrogate become U+FFFD; a pair stays.
    EXPECT_EQ(HtmlEscape(std::u16string(u"\u0000\u0085\uFFFE\uFDD0", 4) + char16_t(0xD800) + u"x\U0001F600"),
              "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDx\xF0\x9F\x98\x80");
    EXPECT_EQ(HtmlEscapeBytes("caf\xC3\xA9 \xFF"), "caf\xC3\xA9 \xEF\xBF\xBD");
}

}  // namespace
}  // namespace rasp
