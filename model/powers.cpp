// Powers: the power table, its data file and the damage, cost, shield and freeze formulas.
#include "model/powers.hpp"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "core/strings.hpp"
#include "core/xml.hpp"
#include "core/xmlfile.hpp"
#include "framework/framework.hpp"
#include "model/board.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"
#include "platform/random.hpp"
#include "platform/storage.hpp"

ArrayList<std::shared_ptr<Power>> Powers::powers;
std::string Powers::loadingFile;

const std::array<std::array<const char*, 5>, 3> Powers::attackNames = {{
    {"Left Hook", "Power Punch", "Fire Punch", "Clobbering Time", "Power Blitz"},
    {"Energy Arrow", "Energy Strike", "Electro Blast", "Thunder Storm", "Ragnarok"},
    {"Psycho Bolt", "Mind Blast", "Meltdown", "Psycho Strike", "Soul Crusher"},
}};
const std::array<const char*, 3> Powers::colours = {"Attribute.Strength", "Attribute.Essence",
                                                    "Attribute.Intelligence"};

namespace {

// The hero's power-tree keys per colour: three damage components (an empty key is a component the
// tree lacks), the cost node, and the shield node. Held as strings made once, so that reading a
// level on every hit of a battle builds no key.
struct Tree {
    std::array<std::string, 3> components;
    std::string costKey;
    std::string shieldKey;
};
const std::array<Tree, 3> trees = {{
    {{"Power.Physical.Damage", "Power.Physical.Fire", "Power.Physical.Beam"},
     "Power.Physical.Cost",
     "Power.Physical.Stone"},
    {{"Power.Elemental.Energy", "Power.Elemental.Electric", "Power.Elemental.Thunder"},
     "Power.Elemental.Cost",
     ""},
    {{"Power.Mental.Bolt", "Power.Mental.Blast", ""}, "Power.Mental.Cost", ""},
}};

int TreeLevel(const std::string& key) {
    return key.empty() ? 0 : Profile::GetFlagInt(key);
}

// The freeze level of the hero's tree: Essence has its own node, Intelligence mixes Confusion
// with one and a half times Control.
float FreezeLevel(int slot) {
    static const std::string freeze = "Power.Elemental.Freeze";
    static const std::string confusion = "Power.Mental.Confusion";
    static const std::string control = "Power.Mental.Control";
    if (slot == 1) return static_cast<float>(Profile::GetFlagInt(freeze));
    if (slot == 2)
        return static_cast<float>(Profile::GetFlagInt(confusion)) +
               1.5f * static_cast<float>(Profile::GetFlagInt(control));
    return 0.0f;
}

// Lowers a hit by what the target's shield soaks and remembers the soak for the "Blocked" number.
int Soak(PuzzleActor& target, int r) {
    if (target.protect > 0 && r > 0) {
        const int absorbed = std::min(target.protect, r);
        target.toBlock += absorbed;
        r -= absorbed;
        target.protect -= absorbed;
    }
    return r;
}

// The leading decimal number of a text, as the power data reads it; false when the text does not
// start with one.
bool LeadingNumber(const std::string& text, float& value) {
    size_t i = text.find_first_not_of(" \t\r\n");
    if (i == std::string::npos) return false;
    if (text[i] == '+' || text[i] == '-') ++i;
    if (i < text.size() && text[i] == '.') ++i;
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    value = StringToFloat(text);
    return true;
}

}  // namespace

int Power::minDamage(int) const {
    return 0;
}
int Power::maxDamage(int) const {
    return 0;
}
int Power::cost(int) const {
    return 0;
}
std::string Power::effectDescription() const {
    return "";
}
std::string Power::effect(PuzzleActor&, PuzzleActor&) const {
    return "";
}

int Power::getLevel(const PuzzleActor& actor) const {
    for (const std::shared_ptr<PuzzleActorPower>& held : actor.powers)
        if (held && held->power && held->power->id == id) return held->level;
    return 0;
}

int Power::ChargeSlot() const {
    for (int i = 0; i < 3; ++i)
        if (attribute == Powers::colours[static_cast<size_t>(i)]) return i;
    return -1;
}

float Power::SpecialSize(float level) const {
    return level > 1.0f ? special_base + special_level * (level - 1.0f) : special_base;
}

// Physical beats mental, elemental beats physical, mental beats elemental: the colour that gets
// extra damage from a power of slot s is (s + 2) % 3, the one that resists it (s + 1) % 3.
int Power::extraDamage(PuzzleActor& attacker, PuzzleActor& target) const {
    const int slot = ChargeSlot();
    int r = 0;
    if (slot >= 0 && target.Dominant() == (slot + 2) % 3) r = TruncToInt(0.5 * minDamage(getLevel(attacker)));
    return Soak(target, r);
}

int Power::damage(PuzzleActor& attacker, PuzzleActor& target) const {
    const int level = getLevel(attacker);
    const float low = static_cast<float>(minDamage(level));
    const float high = static_cast<float>(maxDamage(level)) + 1.0f;
    const int r = TruncToInt(platform::Rnd(low, high));
    return Soak(target, r);
}

int Power::resisted(const PuzzleActor& attacker, const PuzzleActor& target) const {
    const int slot = ChargeSlot();
    if (slot < 0 || target.Dominant() != (slot + 1) % 3) return 0;
    return TruncToInt(0.5 * maxDamage(getLevel(attacker)));
}

int Power::blocked(PuzzleActor& attacker, PuzzleActor& target) const {
    const int b = resisted(attacker, target) + target.toBlock;
    target.toBlock = 0;
    return b;
}

int PlayerPower::Damage(int sign) const {
    const int slot = ChargeSlot();
    float sum = 0;
    if (slot >= 0) {
        const std::array<float, 3> base = {damage_base, damage2_base, damage3_base};
        const std::array<float, 3> growth = {damage_level, damage2_level, damage3_level};
        const std::array<float, 3> spread = {damage_distribution, damage2_distribution, damage3_distribution};
        for (size_t k = 0; k < 3; ++k) {
            const int level = TreeLevel(trees[static_cast<size_t>(slot)].components[k]);
            if (level < 1) continue;
            const float h = base[k] + growth[k] * static_cast<float>(level - 1);
            sum += h + static_cast<float>(sign) * h * spread[k];
        }
    }
    // A hero always hits for something: at least 1, and a top of at least 3.
    if (sign < 0 && sum < 1.0f) sum = 1.0f;
    if (sign > 0 && sum < 3.0f) sum = 3.0f;
    return TruncToInt(sum + 0.5f);
}

int PlayerPower::minDamage(int) const {
    return Damage(-1);
}
int PlayerPower::maxDamage(int) const {
    return Damage(1);
}

int PlayerPower::cost(int n) const {
    const int slot = ChargeSlot();
    if (slot >= 0) n -= 2 * TreeLevel(trees[static_cast<size_t>(slot)].costKey);
    if (n < 1) return 1;
    float c = cost_base + cost_level * static_cast<float>(n - 1) + 0.5f;
    if (c < 1.0f) c = 1.0f;
    return TruncToInt(c);
}

std::string PlayerPower::effectDescription() const {
    const int slot = ChargeSlot();
    if (special == "protect" && slot == 0) {
        const int level = TreeLevel(trees[0].shieldKey);
        if (level > 0)
            return "Shield for " + std::to_string(TruncToInt(SpecialSize(static_cast<float>(level)) + 0.5f)) +
                   " damage";
    } else if (special == "freeze" && slot > 0) {
        const float level = FreezeLevel(slot);
        if (level > 0)
            return "Freeze for " + std::to_string(TruncToInt(SpecialSize(level) + 0.5f)) + " round(s)";
    }
    return "";
}

std::string PlayerPower::effect(PuzzleActor& attacker, PuzzleActor& target) const {
    const int slot = ChargeSlot();
    if (special == "protect" && slot == 0) {
        const int level = TreeLevel(trees[0].shieldKey);
        if (level > 0) {
            attacker.protect = TruncToInt(static_cast<float>(attacker.protect) +
                                          SpecialSize(static_cast<float>(level)) + 0.5f);
            return "Shield up!";
        }
    } else if (special == "freeze" && slot > 0) {
        const float level = FreezeLevel(slot);
        if (level > 0) {
            target.freeze = TruncToInt(static_cast<float>(target.freeze) + SpecialSize(level) + 0.5f);
            return "Freeze!";
        }
    }
    return "";
}

float OpponentPower::Centre(int level) const {
    return level > 1 ? damage_base + damage_level * static_cast<float>(level - 1) : damage_base;
}

int OpponentPower::minDamage(int level) const {
    const float c = Centre(level);
    return TruncToInt(c - c * damage_distribution + 0.5f);
}

int OpponentPower::maxDamage(int level) const {
    const float c = Centre(level);
    return TruncToInt(c + c * damage_distribution + 0.5f);
}

int OpponentPower::cost(int level) const {
    const float steps = level > 1 ? static_cast<float>(level - 1) : 0.0f;
    return TruncToInt(std::max(1.0f, cost_base + cost_level * steps + 0.5f));
}

int OpponentPower::getLevel(const PuzzleActor& actor) const {
    return Power::getLevel(actor);
}

std::string OpponentPower::effect(PuzzleActor& attacker, PuzzleActor& target) const {
    const float s = SpecialSize(static_cast<float>(getLevel(attacker)));
    if (special == "protect") {
        attacker.protect = TruncToInt(static_cast<float>(attacker.protect) + s + 0.5f);
        return "Shield up!";
    }
    if (special == "freeze") {
        target.freeze = TruncToInt(static_cast<float>(target.freeze) + s + 0.5f);
        return "Freeze!";
    }
    return "";
}

void Powers::InitGlobals() {
    powers.Clear2();
    loadingFile = kFile;
}

void Powers::Init() {
    Load(kFile);
}

void Powers::Load(const std::string& path) {
    loadingFile = path;
    const std::unique_ptr<XMLDocument> doc =
        ParseXMLFile(path, platform::LoadString(platform::DataPath(path)));
    const int before = powers.Size();
    for (XMLElement* element : doc->Root()->Children()) ParsePower(element);
    if (powers.Size() == before) Report("holds no power");

    // The power-up tree stores one of these names and looks it up wherever the hero's attack shows;
    // a name missing here would leave the hero without that attack.
    for (size_t slot = 0; slot < attackNames.size(); ++slot)
        for (const char* name : attackNames[slot]) {
            const Power* power = Get(name);
            if (!power)
                Report("the hero's attack \"" + std::string(name) + "\" is missing");
            else if (!power->IsPlayerPower() || power->attribute != colours[slot])
                Report("the hero's attack \"" + std::string(name) + "\" must be a player power of " +
                       colours[slot]);
        }
}

void Powers::ParsePower(XMLElement* element) {
    const std::string where = "<" + element->Name() + "> #" + std::to_string(powers.Size() + 1);
    const std::string id = element->GetAttribute("id");
    if (id.empty()) {
        Report(where + " has no id; skipped");
        return;
    }
    if (Get(id)) {
        Report("power \"" + id + "\" appears twice; the first one is used");
        return;
    }
    std::shared_ptr<Power> power;
    std::shared_ptr<PlayerPower> player;
    if (element->HasAttribute("player")) {
        player = std::make_shared<PlayerPower>();
        power = player;
    } else {
        power = std::make_shared<OpponentPower>();
    }
    const std::string named = "power \"" + id + "\"";
    power->id = id;
    power->fx = element->GetAttribute("fx");
    power->attribute = element->GetAttribute("attribute");
    if (element->HasAttribute("special")) power->special = element->GetAttribute("special");
    if (power->ChargeSlot() < 0)
        Report(named + ": attribute \"" + power->attribute + "\" is no power colour; it can never be paid");
    if (!power->special.empty() && power->special != "protect" && power->special != "freeze")
        Report(named + ": special \"" + power->special + "\" is unknown; it does nothing");
    if (power->fx.empty()) Report(named + " has no fx; it fires without an effect");

    // The leading decimal number of the text, 0 when there is none. A text that is no number is a
    // typing error worth a line rather than a silent 0; so is a negative number, which no formula
    // here expects.
    auto number = [&](const char* attribute, float& field) {
        if (!element->HasAttribute(attribute)) return;
        const std::string text = element->GetAttribute(attribute);
        float v = 0.0f;
        if (!LeadingNumber(text, v) || !std::isfinite(v)) {
            Report(named + ": " + attribute + "=\"" + text + "\" is no number; read as 0");
            return;
        }
        if (v < 0.0f) Report(named + ": " + attribute + " is negative");
        field = v;
    };
    number("special_base", power->special_base);
    number("special_level", power->special_level);
    number("damage_base", power->damage_base);
    number("damage_level", power->damage_level);
    number("cost_base", power->cost_base);
    number("cost_level", power->cost_level);
    number("damage_distribution", power->damage_distribution);
    if (player) {
        number("damage2_base", player->damage2_base);
        number("damage2_level", player->damage2_level);
        number("damage2_distribution", player->damage2_distribution);
        number("damage3_base", player->damage3_base);
        number("damage3_level", player->damage3_level);
        number("damage3_distribution", player->damage3_distribution);
    }
    powers.Add(power);
}

void Powers::Report(const std::string& what) {
    platform::PrintLine("Powers: " + loadingFile + ": " + what);
}

Power* Powers::Get(const std::string& id) {
    for (const std::shared_ptr<Power>& power : powers)
        if (power->id == id) return power.get();
    return nullptr;
}
