#pragma once
// The dialogue player: a GUI item that plays one dialogue of the dialogue table. Actors slide in
// from the screen edges, speech bubbles and narration boxes type their text out with a ticking
// sound, flags are set, music changes, and the player clicks through the texts or skips the scene.
//
// Numbered operations: `Clear2` gives the player's actors (and their hero portrait) back, `Move3`
// slides an actor to a place, `SetPos2` places a narration box, `Update2` of a text is its
// typewriter step.
#include <memory>
#include <string>
#include <vector>

#include "gui/callback.hpp"
#include "gui/item.hpp"

class DialogueItem;
class DialogueElement;
class GameImage;
class GlyphFont;
class GUIContainer;
class GUIDialogue;

// The bank picture of that name, or null when the bank has none: a dialogue never stops the game
// for a missing picture.
GameImage* FindImage(const std::string& name);

// One actor on stage.
class DialogueActor {
  public:
    // The player always passes border 1 and centred 1.
    DialogueActor(const std::string& actorId, int onLeft, const std::string& imageName, int frameIndex, int x,
                  int border, int centred);
    ~DialogueActor();
    DialogueActor(const DialogueActor&) = delete;
    DialogueActor& operator=(const DialogueActor&) = delete;

    void Clear2();
    // After the device turned: the tween stops, the actor stands on the new bottom edge and keeps
    // its share of the width.
    void CheckRotate();
    // Slides to `target` over 500 ms.
    void Move3(float target);
    // Slides off at its own side.
    void DoExit();
    void Render(float a);

    // 1 on the left side of the screen, 0 on the right (drawn mirrored).
    int left = 1;
    // The horizontal centre.
    FloatObject x;
    int w = 0;
    int y = 0;
    // The hero's own portrait when the actor is "hero".
    GUIItem* hero = nullptr;
    int h = 0;
    // 1 lifts the actor 32 pixels.
    int border = 0;
    std::string id;
    GameImage* image = nullptr;
    int frame = 0;
    // Minus half the width: the picture is centred on x.
    int xmod = 0;

  private:
    void Place();
};

// A speech bubble pointing at its speaker, or a framed narration box.
class DialogueText {
  public:
    // An empty bubble name makes a narration box; the bubble's picture follows `portrait`.
    DialogueText(int x, int y, const std::string& bubbleName, const std::string& text, int portrait);
    ~DialogueText();
    DialogueText(const DialogueText&) = delete;
    DialogueText& operator=(const DialogueText&) = delete;

    void SetPos2(int px, int py);
    // The typewriter: 45 characters a second, with a tick now and then while typing.
    void Update2();
    void Clear2();
    void Render(float a);
    // After the device turned: a bubble changes shape, a narration box is centred again.
    void CheckRotate();
    void SetActor(DialogueActor* speaker);
    void InitBubble();
    // Where a bubble's "Click to continue" line starts below the bubble's top: three prompt lines
    // above the picture's lower edge (five on the tall bubble), but always inside the bubble's
    // body with some air under it, never on its border or down in its tail.
    static int BubblePromptTop(int bubbleHeight, int promptHeight, int portrait);

    int w = 0, h = 0;
    int x = 0, y = 0;
    // The narration frame; null for a bubble.
    GUIContainer* container = nullptr;
    // Characters revealed so far.
    float count = 0;
    // The text as laid out.
    std::string text;
    int done = 0;
    float soundCount = 0;
    DialogueActor* actor = nullptr;
    // 1 for the tall bubble.
    int portrait = 0;
    GlyphFont* font = nullptr;
    std::string origText;
    // Where the picture tag stood in the text, -1 when there is none.
    int imgCount = -1;
    GameImage* img = nullptr;
    int imgX = 0, imgY = 0;
    GlyphFont* small = nullptr;
    std::string stext = "Click to continue";
    int tw = 0, th = 0;
    int sx = 0, sy = 0;
    int tx = 0, ty = 0;
    GameImage* bg = nullptr;

  private:
    // Takes a "<IMG:name>" tag out of the text and makes room for the picture; the text above
    // the picture is measured at `wrapWidth`.
    void extractImage(int wrapWidth);
    void LayOut(int wrapWidth);
    void PlaceNarration();
    int PromptWidth() const;
    int PromptHeight() const;
};

class DialogueCallback : public Callback {
  public:
    explicit DialogueCallback(GUIDialogue* owner) : dialogue(owner) {}
    // "Skip >>" ends the dialogue.
    int Call(GUIItem* sender) override;

    GUIDialogue* dialogue;
};

class GUIDialogue : public GUIItem {
  public:
    // Looks the dialogue up (an unknown id plays as a dialogue without steps); a modal dialogue
    // (suspend 1) fades out the map's menu and profile and suspends the item list. The creator
    // adds the player to the list and may set `callback`.
    GUIDialogue(const std::string& dialogueId, int suspendList);
    ~GUIDialogue() override;

    void Clear2() override;
    int Update2() override;
    // The player's frame; it never takes the mouse from other items.
    int UpdateAction() override;
    void Render() override;

    void CheckRotate();
    // Ends the dialogue at once. Flag steps still ahead run first (texts, waits and actors do
    // not), so skipping never loses the story state a dialogue sets.
    void Stop();
    DialogueActor* getActor(const std::string& actorId);
    // Runs one step; returns its `block`.
    int parseElement(const DialogueElement& step);

    int suspend = 0;
    DialogueItem* dialogue = nullptr;
    DialogueCallback dialogueCallback{this};
    std::vector<std::unique_ptr<DialogueActor>> actors;
    std::unique_ptr<DialogueText> text;
    // Told (with no sender) when the dialogue stops.
    Callback* callback = nullptr;
    float wait = 0;
    int fading = 0;
    // The mouse has been seen up since the last click.
    int ok = 0;
    int currentIndex = 0;

  private:
    void AddSkipButton();
    void DropText();
    // Where a jump lands: the first label of that name, or -1.
    int FindLabel(const std::string& label) const;
    void RunRemainingFlags();
    int stopped = 0;
};
