#pragma once
// The frame every distress game runs in: one full-screen GUI item over the city map that sets the
// map aside, waits a moment, builds its panel and shows its start message, lets the game play, and
// once play is over clears the street, plays the after-game dialogue the story named, shows and
// pays the results, leaves the outcome flags the story reads, takes an hour of game time and fades
// away, bringing the map back. The escape key abandons the call: no results, and a failure.
//
// Each game supplies its rules (which hold play's outcome and score) and its own steps: play
// before the wait, its clean-up, its panel and start message, play after the panel is up, and its
// drawing over the background.
#include <string>

#include "gui/item.hpp"
#include "minigames/distressplay.hpp"

class ActionItemGameDistress;
class GameImage;
class GUIText;

class GUIGameDistress : public GUIItem {
  public:
    ~GUIGameDistress() override;

    int Update2() override;
    // The background, scaled to the screen height and centred, at the game's alpha.
    void Render() override;
    // On the frame the screen turns: the start message is centred again, and the game lays out.
    void CheckRotate();
    // The results: the rewards of the rules listed on the result popup, then paid.
    void InitResult();

    // The action that started the game (null in a game made without one: difficulty 1).
    ActionItemGameDistress* ai = nullptr;
    GameImage* bg = nullptr;
    // Milliseconds before the logic goes on.
    float wait = 500;
    // The results have been shown, or skipped.
    int result = 0;
    int cleanup = 0;
    // The after-game dialogue step has run.
    int dialogue = 0;
    // The game has left: its flags are set and it fades away.
    int left = 0;

    // The rules of the game: play's outcome, reputation and clues.
    virtual DistressPlay& Rules() = 0;

  protected:
    // The common construction, up to the game's own set-up: the map set aside, the music, the
    // outcome flags reset, the id and the background.
    GUIGameDistress(ActionItemGameDistress* action, const std::string& bgName);
    // Last step of construction, after the game's set-up.
    void Begin();

    // The action's difficulty, which scales every reward.
    int Difficulty() const;
    // The frame's input for the rules.
    static DistressInput Input();
    // The engine's random generator, for the rules.
    static DistressRandom EngineRandom();

    // Play that runs before the wait: while messages show and after play is over too.
    virtual void UpdatePlay(const DistressInput& in) = 0;
    // The game's play objects cleared once play is over.
    virtual void Cleanup() = 0;
    // Milliseconds the game waits after its clean-up.
    virtual float CleanupWait() const { return 500; }
    // Builds the game's panel (the items with id "gamepopup").
    virtual void InitPopup() = 0;
    // The instruction shown as play begins.
    virtual void InitStartMessage();
    virtual const char* StartText() const = 0;
    // Milliseconds the game waits after its panel is built.
    virtual float PopupWait() const { return 500; }
    // Play once the panel is up.
    virtual void PlayStep(const DistressInput& in) = 0;
    // What the game lays out again when the screen turns.
    virtual void RotateGame() {}
    // The game's own drawing over the background, at the game's alpha.
    virtual void RenderPlay() {}
    // An event of the rules the frame does not show itself.
    virtual void OnEvent(const DistressEvent& /*event*/) {}
    // The back request ended play; the game may tidy its panel.
    virtual void OnBack() {}

    // Shows the events of the last call into the rules: sounds, reward numbers, clues, words.
    void ShowEvents();
    // A white line of the panel (id "gamepopup"), centred at the top.
    static GUIText* AddTopText(const std::string& text);
    static void CentreTop(GUIText* line);
    static void PlaceMessage(GUIItem* message);
    // The clock's time on its display (when the display is up), kept centred.
    static void ShowCountdown(GUIText* timer, const Countdown& clock);
    // The white message in the middle of the screen, fading out after `fadeWait`.
    void ShowMessage(const std::string& text, float fadeWait);

  private:
    // The end sequence; true when it ended the frame.
    bool EndSequence();
    void Leave();
    int resumed = 0;
};
