// The layout check on a screen drawn for it with the game's fonts and pictures: clean as laid out,
// it reports the caption of a widened font leaving its button, a text moved onto another, a text
// pushed off the screen and a text too faint for its background; each of its exemptions passes
// what it names and reports the defect beside it; a meter's number reads glyph by glyph against
// its fill, small capitals are told, and a screen that never comes up is a finding too.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "framework/screen.hpp"
#include "platform/graphics.hpp"
#include "tests/checker/layout_visit.hpp"

namespace {

void Write(const char* font, const std::string& words, int x, int y, int r = 255, int g = 255, int b = 255) {
    platform::SetColor(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
    Fonts::Get(font)->DrawText(words, x, y);
    platform::SetColor(255, 255, 255);
}

// A caption on a button and a line of text below it, on a purple ground; a case adds its own.
class Sample : public Screen {
  public:
    Sample() : Screen("sample") {}
    void Start() override {}
    void Update2() override { ++frames; }
    void Render() override {
        platform::Cls(70, 40, 110);
        // The button's top-left corner at (400, 200), whatever its handle.
        GameImage* button = briskGame->images->Find("Buttons01");
        button->Draw2(400 + button->image->HandleX(), 200 + button->image->HandleY());
        GlyphFont* caption = Fonts::Get("on");
        caption->DrawText2("Play", 500,
                           captionY >= 0 ? captionY : 200 + (96 - caption->TextHeight("Play")) / 2, 1);
        Write("n", "Options and trophies", lineX, lineY, lineColour[0], lineColour[1], lineColour[2]);
        if (meter) {
            // A meter: its black track, a green fill over a fifth of it, its number over both.
            platform::SetColor(0, 0, 0);
            platform::DrawRect(100, 500, 200, 20);
            platform::SetColor(30, 90, 30);
            platform::DrawRect(102, 502, 40, 16);
            Write("n", "12/60", meterTextX, 503);
        }
        if (covered) {
            // A line under a panel that a later line is written on.
            Write("n", "Under the panel", 100, 420);
            platform::SetColor(250, 250, 250);
            platform::DrawRect(80, 400, 300, 60);
            Write("n", "On the panel", 110, 422, 0, 0, 0);
        }
        if (extra) extra(*this);
    }
    bool meter = false, covered = false;
    int meterTextX = 130;
    int lineX = 400, lineY = 360, captionY = -1;
    int lineColour[3] = {255, 255, 255};
    int frames = 0;
    std::function<void(Sample&)> extra;
};

bool Mentions(const std::vector<std::string>& findings, const std::string& words) {
    for (const std::string& line : findings) {
        if (line.find(words) != std::string::npos) return true;
    }
    return false;
}

// A finding about `text` that says `what`.
bool Says(const std::vector<std::string>& findings, const std::string& text, const std::string& what) {
    for (const std::string& line : findings) {
        if (line.find("\"" + text + "\"") != std::string::npos && line.find(what) != std::string::npos)
            return true;
    }
    return false;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    return all;
}

// The game started at the wide layout on the sample screen, with the fonts and pictures it draws.
class LayoutChecker : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(visit.Start());
        for (const char* id : {"on", "n", "oxs", "s"})
            Fonts::Set(id, std::make_unique<GlyphFont>(Fonts::FileFor(id)));
        briskGame->images->LoadAnim2("Buttons01.png", 200, 96, 3);
        briskGame->images->Load3("FramePopup.png");
        sample->PreStart();
        visit.Game().Step(2);
    }
    // The findings of one look at the sample with `extra` drawn over it.
    const std::vector<std::string>& Look(const std::string& name, std::function<void(Sample&)> extra,
                                         bool rolling = false) {
        findings.clear();
        sample->extra = std::move(extra);
        sample->frames = 0;
        visit.Look(name, rolling);
        return findings;
    }

    std::vector<std::string> findings;
    layout::Visit visit{BRISK_DATA_ROOT, true, findings};
    std::shared_ptr<Sample> sample = std::make_shared<Sample>();
};

TEST_F(LayoutChecker, ReportsAWidenedFontAMovedTextTheScreenEdgeAndPoorContrast) {
    visit.Look("sample");
    ASSERT_TRUE(findings.empty()) << Joined(findings);

    // The caption's font ten times as wide: it runs out of its button.
    GlyphFont* caption = Fonts::Get("on");
    for (auto& glyph : caption->chars)
        if (glyph) glyph->xAdvance *= 10;
    visit.Look("wide");
    EXPECT_TRUE(Mentions(findings, "wide at 1000x600: \"Play\"")) << Joined(findings);
    EXPECT_TRUE(Mentions(findings, "crosses the edge of BUTTONS01")) << Joined(findings);
    for (auto& glyph : caption->chars)
        if (glyph) glyph->xAdvance /= 10;

    // The line moved up onto the caption.
    findings.clear();
    sample->lineY = 200 + (96 - caption->TextHeight("Play")) / 2;
    visit.Look("moved");
    EXPECT_TRUE(Says(findings, "Play", "overlap")) << Joined(findings);
    EXPECT_TRUE(Says(findings, "Options and trophies", "overlap")) << Joined(findings);

    // Pushed past the right edge; then back in place, in a purple hardly darker than the ground,
    // and in the ground's very colour.
    findings.clear();
    sample->lineY = 360;
    sample->lineX = 900;
    visit.Look("pushed");
    EXPECT_TRUE(Says(findings, "Options and trophies", "outside the screen")) << Joined(findings);
    findings.clear();
    sample->lineX = 400;
    sample->lineColour[0] = 50, sample->lineColour[1] = 25, sample->lineColour[2] = 90;
    visit.Look("faint");
    ASSERT_EQ(findings.size(), 1u) << Joined(findings);
    EXPECT_TRUE(Mentions(findings, "reads poorly")) << Joined(findings);
    findings.clear();
    sample->lineColour[0] = 70, sample->lineColour[1] = 40, sample->lineColour[2] = 110;
    visit.Look("unseen");
    EXPECT_TRUE(Says(findings, "Options and trophies", "contrast 1.0:1")) << Joined(findings);

    // A meter's number belongs to its whole track, not to the fill's share of it.
    findings.clear();
    sample->lineColour[0] = sample->lineColour[1] = sample->lineColour[2] = 255;
    sample->meter = true;
    visit.Look("meter");
    EXPECT_TRUE(findings.empty()) << Joined(findings);
    sample->meterTextX = 280;
    visit.Look("meter over");
    EXPECT_TRUE(Says(findings, "12/60", "crosses the edge of panel")) << Joined(findings);

    // Only a bubble or popup frame hides a text on purpose: one lost under a plain panel still counts.
    findings.clear();
    sample->meter = false;
    sample->covered = true;
    visit.Look("covered");
    EXPECT_TRUE(Says(findings, "Under the panel", "covered by panel")) << Joined(findings);
    EXPECT_TRUE(Says(findings, "Under the panel", "overlap")) << Joined(findings);
}

TEST_F(LayoutChecker, EachExemptionPassesWhatItNamesAndReportsTheDefectBesideIt) {
    // A figure and its shadow a pixel off may overlap; two counters of the same figure may not.
    const auto counters = [](int apart) {
        return [apart](Sample&) {
            Write("n", "120", 300, 450, 0, 0, 0);
            Write("n", "120", 300 + apart, 450 + (apart == 1 ? 1 : 0));
        };
    };
    EXPECT_FALSE(Says(Look("shadow", counters(1)), "120", "overlap")) << Joined(findings);
    EXPECT_TRUE(Says(Look("counters", counters(14)), "120", "overlap")) << Joined(findings);
    // A shadow cut short by a clip (a meter number's ring over the fill alone) is still a shadow.
    EXPECT_FALSE(Says(Look("cut shadow",
                           [](Sample&) {
                               platform::SetColor(0, 0, 0);
                               Fonts::Get("n")->DrawTextIn("120", 301, 451, 0, 0, 318, 600);
                               Write("n", "120", 300, 450);
                           }),
                      "120", "overlap"))
        << Joined(findings);

    // Copies over one another at one spot read from the clearest; a copy elsewhere reads alone.
    const auto buy = [](int second) {
        return [second](Sample&) {
            Write("n", "Buy", 300, 450);
            Write("n", "Buy", second, 450, 75, 45, 115);
        };
    };
    EXPECT_TRUE(Look("fading copy", buy(300)).empty()) << Joined(findings);
    EXPECT_TRUE(Says(Look("second buy", buy(650)), "Buy", "reads poorly")) << Joined(findings);

    // A popup's title is set across its frame's top edge; a caption set so across its button is not.
    GameImage* frame = briskGame->images->Find("FramePopup");
    ASSERT_NE(frame, nullptr);
    Look("heading", [frame](Sample&) {
        frame->Draw2(250, 440, 0, 400.0f / static_cast<float>(frame->w),
                     120.0f / static_cast<float>(frame->h));
        Write("on", "Trophies", 380, 440 - Fonts::Get("on")->TextHeight("Trophies") / 3, 255, 255, 255);
    });
    EXPECT_TRUE(findings.empty()) << Joined(findings);
    // Its glyphs' tops 6 rows above the button's top edge.
    int top = 1000;
    for (char c : std::string("Play"))
        top = std::min(top, Fonts::Get("on")->chars[static_cast<unsigned char>(c)]->yOffset);
    sample->captionY = 200 - 6 - top;
    EXPECT_TRUE(Says(Look("raised caption", nullptr), "Play", "crosses the edge of BUTTONS01"))
        << Joined(findings);
    sample->captionY = -1;

    // On a rolling screen the rising lines leave at the top; a still "Back" below the screen is lost.
    Look(
        "rolling", [](Sample& s) { Write("n", "Written by the studio", 300, -s.frames); }, true);
    EXPECT_TRUE(findings.empty()) << Joined(findings);
    Look(
        "rolling with back",
        [](Sample& s) {
            Write("n", "Written by the studio", 300, -s.frames);
            Write("n", "Back", 40, 608);
        },
        true);
    EXPECT_TRUE(Says(findings, "Back", "outside the screen")) << Joined(findings);
    EXPECT_FALSE(Says(findings, "Written by the studio", "outside the screen")) << Joined(findings);

    // A popup's ground hides what lies under it where its pixels cover it, not where it is merely
    // named: seen through, the line under it is judged.
    const auto behind = [frame](float strength) {
        return [frame, strength](Sample&) {
            Write("n", "Behind the popup", 300, 470);
            platform::SetAlpha(strength);
            frame->Draw2(250, 440, 0, 400.0f / static_cast<float>(frame->w),
                         120.0f / static_cast<float>(frame->h));
            platform::SetAlpha(1);
            Write("n", "On the popup", 310, 468, 0, 0, 0);
        };
    };
    EXPECT_TRUE(Look("behind", behind(1)).empty()) << Joined(findings);
    EXPECT_TRUE(Says(Look("seen through", behind(0.2f)), "Behind the popup", "overlap")) << Joined(findings);

    // Any text a picture, line or oval drawn after it hides is reported, not only a button's caption.
    const auto covering = [](int x, bool shapes) {
        return [x, shapes](Sample&) {
            Write("n", "Gym", 150, 250);
            GameImage* button = briskGame->images->Find("Buttons01");
            if (!shapes)
                return button->Draw2(static_cast<float>(x) + button->image->HandleX(),
                                     220 + button->image->HandleY());
            platform::SetColor(0, 0, 0);
            platform::DrawOval(static_cast<float>(x), 440, 60, 40);
            platform::DrawLine(static_cast<float>(x), 300, static_cast<float>(x) + 40, 300);
            platform::SetColor(255, 255, 255);
        };
    };
    EXPECT_TRUE(Look("button beside", covering(700, false)).empty()) << Joined(findings);
    EXPECT_TRUE(Says(Look("button over", covering(100, false)), "Gym", "covered by BUTTONS01"))
        << Joined(findings);
    EXPECT_TRUE(Look("shapes beside", covering(800, true)).empty()) << Joined(findings);
    Look("shapes over", [](Sample&) {
        Write("n", "Options", 150, 250);
        Write("n", "Stats", 150, 450);
        platform::SetColor(0, 0, 0);
        platform::DrawLine(145, 262, 240, 262);
        platform::DrawOval(150, 445, 40, 30);
        platform::SetColor(255, 255, 255);
    });
    EXPECT_TRUE(Says(findings, "Options", "covered by line")) << Joined(findings);
    EXPECT_TRUE(Says(findings, "Stats", "covered by oval")) << Joined(findings);

    // What the game dims is let be while it is drawn dimmed; the same words drawn whole must read.
    const auto power = [](bool whole) {
        return [whole](Sample&) {
            platform::SetAlpha(0.5f);
            Write("n", "Left Hook", 150, 450, 100, 70, 140);
            platform::SetAlpha(1);
            if (whole) Write("n", "Left Hook", 650, 450, 100, 70, 140);
        };
    };
    EXPECT_TRUE(Look("dimmed", power(false)).empty()) << Joined(findings);
    EXPECT_TRUE(Says(Look("whole", power(true)), "Left Hook", "reads poorly")) << Joined(findings);
}

// Place names go wherever the map is dragged: only the words drawn as a place's name, where it is.
TEST(LayoutJudge, OnlyAPlacesNameOnTheMapLeavesTheScreenFreely) {
    layout::Frame frame;
    frame.width = 1000;
    frame.height = 600;
    frame.placeNames.push_back({"Gym", layout::Box{980, 100, 1040, 120}});
    layout::DrawnText name;
    name.text = "Gym";
    name.box = name.firstLetter = layout::Box{985, 102, 1030, 118};
    name.glyphs.resize(1);
    frame.texts.push_back(name);
    EXPECT_TRUE(layout::Judge(frame, "map").empty()) << Joined(layout::Judge(frame, "map"));
    layout::DrawnText label = name;
    label.box = label.firstLetter = layout::Box{985, 302, 1030, 318};
    label.order = 1;
    frame.texts.push_back(label);
    const std::vector<std::string> found = layout::Judge(frame, "map");
    ASSERT_EQ(found.size(), 1u) << Joined(found);
    EXPECT_TRUE(Says(found, "Gym", "(x 985-1030, y 302-318) reaches outside the screen")) << Joined(found);
}

TEST_F(LayoutChecker, AMetersNumberReadsGlyphByGlyphSmallCapitalsAreToldAndAScreenMustComeUp) {
    // A white outlined number over a light-green fill and the dark empty track beyond it, as the
    // attribute meters drew it: where it lies on the fill it cannot be read.
    const auto meter = [](int fill) {
        return [fill](Sample&) {
            platform::SetColor(0, 0, 0);
            platform::DrawRect(100, 500, 200, 24);
            platform::SetColor(96, 191, 96);
            platform::DrawRect(102, 502, static_cast<float>(fill), 20);
            const int x = 200 - Fonts::Get("oxs")->TextWidth("108/200") / 2;
            const int y = 500 + (24 - Fonts::Get("oxs")->TextHeight("108/200")) / 2;
            Write("oxs", "108/200", x, y);
        };
    };
    EXPECT_TRUE(Look("empty meter", meter(40)).empty()) << Joined(findings);
    EXPECT_TRUE(Says(Look("filling meter", meter(110)), "108/200", "over a meter's fill"))
        << Joined(findings);

    // Capitals under 8 pixels tall are told, measured as drawn: the small font shrunk to three
    // quarters through the transform is; the same font at its own size and a larger one are not.
    Look("small", [](Sample&) {
        platform::PushMatrix();
        platform::Translate(150, 450);
        platform::Scale(0.75f, 0.75f);
        Write("s", "Lvl 1", 0, 0);
        platform::PopMatrix();
        Write("s", "Lvl 2", 150, 300);
        Write("n", "Lvl 3", 150, 250);
    });
    ASSERT_EQ(findings.size(), 1u) << Joined(findings);
    EXPECT_TRUE(Says(findings, "Lvl 1", "capitals stand 6 px tall")) << Joined(findings);

    // A popup that opens is looked at; one that never does is a finding, not a silent pass.
    findings.clear();
    int frames = 0;
    EXPECT_TRUE(visit.Await(
        "a popup", [&frames] { return ++frames > 3; }, 10));
    EXPECT_TRUE(findings.empty()) << Joined(findings);
    EXPECT_FALSE(visit.Await(
        "a popup that never opens", [] { return false; }, 10));
    EXPECT_TRUE(Mentions(findings, "a popup that never opens at 1000x600: not reached")) << Joined(findings);
}

}  // namespace
