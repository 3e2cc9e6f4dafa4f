#pragma once
// Rasterising SVG sources and writing the picture formats the game reads.
#include <string>

#include "tools/bake/common.hpp"

namespace bake {

// Renders an SVG at its own pixel size (its width/height attributes). With a forced size the
// drawing is scaled to fit that square/rectangle instead (the icon's several sizes).
Image RasteriseSvg(const std::string& svgFile, int forceWidth = 0, int forceHeight = 0);

std::string EncodePng(const Image& image);
void WritePng(const std::string& file, const Image& image);
// JPEG has no alpha: the picture is flattened onto black first.
void WriteJpeg(const std::string& file, const Image& image, int quality);

Image ReadPng(const std::string& file);
Image DecodePng(const std::string& bytes);
Image ReadJpeg(const std::string& file);
// Either of the two, by extension.
Image ReadPicture(const std::string& file);

}  // namespace bake
