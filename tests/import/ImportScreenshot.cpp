// Imports two files through the window's "Import" buttons and the open
// dialog, as a user would, prints how long each import took and saves
// pictures of the dialog and of the window afterwards:
//   xvfb-run -a build/tests/import/import_screenshot A.docx B.rtf window.png [dialog.png [details.png]]
// The dialog is pictured in the list view and, when asked, in the details view.

#include "app/MainWindow.h"
#include "app/RaspApplication.h"

#include <QElapsedTimer>
#include "skinctrls/TbsOpenDlgForm.h"
#include "skinctrls/TbsSkinButton.h"

#include <QFileInfo>
#include <QPixmap>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

// Picks `file` in the open dialog as soon as it shows, saving pictures of it first.
void PickInDialog(const QString& file, const QString& dialogPicture, const QString& detailsPicture) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto* dialog = qobject_cast<rasp::TbsOpenDlgForm*>(QApplication::activeModalWidget());
        if (!dialog) return;
        timer->stop();
        timer->deleteLater();
        dialog->OpenFolder(QFileInfo(file).absolutePath());
        dialog->SelectName(QFileInfo(file).fileName());
        QTest::qWait(200);
        if (!dialogPicture.isEmpty()) dialog->grab().save(dialogPicture);
        if (!detailsPicture.isEmpty()) {
            dialog->SetViewStyle(rasp::vsReport);
            dialog->SelectName(QFileInfo(file).fileName());
            QTest::qWait(200);
            dialog->grab().save(detailsPicture);
        }
        dialog->findChild<rasp::TbsSkinButton*>("btnOpen")->click();
    });
    timer->start();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: import_screenshot FILE1 FILE2 window.png [dialog.png]\n");
        return 2;
    }
    rasp::TRaspApplication app(argc, argv);
    rasp::TMainWindowOptions options;
    options.CheckUpdates = false;
    rasp::TfrmMain window(options);
    window.show();
    QTest::qWait(200);
    const QString dialogPicture = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();
    const QString detailsPicture = argc > 5 ? QString::fromLocal8Bit(argv[5]) : QString();
    for (int i = 0; i < 2; ++i) {
        const QString file = QFileInfo(QString::fromLocal8Bit(argv[1 + i])).absoluteFilePath();
        PickInDialog(file, i == 0 ? dialogPicture : QString(), i == 0 ? detailsPicture : QString());
        QElapsedTimer clock;
        clock.start();
        (i == 0 ? window.btnImport1 : window.btnImport2)->click();
        std::printf("import of %s: %lld ms (dialog included)\n", qPrintable(file),
                    static_cast<long long>(clock.elapsed()));
    }
    QTest::qWait(300);
    if (!window.grab().save(QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
