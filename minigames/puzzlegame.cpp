// The shared frame of the job and training games: set-up over the map, the frame's order of
// steps, messages, layout, the result sheet and the way back to the map; and what the battle
// takes from it: the frame's opening, the way out of a game given up and the white message.
#include "minigames/puzzlegame.hpp"

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/container.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "gui/popup.hpp"
#include "gui/text.hpp"
#include "gui/time.hpp"
#include "minigames/board.hpp"
#include "model/actions.hpp"
#include "model/board.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"
#include "platform/graphics.hpp"
#include "screens/map.hpp"

void MapCover::FadeOutMap() {
    MapScreen::FadeOutMap();
}

void MapCover::SetMapVisible(int v) {
    mapVisible = v;
}

int MapCover::MapVisible() {
    return mapVisible;
}

bool MapCover::FollowGame(const GUIItem& game, int& resumed, bool stopMusic) {
    SetMapVisible(game.alpha.value == 1.0f ? 0 : 1);
    if (game.active) return true;
    if (game.alpha.value <= 0.0f && !resumed) {
        resumed = 1;
        if (stopMusic) Audio::StopMusic();
        GUIList::Resume();
    }
    return false;
}

void MapCover::InitGlobals() {
    mapVisible = 1;
}

namespace {

constexpr int kWhite = 0xFFFFFF;

bool Shown(const char* id) {
    return GUIList::Get(id, "") != nullptr;
}

}  // namespace

bool PuzzleFrameGoesOn(const GUIItem& game, int& resumed, int left, float& wait) {
    if (!MapCover::FollowGame(game, resumed, true)) return false;
    if (left) return false;
    if (wait > 0) {
        wait -= Data::frameMs;
        return false;
    }
    return true;
}

bool BoardCovered() {
    return Shown("dialogue") || Shown("result") || Shown("playerpopup") || Shown("powerpopup");
}

void FadeAwayGivenUp(GUIItem& game, GUIBoard* board) {
    Profile::AddTime(60);
    for (const char* item : {"arrow", "gamepopup", "dialogue", "opponent", "menu", "time"})
        GUIList::FadeOut(item, "");
    if (board) board->FadeOut(100, 1);
    game.FadeOut(200, 1);
}

GUIText* CreateGameMessage(const std::string& text, const std::string& id) {
    GUIText* message = GUIText::Create(0, 0, text, Fonts::Get("ob"), kWhite);
    message->SetWidth(256);
    message->center = 1;
    message->id = id;
    message->name = "message";
    return message;
}

GUIPuzzleGame::GUIPuzzleGame(const Kind& gameKind, const std::string& bgName) : kind(gameKind) {
    GUIList::FadeOut("menu", "");
    GUIList::FadeOut("time", "");
    GUIList::Suspend();
    MapCover::FadeOutMap();
    Audio::PlayMusic(kind.music);
    // No power effect plays in these games; the board must draw from the start.
    BattleState::effectRunning = 0;
    id = "popup";
    bg = FindImage(bgName);
    if (!bg)
        platform::PrintLine("The game's background \"" + bgName +
                            "\" is not among the pictures; none is drawn");
    player = std::make_shared<PuzzleActor>();
    alpha.value = 0;
}

GUIPuzzleGame::~GUIPuzzleGame() {
    Data::KillTweens(&alpha);
    Data::KillTweens(&scale);
}

int GUIPuzzleGame::Update2() {
    GUIItem::Update2();
    // Once the game is decided the escape key no longer takes it back: a won job stays won.
    if (Data::backPressed && !left) {
        Data::backPressed = 0;
        if (!done) {
            Abort();
            return 0;
        }
    }
    CheckRotate();
    if (!PuzzleFrameGoesOn(*this, resumed, left, wait)) return 0;
    if (BoardCovered()) {
        if (board && !board->faded) board->Fade(1);
        GUIItem* panel = GUIList::Get("gamepopup", "container");
        if (panel && panel->alpha.value == 1.0f) GUIList::FadeIn("gamepopup", "container", 0.5f, 0);
        return 0;
    }
    if (board && board->inited) Play();
    if (!done && Decided()) {
        done = 1;
        if (board) board->Fade(1);
        InitWinMessage();
        Audio::PlaySound(31, 1.0f);
    }
    if (done && board && board->stable && !board->bonus) {
        EndStep();
        return 0;
    }
    if (!GUIList::Get("gamepopup", "")) {
        InitPopup();
        InitStartMessage();
        wait = 500;
        return 0;
    }
    if (!done) {
        if (board && board->faded) board->Fade(0);
        GUIItem* panel = GUIList::Get("gamepopup", "container");
        if (panel && panel->alpha.value <= 0.5f) GUIList::FadeIn("gamepopup", "container", 1.0f, 0);
    }
    if (board && board->inited && !done && board->UpdatePlayer()) Moved();
    return 0;
}

void GUIPuzzleGame::Abort() {
    done = 1;
    success = 0;
    left = 1;
    ClearOutcome();
    FadeAwayGivenUp(*this, board.get());
}

void GUIPuzzleGame::EndStep() {
    GUIList::FadeOut("gamepopup", "");
    board->FadeOut(100, 1);
    Profile::AddTime(60);
    GUIList::Add(std::make_shared<GUITime>(), 2000);
    if (success && !result) {
        Audio::PlayMusic(4);
        result = 1;
        InitResult();
        return;
    }
    // Once only, however many frames pass before the fade-out has really begun.
    left = 1;
    SetOutcome();
    FadeOut(200, 1);
    GUIList::FadeOut("gamepopup", "");
    GUIList::FadeOut("time", "");
}

void GUIPuzzleGame::Render() {
    DrawGameBackground(bg, alpha.value);
}

void DrawGameBackground(GameImage* bg, float alpha) {
    if (!bg || bg->h <= 0) return;
    const float screenH = static_cast<float>(Data::virtualHeight);
    const float s = bg->h == Data::virtualHeight ? 1.0f : screenH / static_cast<float>(bg->h);
    platform::SetAlpha(alpha);
    bg->Draw2((static_cast<float>(Data::virtualWidth) - s * static_cast<float>(bg->w)) / 2,
              (screenH - s * static_cast<float>(bg->h)) / 2, 0, s, s, 0);
    platform::SetAlpha(1.0f);
}

void GUIPuzzleGame::UpdatePos() {
    const float W = static_cast<float>(Data::virtualWidth);
    const float H = static_cast<float>(Data::virtualHeight);
    GUIItem* panel = GUIList::Get("gamepopup", "container");
    if (board) {
        if (H < W) {
            board->x = W - static_cast<float>(board->w) - 32;
            board->y = (H - static_cast<float>(board->h)) * 0.5f;
        } else {
            board->x = (W - static_cast<float>(board->w)) * 0.5f;
            board->y = H * 0.45f;
        }
    }
    if (panel) {
        if (H < W) {
            const float boardX = board ? board->x : W;
            panel->x = static_cast<float>(TruncToInt((boardX - static_cast<float>(panel->w)) * 0.5f));
            panel->y = static_cast<float>(TruncToInt((H - static_cast<float>(panel->h)) * 0.5f));
        } else {
            panel->x = static_cast<float>(TruncToInt((W - static_cast<float>(panel->w)) * 0.5f));
            panel->y = 32;
        }
    }
    if (GUIItem* sheet = GUIList::Get("result", "")) {
        sheet->x = static_cast<float>(TruncToInt((W - static_cast<float>(sheet->w)) * 0.5f));
        sheet->y = static_cast<float>(TruncToInt((H - static_cast<float>(sheet->h)) * 0.5f));
    }
}

void GUIPuzzleGame::CheckRotate() {
    if (!Data::screenRotated) return;
    UpdatePos();
    if (!board) return;
    for (const char* item : {"dialogue", "message"}) {
        if (GUIItem* message = GUIList::Get(item, "message")) {
            message->x = board->x + static_cast<float>((board->w - message->w) / 2);
            message->y = board->y + static_cast<float>((board->h - message->h) / 2);
        }
    }
}

void GUIPuzzleGame::ShowMessage(const std::string& text) {
    GUIText* message = CreateGameMessage(text, "dialogue");
    const float boardX = board ? board->x : 0;
    const float boardY = board ? board->y : 0;
    const int boardW = board ? board->w : Data::virtualWidth;
    const int boardH = board ? board->h : Data::virtualHeight;
    message->x = boardX + static_cast<float>((boardW - message->w) / 2);
    message->y = boardY + static_cast<float>((boardH - message->h) / 2);
    GUIList::Add(message, 2500);
    message->FadeOut(500, 250);
}

void GUIPuzzleGame::InitStartMessage() {
    if (Profile::GetFlagInt(kind.tutorialFlag) != 0) {
        ShowMessage(kind.startText);
        return;
    }
    Profile::SetFlagInt(kind.tutorialFlag, 1);
    GUIList::Add(std::make_shared<GUIDialogue>(kind.tutorialDialogue, 0), 1900);
}

void GUIPuzzleGame::InitWinMessage() {
    ShowMessage(kind.winText);
}

void GUIPuzzleGame::AddBoard(int type) {
    board = std::make_shared<GUIBoard>("gameboard", "", 6, 6, type);
    board->SetActor2(player);
    GUIList::Add(board, 1800);
}

void GUIPuzzleGame::AddPanel(GUIContainer* panel) {
    Popup::AddFrameRounded(panel);
    GUIList::Add(panel, 1800);
    UpdatePos();
}

void GUIPuzzleGame::PayResult(const std::string& title, const std::string& text, const RewardLines& lines,
                              int bonusMoney) {
    FlagList list;
    for (const RewardLine& line : lines) list.Add(FlagItem::Create2(line.name, line.value));
    Popup::InitResult(title, text, list, bonusMoney, 0);
    for (FlagItem* item : list) {
        Profile::AddFlagInt(item->name, item->GetInt());
        item->inUse = 0;
    }
    list.Clear2();
    if (bonusMoney > 0) Profile::AddFlagInt("Resource.Money", bonusMoney);
}
