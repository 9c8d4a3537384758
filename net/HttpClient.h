#pragma once
// The blocking HTTP/1.1 client of the update check.
//
// `Get` waits for the whole answer in a local event loop, so the window keeps
// handling its messages (painting, clicks, closing) while a request is in
// flight. There is no read time-out: the request waits until the server
// answers, the caller aborts it, the client is destroyed or the application is
// told to quit. Redirects are followed and cookies kept for the client's life.

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>

#include <stdexcept>

class QIODevice;
class QNetworkReply;

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

    bool Busy() const { return !FReply.isNull(); }

    // Longest body accepted, in bytes; 0 (the default) means no limit.
    void SetMaxBodySize(qint64 bytes) { FMaxBodySize = bytes; }

private:
    QNetworkAccessManager FManager;
    QPointer<QNetworkReply> FReply;
    bool FAbortRequested = false;
    qint64 FMaxBodySize = 0;
};

} // namespace rasp
