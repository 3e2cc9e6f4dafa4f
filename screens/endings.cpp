// The end-game screen's score, endings, thank-you note and credits.
#include "screens/endings.hpp"

namespace {

int Sum(const EndFlagLookup& flag, std::initializer_list<const char*> keys) {
    int sum = 0;
    for (const char* key : keys) sum += flag(key);
    return sum;
}

}  // namespace

HeroScore HeroScore::Of(const EndFlagLookup& flag) {
    HeroScore s;
    s.blizzard = flag("Game.BlizzardWizard");
    s.villains = Sum(flag, {"Villain.Henchman", "Villain.Professor Aphasia", "Villain.Countess Conundrum",
                            "Villain.The Wombat", "Villain.The Hyena", "Villain.Wonder Boy",
                            "Villain.Infinitorax Supreme", "Villain.Ms Supreme"});
    s.power =
        Sum(flag, {"Level.Attribute.Strength", "Level.Attribute.Essence", "Level.Attribute.Intelligence"});
    s.job = Sum(flag, {"Level.Skill.Manual Labor", "Level.Skill.Science", "Level.Skill.Management",
                       "Level.Skill.Learning"});
    s.reputation = flag("Level.Resource.Reputation");
    s.ethics = flag("Level.Attribute.Ethics");
    s.upgrades = Sum(flag, {"Upgrade.Training Mastery", "Upgrade.Burglar Alarm", "Upgrade.Distress-o-Meter",
                            "Upgrade.Heroic Power"});
    s.time = flag("Date.Month") == 0 ? (31000 - flag("Date.Day") * 1000 - flag("Date.Time")) / 1000 : 0;
    s.total = (s.upgrades + s.reputation + s.job + s.time + s.power) * 250 +
              (s.ethics + s.villains + s.blizzard) * 500;
    return s;
}

Ending ChooseEnding(const EndFlagLookup& flag) {
    if (flag("Game.Evil") > 0) return Ending::Evil;
    if (flag("Game.Sidekick") > 0) return Ending::Sidekick;
    if (flag("Game.Time") > 0) return Ending::Time;
    return Ending::Own;
}

EndingPages PagesOf(Ending ending, const std::string& n) {
    EndingPages p;
    switch (ending) {
        case Ending::Evil:
            p.besidePortrait =
                n +
                " never saw truth in strict division between good and evil. The world is filled with "
                "tones of grey, and justice is a subjective term. The only true constant is POWER!";
            p.below =
                "Time Master and " + n +
                " became a fearsome duo, feared by heroes and villains alike. None could stand up to their "
                "combined strength.";
            p.epilogue =
                "However, all was not well...\\n\\nTime Master had been using our young hero for his own "
                "nefarious schemes! " +
                n +
                " learned the hard way that power should be the means to an end, not the goal "
                "itself.\\n\\nBut the details of THAT story is a tale for another day...";
            break;
        case Ending::Sidekick:
            p.besidePortrait =
                n +
                " happily accepted Blizzard Wizard's offer of continued tutelage in order to learn "
                "what it means to be a true hero.";
            p.below =
                "Together as master and sidekick they fought crime, rescued citizens in distress and ensured "
                "that Vigilance Valley remained a place of truth and justice for all!";
            p.epilogue =
                "However, all was not well...\\n\\n" + n +
                " remained Blizzard Wizard's sidekick throughout the years, taking his advice and orders "
                "without ever questioning his authority.\\n\\nIndependence is of utmost importance for a "
                "TRUE hero, but that was sadly one thing " +
                n + " never learned...";
            break;
        case Ending::Time:
            p.besidePortrait = n +
                               " never heard from the Blizzard Wizard again and was left in a state of great "
                               "confusion. Why had the Blizzard Wizard given up?";
            p.below = "What was the whole story behind " + n +
                      "'s rapid rise to glory and sudden abandonment? What was going ON?! These questions "
                      "were left "
                      "unanswered.";
            p.epilogue =
                "However, all was not dark...\\n\\n" + n +
                " wasn't one to stay down for long! A young hero must not always have a tutor to learn the "
                "ways of true heroics.\\n\\nThere were many hardships along the way, but eventually " +
                n + " DID become a proper hero. But the details of THAT story is a tale for another day...";
            break;
        case Ending::Own:
            p.besidePortrait =
                n +
                " rejected both Blizzard Wizard's and Time Master's offers of continued tutelage, "
                "showing the first sign of a TRUE hero.";
            p.below =
                "Anyone can become powerful, and anyone can follow someone else's teachings. But wisdom can "
                "only be gained by independent thought and making your own decisions.";
            p.epilogue =
                "However, the journey wasn't easy...\\n\\nChoosing for yourself means making a lot of bad "
                "decisions as well, something that " +
                n +
                " learned the hard way.\\n\\nAs the years went by our young hero experienced great "
                "triumphs and devastating failures, but in the end eventually rose up to become one of the "
                "FINEST heroes of all time!";
            break;
    }
    return p;
}

const char* const kThankYouText =
    "Thank you for playing Brallwick: Quellfast!\\n\\nThere are multiple endings for your hero, and many "
    "secrets to "
    "discover. Feel free to try again with a different kind of hero!";

const std::array<const char*, 44> kCredits{
    "@cCredits",
    "",
    "",
    "Brallwick - Quellfast, a game by Quellfast Studio",
    "",
    "No cats were harmed in the development of this game",
    "",
    "",
    "@rProgramming",
    "Written in C++ on SDL2 by the studio",
    "",
    "@gCharacter Art",
    "Drawn in vector ink by the studio",
    "",
    "@gBackground Art",
    "Painted in vector ink by the studio",
    "",
    "@gInterface Art",
    "Comic Neue and DejaVu type, frames by the studio",
    "",
    "@yGame Design",
    "Quellfast Studio",
    "",
    "@yDialogue",
    "Written by the studio",
    "",
    "@yConcept Ideas",
    "Everyone at Quellfast Studio",
    "",
    "@bMusic",
    "Composed note by note in the studio's own synthesiser",
    "",
    "@bSound Effects",
    "Synthesised in the studio",
    "...and Dot's toaster",
    "",
    "",
    "",
    "Special thanks to Mrs. Dorothea Pluckett and her fourteen cats",
    "",
    "...And to YOU for buying this game!",
    "",
    "",
    "The End",
};
