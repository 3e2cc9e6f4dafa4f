// The tree-bashing game on screen: its panel, the button and circle, the ring, the cats.
#include "minigames/gametree_item.hpp"

#include <algorithm>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "gui/image.hpp"
#include "gui/particle.hpp"
#include "gui/particledot.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"

namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kSparkColour = 0xFFE080;

void Centre(GUIItem* item) {
    item->x = static_cast<float>((Data::virtualWidth - item->w) / 2);
    item->y = static_cast<float>((Data::virtualHeight - item->h) / 2);
}

// The instruction stands near the bottom, one line of its height above the edge.
void PlaceInstruction(GUIItem* text) {
    text->x = static_cast<float>((Data::virtualWidth - text->w) / 2);
    text->y = static_cast<float>(Data::virtualHeight - 2 * text->h);
}

}  // namespace

GUIGameTree::GUIGameTree(ActionItemGameDistress* action)
    : GUIGameDistress(action, "Street"),
      tree(FindImage("Tree")),
      circle(FindImage("TreeCircle320x320")),
      rules(Difficulty(), Profile::GetFlagInt("Game.Clues") > 0, EngineRandom(),
            static_cast<float>(Data::virtualWidth), static_cast<float>(Data::virtualHeight)) {
    if (tree) tree->SetHandle(static_cast<float>(tree->w) * 0.5f, static_cast<float>(tree->h));
    Begin();
}

void GUIGameTree::UpdatePlay(const DistressInput& in) {
    rules.clock.shown = timer != nullptr;
    const GUIItem* item = GUIList::Get("gamepopup", "button");
    const auto* button = dynamic_cast<const GUITextButton*>(item);
    const bool pressed = button && (button->state == "press" || button->state == "trigger");
    rules.Update(in, pressed);
    ShowCountdown(timer, rules.clock);
}

void GUIGameTree::InitPopup() {
    GUIText* instruction =
        GUIText::Create(0, 0, "Click, hold and release to bash the tree!", Fonts::Get("os"), kWhite);
    // On one line when the screen holds it: wrapped at 480 the comic font left "tree!" alone.
    instruction->SetWidth(std::max(480, std::min(Data::ExTextWidth(instruction->text, instruction->font),
                                                 Data::virtualWidth - 64)));
    instruction->center = 1;
    instruction->id = "gamepopup";
    instruction->name = "text";
    PlaceInstruction(instruction);
    GUIList::Add(instruction, 2000);
    timer = AddTopText(Countdown::kStartText);
}

void GUIGameTree::InitCircle() {
    GUIImage* guide = GUIImage::Create(Data::virtualWidth * 0.5f, Data::virtualHeight * 0.5f, "TreeCircle320x320", 0);
    guide->id = "gamepopup";
    guide->name = "circle";
    GUIList::Add(guide, 2000);
    GUITextButton* button =
        GUITextButton::Create(0, 0, "TileBg70x80", "Click", Fonts::Get("os"), kWhite, nullptr, 0);
    button->frame = 1;
    // The sheet has no hovered or pressed frames after this one: the cell grows under the mouse
    // instead.
    button->anim = 0;
    button->id = "gamepopup";
    button->name = "button";
    Centre(button);
    GUIList::Add(button, 2000);
}

void GUIGameTree::InitCat(const DistressEvent& event) {
    GUIParticle* cat = GUIParticle::Create(TruncToInt(event.x), TruncToInt(event.y), "TreeCat", "", nullptr, 0);
    cat->Move2(event.angle, 8);
    cat->drag = 0.05f;
    cat->gravity = 6.0f;
    cat->rotate = event.rotation;
    cat->id = "cat";
    GUIList::Add(cat, 2500);
    cat->FadeOut(500, 100);
}

void GUIGameTree::OnEvent(const DistressEvent& event) {
    switch (event.kind) {
        case DistressEvent::kExplosion:
            GUIParticleDot::CreateExplosion(TruncToInt(event.x), TruncToInt(event.y), event.value, kSparkColour,
                                            kWhite, nullptr);
            break;
        case DistressEvent::kDropTools:
            GUIList::FadeOut("gamepopup", "button");
            GUIList::FadeOut("gamepopup", "circle");
            break;
        case DistressEvent::kCat:
            InitCat(event);
            break;
        case DistressEvent::kTooWeak:
            ShowMessage("Too weak!", 100);
            break;
        default:
            break;
    }
}

void GUIGameTree::DropPanel() {
    GUIList::FadeOut("gamepopup", "");
    timer = nullptr;
}

void GUIGameTree::OnBack() {
    DropPanel();
}

void GUIGameTree::PlayStep(const DistressInput& in) {
    if (!GUIList::Get("gamepopup", "button") && !GUIList::Get("cat", "")) InitCircle();
    rules.Play(in);
    if (!rules.done) return;
    DropPanel();
    wait = 500;
}

void GUIGameTree::RotateGame() {
    rules.CheckRotate(static_cast<float>(Data::virtualWidth), static_cast<float>(Data::virtualHeight));
    if (timer) CentreTop(timer);
    if (GUIItem* text = GUIList::Get("gamepopup", "text")) PlaceInstruction(text);
    if (GUIItem* button = GUIList::Get("gamepopup", "button")) Centre(button);
    if (GUIItem* guide = GUIList::Get("gamepopup", "circle")) {
        guide->x = Data::virtualWidth * 0.5f;
        guide->y = Data::virtualHeight * 0.5f;
    }
}

void GUIGameTree::RenderPlay() {
    const float cx = static_cast<float>(TruncToInt(Data::virtualWidth * 0.5));
    const float cy = static_cast<float>(TruncToInt(Data::virtualHeight * 0.5));
    if (tree) tree->Draw2(cx, cy + static_cast<float>(tree->h) * 0.5f, static_cast<float>(TruncToInt(rules.angle)), 1, 1, 0);
    if (rules.ring <= 0) return;
    platform::SetAlpha(alpha.value * rules.ringAlpha);
    int r = 0, g = 0, b = 0;
    TreeRules::RingColour(rules.ring, r, g, b);
    platform::SetColor(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
    platform::DrawOval(cx - rules.ring * 0.5f, cy - rules.ring * 0.5f, rules.ring, rules.ring);
    platform::SetColor(255, 255, 255);
    if (circle) circle->Draw2(cx, cy, 0, rules.ring / 320, rules.ring / 320, 1);
    platform::SetAlpha(alpha.value);
}
