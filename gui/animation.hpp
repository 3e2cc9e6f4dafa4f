#pragma once
// The cutscene player: one script of the animation table played as a GUI item. Pictures enter,
// glide, fade, grow and change colour along tweens, captions type themselves out and fade, music
// and sounds start and sparks burst, step after step with timed pauses, until the script ends, the
// skip button is pressed or the player asks to go back.
#include <memory>
#include <string>
#include <vector>

#include "core/collections.hpp"
#include "core/pool.hpp"
#include "gui/animations.hpp"
#include "gui/callback.hpp"
#include "gui/item.hpp"

class GameImage;
class GlyphFont;
class GUIAnimation;

// The skip button's handler: it stops the player it belongs to.
class AnimationCallback : public Callback {
  public:
    AnimationCallback() = default;
    explicit AnimationCallback(GUIAnimation* player) : animation(player) {}
    static AnimationCallback AnimationCallback_new(GUIAnimation* player) { return AnimationCallback(player); }

    int Call(GUIItem* sender) override;

    GUIAnimation* animation = nullptr;
};

// A named place on the stage.
class AnimationPos {
  public:
    std::string name;
    int x = 0;
    int y = 0;
};

class AnimationObject;

// Gives a picture back to its pool when it leaves the stage, with its running tweens.
struct AnimationObjectRelease {
    void operator()(AnimationObject* object) const;
};
using AnimationObjectPtr = std::unique_ptr<AnimationObject, AnimationObjectRelease>;

// One picture on stage. Its animated values are tween targets; an object leaving the stage takes
// its running tweens with it. Pictures come from one pool, as every effect and cutscene enters a
// few and lets them go again.
class AnimationObject {
  public:
    AnimationObject() = default;
    ~AnimationObject();
    AnimationObject(const AnimationObject&) = delete;
    AnimationObject& operator=(const AnimationObject&) = delete;

    // Unset alpha, scale and colour (AnimationElement::unset) keep opaque, natural size, untinted.
    // The image "CharacterShadow" stands for the hero's own body, drawn black.
    static AnimationObjectPtr AnimationObject_new(const std::string& id, int x, int y, const std::string& imageName,
                                                  int frame, int center, int alpha, int scale, int color, int flip);
    // A picture at rest: none shown, at the stage's corner, opaque, natural size, untinted.
    static AnimationObjectPtr AnimationObject_new2();

    // Each goes to its new value over d ms, or at once when d is 0. Alpha and scale in hundredths.
    void SetXValue(float v, int d);
    void SetYValue(float v, int d);
    void SetAlphaValue(int v, int d);
    void SetScaleValue(int v, int d);
    void SetColorValue(int c, int d);
    // a turns the picture by a x 0.2 degrees when it rotates.
    void Render3(float a);

    std::string id;
    int flip = 0;
    GameImage* image = nullptr;
    // Scaled about the image's handle instead of its middle.
    int center = 0;
    int frame = 0;
    int w = 0;
    int h = 0;
    FloatObject x;
    FloatObject y;
    FloatObject alpha{1.0f};
    FloatObject scale{1.0f};
    FloatObject r{255.0f};
    FloatObject g{255.0f};
    FloatObject b{255.0f};
    int additive = 0;
    int rotate = 0;
    PoolMark inUse;

  private:
    friend struct AnimationObjectRelease;
    static Pool<AnimationObject>& Objects();
    void Tween(FloatObject& value, float to, int d);
    void KillTweens();
};

// One caption: typed out at 50 characters a second with a ticking sound, shown for a while that
// grows with its length (or until its own time limit), then faded.
class AnimationText {
  public:
    AnimationText() = default;
    ~AnimationText();
    AnimationText(const AnimationText&) = delete;
    AnimationText& operator=(const AnimationText&) = delete;

    // Unset x and y stand 24 from the edge. `center` centres the caption on the screen, `flip`
    // ends it at x (or 24 from the right edge).
    static std::unique_ptr<AnimationText> AnimationText_new(int x, int y, const std::string& text, int color,
                                                            int center, int flip, int time);
    static std::unique_ptr<AnimationText> AnimationText_new2() { return std::make_unique<AnimationText>(); }

    void Update2();
    void Render();

    float count = 0;
    std::string text;
    float soundCount = 0;
    int center = 0;
    // Display limit in ms; 0 lets the caption's length decide.
    int time = 0;
    float timeCount = 0;
    int done = 0;
    int fading = 0;
    FloatObject alpha{1.0f};
    int x = 0;
    int y = 0;
    GlyphFont* font = nullptr;
    int w = 0;
    int h = 0;
    int r = 255;
    int g = 255;
    int b = 255;
};

class GUIAnimation : public GUIItem {
  public:
    // Plays the cutscene of that id; an id no cutscene has gives an empty script. With skip set a
    // "Skip >>" button comes with it. The creator adds the player to the item list.
    GUIAnimation(const std::string& animationId, int skip);
    // Plays the given script (a cutscene, or an effect script to look at); null plays nothing.
    GUIAnimation(const AnimationItem* script, int skip);
    static std::shared_ptr<GUIAnimation> GUIAnimation_new(const std::string& animationId, int skip) {
        return std::make_shared<GUIAnimation>(animationId, skip);
    }
    static std::shared_ptr<GUIAnimation> GUIAnimation_new2() {
        return std::make_shared<GUIAnimation>(static_cast<const AnimationItem*>(nullptr), 0);
    }

    // The script runs in the input pass, but never takes the mouse from the items below it.
    int UpdateAction() override;
    void Render() override;

    // Ends the scene at once: the music stops, the player and its skip button leave the list.
    void Stop();
    AnimationPos* GetPos(const std::string& posName);
    AnimationObject* getObject(const std::string& objectId);
    // Runs one step; 1 for a step that pauses the script.
    int parseElement2(const AnimationElement& e);

    const AnimationItem* item = nullptr;
    int offsetX = 0;
    int offsetY = 0;
    AnimationCallback animCallback;
    std::vector<std::unique_ptr<AnimationText>> text;
    float wait = 0;
    int currentIndex = 0;
    std::vector<AnimationPos> posItems;
    std::vector<AnimationObjectPtr> objects;

  private:
    // Takes the player and its skip button off the list, once.
    void Leave();
    void ResolvePos(const AnimationElement& e, int& px, int& py);
};
