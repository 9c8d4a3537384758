#pragma once
// A bounds-checked reader of 64-bit little-endian ELF files held in memory.
// Nothing it finds in the file is trusted: offsets, sizes, counts and string
// indices are checked against the file before use, and a file that does not
// hold together is reported as not an ELF file.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rasp {

struct TElfSection {
  std::string Name;
  uint32_t Type = 0;
  uint64_t Flags = 0;
  uint64_t Address = 0;
  uint64_t Offset = 0;
  uint64_t Size = 0;
  uint32_t Link = 0;
  uint64_t EntrySize = 0;
};

struct TElfSymbol {
  std::string_view Name;
  uint64_t Value = 0;
  uint64_t Size = 0;
  uint8_t Type = 0;  // STT_*
};

// Where the image's bytes come from: a buffer in memory or a file read with
// pread (a file that shrinks while it is read then fails the read; a mapping
// would fault instead).
using TElfRead = std::function<bool(uint64_t offset, size_t size, char* out)>;

class TElfImage {
public:
  // False when the bytes are not a 64-bit little-endian ELF file whose
  // section table lies inside them. The buffer must outlive the image.
  bool Open(const void* data, size_t size);
  bool Open(uint64_t size, TElfRead read);
  // Reads a whole ELF file; false when it cannot be read or is no ELF file.
  bool OpenFile(const std::string& fileName);
  // A pread reader of any file and its size, or false.
  static bool FileReader(const std::string& fileName, uint64_t& size, TElfRead& read);

  const std::vector<TElfSection>& Sections() const { return FSections; }
  const TElfSection* FindSection(std::string_view name) const;
  // The bytes of a section, or nothing when it has none in the file.
  std::optional<std::string> SectionData(const TElfSection& s) const;

  // Every function symbol of .symtab and .dynsym that has an address.
  void ForEachFunction(const std::function<void(const TElfSymbol&)>& fn) const;
  // The GNU build id from the file's note sections, or empty.
  std::string BuildId() const;
  // The program header table as stored in the file, or empty.
  std::string ProgramHeaders() const;
  uint16_t FileType() const { return FType; }
  uint64_t FileSize() const { return FSize; }
  const TElfRead& Reader() const { return FRead; }

private:
  // The bytes at offset, or nothing when they are not all inside the file.
  std::optional<std::string> Bytes(uint64_t offset, uint64_t size) const;
  TElfRead FRead;
  uint64_t FSize = 0;
  uint16_t FType = 0;
  uint64_t FPhOff = 0;
  uint16_t FPhNum = 0;
  std::vector<TElfSection> FSections;
};

// The descriptor of the GNU build-id note in a run of ELF notes, or empty.
std::string_view FindBuildIdNote(std::string_view notes);

} // namespace rasp
