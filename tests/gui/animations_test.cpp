// The animation table: the two file grammars with their different units, and what bad files,
// bad steps and missing effects do.
#include "gui/animations.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/exception.hpp"
#include "core/xml.hpp"
#include "model/powers.hpp"
#include "platform/storage.hpp"

namespace {

constexpr int kUnset = AnimationElement::unset;

template <class Parse>
void ParseAll(const std::string& text, Parse parse) {
    auto doc = XMLParser().ParseString(text);
    for (const XMLElement* child : doc->Root()->Children()) parse(child);
}

TEST(AnimationData, CutscenesAndEffectsKeepTheirOwnUnits) {
    AnimationList::InitGlobals();
    testing::internal::CaptureStdout();
    ParseAll(R"(<a><animation id="intro" w="1000" h="600">
        <enter id="me" x="372" y="%101" alpha="0" center="" flip="no"/><move id="me" time="0.25" color="$FF8080"/>
        <dance/><music id="12"/></animation><animation w="800"/><animation id="intro" w="1"/></a>)",
             AnimationList::ParseAnimation);
    ParseAll(
        R"(<e><effect id="punch"><enter left="" right="" alpha="0.999" scale="1.2" time="0.25" flip="" color="1"/>
        <move right="no" x="oops" special="rotate" item="orb" blend="add" percent="0.5"/><fx id="bigbang"/></effect></e>)",
        AnimationList::ParseFX);
    const std::string lines = testing::internal::GetCapturedStdout();

    // Without an id an animation is dropped; of two with one id the first is found.
    ASSERT_EQ(AnimationList::animations.size(), 2u);
    const AnimationItem* intro = AnimationList::Get("intro");
    ASSERT_EQ(intro->elements.size(), 4u);
    EXPECT_EQ(intro->w, 1000);
    const AnimationElement& enter = intro->elements[0];
    EXPECT_EQ(enter.y, 5);
    EXPECT_EQ(enter.alpha, 0);  // written 0 is transparent, not "not written"
    EXPECT_EQ(enter.scale, kUnset);
    EXPECT_EQ(enter.center + enter.flip, 2);  // presence is the switch
    EXPECT_EQ(intro->elements[1].time, 0);    // whole milliseconds: "0.25" is 0
    EXPECT_EQ(intro->elements[1].color, 0xFF8080);
    EXPECT_EQ(intro->elements[2].type, "dance");  // unknown steps stay in place

    // Effects write fractions and seconds, truncated; they never read a mirror or a colour.
    const AnimationElement& fxEnter = AnimationList::GetFX("punch")->elements[0];
    EXPECT_EQ(fxEnter.pos, "left");  // both sides named: the left one
    EXPECT_EQ(fxEnter.alpha, 99);
    EXPECT_EQ(fxEnter.scale, 120);
    EXPECT_EQ(fxEnter.time, 250);
    EXPECT_EQ(fxEnter.flip + fxEnter.color, kUnset);
    const AnimationElement& fxMove = AnimationList::GetFX("punch")->elements[1];
    EXPECT_EQ(fxMove.pos, "right");
    EXPECT_EQ(fxMove.x, 0);  // unreadable numbers are 0, not unset
    EXPECT_EQ(fxMove.special + fxMove.item + fxMove.blend, "rotateorbadd");
    EXPECT_FLOAT_EQ(fxMove.percent, 0.5f);

    // Numbers the players could not use are named at load, with the file and the step.
    EXPECT_NE(lines.find("animations/main.xml: \"intro\" step 4 <music>: no music number \"12\""),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find("animations/fx.xml: \"punch\" step 3 <fx>: no impact kind \"bigbang\""),
              std::string::npos)
        << lines;
    AnimationList::InitGlobals();
}

TEST(AnimationData, BadFilesAndMissingEffectsAreNamedNeverFollowedIntoAFault) {
    namespace fs = std::filesystem;
    const std::string savedRoot = platform::DataRoot();
    const fs::path root = fs::temp_directory_path() / "brisk_animation_data";
    fs::create_directories(root / "data" / "animations");
    platform::SetDataRoot(root.string());
    auto write = [&](const char* file, const char* text) {
        std::ofstream(root / "data" / "animations" / file) << text;
    };
    auto init = [] {
        AnimationList::InitGlobals();
        testing::internal::CaptureStdout();
        try {
            AnimationList::Init();
        } catch (const XMLParseException&) {
            return "thrown " + testing::internal::GetCapturedStdout();
        }
        return testing::internal::GetCapturedStdout();
    };

    // A file the parser refuses ends start-up as every data file does, named first.
    write("main.xml", "<animations/>");
    write("fx.xml", "<effects><effect id=\"b\"></effects>");
    EXPECT_EQ(init().rfind("thrown Error loading animations/fx.xml at line 1 - XMLParser.", 0), 0u);
    fs::remove(root / "data" / "animations" / "main.xml");
    EXPECT_EQ(init(),
              "thrown Error loading animations/main.xml: the file is missing (" +
                  fs::absolute(root / "data" / "animations" / "main.xml").lexically_normal().string() +
                  ") - XMLParser.ParseString: Something seriously wrong... no tags!\n");

    // A power whose effect is missing is named at start-up; in play it gets an empty script.
    write("main.xml", "<animations/>");
    write("fx.xml", "<effects><effect id=\"b\"/></effects>");
    auto power = std::make_shared<Power>();
    power->id = "Haymaker";
    power->fx = "fx_gone";
    Powers::powers.Add(power);
    EXPECT_EQ(init(),
              "data/powers.xml: power \"Haymaker\" plays the effect \"fx_gone\", which "
              "animations/fx.xml does not hold\n");
    Powers::InitGlobals();
    testing::internal::CaptureStdout();
    const AnimationItem* missing = AnimationList::GetFX("fx_gone");
    EXPECT_EQ(AnimationList::GetFX("fx_gone"), missing);
    const std::string inPlay = testing::internal::GetCapturedStdout();
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(missing->elements.empty());
    EXPECT_EQ(inPlay.find("fx_gone"), inPlay.rfind("fx_gone"));  // one line, however often asked
    EXPECT_EQ(AnimationList::Get("b"), nullptr);

    AnimationList::InitGlobals();
    platform::SetDataRoot(savedRoot);
    fs::remove_all(root);
}

}  // namespace
