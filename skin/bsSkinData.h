#pragma once
// TbsSkinData: the skin in use. Every skinned element holds one and asks it
// for its entry by name (IndexOfObject, IndexOfControl); nothing is drawn
// from it while SkinEmpty is set.
//
// Loading reads and checks the whole new skin first and replaces the skin in
// use only when it is complete: a damaged skin file leaves the previous skin
// in place, sends no message and reports one ESkinError to the caller.

#include "skin/bsSkinContent.h"
#include "skin/bsSkinMessages.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <string_view>

class TbsCompressedStoredSkin;
class TbsResourceStrData;

class TbsSkinData : public QObject, public TbsSkinContent {
public:
  // The owner is normally the form; it receives every skin message first.
  explicit TbsSkinData(QObject* owner = nullptr);
  ~TbsSkinData() override;
  TbsSkinData(const TbsSkinData&) = delete;
  TbsSkinData& operator=(const TbsSkinData&) = delete;

  // Created with the skin data and kept for its whole life; loads overwrite them.
  const std::unique_ptr<TbsDataSkinPopupWindow> PopupWindowSkin;
  const std::unique_ptr<TbsDataSkinHintWindow> HintWindowSkin;

  // True while there is no usable skin, and during a load.
  bool SkinEmpty = true;

  // Position of the first entry with exactly this name, -1 if none.
  int IndexOfObject(std::string_view name) const;
  int IndexOfControl(std::string_view name) const;
  // Frees every picture, object and control entry and sets SkinEmpty.
  void ClearSkin();

  TbsCompressedStoredSkin* CompressedStoredSkin() const;
  // Stores the reference and loads its skin when it is not null and not
  // empty. Throws ESkinError when that skin is damaged (the old one stays).
  void SetCompressedStoredSkin(TbsCompressedStoredSkin* stored);
  TbsResourceStrData* ResourceStrData() const;
  // Stores the reference and sends SKN_CHANGERESSTRDATA.
  void SetResourceStrData(TbsResourceStrData* data);

  // Loads a compressed skin file (e.g. "dbskin.dat"). Returns false when the
  // file's version is above 3 and it was ignored. Throws ESkinError, with the
  // file named, when it cannot be opened or read or its skin is damaged; the
  // previous skin then stays in use.
  bool LoadCompressedSkinFile(const QString& path);
  // Loads the package held by a stored skin; nothing happens when it is empty.
  // Throws ESkinError when the skin is damaged; the previous skin stays.
  void LoadStoredSkin(const TbsCompressedStoredSkin& stored);

  // Sends the message to the owner form, then to every other form in
  // creation order, each finished before the next.
  void SendSkinMessage(int message);

private:
  void Install(TbsLoadedSkin&& skin);

  QPointer<TbsCompressedStoredSkin> FCompressedStoredSkin;
  QPointer<TbsResourceStrData> FResourceStrData;
};
