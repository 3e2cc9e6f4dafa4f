// The cutscene player: one script of the animation table played as a GUI item. Pictures enter,
// glide, fade, grow and change colour along tweens, captions type themselves out and fade, music
// and sounds start and sparks burst, step after step with timed pauses, until the script ends, the
// skip button is pressed or the player asks to go back.
#include "gui/animation.hpp"

#include <algorithm>
#include <cmath>

#include "core/glyphfont.hpp"
#include "core/strings.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/gui2.hpp"
#include "gui/particledot.hpp"
#include "gui/textbutton.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "platform/random.hpp"

namespace {

constexpr int kUnset = AnimationElement::unset;
// How far inside the screen's edge the comic panel's border of a cutscene ends, its ink line
// included.
constexpr float kPanelBorder = 24;

int Red(int c) {
    return (static_cast<unsigned>(c) >> 16) & 0xFF;
}
int Green(int c) {
    return (static_cast<unsigned>(c) >> 8) & 0xFF;
}
int Blue(int c) {
    return static_cast<unsigned>(c) & 0xFF;
}

// The bank's picture of that name, or null: a cutscene naming a picture the bank lacks simply
// does not show it.
GameImage* BankImage(const std::string& name) {
    if (name.empty() || briskGame == nullptr || briskGame->images == nullptr) return nullptr;
    return briskGame->images->Get(UpperKey(name));
}

}  // namespace

// --- AnimationCallback ---------------------------------------------------------------------------

int AnimationCallback::Call(GUIItem* sender) {
    if (sender != nullptr && sender->id == "skip" && animation != nullptr) animation->Stop();
    return 0;
}

// --- AnimationObject -----------------------------------------------------------------------------

AnimationObject::~AnimationObject() {
    KillTweens();
}

void AnimationObject::KillTweens() {
    for (FloatObject* v : {&x, &y, &alpha, &scale, &r, &g, &b}) Data::KillTweens(v);
}

Pool<AnimationObject>& AnimationObject::Objects() {
    // Made once and never taken down: a player still on the item list when the program ends gives
    // its pictures back after every other static has gone.
    static Pool<AnimationObject>* const objects = new Pool<AnimationObject>("AnimationObject", 32);
    return *objects;
}

void AnimationObjectRelease::operator()(AnimationObject* object) const {
    if (object == nullptr) return;
    object->KillTweens();
    object->inUse = 0;
}

AnimationObjectPtr AnimationObject::AnimationObject_new2() {
    AnimationObjectPtr o(Objects().Acquire());
    // A pooled picture keeps what its last user left: everything is set afresh.
    o->id.clear();
    o->flip = 0;
    o->image = nullptr;
    o->center = 0;
    o->frame = 0;
    o->w = 0;
    o->h = 0;
    o->x.value = 0.0f;
    o->y.value = 0.0f;
    o->alpha.value = 1.0f;
    o->scale.value = 1.0f;
    o->r.value = 255.0f;
    o->g.value = 255.0f;
    o->b.value = 255.0f;
    o->additive = 0;
    o->rotate = 0;
    return o;
}

AnimationObjectPtr AnimationObject::AnimationObject_new(const std::string& id, int x, int y,
                                                        const std::string& imageName, int frame, int center,
                                                        int alpha, int scale, int color, int flip) {
    AnimationObjectPtr o = AnimationObject_new2();
    o->id = id;
    o->flip = flip;
    o->center = center;
    if (imageName == "CharacterShadow") {
        // The new hero as a silhouette: their own body, in black whatever the script says.
        o->image = BankImage(Profile::GetFlagString("CharacterPortrait"));
        color = 0;
    } else {
        o->image = BankImage(imageName);
    }
    o->frame = frame;
    if (o->image != nullptr) {
        o->w = o->image->w;
        o->h = o->image->h;
    }
    o->x.value = static_cast<float>(x);
    o->y.value = static_cast<float>(y);
    if (alpha != kUnset) o->alpha.value = static_cast<float>(alpha) / 100.0f;
    if (scale != kUnset) o->scale.value = static_cast<float>(scale) / 100.0f;
    if (color != kUnset) {
        o->r.value = static_cast<float>(Red(color));
        o->g.value = static_cast<float>(Green(color));
        o->b.value = static_cast<float>(Blue(color));
    }
    return o;
}

// A new value replaces whatever was carrying this one before, so that a jump made while an earlier
// glide still runs is not undone by that glide on the next frame.
void AnimationObject::Tween(FloatObject& value, float to, int d) {
    Data::KillTweens(&value);
    if (d != 0) {
        Data::AddTween(&value, d, value.value, to);
    } else {
        value.value = to;
    }
}

void AnimationObject::SetXValue(float v, int d) {
    Tween(x, v, d);
}
void AnimationObject::SetYValue(float v, int d) {
    Tween(y, v, d);
}
void AnimationObject::SetAlphaValue(int v, int d) {
    Tween(alpha, static_cast<float>(v) / 100.0f, d);
}
void AnimationObject::SetScaleValue(int v, int d) {
    Tween(scale, static_cast<float>(v) / 100.0f, d);
}

void AnimationObject::SetColorValue(int c, int d) {
    Tween(r, static_cast<float>(Red(c)), d);
    Tween(g, static_cast<float>(Green(c)), d);
    Tween(b, static_cast<float>(Blue(c)), d);
}

void AnimationObject::Render3(float a) {
    if (additive) platform::SetBlend(1);
    if (image != nullptr) {
        const float rotation = rotate ? a * 0.2f : 0.0f;
        if (alpha.value < 1.0f) platform::SetAlpha(alpha.value);
        platform::SetColor(r.value, g.value, b.value);
        const float s = scale.value;
        float px = x.value;
        float py = y.value;
        float sx = s;
        if (flip) {
            // Mirrored about its handle, then moved back over the box it covered unmirrored (for a
            // picture held by its corner, one width to the right; for one held by its middle, none).
            sx = -s;
            const float handle = image->image ? image->image->HandleX() : 0.0f;
            px += (static_cast<float>(w) - 2.0f * handle) * s;
        }
        if (s != 1.0f && !center) {
            // Grows about its middle.
            px -= (s - 1.0f) * static_cast<float>(w) * 0.5f;
            py -= (s - 1.0f) * static_cast<float>(h) * 0.5f;
        }
        image->Draw2(px, py, rotation, sx, s, frame);
        platform::SetColor(255, 255, 255);
        platform::SetAlpha(1.0f);
    }
    if (additive) platform::SetBlend(0);
}

// --- AnimationText -------------------------------------------------------------------------------

AnimationText::~AnimationText() {
    Data::KillTweens(&alpha);
}

std::unique_ptr<AnimationText> AnimationText::AnimationText_new(int x, int y, const std::string& text,
                                                                int color, int center, int flip, int time) {
    auto t = std::make_unique<AnimationText>();
    const bool xUnset = x == kUnset;
    t->x = xUnset ? 24 : x;
    t->y = y == kUnset ? 24 : y;
    t->time = time == kUnset ? 0 : time;
    t->center = center;
    t->font = Fonts::Get("on");
    t->text = Data::MingleWords(text);
    t->w = Data::ExTextWidth(t->text, t->font);
    t->h = Data::ExTextHeight(t->text, t->font);
    // An unset colour is not special-cased: its bits read as (255, 0, 1).
    t->r = Red(color);
    t->g = Green(color);
    t->b = Blue(color);
    if (center) {
        t->x = (Data::virtualWidth - t->w) / 2;
    } else if (flip) {
        t->x = xUnset ? Data::virtualWidth - t->w - 24 : x - t->w;
    }
    return t;
}

void AnimationText::Update2() {
    const float length = static_cast<float>(text.size());
    count += Data::frameMs * 0.05f;
    if (count < length) {
        soundCount -= Data::frameMs;
        if (soundCount <= 0) {
            soundCount = platform::Rnd(55.0f, 90.0f);
            if (center) {
                Audio::PlayOTick();
            } else {
                Audio::PlayTick();
            }
        }
    }
    const float k = std::clamp(length * 0.65f, 30.0f, 75.0f);
    if (time != 0) {
        timeCount += Data::frameMs;
        if (timeCount >= static_cast<float>(time)) done = 1;
    }
    if (count >= length + k * 2.25f && !fading) {
        fading = 1;
        Data::AddTween(&alpha, 250, 1.0f, 0.0f);
    }
    if (count >= length + k * 2.5f) done = 1;
}

void AnimationText::Render() {
    platform::SetAlpha(alpha.value);
    platform::SetColor(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
    Data::ExDrawText(x, y, text, font, center, w, TruncToInt(count));
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1.0f);
}

// --- GUIAnimation --------------------------------------------------------------------------------

GUIAnimation::GUIAnimation(const std::string& animationId, int skip)
    : GUIAnimation(AnimationList::Get(animationId), skip) {
    // The cutscene screen waits for an item of the animation's own name, found or not.
    id = animationId;
}

GUIAnimation::GUIAnimation(const AnimationItem* script, int skip) : item(script), animCallback(this) {
    if (item != nullptr) {
        id = item->id;
        if (Data::virtualWidth != item->w) offsetX = TruncToInt((Data::virtualWidth - item->w) * 0.5);
        if (Data::virtualHeight != item->h) offsetY = TruncToInt((Data::virtualHeight - item->h) * 0.5);
    }
    if (skip == 1) {
        GUITextButton* button =
            GUITextButton::Create(0, 0, "Buttons01", "Skip >>", Fonts::Get("on"), 16777215, &animCallback, 0);
        button->id = "skip";
        // Inside the comic panel's border that a cutscene is drawn in, not across it. The
        // alignment pads count in layout units.
        button->padX = static_cast<int>(std::ceil(kPanelBorder / Data::layoutScaleX));
        button->padY = static_cast<int>(std::ceil(kPanelBorder / Data::layoutScaleY));
        GUIList::Add(button, 1600, kAlignRight, kAlignBottom);
    }
}

int GUIAnimation::UpdateAction() {
    for (auto& caption : text) caption->Update2();
    // Finished captions leave one a frame, the first in order.
    auto finished = std::find_if(text.begin(), text.end(), [](const auto& caption) { return caption->done; });
    if (finished != text.end()) text.erase(finished);

    if (Data::backPressed || Data::screenRotated) {
        Data::backPressed = 0;
        Data::screenRotated = 0;
        Stop();
        return 0;
    }
    if (wait > 0) {
        wait -= Data::frameMs;
        return 0;
    }
    const int steps = item != nullptr ? static_cast<int>(item->elements.size()) : 0;
    if (currentIndex < steps) {
        while (currentIndex < steps) {
            const AnimationElement& e = item->elements[static_cast<size_t>(currentIndex)];
            ++currentIndex;
            if (parseElement2(e) == 1) break;
        }
        return 0;
    }
    // The scene is over. The music goes on into whatever follows.
    Leave();
    return 0;
}

void GUIAnimation::Render() {
    for (auto& object : objects) object->Render3(0);
    for (auto& caption : text) caption->Render();
}

void GUIAnimation::Stop() {
    Audio::StopMusic();
    Leave();
}

void GUIAnimation::Leave() {
    if (processed) GUIList::Remove(this);
    GUIList::Delete("skip", "");
}

AnimationPos* GUIAnimation::GetPos(const std::string& posName) {
    for (AnimationPos& p : posItems) {
        if (p.name == posName) return &p;
    }
    return nullptr;
}

AnimationObject* GUIAnimation::getObject(const std::string& objectId) {
    for (auto& object : objects) {
        if (object->id == objectId) return object.get();
    }
    return nullptr;
}

void GUIAnimation::ResolvePos(const AnimationElement& e, int& px, int& py) {
    px = e.x != kUnset ? e.x + offsetX : kUnset;
    py = e.y != kUnset ? e.y + offsetY : kUnset;
    if (!e.pos.empty()) {
        if (const AnimationPos* p = GetPos(e.pos)) {
            px = p->x;
            py = p->y;
        }
    }
}

int GUIAnimation::parseElement2(const AnimationElement& e) {
    int px = kUnset;
    int py = kUnset;
    if (e.type == "music") {
        Audio::PlayMusic(StringToInt(e.id));
    } else if (e.type == "sound") {
        Audio::PlaySound(StringToInt(e.id), 1.0f);
    } else if (e.type == "special") {
        ResolvePos(e, px, py);
        if (e.id == "explosion") GUIParticleDot::CreateExplosion(px, py, e.scale, e.color, e.color, nullptr);
    } else if (e.type == "text") {
        ResolvePos(e, px, py);
        text.push_back(AnimationText::AnimationText_new(px, py, e.id, e.color, e.center, e.flip, e.time));
    } else if (e.type == "enter") {
        ResolvePos(e, px, py);
        objects.push_back(AnimationObject::AnimationObject_new(e.id, px, py, e.image, e.index, e.center,
                                                               e.alpha, e.scale, e.color, e.flip));
    } else if (e.type == "move") {
        AnimationObject* o = getObject(e.id);
        if (o == nullptr) return 0;
        ResolvePos(e, px, py);
        const int d = e.time != kUnset ? e.time : 0;
        if (px != kUnset) o->SetXValue(static_cast<float>(px), d);
        if (py != kUnset) o->SetYValue(static_cast<float>(py), d);
        if (e.alpha != kUnset) o->SetAlphaValue(e.alpha, d);
        if (e.scale != kUnset) o->SetScaleValue(e.scale, d);
        if (e.color != kUnset) o->SetColorValue(e.color, d);
    } else if (e.type == "wait") {
        wait = static_cast<float>(e.time);
        return 1;
    } else if (e.type == "exit") {
        auto gone =
            std::find_if(objects.begin(), objects.end(), [&](const auto& o) { return o->id == e.id; });
        if (gone != objects.end()) objects.erase(gone);
    }
    return 0;
}
