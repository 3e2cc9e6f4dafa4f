// Image widgets: set-up and drawing about the centre.
#include "gui/image.hpp"

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "platform/graphics.hpp"

std::unique_ptr<GUIPool<GUIImage>> GUIImage::pool;

GUIImage* GUIImage::Create(float x, float y, const std::string& imageName, int frame) {
    GUIImage* i = pool->Get4(1);
    i->Init8(x, y, imageName, frame);
    return i;
}

void GUIImage::Init8(float px, float py, const std::string& imageName, int f) {
    image = nullptr;
    subset = 0;
    offsetX = offsetY = 0;
    flip = 0;
    rotate = 0;
    x = px;
    y = py;
    frame = f;
    image = briskGame->images->Find(imageName);
    SizeToPicture(image);
    FadeIn(1.0f, 1);
}

void GUIImage::SetSubset(int ox, int oy, int sw, int sh) {
    subset = 1;
    offsetX = ox;
    offsetY = oy;
    w = sw;
    h = sh;
}

void GUIImage::Render() {
    if (image == nullptr) return;
    if (alpha.value < 1) platform::SetAlpha(alpha.value);
    const float s = scale.value;
    const float sx = flip ? -s : s;
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    const float X = static_cast<float>(xadd) + x - (sx - 1) * fw * 0.5f;
    const float Y = static_cast<float>(yadd) + y - (s - 1) * fh * 0.5f;
    if (subset) {
        image->DrawSubImage(X, Y, static_cast<float>(offsetX), static_cast<float>(offsetY), fw, fh, rotate,
                            sx, s, frame);
    } else {
        image->Draw2(X, Y, rotate, sx, s, frame, false);
    }
    platform::SetAlpha(1);
}
