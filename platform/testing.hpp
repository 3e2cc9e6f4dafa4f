#pragma once
// Test seams of the engine layer. The game itself never calls these.
#include <functional>

namespace platform {

// Decides which graphics modes may open: called with (width, height, fullscreen) before a mode is
// tried, false makes that mode fail. In headless runs, where the display has no real mode list,
// a full-screen size the filter accepts opens as a plain resize. An empty function removes it.
void SetModeFilter(std::function<bool(int width, int height, bool fullscreen)> filter);

// Waits until the worker that decodes pictures ahead has none left queued or in hand; false when
// that takes longer than `timeoutMs`.
bool WaitForDecodingAhead(int timeoutMs);

// Forgets the registered application, so a test can create the next one.
void ResetAppRegistration();

}  // namespace platform
