#pragma once
// Game-wide services every screen and widget needs: the level thresholds behind attribute levels
// and reputation ranks, the virtual resolution and display settings taken from the global flags,
// the per-frame clock and input state, the registry that drives tweened values, screen fades,
// multi-line text with the game's two-character line-break code, and the substitution of names
// into dialogue text.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/hooks.hpp"

class FloatObject;
class GlyphFont;
class Screen;
class Tween;

// One animated value: the target and the pooled tween that drives it.
class TweenItem {
  public:
    FloatObject* var = nullptr;
    Tween* tween = nullptr;
};

// What the per-frame update and the settings tell the modules above this one (or not yet built).
// Each is a list the module that cares adds to from its layer's `Register...` function; an empty
// list does nothing.
struct DataHooks {
    // The statistics upload asks the score server for an id (none is stored yet).
    StepList<> requestStatisticsId;
    // Trophies forget what they showed.
    StepList<> clearTrophies;
    // The quests re-lay themselves out after the device turned.
    StepList<> checkRotate;
    // A mouse-trail dot at (x, y) in virtual coordinates: angle 90, speed 1, no gravity, fading
    // out over 1000 ms after a wait of 1. The particles (and, on the map, the shift by its scroll
    // position that keeps the dot in place) belong to the layers above.
    StepList<int, int, float, int, float> trailDot;
};

class Data {
  public:
    // The line-break code of every game text: a backslash and the letter n, as typed in the data.
    static constexpr const char* kBreak = "\\n";
    static constexpr int kLevels = 101;
    static constexpr int kTopLevel = 99;
    static constexpr int kTopRank = 16;

    static std::array<int, kLevels> levelTable;
    // The program's text colours (0xRRGGBB), addressed by entry everywhere a reward, a meter or an
    // attack is tinted: 0 money, 1 reputation, 2 skills, 3 raised and 4 lowered attributes, ...
    static const std::array<int, 10> textPalette;
    // The palette entry's colour; an entry outside the palette (data) is white.
    static int PaletteColour(int entry);
    static std::string yearText;
    static int virtualWidth;
    static int virtualHeight;
    static float layoutScaleX;
    static float layoutScaleY;
    static int qualityOn;
    static int mapNamesOn;
    static int hintsOn;
    static int touchDevice;
    static std::string musicExtension;
    static std::string soundExtension;

    // Input state of this frame. backPressed and menuPressed stay raised until their consumer
    // clears them.
    static int mouseHeld;
    static float mouseVX;
    static float mouseVY;
    static int backPressed;
    static int menuPressed;
    static int screenRotated;

    // The frame clock, on the engine's 64-bit clock; a separate flag marks the first frame so no
    // clock reading can be mistaken for "not started".
    static int64_t curMillisecs;
    static int64_t prevMillisecs;
    static bool clockStarted;
    static int frameMsInt;
    static float frameMs;
    static float trailTimer;

    static std::vector<TweenItem> tweenRegistry;
    static const std::array<const char*, 7> exclamationAdjectives;
    static const std::array<const char*, 5> exclamationNouns;

    static DataHooks hooks;

    // The program's initial values for everything above (the registered hooks stay).
    static void InitGlobals();
    // Fills the tween pool, the level table and the year.
    static void Init();
    // The level of a raw attribute or skill value: -1 below 0, up to 99.
    static int GetLevel(int v);
    // The rank (0..16) of a reputation value; -1 when negative.
    static int GetReputationLevel(int v);
    static void SetResolutionRatio();

    // Animates var linearly from `from` to `to` over ms milliseconds. With no free tween the
    // value jumps to `to` at once.
    static void AddTween(FloatObject* var, int ms, float from, float to);
    // Stops every registered tween of var; var keeps its current value.
    static void KillTweens(FloatObject* var);

    static void ResetUpdate();
    static void InitScreen();
    static void ExitScreen(std::shared_ptr<Screen> screen, int ms);
    static void Update(int trail);

    static std::string ExTextSplit(const std::string& text, GlyphFont* font, int width);
    static int ExTextWidth(const std::string& text, GlyphFont* font);
    static int ExTextHeight(const std::string& text, GlyphFont* font);
    static void ExDrawText(int x, int y, const std::string& text, GlyphFont* font, int center, int width,
                           int count);

    static std::string MingleWords(const std::string& text);

    // Typed text before it becomes a name: code points, since the keyboard can give any.
    static int HasProblem(const std::u32string& text);
    static std::u32string Fix(const std::u32string& text, int i, const std::u32string& replacement);
    static std::u32string FixString(const std::u32string& text);

    // Splits at the break code.
    static std::vector<std::string> SplitLines(const std::string& text);

  private:
    // The level thresholds: 100, 200, then each the sum of the two before it.
    static void FillLevelTable();
    // Moves every registered value on with its tween; a finished one ends exactly at its end.
    static void AdvanceTweens(int ms);
    // The missing free tween has been reported (once per program).
    static bool tweenWarned;
};

// Registers the model's start-up steps and services: the same as RegisterModel (model/wiring.hpp).
void WireModel();
