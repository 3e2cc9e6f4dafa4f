// Copies of textures that keep the software renderer off the heap. It prepares its blitter for a
// texture anew, and allocates doing so, whenever the way the texture is laid on the frame changes
// (its blend mode, stretched or not, tinted or not, faded or not); a picture drawn two ways in
// every frame (a coin with its glow, a text with its shadow) therefore gets one texture per way.
// And a smooth scaling that cannot be kept (a picture that grows frame by frame) goes through a
// scratch picture of the engine's own instead of one the renderer makes and frees on every draw.
#include <algorithm>
#include <cstdint>

#include "platform/internal.hpp"

namespace platform::detail {

namespace {

// Ways a texture keeps copies for: enough for the few ways a picture is drawn in.
constexpr size_t kMaxWays = 12;
// Scratch pictures of one kind: a way each, in the two layouts pictures come in.
constexpr size_t kMaxScratches = 2 * 24;
// The largest texture worth a copy per way.
constexpr int64_t kLargestCopy = 2048 * 2048;
// The least side of a scratch picture: one made this large at once serves the sprites and glows
// drawn scaled, so only a picture larger than those (a ring grown wide) makes it again.
constexpr int kLeastScratch = 256;

int WayOf(SDL_BlendMode mode, SDL_Color mod, bool stretched) {
    const int blend = mode == SDL_BLENDMODE_NONE ? 0 : mode == SDL_BLENDMODE_ADD ? 2 : 1;
    const int tinted = (mod.r & mod.g & mod.b) != 255 ? 1 : 0;
    const int faded = mod.a != 255 ? 1 : 0;
    return 1 + blend * 8 + (stretched ? 4 : 0) + tinted * 2 + faded;  // never 0: not drawn yet
}

void* AsUserData(int way) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(way));
}

// A texture of `format`, w x h, the renderer can draw into; null where it cannot.
SDL_Texture* NewTarget(Uint32 format, int w, int h) {
    SDL_Renderer* r = E().renderer;
    if (!r || w <= 0 || h <= 0 || !SDL_RenderTargetSupported(r)) return nullptr;
    return SDL_CreateTexture(r, format, SDL_TEXTUREACCESS_TARGET, w, h);
}

}  // namespace

bool CopyTexels(SDL_Texture* from, const SDL_Rect& src, SDL_Texture* to, int w, int h) {
    SDL_Renderer* r = E().renderer;
    SDL_Texture* const target = SDL_GetRenderTarget(r);
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    SDL_ScaleMode scale = SDL_ScaleModeLinear;
    Uint8 red = 255, green = 255, blue = 255, alpha = 255;
    SDL_GetTextureBlendMode(from, &blend);
    SDL_GetTextureScaleMode(from, &scale);
    SDL_GetTextureColorMod(from, &red, &green, &blue);
    SDL_GetTextureAlphaMod(from, &alpha);
    SDL_SetTextureBlendMode(from, SDL_BLENDMODE_NONE);
    SDL_SetTextureColorMod(from, 255, 255, 255);
    SDL_SetTextureAlphaMod(from, 255);
    SDL_SetTextureScaleMode(from, SDL_ScaleModeLinear);
    const SDL_Rect dst{0, 0, w, h};
    FlushBatch();  // drawn onto the window before the target moves
    bool done = SDL_SetRenderTarget(r, to) == 0;
    done = done && SDL_RenderCopy(r, from, &src, &dst) == 0;
    SDL_SetRenderTarget(r, target);
    SDL_SetTextureBlendMode(from, blend);
    SDL_SetTextureScaleMode(from, scale);
    SDL_SetTextureColorMod(from, red, green, blue);
    SDL_SetTextureAlphaMod(from, alpha);
    return done;
}

namespace {

// The copy of `texture` among `ways` kept for `way`, made now if there is room; null otherwise.
SDL_Texture* CopyForWay(std::vector<TextureWay>& ways, SDL_Texture* texture, int way) {
    for (const TextureWay& w : ways)
        if (w.from == texture && w.way == way) return w.sdl;
    Uint32 format = 0;
    int w = 0, h = 0;
    if (ways.size() >= kMaxWays || SDL_QueryTexture(texture, &format, nullptr, &w, &h) != 0 ||
        int64_t{w} * h > kLargestCopy)
        return nullptr;
    SDL_Texture* copy = NewTarget(format, w, h);
    if (!copy) return nullptr;
    if (!CopyTexels(texture, SDL_Rect{0, 0, w, h}, copy, w, h)) {
        SDL_DestroyTexture(copy);
        return nullptr;
    }
    SDL_SetTextureUserData(copy, AsUserData(way));
    ways.reserve(kMaxWays);
    ways.push_back(TextureWay{texture, way, copy});
    return copy;
}

}  // namespace

SDL_Texture* WayTexture(std::vector<TextureWay>& ways, SDL_Texture* texture, SDL_BlendMode mode,
                        SDL_Color mod, bool stretched) {
    if (!texture) return nullptr;
    SDL_Texture* drawn = texture;
    if (SoftwareRenderer()) {
        const int way = WayOf(mode, mod, stretched);
        const intptr_t own = reinterpret_cast<intptr_t>(SDL_GetTextureUserData(texture));
        if (own == 0) SDL_SetTextureUserData(texture, AsUserData(way));  // its first draw settles its way
        if (own != 0 && own != way) {
            if (SDL_Texture* copy = CopyForWay(ways, texture, way)) {
                SDL_ScaleMode scale = SDL_ScaleModeLinear;
                SDL_GetTextureScaleMode(texture, &scale);
                SDL_SetTextureScaleMode(copy, scale);
                drawn = copy;
            }
        }
    }
    SDL_SetTextureBlendMode(drawn, mode);
    return drawn;
}

SDL_Texture* GeometryTexture(std::vector<TextureWay>& ways, SDL_Texture* texture) {
    SDL_BlendMode mode = SDL_BLENDMODE_BLEND;
    if (texture) SDL_GetTextureBlendMode(texture, &mode);
    // Triangles take their tint and fading from their corners: the texture itself is untouched.
    return WayTexture(ways, texture, mode, SDL_Color{255, 255, 255, 255}, false);
}

void DropWays(std::vector<TextureWay>& ways, SDL_Texture* from) {
    if (!ways.empty()) FlushBatch();  // what was drawn with them before they go
    for (auto it = ways.begin(); it != ways.end();) {
        if (from && it->from != from) {
            ++it;
            continue;
        }
        SDL_DestroyTexture(it->sdl);
        it = ways.erase(it);
    }
}

SDL_Texture* WayScratch(std::vector<TextureWay>& scratches, Uint32 format, int access, SDL_Color mod,
                        SDL_BlendMode mode, int w, int h) {
    const int way = WayOf(mode, mod, false);
    TextureWay* found = nullptr;
    for (TextureWay& s : scratches)
        if (s.way == way && s.format == format) found = &s;
    int have = 0, haveH = 0;
    if (found) SDL_QueryTexture(found->sdl, nullptr, nullptr, &have, &haveH);
    if (!found || have < w || haveH < h) {
        // Grown roomily past the largest size asked so far, so a picture that grows frame by frame
        // (a widening ring) makes it again only a few times.
        SDL_Renderer* r = E().renderer;
        SDL_Texture* grown = nullptr;
        if (r && (access != SDL_TEXTUREACCESS_TARGET || SDL_RenderTargetSupported(r)))
            grown = SDL_CreateTexture(r, format, access, std::max({RoomySide(w), have, kLeastScratch}),
                                      std::max({RoomySide(h), haveH, kLeastScratch}));
        if (!grown) return nullptr;
        if (found) {
            FlushBatch();
            SDL_DestroyTexture(found->sdl);
            found->sdl = grown;
        } else {
            scratches.reserve(kMaxScratches);
            scratches.push_back(TextureWay{nullptr, way, grown, format});
            found = &scratches.back();
        }
    }
    SDL_SetTextureBlendMode(found->sdl, mode);
    return found->sdl;
}

SDL_Texture* ScratchScaled(std::vector<TextureWay>& ways, SDL_Texture* texture, const SDL_Rect& src, int w,
                           int h, SDL_Color mod) {
    // The area in 64 bits: the size of a picture scaled far up does not fit an int product.
    if (!texture || w <= 0 || h <= 0 || int64_t{w} * h > kLargestCopy) return nullptr;
    Uint32 format = 0;
    SDL_BlendMode mode = SDL_BLENDMODE_BLEND;
    if (SDL_QueryTexture(texture, &format, nullptr, nullptr, nullptr) != 0) return nullptr;
    SDL_GetTextureBlendMode(texture, &mode);
    // One scratch per format (the scaling copies texels only between equal layouts) and way. The
    // picture is read for scaling as one more way of drawing it.
    SDL_Texture* scratch = WayScratch(E().scratches, format, SDL_TEXTUREACCESS_TARGET, mod, mode, w, h);
    SDL_Texture* from = WayTexture(ways, texture, SDL_BLENDMODE_NONE, SDL_Color{255, 255, 255, 255}, true);
    if (!scratch || !CopyTexels(from, src, scratch, w, h)) return nullptr;
    SDL_SetTextureBlendMode(scratch, mode);
    return scratch;
}

void DropScratches() {
    DropWays(E().scratches, nullptr);
    DropWays(E().whiteWays, nullptr);
    DropWays(E().turnedPictures, nullptr);
}

}  // namespace platform::detail
