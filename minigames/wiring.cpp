// The whole game's wiring, lowest layer first, and the mini-games' own start-up registration.
#include "minigames/wiring.hpp"

#include "framework/main.hpp"
#include "framework/wiring.hpp"
#include "gui/gui2.hpp"
#include "gui/wiring.hpp"
#include "minigames/battleeffect.hpp"
#include "minigames/battlefx.hpp"
#include "minigames/board.hpp"
#include "minigames/dungeon.hpp"
#include "minigames/gamecar_item.hpp"
#include "minigames/gamefalling_item.hpp"
#include "minigames/gamesearch_item.hpp"
#include "minigames/gametree_item.hpp"
#include "minigames/puzzlebattle.hpp"
#include "minigames/puzzlegame.hpp"
#include "minigames/puzzlejob.hpp"
#include "minigames/puzzletraining.hpp"
#include "model/actions.hpp"
#include "model/wiring.hpp"
#include "screens/wiring.hpp"

namespace {

void StartJob(ActionItemJob& job) {
    GUIList::Add(GUIPuzzleJob::GUIPuzzleJob_new(&job), 1650);
}

void StartTraining(ActionItemTraining& training) {
    GUIList::Add(GUIPuzzleTraining::GUIPuzzleTraining_new(&training), 1650);
}

void StartBattle(ActionItemBattle& battle) {
    GUIList::Add(GUIPuzzleBattle::GUIPuzzleBattle_new(&battle), 1650);
}

// The opponent's power plays against the hero, the opponent attacking.
void ShowOpponentPower(Power& power) {
    if (!BattleState::player || !BattleState::opponent) return;
    GUIList::Add(GUIFX::GUIFX_new(power, BattleState::player, BattleState::opponent, 1), 1900);
}

void InitBattleGlobals() {
    GUIBattleEffect::pool = std::make_unique<GUIPool<GUIBattleEffect>>(5, "GUIBattleEffect");
    GUIFX::pool = std::make_unique<GUIPool<GUIFX>>(2, "GUIFX");
}

// An effect's actors hold hero portraits of the GUI's pools, which go after these.
void ReleaseBattleGlobals() {
    GUIFX::pool.reset();
    GUIBattleEffect::pool.reset();
    BattleState::player.reset();
    BattleState::opponent.reset();
}

// A distress game goes over the map, under the popups it opens.
template <typename Game>
void StartDistress(ActionItemGameDistress& action) {
    GUIList::Add(std::make_shared<Game>(&action), 600);
}

}  // namespace

// The battle's shared state starts empty, chains float their gains over the board, job, training
// and battle actions open their games, and an opponent's power plays its effect.
void RegisterMinigames() {
    gameHooks.releaseGlobals.Add(ReleaseBattleGlobals);
    gameHooks.initGlobals.Add(BattleState::InitGlobals);
    gameHooks.initGlobals.Add(MapCover::InitGlobals);
    gameHooks.initGlobals.Add(InitBattleGlobals);
    PuzzleActor::showGain.Add(ShowBoardGain);
    Actions::starters.job = StartJob;
    Actions::starters.training = StartTraining;
    Actions::starters.battle = StartBattle;
    BattleState::showOpponentPower.Add(ShowOpponentPower);
    RegisterDungeon();
    Actions::starters.distress["falling"] = StartDistress<GUIGameFalling>;
    Actions::starters.distress["car"] = StartDistress<GUIGameCar>;
    Actions::starters.distress["search"] = StartDistress<GUIGameSearch>;
    Actions::starters.distress["tree"] = StartDistress<GUIGameTree>;
}

void WireGame() {
    RegisterFramework();
    RegisterModel();
    RegisterGui();
    RegisterScreens();
    RegisterMinigames();
}
