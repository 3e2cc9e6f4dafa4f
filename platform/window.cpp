// The window, its graphics modes and icon, and the desktop.
#include <algorithm>
#include <cstring>

#include "platform/app.hpp"
#include "platform/imagecodec.hpp"
#include "platform/internal.hpp"
#include "platform/storage.hpp"
#include "platform/testing.hpp"

namespace platform {

using detail::E;

namespace {

bool CreateRenderer(detail::Engine& e) {
    e.renderer = detail::OpenRenderer(e.window, e.options.headless);
    if (!e.renderer) {
        PrintLine(std::string("Cannot create a renderer: ") + SDL_GetError());
        return false;
    }
    // A renderer that names no limit (the software one) still cannot draw every size: it keeps
    // the default.
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(e.renderer, &info) == 0 && info.max_texture_width > 0 &&
        info.max_texture_height > 0)
        e.pictureLimits.maxSide = std::min(info.max_texture_width, info.max_texture_height);
    // Images load before or after the window; those that waited go up now.
    for (Texture* t : e.textures) detail::UploadTexture(*t);
    return true;
}

bool EnsureWindow(detail::Engine& e, int w, int h, Uint32 flags) {
    if (e.window) return true;
    e.window = SDL_CreateWindow(e.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, flags);
    if (!e.window) {
        PrintLine(std::string("Cannot create the window: ") + SDL_GetError());
        return false;
    }
    if (!CreateRenderer(e)) {
        SDL_DestroyWindow(e.window);
        e.window = nullptr;
        return false;
    }
    return true;
}

// A listed display mode of exactly w x h, preferring the requested refresh rate.
bool FindDisplayMode(int w, int h, int hertz, SDL_DisplayMode& found) {
    const int display = 0;
    bool any = false;
    const int count = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(display, i, &mode) != 0 || mode.w != w || mode.h != h) continue;
        if (!any || (mode.refresh_rate == hertz && found.refresh_rate != hertz)) found = mode;
        any = true;
    }
    return any;
}

bool OpenWindowed(detail::Engine& e, int w, int h) {
    if (!e.window) return EnsureWindow(e, w, h, SDL_WINDOW_SHOWN);
    SDL_SetWindowFullscreen(e.window, 0);
    SDL_SetWindowSize(e.window, w, h);
    SDL_SetWindowPosition(e.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    return true;
}

// The offscreen display cannot go full screen for real: the window takes the mode's size.
bool OpenHeadlessFullscreen(detail::Engine& e, int w, int h) {
    if (!e.window) return EnsureWindow(e, w, h, SDL_WINDOW_SHOWN);
    SDL_SetWindowSize(e.window, w, h);
    return true;
}

}  // namespace

namespace detail {

void CloseGraphics() {
    Engine& e = E();
    DestroyAllTextures();
    if (e.renderer) SDL_DestroyRenderer(e.renderer);
    if (e.window) SDL_DestroyWindow(e.window);
    e.renderer = nullptr;
    e.window = nullptr;
}

}  // namespace detail

void SetModeFilter(std::function<bool(int, int, bool)> filter) {
    E().modeFilter = std::move(filter);
}

int DeviceWidth() {
    int w = 0, h = 0;
    if (E().renderer) SDL_GetRendererOutputSize(E().renderer, &w, &h);
    return w;
}

int DeviceHeight() {
    int w = 0, h = 0;
    if (E().renderer) SDL_GetRendererOutputSize(E().renderer, &w, &h);
    return h;
}

int DesktopWidth() {
    SDL_DisplayMode mode;
    if (!E().up || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
    return mode.w;
}

int DesktopHeight() {
    SDL_DisplayMode mode;
    if (!E().up || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
    return mode.h;
}

bool OpenGraphics(int width, int height, int depth, int hertz, int /*flags*/) {
    detail::Engine& e = E();
    if (!e.up || width <= 0 || height <= 0) return false;
    const bool fullscreen = depth != 0 && !e.options.forceWindowed;
    if (e.modeFilter && !e.modeFilter(width, height, fullscreen)) return false;
    if (!fullscreen) return OpenWindowed(e, width, height);

    SDL_DisplayMode desktop{};
    const bool haveDesktop = SDL_GetDesktopDisplayMode(0, &desktop) == 0;
    const bool isDesktop = haveDesktop && desktop.w == width && desktop.h == height;
    SDL_DisplayMode mode{};
    const bool listed = !isDesktop && FindDisplayMode(width, height, hertz, mode);
    if (e.options.headless) {
        // No real display: the filter, when set, stands in for the list of modes.
        if (!isDesktop && !listed && !e.modeFilter) return false;
        return OpenHeadlessFullscreen(e, width, height);
    }
    if (isDesktop) {
        if (!EnsureWindow(e, width, height, SDL_WINDOW_FULLSCREEN_DESKTOP)) return false;
        // A window that was windowed also covers the desktop by itself: without a window manager
        // to honour the full-screen request it would keep its old place and size while the game
        // draws for the whole screen.
        SDL_SetWindowPosition(e.window, 0, 0);
        SDL_SetWindowSize(e.window, width, height);
        return SDL_SetWindowFullscreen(e.window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    }
    if (!listed) return false;
    if (!EnsureWindow(e, width, height, SDL_WINDOW_SHOWN)) return false;
    SDL_SetWindowFullscreen(e.window, 0);
    if (SDL_SetWindowDisplayMode(e.window, &mode) != 0) return false;
    SDL_SetWindowSize(e.window, width, height);
    return SDL_SetWindowFullscreen(e.window, SDL_WINDOW_FULLSCREEN) == 0;
}

void SetWindowIcon(const std::string& icoFile) {
    detail::Engine& e = E();
    if (!e.window) return;
    std::string bytes;
    // No icon is no error; anything but a plain file in its place is said by the read.
    if (!ReadGameFile(ResolveWorkingPath(icoFile), icoFile, bytes)) return;
    DecodedImage icon;
    std::string reason;
    if (!DecodeIcoFirst(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), icon, &reason)) {
        PrintLine("Cannot read the icon " + icoFile + (reason.empty() ? "" : ": " + reason));
        return;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon.rgba.data(), icon.width, icon.height, 32,
                                                              icon.width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return;
    SDL_SetWindowIcon(e.window, surface);
    SDL_FreeSurface(surface);
}

void ShowMouse(bool visible) {
    if (E().up) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void SetMousePosition(int x, int y) {
    detail::Engine& e = E();
    if (!e.window) return;
    // The pointer is moved in window coordinates; the game speaks device pixels.
    int ww = 0, wh = 0, pw = 0, ph = 0;
    SDL_GetWindowSize(e.window, &ww, &wh);
    SDL_GetRendererOutputSize(e.renderer, &pw, &ph);
    const int wx = pw > 0 ? x * ww / pw : x, wy = ph > 0 ? y * wh / ph : y;
    SDL_WarpMouseInWindow(e.window, wx, wy);
    e.input.mouseX = x;
    e.input.mouseY = y;
}

}  // namespace platform
