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

// The map's corner panel (its menu, hero and settings buttons) stands over the bottom-left corner,
// drawn above the arrows: an arrow clamped into that corner, at a burglar off the screen's lower
// left, would sit half under it. It moves up the left edge or along the bottom edge, whichever is
// the shorter way, to stand beside the panel. True when it moved.
bool StepOutOfCorner(int& x0, int& y0, float halfW, float halfH) {
    const GUIItem* corner = GUIList::Get("profile", "corner");
    if (corner == nullptr || corner->removing) return false;
    const float left = corner->x + static_cast<float>(corner->xadd);
    const float top = corner->y + static_cast<float>(corner->yadd);
    const float right = left + static_cast<float>(corner->w), bottom = top + static_cast<float>(corner->h);
    if (x0 - halfW >= right || x0 + halfW <= left || y0 - halfH >= bottom || y0 + halfH <= top) return false;
    const int above = static_cast<int>(std::floor(top - halfH));
    const int beside = static_cast<int>(std::ceil(right + halfW));
    if (y0 - above <= beside - x0 && above >= kEdge) {
        y0 = above;
    } else {
        x0 = beside;
    }
    return true;
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

GUIArrow::Aim GUIArrow::Aiming() const {
    Aim aim;
    if (image == nullptr || !waitId.empty()) return aim;
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
    for (const double turn : {0.0, 180.0, 90.0, -90.0}) {
        double g = toCentre + turn;
        double l = CosDeg(g);
        double m = SinDeg(g);
        const int sx = TruncToInt(px + l * length), sy = TruncToInt(py + m * length);
        int x0 = std::clamp(sx, kEdge, std::max(kEdge, vw - kEdge));
        int y0 = std::clamp(sy, kEdge, std::max(kEdge, vh - kEdge));
        if (!map) return {true, x0, y0, g};
        if (turn != 0 && (sx != x0 || sy != y0)) continue;
        // The turned picture's box, stretched by the bobbing along the arrow.
        double c = std::fabs(l), s = std::fabs(m);
        double halfW = (w * s + h * c) * 0.5 + c * length * 0.2;
        double halfH = (w * c + h * s) * 0.5 + s * length * 0.2;
        if (StepOutOfCorner(x0, y0, static_cast<float>(halfW), static_cast<float>(halfH))) {
            // Moved along the edge, it turns to point at the spot from where it now stands.
            g = ATan2Deg(y0 - py, x0 - px);
            l = CosDeg(g);
            m = SinDeg(g);
            c = std::fabs(l);
            s = std::fabs(m);
            halfW = (w * s + h * c) * 0.5 + c * length * 0.2;
            halfH = (w * c + h * s) * 0.5 + s * length * 0.2;
        }
        if (!OverMenuCaption(static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(halfW),
                             static_cast<float>(halfH))) {
            return {true, x0, y0, g};
        }
    }
    return aim;
}

void GUIArrow::Render() {
    const Aim aim = Aiming();
    if (!aim.shown) return;
    if (alpha.value < 1) platform::SetAlpha(alpha.value);
    const double bob = SinDeg(counter * 0.5) * h * 0.2;
    const int X = TruncToInt(aim.x - bob * CosDeg(aim.angle));
    const int Y = TruncToInt(aim.y - bob * SinDeg(aim.angle));
    image->Draw2(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(-aim.angle - 90), 1, 1, 0);
    platform::SetAlpha(1);
}
