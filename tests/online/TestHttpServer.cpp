#include "tests/online/TestHttpServer.h"

#include <QHostAddress>
#include <QTimer>

#include <stdexcept>

namespace rasp::test {

QByteArray TRequest::Header(const QByteArray& name) const
{
    for (const QByteArray& line : head.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

TTestHttpServer::TTestHttpServer()
{
    if (!FServer.listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("test server cannot listen on 127.0.0.1");
    connect(&FServer, &QTcpServer::newConnection, this, &TTestHttpServer::OnConnection);
}

QString TTestHttpServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(Port()).arg(path);
}

QByteArray TTestHttpServer::Ok(const QByteArray& body, const QByteArray& extraHeaders)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n" + extraHeaders + "\r\n" + body;
}

void TTestHttpServer::SetOk(const QByteArray& path, const QByteArray& body,
                            const QByteArray& extraHeaders)
{
    Set(path, {Ok(body, extraHeaders)});
}

quint16 TTestHttpServer::ClosedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void TTestHttpServer::OnConnection()
{
    while (QTcpSocket* socket = FServer.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket] { FPending.remove(socket); });
    }
}

void TTestHttpServer::OnReadable(QTcpSocket* socket)
{
    QByteArray& buffer = FPending[socket];
    buffer += socket->readAll();
    // Several requests may arrive on one kept-alive connection.
    for (int end = buffer.indexOf("\r\n\r\n"); end >= 0; end = buffer.indexOf("\r\n\r\n")) {
        TRequest request;
        request.head = buffer.left(end + 2);
        buffer.remove(0, end + 4);
        const QList<QByteArray> words = request.head.left(request.head.indexOf('\r')).split(' ');
        request.method = words.value(0);
        request.path = words.value(1);
        FRequests.append(request);

        const auto it = FAnswers.constFind(request.path);
        const TAnswer answer = it != FAnswers.constEnd()
            ? *it
            : TAnswer{"HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nNot found"};
        if (answer.delayMs > 0) {
            QTimer::singleShot(answer.delayMs, socket, [socket, answer] { Respond(socket, answer); });
            return;
        }
        Respond(socket, answer);
    }
}

void TTestHttpServer::Respond(QTcpSocket* socket, const TAnswer& answer)
{
    socket->write(answer.raw);
    if (!answer.hang && (!answer.raw.contains("Content-Length") || answer.raw.contains("Connection: close")))
        socket->disconnectFromHost();
}

} // namespace rasp::test
