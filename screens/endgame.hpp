#pragma once
// The end-game screen, shown once when the story reaches its last act: two pages of the ending the
// player's decisions chose, the hero score counting up row by row, a thank-you note and the
// rolling credits, over the act picture and its slowly turning rays; then back to the city map.
//
// Numbered operations: `InitResult2` and `InitResult3` are the two ending pages, `InitResult1`
// the score table, `InitPresentation1` the thank-you note; `EndGameCallback_new2` is the
// callback without a screen.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "gui/callback.hpp"
#include "gui/gui2.hpp"
#include "screens/endings.hpp"

class DialogueText;
class EndGameScreen;
class GameImage;
class GUIContainer;

// "Click to continue" of a page: the page fades out and the screen moves on half a second later.
class EndGameCallback : public Callback {
  public:
    explicit EndGameCallback(EndGameScreen* screen = nullptr) : endScreen(screen) {}
    static EndGameCallback EndGameCallback_new2() { return EndGameCallback(); }

    int Call(GUIItem* sender) override;

    EndGameScreen* endScreen = nullptr;
};

class EndGameScreen : public GameScreen {
  public:
    // EndGameScreen_new: named "Endgame".
    EndGameScreen();
    ~EndGameScreen() override;
    static std::shared_ptr<EndGameScreen> EndGameScreen_new() { return std::make_shared<EndGameScreen>(); }

    void Start() override;
    void Update2() override;
    void Render() override;
    void CheckRotate();
    void InitResult2();
    void InitResult3();
    void InitResult1();
    void InitPresentation1();

    // The hero's portrait block of the character sheet, put on the left of a page. The character
    // sheet's module may provide its own; until then the end game builds the same block.
    static std::function<void(GUIContainer*)> addPortrait;

    EndGameCallback endCallback;
    GameImage* bg = nullptr;
    GameImage* rays = nullptr;
    int blizzard = 0, villains = 0, power = 0, job = 0, reputation = 0, ethics = 0, upgrades = 0, time = 0,
        total = 0;
    std::array<FloatObject, 9> values{};
    FloatObject alpha{0.0f};
    float wait = 0;
    std::unique_ptr<DialogueText> text;
    float counter = 0;
    int ok = 0;
    float count = 0;
    // 0 first ending page, 1 waiting, 2 second page, 3 waiting, 4 score table, 5 counting up,
    // 6 thank-you note, 7 credits rolling, 8 credits draining, 9 closing fade, 10 back to the map.
    int state = 0;
    // The score table's continue button.
    GUIItem* item = nullptr;
    int stateCount = 0;
    int index = 0;
    std::array<std::string, 44> credits;

  private:
    // A framed page of width 400 with its children added, and the "Click to continue" at its foot.
    GUIContainer* NewPage();
    GUIItem* FinishPage(GUIContainer* page);
    void AddCreditsLine(const std::string& line);
    // The credits lines rolling up the screen show only inside the act picture's gold frame.
    void ShowCreditsInFrame();
    void StepCount();
    int left = 0;
};
