// Images: decoding a picture file into a texture, cutting it into frames, and the textures the
// renderer holds for them.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/app.hpp"
#include "platform/graphics.hpp"
#include "platform/imagecodec.hpp"
#include "platform/internal.hpp"
#include "platform/storage.hpp"

namespace platform {

using detail::E;

Texture::Texture() {
    E().textures.insert(this);
}

Texture::~Texture() {
    E().textures.erase(this);
    if (sdl) SDL_DestroyTexture(sdl);
}

int Image::Width() const {
    return frames.empty() ? 0 : frames[0].w;
}
int Image::Height() const {
    return frames.empty() ? 0 : frames[0].h;
}

namespace {

ImagePtr MakeImage(const std::string& path, int& texW, int& texH) {
    std::string bytes;
    const std::string mapped = MapPath(DataPath(path));
    if (!ReadDataFile(path, bytes)) {
        PrintLine("Error loading image " + path + ": cannot read " + (mapped.empty() ? path : mapped));
        return nullptr;
    }
    DecodedImage decoded;
    std::string error;
    if (!DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), decoded, error,
                     E().pictureLimits)) {
        PrintLine("Error loading image " + path + ": " + error);
        return nullptr;
    }
    auto texture = std::make_shared<Texture>();
    texture->w = decoded.width;
    texture->h = decoded.height;
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

namespace detail {

void UploadTexture(Texture& t) {
    SDL_Renderer* r = E().renderer;
    if (!r || t.sdl || t.pending.empty()) return;
    SDL_Texture* sdl = SDL_CreateTexture(r, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, t.w, t.h);
    if (!sdl) {
        PrintLine(std::string("Error creating texture: ") + SDL_GetError());
        t.pending.clear();
        t.pending.shrink_to_fit();
        return;
    }
    SDL_UpdateTexture(sdl, nullptr, t.pending.data(), t.w * 4);
    SDL_SetTextureScaleMode(sdl, SDL_ScaleModeLinear);
    SDL_SetTextureBlendMode(sdl, SDL_BLENDMODE_BLEND);
    t.sdl = sdl;
    t.pending.clear();
    t.pending.shrink_to_fit();
}

void DestroyAllTextures() {
    if (E().whiteTexture) SDL_DestroyTexture(E().whiteTexture);
    E().whiteTexture = nullptr;
    for (Texture* t : E().textures) {
        if (t->sdl) SDL_DestroyTexture(t->sdl);
        t->sdl = nullptr;
    }
}

}  // namespace detail

ImagePtr LoadImage(const std::string& path, int frames, int /*flags*/) {
    int w = 0, h = 0;
    ImagePtr image = MakeImage(path, w, h);
    if (!image) return nullptr;
    const int count = std::max(frames, 1);
    CutFrames(*image, Rect{0, 0, w, h}, 0, 0, w / count, h, count);
    if (image->frames.empty()) {
        PrintLine("Error loading image " + path + ": no frame fits");
        return nullptr;
    }
    return image;
}

ImagePtr LoadImage(const std::string& path, int frameWidth, int frameHeight, int frames, int /*flags*/) {
    int w = 0, h = 0;
    ImagePtr image = MakeImage(path, w, h);
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

}  // namespace platform
