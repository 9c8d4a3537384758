#include "skin/bsSkinDescription.h"

#include "skin/bsSkinError.h"
#include "skin/bsSkinKinds.h"
#include "skin/bsSkinLimits.h"
#include "skin/bsSkinValues.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr const char* kVersion = "VERSION";
constexpr const char* kPictures = "PICTURES";
constexpr const char* kFormInfo = "FORMINFO";
constexpr const char* kObjects = "SKINOBJECTS";
constexpr const char* kControls = "SKINCONTROLS";

// The entry keys "0" .. count-1 that the section really holds, in order.
// Walking only the keys present keeps a huge count from costing anything:
// a missing key would name no entry anyway.
std::vector<std::string> EntryTexts(const TbsSkinIni& ini, const char* section) {
  const int count = ReadInteger(ini, section, "count", 0);
  std::vector<std::pair<int, std::string>> found;
  for (const std::string& key : ini.Keys(section)) {
    int index = 0;
    auto [end, ec] = std::from_chars(key.data(), key.data() + key.size(), index);
    if (ec != std::errc() || end != key.data() + key.size()) continue;
    if (index < 0 || index >= count || std::to_string(index) != key) continue;
    found.emplace_back(index, ini.ReadString(section, key, ""));
  }
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> texts;
  texts.reserve(found.size());
  for (auto& f : found) texts.push_back(std::move(f.second));
  return texts;
}

// "name:kind" split at the first colon; false when there is none.
bool SplitEntry(const std::string& text, std::string& name, std::string& kind) {
  std::size_t colon = text.find(':');
  if (colon == std::string::npos) return false;
  name = text.substr(0, colon);
  kind = text.substr(colon + 1);
  return true;
}

template <class Entry, class Factory>
void ReadEntries(const TbsSkinIni& ini, const char* section, Factory create,
                 std::vector<std::unique_ptr<Entry>>& list) {
  for (const std::string& text : EntryTexts(ini, section)) {
    std::string name, kind;
    if (!SplitEntry(text, name, kind)) continue;
    auto entry = create(kind, name);
    if (!entry) continue;  // a kind this engine does not know is skipped
    list.push_back(std::move(entry));
    list.back()->LoadFromFile(ini);
  }
}

void AdjustFormInfo(TbsSkinContent& c) {
  if (!c.FrameMaskName.empty()) {
    if (c.maskrectarea.IsEmpty()) {
      c.maskrectarea = c.clientrect;
    } else {
      c.maskrectarea.Left = std::min(c.maskrectarea.Left, c.clientrect.Left);
      c.maskrectarea.Top = std::min(c.maskrectarea.Top, c.clientrect.Top);
      c.maskrectarea.Right = std::max(c.maskrectarea.Right, c.clientrect.Right);
      c.maskrectarea.Bottom = std::max(c.maskrectarea.Bottom, c.clientrect.Bottom);
    }
    if (c.hittestlefttoppoint.IsUnset()) c.hittestlefttoppoint = c.lefttoppoint;
    if (c.hittestrighttoppoint.IsUnset()) c.hittestrighttoppoint = c.righttoppoint;
    if (c.hittestleftbottompoint.IsUnset()) c.hittestleftbottompoint = c.leftbottompoint;
    if (c.hittestrightbottompoint.IsUnset()) c.hittestrightbottompoint = c.rightbottompoint;
  }
  if (c.rightbottompoint.X == c.lefttoppoint.X || c.rightbottompoint.Y == c.lefttoppoint.Y) return;
  const TbsRect& r = c.clientrect;
  c.lefttoppoint.X = std::max(c.lefttoppoint.X, r.Left);
  c.lefttoppoint.Y = std::max(c.lefttoppoint.Y, r.Top);
  c.righttoppoint.X = std::min(c.righttoppoint.X, r.Right);
  c.righttoppoint.Y = std::max(c.righttoppoint.Y, r.Top);
  c.leftbottompoint.X = std::max(c.leftbottompoint.X, r.Left);
  c.leftbottompoint.Y = std::min(c.leftbottompoint.Y, r.Bottom);
  c.rightbottompoint.X = std::min(c.rightbottompoint.X, r.Right);
  c.rightbottompoint.Y = std::min(c.rightbottompoint.Y, r.Bottom);
}

}  // namespace

void bsReadFormInfo(const TbsSkinIni& ini, TbsSkinContent& c) {
  const char* s = kFormInfo;
  c.lefttoppoint = ReadPoint(ini, s, "lefttoppoint");
  c.righttoppoint = ReadPoint(ini, s, "righttoppoint");
  c.leftbottompoint = ReadPoint(ini, s, "leftbottompoint");
  c.rightbottompoint = ReadPoint(ini, s, "rightbottompoint");
  c.clientrect = ReadRect(ini, s, "clientrect");
  c.bgpictureindex = ReadInteger(ini, s, "bgpictureindex", -1);
  c.mdibgpictureindex = ReadInteger(ini, s, "mdibgpictureindex", -1);
  c.leftstretch = ReadBoolean(ini, s, "leftstretch");
  c.rightstretch = ReadBoolean(ini, s, "rightstretch");
  c.topstretch = ReadBoolean(ini, s, "topstretch");
  c.bottomstretch = ReadBoolean(ini, s, "bottomstretch");
  c.maskrectarea = ReadRect(ini, s, "maskrectarea");
  c.hittestlefttoppoint = ReadPoint(ini, s, "hittestlefttoppoint");
  c.hittestrighttoppoint = ReadPoint(ini, s, "hittestrighttoppoint");
  c.hittestleftbottompoint = ReadPoint(ini, s, "hittestleftbottompoint");
  c.hittestrightbottompoint = ReadPoint(ini, s, "hittestrightbottompoint");
  c.buttonsrect = ReadRect(ini, s, "buttonsrect");
  c.captionrect = ReadRect(ini, s, "captionrect");
  c.buttonsoffset = ReadInteger(ini, s, "buttonsoffset", 0);
  c.buttonsinleft = ReadBoolean(ini, s, "buttonsinleft");
  c.mainmenupopupup = ReadBoolean(ini, s, "mainmenupopupup");
  c.borderwidth = ReadInteger(ini, s, "borderwidth", 0);
  c.autorenderinginactiveimage = ReadBoolean(ini, s, "autorenderinginactiveimage");
  c.inactiveeffect = ReadEffect(ini, s, "inactiveeffect");
  AdjustFormInfo(c);
}

void bsReadSkinDescription(const TbsSkinIni& ini, TbsLoadedSkin& skin) {
  TbsSkinContent& c = skin.Content;
  c.skinname = ini.ReadString(kVersion, "skinname", "");
  c.skinauthor = ini.ReadString(kVersion, "skinauthor", "");
  c.authoremail = ini.ReadString(kVersion, "authoremail", "");
  c.authorurl = ini.ReadString(kVersion, "authorurl", "");
  c.skincomments = ini.ReadString(kVersion, "skincomments", "");

  c.FramePictureName = ini.ReadString(kPictures, "picture", "");
  c.InactiveFramePictureName = ini.ReadString(kPictures, "inactivepicture", "");
  c.FrameMaskName = ini.ReadString(kPictures, "mask", "");
  ReadStrings(ini, kPictures, "activepictures", c.SkinPictureNames, kMaxSkinPictures);

  bsReadFormInfo(ini, c);
  skin.PopupWindow.LoadFromFile(ini);
  skin.HintWindow.LoadFromFile(ini);
  ReadEntries(ini, kObjects, bsCreateSkinObject, c.SkinObjects);
  ReadEntries(ini, kControls, bsCreateSkinControl, c.SkinControls);
}

TbsLoadedSkin bsLoadSkinFromPackage(TbsSkinPackage&& package) {
  TbsLoadedSkin skin;
  skin.Content.FramePicture = std::move(package.FramePicture);
  skin.Content.InactiveFramePicture = std::move(package.InactiveFramePicture);
  skin.Content.FrameMask = std::move(package.FrameMask);
  skin.Content.SkinPictures = std::move(package.Pictures);
  const TbsSkinIni ini = TbsSkinIni::Parse(package.Description);
  bsReadSkinDescription(ini, skin);
  return skin;
}

TbsSkinIni bsWriteSkinDescription(TbsLoadedSkin& skin) {
  TbsSkinContent& c = skin.Content;
  TbsSkinIni ini;
  ini.WriteString(kVersion, "skinname", c.skinname);
  ini.WriteString(kVersion, "skinauthor", c.skinauthor);
  ini.WriteString(kVersion, "authoremail", c.authoremail);
  ini.WriteString(kVersion, "authorurl", c.authorurl);
  ini.WriteString(kVersion, "skincomments", c.skincomments);

  ini.WriteString(kPictures, "picture", c.FramePictureName);
  ini.WriteString(kPictures, "inactivepicture", c.InactiveFramePictureName);
  ini.WriteString(kPictures, "mask", c.FrameMaskName);
  WriteStrings(ini, kPictures, "activepictures", c.SkinPictureNames);

  const char* s = kFormInfo;
  ini.WriteString(s, "lefttoppoint", bsPointToStr(c.lefttoppoint));
  ini.WriteString(s, "righttoppoint", bsPointToStr(c.righttoppoint));
  ini.WriteString(s, "leftbottompoint", bsPointToStr(c.leftbottompoint));
  ini.WriteString(s, "rightbottompoint", bsPointToStr(c.rightbottompoint));
  ini.WriteString(s, "clientrect", bsRectToStr(c.clientrect));
  WriteInteger(ini, s, "bgpictureindex", c.bgpictureindex);
  WriteInteger(ini, s, "mdibgpictureindex", c.mdibgpictureindex);
  WriteBoolean(ini, s, "leftstretch", c.leftstretch);
  WriteBoolean(ini, s, "rightstretch", c.rightstretch);
  WriteBoolean(ini, s, "topstretch", c.topstretch);
  WriteBoolean(ini, s, "bottomstretch", c.bottomstretch);
  ini.WriteString(s, "maskrectarea", bsRectToStr(c.maskrectarea));
  ini.WriteString(s, "hittestlefttoppoint", bsPointToStr(c.hittestlefttoppoint));
  ini.WriteString(s, "hittestrighttoppoint", bsPointToStr(c.hittestrighttoppoint));
  ini.WriteString(s, "hittestleftbottompoint", bsPointToStr(c.hittestleftbottompoint));
  ini.WriteString(s, "hittestrightbottompoint", bsPointToStr(c.hittestrightbottompoint));
  ini.WriteString(s, "buttonsrect", bsRectToStr(c.buttonsrect));
  ini.WriteString(s, "captionrect", bsRectToStr(c.captionrect));
  WriteInteger(ini, s, "buttonsoffset", c.buttonsoffset);
  WriteBoolean(ini, s, "buttonsinleft", c.buttonsinleft);
  WriteBoolean(ini, s, "mainmenupopupup", c.mainmenupopupup);
  WriteInteger(ini, s, "borderwidth", c.borderwidth);
  WriteBoolean(ini, s, "autorenderinginactiveimage", c.autorenderinginactiveimage);
  ini.WriteString(s, "inactiveeffect", bsEffectToStr(c.inactiveeffect));

  skin.PopupWindow.SaveToFile(ini);
  skin.HintWindow.SaveToFile(ini);

  WriteInteger(ini, kObjects, "count", int(c.SkinObjects.size()));
  for (std::size_t i = 0; i < c.SkinObjects.size(); ++i) {
    ini.WriteString(kObjects, std::to_string(i),
                    c.SkinObjects[i]->IDName + ":" + c.SkinObjects[i]->Kind());
  }
  for (auto& o : c.SkinObjects) o->SaveToFile(ini);
  WriteInteger(ini, kControls, "count", int(c.SkinControls.size()));
  for (std::size_t i = 0; i < c.SkinControls.size(); ++i) {
    ini.WriteString(kControls, std::to_string(i),
                    c.SkinControls[i]->IDName + ":" + c.SkinControls[i]->Kind());
  }
  for (auto& ctl : c.SkinControls) ctl->SaveToFile(ini);
  return ini;
}

TbsSkinPackage bsMakeSkinPackage(TbsLoadedSkin& skin) {
  TbsSkinPackage package;
  package.FramePicture = skin.Content.FramePicture;
  package.InactiveFramePicture = skin.Content.InactiveFramePicture;
  package.FrameMask = skin.Content.FrameMask;
  package.Pictures = skin.Content.SkinPictures;
  package.Description = bsWriteSkinDescription(skin).ToText();
  return package;
}
