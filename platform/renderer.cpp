// Choosing and making the renderer of the window.
#include "platform/renderer.hpp"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/app.hpp"
#include "platform/internal.hpp"

namespace platform {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The OpenGL renderer string of the context SDL's renderer made current, read through SDL so the
// game needs no OpenGL library of its own. "" when there is no such context.
std::string CurrentGlRenderer() {
    if (!SDL_GL_GetCurrentContext()) return "";
    using GetString = const unsigned char* (*)(unsigned int);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (!getString) return "";
    constexpr unsigned int kGlRenderer = 0x1F01;
    const unsigned char* text = getString(kGlRenderer);
    return text ? reinterpret_cast<const char*>(text) : "";
}

SDL_Renderer* MakeSoftware(SDL_Window* window) {
    // The window's pixels go straight to the display; left alone, SDL would hand them through an
    // OpenGL texture, which is the very rasteriser this renderer stands in for.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

std::string Forced() {
    const char* value = std::getenv(kRendererVariable);
    return value ? Lower(value) : "";
}

}  // namespace

bool IsSoftwareRasteriser(const std::string& glRenderer) {
    const std::string text = Lower(glRenderer);
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "software rasterizer"}) {
        if (text.find(name) != std::string::npos) return true;
    }
    return false;
}

bool UseSoftwareInstead(const std::string& forced, const std::string& made, const std::string& glRenderer) {
    // Asked for by name, it stays, whatever it is; a name SDL found no renderer for counts for
    // nothing (SDL then made one of its own choosing).
    if (!forced.empty() && Lower(made) == Lower(forced)) return false;
    return Lower(made).rfind("opengl", 0) == 0 && IsSoftwareRasteriser(glRenderer);
}

namespace detail {

SDL_Renderer* OpenRenderer(SDL_Window* window, bool headless) {
    if (headless) return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    const std::string forced = Forced();
    SDL_Renderer* renderer = nullptr;
    std::string why;
    if (forced != "software") {
        if (!forced.empty()) SDL_SetHint(SDL_HINT_RENDER_DRIVER, forced.c_str());
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
        if (!renderer && !forced.empty()) why = forced + " cannot start here";
    }
    SDL_RendererInfo info{};
    std::string gl;
    if (renderer && SDL_GetRendererInfo(renderer, &info) == 0) {
        gl = CurrentGlRenderer();
        const std::string made = info.name ? info.name : "";
        const bool honoured = forced.empty() || Lower(made) == forced;
        if (!honoured) why = "there is no " + forced + " here";
        if (UseSoftwareInstead(forced, made, gl)) {
            SDL_DestroyRenderer(renderer);
            renderer = nullptr;
            why += (why.empty() ? "" : "; ") + ("the OpenGL here, " + gl + ", draws on the processor");
        }
    }
    if (!renderer) {
        renderer = MakeSoftware(window);
        if (!renderer || SDL_GetRendererInfo(renderer, &info) != 0) return renderer;
        gl.clear();
        if (why.empty())
            why =
                forced.empty() ? "no accelerated renderer" : std::string("asked for by ") + kRendererVariable;
    }
    std::string line = std::string("Renderer: ") + (info.name ? info.name : "?");
    if (!gl.empty()) line += " (" + gl + ")";
    if (!why.empty()) line += " (" + why + ")";
    // The software renderer's own vsync is only a guess at the display's pace; ours is better.
    if ((info.flags & SDL_RENDERER_PRESENTVSYNC) && !(info.flags & SDL_RENDERER_SOFTWARE)) line += ", vsync";
    PrintLine(line);
    return renderer;
}

}  // namespace detail
}  // namespace platform
