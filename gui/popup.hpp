#pragma once
// The game's message boxes: a framed text with up to two buttons (or "Click to continue"), a frame
// and title around a container its caller filled, the reward sheet shown after jobs, training,
// battles, quests and events, and the two rounded borders. A popup is modal when its caller asks:
// the item list is set aside first and comes back when the popup is confirmed.
//
// Item ids: "popup" for text popups, "result" for reward sheets. Their buttons carry the caller's
// id and the names "ok" (confirm, and "Click to continue") and "cancel"; a caller's own callback
// tells the pressed button by these.
#include <string>

#include "gui/callback.hpp"
#include "model/profile.hpp"

class GUIContainer;

// The handler of popup buttons when the caller gives none: "ok" fades the popup out and, unless
// the button says otherwise (`data` 1, a popup that did not suspend), brings the list back.
// "cancel" does nothing; callers that offer it pass their own callback.
class PopupCallback : public Callback {
  public:
    int Call(GUIItem* sender) override;
};

class Popup {
  public:
    // A framed text, centred on the screen, with an ok and a cancel button when their captions are
    // given, or "Click to continue" when neither is. Returns the popup's container.
    static GUIContainer* CreatePopup(const std::string& title, const std::string& text,
                                     const std::string& okCaption, const std::string& cancelCaption,
                                     const std::string& id, Callback* callback, int centerText, int suspend);
    // A modal text popup: the player must answer before anything else reacts.
    static GUIContainer* ShowChoice(const std::string& title, const std::string& text,
                                    const std::string& okCaption, const std::string& cancelCaption,
                                    const std::string& id, Callback* callback, int centerText);
    // Adds "Click to continue", the frame and the title to a container the caller filled, and
    // shows it centred above everything else.
    static void CustomPopup(const std::string& title, GUIContainer* container, Callback* callback,
                            int suspend);
    // The reward sheet: the text, then the time spent, money, reputation and clues (with any
    // bonus), then meters counting up each skill and raised attribute and down each lowered one.
    // Not modal. The caller adds the rewards to the profile afterwards, so the meters count from
    // the old values to the new ones.
    static GUIContainer* InitResult(const std::string& title, const std::string& text, const FlagList& values,
                                    int bonusMoney, int bonusReputation);
    static void AddFrameRounded(GUIContainer* container);
    static void AddFrameSpeech(GUIContainer* container);

    static PopupCallback popupCallback;
};
