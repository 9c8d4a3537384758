#include "tools/skinpack/SkinUnpack.h"

#include "skin/bsSkinError.h"
#include "skin/bsSkinIni.h"
#include "skin/bsSkinLimits.h"
#include "skin/bsSkinPackage.h"
#include "skin/bsSkinValues.h"
#include "skin/bsZlib.h"

#include <QDir>
#include <QFile>

#include <set>

namespace {

// A name from a skin file becomes a file name only when it is plainly one.
QString SafeName(const std::string& name, const std::string& what) {
  const QString q = QString::fromLocal8Bit(name.c_str());
  const bool plain = !q.isEmpty() && q != "." && q != ".." && !q.contains('/') &&
                     !q.contains('\\') && !q.contains(':') && name.find('\0') == std::string::npos;
  if (!plain) throw ESkinError("the " + what + " has no usable file name (\"" + name + "\")");
  return q;
}

}  // namespace

void bsUnpackSkin(std::span<const std::uint8_t> compressed, const QString& folder) {
  std::vector<std::uint8_t> bytes;
  bsInflate(compressed, bytes, kMaxInflatedSkinBytes);
  TbsSkinPackage package = bsReadSkinPackage(bytes);
  if (package.Version > kSkinPackageVersion)
    throw ESkinError("the skin package has version " + std::to_string(package.Version) +
                     ", newer than this tool reads");
  const TbsSkinIni ini = TbsSkinIni::Parse(package.Description);
  std::vector<std::string> names;
  ReadStrings(ini, "PICTURES", "activepictures", names, kMaxSkinPictures);
  if (names.size() != package.Pictures.size())
    throw ESkinError("the description names " + std::to_string(names.size()) +
                     " active pictures but the package holds " +
                     std::to_string(package.Pictures.size()));

  struct TOut { QString Name; const QImage* Image; };
  std::vector<TOut> outputs;
  std::set<QString> used = {"skin.ini"};
  auto add = [&](const std::string& name, const QImage& image, const std::string& what) {
    if (image.isNull()) return;
    QString file = SafeName(name, what);
    if (!used.insert(file.toLower()).second)
      throw ESkinError("two pictures of the skin share the file name \"" + name + "\"");
    outputs.push_back({file, &image});
  };
  add(ini.ReadString("PICTURES", "picture", ""), package.FramePicture, "frame picture");
  add(ini.ReadString("PICTURES", "inactivepicture", ""), package.InactiveFramePicture,
      "inactive frame picture");
  add(ini.ReadString("PICTURES", "mask", ""), package.FrameMask, "frame mask");
  for (std::size_t i = 0; i < names.size(); ++i)
    add(names[i], package.Pictures[i], "active picture " + std::to_string(i));

  // Everything is checked before the first file is written.
  if (!QDir().mkpath(folder))
    throw ESkinError("cannot create the folder \"" + folder.toStdString() + "\"");
  const QDir dir(folder);
  for (const TOut& o : outputs) {
    if (!o.Image->save(dir.filePath(o.Name), "BMP"))
      throw ESkinError("cannot write \"" + dir.filePath(o.Name).toStdString() + "\"");
  }
  QFile description(dir.filePath("skin.ini"));
  if (!description.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      description.write(package.Description.data(), qint64(package.Description.size())) !=
          qint64(package.Description.size()))
    throw ESkinError("cannot write \"" + dir.filePath("skin.ini").toStdString() + "\"");
}
