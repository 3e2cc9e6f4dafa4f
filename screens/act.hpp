#pragma once
// The act card: the number and title of a new act of the story drift across the act picture for
// eight seconds (or until a click or the escape key), then the game returns to the city map. Every
// card counts the acts shown one further and clears the done-markers of the story's actions, so a
// new act starts fresh.
#include <memory>
#include <string>

#include "gui/gui2.hpp"

class ActScreen : public GameScreen {
  public:
    // ActScreen_new: a new card, named "Act".
    ActScreen();
    static std::shared_ptr<ActScreen> ActScreen_new() { return std::make_shared<ActScreen>(); }

    void Start() override;
    void Update2() override;
    void Render() override;
    // On the frame the screen turns: the picture is centred again and the drifting texts keep
    // their share of the screen.
    void CheckRotate();

    // The card's title and subtitle for the acts shown so far (both empty past the epilogue).
    static void CardFor(int actShow, std::string& title, std::string& text);

    std::string title;
    std::string text;
    // Milliseconds since the card started.
    float count = 0;
    // The subtitle is up.
    int triggered = 0;
    // The closing sound has played.
    int sound = 0;
    // The picture is fading out.
    int fading = 0;
    // The mouse has been seen up since the card opened.
    int ok = 0;

  private:
    void Leave();
    // One burst of six drifting copies of a text, the last and largest exactly at (x0, y0).
    void Burst(const std::string& line, int colour, int x0, int y0, bool subtitle);
    int left = 0;
};
