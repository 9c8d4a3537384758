#include "skin/bsSkinIni.h"

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return out;
}

// Blanks and control characters around a line or a name do not count.
std::string_view Trim(std::string_view s) {
  auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

TbsSkinIni TbsSkinIni::Parse(std::string_view text) {
  TbsSkinIni ini;
  Section* current = nullptr;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size()) {
      if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
      ++pos;
    }
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      current = &ini.AddSection(Trim(line.substr(1, line.size() - 2)));
      continue;
    }
    if (!current) continue;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string key(Trim(line.substr(0, eq)));
    std::string lower = Lower(key);
    // The first occurrence of a key wins, as with a repeated section.
    if (current->Index.count(lower)) continue;
    current->Index.emplace(std::move(lower), current->Values.size());
    current->Values.emplace_back(std::move(key), std::string(Trim(line.substr(eq + 1))));
  }
  return ini;
}

TbsSkinIni::Section* TbsSkinIni::FindSection(std::string_view section) {
  auto it = FSectionIndex.find(Lower(section));
  return it == FSectionIndex.end() ? nullptr : it->second;
}

const TbsSkinIni::Section* TbsSkinIni::FindSection(std::string_view section) const {
  auto it = FSectionIndex.find(Lower(section));
  return it == FSectionIndex.end() ? nullptr : it->second;
}

TbsSkinIni::Section& TbsSkinIni::AddSection(std::string_view section) {
  if (Section* s = FindSection(section)) return *s;
  auto s = std::make_unique<Section>();
  s->Name = std::string(section);
  Section* raw = s.get();
  FSections.push_back(std::move(s));
  FSectionIndex.emplace(Lower(section), raw);
  return *raw;
}

bool TbsSkinIni::SectionExists(std::string_view section) const {
  return FindSection(section) != nullptr;
}

bool TbsSkinIni::ValueExists(std::string_view section, std::string_view key) const {
  return Find(section, key) != nullptr;
}

const std::string* TbsSkinIni::Find(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return nullptr;
  auto it = s->Index.find(Lower(key));
  return it == s->Index.end() ? nullptr : &s->Values[it->second].second;
}

std::string TbsSkinIni::ReadString(std::string_view section, std::string_view key,
                                   std::string_view def) const {
  const std::string* v = Find(section, key);
  return v ? *v : std::string(def);
}

std::vector<std::string> TbsSkinIni::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* s = FindSection(section)) {
    keys.reserve(s->Values.size());
    for (const auto& kv : s->Values) keys.push_back(kv.first);
  }
  return keys;
}

void TbsSkinIni::WriteString(std::string_view section, std::string_view key,
                             std::string_view value) {
  Section& s = AddSection(section);
  std::string lower = Lower(key);
  auto it = s.Index.find(lower);
  if (it != s.Index.end()) {
    s.Values[it->second].second = std::string(value);
    return;
  }
  s.Index.emplace(std::move(lower), s.Values.size());
  s.Values.emplace_back(std::string(key), std::string(value));
}

std::string TbsSkinIni::ToText() const {
  std::string out;
  for (std::size_t i = 0; i < FSections.size(); ++i) {
    if (i) out += "\r\n";
    out += '[';
    out += FSections[i]->Name;
    out += "]\r\n";
    for (const auto& [k, v] : FSections[i]->Values) {
      out += k;
      out += '=';
      out += v;
      out += "\r\n";
    }
  }
  return out;
}
