#pragma once
// What the four distress games' rules share: the outcome of a game (over, won, reputation and
// clues earned), the back request, the rewards paid at the end, the random draws, and the events
// a game's screen item turns into sounds, floating numbers and particles.
//
// The rules know nothing of the engine: the screen item feeds them the frame time, the mouse and
// the virtual screen size, and a random source (the engine's generator in the game, a scripted
// one in tests).
#include <array>
#include <functional>
#include <vector>

// One frame's input, in virtual screen units.
struct DistressInput {
    float frameMs = 0;
    float mouseX = 0;
    float mouseY = 0;
    bool mouseHeld = false;
};

// Something the screen item shows or plays. Positions are in virtual screen units.
struct DistressEvent {
    enum Kind {
        kSound,      // sound number `value`
        kReward,     // the floating "+value" reward number at (x, y)
        kClue,       // the floating "+1" of a clue found, at (x, y)
        kWord,       // the scornful word number `value` of a wrong pick, at (x, y)
        kTooWeak,    // a blow too weak to shake anything out
        kExplosion,  // an explosion of `value` sparks at (x, y)
        kCat,        // a cat flung from (x, y) at heading `angle`, turned by `rotation`
        kGone,       // play object number `value` (a sign) leaves the screen
        kDropTools,  // the tree's button and circle fade out
    };
    Kind kind = kSound;
    int value = 0;
    float x = 0;
    float y = 0;
    float angle = 0;
    float rotation = 0;
};

// Uniform in [low, high).
using DistressRandom = std::function<float(float low, float high)>;

class DistressPlay {
  public:
    struct Reward {
        const char* name;
        int value;
    };

    // `difficulty` is the action's; it scales every reward. A clue hunt counts clues as well.
    DistressPlay(int difficulty, bool cluesActive, DistressRandom random, float width, float height);
    virtual ~DistressPlay() = default;

    // The back request. Play still running is abandoned, and an abandoned distress call is a
    // failure: it must not meet the conditions that wait for a rescue. A game already over keeps
    // its outcome. True when the request ended play.
    bool Back();

    // What the results pay, in the order the result popup lists it: reputation, clues, money
    // (half the reputation) and ethics (a quarter more than the money), each only when above 0.
    // A failed game pays nothing.
    int Rewards(std::array<Reward, 4>& out) const;

    // The events of the last call into the rules; read them before the next call.
    const std::vector<DistressEvent>& Events() const { return events_; }

    // Play is over.
    int done = 0;
    // 1 unless the game was abandoned: being hit or running out of time still rescue the victim.
    int success = 1;
    int cluesActive = 0;
    int difficulty = 0;
    // Reputation and clues earned so far.
    int bonus = 0;
    int clues = 0;
    // The virtual screen.
    float width = 0;
    float height = 0;

  protected:
    // A draw in [low, high) that stays below high even from a generator that rounds up to it.
    float Draw(float low, float high);
    // The truncated draw between low and high: low to high - 1.
    int DrawInt(int low, int high);

    void BeginEvents() { events_.clear(); }
    void Emit(DistressEvent::Kind kind, int value, float x = 0, float y = 0);
    // A scoring event: `points` of reputation shown at (x, y) with sound 9, and in a clue hunt
    // one more clue shown at (clueX, clueY) when `withClue`.
    void Score(int points, float x, float y, float clueX, float clueY, bool withClue = true);

    std::vector<DistressEvent> events_;

  private:
    DistressRandom random_;
};

// The clock of the timed games (crowd search, tree bashing): 30 seconds that run only while their
// display is up.
struct Countdown {
    // The display's text before the first tick. It says 60 although a game lasts 30 seconds: the
    // players know the display that way.
    static constexpr const char* kStartText = "60.00";

    // Milliseconds left.
    float time = 30000;
    // The display exists (the game's panel has been built).
    bool shown = false;

    void Tick(float frameMs);
    // Whole seconds, a point and two digits of hundredths ("12.07" for 12 seconds and 7
    // hundredths). `out` must hold 16 characters.
    void Text(char* out) const;
};
