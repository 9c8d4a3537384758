// Opens the window at its design size, compares the two sample articles and
// saves a picture of it.

#include "app/MainWindow.h"
#include "app/RaspApplication.h"

#include <QPixmap>
#include <QTest>
#include <cstdio>

int main(int argc, char** argv)
{
    rasp::TRaspApplication app(argc, argv);
    rasp::TMainWindowOptions options;
    options.CheckUpdates = false;
    rasp::TfrmMain window(options);
    window.show();
    QTest::qWait(200);
    const std::string samples = std::string(RASP_SOURCE_DIR) + "/samples/";
    window.rchArticle1->LoadFromFile(samples + "article1.txt");
    window.rchArticle2->LoadFromFile(samples + "article2.txt");
    if (argc > 2)
        window.minNumWords->SetValue(QString::fromLocal8Bit(argv[2]).toDouble());
    window.btnCompareEx->click();
    window.edtKw1->setText("the");
    QTest::qWait(300);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("window.png");
    if (!window.grab().save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s, duplicate content %s %%\n", qPrintable(out), qPrintable(window.edtDuplicate->text()));
    return 0;
}
