// The baked fonts drawn through the game's own font code on a real headless frame.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/glyphfont.hpp"
#include "framework/screen.hpp"
#include "platform/graphics.hpp"
#include "tests/support/harness.hpp"

namespace {

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};

// Bounding box of the bright pixels in a region of the last frame.
Box BrightBox(const harness::Harness& h, int x, int y, int w, int hgt) {
    std::vector<uint8_t> px = h.ReadPixels(x, y, w, hgt);
    Box box;
    for (int j = 0; j < hgt; ++j) {
        for (int i = 0; i < w; ++i) {
            const uint8_t* p = &px[(j * w + i) * 4];
            if (p[0] > 160 && p[1] > 160 && p[2] > 160) {
                box.left = std::min(box.left, x + i);
                box.right = std::max(box.right, x + i);
                box.top = std::min(box.top, y + j);
                box.bottom = std::max(box.bottom, y + j);
                ++box.count;
            }
        }
    }
    return box;
}

class TextScreen : public Screen {
public:
    explicit TextScreen(GlyphFont* font) : Screen("text"), font(font) {}
    void Start() override {}
    void Update2() override {}
    void Render() override {
        platform::Cls(0, 0, 0);
        platform::SetColor(255, 255, 255);
        font->DrawText2(line, 100, 100, 0);
        font->DrawText2("Centred", 500, 300, 1);
        font->DrawText2("Right", 900, 500, 2);
    }
    GlyphFont* font;
    std::string line = "Quellfast";
};

TEST(BakedFonts, TextIsDrawnWhereItIsMeasured) {
    harness::Harness h;
    ASSERT_TRUE(h.Start());
    for (const char* id : Fonts::Ids()) {
        auto font = std::make_unique<GlyphFont>(Fonts::FileFor(id));
        ASSERT_NE(font->image[0], nullptr) << Fonts::FileFor(id);
        ASSERT_GT(font->TextWidth("Quellfast"), 0) << Fonts::FileFor(id);
    }
    GlyphFont font("Yikes24");
    auto screen = std::make_shared<TextScreen>(&font);
    screen->PreStart();
    ASSERT_TRUE(h.Step());
    h.SaveFrame("fonts_yikes24");

    int w = font.TextWidth("Quellfast"), hgt = font.TextHeight("Quellfast");
    // Left-aligned: ink lies inside the measured box (a couple of pixels of slack for outlines).
    Box left = BrightBox(h, 60, 60, 400, 100);
    ASSERT_GT(left.count, 100);
    EXPECT_GE(left.left, 100 - 2);
    EXPECT_LE(left.left, 100 + 6);
    EXPECT_LE(left.right, 100 + w + 2);
    EXPECT_GT(left.right, 100 + w / 2);
    EXPECT_GE(left.top, 100 - 2);
    EXPECT_LE(left.bottom, 100 + hgt + 2);

    // Centred and right-aligned text sit around and before their anchor.
    Box centred = BrightBox(h, 300, 260, 400, 100);
    ASSERT_GT(centred.count, 50);
    EXPECT_NEAR((centred.left + centred.right) / 2.0, 500, 8);
    Box right = BrightBox(h, 700, 460, 300, 100);
    ASSERT_GT(right.count, 50);
    EXPECT_LE(right.right, 900 + 2);
    EXPECT_GE(right.right, 900 - 8);

    // The small fonts are read at 1000 x 600 only with capitals 8 pixels tall: the outlined one
    // (the map corner's rank, upgrade names, power captions, trophies' descriptions) inside its
    // outline, the plain one (the sheet's levels, upgrade prices, the power-up tree's captions,
    // "Click to continue") in ink strong enough to count.
    for (const char* id : {"oxs", "s"}) {
        SCOPED_TRACE(id);
        GlyphFont small(Fonts::FileFor(id));
        screen->font = &small;
        screen->line = "HEMT";
        ASSERT_TRUE(h.Step());
        const Box capitals = BrightBox(h, 90, 90, 200, 60);
        ASSERT_GT(capitals.count, 10);
        EXPECT_GE(capitals.bottom - capitals.top + 1, 8);
    }
}

}  // namespace
