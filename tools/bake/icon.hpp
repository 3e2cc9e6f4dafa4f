#pragma once
#include <string>

namespace bake {

// The window icon: the SVG at 256, 48, 32 and 16 px as PNG entries of one .ico file (largest first,
// since the game takes the file's first icon).
void BakeIcon(const std::string& svgFile, const std::string& icoFile);

}  // namespace bake
