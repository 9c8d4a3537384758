#include "skin/bsSkinData.h"

#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsResourceStrData.h"
#include "skin/bsSkinDescription.h"
#include "skin/bsSkinError.h"
#include "skin/bsSkinLimits.h"
#include "skin/bsSkinPackage.h"

#include <QCoreApplication>

#include <algorithm>

TbsSkinData::TbsSkinData(QObject* owner)
    : QObject(owner),
      PopupWindowSkin(std::make_unique<TbsDataSkinPopupWindow>()),
      HintWindowSkin(std::make_unique<TbsDataSkinHintWindow>()) {}

TbsSkinData::~TbsSkinData() { SkinEmpty = true; }

int TbsSkinData::IndexOfObject(std::string_view name) const {
  for (std::size_t i = 0; i < SkinObjects.size(); ++i) {
    if (SkinObjects[i]->IDName == name) return int(i);
  }
  return -1;
}

int TbsSkinData::IndexOfControl(std::string_view name) const {
  for (std::size_t i = 0; i < SkinControls.size(); ++i) {
    if (SkinControls[i]->IDName == name) return int(i);
  }
  return -1;
}

void TbsSkinData::ClearSkin() {
  SkinObjects.clear();
  SkinControls.clear();
  SkinPictures.clear();
  SkinPictureNames.clear();
  PopupWindowSkin->windowpictureindex = -1;
  HintWindowSkin->windowpictureindex = -1;
  FramePicture = QImage();
  FrameMask = QImage();
  InactiveFramePicture = QImage();
  FramePictureName.clear();
  FrameMaskName.clear();
  SkinEmpty = true;
}

TbsCompressedStoredSkin* TbsSkinData::CompressedStoredSkin() const {
  return FCompressedStoredSkin.data();
}

TbsResourceStrData* TbsSkinData::ResourceStrData() const { return FResourceStrData.data(); }

void TbsSkinData::SetCompressedStoredSkin(TbsCompressedStoredSkin* stored) {
  FCompressedStoredSkin = stored;
  if (stored) LoadStoredSkin(*stored);
}

void TbsSkinData::SetResourceStrData(TbsResourceStrData* data) {
  FResourceStrData = data;
  SendSkinMessage(SKN_CHANGERESSTRDATA);
}

bool TbsSkinData::LoadCompressedSkinFile(const QString& path) {
  TbsCompressedStoredSkin file(this);
  file.LoadCompressedFile(path);
  if (file.IsEmpty()) return false;
  file.CompressedFileName = path;
  LoadStoredSkin(file);
  return true;
}

namespace {
// How an error names the skin: by its file when it came from one.
std::string SkinLabel(const TbsCompressedStoredSkin& stored) {
  if (!stored.CompressedFileName.isEmpty())
    return "The skin file \"" + stored.CompressedFileName.toStdString() + "\"";
  if (!stored.FileName.isEmpty()) return "The skin \"" + stored.FileName.toStdString() + "\"";
  return "The stored skin";
}
}  // namespace

void TbsSkinData::LoadStoredSkin(const TbsCompressedStoredSkin& stored) {
  if (stored.IsEmpty()) return;
  TbsLoadedSkin skin;
  try {
    std::vector<std::uint8_t> bytes;
    stored.DecompressTo(bytes);
    TbsSkinPackage package = bsReadSkinPackage(bytes);
    if (package.Version > kSkinPackageVersion) {
      // A package newer than this engine: the skin is dropped, as a skin that
      // cannot be shown at all, and the window draws its own plain look.
      SkinEmpty = true;
      SendSkinMessage(SKN_BEFORECHANGE);
      ClearSkin();
      return;
    }
    bytes = {};
    skin = bsLoadSkinFromPackage(std::move(package));
  } catch (const ESkinError& e) {
    throw ESkinError(SkinLabel(stored) + " cannot be loaded: " + e.what());
  }
  Install(std::move(skin));
}

void TbsSkinData::Install(TbsLoadedSkin&& skin) {
  SkinEmpty = true;
  SendSkinMessage(SKN_BEFORECHANGE);
  ClearSkin();
  static_cast<TbsSkinContent&>(*this) = std::move(skin.Content);
  // The two window entries stay the same objects; only their fields change.
  *PopupWindowSkin = skin.PopupWindow;
  *HintWindowSkin = skin.HintWindow;
  SkinEmpty = false;
  SendSkinMessage(SKN_CHANGE);
  SendSkinMessage(SKN_AFTERCHANGE);
}

void TbsSkinData::SendSkinMessage(int message) {
  QObject* owner = parent();
  std::vector<QPointer<QObject>> recipients;
  const std::vector<QObject*> forms = TbsFormList::Forms();
  const bool ownerIsForm =
      owner && (owner->isWidgetType() || std::find(forms.begin(), forms.end(), owner) != forms.end());
  if (ownerIsForm) recipients.emplace_back(owner);
  for (QObject* form : forms) {
    if (form != owner) recipients.emplace_back(form);
  }
  // A form destroyed by an earlier recipient's reaction is skipped.
  for (const QPointer<QObject>& form : recipients) {
    if (!form) continue;
    TbsSkinMessageEvent event(message, this);
    QCoreApplication::sendEvent(form.data(), &event);
  }
}
