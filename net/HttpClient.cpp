#include "net/HttpClient.h"

#include "net/HttpAnswerParser.h"

#include <QDateTime>
#include <QEventLoop>
#include <QIODevice>
#include <QNetworkCookie>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace rasp {
namespace {

bool IsSuccess(int status) { return status >= 200 && status <= 299; }
bool IsRedirect(int status) { return status == 301 || status == 302 || status == 303 || status == 307 || status == 308; }

bool IsHttpUrl(const QUrl& url)
{
    return url.isValid() && !url.host().isEmpty()
        && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

QByteArray RequestFor(const QUrl& url, const QList<QNetworkCookie>& cookies)
{
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (url.hasQuery())
        target += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    const int defaultPort = url.scheme() == QLatin1String("https") ? 443 : 80;
    if (url.port(defaultPort) != defaultPort)
        host += ':' + QByteArray::number(url.port());

    QByteArray request = "GET " + target + " HTTP/1.1\r\n";
    request += "Host: " + host + "\r\n";
    request += QByteArray("User-Agent: ") + THttpClient::UserAgent + "\r\n";
    request += QByteArray("Accept: ") + THttpClient::Accept + "\r\n";
    request += QByteArray("Content-Type: ") + THttpClient::ContentType + "\r\n";
    if (!cookies.isEmpty()) {
        QByteArray line;
        for (const QNetworkCookie& c : cookies) {
            if (!line.isEmpty())
                line += "; ";
            line += c.toRawForm(QNetworkCookie::NameAndValueOnly);
        }
        request += "Cookie: " + line + "\r\n";
    }
    // One request per connection: the end of the answer never depends on a
    // connection being reused.
    request += "Connection: close\r\n\r\n";
    return request;
}

} // namespace

THttpClient::THttpClient(QObject* parent)
    : QObject(parent)
{
}

THttpClient::~THttpClient()
{
    // Wakes a Get waiting further down the stack; it notices that the client
    // is gone and throws without touching it.
    if (FLoop)
        FLoop->quit();
}

void THttpClient::Get(const QString& url, QIODevice& stream)
{
    if (FLoop)
        throw EHttpError("Another request is still in progress.");
    QUrl target(url, QUrl::StrictMode);
    if (!IsHttpUrl(target))
        throw EHttpError(("Not an absolute http URL: " + url).toStdString());

    FAbortRequested = false;
    const qint64 deadline = QDateTime::currentMSecsSinceEpoch() + FTotalTimeoutMs;
    for (int redirects = 0;; ++redirects) {
        QString location;
        const int status = Fetch(target, stream, location, deadline);
        if (IsSuccess(status))
            return;
        if (!IsRedirect(status) || location.isEmpty())
            throw EHttpError(QStringLiteral("The server answered with status %1.").arg(status).toStdString());
        if (redirects >= MaxRedirects)
            throw EHttpError("Too many redirects.");
        const QUrl next = target.resolved(QUrl(location));
        // Never from https down to http.
        if (!IsHttpUrl(next) || (target.scheme() == QLatin1String("https") && next.scheme() != target.scheme())
            || (FRedirectFilter && !FRedirectFilter(next)))
            throw EHttpError(("Refused redirect to " + location).toStdString());
        target = next;
    }
}

int THttpClient::Fetch(const QUrl& url, QIODevice& stream, QString& location, qint64 deadline)
{
    const bool secure = url.scheme() == QLatin1String("https");
    std::unique_ptr<QTcpSocket> socket;
    if (secure) {
        if (!QSslSocket::supportsSsl())
            throw EHttpError("This system offers no TLS for https.");
        socket = std::make_unique<QSslSocket>();
    } else {
        socket = std::make_unique<QTcpSocket>();
    }

    QPointer<THttpClient> self(this);
    QEventLoop loop;
    FLoop = &loop;
    THttpAnswerParser answer;
    QString failure;
    qint64 written = 0;
    const qint64 maxBody = FMaxBodySize;
    auto fail = [&](const QString& why) {
        if (failure.isEmpty())
            failure = why;
        loop.quit();
    };
    answer.OnBody = [&](std::string_view bytes) {
        // An error page or a redirect's body is not the file.
        if (!IsSuccess(answer.Status()) || !failure.isEmpty())
            return;
        if (maxBody > 0 && written + qint64(bytes.size()) > maxBody) {
            fail(QStringLiteral("The answer is larger than %1 bytes.").arg(maxBody));
            return;
        }
        if (stream.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
            fail(QStringLiteral("Could not store the answer: ") + stream.errorString());
            return;
        }
        written += qint64(bytes.size());
    };

    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(FIdleTimeoutMs);
    QTimer total;
    total.setSingleShot(true);
    total.setInterval(int(std::max<qint64>(0, deadline - QDateTime::currentMSecsSinceEpoch())));
    QObject::connect(&idle, &QTimer::timeout, &loop, [&, ms = FIdleTimeoutMs] {
        fail(QStringLiteral("The server sent nothing for %1 seconds.").arg(ms / 1000.0));
    });
    QObject::connect(&total, &QTimer::timeout, &loop, [&] { fail(QStringLiteral("The request took too long.")); });

    QTcpSocket* s = socket.get();
    auto readAll = [&answer, &idle, &loop, s] {
        idle.start();
        const QByteArray bytes = s->readAll();
        answer.Feed(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        if (answer.Done() || answer.Failed())
            loop.quit();
    };
    const QByteArray request = RequestFor(url, FCookies.cookiesForUrl(url));
    auto send = [&idle, s, &request] {
        idle.start();
        s->write(request);
    };
    if (secure)
        QObject::connect(static_cast<QSslSocket*>(s), &QSslSocket::encrypted, &loop, send);
    else
        QObject::connect(s, &QTcpSocket::connected, &loop, send);
    QObject::connect(s, &QTcpSocket::bytesWritten, &loop, [&idle] { idle.start(); });
    QObject::connect(s, &QTcpSocket::readyRead, &loop, readAll);
    QObject::connect(s, &QTcpSocket::disconnected, &loop, [&answer, &loop, s] {
        const QByteArray rest = s->readAll();
        answer.Feed(std::string_view(rest.constData(), std::size_t(rest.size())));
        answer.Finish();
        loop.quit();
    });
    QObject::connect(s, &QTcpSocket::errorOccurred, &loop, [&answer, &fail, s](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::RemoteHostClosedError)
            return;  // the disconnect tells whether the answer was whole
        if (answer.Done())
            return;
        fail(s->errorString());
    });

    idle.start();
    total.start();
    if (secure)
        static_cast<QSslSocket*>(s)->connectToHostEncrypted(url.host(), quint16(url.port(443)));
    else
        s->connectToHost(url.host(), quint16(url.port(80)));
    loop.exec();

    if (!self) // destroyed while waiting
        throw EHttpAborted("The request was cancelled.");
    FLoop = nullptr;
    QObject::disconnect(s, nullptr, &loop, nullptr);
    socket->abort();
    if (FAbortRequested)
        throw EHttpAborted("The request was cancelled.");
    if (!failure.isEmpty())
        throw EHttpError(failure.toStdString());
    if (answer.Failed())
        throw EHttpError(answer.Error());
    if (!answer.Done()) // the loop was ended from outside, e.g. by the application quitting
        throw EHttpAborted("The request was cancelled.");

    for (const std::string& cookie : answer.Headers("Set-Cookie"))
        FCookies.setCookiesFromUrl(QNetworkCookie::parseCookies(QByteArray::fromStdString(cookie)), url);
    location = QString::fromStdString(answer.Header("Location"));
    return answer.Status();
}

void THttpClient::Abort()
{
    if (FLoop) {
        FAbortRequested = true;
        FLoop->quit();
    }
}

void THttpClient::Disconnect()
{
    // Every request has its own connection, closed when it ends.
    Abort();
}

} // namespace rasp
