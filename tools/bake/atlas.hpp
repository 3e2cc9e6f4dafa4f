#pragma once
// Packs a folder of region SVGs into one atlas page and its text description.
#include <string>
#include <vector>

namespace bake {

constexpr int kAtlasPadding = 2;
constexpr int kAtlasMaxPage = 2048;

// The source files an atlas folder bakes from (region SVGs and greyed.txt), sorted.
std::vector<std::string> AtlasSources(const std::string& atlasDir);

// atlasDir = content/atlas/AtlasNN; writes <outDir>/AtlasNN.png and <outDir>/AtlasNN.txt.
void BakeAtlas(const std::string& atlasDir, const std::string& outDir, const std::string& atlasName);

}  // namespace bake
