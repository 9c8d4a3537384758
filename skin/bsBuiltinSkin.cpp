#include "skin/bsBuiltinSkin.h"

#include "skin/bsCompressedStoredSkin.h"

void bsAssignBuiltinSkin(TbsCompressedStoredSkin& stored) {
  stored.SetCompressedData(bsBuiltinSkinData());
  stored.FileName = "skin.ini";
  stored.CompressedFileName = "TellivoLight.skn";
  stored.Description = "Tellivo Light, the built-in skin";
}
