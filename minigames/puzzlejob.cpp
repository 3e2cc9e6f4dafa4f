// The job game: its set-up from the action, its panel of bonus bar and meters, the clock, the
// win and what a job pays.
#include "minigames/puzzlejob.hpp"

#include "core/glyphfont.hpp"
#include "core/strings.hpp"
#include "framework/framework.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/image.hpp"
#include "gui/meterglobe.hpp"
#include "gui/meterhealth.hpp"
#include "gui/text.hpp"
#include "minigames/board.hpp"
#include "model/actions.hpp"
#include "model/board.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"

namespace {

constexpr int kPanelWidth = 206;
// The glass of a globe is 72 wide and starts 7 into its 86-wide picture: the three globes stand a
// glass apart (closer, the stepped row would overlap) and the row of glasses is centred.
constexpr int kGlassWidth = 72;
constexpr int kGlassLeft = 7;
// The first entry of the text palette: the "Bonus:" caption.
constexpr int kBonusColour = 0xFFFF80;

const GUIPuzzleGame::Kind& JobKind() {
    static const GUIPuzzleGame::Kind kind{6, "Game.TutorialJob", "intro_job", "Fill up the meters!",
                                          "You did it!"};
    return kind;
}

JobRules RulesOf(const ActionItemJob* job) {
    if (!job) return JobRules();
    return JobRules(job->time, job->money, {job->targets[0], job->targets[1], job->targets[2]});
}

}  // namespace

GUIPuzzleJob::GUIPuzzleJob(const ActionItemJob* job)
    : GUIPuzzleGame(JobKind(), job ? job->bg : std::string()), rules(RulesOf(job)) {
    Profile::SetFlagString("Game.JobFail", "");
    Profile::SetFlagString("Game.JobWin", "");
    if (job) {
        positive = LinesOf(job->positive.get());
        negative = LinesOf(job->negative.get());
    }
    bonusmoney.value = rules.Bonus();
    success = 1;
    wait = 500;
    FadeIn(1.0f, 1);
}

void GUIPuzzleJob::ClearOutcome() {
    Profile::SetFlagString("Game.JobWin", "");
    Profile::SetFlagString("Game.JobFail", "");
}

void GUIPuzzleJob::SetOutcome() {
    if (success == 0) {
        Profile::SetFlagInt("Game.JobFail", 1);
    } else {
        Profile::SetFlagInt("Game.JobWin", 1);
        Profile::AddFlagInt("Game.JobCount", 1);
    }
}

void GUIPuzzleJob::Play() {
    if (rules.time > 0 && !done) {
        rules.Tick(Data::frameMs);
        bonusmoney.value = rules.Bonus();
    }
    // Mental, elemental, physical: the charge slots in the other order.
    if (meters[0]) meters[0]->SetValue(player->values[kTileMental].value);
    if (meters[1]) meters[1]->SetValue(player->values[kTileElemental].value);
    if (meters[2]) meters[2]->SetValue(player->values[kTilePhysical].value);
}

bool GUIPuzzleJob::Decided() {
    return board && rules.Filled(*player);
}

void GUIPuzzleJob::InitPopup() {
    AddBoard(BoardRules::kJob);

    GUIContainer* panel = GUIContainer::Create(0, 0);
    panel->id = "gamepopup";
    panel->name = "container";
    panel->w = kPanelWidth;
    const auto centred = [](int width) {
        return static_cast<float>(TruncToInt((kPanelWidth - width) * 0.5));
    };

    GUIText* caption = GUIText::Create(0, 12, "Bonus:", Fonts::Get("os"), kBonusColour);
    caption->x = centred(caption->w);
    panel->AddLast20(caption);

    GUIMeterHealth* bar = GUIMeterHealth::Create(0, caption->y + static_cast<float>(caption->h) + 4,
                                                 &bonusmoney, rules.maxMoney, "TimeBar");
    bar->prefix.assign(1, '$');
    bar->x = centred(bar->w);
    panel->AddLast20(bar);

    GUIImage* clock = GUIImage::Create(0, 0, "Clock", 0);
    clock->x = bar->x - 4 - static_cast<float>(clock->w / 2);
    clock->y = bar->y + static_cast<float>(bar->h) * 0.5f - 2 - static_cast<float>(clock->h / 2);
    panel->AddLast20(clock);

    float meterX = static_cast<float>((kPanelWidth - 3 * kGlassWidth) / 2 - kGlassLeft);
    float meterY = bar->y + static_cast<float>(bar->h) + 8;
    for (int i = 0; i < 3; ++i) {
        GUIMeterGlobe* meter =
            GUIMeterGlobe::Create(meterX, meterY, i, "", rules.targets[static_cast<size_t>(i)]);
        // Every meter starts empty, not at its target.
        meter->SetValue(0);
        meter->var.value = 0;
        meter->destVar = 0;
        meter->SetText(CharThenNumber('/', rules.targets[static_cast<size_t>(i)]));
        panel->AddLast20(meter);
        meters[static_cast<size_t>(i)] = meter;
        // A globe left of the panel's edge widens the panel leftwards and moves what it holds.
        meterX = meter->x + kGlassWidth;
        meterY += 12;
    }

    const GUIMeterGlobe* last = meters[2];
    GUIImage* icon = GUIImage::Create(48, last->y + static_cast<float>(last->h) + 4, "Icons02", 3);
    panel->AddLast20(icon);
    GUIText* money = GUIText::Create(0, 0, "$000", Fonts::Get("on"), 0xFFFFFF);
    money->x = icon->x + static_cast<float>(icon->w);
    money->y = icon->y + static_cast<float>((icon->h - money->h) / 2);
    money->SetPrefix("$");
    money->SetVariable(&player->values[kTileMoney]);
    panel->AddLast20(money);

    AddPanel(panel);
}

void GUIPuzzleJob::InitResult() {
    const float fraction = rules.Fraction();
    const RewardLines lines = JobRules::Rewards(*player, fraction, positive, negative, Profile::GetFlagInt);
    PayResult("Great work!", "Job summary:", lines, TruncToInt(bonusmoney.value));
}
