// Pointer arrows: aiming, the edge clamp, bobbing and drawing.
#include "gui/arrow.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "gui/textbutton.hpp"
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
// The room a map arrow leaves around a caption of the place menu open over the map.
constexpr float kCaptionAir = 4;

// Whether a box centred on (cx, cy) reaches a caption of the open place menu (its buttons, its
// people and its way out), which lies over the map: an arrow there would hide the words.
bool OverMenuCaption(float cx, float cy, float halfW, float halfH) {
    for (const GUIItem* item : *GUIList::currentList) {
        if (item->removing || item->id != "button") continue;
        const auto* button = dynamic_cast<const GUITextButton*>(item);
        if (button == nullptr || button->font == nullptr || button->text.empty()) continue;
        const float left = button->x + static_cast<float>(button->xadd + button->tx) - kCaptionAir;
        const float top = button->y + static_cast<float>(button->yadd + button->ty) - kCaptionAir;
        const float right = left + static_cast<float>(button->tw) + 2 * kCaptionAir;
        const float bottom =
            top + static_cast<float>(Data::ExTextHeight(button->text, button->font)) + 2 * kCaptionAir;
        if (cx - halfW < right && left < cx + halfW && cy - halfH < bottom && top < cy + halfH) return true;
    }
    return false;
}

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
    // Found late, it fades in afresh where it points, as it would have when made.
    if (!waitId.empty() && removing == 0 && FindTarget()) {
        Data::KillTweens(&alpha);
        FadeIn(1.0f, 1);
    }
    if (follow) SetPos(follow);
    return 0;
}

void GUIArrow::Render() {
    if (image == nullptr || !waitId.empty()) return;
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
    const double length = h;
    // The arrow stands on the side of the spot toward the screen centre. On the map, where that
    // would cover a caption of the place menu open over it, it points at the spot from the far
    // side or from across instead, as long as it stays whole on the screen there; with no side
    // clear it waits unseen until the menu closes or the spot moves.
    const double toCentre = ATan2Deg(vh / 2 - py, vw / 2 - px);
    double g = toCentre, l = 0, m = 0;
    int x0 = 0, y0 = 0;
    bool clear = false;
    for (const double turn : {0.0, 180.0, 90.0, -90.0}) {
        g = toCentre + turn;
        l = CosDeg(g);
        m = SinDeg(g);
        const int sx = TruncToInt(px + l * length), sy = TruncToInt(py + m * length);
        x0 = std::clamp(sx, kEdge, std::max(kEdge, vw - kEdge));
        y0 = std::clamp(sy, kEdge, std::max(kEdge, vh - kEdge));
        if (!map) {
            clear = true;
            break;
        }
        if (turn != 0 && (sx != x0 || sy != y0)) continue;
        // The turned picture's box, stretched by the bobbing along the arrow.
        const double c = std::fabs(l), s = std::fabs(m);
        const double halfW = (w * s + h * c) * 0.5 + c * length * 0.2;
        const double halfH = (w * c + h * s) * 0.5 + s * length * 0.2;
        if (!OverMenuCaption(static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(halfW),
                             static_cast<float>(halfH))) {
            clear = true;
            break;
        }
    }
    if (!clear) return;
    if (alpha.value < 1) platform::SetAlpha(alpha.value);
    const double bob = SinDeg(counter * 0.5) * length * 0.2;
    const int X = TruncToInt(x0 - bob * l);
    const int Y = TruncToInt(y0 - bob * m);
    image->Draw2(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(-g - 90), 1, 1, 0);
    platform::SetAlpha(1);
}
