// The input cache: per-frame button, pointer and key state and the screen's input hooks it calls.
#include "framework/inputcache.hpp"

#include <cmath>

#include "framework/framework.hpp"
#include "framework/screen.hpp"
#include "platform/app.hpp"
#include "platform/input.hpp"

namespace {

// The framework's clock for gesture times (0 before the frame cycle has started).
int FrameworkClock() {
    return deltaTimer ? TruncToInt(deltaTimer->currentticks) : 0;
}

// One frame's edges of one button, pointer or key against the previous frame. Hit and press times
// are stamped on the frame the state starts; a release is true for exactly one frame.
struct Edges {
    int& hit;
    int& hitTime;
    int& down;
    int& downTime;
    int& releasedTime;
    int& released;

    void Read(int hitNow, int downNow, int now) {
        if (hit == 0 && hitNow != 0) hitTime = now;
        hit = hitNow;
        if (downNow != 0 && down == 0) downTime = now;
        if (downNow == 0 && down != 0) {
            releasedTime = now;
            released = 1;
        } else {
            released = 0;
        }
        down = downNow;
    }
};

// Appends to one of the frame's lists; the first entry sets the lowest value, every entry the highest.
template <size_t N>
void Append(std::array<int, N>& list, int& count, int value, int* minValue = nullptr,
            int* maxValue = nullptr) {
    if (count == 0 && minValue) *minValue = value;
    if (maxValue) *maxValue = value;
    list[static_cast<size_t>(count++)] = value;
}

}  // namespace

// --- Key enumerators -------------------------------------------------------------------------------

int InputEventEnumerator::KeyAt(int index) const {
    switch (eventType) {
        case 1:
            return index < ic->keyDownCount ? ic->currentKeysDown[static_cast<size_t>(index)] : -1;
        case 2:
            return index < ic->keyReleasedCount ? ic->currentKeysReleased[static_cast<size_t>(index)] : -1;
        case 3:
            return index < ic->keyHitCount ? ic->currentKeysHit[static_cast<size_t>(index)] : -1;
        default:
            return -1;
    }
}

bool InputEventEnumerator::HasNext() const {
    return ic && KeyAt(next) >= 0;
}

KeyEvent* KeyEventEnumerator::NextObject() {
    if (!HasNext()) return nullptr;
    event.key = KeyAt(next++);
    return &event;
}

// --- TouchData -------------------------------------------------------------------------------------

void TouchData::AddFlingSample(int x, int y) {
    flingSamplesX[static_cast<size_t>(flingSampleNext)] = x;
    flingSamplesY[static_cast<size_t>(flingSampleNext)] = y;
    flingSamplesTime[static_cast<size_t>(flingSampleNext)] = FrameworkClock();
    if (flingSampleCount < kSamples) ++flingSampleCount;
    flingSampleNext = (flingSampleNext + 1) % kSamples;
    const size_t newest = static_cast<size_t>((flingSampleNext - 1 + kSamples) % kSamples);
    const size_t oldest = static_cast<size_t>((flingSampleNext - flingSampleCount + kSamples) % kSamples);
    const float seconds = static_cast<float>(flingSamplesTime[newest] - flingSamplesTime[oldest]) / 1000.0f;
    if (seconds == 0) {
        // Two samples of the same moment (the first one of every touch) give no speed.
        touchVelocityX = touchVelocityY = touchVelocitySpeed = 0;
        return;
    }
    touchVelocityX = static_cast<float>(flingSamplesX[newest] - flingSamplesX[oldest]) / seconds;
    touchVelocityY = static_cast<float>(flingSamplesY[newest] - flingSamplesY[oldest]) / seconds;
    touchVelocitySpeed = std::sqrt(touchVelocityX * touchVelocityX + touchVelocityY * touchVelocityY);
}

void TouchData::Reset(int x, int y) {
    firstTouchX = lastTouchX = x;
    firstTouchY = lastTouchY = y;
    firstTouchTime = FrameworkClock();
    testedLongPress = false;
    firedLongPress = false;
    flingSamplesX.fill(0);
    flingSamplesY.fill(0);
    flingSamplesTime.fill(0);
    flingSampleCount = 0;
    flingSampleNext = 0;
    movedTooFar = false;
    touchVelocityX = touchVelocityY = touchVelocitySpeed = 0;
    AddFlingSample(x, y);
}

void TouchData::Update3(int x, int y) {
    distanceMovedX = x - lastTouchX;
    distanceMovedY = y - lastTouchY;
    lastTouchX = x;
    lastTouchY = y;
    AddFlingSample(x, y);
    if (!movedTooFar) {
        const long long dx = x - firstTouchX;
        const long long dy = y - firstTouchY;
        movedTooFar = dx * dx + dy * dy > 400;
    }
}

// --- InputCache ------------------------------------------------------------------------------------

InputCache::InputCache()
    : keyHitEnumerator(this, 3),
      keyDownEnumerator(this, 1),
      keyReleasedEnumerator(this, 2),
      keyHitWrapper(&keyHitEnumerator),
      keyDownWrapper(&keyDownEnumerator),
      keyReleasedWrapper(&keyReleasedEnumerator) {}

void InputCache::ReadInput() {
    const int now = TruncToInt(static_cast<double>(platform::Millisecs()));
    if (monitorTouch) {
        touchDownCount = touchHitCount = touchReleasedCount = 0;
        maxTouchDown = maxTouchHit = maxTouchReleased = -1;
        minTouchDown = minTouchHit = minTouchReleased = -1;
        for (int n = 0; n < kPointers; ++n) {
            const size_t i = static_cast<size_t>(n);
            Edges{touchHit[i],      touchHitTime[i],      touchDown[i],
                  touchDownTime[i], touchReleasedTime[i], touchReleased[i]}
                .Read(platform::TouchHit(n), platform::TouchDown(n), now);
            touchX[i] = platform::TouchX(n);
            touchY[i] = platform::TouchY(n);
            if (touchDown[i]) Append(currentTouchDown, touchDownCount, n, &minTouchDown, &maxTouchDown);
            if (touchHit[i]) Append(currentTouchHit, touchHitCount, n, &minTouchHit, &maxTouchHit);
            if (touchReleased[i])
                Append(currentTouchReleased, touchReleasedCount, n, &minTouchReleased, &maxTouchReleased);
        }
    }
    if (monitorMouse) {
        mouseDownCount = mouseHitCount = mouseReleasedCount = 0;
        if (briskGame) {
            mouseX = briskGame->mouseX;
            mouseY = briskGame->mouseY;
        }
        for (int b = 0; b < kButtons; ++b) {
            const size_t i = static_cast<size_t>(b);
            Edges{mouseHit[i],      mouseHitTime[i],      mouseDown[i],
                  mouseDownTime[i], mouseReleasedTime[i], mouseReleased[i]}
                .Read(platform::MouseHit(b), platform::MouseDown(b), now);
            if (mouseDown[i]) Append(currentMouseDown, mouseDownCount, b);
            if (mouseHit[i]) Append(currentMouseHit, mouseHitCount, b);
            if (mouseReleased[i]) Append(currentMouseReleased, mouseReleasedCount, b);
        }
    }
    keyDownCount = keyHitCount = keyReleasedCount = 0;
    if (monitorKeyCount > 0) {
        for (int key = 8; key <= 222; ++key) {
            const size_t i = static_cast<size_t>(key);
            if (!monitorKey[i]) continue;
            Edges{keyHit[i], keyHitTime[i], keyDown[i], keyDownTime[i], keyReleasedTime[i], keyReleased[i]}
                .Read(platform::KeyHit(key), platform::KeyDown(key), now);
            if (keyDown[i]) Append(currentKeysDown, keyDownCount, key);
            if (keyHit[i]) Append(currentKeysHit, keyHitCount, key);
            if (keyReleased[i]) Append(currentKeysReleased, keyReleasedCount, key);
        }
    }
    keyHitEnumerator.Reset();
    keyDownEnumerator.Reset();
    keyReleasedEnumerator.Reset();
}

void InputCache::HandleEvents(Screen* screen) {
    if (!screen) return;
    auto pointerX = [this](int n) { return TruncToInt(touchX[static_cast<size_t>(n)]); };
    auto pointerY = [this](int n) { return TruncToInt(touchY[static_cast<size_t>(n)]); };

    for (int i = 0; i < touchHitCount; ++i) {
        const int n = currentTouchHit[static_cast<size_t>(i)];
        touchData[static_cast<size_t>(n)].Reset(pointerX(n), pointerY(n));
        screen->OnTouchHit(pointerX(n), pointerY(n), n);
    }
    for (int i = 0; i < touchReleasedCount; ++i) {
        const int n = currentTouchReleased[static_cast<size_t>(i)];
        const int x = pointerX(n), y = pointerY(n);
        TouchData& touch = touchData[static_cast<size_t>(n)];
        touch.Update3(x, y);
        if (!touch.movedTooFar && !touch.firedLongPress) {
            screen->OnTouchClick(x, y, n);
        } else if (touch.touchVelocityX * touch.touchVelocityX +
                       touch.touchVelocityY * touch.touchVelocityY >=
                   flingThreshold * flingThreshold) {
            screen->OnTouchFling(x, y, touch.touchVelocityX, touch.touchVelocityY, touch.touchVelocitySpeed,
                                 n);
        }
        screen->OnTouchReleased(x, y, n);
    }
    for (int i = 0; i < touchDownCount; ++i) {
        const int n = currentTouchDown[static_cast<size_t>(i)];
        const int x = pointerX(n), y = pointerY(n);
        TouchData& touch = touchData[static_cast<size_t>(n)];
        touch.Update3(x, y);
        screen->OnTouchDragged(x, y, touch.distanceMovedX, touch.distanceMovedY, n);
        if (!touch.testedLongPress && FrameworkClock() - touch.firstTouchTime >= longPressTime) {
            touch.testedLongPress = true;
            if (!touch.movedTooFar) {
                screen->OnTouchLongPress(x, y, n);
                touch.firedLongPress = true;
            }
        }
    }
    if (keyHitCount > 0) {
        screen->OnAnyKeyHit();
        for (int i = 0; i < keyHitCount; ++i) screen->OnKeyHit(currentKeysHit[static_cast<size_t>(i)]);
    }
    if (keyDownCount > 0) {
        screen->OnAnyKeyDown();
        for (int i = 0; i < keyDownCount; ++i) screen->OnKeyDown(currentKeysDown[static_cast<size_t>(i)]);
    }
    if (keyReleasedCount > 0) {
        screen->OnAnyKeyReleased();
        for (int i = 0; i < keyReleasedCount; ++i)
            screen->OnKeyReleased(currentKeysReleased[static_cast<size_t>(i)]);
    }
    for (int i = 0; i < mouseHitCount; ++i)
        screen->OnMouseHit(mouseX, mouseY, currentMouseHit[static_cast<size_t>(i)]);
    for (int i = 0; i < mouseDownCount; ++i)
        screen->OnMouseDown(mouseX, mouseY, currentMouseDown[static_cast<size_t>(i)]);
    for (int i = 0; i < mouseReleasedCount; ++i)
        screen->OnMouseReleased(mouseX, mouseY, currentMouseReleased[static_cast<size_t>(i)]);
}
