// The baked cutscenes and battle effect scripts, read by the game's own loader: they load without a
// complaint, the intro exists in every shape the loading screen asks for, the scripts only touch
// pictures that exist and objects they brought on stage, and every effect puts both fighters back.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "gui/animations.hpp"
#include "platform/storage.hpp"
#include "tests/content/content_check.hpp"

namespace {

class BakedAnimations : public testing::Test {
  protected:
    void SetUp() override {
        previousRoot_ = platform::DataRoot();
        platform::SetDataRoot(BRISK_DATA_ROOT);
        AnimationList::InitGlobals();
        testing::internal::CaptureStdout();
        AnimationList::Init();
        loadLines_ = testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        AnimationList::InitGlobals();
        platform::SetDataRoot(previousRoot_);
    }

    static std::set<std::string> Tags(const AnimationItem& item) {
        std::set<std::string> tags;
        for (const AnimationElement& e : item.elements) tags.insert(e.type);
        return tags;
    }

    // Every step that names an object names one that is on stage at that point.
    static void ExpectObjectsOnStage(const AnimationItem& item) {
        std::set<std::string> onStage;
        for (const AnimationElement& e : item.elements) {
            if (e.type == "enter") {
                EXPECT_TRUE(onStage.insert(e.id).second) << item.id << ": \"" << e.id << "\" enters twice";
                const std::string file = std::string(BRISK_DATA_ROOT) + "/data/graphics/" + e.image;
                EXPECT_TRUE(e.image == "CharacterShadow" || content_check::FileExists(file + ".png") ||
                            content_check::FileExists(file + ".jpg"))
                    << item.id << ": no picture \"" << e.image << "\"";
            } else if (e.type == "move" || (e.type == "fx" && !e.item.empty())) {
                const std::string& who = e.type == "move" ? e.id : e.item;
                EXPECT_TRUE(onStage.count(who))
                    << item.id << ": <" << e.type << "> of \"" << who << "\" off stage";
            } else if (e.type == "exit") {
                EXPECT_EQ(onStage.erase(e.id), 1u) << item.id << ": \"" << e.id << "\" exits off stage";
            }
        }
        // What stays on stage would stand there until the scene is dropped.
        EXPECT_TRUE(onStage.empty()) << item.id << ": \"" << *onStage.begin() << "\" never leaves";
    }

    std::string previousRoot_;
    std::string loadLines_;
};

TEST_F(BakedAnimations, TheIntroComicExistsInEveryShapeTheLoadingScreenPicks) {
    EXPECT_EQ(loadLines_, "");
    const std::map<std::string, std::pair<int, int>> shapes = {
        {"intro_1_wide", {1000, 600}}, {"intro_1", {800, 600}}, {"intro_1_portrait", {600, 1000}}};
    const std::set<std::string> everyTag = {"music", "sound", "special", "text",
                                            "enter", "move",  "wait",    "exit"};
    for (const auto& [id, size] : shapes) {
        const AnimationItem* intro = AnimationList::Get(id);
        ASSERT_NE(intro, nullptr) << id;
        EXPECT_EQ(intro->w, size.first) << id;
        EXPECT_EQ(intro->h, size.second) << id;
        EXPECT_EQ(Tags(*intro), everyTag) << id;
        bool heroShown = false;
        int captions = 0;
        for (const AnimationElement& e : intro->elements) {
            heroShown |= e.type == "enter" && e.image == "CharacterShadow";
            if (e.type == "text") {
                ++captions;
                // Without a colour a caption shows in (255, 0, 1).
                EXPECT_NE(e.color, AnimationElement::unset) << id << ": " << e.id;
            }
            if (e.type == "special") {
                EXPECT_GT(e.scale, 0) << id << ": an explosion needs a strength";
            }
        }
        EXPECT_TRUE(heroShown) << id;
        EXPECT_EQ(captions, 7) << id;
        ExpectObjectsOnStage(*intro);
    }
}

TEST_F(BakedAnimations, EffectsUseEveryStepAndPutBothFightersBack) {
    EXPECT_EQ(loadLines_, "");
    ASSERT_FALSE(AnimationList::effects.empty());
    std::set<std::string> tags, impacts;
    bool rotates = false, additive = false;
    for (const auto& effect : AnimationList::effects) {
        for (const std::string& t : Tags(*effect)) tags.insert(t);
        ExpectObjectsOnStage(*effect);
        // A fighter glides 500 ms to each new place, measured from where it is at that moment: a
        // second lunge before the first has arrived leaves the fighter off its spot for good.
        std::map<std::string, int> net, lastAt;
        int now = 0;
        for (const AnimationElement& e : effect->elements) {
            if (e.type == "wait") now += e.time;
            rotates |= e.special == "rotate";
            additive |= e.blend == "add";
            if (e.type == "fx") impacts.insert(e.id);
            if ((e.type == "left" || e.type == "right") && e.x != AnimationElement::unset && e.x != 0) {
                if (lastAt.count(e.type)) {
                    EXPECT_GE(now - lastAt[e.type], 500)
                        << effect->id << ": <" << e.type << "> while still moving";
                }
                lastAt[e.type] = now;
                net[e.type] += e.x;
            }
            if (e.type == "enter" || e.type == "move" || e.type == "fx") {
                EXPECT_TRUE(e.pos.empty() || e.pos == "left" || e.pos == "right") << effect->id;
            }
        }
        EXPECT_EQ(net["left"], 0) << effect->id << ": the attacker does not return";
        EXPECT_EQ(net["right"], 0) << effect->id << ": the target does not return";
        // A battle waits for the script: keep it short.
        EXPECT_LE(now, 2000) << effect->id;
    }
    EXPECT_EQ(tags, (std::set<std::string>{"effect", "self", "damage", "sound", "fx", "left", "right",
                                           "enter", "move", "wait", "exit"}));
    EXPECT_EQ(impacts, (std::set<std::string>{"smallimpact", "bigimpact", "sideimplosion"}));
    EXPECT_TRUE(rotates);
    EXPECT_TRUE(additive);
}

}  // namespace
