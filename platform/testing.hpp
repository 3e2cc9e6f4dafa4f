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

// One draw the render pass is about to make, as a watcher sees it.
struct WatchedDraw {
    enum class Kind { kPicture, kRect, kLine, kOval };
    Kind kind = Kind::kRect;
    const Image* image = nullptr;  // the picture of a kPicture, null for a shape
    // Its axis-aligned box on the device.
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    // The texels of the picture's texture it shows (left, top, width, height), for a picture drawn
    // upright: its box shows them stretched to fit.
    float u = 0, v = 0, texelsWide = 0, texelsHigh = 0;
};

// Sees every quad, line, oval and circle the render pass draws, on the device, and the lines of
// text the fonts draw: a layout check reads where things land from it.
class DrawWatcher {
  public:
    virtual ~DrawWatcher() = default;
    // Answers whether to draw it at all.
    virtual bool Draw(const WatchedDraw& draw) = 0;
    // The draws between these two are the glyphs of one line of text.
    virtual void TextBegins(const char* text, size_t length) = 0;
    virtual void TextEnds() = 0;
};
// Null stops watching.
void WatchDraws(DrawWatcher* watcher);
// One texel (RGBA) of a picture that keeps its pixels beside its texture, as a font's page does;
// false for a picture that keeps none or a texel outside it.
bool KeptTexel(const Image* image, int x, int y, unsigned char rgba[4]);

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
