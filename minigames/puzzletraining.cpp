// The training game: its set-up from the action, its panel of moves and attribute lines, the
// moves counted down and what a training pays.
#include "minigames/puzzletraining.hpp"

#include <string>
#include <vector>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/text.hpp"
#include "minigames/board.hpp"
#include "model/actions.hpp"
#include "model/board.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"

namespace {

constexpr int kPanelWidth = 256;
// Text palette entries 2 and 4: raised and lowered attributes.
constexpr int kRaisedColour = 0xC0C0FF;
constexpr int kLoweredColour = 0xFFC0C0;

const GUIPuzzleGame::Kind& TrainingKind() {
    static const GUIPuzzleGame::Kind kind{10, "Game.TutorialTraining", "intro_training",
                                          "Collect power cubes!", "Good job!"};
    return kind;
}

// Hands the action's reward items to the actor, whose board deals tiles for exactly these.
void OfferTiles(PuzzleActor& actor, const FlagList* list) {
    if (!list) return;
    for (FlagItem* item : *list) {
        if (item) actor.flags.Add(item);
    }
}

}  // namespace

GUIPuzzleTraining::GUIPuzzleTraining(const ActionItemTraining* training)
    : GUIPuzzleGame(TrainingKind(), training ? training->bg : std::string()) {
    Profile::SetFlagInt("Game.Fail", 0);
    moves.value = static_cast<float>(training ? training->moves : TrainingRules::kDefaultMoves);
    if (training) {
        OfferTiles(*player, training->positive.get());
        OfferTiles(*player, training->negative.get());
        positive = LinesOf(training->positive.get());
        negative = LinesOf(training->negative.get());
        for (const RewardLines* list : {&positive, &negative}) {
            for (const RewardLine& entry : *list) {
                if (!TrainingRules::IsAttribute(entry.name))
                    platform::PrintLine("A training offers \"" + entry.name +
                                        "\", which no tile can carry; it is neither shown nor paid");
            }
        }
    }
    success = 1;
    wait = 500;
    FadeIn(1.0f, 1);
}

void GUIPuzzleTraining::ClearOutcome() {
    Profile::SetFlagString("Game.Fail", "");
}

void GUIPuzzleTraining::SetOutcome() {
    if (success == 0)
        Profile::SetFlagInt("Game.Fail", 1);
    else
        Profile::AddFlagInt("Game.TrainingCount", 1);
}

bool GUIPuzzleTraining::Decided() {
    if (moves.value > 0) return false;
    return true;
}

void GUIPuzzleTraining::Moved() {
    moves.value -= 1;
}

void GUIPuzzleTraining::InitPopup() {
    AddBoard(BoardRules::kTraining);

    GUIContainer* panel = GUIContainer::Create(0, 0);
    panel->id = "gamepopup";
    panel->name = "container";
    panel->w = kPanelWidth;
    panel->h = 8;

    float y = 8;
    GUIText* count = GUIText::Create(0, y, "Moves: " + std::to_string(TruncToInt(moves.value)),
                                     Fonts::Get("ob"), 0xFFFFFF);
    count->SetPrefix("Moves: ");
    count->SetVariable(&moves);
    panel->AddLast20(count);
    y += static_cast<float>(count->h) + 16;

    std::vector<std::string> listed;
    const auto addLines = [&](const RewardLines& entries, const char* sign, int colour) {
        int added = 0;
        for (const RewardLine& entry : entries) {
            if (!TrainingRules::IsAttribute(entry.name)) continue;
            bool seen = false;
            for (const std::string& name : listed) seen = seen || name == entry.name;
            if (seen) continue;
            listed.push_back(entry.name);
            const std::string label = TrainingRules::Label(entry.name) + ": " + sign;
            GUIText* line = GUIText::Create(0, y, label + "0", Fonts::Get("os"), colour);
            line->SetPrefix(label);
            line->SetVariable(
                &player->values[static_cast<size_t>(TrainingRules::AttributeToValue(entry.name))]);
            panel->AddLast20(line);
            y += static_cast<float>(line->h);
            ++added;
        }
        return added;
    };
    if (addLines(positive, "+", kRaisedColour) > 0) y += 8;
    addLines(negative, "", kLoweredColour);
    panel->h = static_cast<int>(y) + 8;

    AddPanel(panel);
}

void GUIPuzzleTraining::InitResult() {
    const RewardLines lines = TrainingRules::Rewards(*player, positive, negative, Profile::GetFlagInt);
    PayResult("Great work!", "Training summary:", lines, 0);
}
