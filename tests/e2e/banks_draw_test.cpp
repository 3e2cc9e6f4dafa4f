// Bank images on screen: the frames of an animation, an atlas region, part of a frame, frames
// that do not exist, and pictures loaded when their screen starts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "framework/main.hpp"
#include "tests/framework/bank_fixtures.hpp"
#include "tests/support/harness.hpp"

using bankfix::Colour;
using bankfix::DataFolder;
using harness::Harness;
using harness::Rgba;

namespace {

// Draws bank entries by name every frame.
class GalleryScreen : public Screen {
  public:
    GalleryScreen() : Screen("gallery") {}
    void Start() override {}
    void Update2() override {}
    void Render() override {
        platform::Cls(0, 0, 0);
        ImageBank& images = *briskGame->images;
        GameImage* lights = images.Find("lights");
        lights->Draw2(100, 100, 0, 1, 1, 1);
        lights->Draw2(200, 100, 0, 2, 2, 2);
        lights->Draw2(400, 100, 0, 1, 1, 7);
        lights->DrawSubImage(480, 60, 0, 0, 10, 10, 0, 1, 1, 0);
        images.Find("gem")->Draw2(300.4f, 90.6f, 0, 1, 1, 0, true);
        images.Find("banner")->Draw2(100, 300);
    }
};

bool Near(const Rgba& p, int r, int g, int b) {
    return std::abs(p.r - r) <= 2 && std::abs(p.g - g) <= 2 && std::abs(p.b - b) <= 2;
}

}  // namespace

TEST(BanksOnScreen, FramesRegionsAndSubImagesPutTheRightPixelsOnScreen) {
    DataFolder data;
    // Three frames of 20 x 20: red, green, blue.
    bankfix::WritePNG(data.Graphics() + "Lights.png", 60, 20, [](int x, int) {
        int f = x / 20;
        return Colour{static_cast<uint8_t>(f == 0 ? 255 : 0), static_cast<uint8_t>(f == 1 ? 255 : 0),
                      static_cast<uint8_t>(f == 2 ? 255 : 0), 255};
    });
    // An atlas page: yellow on the left, cyan on the right.
    bankfix::WritePNG(data.Graphics() + "Page.png", 32, 16, [](int x, int) {
        return x < 16 ? Colour{255, 255, 0, 255} : Colour{0, 255, 255, 255};
    });
    bankfix::WriteText(data.Graphics() + "Atlas01.txt",
                       bankfix::AtlasHeader("Page.png") + bankfix::Region("Gem", 16, 0, 16, 16));
    bankfix::WritePNG(data.Graphics() + "Banner.png", 50, 10, [](int, int) {
        return Colour{255, 128, 0, 255};
    });

    Harness h;
    h.SetDataRoot(data.Root());
    ASSERT_TRUE(h.Start()) << h.LastReport();
    ImageBank& images = *briskGame->images;
    images.LoadAnim2("Lights.png", 20, 20, 3, nullptr, true);
    images.LoadAtlas("Atlas01.txt", 1);
    images.Load3("Banner.png", "", false, false, false, 0, 0, 0, true, "gallery");
    std::make_shared<GalleryScreen>()->PreStart();
    ASSERT_TRUE(h.Step(2)) << h.LastReport();
    h.SaveFrame("banks_gallery");

    // Frame 1 (green), centred on (100, 100).
    EXPECT_TRUE(Near(h.Pixel(100, 100), 0, 255, 0));
    EXPECT_TRUE(Near(h.Pixel(92, 92), 0, 255, 0));
    EXPECT_TRUE(Near(h.Pixel(88, 100), 0, 0, 0));
    EXPECT_TRUE(Near(h.Pixel(112, 100), 0, 0, 0));
    // Frame 2 (blue) at double size: 40 x 40 about its centre.
    EXPECT_TRUE(Near(h.Pixel(182, 100), 0, 0, 255));
    EXPECT_TRUE(Near(h.Pixel(218, 118), 0, 0, 255));
    EXPECT_TRUE(Near(h.Pixel(178, 100), 0, 0, 0));
    // A frame the image does not have draws nothing.
    EXPECT_TRUE(Near(h.Pixel(400, 100), 0, 0, 0));
    // Ten by ten pixels of frame 0 (red), the handle still at the frame's centre.
    EXPECT_TRUE(Near(h.Pixel(472, 52), 255, 0, 0));
    EXPECT_TRUE(Near(h.Pixel(478, 58), 255, 0, 0));
    EXPECT_TRUE(Near(h.Pixel(482, 52), 0, 0, 0));
    // The atlas region is the page's right half, top-left handle, position rounded to (300, 91).
    EXPECT_TRUE(Near(h.Pixel(301, 92), 0, 255, 255));
    EXPECT_TRUE(Near(h.Pixel(314, 105), 0, 255, 255));
    EXPECT_TRUE(Near(h.Pixel(299, 95), 0, 0, 0));
    EXPECT_TRUE(Near(h.Pixel(308, 90), 0, 0, 0));
    EXPECT_TRUE(Near(h.Pixel(317, 95), 0, 0, 0));
    // Loaded when the screen started.
    EXPECT_TRUE(Near(h.Pixel(101, 301), 255, 128, 0));
    EXPECT_TRUE(Near(h.Pixel(148, 308), 255, 128, 0));
}

TEST(BanksOnScreen, StartUpWithoutTheLogoEndsWithAReportNamingTheFile) {
    DataFolder data;
    std::filesystem::remove(data.Graphics() + "Logo1.png");
    Harness h;
    h.SetDataRoot(data.Root());
    EXPECT_FALSE(h.Start() && h.Step());
    EXPECT_FALSE(h.Running());
    EXPECT_NE(h.LastReport().find("Error loading bitmap graphics/Logo1.png"), std::string::npos)
        << h.LastReport();
    EXPECT_EQ(logoImage, nullptr);
}

TEST(BanksOnScreen, TheBakedLogoAndAtlasRegionsDraw) {
    Harness h;
    ASSERT_TRUE(h.Start()) << h.LastReport();
    if (!briskGame->images->Contains("LOGO1")) GTEST_SKIP() << "no baked data";
    ImageBank& images = *briskGame->images;
    images.LoadAtlas("Atlas01.txt", 1);
    images.LoadAtlas("Atlas03.txt", 1);
    struct Baked : Screen {
        Baked() : Screen("baked") {}
        void Start() override {}
        void Update2() override {}
        void Render() override {
            platform::Cls(40, 40, 60);
            logoImage->Draw2(300, 20);
            ImageBank& bank = *briskGame->images;
            bank.Find("MapScience")->Draw2(100, 300);
            bank.Find("TitleButton1")->Draw2(300, 300);
            bank.Find("Corner")->Draw2(650, 300);
        }
    };
    std::make_shared<Baked>()->PreStart();
    ASSERT_TRUE(h.Step());
    h.SaveFrame("banks_baked");
    // The logo covers most of its box with something other than the background.
    int painted = 0;
    std::vector<uint8_t> logo = h.ReadPixels(300, 20, 400, 160);
    for (size_t i = 0; i + 3 < logo.size(); i += 4) {
        if (logo[i] != 40 || logo[i + 1] != 40 || logo[i + 2] != 60) ++painted;
    }
    EXPECT_GT(painted, 400 * 160 / 4);
    GameImage* science = images.Find("mapscience");
    std::vector<uint8_t> region = h.ReadPixels(100, 300, science->w, science->h);
    int regionPainted = 0;
    for (size_t i = 0; i + 3 < region.size(); i += 4) {
        if (region[i] != 40 || region[i + 1] != 40 || region[i + 2] != 60) ++regionPainted;
    }
    EXPECT_GT(regionPainted, science->w * science->h / 4);
}
