// The image bank: keys, the cache, frames and handles, screen-owned entries, the text atlas and
// the other atlas formats, and the messages of everything that can be missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/exception.hpp"
#include "framework/main.hpp"
#include "platform/app.hpp"
#include "tests/framework/bank_fixtures.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/probe_screen.hpp"

using bankfix::Colour;
using bankfix::AssertionText;
using bankfix::DataFolder;
using harness::Harness;

namespace {

class ImageBankTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.SetDataRoot(data.Root());
        ASSERT_TRUE(h.Start()) << h.LastReport();
        bank = briskGame->images.get();
    }

    DataFolder data;
    Harness h;
    ImageBank* bank = nullptr;
};

Colour Solid(uint8_t r, uint8_t g, uint8_t b) {
    return Colour{r, g, b, 255};
}

}  // namespace

TEST_F(ImageBankTest, StartUpLoadsTheLogoThroughTheBank) {
    ASSERT_NE(logoImage, nullptr);
    EXPECT_EQ(logoImage, bank->Get("LOGO1"));
    EXPECT_EQ(logoImage->name, "LOGO1");
    EXPECT_EQ(logoImage->path, "graphics/Logo1.png");
    EXPECT_EQ(logoImage->w, 41);
    EXPECT_EQ(logoImage->h, 21);
    // Integer halves, and no mid handle for the logo.
    EXPECT_EQ(logoImage->w2, 20);
    EXPECT_EQ(logoImage->h2, 10);
    EXPECT_FALSE(logoImage->MidHandle2());
    EXPECT_EQ(logoImage->image->HandleX(), 0);
    EXPECT_NE(logoImage->pixels, nullptr);
}

TEST_F(ImageBankTest, TheCacheReturnsTheSameEntryAndIgnoreCacheReplacesIt) {
    GameImage* first = bank->Load3("Logo1.png");
    EXPECT_EQ(first, logoImage);
    platform::ImagePtr firstPicture = first->image;

    // Loaded once: with the file gone the cached entry still comes back, untouched.
    std::filesystem::remove(data.Graphics() + "Logo1.png");
    EXPECT_EQ(bank->Load3("Logo1.png", "", true), first);
    EXPECT_EQ(first->image, firstPicture);
    EXPECT_FALSE(first->MidHandle2());

    // Without the cache the file is read again, and a file that is gone says so.
    EXPECT_EQ(AssertionText([&] { bank->Load3("Logo1.png", "", false, true); }),
              "Error loading bitmap graphics/Logo1.png");
    EXPECT_EQ(bank->Get("LOGO1"), first);

    bankfix::WritePNG(data.Graphics() + "Logo1.png", 30, 12, [](int, int) { return Solid(0, 0, 255); });
    GameImage* second = bank->Load3("Logo1.png", "", true, true);
    ASSERT_NE(second, first);
    EXPECT_EQ(bank->Get("LOGO1"), second);
    EXPECT_EQ(second->w, 30);
    EXPECT_TRUE(second->MidHandle2());
    EXPECT_EQ(second->image->HandleX(), 15);
    EXPECT_EQ(second->image->HandleY(), 6);
    // The replaced entry let go of its picture; whoever still holds it draws nothing.
    EXPECT_EQ(first->image, nullptr);
    first->Draw2(10, 10);
    EXPECT_EQ(bank->map.size(), 1u);
}

TEST_F(ImageBankTest, KeysAreUpperCaseAndFindIgnoresCase) {
    bankfix::WritePNG(data.Graphics() + "Walk.png", 8, 8, [](int, int) { return Solid(1, 2, 3); });
    bankfix::WritePNG(data.Graphics() + "walk.png", 6, 6, [](int, int) { return Solid(4, 5, 6); });
    GameImage* walk = bank->Load3("Walk.png");
    EXPECT_EQ(walk->name, "WALK");
    // A file whose name differs only in case shares the key, so the cached entry answers.
    EXPECT_EQ(bank->Load3("walk.png"), walk);
    EXPECT_EQ(walk->w, 8);
    EXPECT_EQ(bank->Find("walk"), walk);
    EXPECT_EQ(bank->Find("wAlK"), walk);
    EXPECT_EQ(bank->Get("walk"), nullptr);

    // A name override is the key, upper-cased too.
    GameImage* other = bank->Load3("walk.png", "small walk");
    EXPECT_EQ(other->name, "SMALL WALK");
    EXPECT_EQ(other->w, 6);
    EXPECT_EQ(bank->Find("Small Walk"), other);

    EXPECT_EQ(AssertionText([&] { bank->Find("nothing"); }), "Image 'NOTHING' not found in the ImageBank");
    EXPECT_EQ(AssertionText([&] { bank->Load3("sub/Missing.png"); }),
              "Error loading bitmap graphics/sub/Missing.png");
    EXPECT_EQ(bank->Get("MISSING"), nullptr);
}

TEST_F(ImageBankTest, AnimationsKeepTheirFrameSizeAndTheBanksHandle) {
    // Four frames of 10 x 6 in a row.
    bankfix::WritePNG(data.Graphics() + "Runner.png", 40, 6,
                      [](int x, int) { return Solid(x / 10 * 60, 0, 0); });
    GameImage* plain = bank->LoadAnim2("Runner.png", 10, 6, 4);
    EXPECT_EQ(plain->name, "RUNNER");
    EXPECT_EQ(plain->frames, 4);
    EXPECT_EQ(plain->image->Frames(), 4);
    EXPECT_EQ(plain->w, 10);
    EXPECT_EQ(plain->h, 6);
    EXPECT_EQ(plain->w2, 5);
    EXPECT_EQ(plain->h2, 3);
    // The framed loader centres the handles; without the mid flag the bank puts them back.
    EXPECT_EQ(plain->image->HandleX(), 0);
    EXPECT_EQ(plain->image->HandleY(), 0);

    GameImage* centred = bank->LoadAnim2("Runner.png", 10, 6, 4, nullptr, true, false, "RunnerMid");
    EXPECT_EQ(centred->image->HandleX(), 5);
    EXPECT_EQ(centred->image->HandleY(), 3);
    centred->MidHandle(false);
    EXPECT_FALSE(centred->MidHandle2());
    EXPECT_EQ(centred->image->HandleX(), 0);
    centred->SetHandle(2, 4);
    EXPECT_EQ(centred->image->HandleY(), 4);

    centred->SetMaskColor(1, 2, 3);
    EXPECT_EQ(centred->maskGreen, 2);
    // Drawing a frame the image does not have is harmless.
    centred->Draw2(5, 5, 0, 1, 1, 4);
    centred->Draw2(5, 5, 0, 1, 1, -1);
    centred->DrawSubImage(5, 5, 0, 0, 4, 4, 0, 1, 1, 9);
    EXPECT_TRUE(h.Step());
}

TEST_F(ImageBankTest, ScreenOwnedEntriesLoadWhenTheirScreenStartsAndEveryTimeAfter) {
    bankfix::WritePNG(data.Graphics() + "Banner.png", 12, 4, [](int, int) { return Solid(9, 9, 9); });
    bankfix::WritePNG(data.Graphics() + "Strip.png", 24, 4, [](int, int) { return Solid(9, 9, 9); });
    GameImage* banner = bank->Load3("Banner.png", "", true, false, false, 0, 0, 0, true, "Title");
    GameImage* strip =
        bank->LoadAnim2("Strip.png", 12, 4, 2, nullptr, false, false, "", false, 0, 0, 0, true, "title");
    EXPECT_EQ(banner->image, nullptr);
    EXPECT_EQ(banner->screenName, "TITLE");
    // A waiting entry is not found, and debug listings leave it out.
    EXPECT_EQ(AssertionText([&] { bank->Find("banner"); }), "Image 'BANNER' not found in the ImageBank");
    briskGame->debugOn = true;
    testing::internal::CaptureStdout();
    EXPECT_THROW(bank->Find("strip"), AssertException);
    std::string listing = testing::internal::GetCapturedStdout();
    briskGame->debugOn = false;
    EXPECT_NE(listing.find("LOGO1 is stored in the image map."), std::string::npos) << listing;
    EXPECT_EQ(listing.find("BANNER"), std::string::npos) << listing;

    harness::StartProbe("map", 0, 0, 0);
    EXPECT_EQ(banner->image, nullptr);

    harness::StartProbe("TITLE", 0, 0, 0);
    EXPECT_EQ(bank->Find("Banner"), banner);
    EXPECT_EQ(banner->w, 12);
    EXPECT_EQ(banner->image->HandleX(), 6);
    EXPECT_EQ(bank->Find("strip")->image->Frames(), 2);
    EXPECT_EQ(strip->w, 12);
    EXPECT_EQ(banner->name, "BANNER");

    // The next start of a screen of that name loads it again.
    platform::ImagePtr before = banner->image;
    harness::StartProbe("Title", 0, 0, 0);
    EXPECT_NE(banner->image, before);
    ASSERT_TRUE(h.Step());
}

TEST_F(ImageBankTest, TextAtlasRegionsAreCutFromTheirPage) {
    bankfix::WritePNG(data.Graphics() + "Page.png", 64, 32,
                      [](int x, int) { return Solid(x < 32 ? 255 : 0, 0, 0); });
    // A region cut short at the end of the file, and numbers that are missing (the index reads 0).
    std::string text = bankfix::AtlasHeader("Page.png") + bankfix::Region("walk", 0, 0, 16, 16, 3) +
                       bankfix::Region("Logo1", 16, 0, 16, 8) +
                       "odd\n rotate: false\n xy: 32\n size: 8, 8\n orig\n offset\n index\n" +
                       "cut\n rotate: false\n xy: 0, 16\n";
    bankfix::WriteText(data.Graphics() + "Atlas01.txt", text);
    GameImage* logoBefore = logoImage;
    bank->LoadAtlas("Atlas01.txt", 1);

    const std::string atlasKey = "_briskAtlas_ATLAS01";
    GameImage* page = bank->Get(atlasKey);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->w, 64);
    // Find upper-cases everything, so it never reaches the page.
    EXPECT_THROW(bank->Find(atlasKey), AssertException);

    GameImage* walk = bank->Find("walk3");
    EXPECT_EQ(walk->name, "WALK3");
    EXPECT_EQ(bank->Get("WALK"), nullptr);
    EXPECT_EQ(walk->atlasName, atlasKey);
    EXPECT_EQ(walk->subX, 0);
    EXPECT_EQ(walk->w, 16);
    EXPECT_EQ(walk->h2, 8);
    EXPECT_EQ(walk->image->Frames(), 1);
    EXPECT_EQ(walk->image->texture, page->image->texture);
    EXPECT_EQ(walk->image->HandleX(), 0);

    // A region replaces an entry of the same name.
    GameImage* logoRegion = bank->Find("LOGO1");
    EXPECT_NE(logoRegion, logoBefore);
    EXPECT_EQ(logoRegion->subX, 16);
    EXPECT_EQ(logoRegion->h, 8);
    EXPECT_EQ(logoBefore->image, nullptr);

    GameImage* odd = bank->Find("ODD0");
    EXPECT_EQ(odd->subX, 32);
    EXPECT_EQ(odd->subY, 0);
    EXPECT_EQ(odd->w, 8);
    EXPECT_EQ(bank->Get("CUT"), nullptr);
    EXPECT_EQ(bank->map.size(), 4u);
}

TEST_F(ImageBankTest, AnEmptyRegionNameEndsTheAtlasAndMidHandlesApplyToEveryRegion) {
    bankfix::WritePNG(data.Graphics() + "Page.png", 32, 32, [](int, int) { return Solid(0, 255, 0); });
    std::string text = bankfix::AtlasHeader("Page.png") + bankfix::Region("One", 0, 0, 10, 6) + "\n" +
                       bankfix::Region("Two", 10, 0, 8, 8) + bankfix::Region("Outside", 30, 30, 8, 8);
    bankfix::WriteText(data.Graphics() + "Atlas02.txt", text);
    bank->LoadAtlas("Atlas02.txt", 1, true);
    GameImage* one = bank->Find("one");
    EXPECT_TRUE(one->MidHandle2());
    EXPECT_EQ(one->image->HandleX(), 5);
    EXPECT_EQ(one->image->HandleY(), 3);
    EXPECT_EQ(bank->Get("TWO"), nullptr);

    // A region beyond its page (past any of its edges) exists but has nothing to draw.
    bankfix::WriteText(data.Graphics() + "Atlas03.txt",
                       bankfix::AtlasHeader("Page.png") + bankfix::Region("Outside", 30, 30, 8, 8) +
                           bankfix::Region("Left", -1, 0, 8, 8) + bankfix::Region("Above", 4, -8, 8, 8) +
                           bankfix::Region("Wide", 4, 4, 2147483647, 8) +
                           bankfix::Region("Low", 4, 2147483647, 8, 8));
    testing::internal::CaptureStdout();
    bank->LoadAtlas("Atlas03.txt", 1);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Outside"), std::string::npos) << out;
    GameImage* outside = bank->Find("outside");
    EXPECT_EQ(outside->image, nullptr);
    EXPECT_EQ(bank->Find("left")->image, nullptr);
    EXPECT_EQ(bank->Find("above")->image, nullptr);
    EXPECT_EQ(bank->Find("wide")->image, nullptr);
    EXPECT_EQ(bank->Find("low")->image, nullptr);
    outside->Draw2(0, 0);
    EXPECT_TRUE(h.Step());
}

TEST_F(ImageBankTest, AtlasFailuresSayWhatIsMissing) {
    EXPECT_EQ(AssertionText([&] { bank->LoadAtlas("None.txt", 1); }),
              "Error loading Atlas graphics/None.txt 0=0");
    bankfix::WriteText(data.Graphics() + "Lost.txt",
                       bankfix::AtlasHeader("LostPage.png") + bankfix::Region("a", 0, 0, 1, 1));
    EXPECT_EQ(AssertionText([&] { bank->LoadAtlas("Lost.txt", 1); }),
              "Error loading bitmap atlas graphics/LostPage.png");
    try {
        bank->LoadAtlas("Lost.txt", 3);
        FAIL() << "an unknown format was accepted";
    } catch (const platform::RuntimeError& e) {
        EXPECT_STREQ(e.what(), "Invalid atlas format");
    }
}

TEST_F(ImageBankTest, XmlAndJsonAtlasesGiveTheSameRegions) {
    bankfix::WritePNG(data.Graphics() + "Sheet.png", 40, 20, [](int, int) { return Solid(0, 0, 200); });
    bankfix::WriteText(data.Graphics() + "Sheet.xml",
                       "<TextureAtlas imagePath=\"Sheet.png\">\n"
                       "  <SubTexture name=\" Star \" x=\"4\" y=\"2\" width=\"10\" height=\"12\"/>\n"
                       "  <SubTexture name=\"Moon\" x=\"20\" y=\"0\" width=\"20\" height=\"20\"/>\n"
                       "</TextureAtlas>\n");
    bank->LoadAtlas("Sheet.xml", 0);
    GameImage* star = bank->Find("STAR");
    EXPECT_EQ(star->subX, 4);
    EXPECT_EQ(star->subY, 2);
    EXPECT_EQ(star->w, 10);
    EXPECT_EQ(star->h, 12);
    EXPECT_EQ(star->atlasName, "_briskAtlas_SHEET");
    EXPECT_EQ(bank->Find("moon")->w, 20);

    bankfix::WriteText(data.Graphics() + "Sheet.json",
                       R"({"frames": {"Sun": {"frame": {"x": 1, "y": 3, "w": 7, "h": 9}, "rotated": false,
                           "trimmed": false, "spriteSourceSize": {"x": 0, "y": 0, "w": 7, "h": 9},
                           "sourceSize": {"w": 7, "h": 9}},
                           "Comet\u0021": {"frame": {"x": 10, "y": 0, "w": 5, "h": 5}}},
                          "meta": {"image": "Sheet.png", "size": {"w": 40, "h": 20}}})");
    bank->LoadAtlas("Sheet.json", 2, true);
    GameImage* sun = bank->Find("sun");
    EXPECT_EQ(sun->subX, 1);
    EXPECT_EQ(sun->subY, 3);
    EXPECT_EQ(sun->w, 7);
    EXPECT_EQ(sun->h, 9);
    EXPECT_EQ(sun->image->HandleX(), 3);
    EXPECT_EQ(bank->Find("COMET!")->subX, 10);

    // Broken text never reads past its end.
    bankfix::WriteText(data.Graphics() + "Broken.json",
                       R"({"meta": {"image": "Sheet.png"}, "frames": {"A": {"frame": {"x": 1, "y)");
    bank->LoadAtlas("Broken.json", 2);
    EXPECT_EQ(bank->Find("a")->subX, 1);
}
