#include "tests/skin/SkinTestSupport.h"

#include "skin/bsSkinDescription.h"
#include "skin/bsSkinFields.h"
#include "skin/bsSkinPackage.h"
#include "skin/bsSkinValues.h"
#include "skin/bsZlib.h"

#include <QFile>
#include <QPainter>

namespace {

class TDumpVisitor final : public TbsSkinFieldVisitor {
public:
  std::string Out;
  void Line(const char* key, const std::string& v) { Out += std::string(key) + "=" + v + "\n"; }
  void Rect(const char* k, TbsRect& v) override { Line(k, bsRectToStr(v)); }
  void Point(const char* k, TbsPoint& v) override { Line(k, bsPointToStr(v)); }
  void Integer(const char* k, int& v, int) override { Line(k, std::to_string(v)); }
  void Color(const char* k, TbsColor& v, TbsColor) override { Line(k, std::to_string(v)); }
  void Boolean(const char* k, bool& v) override { Line(k, v ? "1" : "0"); }
  void String(const char* k, std::string& v, const char*) override { Line(k, v); }
  void FontStyle(const char* k, TbsFontStyles& v) override { Line(k, std::to_string(v)); }
  void Alignment(const char* k, TbsAlignment& v) override { Line(k, std::to_string(int(v))); }
  void MorphKind(const char* k, TbsMorphKind& v) override { Line(k, std::to_string(int(v))); }
  void Effect(const char* k, TbsEffect& v) override { Line(k, std::to_string(int(v))); }
  void Command(const char* k, TbsCommand& v) override { Line(k, std::to_string(int(v))); }
};

class TFillVisitor final : public TbsSkinFieldVisitor {
public:
  explicit TFillVisitor(unsigned seed) : FState(seed * 2654435761u + 1) {}
  unsigned Next() {
    FState = FState * 1103515245u + 12345u;
    return (FState >> 8) & 0xFFFF;
  }
  void Rect(const char*, TbsRect& v) override {
    v = {int(Next() % 500), int(Next() % 500), int(Next() % 900), int(Next() % 900)};
  }
  void Point(const char*, TbsPoint& v) override { v = {int(Next() % 300) + 1, int(Next() % 300) + 1}; }
  void Integer(const char*, int& v, int def) override { v = def + 1 + int(Next() % 1000) * ((Next() & 1) ? 1 : -1); }
  void Color(const char*, TbsColor& v, TbsColor) override { v = (Next() << 16) | Next(); }
  void Boolean(const char*, bool& v) override { v = true; }
  void String(const char* k, std::string& v, const char*) override {
    v = std::string(k) + " value " + std::to_string(Next()) + " with = and ;";
  }
  void FontStyle(const char*, TbsFontStyles& v) override { v = 1 + Next() % 15; }
  void Alignment(const char*, TbsAlignment& v) override { v = TbsAlignment(Next() % 3); }
  void MorphKind(const char*, TbsMorphKind& v) override { v = TbsMorphKind(1 + Next() % 6); }
  void Effect(const char*, TbsEffect& v) override { v = TbsEffect(1 + Next() % 5); }
  void Command(const char*, TbsCommand& v) override { v = TbsCommand(Next() % 7); }

private:
  unsigned FState;
};

QImage Filled(int w, int h, QColor c) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(c);
  QPainter p(&image);
  p.setPen(c.darker(150));
  p.drawRect(0, 0, w - 1, h - 1);
  return image;
}

}  // namespace

std::string DumpFields(TbsSkinDataEntry& entry) {
  TDumpVisitor v;
  entry.VisitFields(v);
  return v.Out;
}

void FillFields(TbsSkinDataEntry& entry, unsigned seed) {
  TFillVisitor v(seed);
  entry.VisitFields(v);
}

TbsLoadedSkin MakeSmallSkin(QColor tint, const std::string& name) {
  TbsLoadedSkin skin;
  TbsSkinContent& c = skin.Content;
  c.skinname = name;
  c.FramePicture = Filled(60, 40, tint);
  c.FrameMask = Filled(60, 40, Qt::black);
  c.FramePictureName = "frame.bmp";
  c.FrameMaskName = "mask.bmp";
  c.SkinPictures = {Filled(30, 20, tint.lighter(120)), Filled(16, 48, tint.darker(120))};
  c.SkinPictureNames = {"buttons.bmp", "controls.bmp"};
  c.lefttoppoint = {10, 20};
  c.righttoppoint = {50, 20};
  c.leftbottompoint = {10, 36};
  c.rightbottompoint = {50, 36};
  c.clientrect = {4, 20, 56, 36};
  c.captionrect = {4, 2, 56, 18};
  c.buttonsoffset = 2;
  c.borderwidth = 4;

  auto caption = std::make_unique<TbsDataSkinCaption>("caption");
  caption->skinrect = {4, 2, 56, 18};
  caption->textrect = {2, 0, 50, 16};
  caption->fontstyle = fsBold;
  c.SkinObjects.push_back(std::move(caption));
  auto close = std::make_unique<TbsDataSkinStdButton>("closebutton");
  close->command = TbsCommand::cmClose;
  close->activepictureindex = 0;
  close->skinrectinapicture = true;
  close->skinrect = {0, 0, 15, 14};
  close->activeskinrect = {15, 0, 30, 14};
  c.SkinObjects.push_back(std::move(close));

  auto button = std::make_unique<TbsDataSkinButtonControl>("button");
  button->pictureindex = 1;
  button->skinrect = {0, 0, 16, 21};
  button->lefttoppoint = {4, 0};
  button->righttoppoint = {12, 0};
  button->clientrect = {4, 3, 12, 18};
  c.SkinControls.push_back(std::move(button));
  auto panel = std::make_unique<TbsDataSkinPanelControl>("panel");
  panel->pictureindex = 1;
  panel->skinrect = {0, 21, 16, 48};
  panel->lefttoppoint = {3, 3};
  panel->righttoppoint = {13, 3};
  panel->leftbottompoint = {3, 24};
  panel->rightbottompoint = {13, 24};
  panel->clientrect = {3, 3, 13, 24};
  c.SkinControls.push_back(std::move(panel));
  return skin;
}

std::vector<std::uint8_t> CompressSkin(TbsLoadedSkin& skin) {
  return bsDeflate(bsWriteSkinPackage(bsMakeSkinPackage(skin)));
}

std::vector<std::uint8_t> SkinFileBytes(std::int32_t version, std::span<const std::uint8_t> stream,
                                        std::int64_t length) {
  std::vector<std::uint8_t> out;
  auto put = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
  };
  put(std::uint32_t(version));
  put(std::uint32_t(length == -1 ? std::int64_t(stream.size()) : length));
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

QString WriteFile(const QString& path, std::span<const std::uint8_t> bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
  }
  return path;
}
