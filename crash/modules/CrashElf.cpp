#include "crash/modules/CrashElf.h"

#include "crash/modules/CrashBytes.h"
#include "platform/base/UniqueFd.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

namespace rasp {

namespace {
std::string_view CString(std::string_view table, uint64_t index) {
  if (index >= table.size()) return {};
  std::string_view rest = table.substr(size_t(index));
  size_t end = rest.find('\0');
  return end == std::string_view::npos ? std::string_view() : rest.substr(0, end);
}

// Sections larger than this are not read: no symbol table or data block of
// ours comes near it, and a hostile header must not make us allocate more.
constexpr uint64_t MaxSectionRead = 512u << 20;
} // namespace

std::optional<std::string> TElfImage::Bytes(uint64_t offset, uint64_t size) const {
  if (offset > FSize || size > FSize - offset || size > MaxSectionRead) return std::nullopt;
  std::string out(size_t(size), '\0');
  if (size && !FRead(offset, size_t(size), out.data())) return std::nullopt;
  return out;
}

bool TElfImage::Open(const void* data, size_t size) {
  const char* bytes = static_cast<const char*>(data);
  return Open(size, [bytes](uint64_t offset, size_t n, char* out) {
    std::memcpy(out, bytes + offset, n);
    return true;
  });
}

bool TElfImage::OpenFile(const std::string& fileName) {
  uint64_t size = 0;
  TElfRead read;
  return FileReader(fileName, size, read) && Open(size, std::move(read));
}

bool TElfImage::FileReader(const std::string& fileName, uint64_t& size, TElfRead& read) {
  // Shared by the reader, which outlives this call.
  auto file = std::make_shared<TUniqueFd>(open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st{};
  if (!*file || fstat(file->Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  size = uint64_t(st.st_size);
  read = [file](uint64_t offset, size_t n, char* out) {
    while (n) {
      ssize_t got = pread(file->Get(), out, n, off_t(offset));
      if (got <= 0) return false;
      out += got;
      n -= size_t(got);
      offset += uint64_t(got);
    }
    return true;
  };
  return true;
}

bool TElfImage::Open(uint64_t size, TElfRead read) {
  FRead = std::move(read);
  FSize = size;
  FSections.clear();
  FPhNum = 0;
  auto header = Bytes(0, sizeof(Elf64_Ehdr));
  if (!header) return false;
  TByteReader r(header->data(), header->size());
  std::string_view ident = r.bytes(EI_NIDENT);
  if (ident.substr(0, 4) != std::string_view(ELFMAG, 4) || uint8_t(ident[EI_CLASS]) != ELFCLASS64 ||
      uint8_t(ident[EI_DATA]) != ELFDATA2LSB)
    return false;
  FType = r.u16();
  r.u16();  // machine
  r.u32();  // version
  r.u64();  // entry
  FPhOff = r.u64();
  uint64_t shoff = r.u64();
  r.u32();  // flags
  r.u16();  // ehsize
  uint16_t phentsize = r.u16();
  FPhNum = r.u16();
  uint16_t shentsize = r.u16();
  uint64_t shnum = r.u16();
  uint32_t shstrndx = r.u16();
  if (!r.ok()) return false;
  if (FPhNum && (phentsize != sizeof(Elf64_Phdr) || FPhOff > FSize ||
                 uint64_t(FPhNum) * phentsize > FSize - FPhOff))
    FPhNum = 0;
  if (shoff == 0) return true;  // no sections: nothing to find, but a valid file
  if (shentsize != sizeof(Elf64_Shdr) || shoff > FSize) return false;

  auto parse = [](std::string_view raw, TElfSection& s, uint32_t& nameIndex) {
    TByteReader h(raw.data(), raw.size());
    nameIndex = h.u32();
    s.Type = h.u32();
    s.Flags = h.u64();
    s.Address = h.u64();
    s.Offset = h.u64();
    s.Size = h.u64();
    s.Link = h.u32();
    h.u32();  // info
    h.u64();  // alignment
    s.EntrySize = h.u64();
    return h.ok();
  };
  // Large section counts and the string table index live in section 0.
  auto firstRaw = Bytes(shoff, sizeof(Elf64_Shdr));
  TElfSection first;
  uint32_t ignored = 0;
  if (!firstRaw || !parse(*firstRaw, first, ignored)) return false;
  if (shnum == 0) shnum = first.Size;
  if (shstrndx == SHN_XINDEX) shstrndx = first.Link;
  if (shnum > (FSize - shoff) / sizeof(Elf64_Shdr) || shstrndx >= shnum) return false;
  auto table = Bytes(shoff, shnum * sizeof(Elf64_Shdr));
  if (!table) return false;

  std::vector<uint32_t> nameIndices(static_cast<size_t>(shnum));
  FSections.resize(size_t(shnum));
  for (size_t i = 0; i < FSections.size(); ++i)
    if (!parse(std::string_view(*table).substr(i * sizeof(Elf64_Shdr), sizeof(Elf64_Shdr)), FSections[i],
               nameIndices[i]))
      return false;
  std::string names = SectionData(FSections[shstrndx]).value_or(std::string());
  for (size_t i = 0; i < FSections.size(); ++i) FSections[i].Name = std::string(CString(names, nameIndices[i]));
  return true;
}

const TElfSection* TElfImage::FindSection(std::string_view name) const {
  for (const TElfSection& s : FSections)
    if (s.Name == name) return &s;
  return nullptr;
}

std::optional<std::string> TElfImage::SectionData(const TElfSection& s) const {
  if (s.Type == SHT_NOBITS || s.Type == SHT_NULL) return std::nullopt;
  return Bytes(s.Offset, s.Size);
}

void TElfImage::ForEachFunction(const std::function<void(const TElfSymbol&)>& fn) const {
  for (const TElfSection& s : FSections) {
    if (s.Type != SHT_SYMTAB && s.Type != SHT_DYNSYM) continue;
    if (s.EntrySize != sizeof(Elf64_Sym) || s.Link >= FSections.size()) continue;
    auto syms = SectionData(s);
    auto strs = SectionData(FSections[s.Link]);
    if (!syms || !strs) continue;
    TByteReader r(syms->data(), syms->size());
    while (r.left() >= sizeof(Elf64_Sym)) {
      uint32_t name = r.u32();
      uint8_t info = r.u8();
      r.u8();  // other
      uint16_t shndx = r.u16();
      TElfSymbol sym;
      sym.Value = r.u64();
      sym.Size = r.u64();
      sym.Type = ELF64_ST_TYPE(info);
      if ((sym.Type != STT_FUNC && sym.Type != STT_GNU_IFUNC) || shndx == SHN_UNDEF || sym.Value == 0) continue;
      sym.Name = CString(*strs, name);
      if (!sym.Name.empty()) fn(sym);
    }
  }
}

std::string_view FindBuildIdNote(std::string_view notes) {
  TByteReader r(notes.data(), notes.size());
  while (r.left() >= 12) {
    uint32_t namesz = r.u32(), descsz = r.u32(), type = r.u32();
    std::string_view name = r.bytes((uint64_t(namesz) + 3) & ~uint64_t(3));
    std::string_view desc = r.bytes((uint64_t(descsz) + 3) & ~uint64_t(3));
    if (!r.ok()) break;
    if (type == NT_GNU_BUILD_ID && namesz == 4 && name.substr(0, 4) == std::string_view("GNU\0", 4))
      return desc.substr(0, descsz);
  }
  return {};
}

std::string TElfImage::BuildId() const {
  for (const TElfSection& s : FSections)
    if (s.Type == SHT_NOTE)
      if (auto d = SectionData(s))
        if (auto id = FindBuildIdNote(*d); !id.empty()) return std::string(id);
  return {};
}

std::string TElfImage::ProgramHeaders() const {
  return FPhNum ? Bytes(FPhOff, uint64_t(FPhNum) * sizeof(Elf64_Phdr)).value_or(std::string()) : std::string();
}

} // namespace rasp
