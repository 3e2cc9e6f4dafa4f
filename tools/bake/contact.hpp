#pragma once
#include <string>

namespace bake {

// Draws every baked picture of the data folder onto a few PNG pages in outDir, frames outlined and
// numbered, atlas regions outlined and named, so the whole art set can be reviewed at a glance.
// Returns the process exit code.
int RenderContactSheet(const std::string& dataDir, const std::string& outDir);

}  // namespace bake
