#pragma once
// The program's built-in skin, drawn by skingen at build time and compiled in.

#include <cstdint>
#include <span>

class TbsCompressedStoredSkin;

// The compressed package (one zlib stream) of the built-in skin.
std::span<const std::uint8_t> bsBuiltinSkinData();

// Fills a stored skin with the built-in skin, as a form carries it.
void bsAssignBuiltinSkin(TbsCompressedStoredSkin& stored);
