// The per-frame update of the game-wide state: play time, a turned device, the back and menu keys,
// the mouse and its trail, the frame clock and the tweens it drives.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

#include "framework/framework.hpp"
#include "framework/main.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"
#include "platform/graphics.hpp"
#include "platform/input.hpp"
#include "platform/random.hpp"

void Data::ResetUpdate() {
    curMillisecs = prevMillisecs = platform::Millisecs();
    clockStarted = true;
    frameMsInt = 0;
    frameMs = 0;
}

void Data::Update(int trail) {
    screenRotated = 0;

    Profile::uploadTimer += frameMs;
    Profile::playTimeAccumulator += frameMs;
    if (Profile::playTimeAccumulator > 1000.0f) {
        const int seconds = TruncToInt(Profile::playTimeAccumulator / 1000.0f);
        Profile::AddGlobalFlagInt("TimePlayed", seconds);
        // Only a chosen character plays: on the title the last bound slot (perhaps one just
        // deleted) must not gain time.
        if (Profile::currentSlot >= 0) Profile::AddFlagInt("TimePlayed", seconds);
        Profile::playTimeAccumulator -= static_cast<float>(seconds) * 1000.0f;
    }

    // A square display has width == height in both orientations: that is no turn.
    const int deviceW = platform::DeviceWidth();
    const int deviceH = platform::DeviceHeight();
    if (deviceW != deviceH && deviceW == windowHeight && deviceH == windowWidth) {
        if (briskGame) {
            briskGame->SetScreenSize(static_cast<float>(virtualHeight), static_cast<float>(virtualWidth),
                                     true);
        }
        std::swap(virtualWidth, virtualHeight);
        windowWidth = deviceW;
        windowHeight = deviceH;
        screenRotated = 1;
        hooks.checkRotate.Run();
    }

    if (platform::KeyHit(417)) menuPressed = 1;
    if (platform::KeyHit(416) || platform::KeyHit(27)) backPressed = 1;

    mouseHeld = platform::MouseDown(0) ? 1 : 0;
    if (briskGame) {
        mouseVX = static_cast<float>(briskGame->mouseX);
        mouseVY = static_cast<float>(briskGame->mouseY);
    }

    if (mouseHeld && trail) {
        trailTimer -= frameMs;
        if (trailTimer <= 0) {
            trailTimer = 20;
            const float r = platform::Rnd(0.75f, 1.25f);
            const float size = platform::Rnd(1.0f, 5.0f);
            const float dy = platform::Rnd(0.0f, 16.0f) - 8;
            const float dx = platform::Rnd(0.0f, 16.0f) - 8;
            hooks.trailDot.Run(TruncToInt(mouseVX + dx), TruncToInt(mouseVY + dy), size,
                               r >= 1.0f ? 0xC0C0FF : 0xFFC0C0, 0.0075f * r);
        }
    }

    prevMillisecs = curMillisecs;
    curMillisecs = platform::Millisecs();
    if (!clockStarted) {
        prevMillisecs = curMillisecs;
        clockStarted = true;
    }
    const int64_t elapsed = std::clamp<int64_t>(curMillisecs - prevMillisecs, 0, INT_MAX);
    frameMsInt = static_cast<int>(elapsed);
    frameMs = static_cast<float>(frameMsInt);

    AdvanceTweens(frameMsInt);
}
