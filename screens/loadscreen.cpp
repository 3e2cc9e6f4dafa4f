// The loading screen.
#include "screens/loadscreen.hpp"

#include <algorithm>
#include <climits>

#include "core/glyphfont.hpp"
#include "core/helpers.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "framework/main.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"
#include "platform/random.hpp"
#include "screens/cutscene.hpp"
#include "screens/interlude.hpp"
#include "screens/title.hpp"

const std::array<const char*, 27> LoadScreen::loadingTexts = {
    "Initializing lightning tables...",
    "Launching rockets...",
    "Ordering new capes...",
    "Unpacking kittens...",
    "Decompressing compressors...",
    "Starting x-ray vision blocker...",
    "Eating cookies...",
    "Mowing lawns...",
    "Inventing transparent aluminum...",
    "Can anyone hear me?! I'm trapped inside the game!",
    "Jailing villains...",
    "Adjusting utility belt...",
    "Stabilizing front thrusters...",
    "Starting ion engine...",
    "Adlibbing silly loading text...",
    "Loading barrels...",
    "Loading cakes...",
    "Loading smileys...",
    "Loading christmas trees...",
    "Loading BSP trees...",
    "Loading triangulation data...",
    "Loading voice data...",
    "Unpacking special effects...",
    "Unpacking gizmos...",
    "Bringing the noise...",
    "Making chocolate mousse...",
    "Cooking penguins...",
};

namespace {

GameImage* Logo() {
    ImageBank& images = *briskGame->images;
    GameImage* logo = images.Get(UpperKey(StripPathAndExtension("Logo1.png")));
    if (!logo) logo = images.Load3("Logo1.png");
    return logo;
}

}  // namespace

LoadScreen::LoadScreen(const std::string& type) : Screen("Load"), type(type) {
    Layout();
    time = static_cast<float>(platform::Millisecs());
    diff = 10000;
}

void LoadScreen::Layout() {
    GameImage* logo = Logo();
    ly = Data::virtualHeight / 5;
    by = TruncToInt(static_cast<float>(ly) + static_cast<float>(logo->h) * 1.15f);
    ty = TruncToInt(static_cast<float>(by) + static_cast<float>(Data::virtualHeight) * 0.1f);
}

void LoadScreen::Start() {
    loader = std::make_unique<Loader>(type);
}

void LoadScreen::CheckRotate() {
    if (Data::screenRotated) Layout();
}

void LoadScreen::Update2() {
    CheckRotate();
    if (Data::backPressed) platform::EndApp();
    const float clock = static_cast<float>(platform::Millisecs());
    diff += clock - time;
    time = clock;
    Data::Update(1);
    loader->Progress();
    if (loader->done && Loader::preCache.empty()) Next();
}

void LoadScreen::Next() {
    if (type == "title") {
        TitleScreen::TitleScreen_new()->PreStart();
    } else if (type == "intro") {
        std::string anim = "intro_1";
        if (Data::virtualHeight > Data::virtualWidth) {
            anim = "intro_1_portrait";
        } else if (Profile::GetGlobalFlagInt("Widescreen") == 1) {
            anim = "intro_1_wide";
        }
        CutsceneScreen::CutsceneScreen_new(anim, "map")->PreStart();
    } else if (type == "game") {
        if (InterludeExits::exits.map) {
            InterludeExits::exits.map()->PreStart();
        } else if (first) {
            platform::PrintLine("No city map in this build to go on to");
        }
    }
    first = 0;
}

void LoadScreen::UpdateText() {
    if (diff <= 1000) return;
    diff = 0;
    // A draw can round up to the excluded end of its range: the last text is the highest index.
    const int index =
        std::min(TruncToInt(platform::Rnd(0.0f, 27.0f)), static_cast<int>(loadingTexts.size()) - 1);
    text = loadingTexts[static_cast<size_t>(index)];
    wrapped =
        Data::ExTextSplit(text, Fonts::Get("n"), TruncToInt(static_cast<float>(Data::virtualWidth) * 0.85f));
}

void LoadScreen::Render() {
    platform::Cls(0, 0, 0);
    const bool loading = loader && !loader->done;
    const float vw = static_cast<float>(Data::virtualWidth);
    const float vh = static_cast<float>(Data::virtualHeight);
    if (loading) {
        const float barX = vw * 0.25f;
        const float barY = static_cast<float>(by);
        const float barW = vw * 0.5f;
        const float barH = vh * 0.05f;
        platform::SetColor(128, 128, 128);
        platform::DrawRect(barX, barY, barW, barH);
        platform::SetColor(0, 0, 0);
        platform::DrawRect(barX + 2, barY + 2, barW - 4, barH - 4);
        if (loader->total > 0) {
            const float share = static_cast<float>(loader->total - loader->remainingItems) /
                                static_cast<float>(loader->total);
            platform::SetColor(96, 128, 255);
            platform::DrawRect(barX + 3, barY + 3, (barW - 6) * share, barH - 6);
        }
        platform::SetColor(255, 255, 255);
    }
    GameImage* logo = Logo();
    logo->Draw2(static_cast<float>((Data::virtualWidth - logo->w) / 2), static_cast<float>(ly));
    if (loading) {
        UpdateText();
        const int width = TruncToInt(vw * 0.85f);
        Data::ExDrawText((Data::virtualWidth - width) / 2, ty, wrapped, Fonts::Get("n"), 1, width, INT_MAX);
    } else {
        Loader::preCache.clear();
    }
}
