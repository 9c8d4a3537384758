#pragma once
// A scripted HTTP server on 127.0.0.1 for the online tests. It runs on the
// test's own thread, which is enough because the client under test waits in
// an event loop of its own.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace rasp::test {

struct TAnswer {
    QByteArray raw;        // written as it stands: status line, headers, body
    bool hang = false;     // keep the connection open and never finish
    int delayMs = 0;       // answer only after this long
};

struct TRequest {
    QByteArray method;
    QByteArray path;
    QByteArray head; // request line and headers as received

    QByteArray Header(const QByteArray& name) const;
};

class TTestHttpServer : public QObject {
    Q_OBJECT
public:
    TTestHttpServer();

    quint16 Port() const { return FServer.serverPort(); }
    QString Url(const QString& path) const;

    // Answers for a path; paths without an answer get a 404.
    void Set(const QByteArray& path, TAnswer answer) { FAnswers[path] = std::move(answer); }
    // A complete 200 answer with the given body.
    void SetOk(const QByteArray& path, const QByteArray& body,
               const QByteArray& extraHeaders = {});

    const QList<TRequest>& Requests() const { return FRequests; }

    // A port on 127.0.0.1 where nothing listens.
    static quint16 ClosedPort();

    static QByteArray Ok(const QByteArray& body, const QByteArray& extraHeaders = {});

private:
    void OnConnection();
    void OnReadable(QTcpSocket* socket);
    static void Respond(QTcpSocket* socket, const TAnswer& answer);

    QTcpServer FServer;
    QHash<QByteArray, TAnswer> FAnswers;
    QList<TRequest> FRequests;
    QHash<QTcpSocket*, QByteArray> FPending;
};

} // namespace rasp::test
