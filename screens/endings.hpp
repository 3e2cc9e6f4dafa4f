#pragma once
// What the end-game screen says: the hero's score from the character's flags, the ending the
// player's decisions chose (two pages), the thank-you note and the credits list.
#include <array>
#include <functional>
#include <string>

// The current value of a character flag (missing flags read 0).
using EndFlagLookup = std::function<int(const std::string& key)>;

// The parts of the hero score, each as the score table counts it.
struct HeroScore {
    int blizzard = 0;
    int villains = 0;
    int power = 0;
    // The four skill levels.
    int job = 0;
    int reputation = 0;
    int ethics = 0;
    int upgrades = 0;
    // Days left of January; none after it.
    int time = 0;
    int total = 0;

    static HeroScore Of(const EndFlagLookup& flag);
};

// The four endings, by the first decision that holds: sided with the Time Master, stayed the
// Blizzard Wizard's sidekick, was left by the Wizard, or followed neither.
enum class Ending { Evil, Sidekick, Time, Own };

struct EndingPages {
    // First page: the text beside the portrait and the text below it.
    std::string besidePortrait;
    std::string below;
    // Second page.
    std::string epilogue;
};

Ending ChooseEnding(const EndFlagLookup& flag);
// The pages of an ending for the hero called `name`.
EndingPages PagesOf(Ending ending, const std::string& name);

extern const char* const kThankYouText;

// The credits, one line each; "@c", "@r", "@g", "@b" or "@y" in front picks the line's style, an
// empty line is a gap.
extern const std::array<const char*, 44> kCredits;
