// The puzzle board as a GUI item: its images, drawing, sounds, sparks, floating texts and the hand
// over of an opponent's power to the battle; and the battle's shared state.
#include "minigames/board.hpp"

#include <algorithm>
#include <cmath>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/gui2.hpp"
#include "gui/particle.hpp"
#include "gui/particledot.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "model/powers.hpp"
#include "platform/app.hpp"
#include "platform/graphics.hpp"

int BattleState::effectRunning = 0;
int BattleState::powerButtonsShown = 0;
int BattleState::blockedShown = 0;
int BattleState::extraShown = 0;
std::shared_ptr<PuzzleActor> BattleState::player;
std::shared_ptr<PuzzleActor> BattleState::opponent;
StepList<Power&> BattleState::showOpponentPower;

void BattleState::InitGlobals() {
    effectRunning = powerButtonsShown = blockedShown = extraShown = 0;
    player.reset();
    opponent.reset();
}

GUIBoard::GUIBoard(const std::string& itemId, const std::string& itemName, int columns, int rows,
                   int boardType)
    : BoardRules(columns, rows, boardType) {
    id = itemId;
    name = itemName;
    w = Width();
    h = Height();
    x = static_cast<float>(Data::virtualWidth - w) * 0.5f;
    y = static_cast<float>(Data::virtualHeight - h) * 0.5f;
    ImageBank& bank = *briskGame->images;
    tileBg = bank.Find("TileBg70x80");
    tiles = bank.Find("Tiles64x64");
    mark = bank.Find("TileMarker");
    mark2 = bank.Find("TileMarker2");
    mark3 = bank.Find("TileMarker3");
    Fade(1);
}

GUIBoard::~GUIBoard() {
    // A board dropped while its fade still runs must not leave the tween writing to it.
    Data::KillTweens(&alpha);
    Data::KillTweens(&scale);
}

void GUIBoard::Fade(int on) {
    faded = on;
    FadeIn(on ? 0.5f : 1.0f, 0);
}

int GUIBoard::Update2() {
    GUIItem::Update2();
    UpdateBoard();
    return 0;
}

void GUIBoard::PlaySound(int soundId, float rate) {
    Audio::PlaySound(soundId, rate);
}

void GUIBoard::PlayPop() {
    Audio::PlayPop();
}

void GUIBoard::Bang(float bx, float by, int count, float spread) {
    GUIParticleDot::CreateBang(TruncToInt(bx), TruncToInt(by), count, 0xFFFFFF, spread, nullptr);
}

void GUIBoard::ShowNoMoves() {
    GUIText* text = GUIText::Create(0, 0, "No moves!", Fonts::Get("ob"), 0xFFFFFF);
    text->x = x + static_cast<float>((w - text->w) / 2);
    text->y = y + static_cast<float>((h - text->h) / 2);
    text->id = "board";
    text->name = "message";
    GUIList::Add(text, 2500);
    text->FadeOut(500, 100);
}

void GUIBoard::ShowPraise(const char* text) {
    GUIParticle* praise = GUIParticle::Create(0, 0, "", text, Fonts::Get("ob"), 0xFFFFFF);
    praise->px.value = praise->x = x + static_cast<float>((w - praise->w) / 2);
    praise->py.value = praise->y = y + static_cast<float>((h - praise->h) / 2);
    praise->alpha.value = 1.0f;
    praise->Move2(270, 0.35f);
    praise->FadeOut(200, 50);
    GUIList::Add(praise, 1999);
}

void GUIBoard::OpponentFires(PuzzleActorPower& held) {
    GUIList::FadeOut("gamepopup", "");
    GUIList::FadeOut("arrow", "");
    GUIList::FadeOut("opponent", "");
    BattleState::powerButtonsShown = 0;
    if (BattleState::showOpponentPower.Empty())
        platform::PrintLine("The opponent's \"" + held.power->id + "\" has no battle effect to play it");
    else
        BattleState::showOpponentPower.Run(*held.power);
    BattleState::effectRunning = 1;
}

void ShowBoardGain(const std::string& text, int big, int colour, int cx, int cy) {
    GUIParticle* gain = GUIParticle::Create(cx, cy, "", text, Fonts::Get(big ? "ob" : "on"), colour);
    gain->px.value = gain->x = static_cast<float>(cx - gain->w / 2);
    gain->py.value = gain->y = static_cast<float>(cy - gain->h / 2);
    gain->alpha.value = 0.75f;
    gain->Move2(270, 1.0f);
    gain->FadeOut(200, 40);
    GUIList::Add(gain, 2000);
}

namespace {

// The flash of an exploding or bonus tile: the tile grown by s about its top-left corner, then
// the same once more added on top at the flash's strength.
void DrawFlash(GameImage* image, float px, float py, int frame, float s, float flash, float drawAlpha) {
    const float shift = s * 64.0f * 0.5f;
    platform::SetAlpha(drawAlpha);
    image->Draw2(px - shift, py - shift, 0, 1 + s, 1 + s, frame);
    platform::SetBlend(1);
    platform::SetAlpha(drawAlpha * flash);
    image->Draw2(px - shift, py - shift, 0, 1 + s, 1 + s, frame);
    platform::SetBlend(0);
}

}  // namespace

void GUIBoard::RenderTile(const Tile& tile, float drawAlpha) {
    const float px = x + tile.x;
    const float py = y + tile.y;
    if (tile.state == 10 || tile.state == 12) {
        const float e = std::clamp(tile.wait / 500.0f - 0.5f, 0.0f, 1.0f);
        if (tile.state == 10)
            DrawFlash(tiles, px, py, tile.index, (1 - e) * 0.35f, 1 - e, drawAlpha);
        else
            DrawFlash(tiles, px, py, tile.index, e * 0.35f, e, drawAlpha);
        return;
    }
    if (tile.special == 1) {
        const float d = std::fabs(std::sin(tile.wait * 0.35f * 3.14159265f / 180.0f));
        DrawFlash(tiles, px, py, tile.index, d * 0.15f, d, drawAlpha);
        return;
    }
    if (tile.state < 0) return;
    platform::SetAlpha(drawAlpha * tile.alpha);
    if (tile.movable == 0) {
        // An attribute tile: blue for a gain, red for a cost, with its amount on it.
        if (tile.value < 1)
            platform::SetColor(255, 128, 128);
        else
            platform::SetColor(128, 128, 255);
        tiles->Draw2(px, py, 0, 1, 1, tile.index);
        platform::SetColor(255, 255, 255);
        GlyphFont* font = Fonts::Get("on");
        if (font) {
            const std::string amount = std::to_string(tile.value);
            font->DrawText(amount, TruncToInt(px + (kTileSize - font->TextWidth(amount)) / 2),
                           TruncToInt(py + (kTileSize - font->TextHeight(amount)) / 2));
        }
        return;
    }
    tiles->Draw2(px, py, 0, 1, 1, tile.index);
}

void GUIBoard::Render() {
    if (BattleState::effectRunning) return;
    const float drawAlpha = alpha.value;
    platform::SetBlend(0);
    platform::SetColor(255, 255, 255);
    for (const BgTile& cell : bg) {
        if (!cell.active) continue;
        platform::SetAlpha(inited ? drawAlpha : drawAlpha * cell.alpha);
        tileBg->Draw2(x + static_cast<float>(cell.x), y + static_cast<float>(cell.y), 0, 1, 1, cell.index);
    }
    if (inited) {
        for (const Tile& tile : board) RenderTile(tile, drawAlpha);
        GameImage* marker = hintState == kHintShowing ? mark3 : !opponentMove ? mark : mark2;
        platform::SetBlend(1);
        platform::SetAlpha(drawAlpha);
        for (const Tile* tile : marked)
            marker->Draw2(x + tile->x + 32, y + tile->y + 32, -counter * 0.1f, 1, 1, 0);
        platform::SetBlend(0);
    }
    platform::SetAlpha(1);
}
