// Any script file loads as cutscenes and as battle effects, or is refused with a line naming it;
// an effect the table lacks still gives a script, never null. Every scale a step keeps is one a
// picture can be drawn at, and every step that gives a scale is drawn at it, upright and turned,
// on the software renderer the headless game uses: the file's numbers reach the drawing itself.
#include "gui/animations.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/engine.hpp"
#include "platform/graphics.hpp"
#include "platform/imagecodec.hpp"
#include "tests/fuzz/support.hpp"

namespace {

// A small window that draws the steps of the tables as they stand.
struct Stage : platform::App {
    platform::ImagePtr picture;

    void OnCreate() override { fuzz::Check(platform::OpenGraphics(64, 48, 0, 60, 0)); }
    void OnRender() override {
        if (!picture) picture = platform::LoadImage("graphics/Stage.png");
        fuzz::Check(picture != nullptr);
        platform::Cls(0, 0, 0);
        for (const auto* list : {&AnimationList::animations, &AnimationList::effects}) {
            for (const auto& item : *list) {
                for (const AnimationElement& e : item->elements) {
                    if (e.scale == AnimationElement::unset) continue;
                    const float scale = static_cast<float>(e.scale) / 100.0f;
                    const float x = e.x == AnimationElement::unset ? 32.0f : static_cast<float>(e.x);
                    const float y = e.y == AnimationElement::unset ? 24.0f : static_cast<float>(e.y);
                    platform::DrawImage(picture, x, y, 0, scale, scale, 0);
                    platform::DrawImage(picture, x, y, 30, scale, -scale, 0);
                }
            }
        }
    }
};

void InitNothing() {}

void MakeStage() {
    static Stage* stage = nullptr;
    if (!stage) stage = new Stage;
}

void CheckScales(const std::vector<std::unique_ptr<AnimationItem>>& list) {
    for (const auto& item : list) {
        for (const AnimationElement& e : item->elements)
            fuzz::Check(e.scale == AnimationElement::unset || std::abs(e.scale) <= 10000);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const fuzz::DataFolder& folder = fuzz::StartGame();
    std::vector<uint8_t> texels(8 * 4 * 4, 255);
    for (size_t i = 0; i < texels.size(); i += 16) texels[i + 1] = 0;  // a stripe every fourth texel
    const std::filesystem::path picture = platform::MapPath(platform::DataPath("graphics/Stage.png"));
    std::filesystem::create_directories(picture.parent_path());
    fuzz::Check(platform::WritePNG(picture.string(), 8, 4, texels.data()));
    platform::EngineOptions options;
    options.headless = true;
    options.fakeClock = true;
    options.messageBoxes = false;
    options.dataRoot = folder.Root();
    fuzz::Check(platform::driver::Start(InitNothing, MakeStage, options));
    fuzz::Check(platform::driver::Step(1));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::FreshAfterRun fresh;
    const fuzz::DataFolder& folder = fuzz::OwnFolder();
    folder.Put("animations/main.xml", data, size);
    folder.Put("animations/fx.xml", data, size);
    if (!fuzz::LoadRefused([] { AnimationList::Load("animations/main.xml"); })) {
        for (const auto& item : AnimationList::animations)
            fuzz::Check(AnimationList::Get(item->id) != nullptr);
    }
    if (!fuzz::LoadRefused([] { AnimationList::LoadFX("animations/fx.xml"); })) {
        for (const auto& item : AnimationList::effects)
            fuzz::Check(AnimationList::GetFX(item->id) != nullptr);
        fuzz::Check(AnimationList::GetFX("no such effect") != nullptr);
    }
    CheckScales(AnimationList::animations);
    CheckScales(AnimationList::effects);
    fuzz::Check(platform::driver::Step(1));
    return 0;
}
