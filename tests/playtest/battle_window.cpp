// Fights one battle in a real window, for trying it by hand (or by a scripted mouse) before the
// city map can send the hero to one: the real program with its real clock, a stand-in for the map
// under the battle, a hero holding a shield attack, a freezing attack and a mental bolt, and a
// battle action from a small set: "easy" (a thug to beat) or "hard" (a brute that comes charged).
// On each of the hero's turns it prints where a chain can be dragged and which power buttons can
// be pressed (virtual-screen pixels); when the battle has gone it prints the flags it left.
// "effects" plays every effect script in turn between the hero and an opponent (every other one
// with the opponent attacking), printing each one's name as it starts.
//
//   battle_window easy|hard|effects [full]     (run where "data" lives)
#include <cstdio>
#include <string>

#include "core/xml.hpp"
#include "gui/animations.hpp"
#include "gui/gui2.hpp"
#include "gui/textbutton.hpp"
#include "minigames/battlefx.hpp"
#include "minigames/board.hpp"
#include "minigames/puzzlebattle.hpp"
#include "model/actions.hpp"
#include "model/board.hpp"
#include "model/powers.hpp"
#include "model/profile.hpp"
#include "tests/support/game_art.hpp"
#include "tests/support/player.hpp"
#include "tests/support/window_game.hpp"

namespace {

const char* const kEasy =
    R"(<action battle="thug" name="Street Thug" bg="Street" image="Characters01" index="1" constitution="1"
               physical="1" elemental="1" mental="1" win="thug" music="3"><power id="Sucker Punch" level="1"/>
       </action>)";
const char* const kHard =
    R"(<action battle="brute" name="Brute" bg="Street" image="Characters02" index="2" constitution="12"
               physical="6" elemental="2" mental="2" music="3"><power id="Sucker Punch" level="9"/>
       <power id="Pocket Sand" level="1"/></action>)";

// The hero's turn on a resting board: a chain to drag and the buttons that can be pressed.
void PrintTurn(GUIPuzzleBattle& battle) {
    GUIBoard* board = battle.board.get();
    if (!board || !board->inited || !board->stable || board->faded || GUIList::Get("powerpopup", "")) return;
    std::string line = "turn:";
    if (const auto cloud = board->GetMove(1, 1, 1)) {
        line += " drag";
        const PosList chain = harness::LongestChain(*cloud);
        for (size_t i = 0; i < 3 && i < chain.size(); ++i) {
            const Pos& p = chain[i];
            line += " " + std::to_string(static_cast<int>(board->x) + BoardRules::CellX(p.x, p.y) + 33) + " " +
                    std::to_string(static_cast<int>(board->y) + BoardRules::CellY(p.y) + 30);
        }
    }
    const GUIItem* panel = GUIList::Get("gamepopup", "powers");
    for (int i = 0; panel && BattleState::powerButtonsShown && i < battle.powerCount; ++i) {
        const GUITextButton* button = battle.powers[static_cast<size_t>(i)];
        if (button->active)
            line += " power" + std::to_string(i) + " " + std::to_string(static_cast<int>(panel->x + button->x) + 32) + " " +
                    std::to_string(static_cast<int>(panel->y + button->y) + 32);
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Plays the effect scripts one after another, each as a 6-point hit.
class EffectReel {
  public:
    EffectReel() {
        BattleState::player = CreateHeroActor();
        auto opponent = std::make_shared<PuzzleActor>();
        opponent->image = "Characters01";
        opponent->index = 1;
        BattleState::opponent = opponent;
        power.attribute = "Attribute.Strength";
        power.damage_base = 6;
    }
    // One frame: the next script once the last has gone. False after the last.
    bool Frame() {
        if (GUIList::Get("powerpopup", "")) return true;
        if (next >= AnimationList::effects.size()) return false;
        const AnimationItem& script = *AnimationList::effects[next];
        power.id = power.fx = script.id;
        const int reverse = static_cast<int>(next % 2);
        BattleState::player->health.value = BattleState::opponent->health.value = 100;
        GUIList::Add(GUIFX::GUIFX_new(power, BattleState::player, BattleState::opponent, reverse), 1900);
        std::printf("effect: %s %d\n", script.id.c_str(), reverse);
        std::fflush(stdout);
        ++next;
        return true;
    }

  private:
    OpponentPower power;
    size_t next = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s easy|hard [full]\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const bool hard = mode == "hard";
    harness::WindowGame window;
    if (!window.Start(argc > 2 && std::string(argv[2]) == "full")) return 1;
    harness::LoadPuzzleArt();
    Profile::SetFlagString("CharacterPortrait", "HeroMale1");
    Profile::SetFlagInt("Game.FirstPower", 1);
    Profile::SetFlagInt("Upgrade.Heroic Power", 2);
    Profile::SetFlagInt("Level.Attribute.Constitution", hard ? 0 : 3);
    for (const char* attribute : {"Strength", "Essence", "Intelligence"})
        Profile::SetFlagInt(std::string("Level.Attribute.") + attribute, 2);
    Profile::SetFlagString("Power.Attribute.Strength", "Clobbering Time");
    Profile::SetFlagInt("Power.Physical.Damage", 1);
    Profile::SetFlagInt("Power.Physical.Fire", 1);
    Profile::SetFlagInt("Power.Physical.Stone", 1);
    Profile::SetFlagString("Power.Attribute.Essence", "Energy Strike");
    Profile::SetFlagInt("Power.Elemental.Energy", 1);
    Profile::SetFlagInt("Power.Elemental.Freeze", 1);
    Profile::SetFlagString("Power.Attribute.Intelligence", "Psycho Bolt");
    Profile::SetFlagInt("Power.Mental.Bolt", 1);
    window.OpenMap();

    if (mode == "effects") {
        EffectReel reel;
        window.Run([&reel] { reel.Frame(); });
        return 0;
    }
    XMLParser parser;
    const auto doc = parser.ParseString(hard ? kHard : kEasy);
    const ActionPtr action = Actions::ParseAction(doc->Root(), "City-Act1", "playtest");
    action->Activate();
    // The brute starts with its powers paid for.
    if (hard && BattleState::opponent)
        for (int slot = 0; slot < 3; ++slot) BattleState::opponent->values[static_cast<size_t>(slot)].value = 60;

    bool reported = false;
    long frames = 0;
    window.Run([&] {
        ++frames;
        auto* battle = dynamic_cast<GUIPuzzleBattle*>(GUIList::Get("popup", ""));
        if (battle && !battle->done && battle->playerTurn && frames % 30 == 0) {
            PrintTurn(*battle);
        }
        if (reported || battle || GUIList::Suspended()) return;
        reported = true;
        std::printf("left: BattleWin=%s BattleFail=%s OpponentCount=%d Handicap=%d Money=%d Constitution=%d Time=%d\n",
                    Profile::GetFlagString("Game.BattleWin").c_str(), Profile::GetFlagString("Game.BattleFail").c_str(),
                    Profile::GetFlagInt("Game.OpponentCount"), Profile::GetFlagInt("Game.Handicap"),
                    Profile::GetFlagInt("Resource.Money"), Profile::GetFlagInt("Attribute.Constitution"),
                    Profile::GetFlagInt("Date.Time"));
        std::fflush(stdout);
    });
    return 0;
}
