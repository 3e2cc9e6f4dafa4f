#pragma once
// The hero's portrait, drawn from the current character: the body picture named by
// "CharacterPortrait" (frame 0 the figure, frames 1 to 3 the body, detail and hair layers), each
// layer added in the colour the player chose for it ("CharacterColor1" to "CharacterColor3").
// A body changed in the profile shows from the next frame on.
//
// Numbered operations: `Init5` resets a pooled portrait at a place.
#include <memory>
#include <string>

#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GameImage;

class GUIHero : public GUIItem {
  public:
    static GUIHero* Create(float x, float y);

    void Render() override;
    void Init5(float x, float y);

    GameImage* image = nullptr;
    // The bank name of the body picture drawn.
    std::string portrait;
    // Mirrored horizontally (about the portrait's centre, like scaling).
    int flip = 0;

    static std::unique_ptr<GUIPool<GUIHero>> pool;

  private:
    // Follows "CharacterPortrait" when it names another picture than the one drawn.
    void FollowPortrait();
};
