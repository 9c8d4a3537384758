#include "skinctrls/bsSkinFont.h"

#include "skin/bsResourceStrData.h"
#include "skin/bsSkinData.h"


QFont bsDefaultSkinFont() { return bsSkinFont("Arial", 14, 0); }

QColor bsColor(TbsColor c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

int bsSkinCharSet(const TbsSkinData* skinData, int defaultFontCharSet) {
  if (skinData && skinData->ResourceStrData()) return skinData->ResourceStrData()->CharSet;
  return defaultFontCharSet;
}
