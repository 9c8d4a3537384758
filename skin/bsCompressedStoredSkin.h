#pragma once
// A compressed skin package held in memory: the skin a form carries inside
// itself, or the contents of a compressed skin file (".skn", "dbskin.dat").

#include <QObject>
#include <QString>

#include <cstdint>
#include <span>
#include <vector>

class TbsCompressedStoredSkin : public QObject {
public:
  explicit TbsCompressedStoredSkin(QObject* owner = nullptr);

  // One zlib stream of a skin package, or nothing.
  std::vector<std::uint8_t> CompressedData;
  QString FileName;            // description file the data was built from
  QString CompressedFileName;  // compressed skin file the data was read from
  QString Description;

  bool IsEmpty() const { return CompressedData.empty(); }
  void SetCompressedData(std::span<const std::uint8_t> bytes);

  // Inflates CompressedData, appending to target; never beyond the package
  // limit. Throws ESkinError.
  void DecompressTo(std::vector<std::uint8_t>& target) const;

  // Reads a compressed skin file: 32-bit version, 32-bit length L, L bytes of
  // zlib stream. A version above 3 leaves CompressedData empty. Throws
  // ESkinError naming the file when it cannot be opened or its length is wrong.
  void LoadCompressedFile(const QString& path);
  // Writes CompressedData as a version-3 compressed skin file. Throws ESkinError.
  void SaveCompressedFile(const QString& path) const;

  // Builds a package from a skin folder (a description file beside its
  // bitmaps) and stores it compressed. Returns false, changing nothing, when
  // the description lacks one of its five sections. Throws ESkinError for a
  // missing or unreadable bitmap.
  bool CompressSkinFolder(const QString& descriptionPath);
};
