#pragma once
// Helpers shared by the skin tests: small skins built in memory, compressed
// skin file bytes, and field dumps for comparing entries.

#include "skin/bsSkinContent.h"

#include <QColor>
#include <QString>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// "key=value" lines of every field the entry's class reads.
std::string DumpFields(TbsSkinDataEntry& entry);
// Gives every field a value that differs from its default, derived from seed.
void FillFields(TbsSkinDataEntry& entry, unsigned seed);

// A complete small skin: frame picture with mask, two active pictures, a
// caption, a close button, a "button" and a "panel" control. The tint makes
// two such skins tell apart.
TbsLoadedSkin MakeSmallSkin(QColor tint, const std::string& name);
// The compressed package of a skin.
std::vector<std::uint8_t> CompressSkin(TbsLoadedSkin& skin);
// A compressed skin file around a zlib stream; length -1 writes the true one.
std::vector<std::uint8_t> SkinFileBytes(std::int32_t version, std::span<const std::uint8_t> stream,
                                        std::int64_t length = -1);
// Writes bytes to a file and returns its path.
QString WriteFile(const QString& path, std::span<const std::uint8_t> bytes);
