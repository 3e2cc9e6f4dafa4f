#pragma once
// Powers: the attacks and specials fired in puzzle battles, loaded once from "data/powers.xml",
// and the formulas that turn power-tree levels (the hero's) or held levels (an opponent's) into
// damage, cost, shield and freeze. These numbers are the game's balance: change the data, not the
// formulas.
#include <array>
#include <memory>
#include <string>

#include "core/collections.hpp"

class PuzzleActor;
class XMLElement;

// One power's data and the battle's questions about it. `PlayerPower` answers from the hero's
// power tree, `OpponentPower` from the level at which an opponent holds the power.
//
// Firing one power asks, in this order: `effect`, `extraDamage`, `damage`, `blocked`. A shield
// soaks its points inside `extraDamage` and `damage`, whose results are already net of it, so the
// health a hit takes is damage + extra - `resisted` (the resistance share alone); `blocked` is the
// "Blocked" number the fighters see: the resistance share plus everything the shield soaked.
class Power {
  public:
    Power() = default;
    virtual ~Power() = default;

    std::string id;
    std::string fx;
    std::string attribute;
    std::string special;
    float special_base = 0;
    float special_level = 0;
    float damage_base = 0;
    float damage_level = 0;
    float cost_base = 0;
    float cost_level = 0;
    float damage_distribution = 0;

    virtual int minDamage(int level) const;
    virtual int maxDamage(int level) const;
    virtual int cost(int level) const;
    virtual std::string effectDescription() const;
    virtual std::string effect(PuzzleActor& attacker, PuzzleActor& target) const;
    // The level of the first held power of the actor with this power's id; 0 when it holds none.
    virtual int getLevel(const PuzzleActor& actor) const;
    // Half the minimum damage against a target whose dominant rating this colour beats.
    int extraDamage(PuzzleActor& attacker, PuzzleActor& target) const;
    // A draw in [minDamage, maxDamage], less what the target's shield soaks.
    int damage(PuzzleActor& attacker, PuzzleActor& target) const;
    // The "Blocked" number: the resistance share plus the shield's soak since the last call.
    int blocked(PuzzleActor& attacker, PuzzleActor& target) const;
    // Half the maximum damage against a target whose dominant rating resists this colour.
    int resisted(const PuzzleActor& attacker, const PuzzleActor& target) const;

    // The charge slot that pays this power: 0 physical, 1 elemental, 2 mental, -1 for any other
    // attribute (such a power can never be paid).
    int ChargeSlot() const;
    // The special's size at a level (a float for the mental freeze, whose level is fractional).
    float SpecialSize(float level) const;
    bool IsPlayerPower() const { return playerPower; }

  protected:
    bool playerPower = false;
};

class PlayerPower : public Power {
  public:
    PlayerPower() { playerPower = true; }

    float damage2_base = 0;
    float damage2_level = 0;
    float damage2_distribution = 0;
    float damage3_base = 0;
    float damage3_level = 0;
    float damage3_distribution = 0;

    // The level argument is not used: the hero's tree levels decide.
    int minDamage(int level) const override;
    int maxDamage(int level) const override;
    // n is the hero's level of the power's attribute.
    int cost(int n) const override;
    std::string effectDescription() const override;
    std::string effect(PuzzleActor& attacker, PuzzleActor& target) const override;

  private:
    int Damage(int sign) const;
};

class OpponentPower : public Power {
  public:
    int minDamage(int level) const override;
    int maxDamage(int level) const override;
    int cost(int level) const override;
    int getLevel(const PuzzleActor& actor) const override;
    std::string effect(PuzzleActor& attacker, PuzzleActor& target) const override;

  private:
    float Centre(int level) const;
};

// The power table. Powers live until the table is reset (program start, tests), so callers keep
// plain pointers to them.
class Powers {
  public:
    static constexpr const char* kFile = "data/powers.xml";
    // The hero's attack names the power-up tree picks from, by colour (Strength, Essence,
    // Intelligence); the data must hold each as a player power of that colour.
    static const std::array<std::array<const char*, 5>, 3> attackNames;
    static const std::array<const char*, 3> colours;

    static ArrayList<std::shared_ptr<Power>> powers;

    static void InitGlobals();
    static void Init();
    // Reads every child of the root as a power. A malformed file raises the parser's error after
    // a line naming the file; bad entries print one line each and are skipped or read as 0.
    static void Load(const std::string& path);
    static void ParsePower(XMLElement* element);
    // The first power whose id equals the text exactly; null for none.
    static Power* Get(const std::string& id);

  private:
    // One line naming the file being loaded.
    static void Report(const std::string& what);
    static std::string loadingFile;
};
