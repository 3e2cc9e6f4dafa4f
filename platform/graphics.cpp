// Drawing in the render pass: colour, alpha, blend, scissor and the transform stack, shapes and
// images as transformed quads.
#include "platform/graphics.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "platform/app.hpp"
#include "platform/imagecodec.hpp"
#include "platform/internal.hpp"
#include "platform/storage.hpp"
#include "platform/testing.hpp"

namespace platform {

using detail::E;
using detail::Matrix;

namespace {

constexpr int kMaxStack = 64;
constexpr int kMaxFanSegments = 96;
constexpr float kPi = 3.14159265358979323846f;

struct State {
    float r = 255, g = 255, b = 255, alpha = 1;
    int blend = 0;
    Matrix matrix;
    Matrix stack[kMaxStack];
    int depth = 0;
    // Reused every draw so the render pass never touches the heap.
    SDL_Vertex quad[4];
    SDL_Vertex fan[kMaxFanSegments + 2];
    int fanIndices[kMaxFanSegments * 3];
    std::vector<SDL_Rect> spans;  // a disc's rows (FillDisc), grown only with the window
    // A test that watches the frame (none in the game).
    DrawWatcher* watcher = nullptr;
};

State& S() {
    static State state;
    return state;
}

// Tells the watcher about a draw in the box (x0, y0)-(x1, y1); false when it asks to leave the
// draw out.
bool WatchedBox(WatchedDraw::Kind kind, float x0, float y0, float x1, float y1) {
    DrawWatcher* watcher = S().watcher;
    if (!watcher) return true;
    WatchedDraw draw;
    draw.kind = kind;
    draw.x0 = x0, draw.y0 = y0, draw.x1 = x1, draw.y1 = y1;
    return watcher->Draw(draw);
}

// Tells the watcher about the quad just placed: a picture showing the texels (u, v, w, h) of its
// texture, or a shape of `kind` when there is no picture.
bool Watched(const Image* image, WatchedDraw::Kind kind = WatchedDraw::Kind::kRect, float u = 0, float v = 0,
             float w = 0, float h = 0) {
    DrawWatcher* watcher = S().watcher;
    if (!watcher) return true;
    WatchedDraw draw;
    draw.kind = image ? WatchedDraw::Kind::kPicture : kind;
    draw.image = image;
    detail::QuadBox(S().quad, draw.x0, draw.y0, draw.x1, draw.y1);
    draw.u = u, draw.v = v, draw.texelsWide = w, draw.texelsHigh = h;
    return watcher->Draw(draw);
}

const int kQuadIndices[6] = {0, 1, 2, 0, 2, 3};

SDL_Color VertexColor() {
    const State& s = S();
    auto channel = [](float v) { return static_cast<Uint8>(std::clamp(std::lround(v), 0L, 255L)); };
    return SDL_Color{channel(s.r), channel(s.g), channel(s.b), channel(s.alpha * 255.0f)};
}

SDL_BlendMode Blend() {
    return S().blend == 1 ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND;
}

// A draw is worth making only with a renderer and some opacity.
bool CanDraw() {
    return E().renderer && S().alpha > 0.0f;
}

SDL_Texture* Ready(Texture& t) {
    if (!t.sdl && !t.pending.empty()) detail::UploadTexture(t);
    return t.sdl;
}

// Untextured shapes are drawn with a white texture, so every shape takes the same colour, alpha
// and blend path as images (the software renderer's own fills apply additive alpha twice).
SDL_Texture* White() {
    SDL_Texture*& white = E().whiteTexture;
    if (!white && E().renderer) {
        // Not a single texel: the software renderer loses a one-texel source that it stretches
        // and clips at the same time, and then draws nothing.
        constexpr int kSize = 4;
        // Every texel the same, so the nearest texel is as good as a blend of four, and the
        // renderer stretches it without a scratch picture.
        white =
            SDL_CreateTexture(E().renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, kSize, kSize);
        uint8_t texels[kSize * kSize * 4];
        std::fill(std::begin(texels), std::end(texels), uint8_t{255});
        if (white) {
            SDL_UpdateTexture(white, nullptr, texels, kSize * 4);
            SDL_SetTextureScaleMode(white, SDL_ScaleModeNearest);
        }
    }
    return white;
}

void DrawQuad(SDL_Texture* texture, Texture* owner) {
    // A NaN or infinite corner (a division by zero upstream) would reach the rasteriser's integer
    // conversions; such a shape is not drawable anyway.
    for (const SDL_Vertex& v : S().quad)
        if (!std::isfinite(v.position.x) || !std::isfinite(v.position.y)) return;
    detail::SnapAxisAligned(S().quad);
    // Where draws go in runs, a rectangle is a quad of the white texture like any other, so a row
    // of boxes is one call rather than one fill each.
    const bool batching = detail::Batching();
    if (!texture) {
        if (!batching && detail::FillSolid(S().quad, S().blend)) return;
        texture = White();
        if (!texture) return;
        SDL_Vertex* q = S().quad;
        for (int i = 0; i < 4; ++i) q[i].tex_coord = {0.5f, 0.5f};
    }
    // An opaque picture at full strength covers what lies below: no blending needed.
    const bool replaces = owner && owner->opaque && S().blend == 0 && S().quad[0].color.a == 255;
    if (batching) {
        detail::Batch(texture, replaces ? SDL_BLENDMODE_NONE : Blend(), S().quad, 4, kQuadIndices, 6);
        return;
    }
    SDL_SetTextureBlendMode(texture, replaces ? SDL_BLENDMODE_NONE : Blend());
    if (detail::CopyAxisAligned(S().quad, S().blend, texture, owner)) return;
    if (detail::SoftwareRenderer()) {
        detail::DrawInPieces(S().quad, texture, owner);
        return;
    }
    SDL_RenderGeometry(E().renderer, texture, S().quad, 4, kQuadIndices, 6);
}

// Fills the quad's positions from four local corners mapped by `m`.
void SetCorners(const Matrix& m, float x0, float y0, float x1, float y1) {
    SDL_Vertex* q = S().quad;
    m.Apply(x0, y0, q[0].position.x, q[0].position.y);
    m.Apply(x1, y0, q[1].position.x, q[1].position.y);
    m.Apply(x1, y1, q[2].position.x, q[2].position.y);
    m.Apply(x0, y1, q[3].position.x, q[3].position.y);
}

// Position, rotation (counter-clockwise on screen) and scale about the local origin, on top of
// the current matrix.
Matrix Placement(float x, float y, float rotation, float sx, float sy) {
    float c = 1, s = 0;
    if (rotation != 0) {
        const float rad = rotation * kPi / 180.0f;
        c = std::cos(rad);
        s = std::sin(rad);
    }
    Matrix local{c * sx, -s * sx, s * sy, c * sy, x, y};
    return S().matrix * local;
}

void DrawTextured(const ImagePtr& image, float x, float y, float srcX, float srcY, float srcW, float srcH,
                  float rotation, float sx, float sy, int frame) {
    if (!image || !image->texture || !CanDraw()) return;
    if (frame < 0 || frame >= image->Frames()) return;
    const Rect& fr = image->frames[static_cast<size_t>(frame)];
    // The source rectangle never reaches outside its frame; the quad shrinks with it.
    float x0 = std::max(srcX, 0.0f), y0 = std::max(srcY, 0.0f);
    float x1 = std::min(srcX + srcW, static_cast<float>(fr.w)),
          y1 = std::min(srcY + srcH, static_cast<float>(fr.h));
    if (x1 <= x0 || y1 <= y0) return;
    Texture& tex = *image->texture;
    SDL_Texture* t = Ready(tex);
    if (!t || tex.w <= 0 || tex.h <= 0) return;
    const Matrix m = Placement(x, y, rotation, sx, sy);
    const float hx = image->handleX, hy = image->handleY;
    const float lx0 = x0 - srcX - hx, ly0 = y0 - srcY - hy;
    SetCorners(m, lx0, ly0, lx0 + (x1 - x0), ly0 + (y1 - y0));
    if (!Watched(image.get(), WatchedDraw::Kind::kPicture, fr.x + x0, fr.y + y0, x1 - x0, y1 - y0)) return;
    const float u0 = (fr.x + x0) / tex.w, u1 = (fr.x + x1) / tex.w;
    const float v0 = (fr.y + y0) / tex.h, v1 = (fr.y + y1) / tex.h;
    SDL_Vertex* q = S().quad;
    const SDL_Color col = VertexColor();
    q[0].tex_coord = {u0, v0};
    q[1].tex_coord = {u1, v0};
    q[2].tex_coord = {u1, v1};
    q[3].tex_coord = {u0, v1};
    for (int i = 0; i < 4; ++i) q[i].color = col;
    DrawQuad(t, &tex);
}

// SDL's software renderer lays triangles pixel by pixel at a high cost: a blended upright disc
// (the rings round the map's callers) is drawn as its rows instead, each row the pixels whose
// centres lie inside the ellipse, all filled in one call. False when the disc is not such a one.
bool FillDisc(float cx, float cy, float rx, float ry, SDL_Color col) {
    State& s = S();
    const Matrix& m = s.matrix;
    if (detail::Batching() || !detail::SoftwareRenderer() || Blend() != SDL_BLENDMODE_BLEND || m.b != 0 || m.c != 0)
        return false;
    SDL_Renderer* ren = E().renderer;
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(ren, &outW, &outH);
    float dcx = 0, dcy = 0;
    m.Apply(cx, cy, dcx, dcy);
    const float drx = std::fabs(rx * m.a), dry = std::fabs(ry * m.d);
    if (!std::isfinite(dcx) || !std::isfinite(dcy) || !std::isfinite(drx) || !std::isfinite(dry)) return true;
    if (drx <= 0 || dry <= 0 || outW <= 0 || outH <= 0) return true;
    // Whole pixels, cut to the window before they become integers.
    auto column = [outW](float x) { return static_cast<int>(std::clamp(x, -1.0f, static_cast<float>(outW))); };
    auto row = [outH](float y) { return static_cast<int>(std::clamp(y, -1.0f, static_cast<float>(outH))); };
    const int top = std::max(0, row(std::ceil(dcy - dry - 0.5f)));
    const int bottom = std::min(outH - 1, row(std::floor(dcy + dry - 0.5f)));
    if (s.spans.capacity() < static_cast<size_t>(outH)) s.spans.reserve(static_cast<size_t>(outH));
    s.spans.clear();
    for (int y = top; y <= bottom; ++y) {
        const float t = (static_cast<float>(y) + 0.5f - dcy) / dry;
        if (t * t > 1) continue;
        const float half = drx * std::sqrt(1 - t * t);
        const int left = std::max(0, column(std::ceil(dcx - half - 0.5f)));
        const int right = std::min(outW - 1, column(std::floor(dcx + half - 0.5f)));
        if (right < left) continue;
        // Rows of one width one under another (the disc's middle) are one rectangle.
        SDL_Rect* last = s.spans.empty() ? nullptr : &s.spans.back();
        if (last && last->x == left && last->w == right - left + 1 && last->y + last->h == y)
            ++last->h;
        else
            s.spans.push_back(SDL_Rect{left, y, right - left + 1, 1});
    }
    SDL_SetRenderDrawColor(ren, col.r, col.g, col.b, col.a);
    SDL_SetRenderDrawBlendMode(ren, SDL_BLENDMODE_BLEND);
    // SDL copies the rectangles of one call on its stack up to seven of them, on the heap beyond.
    constexpr size_t kStackRects = 7;
    for (size_t i = 0; i < s.spans.size(); i += kStackRects)
        SDL_RenderFillRects(ren, s.spans.data() + i, static_cast<int>(std::min(kStackRects, s.spans.size() - i)));
    return true;
}

// The box on the device of the ellipse about (cx, cy) with radii rx, ry under the matrix.
void FanBox(const Matrix& m, float cx, float cy, float rx, float ry, float& x0, float& y0, float& x1,
            float& y1) {
    float dcx = 0, dcy = 0;
    m.Apply(cx, cy, dcx, dcy);
    const float halfW = std::hypot(m.a * rx, m.c * ry), halfH = std::hypot(m.b * rx, m.d * ry);
    x0 = dcx - halfW, x1 = dcx + halfW, y0 = dcy - halfH, y1 = dcy + halfH;
}

void DrawFan(float cx, float cy, float rx, float ry) {
    if (!CanDraw()) return;
    State& s = S();
    const Matrix& m = s.matrix;
    if (s.watcher) {
        float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        FanBox(m, cx, cy, rx, ry, x0, y0, x1, y1);
        if (!WatchedBox(WatchedDraw::Kind::kOval, x0, y0, x1, y1)) return;
    }
    if (std::isfinite(cx) && std::isfinite(cy) && std::isfinite(rx) && std::isfinite(ry) &&
        FillDisc(cx, cy, rx, ry, VertexColor()))
        return;
    // Enough segments that the outline looks round at its size on screen.
    const float sx = std::sqrt(m.a * m.a + m.b * m.b), sy = std::sqrt(m.c * m.c + m.d * m.d);
    const float deviceRadius = std::max(std::fabs(rx) * sx, std::fabs(ry) * sy);
    if (!std::isfinite(deviceRadius) || !std::isfinite(cx) || !std::isfinite(cy)) return;
    const float wanted =
        std::clamp(std::ceil(deviceRadius * 0.75f), 16.0f, static_cast<float>(kMaxFanSegments));
    const int segments = static_cast<int>(wanted);
    const SDL_Color col = VertexColor();
    SDL_Texture* white = White();
    if (!white) return;
    s.fan[0].color = col;
    s.fan[0].tex_coord = {0.5f, 0.5f};
    m.Apply(cx, cy, s.fan[0].position.x, s.fan[0].position.y);
    for (int i = 0; i <= segments; ++i) {
        const float t = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(segments);
        SDL_Vertex& v = s.fan[i + 1];
        m.Apply(cx + rx * std::cos(t), cy + ry * std::sin(t), v.position.x, v.position.y);
        v.color = col;
        v.tex_coord = {0.5f, 0.5f};
    }
    for (int i = 0; i < segments; ++i) {
        s.fanIndices[i * 3] = 0;
        s.fanIndices[i * 3 + 1] = i + 1;
        s.fanIndices[i * 3 + 2] = i + 2;
    }
    if (detail::Batching()) {
        detail::Batch(white, Blend(), s.fan, segments + 2, s.fanIndices, segments * 3);
        return;
    }
    SDL_SetTextureBlendMode(white, Blend());
    white = detail::GeometryTexture(E().whiteWays, white);
    SDL_RenderGeometry(E().renderer, white, s.fan, segments + 2, s.fanIndices, segments * 3);
}

}  // namespace

namespace detail {

void ResetGraphicsState() {
    State& s = S();
    s.r = s.g = s.b = 255;
    s.alpha = 1;
    s.blend = 0;
    s.matrix = Matrix{};
    s.depth = 0;
    detail::FlushBatch();
    if (E().renderer) SDL_RenderSetClipRect(E().renderer, nullptr);
}

}  // namespace detail

void Cls(int r, int g, int b) {
    SDL_Renderer* ren = E().renderer;
    if (!ren) return;
    detail::FlushBatch();
    // Fills the scissor rectangle only (SDL's own clear ignores it), whatever colour, alpha,
    // blend and matrix are set.
    SDL_SetRenderDrawColor(ren, static_cast<Uint8>(std::clamp(r, 0, 255)),
                           static_cast<Uint8>(std::clamp(g, 0, 255)),
                           static_cast<Uint8>(std::clamp(b, 0, 255)), 255);
    SDL_SetRenderDrawBlendMode(ren, SDL_BLENDMODE_NONE);
    SDL_RenderFillRect(ren, nullptr);
}

void SetColor(float r, float g, float b) {
    // A colour computed from a division by zero is black, not a value every later read inherits.
    auto channel = [](float v) { return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 255.0f); };
    State& s = S();
    s.r = channel(r);
    s.g = channel(g);
    s.b = channel(b);
}

void GetColor(float& r, float& g, float& b) {
    r = S().r;
    g = S().g;
    b = S().b;
}

void SetAlpha(float alpha) {
    S().alpha = std::isnan(alpha) ? 0.0f : std::clamp(alpha, 0.0f, 1.0f);
}
float GetAlpha() {
    return S().alpha;
}

void SetBlend(int mode) {
    S().blend = mode == 1 ? 1 : 0;
}
int GetBlend() {
    return S().blend;
}

void SetScissor(float x, float y, float w, float h) {
    SDL_Renderer* ren = E().renderer;
    if (!ren) return;
    int dw = 0, dh = 0;
    SDL_GetRendererOutputSize(ren, &dw, &dh);
    // Edges round like the edges of shapes, so the view and what fills it agree.
    auto edge = [](float v) {
        const float e = std::floor(v + 0.5f);
        if (!(e > -1e9f)) return -1000000000;  // NaN too: an edge that clips nothing away
        return e < 1e9f ? static_cast<int>(e) : 1000000000;
    };
    const int x0 = edge(x), y0 = edge(y), x1 = edge(x + w), y1 = edge(y + h);
    const bool whole = x0 <= 0 && y0 <= 0 && x1 >= dw && y1 >= dh;
    SDL_Rect rect{x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
    if (rect.w == 0 || rect.h == 0) {
        // SDL takes an empty rectangle as "no clipping"; a rectangle off screen clips everything.
        rect = SDL_Rect{-2, -2, 1, 1};
    }
    // The same view again leaves the run of draws waiting for the renderer going on.
    SDL_Rect now{};
    SDL_RenderGetClipRect(ren, &now);
    const bool clipped = SDL_RenderIsClipEnabled(ren) == SDL_TRUE;
    if (whole ? !clipped : clipped && SDL_RectEquals(&now, &rect)) return;
    detail::FlushBatch();
    SDL_RenderSetClipRect(ren, whole ? nullptr : &rect);
}

void PushMatrix() {
    State& s = S();
    if (s.depth >= kMaxStack) {
        Error("PushMatrix: matrix stack overflow");
    }
    s.stack[s.depth++] = s.matrix;
}

void PopMatrix() {
    State& s = S();
    if (s.depth <= 0) {
        Error("PopMatrix: matrix stack underflow");
    }
    s.matrix = s.stack[--s.depth];
}

void Translate(float x, float y) {
    S().matrix = S().matrix * Matrix{1, 0, 0, 1, x, y};
}
void Scale(float x, float y) {
    S().matrix = S().matrix * Matrix{x, 0, 0, y, 0, 0};
}

void Rotate(float degrees) {
    const float rad = degrees * kPi / 180.0f;
    const float c = std::cos(rad), s = std::sin(rad);
    S().matrix = S().matrix * Matrix{c, -s, s, c, 0, 0};
}

bool UnitScale() {
    const Matrix& m = S().matrix;
    return m.a == 1 && m.b == 0 && m.c == 0 && m.d == 1;
}

void DrawRect(float x, float y, float w, float h) {
    if (!CanDraw()) return;
    SetCorners(S().matrix, x, y, x + w, y + h);
    if (!Watched(nullptr)) return;
    const SDL_Color col = VertexColor();
    for (SDL_Vertex& v : S().quad) {
        v.color = col;
        v.tex_coord = {0.5f, 0.5f};
    }
    DrawQuad(nullptr, nullptr);
}

void DrawLine(float x1, float y1, float x2, float y2) {
    if (!CanDraw()) return;
    // The line covers whole unit cells from the first endpoint's to the last's, both included,
    // so an axis-aligned line lies exactly on the edge pixels of a rectangle.
    const float cx1 = x1 + 0.5f, cy1 = y1 + 0.5f, cx2 = x2 + 0.5f, cy2 = y2 + 0.5f;
    float dx = cx2 - cx1, dy = cy2 - cy1;
    const float len = std::sqrt(dx * dx + dy * dy);
    if (len > 0) {
        dx /= len;
        dy /= len;
    } else {
        dx = 1;
        dy = 0;
    }
    const float ex = dx * 0.5f, ey = dy * 0.5f;  // half a unit along the line
    const float nx = -ey, ny = ex;               // half a unit across it
    const Matrix& m = S().matrix;
    SDL_Vertex* q = S().quad;
    m.Apply(cx1 - ex - nx, cy1 - ey - ny, q[0].position.x, q[0].position.y);
    m.Apply(cx2 + ex - nx, cy2 + ey - ny, q[1].position.x, q[1].position.y);
    m.Apply(cx2 + ex + nx, cy2 + ey + ny, q[2].position.x, q[2].position.y);
    m.Apply(cx1 - ex + nx, cy1 - ey + ny, q[3].position.x, q[3].position.y);
    if (!Watched(nullptr, WatchedDraw::Kind::kLine)) return;
    const SDL_Color col = VertexColor();
    for (int i = 0; i < 4; ++i) {
        q[i].color = col;
        q[i].tex_coord = {0, 0};
    }
    DrawQuad(nullptr, nullptr);
}

void DrawOval(float x, float y, float w, float h) {
    DrawFan(x + w * 0.5f, y + h * 0.5f, w * 0.5f, h * 0.5f);
}

void DrawCircle(float x, float y, float radius) {
    DrawFan(x, y, radius, radius);
}

void DrawImage(const ImagePtr& image, float x, float y, int frame) {
    DrawImage(image, x, y, 0, 1, 1, frame);
}

void DrawImage(const ImagePtr& image, float x, float y, float rotation, float scaleX, float scaleY,
               int frame) {
    if (!image || frame < 0 || frame >= image->Frames()) return;
    const Rect& fr = image->frames[static_cast<size_t>(frame)];
    DrawTextured(image, x, y, 0, 0, static_cast<float>(fr.w), static_cast<float>(fr.h), rotation, scaleX,
                 scaleY, frame);
}

void DrawImageRect(const ImagePtr& image, float x, float y, float srcX, float srcY, float srcW, float srcH,
                   int frame) {
    DrawTextured(image, x, y, srcX, srcY, srcW, srcH, 0, 1, 1, frame);
}

void DrawImageRect(const ImagePtr& image, float x, float y, float srcX, float srcY, float srcW, float srcH,
                   float rotation, float scaleX, float scaleY, int frame) {
    DrawTextured(image, x, y, srcX, srcY, srcW, srcH, rotation, scaleX, scaleY, frame);
}

void WatchDraws(DrawWatcher* w) {
    S().watcher = w;
}

bool KeptTexel(const Image* image, int x, int y, unsigned char rgba[4]) {
    if (!image || !image->texture) return false;
    const Texture& t = *image->texture;
    if (x < 0 || y < 0 || x >= t.w || y >= t.h || t.kept.size() < static_cast<size_t>(t.w) * t.h * 4)
        return false;
    const uint8_t* texel = &t.kept[(static_cast<size_t>(y) * t.w + x) * 4];
    for (int c = 0; c < 4; ++c) rgba[c] = texel[c];
    return true;
}

bool BeginText(const char* text, size_t length) {
    DrawWatcher* watcher = S().watcher;
    if (watcher) watcher->TextBegins(text, length);
    return watcher != nullptr;
}

void EndText() {
    if (DrawWatcher* watcher = S().watcher) watcher->TextEnds();
}

}  // namespace platform
