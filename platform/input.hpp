#pragma once
// Input state, tracked from the engine's events and snapshot once per frame: hit counts are the
// presses since the previous frame and stay the same however often a frame reads them.
namespace platform {

int MouseX();  // device pixels
int MouseY();
int MouseHit(int button);   // 0 left, 1 right, 2 middle
int MouseDown(int button);  // 1 while held
int MouseZ();               // wheel position

// Key codes: A-Z 65-90, 0-9 48-57, F1-F12 112-123, 8 backspace, 9 tab, 13 enter, 27 escape,
// 32 space, 37-40 arrows.
int KeyHit(int key);
int KeyDown(int key);
// The next typed character, 0 when none.
int GetChar();
void EnableKeyboard();
void DisableKeyboard();

// Touch pointers mirror the mouse on the desktop (pointer 0 = the left button).
int TouchHit(int index);
int TouchDown(int index);
float TouchX(int index);
float TouchY(int index);

}  // namespace platform
