// skinpack: makes a compressed skin file from a skin folder and back, so that
// whoever deploys a copy can make their own "dbskin.dat".
//
//   skinpack pack FOLDER/skin.ini OUT.dat     description + bitmaps -> compressed skin
//   skinpack unpack IN.dat FOLDER             compressed skin -> description + bitmaps

#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinError.h"
#include "tools/skinpack/SkinUnpack.h"

#include <QGuiApplication>

#include <cstdio>
#include <string>

namespace {
int Usage() {
  std::fprintf(stderr,
               "usage: skinpack pack DESCRIPTION OUTPUT    (e.g. skinpack pack myskin/skin.ini dbskin.dat)\n"
               "       skinpack unpack SKINFILE FOLDER     (e.g. skinpack unpack dbskin.dat myskin)\n");
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 4) return Usage();
  const std::string command = argv[1];
  const QString from = QString::fromLocal8Bit(argv[2]);
  const QString to = QString::fromLocal8Bit(argv[3]);
  try {
    if (command == "pack") {
      TbsCompressedStoredSkin stored;
      if (!stored.CompressSkinFolder(from)) {
        std::fprintf(stderr,
                     "skinpack: %s is not a skin description: it needs the sections VERSION, "
                     "PICTURES, FORMINFO, SKINOBJECTS and SKINCONTROLS\n",
                     argv[2]);
        return 1;
      }
      stored.SaveCompressedFile(to);
    } else if (command == "unpack") {
      TbsCompressedStoredSkin stored;
      stored.LoadCompressedFile(from);
      if (stored.IsEmpty()) {
        std::fprintf(stderr, "skinpack: %s has a file version newer than 3\n", argv[2]);
        return 1;
      }
      bsUnpackSkin(stored.CompressedData, to);
    } else {
      return Usage();
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
    return 1;
  }
  return 0;
}
