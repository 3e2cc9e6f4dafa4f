#pragma once
// Test seams of the engine layer. The game itself never calls these.
#include <cstddef>
#include <functional>

namespace platform {

// Decides which graphics modes may open: called with (width, height, fullscreen) before a mode is
// tried, false makes that mode fail. In headless runs, where the display has no real mode list,
// a full-screen size the filter accepts opens as a plain resize. An empty function removes it.
void SetModeFilter(std::function<bool(int width, int height, bool fullscreen)> filter);

class Image;

// Sees every quad the render pass draws, on the device, and the lines of text the fonts draw: a
// layout check reads where things land from it. Quad answers whether to draw the quad at all.
class DrawWatcher {
  public:
    virtual ~DrawWatcher() = default;
    // A quad about to be drawn with its axis-aligned box on the device; image is null for a plain
    // shape (a filled rectangle).
    virtual bool Quad(const Image* image, float x0, float y0, float x1, float y1) = 0;
    // The quads between these two are the glyphs of one line of text.
    virtual void TextBegins(const char* text, size_t length) = 0;
    virtual void TextEnds() = 0;
};
// Null stops watching.
void WatchDraws(DrawWatcher* watcher);

// How quads reach the renderer: gathered into runs that share a texture where the renderer pays
// per call (the game's choice), always gathered, or gathered but each sent on its own (the same
// pixels as a run, drawn without one, to hold a run's frame against).
enum class QuadBatching { kRendererChoice, kAlways, kOneByOne };
void SetQuadBatching(QuadBatching how);

// Waits until the worker that decodes pictures ahead has none left queued or in hand; false when
// that takes longer than `timeoutMs`.
bool WaitForDecodingAhead(int timeoutMs);

// Forgets the registered application, so a test can create the next one.
void ResetAppRegistration();

}  // namespace platform
