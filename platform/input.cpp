// Input state tracked from the engine's events and snapshot once per frame.
#include "platform/input.hpp"

#include "platform/internal.hpp"

namespace platform {
namespace detail {
namespace {

int ButtonIndex(uint8_t sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return 0;
        case SDL_BUTTON_RIGHT:
            return 1;
        case SDL_BUTTON_MIDDLE:
            return 2;
        default:
            return -1;
    }
}

void PushChar(InputState& in, int code) {
    if (code <= 0 || in.charCount >= kCharQueue) return;  // a full queue drops, never grows
    in.chars[(in.charHead + in.charCount) % kCharQueue] = code;
    ++in.charCount;
}

// Pointer positions arrive in window coordinates; the game works in device pixels.
void MapPointer(int x, int y, int& ox, int& oy) {
    Engine& e = E();
    ox = x;
    oy = y;
    if (!e.window || !e.renderer) return;
    int ww = 0, wh = 0, pw = 0, ph = 0;
    SDL_GetWindowSize(e.window, &ww, &wh);
    if (SDL_GetRendererOutputSize(e.renderer, &pw, &ph) != 0) return;
    if (ww > 0 && pw > 0 && ww != pw) ox = static_cast<int>(static_cast<int64_t>(x) * pw / ww);
    if (wh > 0 && ph > 0 && wh != ph) oy = static_cast<int>(static_cast<int64_t>(y) * ph / wh);
}

// UTF-8 to code points; anything beyond 16 bits or malformed is skipped.
void PushUtf8(InputState& in, const char* text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    while (*s) {
        uint32_t cp;
        int extra;
        if (*s < 0x80) {
            cp = *s;
            extra = 0;
        } else if ((*s & 0xE0) == 0xC0) {
            cp = *s & 0x1F;
            extra = 1;
        } else if ((*s & 0xF0) == 0xE0) {
            cp = *s & 0x0F;
            extra = 2;
        } else if ((*s & 0xF8) == 0xF0) {
            cp = *s & 0x07;
            extra = 3;
        } else {
            ++s;
            continue;
        }
        ++s;
        bool ok = true;
        for (int i = 0; i < extra; ++i) {
            if ((*s & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (*s & 0x3F);
            ++s;
        }
        if (ok && cp <= 0xFFFF) PushChar(in, static_cast<int>(cp));
    }
}

}  // namespace

int SdlKeyToCode(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 65 + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return 48 + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 112 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 97 + (key - SDLK_KP_1);
    switch (key) {
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return 16;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return 17;
        case SDLK_LALT:
        case SDLK_RALT:
            return 18;
        case SDLK_PAUSE:
            return 19;
        case SDLK_CAPSLOCK:
            return 20;
        case SDLK_ESCAPE:
            return 27;
        case SDLK_SPACE:
            return 32;
        case SDLK_PAGEUP:
            return 33;
        case SDLK_PAGEDOWN:
            return 34;
        case SDLK_END:
            return 35;
        case SDLK_HOME:
            return 36;
        case SDLK_LEFT:
            return 37;
        case SDLK_UP:
            return 38;
        case SDLK_RIGHT:
            return 39;
        case SDLK_DOWN:
            return 40;
        case SDLK_INSERT:
            return 45;
        case SDLK_DELETE:
            return 46;
        case SDLK_KP_0:
            return 96;
        case SDLK_KP_MULTIPLY:
            return 106;
        case SDLK_KP_PLUS:
            return 107;
        case SDLK_KP_MINUS:
            return 109;
        case SDLK_KP_PERIOD:
            return 110;
        case SDLK_KP_DIVIDE:
            return 111;
        case SDLK_SEMICOLON:
            return 186;
        case SDLK_EQUALS:
            return 187;
        case SDLK_COMMA:
            return 188;
        case SDLK_MINUS:
            return 189;
        case SDLK_PERIOD:
            return 190;
        case SDLK_SLASH:
            return 191;
        case SDLK_BACKQUOTE:
            return 192;
        case SDLK_LEFTBRACKET:
            return 219;
        case SDLK_BACKSLASH:
            return 220;
        case SDLK_RIGHTBRACKET:
            return 221;
        case SDLK_QUOTE:
            return 222;
        default:
            return -1;
    }
}

SDL_Keycode CodeToSdlKey(int code) {
    if (code >= 65 && code <= 90) return SDLK_a + (code - 65);
    if (code >= 48 && code <= 57) return SDLK_0 + (code - 48);
    if (code >= 112 && code <= 123) return SDLK_F1 + (code - 112);
    if (code >= 97 && code <= 105) return SDLK_KP_1 + (code - 97);
    static const SDL_Keycode candidates[] = {
        SDLK_BACKSPACE, SDLK_TAB,       SDLK_RETURN,    SDLK_LSHIFT,      SDLK_LCTRL,     SDLK_LALT,
        SDLK_PAUSE,     SDLK_CAPSLOCK,  SDLK_ESCAPE,    SDLK_SPACE,       SDLK_PAGEUP,    SDLK_PAGEDOWN,
        SDLK_END,       SDLK_HOME,      SDLK_LEFT,      SDLK_UP,          SDLK_RIGHT,     SDLK_DOWN,
        SDLK_INSERT,    SDLK_DELETE,    SDLK_KP_0,      SDLK_KP_MULTIPLY, SDLK_KP_PLUS,   SDLK_KP_MINUS,
        SDLK_KP_PERIOD, SDLK_KP_DIVIDE, SDLK_SEMICOLON, SDLK_EQUALS,      SDLK_COMMA,     SDLK_MINUS,
        SDLK_PERIOD,    SDLK_SLASH,     SDLK_BACKQUOTE, SDLK_LEFTBRACKET, SDLK_BACKSLASH, SDLK_RIGHTBRACKET,
        SDLK_QUOTE};
    for (SDL_Keycode k : candidates)
        if (SdlKeyToCode(k) == code) return k;
    return SDLK_UNKNOWN;
}

void ResetInput() {
    E().input = InputState{};
}

void BeginInputDrain() {
    InputState& in = E().input;
    // A release that arrived in the same drain as its press shows up one frame late, so the
    // press is seen as held for one whole frame.
    for (int b = 0; b < 3; ++b) {
        if (in.mouseReleasePending[b]) in.mouseDown[b] = 0;
        in.mouseReleasePending[b] = false;
        in.mousePressedThisDrain[b] = false;
        in.mouseHit[b] = 0;
    }
    for (int k = 0; k < kKeyCount; ++k) {
        if (in.keyReleasePending[k]) in.keyDown[k] = 0;
        in.keyReleasePending[k] = false;
        in.keyPressedThisDrain[k] = false;
        in.keyHit[k] = 0;
    }
    // Typing that nobody read during a whole frame is stale: it must not reach a popup that
    // opens later.
    if (!in.getCharCalled) {
        in.charHead = 0;
        in.charCount = 0;
    }
    in.getCharCalled = false;
}

void HandleInputEvent(const SDL_Event& ev) {
    InputState& in = E().input;
    switch (ev.type) {
        case SDL_MOUSEMOTION:
            MapPointer(ev.motion.x, ev.motion.y, in.mouseX, in.mouseY);
            break;
        case SDL_MOUSEBUTTONDOWN: {
            MapPointer(ev.button.x, ev.button.y, in.mouseX, in.mouseY);
            const int b = ButtonIndex(ev.button.button);
            if (b < 0) break;
            ++in.mouseHit[b];
            in.mouseDown[b] = 1;
            in.mousePressedThisDrain[b] = true;
            in.mouseReleasePending[b] = false;
            break;
        }
        case SDL_MOUSEBUTTONUP: {
            MapPointer(ev.button.x, ev.button.y, in.mouseX, in.mouseY);
            const int b = ButtonIndex(ev.button.button);
            if (b < 0) break;
            if (in.mousePressedThisDrain[b])
                in.mouseReleasePending[b] = true;
            else
                in.mouseDown[b] = 0;
            break;
        }
        case SDL_MOUSEWHEEL:
            in.mouseZ += ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y;
            break;
        case SDL_KEYDOWN: {
            const SDL_Keycode sym = ev.key.keysym.sym;
            switch (sym) {
                case SDLK_BACKSPACE:
                    PushChar(in, 8);
                    break;
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                    PushChar(in, 13);
                    break;
                case SDLK_ESCAPE:
                    PushChar(in, 27);
                    break;
                case SDLK_TAB:
                    PushChar(in, 9);
                    break;
                default:
                    break;
            }
            if (ev.key.repeat) break;
            const int code = SdlKeyToCode(sym);
            if (code < 0 || code >= kKeyCount) break;
            ++in.keyHit[code];
            in.keyDown[code] = 1;
            in.keyPressedThisDrain[code] = true;
            in.keyReleasePending[code] = false;
            break;
        }
        case SDL_KEYUP: {
            const int code = SdlKeyToCode(ev.key.keysym.sym);
            if (code < 0 || code >= kKeyCount) break;
            if (in.keyPressedThisDrain[code])
                in.keyReleasePending[code] = true;
            else
                in.keyDown[code] = 0;
            break;
        }
        case SDL_TEXTINPUT:
            PushUtf8(in, ev.text.text);
            break;
        default:
            break;
    }
}

}  // namespace detail

using detail::E;

int MouseX() {
    return E().input.mouseX;
}
int MouseY() {
    return E().input.mouseY;
}
int MouseZ() {
    return E().input.mouseZ;
}

int MouseHit(int button) {
    return button >= 0 && button < 3 ? E().input.mouseHit[button] : 0;
}
int MouseDown(int button) {
    return button >= 0 && button < 3 ? E().input.mouseDown[button] : 0;
}

int KeyHit(int key) {
    return key >= 0 && key < detail::kKeyCount ? E().input.keyHit[key] : 0;
}
int KeyDown(int key) {
    return key >= 0 && key < detail::kKeyCount ? E().input.keyDown[key] : 0;
}

int GetChar() {
    detail::InputState& in = E().input;
    in.getCharCalled = true;
    if (in.charCount == 0) return 0;
    const int c = in.chars[in.charHead];
    in.charHead = (in.charHead + 1) % detail::kCharQueue;
    --in.charCount;
    return c;
}

void EnableKeyboard() {
    if (E().up) SDL_StartTextInput();
}

// Desktop typing never stops: there is no on-screen keyboard to hide.
void DisableKeyboard() {}

int TouchHit(int index) {
    return index == 0 ? MouseHit(0) : 0;
}
int TouchDown(int index) {
    return index == 0 ? MouseDown(0) : 0;
}
float TouchX(int index) {
    return index == 0 ? static_cast<float>(MouseX()) : 0.0f;
}
float TouchY(int index) {
    return index == 0 ? static_cast<float>(MouseY()) : 0.0f;
}

}  // namespace platform
