// The game's wiring: every layer's start-up steps in the game's order, however often it is wired.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/glyphfont.hpp"
#include "framework/main.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "tests/support/harness.hpp"

using harness::Harness;

namespace {

std::vector<std::string> loaded;

TEST(Wiring, TablesLoadInTheirSlotsAfterTheDefaultFontAndWiringTwiceAddsNothing) {
    WireGame();
    const int initSteps = gameHooks.initGlobals.Size();
    const int releaseSteps = gameHooks.endPlay.Size() + gameHooks.releaseGlobals.Size();
    const int closeSteps = gameHooks.onClose.Size();
    WireGame();
    EXPECT_EQ(gameHooks.initGlobals.Size(), initSteps);
    EXPECT_EQ(gameHooks.endPlay.Size() + gameHooks.releaseGlobals.Size(), releaseSteps);
    EXPECT_EQ(gameHooks.onClose.Size(), closeSteps);

    // Layers register in their own order; the tables still load in the game's.
    loaded.clear();
    auto note = [](const char* table) {
        // The profile is read and the default font is in place before any table loads.
        loaded.push_back(std::string(table) + (Fonts::Get("n") != nullptr ? "" : " without font") +
                         (Profile::GetGlobalFlag("Widescreen") != nullptr ? "" : " without profile"));
    };
    gameHooks.loadTables.Add(TableStep::kUpgrades, [note] { note("upgrades"); });
    gameHooks.loadTables.Add(TableStep::kDialogues, [note] { note("dialogues"); });
    gameHooks.loadTables.Add(TableStep::kNodes, [note] { note("nodes"); });
    gameHooks.loadTables.Add(TableStep::kQuests, [note] { note("quests"); });
    {
        Harness h;
        ASSERT_TRUE(h.Start());
        EXPECT_EQ(loaded, (std::vector<std::string>{"nodes", "quests", "dialogues", "upgrades"}));
        EXPECT_EQ(briskGame->currentScreen->name, "blank");
    }
    gameHooks.loadTables.Clear();
}

}  // namespace
