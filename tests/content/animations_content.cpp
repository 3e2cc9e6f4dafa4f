// The baked cutscenes and effect scripts as the game reads them: every power finds a script of its
// kind, scripts touch only pictures that exist and objects on stage, and every effect puts both
// fighters back where they stood.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "gui/animations.hpp"
#include "model/powers.hpp"
#include "platform/storage.hpp"
#include "tests/content/content_check.hpp"

namespace {

std::set<std::string> Tags(const AnimationItem& item) {
    std::set<std::string> tags;
    for (const AnimationElement& e : item.elements) tags.insert(e.type);
    return tags;
}

// Every step naming an object names one on stage, every picture exists, nothing stays behind.
void ExpectObjectsOnStage(const AnimationItem& item) {
    std::set<std::string> onStage;
    for (const AnimationElement& e : item.elements) {
        const std::string& who = e.type == "fx" ? e.item : e.id;
        if (e.type == "enter") {
            onStage.insert(e.id);
            const std::string file = std::string(BRISK_DATA_ROOT) + "/data/graphics/" + e.image;
            EXPECT_TRUE(e.image == "CharacterShadow" || content_check::FileExists(file + ".png") ||
                        content_check::FileExists(file + ".jpg"))
                << item.id << ": " << e.image;
        } else if (e.type == "move" || (e.type == "fx" && !who.empty())) {
            EXPECT_TRUE(onStage.count(who)) << item.id << ": " << who << " is not on stage";
        } else if (e.type == "exit") {
            EXPECT_EQ(onStage.erase(who), 1u) << item.id << ": " << who << " is not on stage";
        }
    }
    EXPECT_TRUE(onStage.empty()) << item.id << ": " << *onStage.begin() << " never leaves";
}

TEST(BakedAnimations, PowersFindTheirScriptsAndFightersReturn) {
    const std::string previousRoot = platform::DataRoot();
    platform::SetDataRoot(BRISK_DATA_ROOT);
    testing::internal::CaptureStdout();
    Powers::Init();  // the game's order: the powers, then the table that checks their effects
    AnimationList::Init();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    for (const char* intro : {"intro_1_wide", "intro_1", "intro_1_portrait"}) {
        ASSERT_NE(AnimationList::Get(intro), nullptr) << intro;
        EXPECT_EQ(
            Tags(*AnimationList::Get(intro)),
            (std::set<std::string>{"music", "sound", "special", "text", "enter", "move", "wait", "exit"}));
        ExpectObjectsOnStage(*AnimationList::Get(intro));
    }

    // A shield shows over the one who raised it, a freeze over the one it froze.
    std::set<const AnimationItem*> played;
    for (const auto& power : Powers::powers) {
        const AnimationItem* fx = AnimationList::GetFX(power->fx);
        ASSERT_FALSE(fx->elements.empty()) << power->id;
        played.insert(fx);
        EXPECT_TRUE(power->special != "protect" || Tags(*fx).count("self")) << power->id;
        EXPECT_TRUE(power->special != "freeze" || Tags(*fx).count("effect")) << power->id;
    }
    EXPECT_EQ(played.size(), AnimationList::effects.size());  // no script that nothing plays

    std::set<std::string> tags;
    for (const auto& effect : AnimationList::effects) {
        for (const std::string& t : Tags(*effect)) tags.insert(t);
        ExpectObjectsOnStage(*effect);
        // A fighter glides 500 ms to a place reckoned from where it stands: a second lunge before
        // the first arrived would leave it off its spot for the rest of the battle.
        std::map<std::string, int> net, lastAt;
        int now = 0;
        float shown = 0;
        for (const AnimationElement& e : effect->elements) {
            if (e.type == "wait") now += e.time;
            if (e.type == "damage") shown += e.percent;
            if ((e.type != "left" && e.type != "right") || e.x == AnimationElement::unset || e.x == 0)
                continue;
            EXPECT_TRUE(!lastAt.count(e.type) || now - lastAt[e.type] >= 500) << effect->id << " " << e.type;
            lastAt[e.type] = now;
            net[e.type] += e.x;
        }
        EXPECT_NEAR(shown, 1.0f, 0.011f) << effect->id << ": the numbers shown add up to the damage dealt";
        EXPECT_EQ(net["left"], 0) << effect->id;
        EXPECT_EQ(net["right"], 0) << effect->id;
    }
    EXPECT_EQ(tags, (std::set<std::string>{"effect", "self", "damage", "sound", "fx", "left", "right",
                                           "enter", "move", "wait", "exit"}));
    AnimationList::InitGlobals();
    Powers::InitGlobals();
    platform::SetDataRoot(previousRoot);
}

}  // namespace
