#pragma once
// The skin description: an INI-style text of sections and keys. Section and key
// names match without regard to letter case; values are kept exactly as written.
// Lookups are hashed so that loading a skin never rescans the text.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TbsSkinIni {
public:
  TbsSkinIni() = default;

  // Parses 8-bit text; lines end at CR LF, LF or CR. Never fails: lines that
  // are neither sections nor "key=value" are ignored.
  static TbsSkinIni Parse(std::string_view text);

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // The value of the key, or nullptr when the section or key is missing.
  const std::string* Find(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  // Keys of a section in the order they were written.
  std::vector<std::string> Keys(std::string_view section) const;

  // Writing: sections and keys keep the order in which they were first written.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  // The description as text with CR LF line ends and a blank line between sections.
  std::string ToText() const;

private:
  struct Section {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Values;  // in written order
    std::unordered_map<std::string, std::size_t> Index;       // lower-case key -> position
  };
  Section* FindSection(std::string_view section);
  const Section* FindSection(std::string_view section) const;
  Section& AddSection(std::string_view section);

  std::vector<std::unique_ptr<Section>> FSections;
  std::unordered_map<std::string, Section*> FSectionIndex;  // lower-case name -> section
};
