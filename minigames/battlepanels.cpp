// The battle's screen: the board, both fighters' panels (portrait, status caption, health, name,
// charge globes and counters), the power buttons, where everything stands, which side is shown in
// full, and the messages over the board.
#include <algorithm>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/arrow.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/hero.hpp"
#include "gui/image.hpp"
#include "gui/meterglobe.hpp"
#include "gui/meterhealth.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "minigames/battleeffect.hpp"
#include "minigames/board.hpp"
#include "minigames/puzzlebattle.hpp"
#include "minigames/puzzlegame.hpp"
#include "model/board.hpp"
#include "model/data2.hpp"
#include "model/powers.hpp"
#include "model/profile.hpp"

namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kButtonWidth = 86;
constexpr int kPortraitSize = 256;
// The charge globes stand below the portrait's name and health, the power buttons below them.
constexpr float kMetersY = 224;
constexpr float kPowersY = 404;
constexpr float kPowersX = 8;
// Room under a power's picture for its caption (two short lines), and the gap between the buttons
// of a row when the strip beside the board is narrow.
constexpr float kCaptionRoom = 32;
constexpr float kCloseGap = 8;
// The meter panels reach 8 past the screen's edges.
constexpr float kMetersX = -8;
// The glass of a globe is 72 wide and starts 7 into its 86-wide picture. The stepped globes stand a
// glass apart where the strip beside the board has room for three glasses; where it has not (the
// narrow screen) they keep their closer step rather than run under the board.
constexpr float kGlassWidth = 72;
constexpr float kGlassLeft = 7;
constexpr float kCloseStep = 60;

bool Landscape() {
    return Data::virtualHeight < Data::virtualWidth;
}

// How far each globe stands right of the one before.
float GlobeStep(const GUIBoard* board) {
    const float W = static_cast<float>(Data::virtualWidth);
    // Beside the board in landscape; in portrait the board lies below and each side has half the width.
    const float strip = Landscape() && board ? (W - static_cast<float>(board->w)) * 0.5f : W * 0.5f;
    const float firstGlass = kMetersX + kGlassLeft;
    return std::clamp((strip - firstGlass - kGlassWidth) * 0.5f, kCloseStep, kGlassWidth);
}

void Place(GUIItem* item, float x, float y) {
    if (item) {
        item->x = x;
        item->y = y;
    }
}

}  // namespace

void GUIPuzzleBattle::Render() {
    DrawGameBackground(bg, alpha.value);
}

void GUIPuzzleBattle::CheckPowers() {
    if (!BattleState::powerButtonsShown) return;
    const PuzzleActor& player = *BattleState::player;
    bool anyEnabled = false;
    for (int i = 0; i < powerCount; ++i) {
        GUITextButton* button = powers[static_cast<size_t>(i)];
        const Power* power = Powers::Get(button->name);
        const int slot = power ? power->ChargeSlot() : -1;
        const bool payable = slot >= 0 &&
                             TruncToInt(player.values[static_cast<size_t>(slot)].value) >= power->cost(button->data) &&
                             playerTurn && board && !board->switch_;
        if (payable && !button->active) {
            button->active = 1;
            button->FadeIn(1.0f, 0);
        } else if (!payable) {
            // Whatever its strength came from (a new button is added at full strength, a fade to
            // full may still be running), a button that cannot fire is drawn at half.
            button->active = 0;
            if (button->alpha.value != 0.5f) {
                Data::KillTweens(&button->alpha);
                button->alpha.value = 0.5f;
            }
        }
        anyEnabled = anyEnabled || payable;
    }
    if (anyEnabled && Profile::GetFlagInt("Game.FirstPower") < 1) {
        auto arrow = std::make_shared<GUIArrow>(GUIList::Get("gamepopup", "powers"), "arrow", "power", 0);
        GUIList::Add(arrow, 1900);
        Profile::SetFlagInt("Game.FirstPower", 1);
    }
}

void GUIPuzzleBattle::AddPowers(int row) {
    GUIList::Delete("gamepopup", "powers");
    powerCount = 0;
    GUIContainer* panel = GUIContainer::Create(0, 0);
    panel->id = "gamepopup";
    panel->name = "powers";
    // Beside the board the three buttons stand in one row when the strip holds them a little
    // closer together: a second row would stand on the road, alone.
    float gap = 16;
    if (row == 0 && board) {
        const float strip = (static_cast<float>(Data::virtualWidth - board->w)) * 0.5f;
        if (kPowersX + 3 * kButtonWidth + 2 * kCloseGap <= strip) {
            row = 1;
            gap = kCloseGap;
        }
    }
    float slotX = 0, slotY = 0;
    for (const auto& held : BattleState::player->powers) {
        if (!held || !held->power || powerCount == static_cast<int>(powers.size())) continue;
        const Power& power = *held->power;
        if (row == 0 && powerCount == 2) {
            slotX = kButtonWidth * 0.5f + 8;
            slotY += BoardRules::kTileSize + kCaptionRoom + 8;
        }
        GUITextButton* button = GUITextButton::Create(0, slotY, "Tiles64x64", power.id, Fonts::Get("oxs"), kWhite,
                                                      &battleCallback, kButtonWidth);
        button->anim = 0;
        button->frame = std::max(0, power.ChargeSlot());
        button->SetWidth(kButtonWidth);
        // The picture stands in the middle of its slot; the caption, which may be wider than the
        // picture, stands under it rather than over the power's sign.
        button->x = slotX + static_cast<float>((kButtonWidth - button->w) / 2);
        button->ty = button->h;
        button->id = "power";
        button->name = power.id;
        button->data = held->level;
        panel->AddLast20(button);
        powers[static_cast<size_t>(powerCount++)] = button;
        slotX += kButtonWidth + gap;
    }
    BattleState::powerButtonsShown = 1;
    for (int i = 0; i < powerCount; ++i) powers[static_cast<size_t>(i)]->active = 0;
    CheckPowers();
    GUIList::Add(panel, 1800);
}

void GUIPuzzleBattle::AddPortrait(PuzzleActor& fighter, const char* panelId, float x, const std::string& shownName) {
    GUIContainer* panel = GUIContainer::Create(x, -32);
    panel->id = panelId;
    panel->name = "portrait";
    if (fighter.image == "hero") {
        panel->AddLast20(GUIHero::Create(0, 0));
    } else {
        GUIImage* picture = GUIImage::Create(0, 0, fighter.image, fighter.index);
        // The opponent faces the hero.
        picture->flip = panel->id == std::string("opponent") ? 1 : 0;
        panel->AddLast20(picture);
    }
    panel->w = std::max(panel->w, kPortraitSize);
    GUIMeterHealth* health = GUIMeterHealth::Create(0, 0, &fighter.health, fighter.maxHealth, "HealthBar");
    health->x = static_cast<float>((kPortraitSize - health->w) / 2);
    health->y = 196 + 24;
    panel->AddLast20(health);
    GUIText* name = GUIText::Create(0, 196, shownName, Fonts::Get("os"), kWhite);
    name->x = static_cast<float>((kPortraitSize - name->w) / 2);
    panel->AddLast20(name);
    GUIList::Add(panel, 1799);
    GUIBattleEffect* status = GUIBattleEffect::Create(panel, &fighter);
    status->id = panelId;
    status->name = "status";
    GUIList::Add(status, 1801);
}

void GUIPuzzleBattle::AddMeters(PuzzleActor& fighter, const char* panelId, std::array<GUIMeterGlobe*, 3>& globes,
                                int withCounters) {
    GUIContainer* panel = GUIContainer::Create(0, 0);
    panel->id = panelId;
    panel->name = "container";
    const float top = withCounters ? 0.0f : 24.0f;
    const float step = GlobeStep(board.get());
    for (int i = 0; i < 3; ++i) {
        GUIMeterGlobe* globe = GUIMeterGlobe::Create(step * static_cast<float>(i), top + 12.0f * i, i, "", 100);
        globe->SetValue(fighter.values[static_cast<size_t>(2 - i)].value);
        panel->Add21(globe, 1000 + 5 * i);
        globes[static_cast<size_t>(i)] = globe;
    }
    if (withCounters) {
        const float counterY = static_cast<float>(panel->h) + 4;
        GUIImage* moneyIcon = GUIImage::Create(4, counterY, "Icons02", 3);
        panel->AddLast20(moneyIcon);
        GUIText* money = GUIText::Create(0, 0, "$0", Fonts::Get("on"), kWhite);
        money->x = moneyIcon->x + static_cast<float>(moneyIcon->w);
        money->y = counterY + static_cast<float>((moneyIcon->h - money->h) / 2);
        money->SetPrefix("$");
        money->SetVariable(&fighter.values[kTileMoney]);
        panel->AddLast20(money);
        // Where the strip beside the board is narrow the reputation counter steps in closer, so
        // its number stays off the board.
        const float strip = board ? (static_cast<float>(Data::virtualWidth - board->w)) * 0.5f : 1e6f;
        const float counterStep = strip < 240.0f ? 56.0f : 72.0f;
        GUIImage* reputationIcon = GUIImage::Create(money->x + counterStep, counterY, "Icons02", 4);
        panel->AddLast20(reputationIcon);
        GUIText* reputation = GUIText::Create(0, 0, "0", Fonts::Get("on"), kWhite);
        reputation->x = reputationIcon->x + static_cast<float>(reputationIcon->w);
        reputation->y = money->y;
        reputation->SetVariable(&fighter.values[kTileReputation]);
        panel->AddLast20(reputation);
    }
    GUIList::Add(panel, 1800);
}

void GUIPuzzleBattle::InitPopup() {
    PuzzleActor& player = *BattleState::player;
    PuzzleActor& opponent = *BattleState::opponent;
    if (!GUIList::Get("gameboard", "")) {
        board = std::make_shared<GUIBoard>("gameboard", "", 6, 6, BoardRules::kBattle);
        board->SetActor2(playerTurn ? BattleState::player : BattleState::opponent);
        GUIList::Add(board, 1800);
    }
    const bool noPowers = player.powers.IsEmpty();
    AddPortrait(player, "gamepopup", -32, Profile::GetFlagString(noPowers ? "RealName" : "Name"));
    AddMeters(player, "gamepopup", meters, 1);
    AddPortrait(opponent, "opponent", static_cast<float>(Data::virtualWidth - 224), opponent.name);
    AddMeters(opponent, "opponent", opponentMeters, 0);
    // The side not moving starts at half strength.
    for (const char* side : {playerTurn ? "opponent" : "gamepopup"})
        for (const char* part : {"portrait", "container"})
            if (GUIItem* panel = GUIList::Get(side, part)) {
                Data::KillTweens(&panel->alpha);
                panel->alpha.value = 0.5f;
            }
    UpdatePos();
}

void GUIPuzzleBattle::UpdatePos() {
    const float W = static_cast<float>(Data::virtualWidth);
    const float H = static_cast<float>(Data::virtualHeight);
    Place(GUIList::Get("gamepopup", "portrait"), -32, -32);
    Place(GUIList::Get("gamepopup", "container"), kMetersX, kMetersY);
    Place(GUIList::Get("opponent", "portrait"), W - 224, -32);
    if (GUIItem* panel = GUIList::Get("opponent", "container"))
        Place(panel, W - static_cast<float>(panel->w) - kMetersX, kMetersY);
    if (GUIItem* sheet = GUIList::Get("result", ""))
        Place(sheet, static_cast<float>(TruncToInt((W - static_cast<float>(sheet->w)) * 0.5f)),
              static_cast<float>(TruncToInt((H - static_cast<float>(sheet->h)) * 0.5f)));
    // Once the fight is decided its buttons are gone for good.
    if (!board || done) return;
    if (Landscape()) {
        Place(board.get(), (W - static_cast<float>(board->w)) * 0.5f, (H - static_cast<float>(board->h)) * 0.5f);
        AddPowers(0);
        Place(GUIList::Get("gamepopup", "powers"), kPowersX, kPowersY);
    } else {
        Place(board.get(), (W - static_cast<float>(board->w)) * 0.5f, H - static_cast<float>(board->h) - 32);
        AddPowers(1);
        if (GUIItem* panel = GUIList::Get("gamepopup", "powers"))
            Place(panel, static_cast<float>(TruncToInt((W - static_cast<float>(panel->w)) * 0.5f)), 300);
    }
}

void GUIPuzzleBattle::CheckRotate() {
    if (!Data::screenRotated) return;
    UpdatePos();
    if (!board) return;
    if (GUIItem* message = GUIList::Get("dialogue", "message")) {
        message->x = board->x + static_cast<float>((board->w - message->w) / 2);
        message->y = board->y + static_cast<float>((board->h - message->h) / 2);
    }
}

void GUIPuzzleBattle::CheckBoardFade(int always) {
    if (!board) return;
    const auto show = [](const char* side, float target) {
        GUIItem* panel = GUIList::Get(side, "portrait");
        if (!panel) return;
        if (target == 1.0f ? panel->alpha.value <= 0.5f : panel->alpha.value == 1.0f) {
            GUIList::FadeIn(side, "portrait", target, 0);
            GUIList::FadeIn(side, "container", target, 0);
        }
    };
    if (playerTurn) {
        if (always || board->faded) {
            board->Fade(0);
            show("gamepopup", 1.0f);
            show("opponent", 0.5f);
        }
    } else if (always || (board->stable && !board->faded)) {
        board->Fade(1);
        show("opponent", 1.0f);
        show("gamepopup", 0.5f);
    }
}

void GUIPuzzleBattle::ShowMessage(const std::string& text, const char* itemId, float fadeWait, int onBoard) {
    GUIText* message = CreateGameMessage(text, itemId);
    if (onBoard && board) {
        message->x = board->x + static_cast<float>((board->w - message->w) / 2);
        message->y = board->y + static_cast<float>((board->h - message->h) / 2);
    } else {
        message->x = static_cast<float>((Data::virtualWidth - message->w) / 2);
        message->y = static_cast<float>((Data::virtualHeight - message->h) / 2);
    }
    GUIList::Add(message, 2500);
    message->FadeOut(500, fadeWait);
}

void GUIPuzzleBattle::InitMessage(const std::string& text) {
    ShowMessage(text, "board", 100, 1);
}

void GUIPuzzleBattle::InitStartMessage() {
    ShowMessage("Defeat your opponent!", "dialogue", 250, 1);
}

void GUIPuzzleBattle::InitLoseMessage() {
    ShowMessage("You lost!", "dialogue", 250, Landscape() ? 1 : 0);
}
