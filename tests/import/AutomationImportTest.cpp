// The Import command's document branch against the fake "Word.Application":
// the nine late-bound calls in order with their arguments, the branch test on
// the lower-cased name, and that a failure at any step still quits the server.
// (The window's side of it, pane and dialog included, is in WindowImportTest.)

#include "platform/automation/ArticleImport.h"
#include "platform/automation/FakeWordServer.h"
#include "platform/automation/WordDocumentReader.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

using namespace rasp;

namespace {

struct TExpectedCall {
    std::string object;
    std::string member;
    unsigned kind;
    std::vector<TOleVariant> args;
};

const unsigned kRead = ikMethod | ikPropertyGet;

std::vector<TExpectedCall> NineCalls(const std::u16string& fileName) {
    return {
        {"Application", "Documents", kRead, {}},
        {"Documents", "Open", ikMethod, {fileName}},
        {"Application", "Visible", ikPropertyPut, {false}},
        {"Application", "Documents", kRead, {}},
        {"Documents", "Item", kRead, {std::int32_t{1}}},
        {"Document", "Range", kRead, {}},
        {"Range", "Text", kRead, {}},
        {"Application", "Quit", ikMethod, {false}},
    };
}

void ExpectCalls(const std::vector<TFakeCall>& calls, const std::vector<TExpectedCall>& expected) {
    ASSERT_EQ(calls.size(), expected.size());
    for (std::size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE("call " + std::to_string(i + 2));
        EXPECT_EQ(calls[i].object, expected[i].object);
        EXPECT_EQ(calls[i].member, expected[i].member);
        EXPECT_EQ(calls[i].kind, expected[i].kind);
        EXPECT_TRUE(calls[i].args == expected[i].args);
    }
}

class AutomationImport : public ::testing::Test {
protected:
    std::shared_ptr<TFakeWordLog> log = std::make_shared<TFakeWordLog>();
    TAutomationRegistry registry;

    void SetUp() override { RegisterFakeWord(registry, log); }
};

TEST_F(AutomationImport, ReportDocTakesTheDocumentBranchWithTheNineCalls) {
    const std::string name = "/home/user/Reports/Report.DOC";
    // Paragraphs end in CR in the server's text; the pane is given them as lines.
    EXPECT_EQ(LoadArticleText(name, registry), u"First paragraph\r\nSecond paragraph");
    EXPECT_EQ(log->created, 1);
    ExpectCalls(log->calls, NineCalls(u"/home/user/Reports/Report.DOC"));
    EXPECT_TRUE(log->application.expired());
}

TEST_F(AutomationImport, TheBranchTestIsASubstringTestOnTheLowerCasedPath) {
    EXPECT_TRUE(IsWordDocumentName("Report.DOC"));
    EXPECT_TRUE(IsWordDocumentName("/x/thesis.docx"));
    EXPECT_TRUE(IsWordDocumentName("/x/Old.Doc.Files/notes.txt"));
    EXPECT_TRUE(IsWordDocumentName("a.DocM"));
    EXPECT_FALSE(IsWordDocumentName("/x/notes.txt"));
    EXPECT_FALSE(IsWordDocumentName("/x/template.dot"));
    EXPECT_FALSE(IsWordDocumentName("/x/doc/notes"));

    QTemporaryDir dir;
    const std::string path = dir.filePath("plain.txt").toStdString();
    std::ofstream(path, std::ios::binary) << "Plain\xA0text\nsecond line";
    EXPECT_EQ(LoadArticleText(path, registry), u"Plain\u00A0text\r\nsecond line");
    EXPECT_EQ(log->created, 0);
}

TEST_F(AutomationImport, AFailureAtEveryStepStillQuitsTheServer) {
    const std::u16string name = u"/tmp/Report.doc";
    for (int step = 1; step <= 9; ++step) {
        SCOPED_TRACE("failing step " + std::to_string(step));
        log->calls.clear();
        log->steps = 0;
        log->failAtStep = step;
        try {
            ReadDocumentLines(registry, "/tmp/Report.doc");
            ADD_FAILURE() << "no failure reported";
        } catch (const EOleError& e) {
            EXPECT_EQ(std::string(e.what()), "Fake failure at step " + std::to_string(step));
        }
        EXPECT_TRUE(log->application.expired());
        if (step == 1) {
            EXPECT_TRUE(log->calls.empty());
            continue;
        }
        // The calls up to the failing one, then Quit(false) exactly once.
        auto expected = NineCalls(name);
        expected.resize(static_cast<std::size_t>(step - 1));
        if (step < 9) expected.push_back({"Application", "Quit", ikMethod, {false}});
        ExpectCalls(log->calls, expected);
    }
}

TEST_F(AutomationImport, AMissingServerIsAClearError) {
    TAutomationRegistry empty;
    try {
        LoadArticleText("/tmp/Report.doc", empty);
        ADD_FAILURE() << "no failure reported";
    } catch (const EOleSysError& e) {
        EXPECT_NE(std::string(e.what()).find("\"Word.Application\""), std::string::npos) << e.what();
    }
}

TEST(ArticleImportLines, SplitLinesLikeAPanesLines) {
    using V = std::vector<std::u16string>;
    EXPECT_EQ(SplitLines(u""), V{});
    EXPECT_EQ(SplitLines(u"a"), V{u"a"});
    EXPECT_EQ(SplitLines(u"a\r"), V{u"a"});
    EXPECT_EQ(SplitLines(u"a\rb\r"), (V{u"a", u"b"}));
    EXPECT_EQ(SplitLines(u"a\r\rb"), (V{u"a", u"", u"b"}));
    EXPECT_EQ(SplitLines(u"a\r\nb\nc"), (V{u"a", u"b", u"c"}));
    EXPECT_EQ(SplitLines(u"\r"), V{u""});
}

}  // namespace
