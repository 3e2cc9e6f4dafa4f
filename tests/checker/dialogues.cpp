// The ids that dialogue steps name: the quests, upgrades and places of their conditions and of
// the flags they set. (Jumps to unknown labels and unknown steps are told by the game's loader.)
#include "gui/dialogues.hpp"

#include <string>

#include "model/actionrefs.hpp"
#include "tests/checker/checker.hpp"

namespace checker {

// Reports go out through the game's own report lines, which the checker gathers.
void CheckDialogueSteps(std::vector<std::string>& /*out*/) {
    for (const auto& dialogue : DialogueList::dialogues) {
        int number = 0;
        for (const DialogueElement& step : dialogue->elements) {
            ++number;
            const std::string where =
                "dialogue \"" + dialogue->id + "\" step " + std::to_string(number) + " <" + step.type + ">";
            ActionReferences::CheckConditions(dialogue->file, where, step.conditions.get());
            if (step.type == "flag") ActionReferences::CheckFlagName(dialogue->file, where, step.text);
        }
    }
}

}  // namespace checker
