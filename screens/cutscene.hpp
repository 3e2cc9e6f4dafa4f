#pragma once
// The cutscene screen: plays one cutscene of the animation table (with its skip button) and, when
// the scene has left the screen (its end, the skip button or the escape key), goes on to what
// follows it: "map" readies the game and opens the city map; anything else leaves the screen
// empty.
#include <memory>
#include <string>

#include "gui/gui2.hpp"

class CutsceneScreen : public GameScreen {
  public:
    // CutsceneScreen_new: the scene `anim`, then `nxt`.
    CutsceneScreen(const std::string& anim, const std::string& nxt);
    static std::shared_ptr<CutsceneScreen> CutsceneScreen_new(const std::string& anim,
                                                              const std::string& nxt) {
        return std::make_shared<CutsceneScreen>(anim, nxt);
    }
    static std::shared_ptr<CutsceneScreen> CutsceneScreen_new2() {
        return std::make_shared<CutsceneScreen>("", "");
    }

    void Start() override;
    void Update2() override;
    void Render() override;

    std::string anim;
    std::string nxt;
    // The scene has ended and the screen has moved on.
    int stopped = 0;
};
