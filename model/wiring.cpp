// The model's start-up registration: Data, Profile and the model's data tables (city graph,
// locations, quests, trophies, upgrades) take their places in the game's start-up and life cycle,
// the level rules reach the profile store, and the statistics upload hears of start-up, saves and
// the frame's poll.
#include "model/wiring.hpp"

#include "framework/main.hpp"
#include "model/actionrefs.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/locations.hpp"
#include "model/nodes.hpp"
#include "model/postdata.hpp"
#include "model/powers.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "model/trophies.hpp"
#include "model/upgrades.hpp"

namespace {

void ModelGraphicsMode(int& width, int& height, int& fullscreen) {
    width = Data::virtualWidth;
    height = Data::virtualHeight;
    fullscreen = Profile::GetGlobalFlagInt("Fullscreen") == 1 ? 1 : 0;
}

}  // namespace

void RegisterModel() {
    gameHooks.initGlobals.Add(InitProfileGlobals);
    gameHooks.initGlobals.Add(Data::InitGlobals);
    gameHooks.initGlobals.Add(InitPostDataGlobals);
    gameHooks.initGlobals.Add(Nodes::InitGlobals);
    gameHooks.initGlobals.Add(Locations::InitGlobals);
    gameHooks.initGlobals.Add(Powers::InitGlobals);
    gameHooks.initGlobals.Add(Actions::InitGlobals);
    gameHooks.initGlobals.Add(Quests::InitGlobals);
    gameHooks.initGlobals.Add(Trophies::InitGlobals);
    gameHooks.initGlobals.Add(Upgrades::InitGlobals);

    // In start-up order. The resolution step rebuilds the trophies still to earn, so they load
    // before it and after the profile that says which are earned.
    gameHooks.beforeGraphics.Add(Data::Init);
    gameHooks.beforeGraphics.Add(Profile::Load);
    gameHooks.beforeGraphics.Add(Trophies::Init);
    // Before the resolution step, which asks for an id: the server's address must be known.
    gameHooks.beforeGraphics.Add([] { postData->ReadServerAddress(); });
    gameHooks.beforeGraphics.Add(Data::SetResolutionRatio);
    Data::hooks.clearTrophies.Add(Trophies::Clear);

    gameHooks.loadTables.Add(TableStep::kNodes, Nodes::Init);
    gameHooks.loadTables.Add(TableStep::kLocations, Locations::Init);
    gameHooks.loadTables.Add(TableStep::kPowers, Powers::Init);
    gameHooks.loadTables.Add(TableStep::kActions, Actions::Init);
    gameHooks.loadTables.Add(TableStep::kQuests, Quests::Init);
    gameHooks.loadTables.Add(TableStep::kUpgrades, Upgrades::Init);
    ActionReferences::RegisterModelLookups();
    gameHooks.graphicsMode.Add(ModelGraphicsMode);

    gameHooks.onResume.Add(Data::ResetUpdate);
    gameHooks.onBack.Add([] { Data::backPressed = 1; });
    gameHooks.onClose.Add([] {
        // As when the map is left for the title: a question still open is asked again next time.
        Actions::ReleasePendingAnswers();
        Profile::Save(0);
    });

    Profile::services.getLevel = Data::GetLevel;
    Profile::services.getReputationLevel = Data::GetReputationLevel;

    Data::hooks.requestStatisticsId.Add([] {
        if (postData) postData->GetID();
    });
    Profile::services.postUpdate.Add([](const std::string& act, const std::string& time,
                                        const std::string& strength, const std::string& essence,
                                        const std::string& intelligence, const std::string& money,
                                        const std::string& reputation) {
        if (postData) postData->Update4(act, time, strength, essence, intelligence, money, reputation);
    });
    gameHooks.pollAsync.Add([] {
        if (postData) postData->CheckTimeouts();
    });
}

void WireModel() {
    RegisterModel();
}
