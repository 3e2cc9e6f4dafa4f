// The GUI's start-up registration: its globals and widget pools, the particle pool among the data
// tables, and the frame state's mouse trail drawn as dots.
#include "gui/wiring.hpp"

#include "framework/framework.hpp"
#include "framework/main.hpp"
#include "gui/actioncallback.hpp"
#include "gui/animations.hpp"
#include "gui/audio2.hpp"
#include "gui/button.hpp"
#include "gui/checkbox.hpp"
#include "gui/click.hpp"
#include "gui/container.hpp"
#include "gui/containerbutton.hpp"
#include "gui/dialogues.hpp"
#include "gui/gui2.hpp"
#include "gui/hero.hpp"
#include "gui/image.hpp"
#include "gui/meterattribute.hpp"
#include "gui/meterglobe.hpp"
#include "gui/meterhealth.hpp"
#include "gui/particle.hpp"
#include "gui/particledot.hpp"
#include "gui/particles.hpp"
#include "gui/primitive.hpp"
#include "gui/questpopup.hpp"
#include "gui/slider.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "gui/trophypopup.hpp"
#include "model/actionrefs.hpp"
#include "model/data2.hpp"

namespace {

// Every table has loaded once the upgrades have (the last of them, and a model table, so its step
// was added before this one): now the ids the actions name can be looked up.
void CheckActionReferences() {
    ActionReferences::CheckAll();
    DialogueList::CheckReferences();
}

// The item list first: it points into the pools that are made after it.
void InitGuiGlobals() {
    GUIList::InitGlobals();
    Audio::InitGlobals();
    GUIParticleDot::InitGlobals();
    GUIParticle::pool = std::make_unique<GUIPool<GUIParticle>>(25, "GUIParticle");
    GUIContainer::pool = std::make_unique<GUIPool<GUIContainer>>(32, "GUIContainer");
    GUIText::pool = std::make_unique<GUIPool<GUIText>>(64, "GUIText");
    GUIImage::pool = std::make_unique<GUIPool<GUIImage>>(50, "GUIImage");
    GUIMeterAttribute::pool = std::make_unique<GUIPool<GUIMeterAttribute>>(20, "GUIMeterAttribute");
    GUIClickButton::pool = std::make_unique<GUIPool<GUIClickButton>>(4, "GUIClickButton");
    GUITextButton::pool = std::make_unique<GUIPool<GUITextButton>>(40, "GUITextButton");
    GUIButton::pool = std::make_unique<GUIPool<GUIButton>>(40, "GUIButton");
    GUIHero::pool = std::make_unique<GUIPool<GUIHero>>(2, "GUIHero");
    GUIPrimitive::pool = std::make_unique<GUIPool<GUIPrimitive>>(10, "GUIPrimitive");
    GUIContainerButton::pool = std::make_unique<GUIPool<GUIContainerButton>>(25, "GUIContainerButton");
    GUISlider::pool = std::make_unique<GUIPool<GUISlider>>(2, "GUISlider");
    GUICheckbox::pool = std::make_unique<GUIPool<GUICheckbox>>(5, "GUICheckbox");
    GUICheckbox::checkArmed = 0;
    GUIMeterHealth::pool = std::make_unique<GUIPool<GUIMeterHealth>>(2, "GUIMeterHealth");
    GUIMeterGlobe::pool = std::make_unique<GUIPool<GUIMeterGlobe>>(6, "GUIMeterGlobe");
}

// The widget pools go in the reverse of the order they were made. Their items have given back
// what they hold already (the item list, first of all at the end); a widget still handed out goes
// with its pool.
void ReleaseGuiGlobals() {
    GUIMeterGlobe::pool.reset();
    GUIMeterHealth::pool.reset();
    GUICheckbox::pool.reset();
    GUISlider::pool.reset();
    GUIContainerButton::pool.reset();
    GUIPrimitive::pool.reset();
    GUIHero::pool.reset();
    GUIButton::pool.reset();
    GUITextButton::pool.reset();
    GUIClickButton::pool.reset();
    GUIMeterAttribute::pool.reset();
    GUIImage::pool.reset();
    GUIText::pool.reset();
    GUIContainer::pool.reset();
    GUIParticle::pool.reset();
}

// A dot of the mouse trail. On the map it is bound to the map and placed in map space, so it stays
// where it was dropped while the map scrolls.
void TrailDot(int x, int y, float size, int colour, float drag) {
    ParticleDotData* dot = GUIParticleDot::Create(x, y, size, colour, 90, 1.0f, drag, 0);
    if (briskGame && briskGame->currentScreen && UpperKey(briskGame->currentScreen->name) == "MAP") {
        if (auto* map = dynamic_cast<ParticleMap*>(briskGame->currentScreen.get())) {
            dot->map = map;
            dot->x += map->MapXP();
            dot->y += map->MapYP();
        }
    }
    dot->FadeOut(1000, 1);
}

}  // namespace

void RegisterGui() {
    gameHooks.endPlay.Add(GUIList::ReleaseAll);
    gameHooks.releaseGlobals.Add(ReleaseGuiGlobals);
    gameHooks.initGlobals.Add(InitGuiGlobals);
    gameHooks.loadTables.Add(TableStep::kParticles, Particles::Init);
    Data::hooks.trailDot.Add(TrailDot);
    gameHooks.initGlobals.Add(DialogueList::InitGlobals);
    gameHooks.initGlobals.Add(AnimationList::InitGlobals);
    gameHooks.loadTables.Add(TableStep::kDialogues, DialogueList::Init);
    gameHooks.loadTables.Add(TableStep::kAnimations, AnimationList::Init);
    gameHooks.loadTables.Add(TableStep::kUpgrades, CheckActionReferences);
    RegisterActionScreens();
    RegisterQuestViews();
    RegisterTrophyViews();
}
