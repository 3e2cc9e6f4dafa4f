// The battle's set-up, its frame (decision, turns, the end and the way back to the map), its
// messages, its spoils and the power buttons' handler.
#include "minigames/puzzlebattle.hpp"

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/arrow.hpp"
#include "gui/audio2.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "gui/meterglobe.hpp"
#include "gui/text.hpp"
#include "minigames/battlefx.hpp"
#include "minigames/battlerules.hpp"
#include "minigames/board.hpp"
#include "minigames/puzzlegame.hpp"
#include "model/actions.hpp"
#include "model/board.hpp"
#include "model/data2.hpp"
#include "model/powers.hpp"
#include "model/profile.hpp"
#include "platform/random.hpp"

int BattleCallback::Call(GUIItem* sender) {
    if (sender == nullptr || sender->id != "power" || battle == nullptr) return 0;
    Power* power = Powers::Get(sender->name);
    if (power == nullptr) return 0;
    for (const char* item : {"arrow", "gamepopup", "opponent"}) GUIList::FadeOut(item, "");
    BattleState::powerButtonsShown = 0;
    GUIList::Add(GUIFX::GUIFX_new(*power, BattleState::player, BattleState::opponent, 0), 1900);
    BattleState::effectRunning = 1;
    const int slot = power->ChargeSlot();
    if (slot >= 0) {
        const int cost = power->cost(Profile::GetFlagInt("Level." + power->attribute));
        FloatObject& charge = BattleState::player->values[static_cast<size_t>(slot)];
        charge.value = static_cast<float>(TruncToInt(charge.value) - cost);
    }
    return 0;
}

GUIPuzzleBattle::GUIPuzzleBattle(ActionItemBattle* action) : battle(action) {
    battleCallback.battle = this;
    GUIList::FadeOut("menu", "");
    GUIList::FadeOut("time", "");
    GUIList::Suspend();
    MapCover::FadeOutMap();
    Profile::SetFlagString("Game.BattleFail", "");
    Profile::SetFlagString("Game.BattleWin", "");
    if (battle && battle->music != -1) Audio::PlayMusic(battle->music);
    id = "popup";
    bg = FindImage(battle ? battle->bg : std::string());

    BattleState::player = CreateHeroActor();
    auto opponent = std::make_shared<PuzzleActor>();
    int constitution = -1;
    if (battle) {
        opponent->name = battle->name;
        opponent->image = battle->image;
        opponent->index = battle->index;
        opponent->physical = battle->physical;
        opponent->elemental = battle->elemental;
        opponent->mental = battle->mental;
        constitution = battle->constitution;
        for (const auto& held : battle->powers) opponent->powers.Add(held);
    } else {
        opponent->physical = opponent->elemental = opponent->mental = -1.0f;
    }
    const int derived = DeriveOpponent(*opponent, *BattleState::player, constitution);
    rewardLevel = BattleRules::RewardLevel(derived, Profile::GetFlagInt("Upgrade.Burglar Alarm"), *opponent);
    BattleState::opponent = opponent;

    time = maxtime = 120000;
    success = 1;
    BattleState::effectRunning = 0;
    BattleState::blockedShown = 0;
    BattleState::extraShown = 0;
    BattleState::powerButtonsShown = 0;
    wait = 500;
    FadeIn(1.0f, 1);
}

GUIPuzzleBattle::~GUIPuzzleBattle() {
    Data::KillTweens(&alpha);
    Data::KillTweens(&scale);
}

void GUIPuzzleBattle::Clear2() {
    BattleState::player.reset();
    BattleState::opponent.reset();
    GUIItem::Clear2();
}

int GUIPuzzleBattle::Update2() {
    GUIItem::Update2();
    if (Data::backPressed && !left) {
        Data::backPressed = 0;
        // A battle already won stays won: the escape key only leaves a fight still going (or lost).
        if (!(done && success)) {
            Abandon();
            return 0;
        }
    }
    CheckRotate();
    if (!PuzzleFrameGoesOn(*this, resumed, left, wait)) return 0;
    if (BoardCovered()) {
        if (!done) {
            if (board && !board->faded) board->Fade(1);
            GUIItem* portrait = GUIList::Get("gamepopup", "portrait");
            // The fighters' panels only: the power buttons show their own strength, which says
            // whether they can fire, and nothing brings a dimmed row of them back.
            if (portrait && portrait->alpha.value == 1.0f) {
                for (const char* side : {"gamepopup", "opponent"})
                    for (const char* part : {"portrait", "container"}) GUIList::FadeIn(side, part, 0.5f, 0);
            }
        }
        return 0;
    }
    PuzzleActor& player = *BattleState::player;
    PuzzleActor& opponent = *BattleState::opponent;
    if (board && board->inited && !done) {
        time = std::max(0.0f, time - Data::frameMs);
        // The globes belong to their panels: once a panel has left the list they are not ours.
        const bool playerPanel = GUIList::Get("gamepopup", "container") != nullptr;
        const bool opponentPanel = GUIList::Get("opponent", "container") != nullptr;
        for (size_t i = 0; i < 3; ++i) {
            if (playerPanel && meters[i]) meters[i]->SetValue(player.values[2 - i].value);
            if (opponentPanel && opponentMeters[i]) opponentMeters[i]->SetValue(opponent.values[2 - i].value);
        }
        CheckPowers();
    }
    if (!done) {
        Decide();
        if (done && !success) return 0;
    }
    if (done) {
        if (board && board->stable && !board->bonus) Finish();
        return 0;
    }
    if (!GUIList::Get("gamepopup", "")) {
        InitPopup();
        if (!inited) {
            inited = 1;
            InitStartMessage();
            wait = 500;
        }
        return 0;
    }
    CheckBoardFade(0);
    if (BattleState::effectRunning) {
        BattleState::effectRunning = 0;
        // Firing a power ends the hero's turn.
        if (playerTurn) PassTurn(0);
        return 0;
    }
    if (!no_powers && player.powers.IsEmpty()) {
        no_powers = 1;
        GUIList::Add(std::make_shared<GUIDialogue>("battle_no_powers", 0), 1900);
        return 0;
    }
    if (board && board->inited) Turns();
    return 0;
}

void GUIPuzzleBattle::Abandon() {
    done = 1;
    success = 0;
    left = 1;
    for (const char* key : {"Game.BattleWin", "Game.BattleFail", "Game.WinDialogue", "Game.LoseDialogue"})
        Profile::SetFlagString(key, "");
    FadeAwayGivenUp(*this, board.get());
}

void GUIPuzzleBattle::Decide() {
    const int handicap = Profile::GetFlagInt("Game.Handicap");
    if (BattleState::opponent->health.value <= 0) {
        Profile::SetFlagInt("Game.Handicap", BattleRules::HandicapAfterWin(handicap));
        done = 1;
        success = 1;
        if (board) board->Fade(1);
    } else if (BattleState::player->health.value <= 0) {
        Profile::SetFlagInt("Game.Handicap", BattleRules::HandicapAfterLoss(handicap));
        Audio::StopMusic();
        Audio::PlaySound(16, 1.0f);
        done = 1;
        success = 0;
        if (board) board->Fade(1);
        InitLoseMessage();
        wait = 1000;
    }
}

void GUIPuzzleBattle::Finish() {
    if (!cleanup) {
        cleanup = 1;
        for (const char* item : {"arrow", "gamepopup", "opponent", "time"}) GUIList::FadeOut(item, "");
        BattleState::powerButtonsShown = 0;
        board->FadeOut(100, 1);
    }
    if (success && !result) {
        Audio::PlayMusic(4);
        result = 1;
        InitResult();
        return;
    }
    if (!dialogue) {
        dialogue = 1;
        const std::string win = Profile::GetFlagString("Game.WinDialogue");
        const std::string lose = Profile::GetFlagString("Game.LoseDialogue");
        Profile::SetFlagString("Game.WinDialogue", "");
        Profile::SetFlagString("Game.LoseDialogue", "");
        const std::string& closing = success ? win : lose;
        if (!closing.empty()) {
            GUIList::Add(std::make_shared<GUIDialogue>(closing, 0), 1900);
            return;
        }
    }
    // Once only, however many frames pass before the fade-out has really begun.
    left = 1;
    if (!success) {
        Profile::SetFlagInt("Game.BattleFail", 1);
    } else {
        Profile::SetFlagInt("Game.BattleWin", 1);
        Profile::AddFlagInt("Game.OpponentCount", 1);
        if (Profile::GetFlagInt("Flag.FirstBattle") < 1) Profile::SetFlagInt("Flag.FirstBattle", 1);
        if (battle && !battle->win.empty()) Profile::SetFlagInt("ID." + battle->win, 1);
    }
    Profile::AddTime(60);
    FadeOut(200, 1);
}

void GUIPuzzleBattle::PassTurn(int toPlayer) {
    playerTurn = toPlayer;
    if (board) board->SetActor2(toPlayer ? BattleState::player : BattleState::opponent);
}

void GUIPuzzleBattle::Turns() {
    PuzzleActor& player = *BattleState::player;
    PuzzleActor& opponent = *BattleState::opponent;
    if (playerTurn) {
        if (!board->UpdatePlayer()) return;
        if (opponent.freeze > 0) {
            --opponent.freeze;
            InitMessage("Opponent frozen!");
            wait = 1000;
        } else {
            PassTurn(0);
        }
        return;
    }
    if (!board->stable) return;
    if (opponent.freeze > 0) {
        --opponent.freeze;
        InitMessage("Opponent frozen!");
        wait = 1000;
        PassTurn(1);
        return;
    }
    if (!board->UpdateOpponent()) return;
    if (player.freeze > 0) {
        --player.freeze;
        InitMessage("Player frozen!");
        wait = 1000;
    } else {
        PassTurn(1);
    }
}

void GUIPuzzleBattle::InitResult() {
    const RewardLines lines = BattleRules::Spoils(*BattleState::player, rewardLevel, platform::Rnd(1.5f, 2.5f));
    GUIPuzzleGame::PayResult("You did it!", "Spoils of victory:", lines, 0);
    UpdatePos();
}
