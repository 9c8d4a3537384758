// The answer parser on its own, where the client's tests through a socket
// cannot reach cheaply.

#include "net/HttpAnswerParser.h"

#include <gtest/gtest.h>

namespace rasp {
namespace {

TEST(HttpAnswerParser, FoldedLinesCannotGrowAHeaderWithoutEnd)
{
    // Each continuation line is short, and there is one field only; what
    // they add up to is held to the header's limit.
    THttpAnswerParser parser;
    parser.Feed("HTTP/1.1 200 OK\r\nX-Long: a\r\n");
    const std::string fold = " " + std::string(1000, 'b') + "\r\n";
    for (int k = 0; k < 70 && !parser.Failed(); ++k)
        parser.Feed(fold);
    EXPECT_TRUE(parser.Failed());
    EXPECT_EQ(parser.Error(), "The answer's header is too long.");

    // Just under the limit the answer is read, the folds joined by spaces.
    THttpAnswerParser fits;
    std::string body;
    fits.OnBody = [&body](std::string_view bytes) { body += bytes; };
    fits.Feed("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nX-Long: a\r\n");
    for (int k = 0; k < 60; ++k)
        fits.Feed(fold);
    fits.Feed("\r\nok");
    ASSERT_TRUE(fits.Done()) << fits.Error();
    EXPECT_EQ(body, "ok");
    EXPECT_EQ(fits.Header("x-long").size(), 1 + 60 * 1001);
}

} // namespace
} // namespace rasp
