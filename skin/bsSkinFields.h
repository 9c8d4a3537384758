#pragma once
// Every data class lists its keys once, in reading order, through a field
// visitor; loading, saving and comparing are visitors over that one list.

#include "skin/bsSkinTypes.h"

#include <string>

class TbsSkinIni;

class TbsSkinFieldVisitor {
public:
  virtual ~TbsSkinFieldVisitor() = default;
  virtual void Rect(const char* key, TbsRect& v) = 0;
  virtual void Point(const char* key, TbsPoint& v) = 0;
  virtual void Integer(const char* key, int& v, int def) = 0;
  virtual void Color(const char* key, TbsColor& v, TbsColor def) = 0;
  virtual void Boolean(const char* key, bool& v) = 0;
  virtual void String(const char* key, std::string& v, const char* def) = 0;
  virtual void FontStyle(const char* key, TbsFontStyles& v) = 0;
  virtual void Alignment(const char* key, TbsAlignment& v) = 0;
  virtual void MorphKind(const char* key, TbsMorphKind& v) = 0;
  virtual void Effect(const char* key, TbsEffect& v) = 0;
  virtual void Command(const char* key, TbsCommand& v) = 0;
};

// The four font keys that many entries carry, read and written together.
struct TbsSkinFontFields {
  std::string fontname = "Arial";
  int fontheight = 14;
  TbsFontStyles fontstyle = 0;
  TbsColor fontcolor = 0;
  void Visit(TbsSkinFieldVisitor& v);
};

// Root of the skin data classes: a named section of the description.
class TbsSkinDataEntry {
public:
  explicit TbsSkinDataEntry(std::string name) : IDName(std::move(name)) {}
  virtual ~TbsSkinDataEntry() = default;
  TbsSkinDataEntry(const TbsSkinDataEntry&) = default;
  TbsSkinDataEntry& operator=(const TbsSkinDataEntry&) = default;

  // The entry's name and the name of the section holding its keys.
  std::string IDName;

  // The class's keys, those of its base class first.
  virtual void VisitFields(TbsSkinFieldVisitor& v) = 0;
  // The kind keyword that selects the class in SKINOBJECTS or SKINCONTROLS.
  virtual const char* Kind() const = 0;

  // Reads the keys from the section named after the entry.
  void LoadFromFile(const TbsSkinIni& ini);
  // Writes the same keys to that section.
  void SaveToFile(TbsSkinIni& ini);

protected:
  // Adjustments some classes make after reading (an up-down entry has no corners).
  virtual void AfterLoad() {}
};

// Applies the readers to every field of an entry, for a given section.
void bsLoadFields(TbsSkinDataEntry& entry, const TbsSkinIni& ini, const std::string& section);
void bsSaveFields(TbsSkinDataEntry& entry, TbsSkinIni& ini, const std::string& section);
