#pragma once
// The blocking HTTP/1.1 client of the update check.
//
// `Get` waits for the whole answer in a local event loop, so the window keeps
// handling its messages (painting, clicks, closing) while a request is in
// flight. A request ends when the answer is complete, when the server sends
// nothing for a while or the whole request takes too long (both errors), when
// the connection closes before the answer is complete (an error), or when the
// caller aborts it, the client is destroyed or the application is told to
// quit. Redirects are followed and cookies kept for the client's life.

#include <QNetworkCookieJar>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <stdexcept>

class QEventLoop;
class QIODevice;
class QUrl;

namespace rasp {

// Any failed request: unreachable server, a status outside 200-299, a broken
// transfer, a stream that would not take the body.
class EHttpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The request was abandoned on purpose (`Abort`, `Disconnect`, the owner went
// away or the application is quitting) rather than failing on its own.
class EHttpAborted : public EHttpError {
public:
    using EHttpError::EHttpError;
};

class THttpClient : public QObject {
    Q_OBJECT
public:
    // Sent with every request.
    static constexpr const char* UserAgent = "Mozilla/3.0 (compatible; Tellivo Rasp)";
    static constexpr const char* Accept = "text/html, */*";
    static constexpr const char* ContentType = "text/html";

    explicit THttpClient(QObject* parent = nullptr);
    ~THttpClient() override;

    // GETs an absolute http(s) URL and writes the body of a successful answer
    // to stream. Throws EHttpError (EHttpAborted when cancelled); a body that
    // came with an error status is never written. The client may have been
    // destroyed when this throws EHttpAborted: the caller must not touch it
    // without checking.
    void Get(const QString& url, QIODevice& stream);

    // Abandons a request in flight and closes the kept-alive connections.
    void Disconnect();
    // Abandons a request in flight.
    void Abort();

    bool Busy() const { return !FLoop.isNull(); }

    // Longest body accepted, in bytes; 0 (the default) means no limit.
    void SetMaxBodySize(qint64 bytes) { FMaxBodySize = bytes; }

    // A request fails when the server sends nothing for idleMs, or when it
    // takes longer than totalMs in all (redirects included).
    static constexpr int DefaultIdleTimeoutMs = 30000;
    static constexpr int DefaultTotalTimeoutMs = 120000;
    void SetTimeouts(int idleMs, int totalMs)
    {
        FIdleTimeoutMs = idleMs;
        FTotalTimeoutMs = totalMs;
    }

    static constexpr int MaxRedirects = 10;

    // Redirects to addresses the filter refuses fail the request (tests and
    // fuzzing keep the client on their own server so).
    void SetRedirectFilter(std::function<bool(const QUrl&)> filter) { FRedirectFilter = std::move(filter); }

private:
    // One request and its answer; the redirect target, if any, in `location`.
    int Fetch(const QUrl& url, QIODevice& stream, QString& location, qint64 deadline);

    QNetworkCookieJar FCookies;
    QPointer<QEventLoop> FLoop;
    bool FAbortRequested = false;
    qint64 FMaxBodySize = 0;
    int FIdleTimeoutMs = DefaultIdleTimeoutMs;
    int FTotalTimeoutMs = DefaultTotalTimeoutMs;
    std::function<bool(const QUrl&)> FRedirectFilter;
};

} // namespace rasp
