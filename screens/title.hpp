#pragma once
// The title screen: the street with slowly turning light rays and drifting clouds, the logo
// bursting into view with fireworks, then the version line and the buttons play, trophies,
// options and exit, one by one. "play" hands the screen to the character popups; once a hero is
// chosen the title fades to the loading screen of the intro (a new story) or of the game.
#include <memory>

#include "core/collections.hpp"
#include "gui/callback.hpp"
#include "gui/gui2.hpp"

class GameImage;

// The hand-off between the title and the character popups, which set them.
// The character popups have the screen.
extern int characterStep;
// A hero was chosen or created: start its game.
extern int startChosen;
// Open the character creation next.
extern int openCreation;
// A delete question is up: the selection is not reopened meanwhile.
extern int confirmPending;
// The logo burst has played.
extern int introShown;
// Fade the logo out.
extern int logoHideRequest;

class TitleCallback : public Callback {
  public:
    int Call(GUIItem* sender) override;
};

class TitleScreen : public GameScreen {
  public:
    TitleScreen();
    ~TitleScreen() override;
    static std::shared_ptr<TitleScreen> TitleScreen_new() { return std::make_shared<TitleScreen>(); }

    void Start() override;
    void Update2() override;
    void Render() override;
    // The logo's centre for the present screen.
    void UpdatePos();
    // Places the buttons that are up.
    void UpdateButtons();
    void CheckRotate();

    GameImage* logo = nullptr;
    GameImage* bg = nullptr;
    GameImage* rays = nullptr;
    int lx = 0, ly = 0;
    FloatObject alpha{0.0f};
    float wait = 0;
    float counter = 0;
    float cloudCounter = 0;
    FloatObject logoAlpha{0.0f};
    FloatObject logoScale{0.0f};
    TitleCallback callback;

    // The hand-off flags at program start.
    static void InitGlobals();

  private:
    void MakeCloud();
    void BurstLogo();
    void ShowLogo();
    // The popups over the title; true while one has the screen.
    bool UpdatePopups();
    void UpdateCharacterStep();
    void BuildUp();
};
