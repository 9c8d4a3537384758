// Saves a picture of the window branded by a deployment folder. The folder is
// copied beside nothing: the window reads it from a temporary program
// directory, and the update check stays off.
//   deploy_screenshot DEPLOYMENT-FOLDER OUT.png [MILLISECONDS]

#include "app/MainWindow.h"
#include "app/RaspApplication.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    rasp::TRaspApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DEPLOYMENT-FOLDER OUT.png [MILLISECONDS]\n", argv[0]);
        return 2;
    }
    const QDir source(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir programDir;
    if (!source.exists() || !programDir.isValid()) {
        std::fprintf(stderr, "cannot use %s\n", argv[1]);
        return 1;
    }
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), QDir(programDir.path()).filePath(name));

    rasp::TMainWindowOptions options;
    options.ProgramDir = programDir.path();
    options.CheckUpdates = false;
    rasp::TfrmMain window(options);
    window.show();
    const QDeadlineTimer deadline(argc > 3 ? std::atoi(argv[3]) : 1500);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: %s\n", argv[2], qPrintable(window.windowTitle()));
    return 0;
}
