// The plan through the story, decided from what a player sees and knows: the arrows and walkers on
// the map, the quest in progress, money, and the places revealed.
#include "tests/support/walkthrough.hpp"

#include <algorithm>

#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "model/profile.hpp"
#include "minigames/gamesearch_item.hpp"
#include "model/upgrades.hpp"
#include "screens/character.hpp"
#include "screens/endgame.hpp"

namespace harness {

namespace {

int F(const std::string& key) {
    return Profile::GetFlagInt(key);
}

bool Revealed(const std::string& place) {
    return F("Location." + place) > 0;
}

// The best-paying work at hand: the Docks' crates or crane, else Dr. Vale's lab.
Errand Work(const std::string& why) {
    return {"Docks", {"Crane", "Work"}, "", why};
}

// Muscle at the Gym; the Library trains the mind and ethics.
Errand Train(const std::string& why) {
    return {"Gym", {"Train"}, "", why};
}

// The villains the story sends the hero to: the flag their defeat sets, and the flag that sends
// the hero there (a done-marker, stage 0, or a quest at that stage).
struct Villain {
    const char* defeated;
    const char* when;
    int stage;
    const char* place;
};
constexpr Villain kVillains[] = {
    {"Villain.Henchman", "ID.a1_henchman_news", 0, "Old Cannery"},
    {"Villain.Professor Aphasia", "ID.a2_strike", 0, "Library"},
    {"Villain.Countess Conundrum", "Quest.Trial of Wits", 2, "Conundrum Manor"},
    {"Villain.The Hyena", "Quest.Trial of Heart", 2, "Fairground"},
    {"Villain.Wonder Boy", "Quest.Stop the Sale", 2, "Channel 9"},
    {"Villain.Ms Supreme", "Quest.Supreme Showdown", 2, "City Hall"},
};

// The purchases the quests ask for, at the stage that asks.
struct Purchase {
    const char* quest;
    int stage;
    const char* line;
};
constexpr Purchase kPurchases[] = {
    {"Quest.Easy Money", 3, "Training Mastery"},
    {"Quest.Raise the Alarm", 2, "Burglar Alarm"},
    {"Quest.Zero to Wannabe", 2, "Distress-o-Meter"},
    {"Quest.Supreme Showdown", 1, "Heroic Power"},
};

// The middle of the item is in the view, where a click reaches it.
bool OnScreen(const ItemBox& box) {
    return box.CentreX() >= 8 && box.CentreY() >= 8 && box.CentreX() < SCREEN_WIDTH - 8 &&
           box.CentreY() < SCREEN_HEIGHT - 8;
}

// Whether a click at the middle of the box reaches its item: on the screen, and not taken first by
// an item over that spot (the corner panel's buttons over a walker in the bottom-left corner).
bool Reaches(const Player& p, const ItemBox& box) {
    if (!OnScreen(box)) return false;
    for (const ItemBox& other : p.Items()) {
        if (box.CentreX() >= other.x && box.CentreX() < other.x + static_cast<float>(other.w) &&
            box.CentreY() >= other.y && box.CentreY() < other.y + static_cast<float>(other.h))
            return other.item == box.item;
    }
    return true;
}

}  // namespace

Walkthrough::Walkthrough(Player& player, Ending end, const std::string& name)
    : p(player), ending(end), heroName(name) {
    p.choose = [this](const std::vector<std::string>& choices) { return Choose(choices); };
}

std::string Walkthrough::Choose(const std::vector<std::string>& choices) const {
    std::vector<std::string> wanted;
    switch (ending) {
        case Ending::Evil: wanted = {"No thanks", "Go dark"}; break;
        case Ending::Sidekick: wanted = {"No thanks", "Stay"}; break;
        case Ending::Time: wanted = {"Take it", "Go solo"}; break;
        case Ending::Independent: wanted = {"No thanks", "Go solo"}; break;
    }
    // The Countess's riddle has one right answer; the lab pays for running its tests.
    wanted.insert(wanted.end(), {"A piano", "Run tests", "Heroic"});
    for (const std::string& w : wanted)
        if (std::find(choices.begin(), choices.end(), w) != choices.end()) return w;
    return choices.front();
}

Errand Walkthrough::Plan() const {
    const int money = F("Resource.Money");
    for (const Purchase& buy : kPurchases) {
        if (F(buy.quest) != buy.stage) continue;
        const UpgradeItem* next = Upgrades::Get(buy.line, F(std::string("Upgrade.") + buy.line));
        if (next && money >= next->cost) return {"Quellfast", {"Upgrades"}, buy.line, "buy the upgrade"};
        return Work("save up for the upgrade");
    }
    for (const Villain& v : kVillains) {
        const int sent = F(v.when);
        if (F(v.defeated) < 1 && (v.stage == 0 ? sent >= 1 : sent == v.stage) && Revealed(v.place))
            return {v.place, {}, "", std::string("face ") + v.defeated};
    }

    if (F("Quest.Easy Money") == 1) return Work("the first job");
    if (F("Quest.Easy Money") == 2) return Train("the first training");
    if (F("Quest.Raise the Alarm") == 1) return Work("save up for the alarm");
    if (F("Quest.Zero to Wannabe") == 1) {
        if (money >= 60 && Revealed("Gazette")) return {"Gazette", {"Buy an Ad"}, "", "buy reputation"};
        return Work("money for an ad");
    }
    // Where the story sends the hero after a win (its arrow may be gone by the time the map is
    // back; the dialogues say where to go).
    struct Return {
        int act;
        const char* after;
        const char* before;
        const char* place;
    };
    constexpr Return kReturns[] = {
        {2, "Villain.Professor Aphasia", "ID.a2_timemaster", "Quellfast"},
        {4, "ID.a4_proof", "ID.a4_offer", "Quellfast"},
        {5, "ID.a5_victory", "ID.a5_offers", "Quellfast"},
    };
    for (const Return& r : kReturns)
        if (F("Flag.Act") == r.act && F(r.after) >= 1 && F(r.before) < 1)
            return {r.place, {}, "", std::string("back after ") + r.after};
    const bool clueHunt = F("Quest.Trial of Wits") == 1 || F("Quest.Stop the Sale") == 1;
    if (clueHunt && Revealed("Market Square") && F("Flag.Act") >= 3)
        return {"Market Square", {"Watch"}, "", "hunt clues"};
    if (F("Quest.Trial of Might") == 1) return {"Wombat Burrow", {}, "", "the burrow"};
    if (F("Quest.Trial of Might") == 2) return {"City Hall", {}, "", "return the covers"};
    if (F("Quest.Trial of Heart") == 1) return {"Library", {"Study"}, "", "ethics"};
    if (F("Quest.Stop the Sale") == 3) return {"City Hall", {}, "", "show the proof"};
    if (F("Quest.Supreme Showdown") == 3) return {"Supreme Tower", {}, "", "the tower"};
    // Between quests: alternate paid work and training.
    return F("Game.JobCount") <= F("Game.TrainingCount") ? Work("between quests") : Train("between quests");
}

void Walkthrough::Turn() {
    // The power-up tree: spend every point, first node first.
    if (auto option = p.Find("option")) {
        p.Click(*option);
        return;
    }
    // The base: buy the line the errand is about.
    if (!errand.upgrade.empty()) {
        if (auto buy = p.Find(errand.upgrade, "upgrade")) {
            p.Click(*buy);
            errand.upgrade.clear();
            return;
        }
    }
    const std::string screen = p.ScreenName();
    if (screen == "Title") {
        if (OnTitle()) return;
        p.Step();
        return;
    }
    if (p.Answer() || p.PlayPuzzle()) return;
    // The crowd search: click a crook while the clock runs.
    if (auto* search = dynamic_cast<GUIGameSearch*>(GUIList::Get("distress", ""))) {
        for (const Person& person : search->rules.persons) {
            if (person.type == 1 && person.active && person.alpha >= 0.5f && !search->rules.done) {
                p.ClickAt(person.xpos, person.ypos);
                return;
            }
        }
    }
    // In a dungeon: step into the next cell it offers, once its last event message has gone.
    if (auto tile = p.Find("tile"); tile && !p.Find("result")) {
        p.Click(*tile);
        return;
    }
    if (screen == "Map" && OnMap()) return;
    if (screen == "Act" || screen == "Endgame") {
        // A click skips the act card; on the end screen it reads the typed pages on, and once a
        // few lines of the credits have rolled by it lets them go.
        const auto* end = dynamic_cast<const EndGameScreen*>(briskGame->currentScreen.get());
        const bool click = !end || end->text || (end->state >= 7 && end->state <= 8 && end->index >= 4);
        if (click && p.frames % 20 == 0) {
            p.ClickAt(SCREEN_WIDTH * 0.5f, SCREEN_HEIGHT * 0.5f);
            return;
        }
    }
    p.Step();
}

bool Walkthrough::OnTitle() {
    // Character creation: the name typed over the suggested one, then "OK".
    if (auto ok = p.Find("character", "ok")) {
        if (!named) {
            for (size_t i = CharacterCreation::heroName.size(); i > 0; --i) p.PressKey(8);
            p.Type(heroName);
            named = true;
            return true;
        }
        p.Click(*ok);
        return true;
    }
    // The slots: the first one (a new player's are all empty) opens the creation.
    if (auto slot = p.Find("character", "character")) {
        p.Click(*slot);
        return true;
    }
    return p.Click("button", "play");
}

bool Walkthrough::OnMap() {
    if (GUIList::Suspended()) return false;
    // Walkers, when the quest asks for them: the first burglar, the first distress call, and
    // calls while clues or good deeds are wanted.
    const bool helping = F("Quest.Zero to Wannabe") == 3 || F("Quest.Trial of Wits") == 1 ||
                         F("Quest.Trial of Heart") == 1 || F("Quest.Stop the Sale") == 1;
    for (const char* walker : {"burglar", "distress"}) {
        const bool wanted = walker[0] == 'b' ? F("Quest.Raise the Alarm") == 3 : helping;
        const std::optional<ItemBox> box = p.Find(walker);
        if (wanted && box && Reaches(p, *box)) {
            p.Click(*box);
            return true;
        }
    }
    // The story's arrows point at the place to go. A player remembers the place after the arrow
    // has gone (pressing a menu button takes the arrows away) until the hero gets there.
    const std::string here = Profile::GetFlagString("Location");
    const std::string kPlace = "location.";
    for (const ItemBox& box : p.Items()) {
        const GUIItem* arrow = box.item;
        if (arrow->id == "arrow" && arrow->name.rfind(kPlace, 0) == 0 && arrow->name.substr(kPlace.size()) != here)
            pointed = arrow->name.substr(kPlace.size());
    }
    if (pointed == here) pointed.clear();
    if (walking > 0) {
        --walking;
        if (here != errand.place) return false;
        walking = 0;
    }
    errand = pointed.empty() ? Plan() : Errand{pointed, {}, "", "follow the arrow"};
    // At the place: press what the errand wants on its menu, or leave the menu.
    if (p.Find("button")) {
        if (here == errand.place) {
            for (const std::string& wanted : errand.buttons)
                if (p.Click("button", wanted)) return true;
        }
        if (p.Click("button", "Leave")) return true;
    }
    if (here == errand.place && !errand.buttons.empty()) return false;
    const std::optional<ItemBox> place = p.Find("location", errand.place);
    if (!place) {
        stuck = "cannot see the place \"" + errand.place + "\" (" + errand.why + ")";
        return false;
    }
    // A place outside the view: drag the map until it is in.
    const float dx = place->CentreX() - SCREEN_WIDTH * 0.5f, dy = place->CentreY() - SCREEN_HEIGHT * 0.5f;
    if (!OnScreen(*place)) {
        p.DragBy(-std::clamp(dx, -SCREEN_WIDTH * 0.3f, SCREEN_WIDTH * 0.3f),
                 -std::clamp(dy, -SCREEN_HEIGHT * 0.3f, SCREEN_HEIGHT * 0.3f));
        return true;
    }
    p.Click(*place);
    stuck.clear();
    walking = 600;
    return true;
}

bool Walkthrough::PlayUntil(const std::function<bool()>& reached, int maxFrames) {
    const int start = p.frames;
    stuck.clear();
    while (!reached()) {
        if (p.frames - start >= maxFrames) {
            if (stuck.empty()) stuck = "still on screen \"" + p.ScreenName() + "\" doing: " + errand.why;
            stuck += "; last clicks:" + p.RecentClicks() + "\n on screen:";
            for (int i = 0; GUIList::currentList && i < GUIList::currentList->Size(); ++i) {
                const GUIItem* item = GUIList::currentList->Get2(i);
                stuck += " " + std::string(item->removing ? "~" : "") + (item->active ? "" : "!") + item->id + "/" + item->name;
            }
            stuck += " | queued:";
            for (int i = 0; i < GUIList::addQueue.Size(); ++i) stuck += " " + GUIList::addQueue.Get2(i)->id;
            stuck += " | layers " + std::to_string(GUIList::layers.size()) + " blocked " + std::to_string(GUIList::inputBlocked);
            return false;
        }
        const int before = p.frames;
        Turn();
        if (!p.Running() || (p.frames == before && !p.Step())) {
            stuck = "the program ended: " + p.LastReport() + "; last clicks:" + p.RecentClicks();
            return false;
        }
    }
    return true;
}

}  // namespace harness
