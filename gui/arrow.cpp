// Pointer arrows: aiming, the edge clamp, bobbing and drawing.
#include "gui/arrow.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "model/data2.hpp"
#include "platform/graphics.hpp"

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

double SinDeg(double d) {
    return std::sin(d / kDegrees);
}
double CosDeg(double d) {
    return std::cos(d / kDegrees);
}
double ATan2Deg(double y, double x) {
    return std::atan2(y, x) * kDegrees;
}

// How far inside the screen's edge the arrow stays.
constexpr int kEdge = 32;

}  // namespace

GUIArrow::GUIArrow() = default;

GUIArrow::GUIArrow(const GUIItem* target, const std::string& itemId, const std::string& itemName, int onMap) {
    id = itemId;
    name = itemName;
    map = onMap;
    if (briskGame && briskGame->images) image = briskGame->images->Get(UpperKey("Arrow"));
    if (image) {
        w = image->w;
        h = image->h;
        if (target) SetPos(target);
    }
    FadeIn(1.0f, 1);
}

void GUIArrow::SetPos(const GUIItem* item) {
    if (item == nullptr) return;
    x = item->x + static_cast<float>(item->w / 2);
    y = std::max(item->y - static_cast<float>(h) * 0.5f, static_cast<float>(h) * 0.25f);
    ix = TruncToInt(item->x + static_cast<float>(item->w / 2));
    iy = TruncToInt(item->y + static_cast<float>(item->h / 2));
}

void GUIArrow::PointAt(const std::string& targetId, const std::string& targetName) {
    waitId = targetId;
    waitName = targetName;
    FindTarget();
}

bool GUIArrow::FindTarget() {
    const GUIItem* target = GUIList::Get(waitId, waitName);
    if (target == nullptr) return false;
    SetPos(target);
    waitId.clear();
    waitName.clear();
    return true;
}

int GUIArrow::Update2() {
    GUIItem::Update2();
    counter += Data::frameMs;
    // Found late, it fades in where it points, as it would have when made.
    if (!waitId.empty() && removing == 0 && FindTarget()) FadeIn(1.0f, 1);
    if (follow) SetPos(follow);
    return 0;
}

void GUIArrow::Render() {
    if (image == nullptr || !waitId.empty()) return;
    if (alpha.value < 1) platform::SetAlpha(alpha.value);
    int px = ix, py = iy;
    if (map) {
        px += xadd;
        py += yadd;
    }
    if (parent) {
        px += TruncToInt(parent->x);
        py += TruncToInt(parent->y);
    }
    const int vw = Data::virtualWidth, vh = Data::virtualHeight;
    // The direction from the spot toward the screen centre.
    const double g = ATan2Deg(vh / 2 - py, vw / 2 - px);
    const double l = CosDeg(g), m = SinDeg(g);
    const double length = h;
    const int x0 = std::clamp(TruncToInt(px + l * length), kEdge, std::max(kEdge, vw - kEdge));
    const int y0 = std::clamp(TruncToInt(py + m * length), kEdge, std::max(kEdge, vh - kEdge));
    const double bob = SinDeg(counter * 0.5) * length * 0.2;
    const int X = TruncToInt(x0 - bob * l);
    const int Y = TruncToInt(y0 - bob * m);
    image->Draw2(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(-g - 90), 1, 1, 0);
    platform::SetAlpha(1);
}
