#pragma once
// The input cache: reads the engine's raw input once per frame, keeps per-button, per-pointer and
// per-key state with the times of the last hit, press and release, and turns it into calls of the
// current screen's input hooks. Only the mouse is monitored in this game; the touch gestures
// (click, fling, drag, long press) and the key events work as soon as their switches are set.
#include <array>

class Screen;
class InputCache;

class InputEvent {
  public:
    explicit InputEvent(int eventType = 0) : eventType(eventType) {}
    virtual ~InputEvent() = default;

    int eventType = 0;  // 1 down, 2 released, 3 hit
};

class KeyEvent : public InputEvent {
  public:
    explicit KeyEvent(int eventType = 0) : InputEvent(eventType) {}

    int key = 0;
};

// Walks one of the cache's key lists of this frame.
class InputEventEnumerator {
  public:
    InputEventEnumerator(InputCache* ic, int eventType) : ic(ic), eventType(eventType) {}
    virtual ~InputEventEnumerator() = default;

    bool HasNext() const;
    void Reset() { next = 0; }

    InputCache* ic = nullptr;
    int eventType = 0;

  protected:
    int KeyAt(int index) const;
    int next = 0;
};

class KeyEventEnumerator : public InputEventEnumerator {
  public:
    KeyEventEnumerator(InputCache* ic, int eventType)
        : InputEventEnumerator(ic, eventType), event(eventType) {}

    KeyEvent* NextObject();

    KeyEvent event;
};

class EnumWrapper {
  public:
    explicit EnumWrapper(KeyEventEnumerator* wrappedEnum) : wrappedEnum(wrappedEnum) {}

    KeyEventEnumerator* wrappedEnum = nullptr;
};

// Gesture state of one touch pointer, from its hit to its release. Reset starts it at the hit;
// Update3 follows the pointer as it moves.
class TouchData {
  public:
    void AddFlingSample(int x, int y);
    void Reset(int x, int y);
    void Update3(int x, int y);

    static constexpr int kSamples = 10;

    int firstTouchX = 0, firstTouchY = 0;
    int lastTouchX = 0, lastTouchY = 0;
    int firstTouchTime = 0;
    bool testedLongPress = false;
    bool firedLongPress = false;
    std::array<int, kSamples> flingSamplesX{};
    std::array<int, kSamples> flingSamplesY{};
    std::array<int, kSamples> flingSamplesTime{};
    int flingSampleCount = 0;
    int flingSampleNext = 0;
    bool movedTooFar = false;
    float touchVelocityX = 0, touchVelocityY = 0, touchVelocitySpeed = 0;  // pixels per second
    int distanceMovedX = 0, distanceMovedY = 0;
};

class InputCache {
  public:
    static constexpr int kPointers = 32;
    static constexpr int kButtons = 3;
    static constexpr int kKeys = 512;

    InputCache();
    InputCache(const InputCache&) = delete;
    InputCache& operator=(const InputCache&) = delete;

    // Refreshes every monitored state from the engine.
    void ReadInput();
    // Calls the screen's hooks for this frame's state: touches, keys, then the mouse.
    void HandleEvents(Screen* screen);

    KeyEventEnumerator keyHitEnumerator;
    KeyEventEnumerator keyDownEnumerator;
    KeyEventEnumerator keyReleasedEnumerator;
    EnumWrapper keyHitWrapper;
    EnumWrapper keyDownWrapper;
    EnumWrapper keyReleasedWrapper;
    std::array<TouchData, kPointers> touchData{};
    bool monitorTouch = false;
    bool monitorMouse = true;
    int touchDownCount = 0, touchHitCount = 0, touchReleasedCount = 0;
    int maxTouchDown = -1, maxTouchHit = -1, maxTouchReleased = -1;
    int minTouchDown = -1, minTouchHit = -1, minTouchReleased = -1;
    std::array<int, kPointers> touchHit{}, touchHitTime{}, touchDown{}, touchDownTime{}, touchReleasedTime{},
        touchReleased{};
    std::array<float, kPointers> touchX{}, touchY{};
    std::array<int, kPointers> currentTouchDown{}, currentTouchHit{}, currentTouchReleased{};
    int mouseDownCount = 0, mouseHitCount = 0, mouseReleasedCount = 0;
    int mouseX = 0, mouseY = 0;
    std::array<int, kButtons> mouseHit{}, mouseHitTime{}, mouseDown{}, mouseDownTime{}, mouseReleasedTime{},
        mouseReleased{};
    std::array<int, kButtons> currentMouseDown{}, currentMouseHit{}, currentMouseReleased{};
    int keyDownCount = 0, keyHitCount = 0, keyReleasedCount = 0;
    int monitorKeyCount = 0;
    std::array<int, kKeys> monitorKey{};
    std::array<int, kKeys> keyHit{}, keyHitTime{}, keyDown{}, keyDownTime{}, keyReleasedTime{}, keyReleased{};
    std::array<int, kKeys> currentKeysDown{}, currentKeysHit{}, currentKeysReleased{};
    float flingThreshold = 250.0f;
    int longPressTime = 1000;
};
