#pragma once
// Draws our own skin with QPainter and describes it through the skin data
// classes: frame, caption buttons and every control look the program uses.

#include "skin/bsSkinContent.h"
#include "tools/skingen/SkinPalette.h"

TbsLoadedSkin BuildSkin(const TSkinPalette& palette);
