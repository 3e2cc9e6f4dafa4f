// The ids the program looks up by name in the data: action places, dialogues, cutscenes and the
// quests whose progress the map and the base read. (The hero's fifteen attacks and the base's
// upgrade lines are checked by the game itself while it loads them.)
#include <string>

#include "gui/animations.hpp"
#include "gui/dialogues.hpp"
#include "model/actions.hpp"
#include "model/quests.hpp"
#include "tests/checker/checker.hpp"

namespace checker {

void CheckNamedIds(std::vector<std::string>& out) {
    // The shared handlers, then one place per act, each expected in its own file.
    const std::pair<const char*, const char*> places[] = {
        {"City", "data/actions.xml"},   {"City-Act1", "data/act1.xml"}, {"City-Act2", "data/act2.xml"},
        {"City-Act3", "data/act3.xml"}, {"City-Act4", "data/act4.xml"}, {"City-Act5", "data/act5.xml"},
        {"City-Act6", "data/act6.xml"}};
    for (const auto& [place, file] : places) {
        bool found = false;
        for (const auto& location : Actions::actionLocations) found = found || location->id == place;
        if (!found)
            out.push_back(std::string(file) + ": no <location id=\"" + place + "\"> in any action file");
    }
    for (const char* id :
         {"random_resource", "battle_no_powers", "intro_job", "intro_training", "intro_dungeon"}) {
        if (DialogueList::Get(id) == nullptr)
            out.push_back("dialogue files: no dialogue \"" + std::string(id) + "\"");
    }
    for (const char* id : {"intro_1", "intro_1_wide", "intro_1_portrait"}) {
        if (AnimationList::Get(id) == nullptr) {
            out.push_back("animations/main.xml: no animation \"" + std::string(id) + "\"");
        }
    }
    for (const char* id : {"Easy Money", "Zero to Wannabe", "Raise the Alarm"}) {
        bool found = false;
        for (const auto& quest : Quests::allQuests) found = found || quest->id == id;
        if (!found) out.push_back(std::string(Quests::kFile) + ": no quest \"" + id + "\"");
    }
}

}  // namespace checker
