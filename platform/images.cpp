// Images: decoding a picture file into a texture, cutting it into frames, and the textures the
// renderer holds for them.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "platform/app.hpp"
#include "platform/graphics.hpp"
#include "platform/imagecodec.hpp"
#include "platform/internal.hpp"
#include "platform/storage.hpp"

namespace platform {

using detail::E;
using detail::Engine;

Texture::Texture() {
    E().textures.insert(this);
}

Texture::~Texture() {
    E().textures.erase(this);
    detail::DropTextures(*this);
}

int Image::Width() const {
    return frames.empty() ? 0 : frames[0].w;
}
int Image::Height() const {
    return frames.empty() ? 0 : frames[0].h;
}

namespace {

ImagePtr MakeImage(const std::string& path, int& texW, int& texH, int flags) {
    DecodedImage decoded;
    std::string aheadError;
    if (!detail::TakeDecodedAhead(path, decoded, aheadError)) {
        if (!aheadError.empty()) {
            PrintLine("Error loading image " + path + ": " + aheadError);
            return nullptr;
        }
        std::string bytes, why;
        const std::string mapped = MapPath(DataPath(path));
        if (!ReadDataFile(path, bytes, why)) {
            if (why.empty()) why = "cannot read " + (mapped.empty() ? path : mapped);
            PrintLine("Error loading image " + path + ": " + why);
            return nullptr;
        }
        std::string error;
        if (!DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), decoded, error,
                         E().pictureLimits)) {
            PrintLine("Error loading image " + path + ": " + error);
            return nullptr;
        }
    }
    if (!decoded.warning.empty())
        PrintLine("Image " + path + " is damaged (" + decoded.warning +
                  "): the part its data does not reach shows grey");
    auto texture = std::make_shared<Texture>();
    texture->w = decoded.width;
    texture->h = decoded.height;
    if (flags & kKeepPixels) texture->kept = decoded.rgba;
    texture->pending = std::move(decoded.rgba);
    if (E().renderer) detail::UploadTexture(*texture);
    auto image = std::make_shared<Image>();
    image->texture = std::move(texture);
    texW = decoded.width;
    texH = decoded.height;
    return image;
}

// Frames of w x h from (x, y) inside `bounds`, left to right, continuing on the next row at
// the left edge once a frame would pass the right edge. Frames that pass the bottom are left out.
void CutFrames(Image& image, const Rect& bounds, int x, int y, int w, int h, int count) {
    image.frames.clear();
    if (w <= 0 || h <= 0) return;
    // Positions and sizes come from data files and may be anything: summed in 64 bits, none
    // overflows, and a frame that is kept lies inside the bounds.
    int64_t left = x;
    int64_t top = y;
    for (int i = 0; i < count; ++i) {
        if (left + w > bounds.w && left > 0) {
            left = 0;
            top += h;
        }
        if (left + w > bounds.w || top + h > bounds.h) break;
        image.frames.push_back(
            Rect{bounds.x + static_cast<int>(left), bounds.y + static_cast<int>(top), w, h});
        left += w;
    }
}

}  // namespace

namespace {

bool Offers(const SDL_RendererInfo& info, Uint32 format) {
    for (Uint32 i = 0; i < info.num_texture_formats; ++i)
        if (info.texture_formats[i] == format) return true;
    return false;
}

// Textures in the layout of the window's pixels, so that drawing one copies (or blends) texels
// without reordering their bytes on every draw.
void ChooseFormats(detail::Engine& e) {
    if (e.formatsOf == e.renderer) return;
    e.formatsOf = e.renderer;
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(e.renderer, &info);
    const Uint32 window = e.window ? SDL_GetWindowPixelFormat(e.window) : Uint32{SDL_PIXELFORMAT_UNKNOWN};
    const bool bgr = window == SDL_PIXELFORMAT_BGR888 || window == SDL_PIXELFORMAT_ABGR8888;
    e.alphaFormat = bgr ? SDL_PIXELFORMAT_ABGR8888 : SDL_PIXELFORMAT_ARGB8888;
    if (!Offers(info, e.alphaFormat)) e.alphaFormat = SDL_PIXELFORMAT_RGBA32;
    const bool plain32 = window == SDL_PIXELFORMAT_RGB888 || window == SDL_PIXELFORMAT_BGR888 ||
                         window == SDL_PIXELFORMAT_ARGB8888 || window == SDL_PIXELFORMAT_ABGR8888;
    e.opaqueFormat = plain32 && Offers(info, window) ? window : e.alphaFormat;
}

// Rewrites RGBA8 bytes in place as 32-bit pixels of `format` (one of the 8888 layouts).
void ToFormat(std::vector<uint8_t>& texels, Uint32 format) {
    if (format == SDL_PIXELFORMAT_RGBA32) return;
    const bool bgr = format == SDL_PIXELFORMAT_ABGR8888 || format == SDL_PIXELFORMAT_BGR888;
    const bool alpha = SDL_ISPIXELFORMAT_ALPHA(format);
    uint8_t* p = texels.data();
    for (size_t i = 0; i + 3 < texels.size(); i += 4, p += 4) {
        const uint32_t r = p[0], g = p[1], b = p[2], a = alpha ? p[3] : 255;
        const uint32_t pixel = bgr ? (a << 24) | (b << 16) | (g << 8) | r : (a << 24) | (r << 16) | (g << 8) | b;
        std::memcpy(p, &pixel, 4);
    }
}

bool AllOpaque(const std::vector<uint8_t>& rgba) {
    for (size_t i = 3; i < rgba.size(); i += 4)
        if (rgba[i] != 255) return false;
    return true;
}

}  // namespace

namespace detail {

void UploadTexture(Texture& t) {
    Engine& e = E();
    SDL_Renderer* r = e.renderer;
    if (!r || t.sdl || t.pending.empty()) return;
    ChooseFormats(e);
    t.opaque = AllOpaque(t.pending);
    const Uint32 format = t.opaque ? e.opaqueFormat : e.alphaFormat;
    SDL_Texture* sdl = SDL_CreateTexture(r, format, SDL_TEXTUREACCESS_STATIC, t.w, t.h);
    if (!sdl) {
        PrintLine(std::string("Error creating texture: ") + SDL_GetError());
        t.pending.clear();
        t.pending.shrink_to_fit();
        return;
    }
    ToFormat(t.pending, format);
    SDL_UpdateTexture(sdl, nullptr, t.pending.data(), t.w * 4);
    SDL_SetTextureScaleMode(sdl, SDL_ScaleModeLinear);
    SDL_SetTextureBlendMode(sdl, SDL_BLENDMODE_BLEND);
    t.sdl = sdl;
    t.pending.clear();
    t.pending.shrink_to_fit();
}

void DropTextures(Texture& t) {
    FlushBatch();  // what was drawn with them before they go
    DropWays(t.ways, nullptr);
    t.texels.clear();
    t.texels.shrink_to_fit();
    if (t.sdl) SDL_DestroyTexture(t.sdl);
    t.sdl = nullptr;
    for (SDL_Texture*& m : t.mirrored) {
        if (m) SDL_DestroyTexture(m);
        m = nullptr;
    }
    for (Texture::Scaled& s : t.scaled)
        if (s.sdl) SDL_DestroyTexture(s.sdl);
    t.scaled.clear();
}

int RoomySide(int n) {
    // Summed in 64 bits: a side near the int range would wrap to a negative one.
    if (n > 256) return static_cast<int>(std::min<int64_t>((int64_t{n} + 63) / 64 * 64, INT32_MAX / 64 * 64));
    int room = 32;
    while (room < n) room *= 2;
    return room;
}

SDL_Texture* ScaledTexture(Texture& t, SDL_Texture* from, int flip, const SDL_Rect& src, int w, int h) {
    // A few sizes per picture: a sprite at its resting scale, one pixel more or less where its
    // place rounds the other way, and a frame or two of its animation.
    constexpr size_t kKept = 24;
    constexpr int64_t kLargest = 2048 * 2048;
    // Copies are made roomy and handed on to the size that takes their place over, so a picture
    // whose size keeps changing (a growing glow) soon stops making new ones.
    SDL_Renderer* r = E().renderer;
    // The area in 64 bits: a picture scaled a thousand times is wider than its int product holds.
    if (!r || !from || w <= 0 || h <= 0 || int64_t{w} * h > kLargest || !SDL_RenderTargetSupported(r))
        return nullptr;
    const uint32_t now = ++t.scaledUses;
    Texture::Scaled* entry = nullptr;
    for (Texture::Scaled& s : t.scaled) {
        if (s.flip == flip && s.w == w && s.h == h && s.src.x == src.x && s.src.y == src.y && s.src.w == src.w &&
            s.src.h == src.h) {
            entry = &s;
            break;
        }
    }
    if (!entry) {
        // Seen once: remembered in the place of the one unused longest.
        if (t.scaled.size() < kKept) {
            if (t.scaled.capacity() < kKept) t.scaled.reserve(kKept);
            t.scaled.emplace_back();
            entry = &t.scaled.back();
        } else {
            entry = &*std::min_element(t.scaled.begin(), t.scaled.end(),
                                       [](const Texture::Scaled& a, const Texture::Scaled& b) { return a.lastUse < b.lastUse; });
            if (entry->sdl) {
                FlushBatch();
                DropWays(t.ways, entry->sdl);
            }
        }
        *entry = Texture::Scaled{src, flip, w, h, entry->sdl, now, 1, false};
    } else {
        entry->lastUse = now;
        entry->draws = std::min(entry->draws + 1, 3);
        if (entry->made) return entry->sdl;
    }
    int haveW = 0, haveH = 0;
    if (entry->sdl) SDL_QueryTexture(entry->sdl, nullptr, nullptr, &haveW, &haveH);
    if (haveW < w || haveH < h) {
        // Without a copy handed on large enough, a size gets one of its own only at its third
        // draw: one drawn once or twice (a growing shock ring passing it, once per ring) goes
        // through the engine's scratch picture instead.
        if (entry->draws < 3) return nullptr;
        if (entry->sdl) {
            FlushBatch();
            SDL_DestroyTexture(entry->sdl);
        }
        Uint32 format = 0;
        SDL_QueryTexture(from, &format, nullptr, nullptr, nullptr);
        entry->sdl = SDL_CreateTexture(r, format, SDL_TEXTUREACCESS_TARGET, RoomySide(w), RoomySide(h));
        if (!entry->sdl) return nullptr;
    }
    // The renderer's own smooth scaling, texels and alpha as they are, done once here instead of
    // into a scratch picture on every draw (the picture read as one more way of drawing it).
    SDL_Texture* source = WayTexture(t.ways, from, SDL_BLENDMODE_NONE, SDL_Color{255, 255, 255, 255}, true);
    if (!CopyTexels(source, src, entry->sdl, w, h)) return nullptr;
    entry->made = true;
    return entry->sdl;
}

SDL_Texture* MirroredTexture(Texture& t, int flip) {
    if (flip < 1 || flip > 3 || !t.sdl) return nullptr;
    SDL_Texture*& made = t.mirrored[flip - 1];
    if (made) return made;
    SDL_Renderer* r = E().renderer;
    if (!r || !SDL_RenderTargetSupported(r)) return nullptr;
    Uint32 format = 0;
    SDL_QueryTexture(t.sdl, &format, nullptr, nullptr, nullptr);
    SDL_Texture* copy = SDL_CreateTexture(r, format, SDL_TEXTUREACCESS_TARGET, t.w, t.h);
    if (!copy) return nullptr;
    FlushBatch();  // drawn onto the window before the target moves
    // Texels copied as they are (alpha too), turned over by the renderer once, here.
    SDL_Texture* const target = SDL_GetRenderTarget(r);
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    SDL_GetTextureBlendMode(t.sdl, &blend);
    SDL_SetTextureBlendMode(t.sdl, SDL_BLENDMODE_NONE);
    SDL_SetTextureColorMod(t.sdl, 255, 255, 255);
    SDL_SetTextureAlphaMod(t.sdl, 255);
    bool done = SDL_SetRenderTarget(r, copy) == 0;
    done = done && SDL_RenderCopyEx(r, t.sdl, nullptr, nullptr, 0, nullptr, static_cast<SDL_RendererFlip>(flip)) == 0;
    SDL_SetRenderTarget(r, target);
    SDL_SetTextureBlendMode(t.sdl, blend);
    if (!done) {
        SDL_DestroyTexture(copy);
        return nullptr;
    }
    SDL_ScaleMode scale = SDL_ScaleModeLinear;
    SDL_GetTextureScaleMode(t.sdl, &scale);
    SDL_SetTextureScaleMode(copy, scale);
    made = copy;
    return made;
}

void DestroyAllTextures() {
    FlushBatch();
    if (E().whiteTexture) SDL_DestroyTexture(E().whiteTexture);
    E().whiteTexture = nullptr;
    DropScratches();
    for (Texture* t : E().textures) DropTextures(*t);
    E().formatsOf = nullptr;
}

}  // namespace detail

ImagePtr LoadImage(const std::string& path, int frames, int flags) {
    int w = 0, h = 0;
    ImagePtr image = MakeImage(path, w, h, flags);
    if (!image) return nullptr;
    const int count = std::max(frames, 1);
    CutFrames(*image, Rect{0, 0, w, h}, 0, 0, w / count, h, count);
    if (image->frames.empty()) {
        PrintLine("Error loading image " + path + ": no frame fits");
        return nullptr;
    }
    return image;
}

ImagePtr LoadImage(const std::string& path, int frameWidth, int frameHeight, int frames, int flags) {
    int w = 0, h = 0;
    ImagePtr image = MakeImage(path, w, h, flags);
    if (!image) return nullptr;
    CutFrames(*image, Rect{0, 0, w, h}, 0, 0, frameWidth, frameHeight, std::max(frames, 1));
    if (image->frames.empty()) {
        PrintLine("Error loading image " + path + ": no frame fits");
        return nullptr;
    }
    if (static_cast<int>(image->frames.size()) < frames)
        PrintLine("Image " + path + " holds only " + std::to_string(image->frames.size()) + " frames");
    image->SetHandle(static_cast<float>(frameWidth / 2), static_cast<float>(frameHeight / 2));
    return image;
}

ImagePtr GrabImage(const ImagePtr& source, int x, int y, int w, int h, int frames, int /*flags*/) {
    // Frames are cut right of and below (x, y) only: a region starting left of or above the source
    // would draw pixels from outside it.
    if (!source || !source->texture || source->frames.empty() || x < 0 || y < 0 || w <= 0 || h <= 0)
        return nullptr;
    auto image = std::make_shared<Image>();
    image->texture = source->texture;
    // Measured from the source's first frame, and free to reach anywhere right of and below it.
    const Rect& origin = source->frames[0];
    const Rect bounds{origin.x, origin.y, source->texture->w - origin.x, source->texture->h - origin.y};
    CutFrames(*image, bounds, x, y, w, h, std::max(frames, 1));
    if (image->frames.empty()) return nullptr;
    return image;
}

namespace {

// One RGBA8 texel laid over another as the renderer blends them: where either is clear the
// other stays exactly as it is; where both show, the straight-alpha sum of the two.
void Over(const uint8_t* s, uint8_t* d) {
    const int sa = s[3], da = d[3];
    if (sa == 0) return;
    if (da == 0 || sa == 255) {
        std::memcpy(d, s, 4);
        return;
    }
    const int under = da * (255 - sa);               // the lower texel's share, times 255
    const int a = sa * 255 + under;                  // the sum's alpha, times 255
    for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>((s[c] * sa * 255 + d[c] * under + a / 2) / a);
    d[3] = static_cast<uint8_t>((a + 127) / 255);
}

}  // namespace

namespace {

// The pieces of `image` (which keeps its pixels) laid over each other into `out` (RGBA8, w x h),
// with the picture's top-left corner at (left, top) of the pieces' places; false when the page
// keeps no pixels or nothing of the pieces shows.
bool LayPieces(const ImagePtr& image, const Piece* pieces, int count, std::vector<uint8_t>& out, int& left,
               int& top, int& w, int& h) {
    if (!image || !image->texture || image->frames.empty() || !pieces || count <= 0) return false;
    const Texture& page = *image->texture;
    if (page.kept.size() != static_cast<size_t>(page.w) * page.h * 4) return false;
    const Rect& origin = image->frames[0];
    // Each piece cut to the page, as a draw cuts its source rectangle to the frame.
    auto cut = [&](const Piece& p, Rect& src, int& x, int& y) {
        const int x0 = std::max(p.source.x, 0), y0 = std::max(p.source.y, 0);
        const int x1 = std::min(p.source.x + p.source.w, origin.w), y1 = std::min(p.source.y + p.source.h, origin.h);
        src = Rect{origin.x + x0, origin.y + y0, x1 - x0, y1 - y0};
        x = p.x + (x0 - p.source.x);
        y = p.y + (y0 - p.source.y);
        return src.w > 0 && src.h > 0 && src.x + src.w <= page.w && src.y + src.h <= page.h;
    };
    int right = 0, bottom = 0;
    bool any = false;
    for (int i = 0; i < count; ++i) {
        Rect src;
        int x = 0, y = 0;
        if (!cut(pieces[i], src, x, y)) continue;
        left = any ? std::min(left, x) : x;
        top = any ? std::min(top, y) : y;
        right = any ? std::max(right, x + src.w) : x + src.w;
        bottom = any ? std::max(bottom, y + src.h) : y + src.h;
        any = true;
    }
    if (!any) return false;
    w = right - left;
    h = bottom - top;
    out.assign(static_cast<size_t>(w) * h * 4, 0);
    for (int i = 0; i < count; ++i) {
        Rect src;
        int x = 0, y = 0;
        if (!cut(pieces[i], src, x, y)) continue;
        for (int row = 0; row < src.h; ++row) {
            const uint8_t* from = page.kept.data() + (static_cast<size_t>(src.y + row) * page.w + src.x) * 4;
            uint8_t* to = out.data() + (static_cast<size_t>(y - top + row) * w + (x - left)) * 4;
            for (int col = 0; col < src.w; ++col) Over(from + col * 4, to + col * 4);
        }
    }
    return true;
}

}  // namespace

ImagePtr ComposeImage(const ImagePtr& image, const Piece* pieces, int count) {
    std::vector<uint8_t> pixels;
    int left = 0, top = 0, w = 0, h = 0;
    if (!LayPieces(image, pieces, count, pixels, left, top, w, h)) return nullptr;
    auto texture = std::make_shared<Texture>();
    texture->w = w;
    texture->h = h;
    texture->pending = std::move(pixels);
    if (E().renderer) detail::UploadTexture(*texture);
    auto composed = std::make_shared<Image>();
    composed->texture = std::move(texture);
    composed->frames.push_back(Rect{0, 0, w, h});
    composed->SetHandle(static_cast<float>(-left), static_cast<float>(-top));
    return composed;
}

bool PictureFits(const ImagePtr& picture, int w, int h) {
    const Texture* t = picture && picture->texture ? picture->texture.get() : nullptr;
    return t && t->sdl && t->w >= w && t->h >= h && E().renderer && picture->frames.size() == 1 &&
           picture.use_count() == 1 && picture->texture.use_count() == 1;
}

bool RecomposeImage(ImagePtr& picture, const ImagePtr& image, const Piece* pieces, int count) {
    Engine& e = E();
    int left = 0, top = 0, w = 0, h = 0;
    if (!LayPieces(image, pieces, count, e.composing, left, top, w, h)) {
        // Nothing shows: the picture keeps its texture for the next line, but draws nothing.
        if (picture && !picture->frames.empty()) picture->frames[0] = Rect{};
        return false;
    }
    Texture* t = picture && picture->texture ? picture->texture.get() : nullptr;
    if (!PictureFits(picture, w, h)) {
        if (!e.renderer) {
            picture = ComposeImage(image, pieces, count);
            return picture != nullptr;
        }
        // Made roomier than this line, so that most lines after it fit in the same texture.
        ChooseFormats(e);
        const int roomW = (w + 127) / 128 * 128, roomH = (h + 15) / 16 * 16;
        SDL_Texture* sdl = SDL_CreateTexture(e.renderer, e.alphaFormat, SDL_TEXTUREACCESS_STATIC, roomW, roomH);
        if (!sdl) return false;
        SDL_SetTextureScaleMode(sdl, SDL_ScaleModeLinear);
        SDL_SetTextureBlendMode(sdl, SDL_BLENDMODE_BLEND);
        auto texture = std::make_shared<Texture>();
        texture->sdl = sdl;
        texture->w = roomW;
        texture->h = roomH;
        picture = std::make_shared<Image>();
        picture->texture = std::move(texture);
        picture->frames.push_back(Rect{});
        t = picture->texture.get();
    }
    // Draws of the line it held, still waiting in a run, go out before its pixels change.
    detail::FlushBatch();
    t->opaque = AllOpaque(e.composing);
    ToFormat(e.composing, e.alphaFormat);
    const SDL_Rect area{0, 0, w, h};
    SDL_UpdateTexture(t->sdl, &area, e.composing.data(), w * 4);
    // Its copies for other ways of drawing hold its texels as they are: they take the new ones too.
    for (TextureWay& way : t->ways)
        if (way.from == t->sdl) SDL_UpdateTexture(way.sdl, &area, e.composing.data(), w * 4);
    // Its turned-over and scaled copies are made again from the new texels when next asked for.
    for (Texture::Scaled& scaled : t->scaled) {
        if (scaled.sdl) detail::DropWays(t->ways, scaled.sdl);
        scaled.made = false;
    }
    for (SDL_Texture*& m : t->mirrored) {
        if (!m) continue;
        detail::DropWays(t->ways, m);
        SDL_DestroyTexture(m);
        m = nullptr;
    }
    t->texels.clear();
    picture->frames[0] = Rect{0, 0, w, h};
    picture->SetHandle(static_cast<float>(-left), static_cast<float>(-top));
    return true;
}

}  // namespace platform
