// The model's start-up registration: Data and Profile take their places in the game's start-up
// and life cycle, the level rules reach the profile store, and the statistics upload hears of
// start-up, saves and the frame's poll.
#include "model/wiring.hpp"

#include "framework/main.hpp"
#include "model/actionrefs.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/postdata.hpp"
#include "model/powers.hpp"
#include "model/profile.hpp"

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
    gameHooks.initGlobals.Add(Powers::InitGlobals);
    gameHooks.initGlobals.Add(Actions::InitGlobals);

    // In start-up order; Trophies.Init comes between the profile and the resolution.
    gameHooks.beforeGraphics.Add(Data::Init);
    gameHooks.beforeGraphics.Add(Profile::Load);
    // Before the resolution step, which asks for an id: the server's address must be known.
    gameHooks.beforeGraphics.Add([] { postData->ReadServerAddress(); });
    gameHooks.beforeGraphics.Add(Data::SetResolutionRatio);
    gameHooks.graphicsMode.Add(ModelGraphicsMode);
    gameHooks.loadTables.Add(TableStep::kPowers, Powers::Init);

    gameHooks.loadTables.Add(TableStep::kActions, Actions::Init);
    ActionReferences::RegisterModelLookups();

    gameHooks.onResume.Add(Data::ResetUpdate);
    gameHooks.onBack.Add([] { Data::backPressed = 1; });
    gameHooks.onClose.Add([] { Profile::Save(0); });

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
