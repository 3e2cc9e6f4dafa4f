// The model's start-up registration: Data and Profile take their places in the game's start-up
// and life cycle, and the level rules reach the profile store.
#include "model/wiring.hpp"

#include "framework/main.hpp"
#include "model/data2.hpp"
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
    gameHooks.initGlobals.Add(Powers::InitGlobals);

    // In start-up order; Trophies.Init comes between the profile and the resolution.
    gameHooks.beforeGraphics.Add(Data::Init);
    gameHooks.beforeGraphics.Add(Profile::Load);
    gameHooks.beforeGraphics.Add(Data::SetResolutionRatio);
    gameHooks.graphicsMode.Add(ModelGraphicsMode);
    gameHooks.loadTables.Add(TableStep::kPowers, Powers::Init);

    gameHooks.onResume.Add(Data::ResetUpdate);
    gameHooks.onBack.Add([] { Data::backPressed = 1; });
    gameHooks.onClose.Add([] { Profile::Save(0); });

    Profile::services.getLevel = Data::GetLevel;
    Profile::services.getReputationLevel = Data::GetReputationLevel;
}

void WireModel() {
    RegisterModel();
}
