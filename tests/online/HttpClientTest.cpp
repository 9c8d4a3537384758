#include "net/HttpClient.h"
#include "tests/online/TestHttpServer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace rasp {
namespace {

using test::TAnswer;
using test::TTestHttpServer;

// Runs Get and returns the body, or the exception's kind and text.
struct TOutcome {
    QByteArray body;
    bool failed = false;
    bool aborted = false;
    std::string message;
};

TOutcome Fetch(THttpClient& client, const QString& url)
{
    TOutcome out;
    QBuffer buffer(&out.body);
    buffer.open(QIODevice::WriteOnly);
    try {
        client.Get(url, buffer);
    } catch (const EHttpAborted& e) {
        out.failed = out.aborted = true;
        out.message = e.what();
    } catch (const EHttpError& e) {
        out.failed = true;
        out.message = e.what();
    }
    return out;
}

TEST(HttpClient, FetchesBodyAndSendsTheThreeHeaders)
{
    TTestHttpServer server;
    server.SetOk("/liveupdate/tellivo_rasp/mainappupdate.inf", "[APPLICATION]\r\nVersion=1.02\r\n");
    THttpClient client;
    const TOutcome out = Fetch(client, server.Url("/liveupdate/tellivo_rasp/mainappupdate.inf"));
    ASSERT_FALSE(out.failed) << out.message;
    EXPECT_EQ(out.body, "[APPLICATION]\r\nVersion=1.02\r\n");
    ASSERT_EQ(server.Requests().size(), 1);
    const auto& request = server.Requests().front();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.Header("User-Agent"), "Mozilla/3.0 (compatible; Tellivo Rasp)");
    EXPECT_EQ(request.Header("Accept"), "text/html, */*");
    EXPECT_EQ(request.Header("Content-Type"), "text/html");
    EXPECT_FALSE(client.Busy());
}

TEST(HttpClient, StatusOutsideSuccessRangeIsAnErrorAndItsBodyIsNotWritten)
{
    TTestHttpServer server;
    server.Set("/gone", {"HTTP/1.1 500 Oops\r\nContent-Length: 11\r\n\r\nserver says"});
    server.Set("/nocontent", {"HTTP/1.1 204 No Content\r\n\r\n"});
    THttpClient client;
    for (const char* path : {"/missing", "/gone"}) {
        const TOutcome out = Fetch(client, server.Url(path));
        EXPECT_TRUE(out.failed) << path;
        EXPECT_FALSE(out.aborted) << path;
        EXPECT_TRUE(out.body.isEmpty()) << path;
    }
    const TOutcome empty = Fetch(client, server.Url("/nocontent"));
    EXPECT_FALSE(empty.failed) << empty.message;
    EXPECT_TRUE(empty.body.isEmpty());
}

TEST(HttpClient, FollowsRedirectsAndKeepsCookies)
{
    TTestHttpServer server;
    server.Set("/old", {"HTTP/1.1 302 Found\r\nLocation: /new\r\nSet-Cookie: session=abc; Path=/\r\n"
                        "Content-Length: 5\r\n\r\nmoved"});
    server.SetOk("/new", "the file");
    THttpClient client;
    const TOutcome out = Fetch(client, server.Url("/old"));
    ASSERT_FALSE(out.failed) << out.message;
    EXPECT_EQ(out.body, "the file");
    ASSERT_EQ(server.Requests().size(), 2);
    EXPECT_EQ(server.Requests()[1].path, "/new");
    EXPECT_EQ(server.Requests()[1].Header("Cookie"), "session=abc");
    EXPECT_EQ(server.Requests()[1].Header("User-Agent"), "Mozilla/3.0 (compatible; Tellivo Rasp)");

    // The cookie stays for later requests of the same client.
    (void)Fetch(client, server.Url("/new"));
    EXPECT_EQ(server.Requests().back().Header("Cookie"), "session=abc");

    server.Set("/loop", {"HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 0\r\n\r\n"});
    const TOutcome loop = Fetch(client, server.Url("/loop"));
    EXPECT_TRUE(loop.failed);
}

TEST(HttpClient, BrokenTransfersAndBadAnswersFail)
{
    TTestHttpServer server;
    server.Set("/cut", {"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nConnection: close\r\n\r\n"
                        "[APPLICATION]\r\nVer"});
    server.Set("/garbage", {"\x01\x02 this is not HTTP at all\r\n\r\n"});
    server.Set("/badstatus", {"HTTP/1.1 abc\r\nContent-Length: 2\r\n\r\nhi"});
    server.Set("/silentclose", {QByteArray()});
    server.Set("/chunked", {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
                            "5\r\nhello\r\n6\r\n world\r\n0\r\n\r\n"});
    THttpClient client;
    const TOutcome chunked = Fetch(client, server.Url("/chunked"));
    EXPECT_FALSE(chunked.failed) << chunked.message;
    EXPECT_EQ(chunked.body, "hello world");
    for (const char* path : {"/cut", "/badstatus", "/silentclose"}) {
        const TOutcome out = Fetch(client, server.Url(path));
        EXPECT_TRUE(out.failed) << path;
    }
    // Whatever the client makes of a reply that is not HTTP, it must return
    // and must not take it for a file.
    const TOutcome garbage = Fetch(client, server.Url("/garbage"));
    EXPECT_TRUE(garbage.failed);

    const TOutcome refused =
        Fetch(client, QStringLiteral("http://127.0.0.1:%1/x").arg(TTestHttpServer::ClosedPort()));
    EXPECT_TRUE(refused.failed);
    EXPECT_FALSE(refused.aborted);
}

TEST(HttpClient, RefusesWhatIsNotAnAbsoluteHttpUrl)
{
    THttpClient client;
    for (const char* url : {"", "mainappupdate.inf", "file:///etc/passwd", "ftp://127.0.0.1/x",
                            "http://", "http://exa mple/"}) {
        const TOutcome out = Fetch(client, QString::fromLatin1(url));
        EXPECT_TRUE(out.failed) << url;
    }
}

TEST(HttpClient, OversizedBodyAndUnwritableStreamFail)
{
    TTestHttpServer server;
    server.SetOk("/big", QByteArray(5000, 'x'));
    THttpClient client;
    client.SetMaxBodySize(4096);
    EXPECT_TRUE(Fetch(client, server.Url("/big")).failed);
    client.SetMaxBodySize(5000);
    EXPECT_EQ(Fetch(client, server.Url("/big")).body.size(), 5000);

    QByteArray data;
    QBuffer readOnly(&data);
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_THROW(client.Get(server.Url("/big"), readOnly), EHttpError);
}

TEST(HttpClient, HangingRequestEndsByAbortOrDisconnect)
{
    TTestHttpServer server;
    server.Set("/hang", {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial", true});
    THttpClient client;
    QTimer::singleShot(100, &client, [&client] { client.Abort(); });
    TOutcome out = Fetch(client, server.Url("/hang"));
    EXPECT_TRUE(out.aborted);

    QTimer::singleShot(100, &client, [&client] { client.Disconnect(); });
    out = Fetch(client, server.Url("/hang"));
    EXPECT_TRUE(out.aborted);
    EXPECT_FALSE(client.Busy());

    // The client is usable again afterwards.
    server.SetOk("/fine", "ok");
    EXPECT_EQ(Fetch(client, server.Url("/fine")).body, "ok");
}

TEST(HttpClient, DestroyingTheOwnerWhileWaitingEndsTheRequestCleanly)
{
    TTestHttpServer server;
    server.Set("/hang", {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial", true});
    auto owner = std::make_unique<QObject>();
    auto* client = new THttpClient(owner.get()); // owned by its parent
    QTimer::singleShot(100, [&owner] { owner.reset(); });
    QByteArray body;
    QBuffer buffer(&body);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_THROW(client->Get(server.Url("/hang"), buffer), EHttpAborted);
    EXPECT_EQ(owner, nullptr);
}

TEST(HttpClient, QuittingTheApplicationEndsAWaitingRequest)
{
    TTestHttpServer server;
    server.Set("/hang", {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial", true});
    THttpClient client;
    TOutcome out;
    QTimer::singleShot(0, [&] { out = Fetch(client, server.Url("/hang")); });
    QTimer::singleShot(100, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    EXPECT_TRUE(out.aborted);
    EXPECT_FALSE(client.Busy());
}

} // namespace
} // namespace rasp

namespace rasp {
namespace {

// Answers that end too early: each must fail at once, as soon as the server
// closes, not wait for a time-out (the time-outs here are far longer).
TEST(HttpClient, AConnectionClosedBeforeTheAnswerIsCompleteIsAnError)
{
    TTestHttpServer server;
    const QByteArray chunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
    // The last chunk without the CR LF that ends the answer: this used to
    // leave the request waiting for ever.
    server.Set("/lastchunk", {chunkedHead + "5\r\nhello\r\n0\r\n"});
    server.Set("/nolastchunk", {chunkedHead + "5\r\nhello\r\n"});
    server.Set("/midchunk", {chunkedHead + "a\r\nhel"});
    server.Set("/midsize", {chunkedHead + "5"});
    server.Set("/midheader", {"HTTP/1.1 200 OK\r\nContent-Len"});
    server.Set("/short", {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\nConnection: close\r\n\r\n12345"});
    server.Set("/badchunk", {chunkedHead + "zz\r\nhello\r\n0\r\n\r\n"});
    THttpClient client;
    client.SetTimeouts(20000, 30000);
    for (const char* path : {"/lastchunk", "/nolastchunk", "/midchunk", "/midsize", "/midheader", "/short", "/badchunk"}) {
        QElapsedTimer clock;
        clock.start();
        const TOutcome out = Fetch(client, server.Url(path));
        EXPECT_TRUE(out.failed) << path;
        EXPECT_FALSE(out.aborted) << path;
        EXPECT_LT(clock.elapsed(), 5000) << path;
        EXPECT_FALSE(client.Busy()) << path;
    }
    // A body that runs to the close is whole when the server closes.
    server.Set("/toclose", {"HTTP/1.0 200 OK\r\n\r\n[APPLICATION]\r\nVersion=1.02\r\n"});
    server.Set("/trailers", {chunkedHead + "3\r\nabc\r\n0\r\nX-Check: 1\r\n\r\n"});
    EXPECT_EQ(Fetch(client, server.Url("/toclose")).body, "[APPLICATION]\r\nVersion=1.02\r\n");
    EXPECT_EQ(Fetch(client, server.Url("/trailers")).body, "abc");
    // The client is still good for the next request.
    server.SetOk("/fine", "ok");
    EXPECT_EQ(Fetch(client, server.Url("/fine")).body, "ok");
}

TEST(HttpClient, AServerThatStopsSendingOrNeverFinishesTimesOut)
{
    TTestHttpServer server;
    server.Set("/stalls", {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial", true});
    server.Set("/mute", {QByteArray(), true});
    THttpClient client;
    client.SetTimeouts(300, 5000);
    for (const char* path : {"/stalls", "/mute"}) {
        QElapsedTimer clock;
        clock.start();
        const TOutcome out = Fetch(client, server.Url(path));
        EXPECT_TRUE(out.failed) << path;
        EXPECT_FALSE(out.aborted) << path;
        EXPECT_GE(clock.elapsed(), 250) << path;
        EXPECT_LT(clock.elapsed(), 3000) << path;
    }

    // A server that keeps sending a byte now and then never trips the idle
    // time-out; the overall one ends it.
    QTcpServer trickle;
    ASSERT_TRUE(trickle.listen(QHostAddress::LocalHost));
    QTimer drip;
    QList<QTcpSocket*> peers;
    QObject::connect(&trickle, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* peer = trickle.nextPendingConnection()) {
            peers.push_back(peer);
            peer->write("HTTP/1.1 200 OK\r\nX-Slow: ");
        }
    });
    QObject::connect(&drip, &QTimer::timeout, [&] {
        for (QTcpSocket* peer : peers)
            peer->write("a");
    });
    drip.start(50);
    client.SetTimeouts(400, 1200);
    QElapsedTimer clock;
    clock.start();
    const TOutcome out = Fetch(client, QStringLiteral("http://127.0.0.1:%1/slow").arg(trickle.serverPort()));
    EXPECT_TRUE(out.failed);
    EXPECT_FALSE(out.aborted);
    EXPECT_GE(clock.elapsed(), 1100);
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_EQ(out.message, "The request took too long.");
}

} // namespace
} // namespace rasp
