#pragma once
// The rules of the crowd-search distress game: a square full of walking citizens, some of them
// crooks. The player clicks crooks against the clock; each crook caught earns reputation, a
// wrong pick earns a scornful word. Play ends when the countdown reaches zero. The screen item
// draws the square and the walkers where these rules put them.
#include <array>

#include "minigames/distressplay.hpp"

// One walker of the square.
class Person {
  public:
    // Picked by the player: it stops walking; a caught crook stops still and swells.
    void Activate();
    // The picture frame to draw: a six-step walk in its direction, or a caught crook's pose.
    int Frame() const;
    float Scale() const;

    float alpha = 0;  // 0 to 1: fades in when (re)born, out when leaving
    int active = 1;   // walking and clickable
    int type = 0;     // 1 crook, 0 citizen
    float xpos = 0;
    float ypos = 0;
    float speed = 0;    // units per millisecond
    int image = 1;      // "Citizen0" + image: 1 to 4 citizens, 5 the crook look
    float counter = 0;  // animation clock
    int frame = 0;      // first frame of the direction: 0 down, 6 left, 12 right, 18 up
    float xdest = 0;
    float ydest = 0;
};

// Play, in frame order: `Update` before the frame's wait (walkers walk and can be picked while
// messages show), then the frame's end sequence, then `Play` while the game is on.
class SearchRules : public DistressPlay {
  public:
    static constexpr int kPersons = 64;
    // Draws of a crook among the walkers; the same walker may be drawn twice.
    static constexpr int kCrookDraws = 31;
    // A pick reaches this far from the mouse.
    static constexpr float kReach = 32.0f;
    // The words of a wrong pick, by the number of a word event.
    static constexpr std::array<const char*, 4> kWords = {"No dice!", "Oops!", "Whoops!", "Nope!"};

    SearchRules(int difficulty, bool cluesActive, DistressRandom random, float width, float height);

    // The clock runs, the walkers walk, and a new press picks the first walker under the mouse.
    void Update(const DistressInput& in);
    // When the clock has run out, the search is over.
    void Play(const DistressInput& in);
    // The screen turned: the walkers' places follow it and they choose new ways.
    void CheckRotate(float newWidth, float newHeight);

    // A walker (re)born as a citizen somewhere on the square.
    void Init(Person& person);
    void NewDestination(Person& person);
    void Update2(Person& person, float frameMs);

    std::array<Person, kPersons> persons;
    Countdown clock;
    // A new press may pick (it returns when the button is up).
    int ok = 0;
};
