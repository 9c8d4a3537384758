#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "platform/pane/MemoryRichTextPane.h"

namespace rasp {
namespace {

TEST(MemoryPane, SetTextNotifiesOnlyOnChange) {
    TMemoryRichTextPane pane;
    int changes = 0;
    pane.SetOnChange([&] { ++changes; });
    pane.SetText(u"abc");
    pane.SetText(u"abc");
    EXPECT_EQ(changes, 1);
    pane.Clear();
    pane.Clear();
    EXPECT_EQ(changes, 2);
}

TEST(MemoryPane, ReplaceSelectionAppends) {
    TMemoryRichTextPane pane;
    pane.SetText(u"ab");
    pane.Select(2, 0);
    pane.SetSelBackColor(0x00FFFF);
    pane.ReplaceSelection(u"cd");
    pane.ReplaceSelection(u"ef");
    EXPECT_EQ(pane.Text(), u"abcdef");
    EXPECT_EQ(pane.SelStart(), 6);
    EXPECT_EQ(pane.CharFormat(1).BackColor, clWhite);
    EXPECT_EQ(pane.CharFormat(5).BackColor, 0x00FFFFu);
    pane.Select(1, 4);
    pane.ReplaceSelection(u"X");
    EXPECT_EQ(pane.Text(), u"aXf");
    EXPECT_EQ(pane.Formats().size(), 3u);
}

TEST(MemoryPane, FindIgnoresCaseAndClampsTheRange) {
    TMemoryRichTextPane pane;
    pane.SetText(u"Hello \u00C9T\u00C9 world");
    EXPECT_EQ(pane.FindText(u"WORLD", 0, 100), 10);
    EXPECT_EQ(pane.FindText(u"\u00E9t\u00E9", 0, 15), 6);
    EXPECT_EQ(pane.FindText(u"hello", 1, 15), -1);
    EXPECT_EQ(pane.FindText(u"world", 0, 14), -1);  // range ends inside it
    EXPECT_EQ(pane.FindText(u"o", -5, 2000), 4);
    EXPECT_EQ(pane.FindText(u"", 0, 15), -1);
}

TEST(MemoryPane, LinesTextLength) {
    TMemoryRichTextPane pane;
    EXPECT_EQ(pane.LinesTextLength(), 0);
    pane.SetText(u"abc");
    EXPECT_EQ(pane.LinesTextLength(), 5);
    pane.SetText(u"abc\r\n");
    EXPECT_EQ(pane.LinesTextLength(), 5);
    pane.SetText(u"abc\r\n\r\nd");
    EXPECT_EQ(pane.LinesTextLength(), 10);
    pane.SetLinesText({u"one\n", u"two\r\n", u"three"});
    EXPECT_EQ(pane.Text(), u"one\r\ntwo\r\nthree");
}

TEST(MemoryPane, PasteAndLoad) {
    TMemoryRichTextPane pane;
    pane.SetClipboardText(u"x\ny");
    pane.PastePlainText();
    EXPECT_EQ(pane.Text(), u"x\r\ny");

    const std::string path = ::testing::TempDir() + "rasp_pane_load.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "caf\xE9\n";
    }
    pane.LoadFromFile(path);
    EXPECT_EQ(pane.Text(), u"caf\u00E9\r\n");
    std::remove(path.c_str());
    try {
        pane.LoadFromFile(path);
        FAIL() << "loading a missing file succeeded";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Failed to Load Stream");
    }
    EXPECT_EQ(pane.Text(), u"caf\u00E9\r\n");  // nothing lost
}

}  // namespace
}  // namespace rasp
