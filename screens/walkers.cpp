// Citizens, resources, the burglar and the distress call: walking, paying, pulsing and clicking.
#include "screens/walkers.hpp"

#include <cmath>

#include "core/glyphfont.hpp"
#include "core/strings.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "gui/particledot.hpp"
#include "model/data2.hpp"
#include "model/nodes.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "platform/random.hpp"
#include "screens/menu.hpp"

std::unique_ptr<GUIPool<GUICitizen>> GUICitizen::pool;
std::unique_ptr<GUIPool<GUIResource>> GUIResource::pool;

namespace {

// A burglar or a distress call goes away on its own after this much of its clock (about 13 s).
constexpr float kLifetime = 1000.0f;
// The citizens' sheets: "Citizen01" to "Citizen04"; the burglar's and the callers' after them.
constexpr const char* kCitizenSheets[] = {"Citizen01", "Citizen02", "Citizen03", "Citizen04"};
constexpr const char* kCallerSheets[] = {"Citizen06", "Citizen07"};

int NodeX(int n) {
    return n >= 0 && n < Nodes::kNodeCount ? Nodes::nodes[static_cast<size_t>(n)].x : 0;
}
int NodeY(int n) {
    return n >= 0 && n < Nodes::kNodeCount ? Nodes::nodes[static_cast<size_t>(n)].y : 0;
}

// A draw from 0 to count - 1 that never reaches count, whatever the float rounding.
int Pick(int count) {
    const int n = TruncToInt(platform::Rnd(static_cast<float>(count)));
    return n < 0 ? 0 : n >= count ? count - 1 : n;
}

}  // namespace

int RandomStartNode() {
    const int n = TruncToInt(platform::Rnd(static_cast<float>(Nodes::kNodeCount) - 1.5f)) + 1;
    return n < 1 ? 1 : n >= Nodes::kNodeCount ? Nodes::kNodeCount - 1 : n;
}

// --- Walking -------------------------------------------------------------------------------------

GUIWalker::~GUIWalker() {
    Data::KillTweens(&xpos);
    Data::KillTweens(&ypos);
}

void GUIWalker::NewDestination() {
    destination = Nodes::GetRandomNode(current);
    const float tx = static_cast<float>(NodeX(destination));
    const float ty = static_cast<float>(NodeY(destination));
    const int dx = TruncToInt(xpos.value - tx);
    const int dy = TruncToInt(ypos.value - ty);
    if (std::abs(dx) > std::abs(dy)) {
        frame = dx < 1 ? 12 : 6;
    } else {
        frame = dy < 1 ? 0 : 18;
    }
    const int ms = TruncToInt(std::sqrt(static_cast<double>(dx * dx + dy * dy)) * speed);
    Data::KillTweens(&xpos);
    Data::KillTweens(&ypos);
    Data::AddTween(&xpos, ms, xpos.value, tx);
    Data::AddTween(&ypos, ms, ypos.value, ty);
}

void GUIWalker::CheckWalk() {
    if (xpos.value == static_cast<float>(NodeX(destination)) && ypos.value == static_cast<float>(NodeY(destination))) {
        current = destination;
        NewDestination();
    }
}

void GUIWalker::PlaceOnRandomNode() {
    current = RandomStartNode();
    xpos.value = static_cast<float>(NodeX(current));
    ypos.value = static_cast<float>(NodeY(current));
}

int GUIWalker::WalkFrame() const {
    if (speed <= 0) return frame;
    return TruncToInt(frame + std::fmod(counter / speed * 3.0f, 6.0f));
}

// --- Citizens ------------------------------------------------------------------------------------

GUICitizen* GUICitizen::Create() {
    GUICitizen* c = pool->Get4(1);
    c->Init();
    return c;
}

void GUICitizen::Init() {
    Data::KillTweens(&xpos);
    Data::KillTweens(&ypos);
    id = "citizen";
    name.clear();
    x = y = 0;
    xadd = yadd = 0;
    destination = 0;
    frame = 0;
    image = FindImage(kCitizenSheets[Pick(4)]);
    speed = platform::Rnd(20.0f, 26.0f);
    counter = platform::Rnd(1000.0f);
    PlaceOnRandomNode();
    NewDestination();
    FadeIn(1.0f, 1);
}

void GUICitizen::Clear2() {
    Data::KillTweens(&xpos);
    Data::KillTweens(&ypos);
    GUIItem::Clear2();
}

int GUICitizen::Update2() {
    GUIItem::Update2();
    counter += Data::frameMs * 0.075f;
    CheckWalk();
    return 0;
}

void GUICitizen::Render() {
    if (image == nullptr) return;
    if (alpha.value < 1.0f) platform::SetAlpha(alpha.value);
    image->Draw2(static_cast<float>(xadd) + xpos.value, static_cast<float>(yadd) + ypos.value, 0, 1, 1, WalkFrame());
    platform::SetAlpha(1.0f);
}

// --- Resources -----------------------------------------------------------------------------------

void GUIResource::NewResource(int px, int py, int priority) {
    const int d = TruncToInt(Profile::GetFlagInt("Game.Clues") < 1 ? platform::Rnd(0.0f, 999.0f)
                                                                    : platform::Rnd(0.0f, 1499.0f));
    int kind = 0;
    if (d >= 1000) {
        kind = kClues;
    } else if (d >= 500) {
        if (Profile::GetFlagInt("Quest.Zero to Wannabe") >= 3) kind = kReputation;
    } else if (Profile::GetFlagInt("Quest.Easy Money") >= 1) {
        kind = kMoney;
    }
    if (kind == 0) return;
    GUIResource* resource = pool->Get4(0);
    if (resource == nullptr) return;
    resource->Init13(px, py, kind);
    GUIList::Add(resource, priority);
}

void GUIResource::Init13(int px, int py, int kind) {
    counter = 0;
    click = 0;
    ok = 0;
    xadd = yadd = 0;
    vmax = std::max(1, Profile::GetFlagInt("Level.Attribute.Ethics"));
    Audio::PlaySound(29, 1.0f);
    id = "citizen";
    name = "resource";
    image = FindImage("Icons02");
    frame = kind;
    w = image ? TruncToInt(image->w * 0.65) : 32;
    h = image ? TruncToInt(image->h * 0.65) : 32;
    x = static_cast<float>(px) - w * 0.65f;
    y = static_cast<float>(py) - h * 0.65f;
    FadeIn(1.0f, 1);
}

int GUIResource::Update2() {
    GUIItem::Update2();
    counter += Data::frameMs * 0.2f;
    if (removing) return 0;
    if (Data::mouseHeld == 0) {
        ok = 1;
        if (click && MouseOver(1)) {
            click = 0;
            Collect();
        }
    } else if (ok) {
        ok = 0;
        click = MouseOver(1);
    }
    return 0;
}

void GUIResource::Collect() {
    FadeOut(200, 1);
    const int amount = TruncToInt(platform::Rnd(1.0f, static_cast<float>(vmax + 1)));
    const int cx = TruncToInt(x + xadd + 0.5f * w);
    const int cy = TruncToInt(y + yadd + 0.5f * h);
    std::string text;
    int colour = 0;
    if (frame == kReputation) {
        text = CharThenNumber('+', amount);
        colour = Data::PaletteColour(1);
        Profile::AddFlagInt("Resource.Reputation", amount);
    } else if (frame == kClues) {
        text = CharThenNumber('+', amount);
        colour = Data::PaletteColour(9);
        Profile::AddFlagInt("Resource.Clues", amount);
    } else {
        text = CharThenNumber('$', amount);
        colour = Data::PaletteColour(0);
        Profile::AddFlagInt("Resource.Money", amount);
    }
    Menu::ShowNumber(cx, cy, text, colour, 270.0f, 0.55f, 1000, Fonts::Get("os"), 0);
    Audio::PlaySound(9, 1.0f);
    Audio::PlayPop();
    GUIParticleDot::CreateBang(cx, cy, 24, 0xffffff, 0.65f, nullptr);
    GUIList::FadeOut("arrow", "resource");
    if (Profile::GetFlagInt("Flag.random_resource") < 1) {
        Profile::SetFlagInt("Flag.random_resource", 1);
        Profile::SetFlagString("Dialogue", "random_resource");
    }
}

void GUIResource::Render() {
    if (image == nullptr) return;
    const float px = static_cast<float>(xadd) + x;
    const float py = static_cast<float>(yadd) + y;
    platform::SetAlpha(alpha.value);
    image->Draw2(px, py, 0, 0.65f, 0.65f, frame);
    platform::SetBlend(1);
    platform::SetAlpha(alpha.value * std::fabs(std::sin(counter * 3.14159265f / 180.0f)));
    image->Draw2(px, py, 0, 0.65f, 0.65f, frame);
    platform::SetBlend(0);
    platform::SetAlpha(1.0f);
}

// --- Burglar and distress call -------------------------------------------------------------------

int GUIClickTarget::IsOver() const {
    const float px = xpos.value + static_cast<float>(xadd);
    const float py = ypos.value + static_cast<float>(yadd);
    return px - 2 * w <= Data::mouseVX && Data::mouseVX < px + 2 * w && py - 2 * h <= Data::mouseVY &&
                   Data::mouseVY < py + 2 * h
               ? 1
               : 0;
}

int GUIClickTarget::UpdateAction() {
    if (!active) return 0;
    if (Data::mouseHeld == 0) {
        if (press == 0) {
            ok = 1;
        } else {
            press = 0;
            if (IsOver() && callback != nullptr) {
                callback->Call(this);
                ok = 0;
                GUIList::inputBlocked = 1;
                return 1;
            }
        }
    } else if (ok && IsOver()) {
        press = 1;
    }
    return 0;
}

void GUIClickTarget::FadeOut(int fadeSpeedMs, float fadeWaitValue) {
    GUIItem::FadeOut(fadeSpeedMs, fadeWaitValue);
    GUIList::FadeOut("arrow", id);
}

void GUIClickTarget::RenderRings(float cx, float cy, int r, int g, int b) const {
    platform::SetColor(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
    for (int k : {0, 33, 66}) {
        const float p = std::fmod(counter + static_cast<float>(k), 100.0f) / 100.0f;
        platform::SetAlpha((1.0f - p) * alpha.value * 0.85f);
        platform::DrawCircle(cx, cy, 3.0f * static_cast<float>(w) * p);
    }
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(alpha.value);
}

GUIBurglar::GUIBurglar(Callback* cb) {
    id = "burglar";
    callback = cb;
    image = FindImage("Citizen05");
    w = image ? image->w : 24;
    h = image ? image->h : 32;
    speed = 10.0f;
    PlaceOnRandomNode();
    x = xpos.value;
    y = ypos.value;
    NewDestination();
    FadeIn(1.0f, 1);
}

int GUIBurglar::Update2() {
    GUIItem::Update2();
    counter += Data::frameMs * 0.075f;
    CheckWalk();
    x = xpos.value;
    y = ypos.value;
    if (counter >= kLifetime && alpha.value == 1.0f) FadeOut(200, 1);
    return 0;
}

void GUIBurglar::Render() {
    const float cx = static_cast<float>(xadd) + xpos.value;
    const float cy = static_cast<float>(yadd) + ypos.value;
    RenderRings(cx, cy, 255, 64, 64);
    if (image) image->Draw2(cx, cy, 0, scale.value, scale.value, WalkFrame());
    platform::SetAlpha(1.0f);
}

GUIDistress::GUIDistress(Callback* cb) {
    id = "distress";
    callback = cb;
    image = FindImage(kCallerSheets[Pick(2)]);
    w = image ? image->w : 24;
    h = image ? image->h : 32;
    destination = RandomStartNode();
    current = destination;
    xpos.value = x = static_cast<float>(NodeX(destination));
    ypos.value = y = static_cast<float>(NodeY(destination));
    FadeIn(1.0f, 1);
}

int GUIDistress::Update2() {
    GUIItem::Update2();
    counter += Data::frameMs * 0.075f;
    if (counter >= kLifetime && alpha.value == 1.0f) FadeOut(200, 1);
    return 0;
}

void GUIDistress::Render() {
    const float cx = static_cast<float>(xadd) + x;
    const float cy = static_cast<float>(yadd) + y;
    RenderRings(cx, cy, 64, 64, 255);
    if (image) image->Draw2(cx, cy, 0, scale.value, scale.value, TruncToInt(std::fmod(counter / 4.0f, 8.0f)));
    platform::SetAlpha(1.0f);
}

void InitWalkerGlobals() {
    GUICitizen::pool = std::make_unique<GUIPool<GUICitizen>>(GUICitizen::kPoolSize, "GUICitizen");
    GUIResource::pool = std::make_unique<GUIPool<GUIResource>>(GUIResource::kPoolSize, "GUIResource");
}

void ReleaseWalkerGlobals() {
    GUIResource::pool.reset();
    GUICitizen::pool.reset();
}
