// The layout check on a screen drawn for it with the game's fonts and button picture: clean as laid
// out, it reports the caption of a widened font leaving its button, a text moved onto another, a
// text pushed off the screen and a text too faint for its background; a meter's number is held by
// its track, and a line lost under a plain panel is still judged.
#include <gtest/gtest.h>

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

// A caption on a button and a line of text below it, on a purple ground.
class Sample : public Screen {
  public:
    Sample() : Screen("sample") {}
    void Start() override {}
    void Update2() override {}
    void Render() override {
        platform::Cls(70, 40, 110);
        // The button's top-left corner at (400, 200), whatever its handle.
        GameImage* button = briskGame->images->Find("Buttons01");
        button->Draw2(400 + button->image->HandleX(), 200 + button->image->HandleY());
        GlyphFont* caption = Fonts::Get("on");
        caption->DrawText2("Play", 500, 200 + (96 - caption->TextHeight("Play")) / 2, 1);
        platform::SetColor(lineColour[0], lineColour[1], lineColour[2]);
        Fonts::Get("n")->DrawText("Options and trophies", lineX, lineY);
        platform::SetColor(255, 255, 255);
        if (meter) {
            // A meter: its black track, a green fill over a fifth of it, its number over both.
            platform::SetColor(0, 0, 0);
            platform::DrawRect(100, 500, 200, 20);
            platform::SetColor(60, 160, 60);
            platform::DrawRect(102, 502, 40, 16);
            platform::SetColor(255, 255, 255);
            Fonts::Get("n")->DrawText("12/60", meterTextX, 503);
        }
        if (covered) {
            // A line under a panel that a later line is written on.
            Fonts::Get("n")->DrawText("Under the panel", 100, 420);
            platform::SetColor(250, 250, 250);
            platform::DrawRect(80, 400, 300, 60);
            platform::SetColor(0, 0, 0);
            Fonts::Get("n")->DrawText("On the panel", 110, 422);
            platform::SetColor(255, 255, 255);
        }
    }
    bool meter = false, covered = false;
    int meterTextX = 130;
    int lineX = 400, lineY = 360;
    float lineColour[3] = {255, 255, 255};
};

bool Mentions(const std::vector<std::string>& findings, const std::string& words) {
    for (const std::string& line : findings) {
        if (line.find(words) != std::string::npos) return true;
    }
    return false;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    return all;
}

}  // namespace

TEST(LayoutChecker, ReportsAWidenedFontAMovedTextTheScreenEdgeAndPoorContrast) {
    std::vector<std::string> findings;
    layout::Visit visit(BRISK_DATA_ROOT, true, findings);
    ASSERT_TRUE(visit.Start());
    for (const char* id : {"on", "n"}) Fonts::Set(id, std::make_unique<GlyphFont>(Fonts::FileFor(id)));
    briskGame->images->LoadAnim2("Buttons01.png", 200, 96, 3);
    auto sample = std::make_shared<Sample>();
    sample->PreStart();
    visit.Game().Step(2);

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
    EXPECT_TRUE(Mentions(findings, "\"Play\"")) << Joined(findings);
    EXPECT_TRUE(Mentions(findings, "\"Options and trophies\"")) << Joined(findings);
    EXPECT_TRUE(Mentions(findings, "overlap")) << Joined(findings);

    // Pushed past the right edge; then back in place, in a purple hardly darker than the ground.
    findings.clear();
    sample->lineY = 360;
    sample->lineX = 900;
    visit.Look("pushed");
    EXPECT_TRUE(Mentions(findings, "\"Options and trophies\"")) << Joined(findings);
    EXPECT_TRUE(Mentions(findings, "outside the screen")) << Joined(findings);
    findings.clear();
    sample->lineX = 400;
    sample->lineColour[0] = 50, sample->lineColour[1] = 25, sample->lineColour[2] = 90;
    visit.Look("faint");
    ASSERT_EQ(findings.size(), 1u) << Joined(findings);
    EXPECT_TRUE(Mentions(findings, "reads poorly")) << Joined(findings);

    // A meter's number belongs to its whole track, not to the fill's share of it.
    findings.clear();
    sample->lineColour[0] = sample->lineColour[1] = sample->lineColour[2] = 255;
    sample->meter = true;
    visit.Look("meter");
    EXPECT_TRUE(findings.empty()) << Joined(findings);
    sample->meterTextX = 280;
    visit.Look("meter over");
    EXPECT_TRUE(Mentions(findings, "\"12/60\"")) << Joined(findings);
    EXPECT_TRUE(Mentions(findings, "crosses the edge of panel")) << Joined(findings);

    // Only a bubble or popup frame hides a text on purpose: one lost under a plain panel still counts.
    findings.clear();
    sample->meter = false;
    sample->covered = true;
    visit.Look("covered");
    EXPECT_TRUE(Mentions(findings, "\"Under the panel\"")) << Joined(findings);
    EXPECT_TRUE(Mentions(findings, "overlap")) << Joined(findings);
}
