// The dialogue player's pieces on stage: actors that slide in and out, and the speech bubbles and
// narration boxes with their typewriter text, inline picture and "Click to continue" prompt.
#include <algorithm>
#include <cmath>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/container.hpp"
#include "gui/dialogue.hpp"
#include "gui/hero.hpp"
#include "model/data2.hpp"
#include "platform/graphics.hpp"
#include "platform/random.hpp"

GameImage* FindImage(const std::string& name) {
    if (briskGame == nullptr || !briskGame->images || name.empty()) return nullptr;
    GameImage* image = briskGame->images->Get(UpperKey(name));
    if (image == nullptr || (image->preLoad && !image->image)) return nullptr;
    return image;
}

namespace {

constexpr const char* kImageTag = "<IMG:";
// One line break of the game's text layout, as the picture's room is made of.
constexpr const char* kPictureLine = "\\n ";
// A bubble's body fills the top of its picture and its tail hangs below: the body's dark border
// line begins at about nine tenths of the picture's height (196 of 220 on the wide bubble, 322 of
// 360 on the tall one). The prompt keeps this much air above seven eighths of the height.
constexpr float kBubbleBody = 0.875f;
constexpr int kPromptAir = 8;

int TextWidth(GlyphFont* font, const std::string& s) {
    return font != nullptr ? Data::ExTextWidth(s, font) : 0;
}
int TextHeight(GlyphFont* font, const std::string& s) {
    return font != nullptr ? Data::ExTextHeight(s, font) : 0;
}
std::string Wrap(GlyphFont* font, const std::string& s, int width) {
    return font != nullptr ? Data::ExTextSplit(s, font, width) : s;
}

}  // namespace

// --- DialogueActor -------------------------------------------------------------------------------

DialogueActor::DialogueActor(const std::string& actorId, int onLeft, const std::string& imageName,
                             int frameIndex, int x0, int border0, int centred)
    : left(onLeft), border(border0), id(actorId) {
    if (id == "hero") {
        hero = GUIHero::Create(0, 0);
        if (hero != nullptr) {
            w = hero->w;
            h = hero->h;
        }
    } else {
        image = FindImage(imageName);
        frame = frameIndex;
        if (image != nullptr) {
            w = image->w;
            h = image->h;
        }
    }
    Place();
    x.value = static_cast<float>(left ? -w : Data::virtualWidth + w);
    float target = 0;
    if (centred == 0 && x0 != 0) {
        target = static_cast<float>(x0);
    } else if (left) {
        target = static_cast<float>(static_cast<int>(Data::virtualWidth * 0.25 + x0));
    } else {
        target = static_cast<float>(static_cast<int>(Data::virtualWidth * 0.75 + x0));
    }
    Move3(target);
}

DialogueActor::~DialogueActor() {
    Data::KillTweens(&x);
}

void DialogueActor::Place() {
    y = Data::virtualHeight - h - (border == 1 ? 32 : 0);
    xmod = -(w / 2);
}

void DialogueActor::Clear2() {
    Data::KillTweens(&x);
    if (hero != nullptr) {
        hero->Clear2();
        hero = nullptr;
    }
}

void DialogueActor::CheckRotate() {
    Data::KillTweens(&x);
    Place();
    if (Data::virtualHeight != 0) x.value *= static_cast<float>(Data::virtualWidth) / Data::virtualHeight;
}

void DialogueActor::Move3(float target) {
    Data::KillTweens(&x);
    Data::AddTween(&x, 500, x.value, target);
}

void DialogueActor::DoExit() {
    Move3(static_cast<float>(left ? -w : Data::virtualWidth + w));
}

void DialogueActor::Render(float a) {
    platform::SetAlpha(a);
    if (image != nullptr) {
        if (left) {
            image->Draw2(x.value + xmod, static_cast<float>(y), 0, 1, 1, frame);
        } else {
            image->Draw2(x.value - xmod, static_cast<float>(y), 0, -1, 1, frame);
        }
    }
    if (hero != nullptr) {
        hero->x = x.value + xmod;
        hero->y = static_cast<float>(y);
        hero->alpha.value = a;
        hero->Render();
    }
    platform::SetAlpha(1.0f);
}

// --- DialogueText --------------------------------------------------------------------------------

DialogueText::DialogueText(int x0, int y0, const std::string& bubbleName, const std::string& text0,
                           int portrait0)
    : x(x0), y(y0), portrait(portrait0) {
    font = Fonts::Get("n");
    small = Fonts::Get("s");
    const bool narration = bubbleName.empty();
    if (narration) {
        w = 400;
        h = 0;
    } else {
        bg = FindImage(portrait ? "Bubble2" : "Bubble");
    }
    origText = Data::MingleWords(text0);
    // A bubble is as wide as its picture; the text above an inline picture is measured at the
    // width the text will be laid out at.
    extractImage(narration ? static_cast<int>(w * 0.75) : static_cast<int>((bg ? bg->w : 400) * 0.75));
    if (narration) {
        LayOut(static_cast<int>(w * 0.75));
        tx = static_cast<int>((w - tw) * 0.5);
        ty = 0;
        h = th + 16 + PromptHeight();
        sx = static_cast<int>((w - PromptWidth()) * 0.5);
        sy = h - PromptHeight();
        container = GUIContainer::Create(0, 0);
        container->w = w;
        container->h = h;
        AddFrameQuarters(container, "FrameSpeech", 24);
    } else {
        InitBubble();
    }
    if (img != nullptr) imgX = static_cast<int>(tx + (tw - img->w) * 0.5);
}

DialogueText::~DialogueText() {
    Clear2();
}

int DialogueText::PromptWidth() const {
    return small != nullptr ? small->TextWidth(stext) : 0;
}
int DialogueText::PromptHeight() const {
    return small != nullptr ? small->TextHeight(stext) : 0;
}

void DialogueText::LayOut(int wrapWidth) {
    text = Wrap(font, origText, wrapWidth);
    tw = TextWidth(font, text);
    th = TextHeight(font, text);
}

void DialogueText::extractImage(int wrapWidth) {
    imgCount = -1;
    const size_t at = origText.find(kImageTag);
    if (at == std::string::npos) return;
    const size_t nameStart = at + 5;
    const size_t close = origText.find('>', nameStart);
    // A tag that is not closed, or a picture the bank lacks, stays in the text as written.
    if (close == std::string::npos) return;
    GameImage* picture = FindImage(origText.substr(nameStart, close - nameStart));
    if (picture == nullptr) return;
    img = picture;
    imgCount = static_cast<int>(at);
    const int lineHeight = font != nullptr ? std::max(1, font->TextHeight("A")) : 1;
    const int lines = std::max(1, img->h / lineHeight) + 2;
    std::string room;
    for (int i = 0; i < lines; ++i) room += kPictureLine;
    const std::string before = origText.substr(0, at);
    origText = before + room + origText.substr(close + 1);
    imgY = TextHeight(font, Wrap(font, before, wrapWidth)) + lineHeight;
}

void DialogueText::InitBubble() {
    bg = FindImage(portrait ? "Bubble2" : "Bubble");
    // Without its picture a bubble keeps a plain size, so the text still shows.
    w = bg != nullptr ? bg->w : 400;
    h = bg != nullptr ? bg->h : 200;
    LayOut(static_cast<int>(w * 0.75));
    tx = static_cast<int>((w - tw) * 0.5);
    sx = static_cast<int>((w - PromptWidth()) * 0.5);
    ty = static_cast<int>((h - th) * (portrait ? 0.425 : 0.5));
    sy = BubblePromptTop(h, PromptHeight(), portrait);
}

int DialogueText::BubblePromptTop(int bubbleHeight, int promptHeight, int portrait) {
    const int spaced = bubbleHeight - (portrait ? 5 : 3) * promptHeight;
    const int inside =
        static_cast<int>(static_cast<float>(bubbleHeight) * kBubbleBody) - kPromptAir - promptHeight;
    return std::min(spaced, inside);
}

void DialogueText::SetPos2(int px, int py) {
    x = px;
    y = py;
    if (container != nullptr) {
        container->x = static_cast<float>(x - (container->w - w) * 0.5);
        container->y = static_cast<float>(y - (container->h - h) * 0.5);
    }
}

void DialogueText::SetActor(DialogueActor* speaker) {
    actor = speaker;
}

void DialogueText::PlaceNarration() {
    const float f = Data::virtualWidth > Data::virtualHeight ? 0.25f : 0.45f;
    SetPos2(static_cast<int>((Data::virtualWidth - w) * 0.5f),
            static_cast<int>((Data::virtualHeight - h) * f));
}

void DialogueText::CheckRotate() {
    if (container != nullptr) {
        PlaceNarration();
    } else {
        portrait = portrait ? 0 : 1;
        InitBubble();
    }
}

void DialogueText::Update2() {
    count += Data::frameMs * 0.045f;
    if (count >= static_cast<float>(text.size())) {
        done = 1;
        return;
    }
    soundCount -= Data::frameMs;
    if (soundCount <= 0) {
        soundCount = platform::Rnd(55.0f, 90.0f);
        if (actor == nullptr) {
            Audio::PlayOTick();
        } else {
            Audio::PlayTick();
        }
    }
}

void DialogueText::Clear2() {
    if (container != nullptr) {
        container->Clear2();
        container = nullptr;
    }
}

void DialogueText::Render(float a) {
    int bx = x;
    int by = y;
    if (actor != nullptr) {
        const float ax = actor->x.value;
        const float aw = static_cast<float>(actor->w);
        float fx = 0;
        if (actor->left) {
            fx = portrait ? ax - aw * 0.15f : ax + aw * 0.1875f;
        } else {
            fx = portrait ? ax - w + aw * 0.15f : ax - w - aw * 0.125f;
        }
        bx = std::clamp(static_cast<int>(fx), 0, std::max(0, Data::virtualWidth - w));
        by = portrait ? static_cast<int>(actor->y - h * 1.0) : static_cast<int>(actor->y - h * 0.8 + 32);
    }
    platform::SetAlpha(a);
    if (bg != nullptr) {
        if (actor != nullptr && !actor->left) {
            bg->Draw2(static_cast<float>(bx + w), static_cast<float>(by), 0, -1, 1, 0);
        } else {
            bg->Draw2(static_cast<float>(bx), static_cast<float>(by), 0, 1, 1, 0);
        }
    }
    if (container != nullptr) {
        container->alpha.value = a;
        container->Render();
        platform::SetAlpha(a);
    }
    if (img != nullptr) img->Draw2(static_cast<float>(bx + imgX), static_cast<float>(by + imgY));
    if (font != nullptr) {
        platform::SetColor(0, 0, 0);
        Data::ExDrawText(bx + tx, by + ty, text, font, 1, tw, static_cast<int>(count));
    }
    if (small != nullptr) {
        float promptAlpha = a;
        if (done) {
            constexpr float kDegrees = 3.14159265f / 180.0f;
            promptAlpha = a * (std::sin(count * 12.0f * kDegrees) * 0.5f + 0.5f);
        }
        platform::SetAlpha(promptAlpha);
        platform::SetColor(0, 0, 0);
        small->DrawText(stext, bx + sx, by + sy);
    }
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1.0f);
}
