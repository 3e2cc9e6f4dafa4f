// Puzzle actors: crediting matched chains to an actor, its dominant rating, and the two fighters
// of a battle as the profile and the battle's data make them.
#include "model/board.hpp"

#include <algorithm>

#include "core/strings.hpp"
#include "framework/framework.hpp"
#include "model/powers.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"
#include "platform/random.hpp"

GainDisplay PuzzleActor::showGain;

void Tile::Copy(Tile& source) {
    x = source.x;
    y = source.y;
    speed = source.speed;
    index = source.index;
    movable = source.movable;
    value = source.value;
    special = source.special;
    wait = source.wait;
    state = 2;
    bounce = 0;
    source.movable = 1;
    source.state = -1;
    source.special = 0;
    source.wait = 0;
}

int GainColour(int kind, int value) {
    switch (kind) {
        case kTilePhysical:
            return 0xFF8080;
        case kTileElemental:
            return 0x80FF80;
        case kTileMental:
            return 0x8080FF;
        case kTileMoney:
            return 0xFFFF80;
        case kTileReputation:
            return 0xFF80FF;
        case kTileClue:
            return 0x80FFFF;
        default:
            return value > 0 ? 0x8080FF : 0xFF8080;
    }
}

int PuzzleActor::Award(const TileChain& chain, int x, int y, int boardType) {
    // The board never passes an empty chain; there would be nothing to credit or show.
    if (chain.IsEmpty()) return 0;
    int amount = chain.Size();
    int slot = 0;
    int colour = 0;
    int minX = 65535, minY = 65535, maxX = 0, maxY = 0;
    int lastKind = 0;
    for (Tile* tile : chain) {
        if (tile->x < static_cast<float>(minX)) minX = TruncToInt(tile->x);
        if (tile->y < static_cast<float>(minY)) minY = TruncToInt(tile->y);
        if (tile->x > static_cast<float>(maxX)) maxX = TruncToInt(tile->x);
        if (tile->y > static_cast<float>(maxY)) maxY = TruncToInt(tile->y);
        const int kind = tile->index;
        // A bonus tile is never credited, and neither is a kind that has no charge slot.
        if (kind == kTileBonus || kind < 0 || kind >= kTileKinds) return 0;
        slot = kind;
        if (kind >= kTileStrength && kind <= kTileEthics) amount = tile->value;
        colour = GainColour(kind, tile->value);
        lastKind = kind;
    }
    values[static_cast<size_t>(slot)].value += static_cast<float>(amount);
    if (lastKind < 3) totalValues[static_cast<size_t>(slot)] += amount;
    // A training credits power, money and reputation silently: only its attribute tiles count there.
    if (boardType == 3 && slot < 5) return 0;
    if (showGain.Empty()) return 0;
    maxX += 64;
    maxY += 64;
    const int cx = x + TruncToInt((maxX - minX) * 0.5 + minX);
    const int cy = y + TruncToInt((maxY - minY) * 0.5 + minY);
    showGain.Run(CharThenNumber('+', amount), amount >= 3 ? 1 : 0, colour, cx, cy);
    return 0;
}

int PuzzleActor::Dominant() const {
    if (physical > elemental && physical > mental) return 0;
    if (elemental > physical && elemental > mental) return 1;
    if (mental > physical && mental > elemental) return 2;
    return -1;
}

std::shared_ptr<PuzzleActor> CreateHeroActor() {
    auto hero = std::make_shared<PuzzleActor>();
    hero->maxHealth = Profile::GetFlagInt("Level.Attribute.Constitution") * 5 + 20;
    hero->health.value = static_cast<float>(hero->maxHealth);
    hero->image = "hero";
    hero->index = 0;
    hero->physical = static_cast<float>(Profile::GetFlagInt("Level.Attribute.Strength"));
    hero->elemental = static_cast<float>(Profile::GetFlagInt("Level.Attribute.Essence"));
    hero->mental = static_cast<float>(Profile::GetFlagInt("Level.Attribute.Intelligence"));
    for (const char* attribute : Powers::colours) {
        const std::string name = Profile::GetFlagString(std::string("Power.") + attribute);
        if (name.empty()) continue;
        Power* power = Powers::Get(name);
        if (!power) {
            platform::PrintLine("The hero's attack \"" + name + "\" is not in " + Powers::kFile +
                                "; left out");
            continue;
        }
        hero->powers.Add(std::make_shared<PuzzleActorPower>(
            power, Profile::GetFlagInt(std::string("Level.") + attribute)));
    }
    const int heroic = Profile::GetFlagInt("Upgrade.Heroic Power");
    const float headStart = heroic >= 3 ? 20.0f : heroic == 2 ? 10.0f : heroic == 1 ? 5.0f : 0.0f;
    for (int slot = 0; slot < 3; ++slot) hero->values[static_cast<size_t>(slot)].value += headStart;
    return hero;
}

int DeriveOpponent(PuzzleActor& opponent, const PuzzleActor& hero, int constitution) {
    if (constitution == -1)
        opponent.maxHealth = hero.maxHealth - 10 + 5 * TruncToInt(platform::Rnd(0.0f, 3.0f));
    else
        opponent.maxHealth = constitution * 5 + 20;
    opponent.health.value = static_cast<float>(opponent.maxHealth);

    int derived = 0;
    int o = 0;
    auto derive = [&](float& rating, float heroRating) {
        if (rating != -1.0f) return;
        rating = std::max(2.0f, heroRating + platform::Rnd(0.0f, 3.0f));
        o = TruncToInt(rating);
        derived = 1;
    };
    derive(opponent.physical, hero.physical);
    derive(opponent.elemental, hero.elemental);
    derive(opponent.mental, hero.mental);
    if (derived)
        for (const std::shared_ptr<PuzzleActorPower>& held : opponent.powers)
            if (held)
                held->level =
                    TruncToInt(std::max(1.0f, static_cast<float>(o) + platform::Rnd(0.0f, 4.0f) - 1.0f));
    return derived;
}
