#include "skin/bsSkinFields.h"

#include "skin/bsSkinIni.h"
#include "skin/bsSkinValues.h"

namespace {

class TLoadVisitor final : public TbsSkinFieldVisitor {
public:
  TLoadVisitor(const TbsSkinIni& ini, const std::string& section) : FIni(ini), FSection(section) {}
  void Rect(const char* key, TbsRect& v) override { v = ReadRect(FIni, FSection, key); }
  void Point(const char* key, TbsPoint& v) override { v = ReadPoint(FIni, FSection, key); }
  void Integer(const char* key, int& v, int def) override {
    v = ReadInteger(FIni, FSection, key, def);
  }
  void Color(const char* key, TbsColor& v, TbsColor def) override {
    v = ReadColor(FIni, FSection, key, def);
  }
  void Boolean(const char* key, bool& v) override { v = ReadBoolean(FIni, FSection, key); }
  void String(const char* key, std::string& v, const char* def) override {
    v = FIni.ReadString(FSection, key, def);
  }
  void FontStyle(const char* key, TbsFontStyles& v) override {
    v = ReadFontStyles(FIni, FSection, key);
  }
  void Alignment(const char* key, TbsAlignment& v) override {
    v = ReadAlignment(FIni, FSection, key);
  }
  void MorphKind(const char* key, TbsMorphKind& v) override {
    v = ReadMorphKind(FIni, FSection, key);
  }
  void Effect(const char* key, TbsEffect& v) override { v = ReadEffect(FIni, FSection, key); }
  void Command(const char* key, TbsCommand& v) override { v = ReadCommand(FIni, FSection, key); }

private:
  const TbsSkinIni& FIni;
  const std::string& FSection;
};

class TSaveVisitor final : public TbsSkinFieldVisitor {
public:
  TSaveVisitor(TbsSkinIni& ini, const std::string& section) : FIni(ini), FSection(section) {}
  void Rect(const char* key, TbsRect& v) override { FIni.WriteString(FSection, key, bsRectToStr(v)); }
  void Point(const char* key, TbsPoint& v) override {
    FIni.WriteString(FSection, key, bsPointToStr(v));
  }
  void Integer(const char* key, int& v, int) override { WriteInteger(FIni, FSection, key, v); }
  void Color(const char* key, TbsColor& v, TbsColor) override { WriteColor(FIni, FSection, key, v); }
  void Boolean(const char* key, bool& v) override { WriteBoolean(FIni, FSection, key, v); }
  void String(const char* key, std::string& v, const char*) override {
    FIni.WriteString(FSection, key, v);
  }
  void FontStyle(const char* key, TbsFontStyles& v) override {
    FIni.WriteString(FSection, key, bsFontStylesToStr(v));
  }
  void Alignment(const char* key, TbsAlignment& v) override {
    FIni.WriteString(FSection, key, bsAlignmentToStr(v));
  }
  void MorphKind(const char* key, TbsMorphKind& v) override {
    FIni.WriteString(FSection, key, bsMorphKindToStr(v));
  }
  void Effect(const char* key, TbsEffect& v) override {
    FIni.WriteString(FSection, key, bsEffectToStr(v));
  }
  void Command(const char* key, TbsCommand& v) override {
    FIni.WriteString(FSection, key, bsCommandToStr(v));
  }

private:
  TbsSkinIni& FIni;
  const std::string& FSection;
};

}  // namespace

void bsLoadFields(TbsSkinDataEntry& entry, const TbsSkinIni& ini, const std::string& section) {
  TLoadVisitor v(ini, section);
  entry.VisitFields(v);
}

void bsSaveFields(TbsSkinDataEntry& entry, TbsSkinIni& ini, const std::string& section) {
  TSaveVisitor v(ini, section);
  entry.VisitFields(v);
}

void TbsSkinDataEntry::LoadFromFile(const TbsSkinIni& ini) {
  bsLoadFields(*this, ini, IDName);
  AfterLoad();
}

void TbsSkinDataEntry::SaveToFile(TbsSkinIni& ini) {
  bsSaveFields(*this, ini, IDName);
}

void TbsSkinFontFields::Visit(TbsSkinFieldVisitor& v) {
  v.String("fontname", fontname, "Arial");
  v.Integer("fontheight", fontheight, 14);
  v.FontStyle("fontstyle", fontstyle);
  v.Color("fontcolor", fontcolor, 0);
}
