// Popups: text popups, finished custom popups, the reward sheet and the rounded borders.
#include "gui/popup.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/click.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/image.hpp"
#include "gui/meterattribute.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/data2.hpp"

PopupCallback Popup::popupCallback;

namespace {

constexpr int kWhite = 0xffffff;
// Entries of the program's text palette the reward lines are drawn in.
constexpr int kMoneyColour = 0xffff80;
constexpr int kReputationColour = 0xff80ff;
constexpr int kSkillColour = 0xc0c0ff;
constexpr int kRaisedColour = 0xc0ffc0;
constexpr int kLoweredColour = 0xffc0c0;
constexpr int kClueColour = 0xc0ffff;
// Frames of "Icons02".
constexpr int kMoneyIcon = 3;
constexpr int kReputationIcon = 4;
constexpr int kClueIcon = 6;

// Three quarters of the screen's shorter side (the reward sheet takes 0.85).
int PopupWidth(double share) {
    const int shorter = Data::virtualHeight < Data::virtualWidth ? Data::virtualHeight : Data::virtualWidth;
    return TruncToInt(share * shorter);
}

Callback* OrDefault(Callback* callback) {
    return callback ? callback : &Popup::popupCallback;
}

// The title straddles the frame's top edge.
void AddTitle(GUIContainer* c, const std::string& title) {
    if (title.empty()) return;
    GUIText* t = GUIText::Create(0, 0, title, Fonts::Get("ob"), kWhite);
    t->x = static_cast<float>((c->w - t->w) / 2);
    t->y = -static_cast<float>(t->h) * 0.4f;
    c->AddLast20(t, 0, 0);
}

const FlagItem* FirstWithKey(const FlagList& values, const char* key) {
    for (const FlagItem* item : values) {
        if (item != nullptr && item->name == key) return item;
    }
    return nullptr;
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

// One reward row: an icon and a line centred together as a pair at the container's foot, with an
// optional bonus part after the line (the pair then moves left by half the bonus's width).
// Nothing when neither a value nor a bonus is given. Returns whether a row was made.
bool AddRewardRow(GUIContainer* c, int value, const std::string& line, int bonus,
                  const std::string& bonusAfter, const std::string& bonusAlone, int colour, int iconFrame) {
    GlyphFont* font = Fonts::Get("on");
    std::string shown;
    if (value != 0) {
        shown = line;
    } else if (bonus > 0) {
        shown = bonusAlone;
    } else {
        return false;
    }
    GUIText* text = GUIText::Create(0, 0, shown, font, colour);
    GUIImage* icon = GUIImage::Create(0, 0, "Icons02", iconFrame);
    // The icon is taller than the line and centred on it: the row starts low enough that the
    // icon's top, not the line's, meets the row above, so a coin does not lie under a star.
    const float rowY = static_cast<float>(c->h) + std::max(0.0f, static_cast<float>(icon->h - text->h) / 2);
    text->y = rowY;
    icon->x = static_cast<float>((c->w - text->w - icon->w) / 2);
    text->x = icon->x + static_cast<float>(icon->w);
    icon->y = text->y - static_cast<float>(icon->h - text->h) / 2;
    GUIText* extra = nullptr;
    if (value != 0 && bonus > 0) {
        extra = GUIText::Create(0, rowY, bonusAfter, font, colour);
        const float shift = static_cast<float>(extra->w) / 2;
        text->x -= shift;
        icon->x -= shift;
        extra->x = text->x + static_cast<float>(text->w) + 16;
    }
    c->AddLast20(icon, 0, 0);
    c->AddLast20(text, 0, 0);
    if (extra) c->AddLast20(extra, 0, 0);
    return true;
}

// One meter per matching reward, stacked; returns whether any was made.
template <class Pick>
bool AddMeters(GUIContainer* c, const FlagList& values, int colour, Pick pick) {
    bool any = false;
    for (const FlagItem* item : values) {
        if (item == nullptr || !pick(*item)) continue;
        GUIMeterAttribute* m =
            GUIMeterAttribute::Create(0, static_cast<float>(c->h), colour, item->name, item->GetInt(), 0);
        c->AddLast20(m, 1, 0);
        any = true;
    }
    return any;
}

std::string Money(int64_t v) {
    return v < 0 ? "-$" + std::to_string(-v) : "$" + std::to_string(v);
}

}  // namespace

int PopupCallback::Call(GUIItem* sender) {
    if (sender == nullptr || sender->name != "ok") return 0;
    GUIList::FadeOut(sender->id, "");
    if (sender->data == 0) GUIList::Resume();
    return 0;
}

GUIContainer* Popup::CreatePopup(const std::string& title, const std::string& text,
                                 const std::string& okCaption, const std::string& cancelCaption,
                                 const std::string& id, Callback* callback, int centerText, int suspend) {
    if (suspend) GUIList::Suspend();
    GUIContainer* c = GUIContainer::Create(0, 0);
    c->id = "popup";
    c->w = PopupWidth(0.75);

    GUIText* body = GUIText::Create(0, 0, text, Fonts::Get("n"), 0);
    body->SetWidth(c->w);
    if (centerText) body->center = 1;
    c->AddLast20(body, 0, 0);

    GlyphFont* captionFont = Fonts::Get("on");
    float buttonY = static_cast<float>(c->h + 24);
    if (!okCaption.empty()) {
        GUITextButton* ok = GUITextButton::Create(0, buttonY, "Buttons01", okCaption, captionFont, kWhite,
                                                  OrDefault(callback), 0);
        ok->id = id;
        ok->name = "ok";
        if (cancelCaption.empty()) {
            c->AddLast20(ok, 1, 0);
        } else {
            // The two buttons meet at the centre line.
            ok->x = static_cast<float>(c->w / 2 - ok->w);
            c->AddLast20(ok, 0, 0);
        }
    }
    if (!cancelCaption.empty()) {
        // Alone, it stands where the ok button would.
        GUITextButton* cancel =
            GUITextButton::Create(static_cast<float>(c->w / 2), buttonY, "Buttons01", cancelCaption,
                                  captionFont, kWhite, OrDefault(callback), 0);
        cancel->id = id;
        cancel->name = "cancel";
        c->AddLast20(cancel, 0, 0);
    }
    if (okCaption.empty() && cancelCaption.empty()) {
        GUIClickButton* next = GUIClickButton::Create(0, buttonY, "Click to continue", Fonts::Get("os"),
                                                      kWhite, OrDefault(callback));
        next->id = id;
        next->name = "ok";
        c->AddLast20(next, 1, 0);
    }
    AddFrameRounded(c);
    if (centerText) body->x = static_cast<float>((c->w - body->w) / 2);
    AddTitle(c, title);
    GUIList::AddLast(c, 1, 1);
    return c;
}

GUIContainer* Popup::ShowChoice(const std::string& title, const std::string& text,
                                const std::string& okCaption, const std::string& cancelCaption,
                                const std::string& id, Callback* callback, int centerText) {
    return CreatePopup(title, text, okCaption, cancelCaption, id, callback, centerText, 1);
}

void Popup::CustomPopup(const std::string& title, GUIContainer* container, Callback* callback, int suspend) {
    if (container == nullptr) return;
    if (suspend) GUIList::Suspend();
    GUIClickButton* next =
        GUIClickButton::Create(0, static_cast<float>(container->h + 24), "Click to continue",
                               Fonts::Get("os"), kWhite, OrDefault(callback));
    next->id = container->id;
    next->name = "ok";
    if (suspend == 0) next->data = 1;
    container->AddLast20(next, 1, 0);
    AddFrameRounded(container);
    AddTitle(container, title);
    GUIList::Add(container, 1700, 1, 1);
}

GUIContainer* Popup::InitResult(const std::string& title, const std::string& text, const FlagList& values,
                                int bonusMoney, int bonusReputation) {
    GUIContainer* c = GUIContainer::Create(0, 0);
    c->id = "result";
    c->w = PopupWidth(0.85);

    GUIText* body = GUIText::Create(0, 0, text, Fonts::Get("n"), 0);
    body->SetWidth(c->w);
    body->center = 1;
    c->AddLast20(body, 1, 0);
    c->h += 16;

    const FlagItem* time = FirstWithKey(values, "Date.Time");
    if (time && time->GetInt() != 0) {
        GUIText* line =
            GUIText::Create(0, static_cast<float>(c->h),
                            "Time: " + std::to_string(time->GetInt()) + " minutes", Fonts::Get("os"), kWhite);
        c->AddLast20(line, 1, 0);
        c->h += 8;
    }

    bool rows = false;
    const FlagItem* money = FirstWithKey(values, "Resource.Money");
    const int m = money ? money->GetInt() : 0;
    rows = AddRewardRow(c, m, Money(m), bonusMoney, "+ Bonus $" + std::to_string(bonusMoney),
                        "Bonus $" + std::to_string(bonusMoney), kMoneyColour, kMoneyIcon) ||
           rows;
    const FlagItem* reputation = FirstWithKey(values, "Resource.Reputation");
    const int rep = reputation ? reputation->GetInt() : 0;
    rows = AddRewardRow(c, rep, std::to_string(rep), bonusReputation,
                        "+ Bonus " + std::to_string(bonusReputation),
                        "Bonus " + std::to_string(bonusReputation), kReputationColour, kReputationIcon) ||
           rows;
    const FlagItem* clues = FirstWithKey(values, "Resource.Clues");
    const int clue = clues ? clues->GetInt() : 0;
    rows = AddRewardRow(c, clue, std::to_string(clue), 0, "", "", kClueColour, kClueIcon) || rows;
    if (rows) c->h += 8;

    // A skill reward of 0 (a job's rewards scaled down by the time left) is passed over; the skills
    // after it are still shown, since they are still given.
    if (AddMeters(c, values, kSkillColour,
                  [](const FlagItem& f) { return StartsWith(f.name, "Skill.") && f.GetInt() != 0; })) {
        c->h += 8;
    }
    if (AddMeters(c, values, kRaisedColour,
                  [](const FlagItem& f) { return StartsWith(f.name, "Attribute.") && f.GetInt() > 0; })) {
        c->h += 8;
    }
    AddMeters(c, values, kLoweredColour,
              [](const FlagItem& f) { return StartsWith(f.name, "Attribute.") && f.GetInt() < 0; });

    CustomPopup(title, c, nullptr, 0);
    // The sheet comes up slower than a plain popup.
    Data::KillTweens(&c->alpha);
    Data::AddTween(&c->alpha, 1000, 0.0f, 1.0f);
    return c;
}

void Popup::AddFrameRounded(GUIContainer* container) {
    AddFrameQuarters(container, "FramePopup", 40);
}

void Popup::AddFrameSpeech(GUIContainer* container) {
    AddFrameQuarters(container, "FrameSpeech", 24);
}
