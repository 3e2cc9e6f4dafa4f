// The cutscene screen.
#include "screens/cutscene.hpp"

#include "gui/animation.hpp"
#include "platform/graphics.hpp"
#include "screens/interlude.hpp"

CutsceneScreen::CutsceneScreen(const std::string& animationId, const std::string& next)
    : GameScreen("Cutscene"), anim(animationId), nxt(next) {}

void CutsceneScreen::Start() {
    StartGui();
    GUIList::AddLast(GUIAnimation::GUIAnimation_new(anim, 1));
}

void CutsceneScreen::Update2() {
    UpdateGui();
    if (stopped || GUIList::Get(anim, "") != nullptr) return;
    stopped = 1;
    if (nxt == "map") InterludeExits::LeaveForGameLoading(35);
}

void CutsceneScreen::Render() {
    platform::Cls(0, 0, 0);
    RenderGui();
}
