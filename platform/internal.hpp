#pragma once
// Engine-private state shared by the engine layer's own sources. Nothing above platform/ includes
// this header.
#include <SDL.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/engine.hpp"
#include "platform/imagecodec.hpp"
#include "platform/testing.hpp"

namespace platform {

// A copy of a texture (`from`) kept for one way of laying it on the frame (see WayTexture), or
// a scratch picture of the engine's (no `from`, its texels in `format`).
struct TextureWay {
    SDL_Texture* from = nullptr;
    int way = 0;
    SDL_Texture* sdl = nullptr;
    Uint32 format = 0;
};

// A decoded picture on its way to (or living on) the renderer. Pixels wait in `pending` only
// while no renderer exists; once uploaded they are dropped to keep the heap small.
struct Texture {
    SDL_Texture* sdl = nullptr;
    int w = 0, h = 0;
    std::vector<uint8_t> pending;  // RGBA8, w * h * 4
    // Every texel fully opaque: drawn at full alpha it simply replaces what lies below.
    bool opaque = false;
    // The picture turned over left-right, top-bottom and both (index = flip - 1), made the first
    // time it is drawn that way.
    SDL_Texture* mirrored[3] = {nullptr, nullptr, nullptr};
    // RGBA8 kept beside the texture for pictures that others are put together from (font pages).
    std::vector<uint8_t> kept;
    // Rectangles of it lately drawn at another size, smoothly scaled once each (see ScaledTexture).
    struct Scaled {
        SDL_Rect src{};
        int flip = 0, w = 0, h = 0;
        // At least w x h; the texels of this size at its top-left once `made` (the third time it is
        // drawn at that size, or at once into a large enough copy it took over from another
        // size), before that perhaps still those of that other size.
        SDL_Texture* sdl = nullptr;
        uint32_t lastUse = 0;
        int draws = 0;  // at this size since it was remembered, counted up to three
        bool made = false;
    };
    std::vector<Scaled> scaled;
    uint32_t scaledUses = 0;
    // It, its turned-over and its scaled copies, once more per other way they are drawn in.
    std::vector<TextureWay> ways;
    // Its texels in the engine's layout with alpha, read back from the renderer the first time it
    // is drawn large and turned on the software renderer (turned.cpp).
    std::vector<Uint32> texels;
    Texture();
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
};

// Geometry waiting to reach the renderer in one call (batch.cpp): a run of consecutive draws with
// one texture and blend. The buffers are made once and reused.
struct QuadBatch {
    SDL_Texture* texture = nullptr;
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    int count = 0, indexCount = 0;  // in use of the above
    QuadBatching how = QuadBatching::kRendererChoice;
};

struct DecodedImage;  // imagecodec.hpp
struct Sample;        // mixer.hpp

namespace detail {

struct Matrix {
    float a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;  // x' = a x + c y + e, y' = b x + d y + f
    Matrix operator*(const Matrix& n) const {
        return {a * n.a + c * n.b, b * n.a + d * n.b,     a * n.c + c * n.d,
                b * n.c + d * n.d, a * n.e + c * n.f + e, b * n.e + d * n.f + f};
    }
    void Apply(float x, float y, float& ox, float& oy) const {
        ox = a * x + c * y + e;
        oy = b * x + d * y + f;
    }
};

inline constexpr int kKeyCount = 512;
inline constexpr int kCharQueue = 64;

struct InputState {
    int mouseX = 0, mouseY = 0, mouseZ = 0;
    std::array<int, 3> mouseHit{}, mouseDown{};
    std::array<bool, 3> mouseReleasePending{}, mousePressedThisDrain{};
    std::array<int, kKeyCount> keyHit{}, keyDown{};
    std::array<bool, kKeyCount> keyReleasePending{}, keyPressedThisDrain{};
    std::array<int, kCharQueue> chars{};
    int charHead = 0, charCount = 0;
    bool getCharCalled = false;
};

struct Engine {
    EngineOptions options;
    bool up = false;      // SDL initialised
    bool driven = false;  // stepped by the driver instead of RunProgram's paced loop
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* whiteTexture = nullptr;  // the texel untextured shapes are drawn with
    // The white texture once more per other way it is drawn in, the scratch pictures of smooth
    // scalings that are not kept (blitways.cpp), and the pictures large turned quads are laid in
    // before they are blended onto the frame (turned.cpp).
    std::vector<TextureWay> whiteWays, scratches, turnedPictures;
    // The largest picture the renderer can take, asked once when it is made.
    PictureLimits pictureLimits;
    // The texture formats the renderer draws fastest onto its window: one with alpha, and one
    // for opaque pictures (the window's own, where the renderer takes it).
    Uint32 alphaFormat = SDL_PIXELFORMAT_UNKNOWN, opaqueFormat = SDL_PIXELFORMAT_UNKNOWN;
    SDL_Renderer* formatsOf = nullptr;  // the renderer they were chosen for
    std::string title = "Brallwick - Quellfast";
    int updateRate = 60;

    // Clock: program-relative. Real mode counts from `startNs`; fake mode only moves on Step and
    // AdvanceClock.
    int64_t startNs = 0;
    int64_t fakeMs = 0;
    int64_t fakeRemainder = 0;

    bool created = false;
    // Driven runs may draw only every n-th frame (drawing is most of a headless frame's cost).
    int renderEvery = 1;
    int sinceRender = 0;
    bool suspended = false;
    bool running = false;
    bool quitRequested = false;
    int exitStatus = 0;
    std::string lastReport;
    // The game's global initialiser, run again when the engine stops.
    void (*initGlobals)() = nullptr;

    InputState input;
    std::unordered_set<Texture*> textures;
    std::function<bool(int, int, bool)> modeFilter;
    QuadBatch batch;
    // Where a picture is put together before its texels go to the renderer (RecomposeImage),
    // kept at the size of the largest so far.
    std::vector<uint8_t> composing;
};

Engine& E();

// Lifecycle helpers used by the loop (engine.cpp) and implemented by the concern that owns them.
void ResetGraphicsState();             // graphics.cpp: white, alpha 1, normal blend, no scissor, identity
void UploadTexture(Texture& texture);  // images.cpp
// images.cpp: the texture's pixels turned over (flip: 1 left-right, 2 top-bottom, 3 both), made
// once and kept with it; null where the renderer cannot draw into a texture.
SDL_Texture* MirroredTexture(Texture& texture, int flip);
// images.cpp: a texture holding `src` of `from` (the texture or its turned-over copy `flip`)
// smoothly scaled to w x h at its top-left, made once that rectangle comes back at that size and
// kept while it keeps being drawn; null while it is not worth a copy of its own and when the
// renderer cannot draw into a texture.
SDL_Texture* ScaledTexture(Texture& texture, SDL_Texture* from, int flip, const SDL_Rect& src, int w, int h);
void DropTextures(Texture& texture);  // images.cpp: the renderer's copies of a texture
// images.cpp: the side of a picture made to hold n texels and a few sizes more (small ones to the
// next power of two), so a picture whose size keeps changing is seldom made again.
int RoomySide(int n);

// quads.cpp: the ways a quad (4 vertices, corners in order) reaches the renderer; blend 0 normal,
// 1 additive.
bool SoftwareRenderer();
void SnapAxisAligned(SDL_Vertex* quad);  // upright and quarter-turned quads to whole pixels
// The box holding the quad's four corners: left, top, right, bottom.
void QuadBox(const SDL_Vertex* quad, float& x0, float& y0, float& x1, float& y1);
bool FillSolid(const SDL_Vertex* quad, int blend);  // false unless a plain fill draws it
// False unless a copy draws it; `owner` null for the white texture of untextured shapes.
bool CopyAxisAligned(const SDL_Vertex* quad, int blend, SDL_Texture* texture, Texture* owner);
void DrawInPieces(const SDL_Vertex* quad, SDL_Texture* texture, Texture* owner);
// blitways.cpp: `texture`, or the copy of it among `ways` kept for the way it is drawn now
// (blended by `mode`, tinted and faded by `mod`, stretched to another size or not), so that the
// software renderer keeps its set-up; the copy is set to blend by `mode`.
SDL_Texture* WayTexture(std::vector<TextureWay>& ways, SDL_Texture* texture, SDL_BlendMode mode,
                        SDL_Color mod, bool stretched);
// blitways.cpp: the same for `texture` drawn as triangles, blended as it is set to.
SDL_Texture* GeometryTexture(std::vector<TextureWay>& ways, SDL_Texture* texture);
void DropWays(std::vector<TextureWay>& ways, SDL_Texture* from);  // those of `from`; null: all
// blitways.cpp: `src` of `texture` (whose copies per way are `ways`) smoothly scaled to w x h in a
// scratch picture at (0, 0), blended as `texture` is, for being drawn with `mod` at once; null
// when it cannot be made.
SDL_Texture* ScratchScaled(std::vector<TextureWay>& ways, SDL_Texture* texture, const SDL_Rect& src, int w,
                           int h, SDL_Color mod);
// blitways.cpp: a scratch picture among `scratches` of at least w x h, kept for one format, access
// and way of being drawn (blended by `mode`, modulated by `mod`); null when it cannot be made.
SDL_Texture* WayScratch(std::vector<TextureWay>& scratches, Uint32 format, int access, SDL_Color mod,
                        SDL_BlendMode mode, int w, int h);
// blitways.cpp: `src` of `from` copied into `to` at (0, 0), w x h, texels and alpha as they are
// (smoothly scaled when the sizes differ).
bool CopyTexels(SDL_Texture* from, const SDL_Rect& src, SDL_Texture* to, int w, int h);
// turned.cpp: a large turned quad drawn on the software renderer; false when it cannot be (the
// caller draws it in pieces then).
bool DrawTurned(const SDL_Vertex* quad, SDL_Texture* texture, Texture* owner);
void DropScratches();  // blitways.cpp: with the white texture's ways, before the renderer goes
// batch.cpp: whether draws wait to go in runs on this renderer; a draw added to the run (which
// goes first when texture, blend or room differ); the run sent, before anything else reaches the
// renderer (another kind of draw, a clip or target change, a texture gone, present, read-back).
bool Batching();
void Batch(SDL_Texture* texture, SDL_BlendMode blend, const SDL_Vertex* vertices, int count, const int* indices,
           int indexCount);
void FlushBatch();
void DestroyAllTextures();             // images.cpp: before the renderer goes away
void CloseGraphics();                  // app.cpp: textures, renderer, window
SDL_Renderer* OpenRenderer(SDL_Window* window, bool headless);  // renderer.cpp: says which, once
void ResetInput();                     // input.cpp
void HandleInputEvent(const SDL_Event& event);  // input.cpp
void BeginInputDrain();              // input.cpp: deferred releases, hit counters, the GetChar queue
int SdlKeyToCode(SDL_Keycode key);   // input.cpp: -1 when unmapped
SDL_Keycode CodeToSdlKey(int code);  // input.cpp: SDLK_UNKNOWN when unmapped
void ClearAsyncQueue();              // app.cpp
int64_t NowNs();                     // app.cpp: a steady clock
// decodeahead.cpp: the picture at a data path if the worker decoded it ahead (waiting for it when
// the worker is on it right now); false when it was not asked for, not reached yet or its file
// could not be read (the caller reads it itself, `error` ""), or it could not be decoded (`error`
// says why, for the caller's line).
bool TakeDecodedAhead(const std::string& path, DecodedImage& out, std::string& error);
// decodeahead.cpp: the same for a sound; null when there is none to hand over, with `failed` set
// when the worker could not decode it.
std::shared_ptr<Sample> TakeSoundDecodedAhead(const std::string& path, bool& failed);
void StopDecodingAhead();            // decodeahead.cpp: ends and joins the worker, drops the rest
void SleepUntilNs(int64_t when);     // app.cpp: sleeps (never spins) until NowNs() reaches `when`

}  // namespace detail

// storage.cpp: the bytes of a data file (`why` says why it was refused, "" when it is missing; nothing
// is printed), and a working-folder path as the file system sees it.
bool ReadDataFile(const std::string& path, std::string& bytes, std::string& why);
std::string ResolveWorkingPath(const std::string& path);

namespace detail {}  // namespace detail
}  // namespace platform
