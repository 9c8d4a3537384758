// rasp-metafile: draws one Windows metafile for the window program.
//   rasp-metafile wmf|emf  < metafile  > picture.png
// A refused metafile ends with exit code 3 and its reason for the user as the
// last line of standard error (other exit codes are crashes or misuse). The
// window runs this in a separate process so that a hostile metafile that
// crashes or hangs the metafile libraries cannot take the window with it.

#include "app/metafile/MetafileConvert.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr int kRefused = 3;
}

int main(int argc, char** argv)
{
    if (argc != 2 || (std::strcmp(argv[1], "wmf") != 0 && std::strcmp(argv[1], "emf") != 0)) {
        std::fprintf(stderr, "usage: %s wmf|emf < metafile > picture.png\n", argv[0]);
        return 2;
    }
    // Text in metafiles needs fonts, hence an application object; no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QFile in;
    QFile out;
    if (!in.open(stdin, QIODevice::ReadOnly) || !out.open(stdout, QIODevice::WriteOnly))
        return 1;
    const QByteArray bytes = in.readAll();
    const auto kind = std::strcmp(argv[1], "wmf") == 0 ? rasp::TMetafileKind::Windows : rasp::TMetafileKind::Enhanced;
    try {
        const QByteArray png = rasp::ConvertMetafileToPng(bytes, kind);
        if (out.write(png) != png.size() || !out.flush())
            return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "\n%s\n", e.what());
        return kRefused;
    }
    return 0;
}
