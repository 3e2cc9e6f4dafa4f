#pragma once
// Which of SDL's renderers draws the game. An accelerated one is asked for first, with vsync; but
// where the only OpenGL is a rasteriser running on the processor (no graphics card, a virtual
// machine, a remote desktop), SDL's own software renderer draws the game's frames for a fraction
// of the processor time, so the game takes that instead. BRALLWICK_RENDERER names one outright
// ("software", "opengl", "opengles2", ...) for tests, benchmarks and players who know better.
#include <string>

namespace platform {

// The environment variable that forces a renderer.
inline constexpr const char* kRendererVariable = "BRALLWICK_RENDERER";

// True when an OpenGL renderer string names a rasteriser that runs on the processor.
bool IsSoftwareRasteriser(const std::string& glRenderer);

// Whether to give up the renderer SDL made for the software one. `forced` is the renderer the
// environment asked for ("" when none: then the game chooses, as it does when SDL has no renderer
// of that name), `made` the name SDL gives the renderer it made, `glRenderer` the OpenGL renderer
// string behind it ("" when it is no OpenGL).
bool UseSoftwareInstead(const std::string& forced, const std::string& made, const std::string& glRenderer);

}  // namespace platform
