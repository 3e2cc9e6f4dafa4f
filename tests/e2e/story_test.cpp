// A small story of the tests' own, played through the real game: start-up reads it (and tells
// what is wrong with its files without stopping), the flags pick the action, its dialogue plays
// with typing, a jump, flag steps and the skip button, and a popup's choice leads the story on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/container.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "platform/storage.hpp"
#include "tests/support/harness.hpp"

namespace fs = std::filesystem;

namespace {

const char* kAct1 = R"(<?xml version="1.0"?>
<actions><location id="City-Act1">
  <action id="park" dialogue="park_talk"><conditions><flag name="ArriveAt" value="Park"/></conditions></action>
  <action id="typo" dialogue="no_such_talk"><conditions><flag name="Never" value="1"/></conditions></action>
  <action id="gym" dialogue="gym_talk">
    <conditions><flag name="ArriveAt" value="Gym"/></conditions>
    <flags><flag name="Attribute.Strength" add="5"/><flag name="ArriveAt" value=""/></flags>
    <action dialogue="speech">
      <action id="ask" popup="" title="Where now?" text="Pick a door.">
        <choice id="Left"><flags><flag name="Flag.Door" value="left"/></flags>
          <action><flags><flag name="Flag.Act" value="2"/></flags></action></choice>
        <choice id="Right"><flags><flag name="Flag.Door" value="right"/></flags></choice>
      </action>
    </action>
  </action>
</location></actions>)";

const char* kDialogues = R"(<?xml version="1.0"?>
<dialogues>
  <dialogue id="gym_talk">
    <music id="3"/>
    <enter id="coach" image="Characters01" index="1" x="0" right="1" block="false"/>
    <text id="coach" text="Lift, $NAME$!"/>
    <goto id="done"><conditions><flag name="Attribute.Strength" value="5" type="higher"/></conditions></goto>
    <flag name="Flag.Weak" value="1"/>
    <label id="done"/>
    <flag name="Flag.Trained" add="2"/>
    <wait value="300"/>
    <text text="The coach nods."/>
    <exit id="coach"/>
  </dialogue>
  <dialogue id="speech">
    <text text="A long speech that nobody wants to hear to its end."/>
    <flag name="Flag.Speech" value="7"/>
    <text text="More of it."/>
  </dialogue>
</dialogues>)";

// The map's part in the story, reduced: the engine runs while nothing modal is up, and a busy
// engine is asked again next frame.
class StoryScreen : public GameScreen {
  public:
    StoryScreen() : GameScreen("story") {}
    void Start() override { StartGui(); }
    void Update2() override {
        UpdateGui();
        if (GUIList::Suspended() || GUIList::Get("dialogue", "") || GUIList::Get("popup", "")) return;
        if (Actions::Check("")) Profile::flagsDirty = 1;
    }
    void Render() override {
        platform::Cls(0, 0, 0);
        RenderGui();
    }
};

class StoryTest : public ::testing::Test {
  protected:
    // The baked data folder with this story in place of the game's, and a broken act file.
    void MakeDataRoot() {
        root = fs::path(h.AppDataFolder()) / "root";
        const fs::path baked = fs::path(BRISK_DATA_ROOT) / "data";
        fs::create_directories(root / "data" / "data");
        fs::create_directories(root / "data" / "dialogues");
        for (const auto& entry : fs::directory_iterator(baked)) {
            const std::string name = entry.path().filename().string();
            if (name != "data" && name != "dialogues") fs::create_symlink(entry.path(), root / "data" / name);
        }
        for (const auto& entry : fs::directory_iterator(baked / "data")) {
            fs::create_symlink(entry.path(), root / "data" / "data" / entry.path().filename());
        }
        for (const std::string& file : Actions::Files()) Write(file, "<actions/>");
        Write("data/act1.xml", kAct1);
        for (const char* file : {"main", "act1", "act2", "act3", "act4", "act5", "act6"}) {
            Write(std::string("dialogues/") + file + ".xml", "<dialogues/>");
        }
        Write("dialogues/main.xml", kDialogues);
        Write("dialogues/act2.xml", "<dialogues><dialogue><text text=\"lost\"/></dialogue></dialogues>");
        h.SetDataRoot(root.string());
    }
    void Write(const std::string& file, const std::string& text) {
        const fs::path path = root / "data" / file;
        fs::remove(path);
        std::ofstream(path, std::ios::binary) << text;
    }
    // What the loading screen would have brought in for a dialogue and a popup.
    static void LoadResources() {
        for (const char* id : {"s", "on", "ob"}) {
            auto font = std::make_unique<GlyphFont>();
            font->LoadFont(Fonts::FileFor(id));
            Fonts::Set(id, std::move(font));
        }
        auto& images = *briskGame->images;
        images.LoadAnim2("Buttons01.png", 200, 96, 3);
        images.LoadAnim2("Characters01.png", 256, 256, 4);
        images.Load3("FrameSpeech.png");
        images.Load3("FramePopup.png");
        images.LoadAtlas("Atlas02.txt", 1);
        for (const char* s : {"MouseOver", "Building", "Click", "OTick", "OTick2", "Tick", "Tick2"}) {
            briskGame->sounds->Load5(std::string(s) + ".ogg");
        }
    }
    GUIDialogue* Playing() { return dynamic_cast<GUIDialogue*>(GUIList::Get("dialogue", "")); }
    // Runs frames until that dialogue has gone (only its address is compared), at most `frames`.
    bool RunUntilGone(const GUIDialogue* d, int frames) {
        for (int i = 0; i < frames && Playing() == d; ++i) h.Step();
        return Playing() != d;
    }

    harness::Harness h;
    fs::path root;
};

TEST_F(StoryTest, FlagsPickTheActionItsDialoguePlaysAndTheChoiceLeadsOn) {
    MakeDataRoot();
    testing::internal::CaptureStdout();
    ASSERT_TRUE(h.Start());
    const std::string startup = testing::internal::GetCapturedStdout();
    // Every fault inside the story files is one line naming its file, and the game runs on.
    EXPECT_NE(
        startup.find("Actions: data/act1.xml: action \"typo\" names unknown dialogue \"no_such_talk\"\n"),
        std::string::npos);
    EXPECT_NE(startup.find("Dialogues: dialogues/act2.xml: <dialogue> without an id is skipped\n"),
              std::string::npos);
    ASSERT_TRUE(h.Running());

    LoadResources();
    // The first slot, chosen as the character selection does.
    Profile::currentSlot = 0;
    Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
    Profile::Init();
    Profile::SetFlagString("Name", "Rook");
    Profile::SetFlagInt("Flag.Act", 1);
    std::make_shared<StoryScreen>()->PreStart();
    h.Step(3);
    EXPECT_EQ(Playing(), nullptr);  // nobody has arrived anywhere yet

    Profile::SetFlagString("ArriveAt", "Gym");
    h.Step(2);
    GUIDialogue* talk = Playing();
    ASSERT_NE(talk, nullptr);
    EXPECT_EQ(Profile::GetFlagInt("ID.gym"), 1);
    EXPECT_EQ(Profile::GetFlagInt("ID.park"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Strength"), 5);
    EXPECT_EQ(Profile::GetFlagString("ArriveAt"), "");

    // The bubble types "Lift, Rook!" at 45 characters a second; a click shows it whole.
    h.Step(6);
    ASSERT_TRUE(talk->text);
    EXPECT_EQ(talk->text->text, "Lift, Rook!");
    EXPECT_GT(talk->text->count, 2.0f);
    EXPECT_LT(talk->text->count, 8.0f);
    EXPECT_EQ(talk->text->done, 0);
    h.Click(500, 300);
    EXPECT_EQ(talk->text->done, 1);
    h.SaveFrame("story_bubble");

    // The next click closes it: the jump skips the flag it jumps over, the one after the label runs
    // (each step that blocks takes a frame of its own).
    h.Click(500, 300);
    EXPECT_FALSE(talk->text);
    h.Step(2);
    EXPECT_EQ(Profile::GetFlagInt("Flag.Weak"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Flag.Trained"), 2);
    h.Step(20);  // the 300 ms wait
    ASSERT_TRUE(talk->text);
    EXPECT_EQ(talk->text->actor, nullptr);  // narration
    h.Click(500, 300);
    h.Click(500, 300);
    // The exit's wait, then the closing fade; the chain goes on with the speech at once.
    ASSERT_TRUE(RunUntilGone(talk, 120));
    h.Step();
    GUIDialogue* speech = Playing();
    ASSERT_NE(speech, nullptr);
    EXPECT_NE(speech->text, nullptr);

    // "Skip >>" ends it at once, but its flag still counts.
    h.Click(Data::virtualWidth - 100, Data::virtualHeight - 48);
    h.Step();
    EXPECT_EQ(Playing(), nullptr);
    EXPECT_EQ(Profile::GetFlagInt("Flag.Speech"), 7);

    // Then the question; "Left" leads to the next act.
    h.Step(2);
    auto* popup = dynamic_cast<GUIContainer*>(GUIList::Get("popup", ""));
    ASSERT_NE(popup, nullptr);
    h.Step(40);
    h.SaveFrame("story_popup");
    GUIItem* left = popup->Get3("choice", "Left");
    ASSERT_NE(left, nullptr);
    ASSERT_NE(popup->Get3("choice", "Right"), nullptr);
    h.Click(static_cast<int>(popup->x + left->x + left->w / 2),
            static_cast<int>(popup->y + left->y + left->h / 2));
    h.Step(20);
    EXPECT_EQ(Profile::GetFlagString("Flag.Door"), "left");
    EXPECT_EQ(Profile::GetFlagInt("Flag.Act"), 2);
    EXPECT_EQ(Profile::GetFlagInt("ID.ask"), 1);
    EXPECT_EQ(GUIList::Suspended(), 0);
    // The end of the chain saved the story.
    EXPECT_NE(platform::LoadState().find("Flag.Door|left|"), std::string::npos);
}

}  // namespace
