#pragma once
// Writers for the file formats the resource compiler and people read:
// 24-bit BMP, icon and cursor files with alpha, and PNG previews.
#include "Raster.h"

#include <string>
#include <vector>

namespace skingen {

// Each writer returns false when the file cannot be written completely.
bool WriteBmp24(const std::string& path, const Raster& img);
// Icon with one 32-bit image per raster (sizes up to 256).
bool WriteIco(const std::string& path, const std::vector<Raster>& images);
bool WriteCur(const std::string& path, const Raster& img, int hotX, int hotY);
// 8-bit RGB PNG; the image data goes into stored deflate blocks.
bool WritePng(const std::string& path, const Raster& img);

// Bytes of the formats, for the writers above and for checking them.
std::vector<uint8_t> EncodeBmp24(const Raster& img);
std::vector<uint8_t> EncodePng(const Raster& img);
uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0);

} // namespace skingen
