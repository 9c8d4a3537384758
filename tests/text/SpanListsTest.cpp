#include <gtest/gtest.h>

#include <stdexcept>

#include "text/SpanLists.h"

namespace rasp {
namespace {

TEST(SpanLists, AddAndKey) {
    TListWords words;
    words.AddWord(5, 9, 0xFFFF00);
    words.AddWord(1, 2, 0xFFFFFF);
    ASSERT_EQ(words.Count(), 2);
    EXPECT_EQ(words.Key(0), "5");
    EXPECT_EQ(words[0].StartPos, 5);
    EXPECT_EQ(words[0].EndPos, 9);
    EXPECT_EQ(words[0].Color, 0xFFFF00u);
    EXPECT_EQ(words[1].EndPos - words[1].StartPos, 1);

    TListSentences sentences;
    sentences.AddSentence(3, 3);
    EXPECT_EQ(sentences.Key(0), "3");
    EXPECT_EQ(sentences[0].FirstWord, sentences[0].LastWord);

    TListParagraphs paragraphs;
    paragraphs.AddParagraph(0, 7);
    EXPECT_EQ(paragraphs.Key(0), "0");
    EXPECT_EQ(paragraphs[0].LastWord, 7);
    EXPECT_THROW(paragraphs.At(1), std::out_of_range);
}

TEST(SpanLists, ClearAll) {
    TListWords words;
    words.ClearAll();
    EXPECT_EQ(words.Count(), 0);
    for (int i = 1; i <= 100; ++i) words.AddWord(i, i + 1, 0xFFFFFF);
    words.ClearAll();
    EXPECT_EQ(words.Count(), 0);
    EXPECT_TRUE(words.Empty());
    words.AddWord(1, 2, 0xFFFFFF);
    EXPECT_EQ(words.Count(), 1);
}

}  // namespace
}  // namespace rasp
