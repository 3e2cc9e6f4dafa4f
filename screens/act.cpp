// The act card: the six cards' texts, the drifting bursts, and the way back to the map.
#include "screens/act.hpp"

#include <array>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/image.hpp"
#include "gui/particle.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "platform/random.hpp"
#include "screens/interlude.hpp"

namespace {

struct Card {
    const char* title;
    const char* text;
};

constexpr std::array<Card, 6> kCards{{
    {"Act I", "Call to Adventure"},
    {"Act II", "The Threshold"},
    {"Act III", "The Three Trials"},
    {"Act IV", "The Choice"},
    {"Act V", "Apotheosis"},
    {"Epilogue", "The End?"},
}};

// (216, 230, 255): the pale blue of the act's title.
constexpr int kTitleColour = 14214911;
constexpr int kWhite = 0xFFFFFF;
constexpr float kFirstAlpha = 0.001f;

}  // namespace

ActScreen::ActScreen() : GameScreen("Act") {}

void ActScreen::CardFor(int actShow, std::string& cardTitle, std::string& cardText) {
    cardTitle.clear();
    cardText.clear();
    if (actShow < 1 || actShow > static_cast<int>(kCards.size())) return;
    const Card& card = kCards[static_cast<size_t>(actShow - 1)];
    cardTitle = card.title;
    // The subtitle reads as a quotation.
    cardText = std::string("\"") + card.text + "\"";
}

void ActScreen::Start() {
    Audio::StopMusic();
    Profile::AddFlagInt("Flag.ActShow", 1);
    CardFor(Profile::GetFlagInt("Flag.ActShow"), title, text);
    Audio::PlaySound(13, 1.0f);

    StartGui();
    Profile::ClearIDs();

    GUIImage* picture = GUIImage::Create(0, 0, "Act", 0);
    picture->id = "bg";
    picture->x = static_cast<float>((Data::virtualWidth - picture->w) / 2);
    picture->y = static_cast<float>((Data::virtualHeight - picture->h) / 2);
    if (picture->w < Data::virtualWidth && picture->h < Data::virtualHeight && picture->w > 0)
        picture->scale.value = static_cast<float>(Data::virtualWidth) / static_cast<float>(picture->w);
    Data::KillTweens(&picture->alpha);
    picture->alpha.value = 0;
    Data::AddTween(&picture->alpha, 2000, 0.0f, 1.0f);
    GUIList::AddLast(picture);

    Burst(title, kTitleColour, TruncToInt(Data::virtualWidth * 0.125), TruncToInt(Data::virtualHeight * 0.25),
          false);
}

void ActScreen::Burst(const std::string& line, int colour, int x0, int y0, bool subtitle) {
    float s = 0.5f;
    for (int i = 0; i <= 5; ++i) {
        const char* font = nullptr;
        float target = 0;
        if (subtitle) {
            font = i == 5 ? "on" : "n";
            target = i == 5 ? 1.0f : 0.25f;
        } else {
            font = i == 5 ? "oxb" : i >= 3 ? "ob" : "b";
            target = i == 5 ? 1.0f : i >= 3 ? 0.5f : 0.25f;
        }
        int px = x0, py = y0;
        if (i != 5) {
            px = TruncToInt(static_cast<float>(x0) + platform::Rnd(0.0f, 100.0f) - 50.0f);
            py = TruncToInt(static_cast<float>(y0) + platform::Rnd(0.0f, 50.0f) - 25.0f);
        }
        GUIParticle* p = GUIParticle::Create(px, py, "", line, Fonts::Get(font), colour);
        p->drag = s * (subtitle ? 0.001f : 0.0025f);
        p->Move2(subtitle ? 180.0f : 0.0f, s);
        // A drifting text leaves the list once its alpha is 0, so its fade-in starts just above 0:
        // a frame that takes no time (the frames after a stall) would otherwise end it unseen.
        Data::KillTweens(&p->alpha);
        p->alpha.value = kFirstAlpha;
        Data::AddTween(&p->alpha, 500, kFirstAlpha, target);
        p->FadeOut(3000, 300);
        GUIList::Add(p, 100 + i);
        s *= 0.85f;
    }
}

void ActScreen::Update2() {
    UpdateGui();
    CheckRotate();
    count += Data::frameMs;
    if (count >= 500 && !triggered) {
        triggered = 1;
        Burst(text, kWhite, TruncToInt(Data::virtualWidth * 0.5), TruncToInt(Data::virtualHeight * 0.5),
              true);
    }
    if (count >= 4500 && !sound) {
        sound = 1;
        Audio::PlaySound(34, 1.0f);
    }
    if (count >= 7500 && !fading) {
        fading = 1;
        GUIList::FadeOut("bg", "");
    }
    if (Data::backPressed) {
        Data::backPressed = 0;
        Leave();
    } else if (Data::mouseHeld) {
        if (ok) Leave();
    } else {
        ok = 1;
    }
    if (count >= 8000) Leave();
}

void ActScreen::Leave() {
    if (left) return;
    left = 1;
    InterludeExits::LeaveForMap(35);
}

void ActScreen::Render() {
    platform::Cls(0, 0, 0);
    RenderGui();
}

void ActScreen::CheckRotate() {
    if (!Data::screenRotated || Data::virtualHeight == 0) return;
    const float ratio = static_cast<float>(Data::virtualWidth) / static_cast<float>(Data::virtualHeight);
    for (GUIItem* item : *GUIList::currentList) {
        if (auto* picture = dynamic_cast<GUIImage*>(item)) {
            picture->x = static_cast<float>((Data::virtualWidth - picture->w) / 2);
            picture->y = static_cast<float>((Data::virtualHeight - picture->h) / 2);
        } else if (auto* drifting = dynamic_cast<GUIParticle*>(item)) {
            drifting->px.value *= ratio;
            drifting->py.value /= ratio;
        }
    }
}
