#pragma once
// The loading screen: the logo, a progress bar and a joking line of text while the loader works
// off its list one real load per frame; then the title, the intro cutscene or the city map starts
// at once. The escape key ends the game here.
#include <array>
#include <memory>
#include <string>

#include "framework/screen.hpp"
#include "screens/loader.hpp"

class LoadScreen : public Screen {
  public:
    // LoadScreen_new: the list of `type` ("title", "intro" or "game").
    explicit LoadScreen(const std::string& type);
    static std::shared_ptr<LoadScreen> LoadScreen_new(const std::string& type) {
        return std::make_shared<LoadScreen>(type);
    }

    void Start() override;
    void Update2() override;
    void Render() override;
    // Picks a new loading text once a second.
    void UpdateText();
    // Lays the logo, bar and text out again in a frame where the screen turned.
    void CheckRotate();

    std::string type;
    int ly = 0;
    int by = 0;
    int ty = 0;
    // The millisecond clock at the last update, and the time since the text last changed.
    float time = 0;
    float diff = 0;
    std::unique_ptr<Loader> loader;
    std::string text;
    int first = 1;

    static const std::array<const char*, 27> loadingTexts;

  private:
    void Layout();
    // The successor of this list's screen, started at once.
    void Next();
    // The text as wrapped for the screen, made when the text changes.
    std::string wrapped;
};
