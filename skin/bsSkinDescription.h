#pragma once
// Reading and writing the sections of a skin description: VERSION, PICTURES,
// FORMINFO, POPUPWINDOW, HINTWINDOW, SKINOBJECTS and SKINCONTROLS.

#include "skin/bsSkinContent.h"
#include "skin/bsSkinIni.h"
#include "skin/bsSkinPackage.h"

// Reads every section into the skin, FORMINFO with its adjustments. The
// pictures must already be in place. Throws ESkinError on a value that
// cannot be converted.
void bsReadSkinDescription(const TbsSkinIni& ini, TbsLoadedSkin& skin);

// Reads FORMINFO alone, with its adjustments (they depend on FrameMaskName).
void bsReadFormInfo(const TbsSkinIni& ini, TbsSkinContent& content);

// A whole skin from a package of version 3 or lower.
TbsLoadedSkin bsLoadSkinFromPackage(TbsSkinPackage&& package);

// The description of a skin, sections in the usual order.
TbsSkinIni bsWriteSkinDescription(TbsLoadedSkin& skin);

// A package holding the skin's pictures and its written description.
TbsSkinPackage bsMakeSkinPackage(TbsLoadedSkin& skin);
