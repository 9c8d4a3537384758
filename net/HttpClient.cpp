#include "net/HttpClient.h"

#include <QEventLoop>
#include <QIODevice>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <memory>

namespace rasp {
namespace {

int StatusOf(const QNetworkReply& reply)
{
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

bool IsSuccess(int status) { return status >= 200 && status <= 299; }

QNetworkRequest MakeRequest(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray(THttpClient::UserAgent));
    request.setRawHeader("Accept", THttpClient::Accept);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray(THttpClient::ContentType));
    request.setTransferTimeout(0);
    return request;
}

} // namespace

THttpClient::THttpClient(QObject* parent)
    : QObject(parent)
{
    FManager.setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    FManager.setCookieJar(new QNetworkCookieJar(&FManager)); // owned by the manager
}

THttpClient::~THttpClient()
{
    // Wakes a Get waiting further down the stack; it notices that the client
    // is gone and throws without touching it.
    if (FReply)
        FReply->abort();
}

void THttpClient::Get(const QString& url, QIODevice& stream)
{
    if (FReply)
        throw EHttpError("Another request is still in progress.");
    const QUrl target(url, QUrl::StrictMode);
    if (!target.isValid() || target.host().isEmpty()
        || (target.scheme() != QLatin1String("http") && target.scheme() != QLatin1String("https")))
        throw EHttpError(("Not an absolute http URL: " + url).toStdString());

    FAbortRequested = false;
    QPointer<THttpClient> self(this);
    std::unique_ptr<QNetworkReply> reply(FManager.get(MakeRequest(target)));
    FReply = reply.get();

    QString streamError;
    qint64 written = 0;
    const qint64 maxBody = FMaxBodySize;
    auto drain = [&] {
        if (!IsSuccess(StatusOf(*reply))) {
            reply->readAll(); // an error page is not the file
            return;
        }
        const QByteArray chunk = reply->readAll();
        if (chunk.isEmpty() || !streamError.isEmpty())
            return;
        if (maxBody > 0 && written + chunk.size() > maxBody) {
            streamError = QStringLiteral("The answer is larger than %1 bytes.").arg(maxBody);
            reply->abort();
            return;
        }
        if (stream.write(chunk) != chunk.size()) {
            streamError = QStringLiteral("Could not store the answer: ") + stream.errorString();
            reply->abort();
            return;
        }
        written += chunk.size();
    };

    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, drain);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The manager deletes its replies when the client is destroyed mid-wait.
    QObject::connect(reply.get(), &QObject::destroyed, &loop, [&reply, &loop] {
        (void)reply.release();
        loop.quit();
    });
    if (!reply->isFinished())
        loop.exec();

    if (!self || !reply) // destroyed while waiting: the reply went with it
        throw EHttpAborted("The request was cancelled.");
    FReply = nullptr;
    if (!reply->isFinished()) {
        // The loop was ended from outside, e.g. by the application quitting.
        reply->abort();
        throw EHttpAborted("The request was cancelled.");
    }
    if (FAbortRequested)
        throw EHttpAborted("The request was cancelled.");
    if (!streamError.isEmpty())
        throw EHttpError(streamError.toStdString());
    if (reply->error() != QNetworkReply::NoError)
        throw EHttpError(reply->errorString().toStdString());
    const int status = StatusOf(*reply);
    if (!IsSuccess(status))
        throw EHttpError(QStringLiteral("The server answered with status %1.").arg(status).toStdString());
    drain();
    if (!streamError.isEmpty())
        throw EHttpError(streamError.toStdString());
}

void THttpClient::Abort()
{
    if (FReply) {
        FAbortRequested = true;
        FReply->abort();
    }
}

void THttpClient::Disconnect()
{
    Abort();
    FManager.clearConnectionCache();
}

} // namespace rasp
