// How a quad reaches the renderer: snapped to whole pixels when upright, as a plain fill or a
// copy of its texel rectangle where it can be, and otherwise as triangles in pieces the software
// renderer can take.
#include <algorithm>
#include <cmath>

#include "platform/internal.hpp"

namespace platform::detail {

namespace {
const int kQuadIndices[6] = {0, 1, 2, 0, 2, 3};
// The widest copy handed to the renderer as a rectangle. It keeps its sides in ints, and a picture
// scaled far up by its data (a thousand times, or a hundred million) passes them; such a copy is
// laid by the triangle path instead, which cuts it to the window before anything is an integer.
constexpr float kWidestCopy = 32768.0f;
}  // namespace

bool SoftwareRenderer() {
    static SDL_Renderer* asked = nullptr;
    static bool software = false;
    if (asked != E().renderer) {
        asked = E().renderer;
        SDL_RendererInfo info{};
        software = asked && SDL_GetRendererInfo(asked, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    }
    return software;
}

namespace {

bool Upright(const SDL_Vertex* q) {
    return q[0].position.y == q[1].position.y && q[1].position.x == q[2].position.x &&
           q[2].position.y == q[3].position.y && q[3].position.x == q[0].position.x;
}

// The window's pixels as a rectangle (what every draw ends up cut to anyway).
SDL_FRect Output() {
    int dw = 0, dh = 0;
    SDL_GetRendererOutputSize(E().renderer, &dw, &dh);
    return SDL_FRect{0, 0, static_cast<float>(dw), static_cast<float>(dh)};
}

// `dst` cut to the window; false when nothing of it is left.
bool CutToOutput(SDL_FRect& dst) {
    const SDL_FRect out = Output();
    const float left = std::max(dst.x, out.x), top = std::max(dst.y, out.y);
    const float right = std::min(dst.x + dst.w, out.w), bottom = std::min(dst.y + dst.h, out.h);
    if (right <= left || bottom <= top) return false;
    dst = SDL_FRect{left, top, right - left, bottom - top};
    return true;
}

// A scaled copy cut to the window, its source rectangle cut in proportion (to whole texels,
// which only a picture scaled by its nearest texels can afford): the software renderer scales a
// copy that crosses the window's edge through a scratch picture. False when nothing is left.
bool CutScaledToOutput(SDL_Rect& src, SDL_FRect& dst) {
    SDL_FRect cut = dst;
    if (!CutToOutput(cut)) return false;
    if (cut.x == dst.x && cut.y == dst.y && cut.w == dst.w && cut.h == dst.h) return true;
    const float kx = static_cast<float>(src.w) / dst.w, ky = static_cast<float>(src.h) / dst.h;
    const int x0 = src.x + static_cast<int>(std::lround((cut.x - dst.x) * kx));
    const int y0 = src.y + static_cast<int>(std::lround((cut.y - dst.y) * ky));
    const int x1 = src.x + static_cast<int>(std::lround((cut.x + cut.w - dst.x) * kx));
    const int y1 = src.y + static_cast<int>(std::lround((cut.y + cut.h - dst.y) * ky));
    if (x1 <= x0 || y1 <= y0) return false;
    src = SDL_Rect{x0, y0, x1 - x0, y1 - y0};
    dst = cut;
    return true;
}

}  // namespace

// An upright untextured quad in one solid colour at full strength is a plain fill.
bool FillSolid(const SDL_Vertex* q, int blend) {
    const SDL_Color c = q[0].color;
    if (blend != 0 || c.a != 255 || !Upright(q)) return false;
    const float x0 = q[0].position.x, y0 = q[0].position.y, x1 = q[2].position.x, y1 = q[2].position.y;
    SDL_FRect dst{std::min(x0, x1), std::min(y0, y1), std::fabs(x1 - x0), std::fabs(y1 - y0)};
    if (dst.w <= 0 || dst.h <= 0 || !CutToOutput(dst)) return true;
    SDL_Renderer* ren = E().renderer;
    SDL_SetRenderDrawColor(ren, c.r, c.g, c.b, 255);
    SDL_SetRenderDrawBlendMode(ren, SDL_BLENDMODE_NONE);
    SDL_RenderFillRectF(ren, &dst);
    return true;
}

// Upright quads go to the renderer as copies of their texel rectangle instead of geometry: the
// software renderer would make them copies anyway, and a copy adds additive alpha once where its
// geometry path adds it twice. A mirrored quad is copied from a turned-over copy of its texture,
// made once, rather than drawn as triangles. Untextured quads are cut to the window first: a
// stretched copy that crosses the window's edge goes through a scratch picture on every draw.
bool CopyAxisAligned(const SDL_Vertex* q, int blend, SDL_Texture* texture, Texture* owner) {
    if (!Upright(q)) return false;
    int tw = 0, th = 0;
    if (SDL_QueryTexture(texture, nullptr, nullptr, &tw, &th) != 0) return false;
    const float x0 = q[0].position.x, y0 = q[0].position.y, x1 = q[2].position.x, y1 = q[2].position.y;
    const bool additive = blend == 1;
    const int flip = (x1 < x0 ? SDL_FLIP_HORIZONTAL : 0) | (y1 < y0 ? SDL_FLIP_VERTICAL : 0);
    const bool untextured = owner == nullptr;  // the white texture: which way round is all one
    int sx = std::clamp(static_cast<int>(std::lround(q[0].tex_coord.x * tw)), 0, tw - 1);
    int sy = std::clamp(static_cast<int>(std::lround(q[0].tex_coord.y * th)), 0, th - 1);
    const int sw =
        std::clamp(static_cast<int>(std::lround((q[2].tex_coord.x - q[0].tex_coord.x) * tw)), 1, tw - sx);
    const int sh =
        std::clamp(static_cast<int>(std::lround((q[2].tex_coord.y - q[0].tex_coord.y) * th)), 1, th - sy);
    SDL_FRect dst{std::min(x0, x1), std::min(y0, y1), std::fabs(x1 - x0), std::fabs(y1 - y0)};
    if (!untextured && !(dst.w <= kWidestCopy && dst.h <= kWidestCopy)) return false;
    if (untextured) {
        sx = sy = 0;
        if (!CutToOutput(dst)) return true;
    }
    // Wholly outside the window: nothing to draw (and a scaled copy there would still cost the
    // renderer a scratch picture).
    SDL_FRect seen = dst;
    if (dst.w <= 0 || dst.h <= 0 || !CutToOutput(seen)) return true;
    SDL_Rect src = untextured ? SDL_Rect{0, 0, tw, th} : SDL_Rect{sx, sy, sw, sh};
    if (!untextured && flip != 0) {
        SDL_Texture* turned = detail::MirroredTexture(*owner, flip);
        if (!turned) return false;
        // The same texels, read from where the turn put them.
        if (flip & SDL_FLIP_HORIZONTAL) src.x = tw - src.x - src.w;
        if (flip & SDL_FLIP_VERTICAL) src.y = th - src.y - src.h;
        SDL_BlendMode mode = SDL_BLENDMODE_BLEND;
        SDL_GetTextureBlendMode(texture, &mode);
        SDL_SetTextureBlendMode(turned, mode);
        texture = turned;
    }
    if (!untextured) {
        // A glow shrunk to half its size or less (a spark, a dot) shows a few pixels either way:
        // its nearest texels look as its blended ones do, and spare the renderer a scratch
        // picture per draw. Everything else keeps its smooth scaling.
        const bool shrunkGlow = additive && dst.w * 2 <= static_cast<float>(src.w) &&
                                dst.h * 2 <= static_cast<float>(src.h);
        SDL_SetTextureScaleMode(texture, shrunkGlow ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        if (shrunkGlow && !CutScaledToOutput(src, dst)) return true;
        // The software renderer scales smoothly into a scratch picture on every draw; a rectangle
        // drawn at the same size frame after frame is scaled once and copied as it is.
        const int w = static_cast<int>(dst.w), h = static_cast<int>(dst.h);
        SDL_BlendMode mode = SDL_BLENDMODE_BLEND;
        SDL_GetTextureBlendMode(texture, &mode);
        SDL_Texture* scaled = nullptr;
        if (!shrunkGlow && SoftwareRenderer() && (w != src.w || h != src.h)) {
            scaled = detail::ScaledTexture(*owner, texture, flip, src, w, h);
            if (scaled) {
                scaled = WayTexture(owner->ways, scaled, mode, q[0].color, false);
            } else {
                // Not kept (yet): scaled where the renderer would, but in a picture that stays.
                scaled = ScratchScaled(owner->ways, texture, src, w, h, q[0].color);
            }
        }
        if (scaled) {
            texture = scaled;
            src = SDL_Rect{0, 0, w, h};
        } else {
            texture = WayTexture(owner->ways, texture, mode, q[0].color, w != src.w || h != src.h);
        }
    } else {
        SDL_BlendMode mode = SDL_BLENDMODE_BLEND;
        SDL_GetTextureBlendMode(texture, &mode);
        texture = WayTexture(E().whiteWays, texture, mode, q[0].color, true);
    }
    const SDL_Color c = q[0].color;
    SDL_SetTextureColorMod(texture, c.r, c.g, c.b);
    SDL_SetTextureAlphaMod(texture, c.a);
    SDL_RenderCopyF(E().renderer, texture, &src, &dst);
    SDL_SetTextureColorMod(texture, 255, 255, 255);
    SDL_SetTextureAlphaMod(texture, 255);
    return true;
}

// The software renderer turns an axis-aligned quad into a whole-pixel rectangle by cutting the
// fractions off, so a view from y 76.8 to 691.2 filled rows 76..689 while the rounded scissor kept
// rows 77..690 and the last row stayed black. Rounding each edge to the nearest pixel gives such
// quads the pixel-centre rule, the scissor's own edges, and shapes that share an edge meet without
// a gap or an overlap. Rotated quads take the renderer's triangle path, which already follows it.
void SnapAxisAligned(SDL_Vertex* q) {
    const bool upright = Upright(q);
    const bool turned = q[0].position.x == q[1].position.x && q[1].position.y == q[2].position.y &&
                        q[2].position.x == q[3].position.x && q[3].position.y == q[0].position.y;
    if (!upright && !turned) return;
    // Halves round up everywhere (not away from zero), so a shape keeps its width wherever it sits.
    for (int i = 0; i < 4; ++i) {
        q[i].position.x = std::floor(q[i].position.x + 0.5f);
        q[i].position.y = std::floor(q[i].position.y + 0.5f);
    }
}

void QuadBox(const SDL_Vertex* q, float& x0, float& y0, float& x1, float& y1) {
    x0 = x1 = q[0].position.x;
    y0 = y1 = q[0].position.y;
    for (int i = 1; i < 4; ++i) {
        x0 = std::min(x0, q[i].position.x);
        y0 = std::min(y0, q[i].position.y);
        x1 = std::max(x1, q[i].position.x);
        y1 = std::max(y1, q[i].position.y);
    }
}

namespace {

SDL_Vertex Between(const SDL_Vertex& a, const SDL_Vertex& b, float t) {
    SDL_Vertex v = a;
    v.position.x += t * (b.position.x - a.position.x);
    v.position.y += t * (b.position.y - a.position.y);
    v.tex_coord.x += t * (b.tex_coord.x - a.tex_coord.x);
    v.tex_coord.y += t * (b.tex_coord.y - a.tex_coord.y);
    return v;
}

}  // namespace

// The software renderer's triangle filler overflows on large turned triangles (a quad of more
// than about 600 pixels a side, such as the end game's rays, ends the program inside the
// renderer), so a large quad is laid by the engine itself (turned.cpp), or, where that cannot be,
// drawn as a grid of pieces no more than 512 pixels a side. The quad is a parallelogram, so the
// pieces cut along its sides cover it exactly.
void DrawInPieces(const SDL_Vertex* q, SDL_Texture* texture, Texture* owner) {
    constexpr float kPiece = 512.0f;
    const float across = std::hypot(q[1].position.x - q[0].position.x, q[1].position.y - q[0].position.y);
    const float down = std::hypot(q[3].position.x - q[0].position.x, q[3].position.y - q[0].position.y);
    // Clamped while still floats: a quad scaled far up has more pieces than an int counts.
    const int nx = static_cast<int>(std::clamp(std::ceil(across / kPiece), 1.0f, 16.0f));
    const int ny = static_cast<int>(std::clamp(std::ceil(down / kPiece), 1.0f, 16.0f));
    const bool whole = nx == 1 && ny == 1;
    if (!whole && DrawTurned(q, texture, owner)) return;
    texture = GeometryTexture(owner ? owner->ways : E().whiteWays, texture);
    if (whole) {
        SDL_RenderGeometry(E().renderer, texture, q, 4, kQuadIndices, 6);
        return;
    }
    const SDL_Vertex corners[4] = {q[0], q[1], q[2], q[3]};
    for (int i = 0; i < nx; ++i) {
        const float u0 = static_cast<float>(i) / static_cast<float>(nx);
        const float u1 = static_cast<float>(i + 1) / static_cast<float>(nx);
        const SDL_Vertex top0 = Between(corners[0], corners[1], u0), top1 = Between(corners[0], corners[1], u1);
        const SDL_Vertex low0 = Between(corners[3], corners[2], u0), low1 = Between(corners[3], corners[2], u1);
        for (int j = 0; j < ny; ++j) {
            const float v0 = static_cast<float>(j) / static_cast<float>(ny);
            const float v1 = static_cast<float>(j + 1) / static_cast<float>(ny);
            const SDL_Vertex piece[4] = {Between(top0, low0, v0), Between(top1, low1, v0), Between(top1, low1, v1),
                                         Between(top0, low0, v1)};
            SDL_RenderGeometry(E().renderer, texture, piece, 4, kQuadIndices, 6);
        }
    }
}

}  // namespace platform::detail
