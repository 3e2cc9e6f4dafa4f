#pragma once
// Pair kerning of an OpenType face. FreeType's own kerning call only reads the old 'kern' table;
// most current faces (the comic face among them) keep their kerning in GPOS, read here.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <utility>
#include <vector>

namespace bake {

// Horizontal adjustment in font units for each pair of the given glyph indices that has one, from
// the 'kern' feature's pair-adjustment lookups; falls back to the 'kern' table through FreeType.
std::map<std::pair<FT_UInt, FT_UInt>, int> ReadPairKerning(FT_Face face, const std::vector<FT_UInt>& glyphs);

}  // namespace bake
