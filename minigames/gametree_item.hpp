#pragma once
// The tree-bashing distress game on screen: the tree in the street, the "Click" button with its
// guide circle, the power ring that grows while the button is held, the cats shaken out, and the
// countdown. Started by a distress action "tree".
#include <memory>

#include "minigames/distressgame.hpp"
#include "minigames/gametree.hpp"

class GUIGameTree : public GUIGameDistress {
  public:
    explicit GUIGameTree(ActionItemGameDistress* action);
    static std::shared_ptr<GUIGameTree> GUIGameTree_new(ActionItemGameDistress* action) {
        return std::make_shared<GUIGameTree>(action);
    }

    DistressPlay& Rules() override { return rules; }

    // "Tree", standing on the middle of its bottom edge, and "TreeCircle320x320", whose second
    // frame rings the power.
    GameImage* tree = nullptr;
    GameImage* circle = nullptr;
    TreeRules rules;
    GUIText* timer = nullptr;

  protected:
    void UpdatePlay(const DistressInput& in) override;
    void Cleanup() override {}
    void InitPopup() override;
    // The instruction stays on the panel instead.
    void InitStartMessage() override {}
    const char* StartText() const override { return ""; }
    float PopupWait() const override { return 250; }
    void PlayStep(const DistressInput& in) override;
    void RotateGame() override;
    void RenderPlay() override;
    void OnEvent(const DistressEvent& event) override;
    void OnBack() override;

  private:
    // The button and its circle, offered when neither they nor a cat are on screen.
    void InitCircle();
    void InitCat(const DistressEvent& event);
    void DropPanel();
};
