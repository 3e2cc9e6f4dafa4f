// A large turned quad on the software renderer (the title's rays: a picture of a million pixels,
// turning slowly). The renderer's triangle filler cannot take it whole, and in pieces it costs
// most of a frame: every triangle goes through a scratch picture of its own bounding box, made,
// cleared, filled texel by texel with two divisions each, and blended anew. Here the engine lays
// the quad's nearest texels row by row into one picture the size of what shows of it, stepping
// through the texture at a fixed rate, and the renderer blends that picture onto the frame once.
// The quad is laid whole, so there are no cuts between pieces to leave a seam.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/internal.hpp"

namespace platform::detail {

namespace {

// Texel coordinates in 32.32 fixed point: a picture scaled up a hundred million times moves a
// hundred-millionth of a texel a pixel, which 16 bits of fraction round to nothing.
constexpr int kFraction = 32;
constexpr double kOne = 4294967296.0;
// Far past any texture (the largest is 8192 texels a side); pixels that far out only need to stay
// outside. With steps of at most kFarStep texels, a row of the widest window cannot overflow.
constexpr double kFar = 1 << 29;
constexpr double kFarStep = 1 << 16;

Uint32 AlphaFormat() {
    const Uint32 format = E().alphaFormat;
    return format != SDL_PIXELFORMAT_UNKNOWN ? format : Uint32{SDL_PIXELFORMAT_ARGB8888};
}

// The whole pixels of the quad's bounding box that the window and the scissor let through;
// false when there are none.
bool Covered(const SDL_Vertex* q, SDL_Rect& area) {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    QuadBox(q, x0, y0, x1, y1);
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(E().renderer, &w, &h);
    x0 = std::max(std::floor(x0), 0.0f);
    y0 = std::max(std::floor(y0), 0.0f);
    x1 = std::min(std::ceil(x1), static_cast<float>(w));
    y1 = std::min(std::ceil(y1), static_cast<float>(h));
    if (!(x1 > x0 && y1 > y0)) return false;
    area = SDL_Rect{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                    static_cast<int>(y1 - y0)};
    if (!SDL_RenderIsClipEnabled(E().renderer)) return true;
    SDL_Rect clip{};
    SDL_RenderGetClipRect(E().renderer, &clip);
    return SDL_IntersectRect(&area, &clip, &area) == SDL_TRUE;
}

// The texels of `owner` in the engine's layout with alpha, read back from the renderer once.
const Uint32* Texels(Texture& owner) {
    const size_t count = static_cast<size_t>(owner.w) * static_cast<size_t>(owner.h);
    if (owner.texels.size() == count && count > 0) return owner.texels.data();
    SDL_Renderer* r = E().renderer;
    if (!owner.sdl || count == 0 || !SDL_RenderTargetSupported(r)) return nullptr;
    const Uint32 format = AlphaFormat();
    SDL_Texture* copy = SDL_CreateTexture(r, format, SDL_TEXTUREACCESS_TARGET, owner.w, owner.h);
    if (!copy) return nullptr;
    std::vector<Uint32> texels(count);
    bool done = CopyTexels(owner.sdl, SDL_Rect{0, 0, owner.w, owner.h}, copy, owner.w, owner.h);
    SDL_Texture* const target = SDL_GetRenderTarget(r);
    done = done && SDL_SetRenderTarget(r, copy) == 0 &&
           SDL_RenderReadPixels(r, nullptr, format, texels.data(), owner.w * 4) == 0;
    SDL_SetRenderTarget(r, target);
    SDL_DestroyTexture(copy);
    if (!done) return nullptr;
    owner.texels = std::move(texels);
    return owner.texels.data();
}

// A texel coordinate, or a step of one (`far` = kFarStep), in fixed point, held where a row of
// steps cannot overflow.
int64_t Fixed(double v, double far = kFar) {
    return static_cast<int64_t>(std::llround(std::clamp(v, -far, far) * kOne));
}

// The texture's texels (tw x th) under the quad, nearest to each pixel's centre, laid into `out`
// (the pixels of `area`, `pitch` bytes a row); clear where the quad does not cover a pixel.
void Lay(const SDL_Vertex* q, const Uint32* texels, int tw, int th, const SDL_Rect& area, Uint8* out,
         int pitch) {
    // A point p of the quad is q0 + s (q1 - q0) + t (q3 - q0); its texel is the texture point the
    // same share along the quad's texture coordinates, which are those of an upright rectangle.
    const double ux = q[1].position.x - q[0].position.x, uy = q[1].position.y - q[0].position.y;
    const double vx = q[3].position.x - q[0].position.x, vy = q[3].position.y - q[0].position.y;
    const double det = ux * vy - uy * vx;
    const double u0 = static_cast<double>(q[0].tex_coord.x) * tw,
                 v0 = static_cast<double>(q[0].tex_coord.y) * th;
    const double du = (static_cast<double>(q[1].tex_coord.x) * tw - u0) / det;  // texels per s, over det
    const double dv = (static_cast<double>(q[3].tex_coord.y) * th - v0) / det;  // texels per t, over det
    // Texel coordinates step by fixed amounts from pixel to pixel, across and down.
    const double uPerX = vy * du, uPerY = -vx * du;
    const double vPerX = -uy * dv, vPerY = ux * dv;
    // Inside the quad exactly where the texel coordinates lie in its texture rectangle.
    const double uLow = std::min(u0, u0 + du * det), uHigh = std::max(u0, u0 + du * det);
    const double vLow = std::min(v0, v0 + dv * det), vHigh = std::max(v0, v0 + dv * det);
    const int64_t uMin = Fixed(uLow), uMax = Fixed(uHigh), vMin = Fixed(vLow), vMax = Fixed(vHigh);
    const int64_t stepU = Fixed(uPerX, kFarStep), stepV = Fixed(vPerX, kFarStep);
    const int64_t lastX = tw - 1, lastY = th - 1;
    for (int row = 0; row < area.h; ++row) {
        const double px = area.x + 0.5 - q[0].position.x, py = area.y + row + 0.5 - q[0].position.y;
        int64_t u = Fixed(u0 + px * uPerX + py * uPerY), v = Fixed(v0 + px * vPerX + py * vPerY);
        Uint32* line = reinterpret_cast<Uint32*>(out + static_cast<ptrdiff_t>(row) * pitch);
        for (int x = 0; x < area.w; ++x, u += stepU, v += stepV) {
            if (u < uMin || u >= uMax || v < vMin || v >= vMax) {
                line[x] = 0;
                continue;
            }
            const int64_t tx = std::clamp<int64_t>(u >> kFraction, 0, lastX),
                          ty = std::clamp<int64_t>(v >> kFraction, 0, lastY);
            line[x] = texels[ty * tw + tx];
        }
    }
}

}  // namespace

bool DrawTurned(const SDL_Vertex* q, SDL_Texture* texture, Texture* owner) {
    SDL_Renderer* r = E().renderer;
    // Untextured shapes are white all over: one white texel, spread over the quad.
    static const Uint32 kWhite = 0xFFFFFFFFu;
    const Uint32* texels = &kWhite;
    int tw = 1, th = 1;
    SDL_Vertex spread[4];
    if (owner) {
        if (texture != owner->sdl || !(texels = Texels(*owner))) return false;
        tw = owner->w;
        th = owner->h;
    } else {
        const SDL_FPoint corners[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int i = 0; i < 4; ++i) {
            spread[i] = q[i];
            spread[i].tex_coord = corners[i];
        }
        q = spread;
    }
    const double ux = q[1].position.x - q[0].position.x, uy = q[1].position.y - q[0].position.y;
    const double vx = q[3].position.x - q[0].position.x, vy = q[3].position.y - q[0].position.y;
    if (std::fabs(ux * vy - uy * vx) < 1e-3) return true;  // flat: covers no pixel
    SDL_Rect area{};
    if (!Covered(q, area)) return true;
    SDL_BlendMode mode = SDL_BLENDMODE_BLEND;
    SDL_GetTextureBlendMode(texture, &mode);
    // An opaque picture covers its quad: blending leaves the clear pixels around it out.
    if (mode == SDL_BLENDMODE_NONE) mode = SDL_BLENDMODE_BLEND;
    const SDL_Color c = q[0].color;
    SDL_Texture* picture =
        WayScratch(E().turnedPictures, AlphaFormat(), SDL_TEXTUREACCESS_STREAMING, c, mode, area.w, area.h);
    if (!picture) return false;
    const SDL_Rect laid{0, 0, area.w, area.h};
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(picture, &laid, &pixels, &pitch) != 0) return false;
    Lay(q, texels, tw, th, area, static_cast<Uint8*>(pixels), pitch);
    SDL_UnlockTexture(picture);
    SDL_SetTextureColorMod(picture, c.r, c.g, c.b);
    SDL_SetTextureAlphaMod(picture, c.a);
    SDL_RenderCopy(r, picture, &laid, &area);
    return true;
}

}  // namespace platform::detail
