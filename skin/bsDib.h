#pragma once
// Device-independent bitmap file images as they travel inside a skin package:
// file header, information header, colour table, pixel rows, nothing between.

#include <QImage>

#include <cstdint>
#include <span>
#include <vector>

// Reads one bitmap image from the start of data and returns it as a 32-bit
// image; consumed receives the image's length in the package. The headers are
// checked against the limits before any pixel memory is taken; *pixelBudget
// is lowered by the image's pixel count. Throws ESkinError.
QImage bsReadDib(std::span<const std::uint8_t> data, std::size_t& consumed,
                 std::int64_t* pixelBudget = nullptr);

// Appends the image as a bottom-up 24-bit bitmap with no colour table.
void bsWriteDib(const QImage& image, std::vector<std::uint8_t>& out);
