// Screen data layers: drawing their objects' bank images.
#include "core/briskdata.hpp"

std::function<platform::ImagePtr(const std::string&)> BriskDataObject::imageFinder;

void BriskDataObject::Render2(float offsetX, float offsetY) {
    if (imageName.empty() || visible == 0 || !(alpha > 0.0f)) return;
    if (!image && imageFinder) image = imageFinder(imageName);
    if (!image) return;
    platform::SetColor(static_cast<float>(red), static_cast<float>(green), static_cast<float>(blue));
    platform::SetAlpha(alpha);
    platform::DrawImage(image, x + offsetX, y + offsetY, rotation, scaleX, scaleY, 0);
}

void BriskDataLayer::Render2(float offsetX, float offsetY) {
    for (const auto& object : objects) {
        if (object && object->visible != 0) object->Render2(offsetX, offsetY);
    }
}
