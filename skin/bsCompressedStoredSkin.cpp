#include "skin/bsCompressedStoredSkin.h"

#include "skin/bsSkinError.h"
#include "skin/bsSkinIni.h"
#include "skin/bsSkinLimits.h"
#include "skin/bsSkinPackage.h"
#include "skin/bsSkinValues.h"
#include "skin/bsZlib.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

std::string Quoted(const QString& path) { return "\"" + path.toStdString() + "\""; }

std::int32_t ReadInt32(QFile& file, const QString& path, const char* what) {
  unsigned char b[4];
  if (file.read(reinterpret_cast<char*>(b), 4) != 4) {
    throw ESkinError("The skin file " + Quoted(path) + " is truncated (no " + what + ").");
  }
  return std::int32_t(std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) |
                      (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24));
}

QImage LoadFolderBitmap(const QDir& folder, const std::string& name) {
  if (name.empty()) return QImage();
  const QString path = folder.filePath(QString::fromLocal8Bit(name.c_str()));
  QImageReader reader(path);
  const QSize size = reader.size();
  if (size.isValid() &&
      (size.width() > kMaxSkinPictureSide || size.height() > kMaxSkinPictureSide)) {
    throw ESkinError("The bitmap " + Quoted(path) + " is larger than " +
                     std::to_string(kMaxSkinPictureSide) + " pixels.");
  }
  QImage image = reader.read();
  if (image.isNull()) {
    throw ESkinError("The bitmap " + Quoted(path) + " cannot be read: " +
                     reader.errorString().toStdString());
  }
  return image;
}

}  // namespace

TbsCompressedStoredSkin::TbsCompressedStoredSkin(QObject* owner) : QObject(owner) {}

void TbsCompressedStoredSkin::SetCompressedData(std::span<const std::uint8_t> bytes) {
  CompressedData.assign(bytes.begin(), bytes.end());
}

void TbsCompressedStoredSkin::DecompressTo(std::vector<std::uint8_t>& target) const {
  bsInflate(CompressedData, target, kMaxInflatedSkinBytes);
}

void TbsCompressedStoredSkin::LoadCompressedFile(const QString& path) {
  CompressedData.clear();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw ESkinError("Cannot open the skin file " + Quoted(path) + ": " +
                     file.errorString().toStdString());
  }
  const std::int32_t version = ReadInt32(file, path, "version");
  if (version > kSkinPackageVersion) return;
  const std::int32_t length = ReadInt32(file, path, "length");
  const qint64 rest = file.size() - file.pos();
  if (length <= 0 || length > rest) {
    throw ESkinError("The skin file " + Quoted(path) + " is damaged: it declares " +
                     std::to_string(length) + " bytes of skin data, but " +
                     std::to_string(rest) + " follow.");
  }
  if (std::size_t(length) > kMaxInflatedSkinBytes) {
    throw ESkinError("The skin file " + Quoted(path) + " is larger than the limit of " +
                     std::to_string(kMaxInflatedSkinBytes >> 20) + " MiB.");
  }
  std::vector<std::uint8_t> data(static_cast<std::size_t>(length));
  if (file.read(reinterpret_cast<char*>(data.data()), length) != length) {
    throw ESkinError("The skin file " + Quoted(path) + " cannot be read: " +
                     file.errorString().toStdString());
  }
  CompressedData = std::move(data);
}

void TbsCompressedStoredSkin::SaveCompressedFile(const QString& path) const {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    throw ESkinError("Cannot create the skin file " + Quoted(path) + ": " +
                     file.errorString().toStdString());
  }
  std::vector<std::uint8_t> head;
  auto put = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) head.push_back(std::uint8_t(v >> (8 * i)));
  };
  put(std::uint32_t(kSkinPackageVersion));
  put(std::uint32_t(CompressedData.size()));
  if (file.write(reinterpret_cast<const char*>(head.data()), qint64(head.size())) != 8 ||
      file.write(reinterpret_cast<const char*>(CompressedData.data()),
                 qint64(CompressedData.size())) != qint64(CompressedData.size()) ||
      !file.flush()) {
    throw ESkinError("Cannot write the skin file " + Quoted(path) + ": " +
                     file.errorString().toStdString());
  }
}

bool TbsCompressedStoredSkin::CompressSkinFolder(const QString& descriptionPath) {
  QFile file(descriptionPath);
  if (!file.open(QIODevice::ReadOnly)) {
    throw ESkinError("Cannot open the skin description " + Quoted(descriptionPath) + ": " +
                     file.errorString().toStdString());
  }
  if (file.size() > qint64(kMaxInflatedSkinBytes)) {
    throw ESkinError("The skin description " + Quoted(descriptionPath) + " is too large.");
  }
  const QByteArray text = file.readAll();
  const std::string description(text.constData(), std::size_t(text.size()));
  const TbsSkinIni ini = TbsSkinIni::Parse(description);
  for (const char* section : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"}) {
    if (!ini.SectionExists(section)) return false;
  }
  const QDir folder = QFileInfo(descriptionPath).absoluteDir();
  TbsSkinPackage package;
  package.FramePicture = LoadFolderBitmap(folder, ini.ReadString("PICTURES", "picture", ""));
  package.InactiveFramePicture =
      LoadFolderBitmap(folder, ini.ReadString("PICTURES", "inactivepicture", ""));
  package.FrameMask = LoadFolderBitmap(folder, ini.ReadString("PICTURES", "mask", ""));
  std::vector<std::string> names;
  ReadStrings(ini, "PICTURES", "activepictures", names, kMaxSkinPictures);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i].empty()) {
      throw ESkinError("The skin description " + Quoted(descriptionPath) +
                       " names no file for active picture " + std::to_string(i) + ".");
    }
    package.Pictures.push_back(LoadFolderBitmap(folder, names[i]));
  }
  // The description travels line by line, each line ended by CR LF.
  std::string lines;
  lines.reserve(description.size() + description.size() / 16);
  std::size_t pos = 0;
  while (pos < description.size()) {
    std::size_t end = description.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = description.size();
    lines.append(description, pos, end - pos);
    lines += "\r\n";
    pos = end;
    if (pos < description.size()) {
      if (description[pos] == '\r' && pos + 1 < description.size() && description[pos + 1] == '\n')
        ++pos;
      ++pos;
    }
  }
  package.Description = std::move(lines);
  const std::vector<std::uint8_t> bytes = bsWriteSkinPackage(package);
  CompressedData = bsDeflate(bytes);
  FileName = QFileInfo(descriptionPath).fileName();
  return true;
}
