// Battles started by their actions over a stand-in for the city map and fought with the real mouse:
// chains dragged on the board, power buttons clicked, the opponent firing its own powers. Every hit
// is checked against the power formulas and the handicap, the health totals against the hits, and
// the end against what the story reads: the spoils, the win, fail and flee flags, the handicap and
// the clock. Frames of the fight and of each effect are saved for a look.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gui/container.hpp"
#include "gui/dialogue.hpp"
#include "gui/meterglobe.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "minigames/battleeffect.hpp"
#include "minigames/battlefx.hpp"
#include "minigames/battlerules.hpp"
#include "minigames/puzzlebattle.hpp"
#include "minigames/puzzlegame.hpp"
#include "model/data2.hpp"
#include "model/powers.hpp"
#include "tests/e2e/puzzle_fixture.hpp"

namespace {

class Battles : public puzzle_fixture::PuzzleFixture {
  protected:
    GUIPuzzleBattle* Battle() { return dynamic_cast<GUIPuzzleBattle*>(GUIList::Get("popup", "")); }

    // Steps until the hero may move on a resting board, or the fight is decided.
    bool Settle() {
        return SettleBoard(
            [this]() -> GUIBoard* {
                GUIPuzzleBattle* b = Battle();
                return b && b->playerTurn && !GUIList::Get("powerpopup", "") ? b->board.get() : nullptr;
            },
            [this] { return Battle() && Battle()->done; });
    }

    // One frame, checking the hit of every effect that starts in it against the fighters' health
    // just before.
    void Frame() override {
        const float heroBefore = BattleState::player ? BattleState::player->health.value : 0;
        const float opponentBefore = BattleState::opponent ? BattleState::opponent->health.value : 0;
        const int heroShield = BattleState::player ? BattleState::player->protect : 0;
        const int opponentShield = BattleState::opponent ? BattleState::opponent->protect : 0;
        h.Step();
        if (shotIn > 0 && --shotIn == 0) h.SaveFrame("battle_effect_" + std::to_string(effects));
        auto* fx = dynamic_cast<GUIFX*>(GUIList::Get("powerpopup", ""));
        const bool started = fx && !effectUp;
        // Every effect, one made again from an earlier fight's leftovers too, plays its whole
        // script between its two half-second pauses before it leaves.
        if (effectUp && !fx) {
            EXPECT_GE(shownMs, scriptMs) << "effect " << effects;
        }
        shownMs = fx ? shownMs + Data::frameMs : 0;
        effectUp = fx != nullptr;
        if (!started) return;
        scriptMs = 1000 - 2 * Data::frameMs;
        if (fx->item)
            for (const AnimationElement& step : fx->item->elements)
                if (step.type == "wait" && step.time != AnimationElement::unset) scriptMs += static_cast<float>(step.time);
        ++effects;
        const bool heroAttacks = fx->reverse == 0;
        const PuzzleActor& target = heroAttacks ? *BattleState::opponent : *BattleState::player;
        const float before = heroAttacks ? opponentBefore : heroBefore;
        // Without a shield on the target, everything blocked is the resistance share.
        if ((heroAttacks ? opponentShield : heroShield) == 0) {
            EXPECT_EQ(before - target.health.value, std::max(0.0f, fx->damage + fx->extra - fx->blocked));
        }
        (heroAttacks ? dealt : taken) += before - target.health.value;
        hits.push_back({fx->damage, fx->extra, fx->blocked});
        shotIn = 45;
    }

    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }

    // How strongly a power button is drawn: its own strength times its row's.
    static float Drawn(const GUITextButton* button) {
        return GUIList::Get("gamepopup", "powers")->alpha.value * button->alpha.value;
    }

    // Once a fade to full has had its time, each power button looks as a click on it acts: full
    // strength when it fires, half when it cannot, whatever came before (a new row, the start message
    // or the opponent's effect over the board). Gives the first button drawn full (or dimmed).
    GUITextButton* PowerDrawn(bool full, int turn) {
        GUIPuzzleBattle* b = Battle();
        if (!BattleState::powerButtonsShown) return nullptr;
        const auto buttons = [b] {
            return std::vector<GUITextButton*>(b->powers.begin(), b->powers.begin() + b->powerCount);
        };
        for (int i = 0; i < 40; ++i) {
            const auto all = buttons();
            if (std::none_of(all.begin(), all.end(), [](auto* p) { return p->active && Drawn(p) < 1.0f; }))
                break;
            Frame();
        }
        GUITextButton* found = nullptr;
        for (GUITextButton* button : buttons()) {
            EXPECT_TRUE(button->active ? Drawn(button) == 1.0f : Drawn(button) <= 0.5f)
                << button->name << " " << turn;
            if (!found && (full ? Drawn(button) == 1.0f : Drawn(button) <= 0.5f)) found = button;
        }
        return found;
    }

    void ClickPower(const GUITextButton* power) {
        const GUIItem* row = GUIList::Get("gamepopup", "powers");
        Click(TruncToInt(row->x + power->x) + 32, TruncToInt(row->y + power->y) + 32);
    }

    // Plays the hero's turns until the fight is decided: a power when one can be paid, else a chain.
    void FightToTheEnd(int maxTurns, bool usePowers) {
        for (int turn = 0; turn < maxTurns; ++turn) {
            ASSERT_TRUE(Settle());
            GUIPuzzleBattle* b = Battle();
            if (b->done) return;
            Frames(2);
            // A dimmed button is clicked once: nothing fires and the turn stays the hero's.
            if (GUITextButton* dimmed = usePowers && !dimmedClicked ? PowerDrawn(false, turn) : nullptr) {
                dimmedClicked = true;
                ClickPower(dimmed);
                Frames(8);
                EXPECT_TRUE(b->playerTurn && !GUIList::Get("powerpopup", "")) << dimmed->name;
            }
            GUITextButton* power = usePowers ? PowerDrawn(true, turn) : nullptr;
            if (power) {
                const Power* fired = Powers::Get(power->name);
                const int handicap = Profile::GetFlagInt("Game.Handicap");
                const int before = effects;
                ClickPower(power);
                for (int i = 0; i < 10 && effects == before; ++i) Frame();
                ASSERT_EQ(effects, before + 1) << power->name;
                // The hero's damage: the formula's draw, raised by 2 per point of handicap.
                const Hit& fx = hits.back();
                EXPECT_GE(fx.damage, fired->minDamage(0) + 2 * handicap) << fired->id;
                EXPECT_LE(fx.damage, fired->maxDamage(0) + 2 * handicap) << fired->id;
                fired_.push_back(fired->id);
            } else {
                const std::vector<Pos> path = PathOfThree(*b->board, -1);
                ASSERT_EQ(path.size(), 3u);
                Drag(*b->board, path);
            }
            for (int i = 0; i < 30; ++i) Frame();
        }
        FAIL() << "the fight did not end";
    }

    bool dimmedClicked = false;
    bool effectUp = false;
    // How long the running effect has been up, and the least its script takes.
    float shownMs = 0;
    float scriptMs = 0;
    // Frames until the running effect is saved for a look.
    int shotIn = 0;
    int effects = 0;
    float dealt = 0;
    float taken = 0;
    struct Hit {
        float damage, extra, blocked;
    };
    std::vector<Hit> hits;
    std::vector<std::string> fired_;
};

TEST_F(Battles, AFightWonWithPowersPaysItsSpoilsAndTellsTheStory) {
    Profile::SetFlagInt("Game.Handicap", 1);
    Profile::SetFlagString("CharacterPortrait", "HeroMale1");
    Profile::SetFlagInt("Level.Attribute.Constitution", 4);
    for (const char* attribute : {"Strength", "Essence", "Intelligence"})
        Profile::SetFlagInt(std::string("Level.Attribute.") + attribute, 3);
    Profile::SetFlagString("Power.Attribute.Strength", "Left Hook");
    Profile::SetFlagInt("Power.Physical.Damage", 1);
    Profile::SetFlagString("Power.Attribute.Essence", "Energy Strike");
    Profile::SetFlagInt("Power.Elemental.Energy", 1);
    Profile::SetFlagInt("Power.Elemental.Freeze", 1);
    Profile::SetFlagString("Power.Attribute.Intelligence", "Psycho Bolt");
    Profile::SetFlagInt("Power.Mental.Bolt", 1);
    // Charges of 10 at the start: every power can fire under the start message.
    Profile::SetFlagInt("Upgrade.Heroic Power", 2);
    const int clock = Profile::GetFlagInt("Date.Time");
    const int flagsInUse = FlagItem::PoolInUse() - Profile::slotFlags->Size();
    Start(R"(<action battle="thug" name="Thug" bg="Street" image="Characters01" index="1" constitution="2"
                     physical="1" elemental="1" mental="1" win="thug"><power id="Sucker Punch" level="1"/></action>)");
    GUIPuzzleBattle* battle = Battle();
    ASSERT_NE(battle, nullptr);
    EXPECT_TRUE(GUIList::Suspended());
    const PuzzleActor& hero = *BattleState::player;
    const PuzzleActor& thug = *BattleState::opponent;
    EXPECT_EQ(hero.maxHealth, 4 * 5 + 20);
    EXPECT_EQ(thug.maxHealth, 2 * 5 + 20);
    EXPECT_EQ(hero.powers.Size(), 3);
    ASSERT_TRUE(Settle());
    h.SaveFrame("battle_start");
    // Each side's charge globes stand a glass apart (the glass is 72 wide, 7 into the globe's picture),
    // clear of the board and below the portrait, whose lowest parts are the fighter's name and health.
    for (const char* side : {"gamepopup", "opponent"}) {
        const auto* panel = dynamic_cast<GUIContainer*>(GUIList::Get(side, "container"));
        const GUIItem* portrait = GUIList::Get(side, "portrait");
        ASSERT_TRUE(panel && portrait) << side;
        const GUIBoard& board = *battle->board;
        float lastGlass = -1000;
        for (const GUIItem* globe : panel->items) {
            if (!dynamic_cast<const GUIMeterGlobe*>(globe)) continue;
            const float glass = panel->x + globe->x + 7;
            EXPECT_GE(glass, lastGlass + 72) << side;
            EXPECT_TRUE(glass + 72 <= board.x || glass >= board.x + static_cast<float>(board.w)) << side;
            EXPECT_GE(panel->y + globe->y, portrait->y + static_cast<float>(portrait->h)) << side;
            lastGlass = glass;
        }
        EXPECT_GT(lastGlass, 0) << side;
    }

    FightToTheEnd(80, true);
    ASSERT_TRUE(battle->done);
    EXPECT_EQ(battle->success, 1);
    EXPECT_EQ(thug.health.value, thug.maxHealth - dealt);
    EXPECT_EQ(hero.health.value, hero.maxHealth - taken);
    EXPECT_LE(thug.health.value, 0);
    EXPECT_FALSE(fired_.empty());
    EXPECT_TRUE(dimmedClicked);

    // The escape key no longer takes a won battle back.
    PressEscape();
    EXPECT_EQ(battle->success, 1);
    ASSERT_TRUE(WaitFor("result", 900));
    Frames(40);
    h.SaveFrame("battle_result");
    // The fight's panels and buttons have gone from under the sheet.
    EXPECT_EQ(GUIList::Get("gamepopup", ""), nullptr);
    EXPECT_EQ(GUIList::Get("opponent", ""), nullptr);
    // The spoils: what was collected, and the attributes by the reward level (the thug's best
    // rating, 1): Constitution 1 or 2.
    EXPECT_EQ(Profile::GetFlagInt("Resource.Money"), TruncToInt(hero.values[kTileMoney].value));
    const int constitution = Profile::GetFlagInt("Attribute.Constitution");
    EXPECT_TRUE(constitution == 1 || constitution == 2) << constitution;
    EXPECT_EQ(Profile::GetFlagString("Game.BattleWin"), "");  // not before the sheet is closed

    Click(500, 560);
    for (int i = 0; i < 300 && !battle->left; ++i) Frame();
    ASSERT_TRUE(battle->left);
    // Frames that take no time do not end the battle a second time.
    Data::frameMs = 0;
    for (int i = 0; i < 3; ++i) battle->Update2();
    ASSERT_TRUE(RunUntilGone(300));
    EXPECT_EQ(Profile::GetFlagInt("Game.BattleWin"), 1);
    EXPECT_EQ(Profile::GetFlagString("Game.BattleFail"), "");
    EXPECT_EQ(Profile::GetFlagInt("Game.OpponentCount"), 1);
    EXPECT_EQ(Profile::GetFlagInt("Flag.FirstBattle"), 1);
    EXPECT_EQ(Profile::GetFlagInt("ID.thug"), 1);
    EXPECT_EQ(Profile::GetFlagInt("Game.Handicap"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Date.Time"), clock + 60);
    EXPECT_EQ(MapCover::MapVisible(), 1);
    // The spoils' flag items went back to their pool: only the profile's own keys hold items.
    EXPECT_EQ(FlagItem::PoolInUse() - Profile::slotFlags->Size(), flagsInUse);
}

// A hero without powers against an opponent that punches, throws sand and raises a shield: the
// shield and the freeze show over the portraits, a frozen hero skips turns, every hit is eased
// by the highest handicap, and the lost fight leaves the fail flag.
TEST_F(Battles, AFightLostToFreezesAndPunchesLeavesTheFailFlag) {
    Profile::SetFlagInt("Game.Handicap", 3);
    Profile::SetFlagString("RealName", "Robin Ashe");
    const int clock = Profile::GetFlagInt("Date.Time");
    Start(R"(<action battle="brute" name="Brute" bg="Street" image="Characters02" index="2" constitution="6"
                     physical="2" elemental="2" mental="2"><power id="Sucker Punch" level="5"/>
             <power id="Pocket Sand" level="1"/><power id="Hard Hat" level="1"/></action>)");
    GUIPuzzleBattle* battle = Battle();
    ASSERT_NE(battle, nullptr);
    const PuzzleActor& hero = *BattleState::player;
    PuzzleActor& brute = *BattleState::opponent;
    EXPECT_EQ(hero.maxHealth, 20);
    EXPECT_EQ(brute.maxHealth, 50);
    // The brute comes with its charges full, so it fires every turn.
    for (int slot = 0; slot < 3; ++slot) brute.values[static_cast<size_t>(slot)].value = 500;

    // No powers: the hero hears why once (clicked through), and the panel names the hero's real name.
    int dialogues = 0;
    for (int i = 0; i < 900 && !(battle->no_powers && !GUIList::Get("dialogue", "")); ++i) {
        if (dynamic_cast<GUIDialogue*>(GUIList::Get("dialogue", ""))) {
            if (dialogues++ == 0) {
                Frames(40);
                h.SaveFrame("battle_no_powers");
            }
            Click(500, 300);
        }
        Frame();
    }
    EXPECT_EQ(battle->no_powers, 1);
    ASSERT_TRUE(WaitFor("gamepopup", 300));
    auto* portrait = dynamic_cast<GUIContainer*>(GUIList::Get("gamepopup", "portrait"));
    ASSERT_NE(portrait, nullptr);
    bool named = false;
    for (GUIItem* child : portrait->items)
        if (auto* text = dynamic_cast<GUIText*>(child)) named = named || text->text == "Robin Ashe";
    EXPECT_TRUE(named);

    bool shieldShown = false, freezeShown = false, heroSkipped = false;
    for (int turn = 0; turn < 60 && !battle->done; ++turn) {
        const bool settled = Settle();
        if (!settled) h.SaveFrame("battle_stuck");
        ASSERT_TRUE(settled) << battle->playerTurn << " freeze " << hero.freeze << " " << battle->board->stable
                             << " " << battle->board->alpha.value << " " << battle->wait << " fx "
                             << (GUIList::Get("powerpopup", "") != nullptr) << " dlg "
                             << (GUIList::Get("dialogue", "") != nullptr);
        if (battle->done) break;
        const std::vector<Pos> path = PathOfThree(*battle->board, -1);
        ASSERT_EQ(path.size(), 3u);
        Drag(*battle->board, path);
        for (int i = 0; i < 200 && !battle->done && !(battle->playerTurn && battle->board->stable); ++i) {
            Frame();
            if (auto* status = dynamic_cast<GUIBattleEffect*>(GUIList::Get("opponent", "status"))) {
                if (status->text.find("Shield up!") != std::string::npos && !shieldShown) {
                    shieldShown = true;
                    h.SaveFrame("battle_shield");
                }
            }
            if (auto* status = dynamic_cast<GUIBattleEffect*>(GUIList::Get("gamepopup", "status"))) {
                if (status->text.find("Frozen!") != std::string::npos && !freezeShown) {
                    freezeShown = true;
                    h.SaveFrame("battle_frozen");
                }
            }
            if (auto* message = dynamic_cast<GUIText*>(GUIList::Get("board", "message")))
                heroSkipped = heroSkipped || message->text.rfind("Player", 0) == 0;  // "Player frozen!", wrapped
        }
    }
    ASSERT_TRUE(battle->done);
    EXPECT_EQ(battle->success, 0);
    EXPECT_TRUE(shieldShown);
    EXPECT_TRUE(freezeShown);
    EXPECT_TRUE(heroSkipped);
    EXPECT_EQ(hero.health.value, hero.maxHealth - taken);
    // Every punch was eased by 6 and kept at 1 at least.
    const Power& punch = *Powers::Get("Sucker Punch");
    for (const Hit& hit : hits) {
        if (hit.damage <= 0) continue;
        EXPECT_GE(hit.damage, std::max(1, punch.minDamage(5) - 6));
        EXPECT_LE(hit.damage, std::max(1, punch.maxDamage(5) - 6));
    }
    Frames(30);
    h.SaveFrame("battle_lost");
    ASSERT_TRUE(RunUntilGone(900));
    EXPECT_EQ(GUIList::Get("result", ""), nullptr);
    EXPECT_EQ(Profile::GetFlagInt("Game.BattleFail"), 1);
    EXPECT_EQ(Profile::GetFlagString("Game.BattleWin"), "");
    EXPECT_EQ(Profile::GetFlagInt("Game.OpponentCount"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Game.Handicap"), 3);
    EXPECT_EQ(Profile::GetFlagInt("Date.Time"), clock + 60);
}

// Escape in the middle of a fight flees it: no win, no fail, an hour gone, the handicap as it was.
TEST_F(Battles, EscapeFleesAFight) {
    Profile::SetFlagInt("Game.Handicap", 2);
    Profile::SetFlagString("Power.Attribute.Strength", "Left Hook");
    Profile::SetFlagString("Game.WinDialogue", "some_win");
    const int clock = Profile::GetFlagInt("Date.Time");
    Start(R"(<action battle="thug" name="Thug" bg="Street" image="Characters01" index="1" constitution="-1"
                     physical="-1" elemental="-1" mental="-1"><power id="Sucker Punch" level="1"/></action>)");
    ASSERT_TRUE(Settle());
    PressEscape();
    ASSERT_TRUE(RunUntilGone(300));
    EXPECT_EQ(Profile::GetFlagString("Game.BattleWin"), "");
    EXPECT_EQ(Profile::GetFlagString("Game.BattleFail"), "");
    EXPECT_EQ(Profile::GetFlagString("Game.WinDialogue"), "");
    EXPECT_EQ(Profile::GetFlagInt("Game.Handicap"), 2);
    EXPECT_EQ(Profile::GetFlagInt("Date.Time"), clock + 60);
    EXPECT_EQ(MapCover::MapVisible(), 1);
}

}  // namespace
