// The asserting loaders and the screen data layers, against the real engine layer.
#include "core/loaders.hpp"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>

#include "core/briskdata.hpp"
#include "core/exception.hpp"
#include "platform/app.hpp"
#include "platform/engine.hpp"
#include "platform/imagecodec.hpp"
#include "platform/testing.hpp"

namespace fs = std::filesystem;

namespace {

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "brisk-core-XXXXXX").string();
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path, ec);
    }
    std::string path;
};

// An 8 x 4 picture: the left half red, the right half blue.
bool WriteBar(const std::string& file) {
    std::vector<uint8_t> rgba(8 * 4 * 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            uint8_t* p = &rgba[static_cast<size_t>((y * 8 + x) * 4)];
            p[0] = x < 4 ? 255 : 0;
            p[2] = x < 4 ? 0 : 255;
            p[3] = 255;
        }
    }
    return platform::WritePNG(file, 8, 4, rgba.data());
}

std::string AssertMessage(const std::function<void()>& f) {
    try {
        f();
    } catch (const AssertException& e) {
        return e.Message();
    }
    return "<no assertion>";
}

struct LayerApp : platform::App {
    std::function<void()> draw;
    int renders = 0;
    void OnCreate() override { platform::OpenGraphics(32, 32, 0, 60, 0); }
    void OnRender() override {
        if (++renders == 1) return;
        platform::Cls(0, 0, 0);
        if (draw) draw();
    }
};
LayerApp* layerApp = nullptr;
void InitNothing() {}
void MakeLayerApp() { layerApp = new LayerApp; }

}  // namespace

TEST(Loaders, FailuresAssertWithThePath) {
    ScratchDir dir;
    ASSERT_FALSE(dir.path.empty());
    const std::string bar = dir.path + "/bar.png";
    ASSERT_TRUE(WriteBar(bar));

    platform::ImagePtr whole = LoadImageChecked(bar, 0);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->Frames(), 1);
    EXPECT_EQ(whole->Width(), 8);
    EXPECT_EQ(whole->Height(), 4);

    platform::ImagePtr framed = LoadFramedImage(bar, 4, 4, 2);
    ASSERT_TRUE(framed);
    EXPECT_EQ(framed->Frames(), 2);
    EXPECT_EQ(framed->Width(), 4);
    EXPECT_FLOAT_EQ(framed->HandleX(), 2.0f);  // each frame handled at its centre
    EXPECT_FLOAT_EQ(framed->HandleY(), 2.0f);

    const std::string missing = dir.path + "/missing.png";
    EXPECT_EQ(AssertMessage([&] { LoadImageChecked(missing, 0); }), "Error loading bitmap " + missing);
    EXPECT_EQ(AssertMessage([&] { LoadFramedImage(missing, 4, 4, 2); }), "Error loading bitmap " + missing);
    const std::string noSound = dir.path + "/missing.ogg";
    EXPECT_EQ(AssertMessage([&] { LoadSoundChecked(noSound); }), "Error loading sound " + noSound);
}

TEST(BriskData, ObjectsLookUpOnceAndOnlyWhenDrawn) {
    int lookups = 0;
    platform::ImagePtr none;
    BriskDataObject::imageFinder = [&](const std::string&) {
        ++lookups;
        return none;
    };
    BriskDataObject object;
    object.Render2(0, 0);  // no name
    object.imageName = "Sky";
    object.visible = 0;
    object.Render2(0, 0);
    object.visible = 1;
    object.alpha = 0.0f;
    object.Render2(0, 0);
    EXPECT_EQ(lookups, 0);
    object.alpha = 0.5f;
    object.Render2(0, 0);  // the bank has no such image: nothing drawn, asked again next time
    EXPECT_EQ(lookups, 1);
    BriskDataObject::imageFinder = nullptr;
}

TEST(BriskData, LayersDrawTheirVisibleObjects) {
    ScratchDir dir;
    const std::string bar = dir.path + "/bar.png";
    ASSERT_TRUE(WriteBar(bar));
    int lookups = 0;
    BriskDataObject::imageFinder = [&](const std::string& name) {
        ++lookups;
        return name == "Bar" ? platform::LoadImage(bar) : nullptr;
    };

    BriskDataLayer layer;
    auto shown = std::make_shared<BriskDataObject>();
    shown->imageName = "Bar";
    shown->x = 2;
    shown->y = 3;
    shown->scaleX = shown->scaleY = 1.0f;
    shown->green = 0;  // tint: red stays red, blue stays blue
    auto hidden = std::make_shared<BriskDataObject>();
    hidden->imageName = "Bar";
    hidden->visible = 0;
    hidden->x = 20;
    hidden->scaleX = hidden->scaleY = 1.0f;
    layer.objects.Push(shown);
    layer.objects.Push(hidden);
    BriskDataLayer empty;

    platform::EngineOptions options;
    options.headless = true;
    options.fakeClock = true;
    options.messageBoxes = false;
    options.dataRoot = dir.path;
    options.appDataFolder = dir.path;
    ASSERT_TRUE(platform::driver::Start(InitNothing, MakeLayerApp, options));
    ASSERT_TRUE(platform::driver::Step(1));
    layerApp->draw = [&] {
        empty.Render2(0, 0);
        layer.Render2(10, 10);
    };
    ASSERT_TRUE(platform::driver::Step(2));
    auto pixel = [](int x, int y) {
        auto p = platform::driver::ReadPixels(x, y, 1, 1);
        return p.size() == 4 ? std::vector<int>{p[0], p[1], p[2]} : std::vector<int>{};
    };
    EXPECT_EQ(pixel(12, 13), (std::vector<int>{255, 0, 0}));  // offset + position
    EXPECT_EQ(pixel(17, 16), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(pixel(11, 13), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(pixel(30, 10), (std::vector<int>{0, 0, 0}));  // the hidden object drew nothing
    EXPECT_EQ(lookups, 1);                                  // looked up at the first draw only
    EXPECT_TRUE(shown->image);
    EXPECT_FALSE(hidden->image);

    platform::driver::Stop();
    delete layerApp;
    layerApp = nullptr;
    BriskDataObject::imageFinder = nullptr;
}
