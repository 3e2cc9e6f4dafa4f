// The dialogue table's grammar and the dialogue player's rules that the story test does not walk
// through: the click latch, a missing dialogue, Escape, looping jumps, inline pictures, typing speed.
#include "gui/dialogue.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/glyphfont.hpp"
#include "gui/dialogues.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "tests/gui/gui_fixture.hpp"

using guitest::During;
using guitest::StartScreen;

namespace {

class Counter : public Callback {
  public:
    int Call(GUIItem* sender) override {
        calls += sender == nullptr ? 1 : 100;
        return 0;
    }
    int calls = 0;
};

// The prompt's and the skip button's fonts and the narration frame, as the loading screen brings them.
void LoadPromptFonts() {
    briskGame->images->Load3("FrameSpeech.png");
    for (const char* id : {"s", "on"}) {
        auto font = std::make_unique<GlyphFont>();
        font->LoadFont(Fonts::FileFor(id));
        Fonts::Set(id, std::move(font));
    }
}

GUIDialogue* Play(const std::string& id, Counter* counter) {
    auto dialogue = std::make_shared<GUIDialogue>(id, 0);
    dialogue->callback = counter;
    GUIList::AddLast(dialogue);
    return dialogue.get();
}

}  // namespace

TEST(DialogueData, StepsReadAsTheFilesWriteThem) {
    DialogueList::InitGlobals();
    testing::internal::CaptureStdout();
    DialogueList::LoadText("dialogues/main.xml", R"(<d><dialogue id="one">
        <text text="a" block="false"/><text text="b" block="True"/><text text="c"/>
        <enter id="x" right="false"/><enter id="y"/>
        <flag name="F" value="3" add="2"/><flag name="G"/><flag name="H" value="$10"/>
        <wait value="1500"/><wait/><shout text="?"/>
        <text text="d"><conditions><flag name="A" value="1"/></conditions>
          <conditions><flag name="B" value="2"/></conditions></text>
        <goto id="nowhere"/></dialogue></d>)");
    DialogueList::LoadText("dialogues/act3.xml", R"(<d><dialogue id="one"><wait/></dialogue></d>)");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "Dialogues: dialogues/main.xml: dialogue \"one\" has an unknown step <shout>, skipped\n"
              "Dialogues: dialogues/main.xml: dialogue \"one\" jumps to unknown label \"nowhere\"\n");

    DialogueItem* one = DialogueList::Get("one");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->file, "dialogues/main.xml");  // the first loaded wins
    const auto& s = one->elements;
    ASSERT_EQ(s.size(), 12u);
    EXPECT_EQ(s[0].block + s[1].block * 10 + s[2].block * 100, 100);
    EXPECT_EQ(s[3].left, 0);  // "right" counts by its presence
    EXPECT_EQ(s[4].left, 1);
    EXPECT_EQ(s[5].left * 10 + s[5].value, 2);  // add wins over value
    EXPECT_EQ(s[6].left * 10 + s[6].value, 0);
    EXPECT_EQ(s[7].left * 100 + s[7].value, 116);
    EXPECT_EQ(s[8].value, 1500);
    EXPECT_EQ(s[9].value, 0);
    ASSERT_TRUE(s[10].conditions);
    EXPECT_EQ(s[10].conditions->Get2(0)->name, "B");
    EXPECT_EQ(DialogueList::Get("two"), nullptr);
    DialogueList::InitGlobals();
}

TEST(DialoguePlayer, ClicksCountOnlyAfterAReleaseAndAMissingDialogueEndsAtOnce) {
    harness::Harness h;
    auto screen = StartScreen(h);
    ASSERT_TRUE(screen);
    LoadPromptFonts();
    DialogueList::LoadText("test.xml", R"(<d><dialogue id="hi"><text text="Hello there, friend."/>
        <flag name="Heard" value="1"/></dialogue></d>)");
    Counter counter;
    During(h, *screen, [&] { Play("nobody_wrote_this", &counter); });
    h.Step(40);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(GUIList::Get("dialogue", ""), nullptr);

    // A press held over from before does nothing until it has been let go once.
    h.MouseMove(500, 300);
    h.MouseButton(0, true);
    GUIDialogue* d = nullptr;
    During(h, *screen, [&] { d = Play("hi", &counter); });
    h.Step(3);
    ASSERT_TRUE(d->text);
    EXPECT_LT(d->text->count, 10.0f);
    h.MouseButton(0, false);
    h.Step();
    h.MouseButton(0, true);
    h.Step();
    h.Step();
    EXPECT_EQ(d->text->done, 1);  // the whole text at once
    h.Step(5);
    EXPECT_TRUE(d->text);  // held on: still shown
    h.MouseButton(0, false);
    h.Step();
    h.MouseButton(0, true);
    h.Step(2);
    EXPECT_FALSE(d->text);
    EXPECT_EQ(Profile::GetFlagInt("Heard"), 1);
    h.MouseButton(0, false);
    h.Step(60);
    EXPECT_EQ(counter.calls, 2);
}

TEST(DialoguePlayer, LoopingJumpsEndEveryFrameAndEscapeStillRunsTheFlagsAhead) {
    harness::Harness h;
    auto screen = StartScreen(h);
    ASSERT_TRUE(screen);
    LoadPromptFonts();
    DialogueList::LoadText("test.xml", R"(<d><dialogue id="loop">
        <label id="a" block="false"/><flag name="Loops" add="1" block="false"/>
        <goto id="a" block="false"><conditions><flag name="Loops" value="40" type="lower"/></conditions></goto>
        <text text="Out at last."/>
        <goto id="late"><conditions><flag name="Loops" value="40"/></conditions></goto>
        <flag name="Skipped" value="1"/><label id="late"/>
        <flag name="Late" value="2"/><text text="Never shown."/></dialogue></d>)");
    Counter counter;
    GUIDialogue* d = nullptr;
    During(h, *screen, [&] { d = Play("loop", &counter); });
    h.Step();
    EXPECT_GT(Profile::GetFlagInt("Loops"), 0);
    EXPECT_LT(Profile::GetFlagInt("Loops"), 4);  // one pass over the script at most
    h.Step(40);
    EXPECT_EQ(Profile::GetFlagInt("Loops"), 40);
    ASSERT_TRUE(d->text);

    // Escape: gone at once, without the fade, yet the jump and the flag after it were honoured.
    During(h, *screen, [] { Data::backPressed = 1; });
    h.Step();
    EXPECT_EQ(GUIList::Get("dialogue", ""), nullptr);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(Data::backPressed, 0);
    EXPECT_EQ(Profile::GetFlagInt("Skipped"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Late"), 2);
}

TEST(DialoguePlayer, InlinePicturesMakeRoomAndBadTagsStayText) {
    harness::Harness h;
    auto screen = StartScreen(h);
    ASSERT_TRUE(screen);
    LoadPromptFonts();
    GlyphFont* font = Fonts::Get("n");
    const int line = font->TextHeight("A");

    DialogueText with(0, 0, "", "Look <IMG:Icons02> here", 0);
    ASSERT_NE(with.img, nullptr);
    EXPECT_EQ(with.imgCount, 5);
    std::string room;
    for (int i = 0; i < std::max(1, 56 / line) + 2; ++i) room += "\\n ";
    EXPECT_EQ(with.origText, "Look " + room + " here");
    EXPECT_EQ(with.imgY, Data::ExTextHeight("Look ", font) + line);

    for (const char* bad : {"Look <IMG:Icons02 here", "Look <IMG:NoSuchPicture> here"}) {
        DialogueText without(0, 0, "", bad, 0);
        EXPECT_EQ(without.img, nullptr);
        EXPECT_EQ(without.origText, bad);
    }

    // 45 characters a second: 90 characters are out after two seconds, not before.
    DialogueText typing(0, 0, "", "typed", 0);
    typing.text = std::string(90, 'x');
    Data::frameMs = 1000;
    typing.Update2();
    EXPECT_EQ(typing.done, 0);
    typing.Update2();
    EXPECT_EQ(typing.done, 1);
    Data::frameMs = 0;
}

// "Click to continue" stands on a speech bubble's light body with room under it, above the dark
// line of the body's border and the tail below it, on the wide bubble and on the tall one.
TEST(DialoguePlayer, ABubblesPromptSitsInsideItsBodyClearOfTheBorder) {
    harness::Harness h;
    auto screen = StartScreen(h);
    ASSERT_TRUE(screen);
    LoadPromptFonts();
    briskGame->images->LoadAtlas("Atlas02.txt", 1);
    GlyphFont* prompt = Fonts::Get("s");
    ASSERT_NE(prompt, nullptr);
    // The bubble drawn as the player draws it, without its prompt: the ground the prompt lies on.
    struct Bubble : GUIItem {
        explicit Bubble(int portrait) : text(40, 20, "Bubble", "Hi", portrait) { text.small = nullptr; }
        void Render() override { text.Render(1); }
        DialogueText text;
    };
    for (int portrait : {0, 1}) {
        auto bubble = std::make_shared<Bubble>(portrait);
        During(h, *screen, [&] { GUIList::Add(bubble, 1000); });
        h.Step(2);
        const DialogueText& t = bubble->text;
        ASSERT_NE(t.bg, nullptr);
        const int width = prompt->TextWidth(t.stext), height = prompt->TextHeight(t.stext) + 4;
        const auto ground = h.ReadPixels(t.x + t.sx, t.y + t.sy, width, height);
        int dark = 0;
        for (size_t p = 0; p + 3 < ground.size(); p += 4)
            dark += ground[p] + ground[p + 1] + ground[p + 2] < 450;
        EXPECT_EQ(dark, 0) << (portrait ? "tall" : "wide") << " bubble: prompt at " << t.sy << " of " << t.h;
        GUIList::Remove(bubble.get());
        h.Step();
    }
}
