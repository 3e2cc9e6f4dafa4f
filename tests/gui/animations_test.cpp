// The animation table: the two file grammars with their different units, lookups, and what a bad
// or missing file, step or effect id does.
#include "gui/animations.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/exception.hpp"
#include "core/xml.hpp"
#include "platform/storage.hpp"

namespace {

constexpr int kUnset = AnimationElement::unset;

class AnimationData : public testing::Test {
  protected:
    void SetUp() override { AnimationList::InitGlobals(); }
    void TearDown() override { AnimationList::InitGlobals(); }

    // Parses text and hands every child of its root to the cutscene or the effect parser.
    void ParseCutscenes(const std::string& text) {
        auto doc = XMLParser().ParseString(text);
        for (const XMLElement* child : doc->Root()->Children()) AnimationList::ParseAnimation(child);
    }
    void ParseEffects(const std::string& text) {
        auto doc = XMLParser().ParseString(text);
        for (const XMLElement* child : doc->Root()->Children()) AnimationList::ParseFX(child);
    }
};

TEST_F(AnimationData, CutsceneStepsKeepTheirUnitsAndUnsetValues) {
    ParseCutscenes(R"(<a>
      <animation id="intro" w="1000" h="600">
        <enter id="me" image="CharacterShadow" index="2" x="372" y="-5" alpha="0" scale="50" center="" flip="no"/>
        <move id="me" time="0.25" color="$FF8080"/>
        <text id="Hello $NAME$" x=" +24" y="%101" color="16777215"/>
        <dance id="x"/>
        <wait/>
      </animation>
      <animation w="800"><wait time="5"/></animation>
      <animation id="intro" w="1"/>
      <animation id="bare"/>
    </a>)");

    // The animation without id is dropped; the second "intro" stays behind the first.
    ASSERT_EQ(AnimationList::animations.size(), 3u);
    const AnimationItem* intro = AnimationList::Get("intro");
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->w, 1000);
    EXPECT_EQ(intro->h, 600);
    EXPECT_EQ(AnimationList::Get("bare")->w, 0);
    EXPECT_EQ(AnimationList::Get("Intro"), nullptr);
    ASSERT_EQ(intro->elements.size(), 5u);

    const AnimationElement& enter = intro->elements[0];
    EXPECT_EQ(enter.type, "enter");
    EXPECT_EQ(enter.image, "CharacterShadow");
    EXPECT_EQ(enter.index, 2);
    EXPECT_EQ(enter.x, 372);
    EXPECT_EQ(enter.y, -5);
    // Written 0 is fully transparent, which is not the same as not written.
    EXPECT_EQ(enter.alpha, 0);
    EXPECT_EQ(enter.scale, 50);
    EXPECT_EQ(enter.time, kUnset);
    EXPECT_EQ(enter.color, kUnset);
    // Presence switches: an empty value and "no" both switch on.
    EXPECT_EQ(enter.center, 1);
    EXPECT_EQ(enter.flip, 1);

    const AnimationElement& move = intro->elements[1];
    // Cutscene times are whole milliseconds: "0.25" reads as 0.
    EXPECT_EQ(move.time, 0);
    EXPECT_EQ(move.color, 0xFF8080);
    EXPECT_EQ(move.x, kUnset);
    EXPECT_EQ(move.alpha, kUnset);
    EXPECT_EQ(move.center, 0);

    const AnimationElement& text = intro->elements[2];
    EXPECT_EQ(text.id, "Hello $NAME$");
    EXPECT_EQ(text.x, 24);
    EXPECT_EQ(text.y, 5);
    EXPECT_EQ(text.color, 16777215);

    // A tag no player knows stays in its place.
    EXPECT_EQ(intro->elements[3].type, "dance");
    EXPECT_EQ(intro->elements[4].time, kUnset);
}

TEST_F(AnimationData, EffectStepsScaleDecimalsAndNameTheirSide) {
    ParseEffects(R"(<e>
      <effect id="punch" w="300">
        <enter id="fist" image="FXFist1" left="" right="" x="60" alpha="0.999" scale="1.2" time="0.25" blend="add" flip="" color="$FF0000"/>
        <move id="fist" right="no" time="1.5e0" special="rotate" item="orb"/>
        <damage percent="0.5"/>
        <fx id="bigimpact" x="oops" alpha="half"/>
        <wait/>
      </effect>
      <effect><wait time="1"/></effect>
    </e>)");

    ASSERT_EQ(AnimationList::effects.size(), 1u);
    const AnimationItem* fx = AnimationList::GetFX("punch");
    EXPECT_EQ(fx->w, 0);
    ASSERT_EQ(fx->elements.size(), 5u);

    const AnimationElement& enter = fx->elements[0];
    EXPECT_EQ(enter.pos, "left");  // both sides named: the left one wins
    EXPECT_EQ(enter.x, 60);
    EXPECT_EQ(enter.alpha, 99);  // truncated, not rounded
    EXPECT_EQ(enter.scale, 120);
    EXPECT_EQ(enter.time, 250);
    EXPECT_EQ(enter.blend, "add");
    // Effects never read a mirror switch or a colour.
    EXPECT_EQ(enter.flip, 0);
    EXPECT_EQ(enter.color, kUnset);

    const AnimationElement& move = fx->elements[1];
    EXPECT_EQ(move.pos, "right");
    EXPECT_EQ(move.time, 1500);
    EXPECT_EQ(move.special, "rotate");
    EXPECT_EQ(move.item, "orb");
    EXPECT_EQ(move.alpha, kUnset);

    EXPECT_FLOAT_EQ(fx->elements[2].percent, 0.5f);
    // A number that does not parse reads as 0, not as unset.
    EXPECT_EQ(fx->elements[3].x, 0);
    EXPECT_EQ(fx->elements[3].alpha, 0);
    EXPECT_EQ(fx->elements[4].time, kUnset);
    EXPECT_EQ(fx->elements[4].pos, "");
}

TEST_F(AnimationData, UnknownIdsGiveNothingOrAnEmptyEffectAndBadStepsAreNamedAtLoad) {
    testing::internal::CaptureStdout();
    ParseCutscenes(
        R"(<a><animation id="intro"><music id="12"/><sound id="34"/><sound id="-1"/></animation></a>)");
    ParseEffects(R"(<e><effect id="zap"><fx id="bigbang"/><sound id="35"/><music id="0"/></effect></e>)");
    std::string atLoad = testing::internal::GetCapturedStdout();
    EXPECT_NE(atLoad.find("\"intro\" step 1 <music>"), std::string::npos) << atLoad;
    EXPECT_NE(atLoad.find("\"intro\" step 3 <sound>"), std::string::npos) << atLoad;
    EXPECT_EQ(atLoad.find("\"intro\" step 2"), std::string::npos) << atLoad;
    EXPECT_NE(atLoad.find("\"zap\" step 1 <fx>: no impact kind \"bigbang\""), std::string::npos) << atLoad;
    EXPECT_NE(atLoad.find("\"zap\" step 2 <sound>"), std::string::npos) << atLoad;
    // Effects play no music; the step stays and does nothing, so it is not reported.
    EXPECT_EQ(atLoad.find("\"zap\" step 3"), std::string::npos) << atLoad;
    EXPECT_EQ(atLoad.rfind("animations/main.xml: \"intro\" step 1", 0), 0u) << atLoad;
    // The steps stay in the scripts: reporting is all a bad step costs.
    EXPECT_EQ(AnimationList::Get("intro")->elements.size(), 3u);

    EXPECT_EQ(AnimationList::Get("zap"), nullptr);  // effects are not cutscenes

    testing::internal::CaptureStdout();
    const AnimationItem* missing = AnimationList::GetFX("fx_nothing");
    const AnimationItem* again = AnimationList::GetFX("fx_nothing");
    std::string inPlay = testing::internal::GetCapturedStdout();
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(missing->elements.empty());
    EXPECT_EQ(again, missing);
    // One line for the id, however often a battle asks for it.
    EXPECT_NE(inPlay.find("fx_nothing"), std::string::npos);
    EXPECT_EQ(inPlay.find("fx_nothing"), inPlay.rfind("fx_nothing"));
}

TEST_F(AnimationData, AFileThatDoesNotParseIsNamedBeforeStartUpEnds) {
    namespace fs = std::filesystem;
    const std::string savedRoot = platform::DataRoot();
    fs::path root = fs::temp_directory_path() / "brisk_animation_data";
    fs::remove_all(root);
    fs::create_directories(root / "data" / "animations");
    std::ofstream(root / "data" / "animations" / "main.xml")
        << "<animations><animation id=\"a\"><wait time=\"1\"/></animation></animations>";
    std::ofstream(root / "data" / "animations" / "fx.xml") << "<effects><effect id=\"b\"></effects>";
    platform::SetDataRoot(root.string());

    testing::internal::CaptureStdout();
    EXPECT_THROW(AnimationList::Init(), XMLParseException);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("animations/fx.xml: XMLParser.", 0), 0u) << out;
    EXPECT_NE(AnimationList::Get("a"), nullptr);

    // A missing file reads as empty text, which the parser refuses the same way.
    AnimationList::InitGlobals();
    fs::remove(root / "data" / "animations" / "main.xml");
    testing::internal::CaptureStdout();
    EXPECT_THROW(AnimationList::Init(), XMLParseException);
    out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("animations/main.xml: XMLParser.ParseString: Something seriously wrong... no tags!"),
              std::string::npos)
        << out;

    platform::SetDataRoot(savedRoot);
    fs::remove_all(root);
}

}  // namespace
