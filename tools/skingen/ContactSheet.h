#pragma once
// A contact sheet of a skin: every picture, enlarged and labelled, beside a
// window composed from the skin the way the program lays it out.

#include "skin/bsSkinContent.h"

#include <QImage>

QImage RenderContactSheet(const TbsLoadedSkin& skin);
