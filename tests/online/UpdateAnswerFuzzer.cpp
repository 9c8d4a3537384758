// The update check against a server on 127.0.0.1 whose whole answer is the
// fuzz input: the HTTP client reads it, the check reads the description it
// stored and compares the version. Every input must end the check (short
// time-outs keep a stalled answer bounded) without a crash.

#include "app/UpdateChecker.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdint>
#include <cstdlib>

namespace {

struct TWorld {
    int argc = 1;
    char name[16] = "update_fuzzer";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    QTemporaryDir programDir;
    QTcpServer server;
    QByteArray answer;

    TWorld()
    {
        if (!programDir.isValid() || !server.listen(QHostAddress::LocalHost))
            std::abort();
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* peer = server.nextPendingConnection()) {
                QObject::connect(peer, &QTcpSocket::disconnected, peer, &QObject::deleteLater);
                // The request is not looked at: every connection gets the answer.
                peer->write(answer);
                peer->disconnectFromHost();
            }
        });
    }
};

TWorld& World()
{
    static TWorld* world = new TWorld;  // lives for the whole run
    return *world;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TWorld& w = World();
    w.answer = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString base = QStringLiteral("http://127.0.0.1:%1/liveupdate/tellivo_rasp/").arg(w.server.serverPort());
    int boxes = 0;
    rasp::TUpdateChecker checker(
        nullptr, base, w.programDir.path(),
        [&boxes](const QString&, rasp::TMsgDlgType, rasp::TMsgDlgButtons, int) {
            ++boxes;
            return rasp::mrCancel;  // never hand over to an updater
        },
        [] {});
    checker.Http().SetTimeouts(100, 400);
    const quint16 port = w.server.serverPort();
    checker.Http().SetRedirectFilter([port](const QUrl& url) {
        return url.host() == QLatin1String("127.0.0.1") && url.port(80) == port;
    });
    checker.CheckForUpdates(false);
    if (checker.Checking() || boxes != 1)
        std::abort();  // the check must have ended with exactly one answer to the user
    return 0;
}
