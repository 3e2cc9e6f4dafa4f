// The screens the layout check visits, reached the way a player reaches them (the title's buttons)
// or, deeper in the story, by giving the hero the flags of that moment and starting the screen the
// game itself would start.
#include <memory>
#include <set>
#include <string>

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "framework/main.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "model/trophies.hpp"
#include "screens/act.hpp"
#include "screens/cutscene.hpp"
#include "screens/endgame.hpp"
#include "tests/checker/layout.hpp"
#include "tests/checker/layout_visit.hpp"
#include "tests/support/player.hpp"

namespace layout {

namespace {

constexpr int kEscape = 27;

// The save the title finds: a veteran in the middle slot with the longest name and rank a hero can
// have, at the epilogue; the first slot is free for a new hero.
std::string VeteranState(bool wide) {
    InitGlobals();
    Profile::InitGlobal();
    Profile::SetGlobalFlagInt("Fullscreen", 0);
    Profile::SetGlobalFlagInt("Widescreen", wide ? 1 : 0);
    Profile::slotFlags = Profile::saveData->Profiles.Get2(1);
    Profile::SetFlagString("Name", "Captain Wonderful");
    Profile::SetFlagInt("TimePlayed", 50);
    Profile::SetFlagInt("Flag.Act", 6);
    Profile::SetFlagInt("Level.Resource.Reputation", 10);  // "Caped Crusader"
    Profile::slotFlags = Profile::saveData->Profiles.Get2(2);
    Profile::SetFlagString("Name", "Rook");
    Profile::SetFlagInt("TimePlayed", 3725);
    Profile::SetFlagInt("Flag.Act", 1);
    const std::string state = Profile::saveData->ToString();
    InitGlobals();
    return state;
}

bool TitleAtRest(harness::Player& p) {
    return p.WaitUntil(
        [] {
            const GUIItem* exit = GUIList::Get("button", "exit");
            return exit != nullptr && exit->alpha.value == 1.0f && GUIList::Get("options", "") == nullptr &&
                   GUIList::Get("select", "") == nullptr;
        },
        600);
}

void Leave(Visit& v, harness::Player& p) {
    p.PressKey(kEscape);
    if (!TitleAtRest(p)) v.Lost("the title after escape");
}

void VisitTitle(Visit& v, harness::Player& p) {
    v.Look("title");
    if (!p.Click("button", "play") || !p.WaitUntil([] { return GUIList::Get("select", "") != nullptr; }, 60))
        return v.Lost("the hero slots");
    p.Step(40);
    v.Look("slots");
    const auto empty = p.Find("character", "character");
    if (!empty) return v.Lost("the free slot");
    p.Click(*empty);
    if (!p.WaitUntil([] { return GUIList::Get("character", "") != nullptr; }, 60)) return v.Lost("creation");
    p.Step(40);
    v.Look("creation");
    p.PressKey(kEscape);
    p.Step(30);
    p.PressKey(kEscape);
    if (!TitleAtRest(p)) return v.Lost("the title after the slots");

    if (!p.Click("button", "options") || !p.WaitUntil([] { return GUIList::Get("options", "") != nullptr; }, 60))
        return v.Lost("options");
    p.Step(40);
    v.Look("options");
    Leave(v, p);

    // The trophies, first all locked, then all earned.
    for (int earned = 0; earned < 2; ++earned) {
        for (const auto& trophy : Trophies::trophies) Profile::SetGlobalFlagInt(trophy->flagKey, earned);
        if (!p.Click("button", "trophies") || !p.WaitUntil([] { return GUIList::Get("options", "") != nullptr; }, 60))
            return v.Lost("trophies");
        p.Step(40);
        v.Look(earned ? "trophies earned" : "trophies locked");
        Leave(v, p);
    }
}

void VisitIntro(Visit& v, harness::Player& p) {
    CutsceneScreen::CutsceneScreen_new(Data::virtualWidth > 800 ? "intro_1_wide" : "intro_1", "map")->PreStart();
    for (int moment = 1; moment <= 4; ++moment) {
        p.Step(100);
        const std::string name = "intro, moment " + std::to_string(moment);
        if (!v.Await(
                name, [&p] { return p.ScreenName() == "Cutscene"; }, 0))
            return;
        // A caption types some fifty letters a second.
        v.Look(name, false, 300);
    }
}

void VisitActCards(Visit& v, harness::Player& p) {
    for (int act = 1; act <= 6; ++act) {
        Profile::SetFlagInt("Flag.ActShow", act - 1);
        ActScreen::ActScreen_new()->PreStart();
        std::string title, subtitle;
        ActScreen::CardFor(act, title, subtitle);
        const std::string name = act == 6 ? "epilogue card" : "act card " + std::to_string(act);
        const auto up = [&title] {
            const auto* card = dynamic_cast<const ActScreen*>(briskGame->currentScreen.get());
            return card != nullptr && !title.empty() && card->title == title;
        };
        if (!v.Await(name, up, 60)) continue;
        p.Step(40);
        v.Look(name);
    }
}

// A line of the credits as the roll shows it, its words on one line.
std::string OneLine(const std::string& text) {
    std::string line;
    for (const std::string& part : Data::SplitLines(text)) line += (line.empty() ? "" : " ") + part;
    return line;
}

// The lines of the roll wholly on the screen now.
void NoteCreditsInSight(std::set<std::string>& seen) {
    if (!GUIList::currentList) return;
    for (int i = 0; i < GUIList::currentList->Size(); ++i) {
        const auto* holder = dynamic_cast<const GUIContainer*>(GUIList::currentList->Get2(i));
        if (holder == nullptr || holder->id != "credits") continue;
        for (const GUIItem* child : holder->items) {
            const auto* words = dynamic_cast<const GUIText*>(child);
            const float top = holder->y + (words ? words->y : 0);
            if (words != nullptr && top >= 0 && top + static_cast<float>(words->h) <= Data::virtualHeight)
                seen.insert(OneLine(words->text));
        }
    }
}

void VisitEnd(Visit& v, harness::Player& p) {
    Profile::SetFlagInt("Game.Sidekick", 1);
    Profile::SetFlagInt("Villain.Henchman", 1);
    Profile::SetFlagInt("Level.Attribute.Strength", 12);
    Profile::SetFlagInt("Date.Month", 3);
    auto end = EndGameScreen::EndGameScreen_new();
    end->PreStart();
    v.Hurry(true);
    const auto click = [&] {
        p.ClickAt(static_cast<float>(Data::virtualWidth) * 0.5f, 590);
        p.Step(40);
    };
    const auto page = [&](int state) {
        return [&end, state] { return end->state == state && GUIList::Get("result", "") != nullptr; };
    };
    p.Step(60);
    if (v.Await("ending, first page", page(1), 0)) v.Look("ending, first page");
    click();
    p.Step(20);
    if (v.Await("ending, second page", page(3), 0)) v.Look("ending, second page");
    click();
    p.Step(380);  // the score counts up
    if (v.Await("hero score", page(5), 0)) v.Look("hero score");
    click();
    p.Step(80);
    if (v.Await(
            "thanks note", [&end] { return end->text != nullptr; }, 0))
        v.Look("thanks note");
    // A click shows the note whole, the next closes it; one more would end the credits.
    for (int clicks = 0; clicks < 3 && end->text; ++clicks) click();
    if (!v.Await(
            "the credits", [&end] { return end->state == 7; }, 600))
        return;
    // Every line of the roll, each seen wholly on the screen at least once on its way up: the roll
    // is looked at until its last line has gone.
    std::set<std::string> seen;
    for (int moment = 1; moment <= 40 && (end->state == 7 || GUIList::Get("credits", "") != nullptr);
         ++moment) {
        p.Step(110);
        v.Look("credits, moment " + std::to_string(moment), true);
        NoteCreditsInSight(seen);
    }
    for (const std::string& line : end->credits) {
        const std::string shown = OneLine(line.size() >= 2 && line[0] == '@' ? line.substr(2) : line);
        if (!shown.empty() && seen.count(shown) == 0) v.Lost("the credits' line \"" + shown + "\"");
    }
    v.Hurry(false);
}

}  // namespace

bool OpenTitle(Visit& v) {
    harness::Harness& h = v.Game();
    h.WriteState(VeteranState(v.Wide()));
    h.OpenAsPlayed();
    if (!v.Start()) return false;
    harness::Player p(h);
    if (!p.WaitUntil([&] { return p.ScreenName() == "Title"; }, 2000) || !TitleAtRest(p)) {
        v.Lost("the title");
        return false;
    }
    return true;
}

void VisitOwnScreens(Visit& v) {
    if (!OpenTitle(v)) return;
    harness::Player p(v.Game());
    VisitTitle(v, p);

    Profile::currentSlot = 1;
    Profile::slotFlags = Profile::saveData->Profiles.Get2(1);
    Profile::SetFlagString("CharacterPortrait", "HeroMale1");
    VisitIntro(v, p);
    VisitActCards(v, p);
    VisitEnd(v, p);
}

}  // namespace layout
