// The player's hands and eyes: finding items on screen, clicking them, reading dialogues and
// popups on, and the log of screens, frames and game minutes.
#include "tests/support/player.hpp"

#include <cmath>

#include "framework/framework.hpp"
#include "gui/click.hpp"
#include "gui/container.hpp"
#include "gui/dialogue.hpp"
#include "gui/containerbutton.hpp"
#include "gui/gui2.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/profile.hpp"

namespace harness {

namespace {

// Virtual-screen coordinates to window pixels, the inverse of the program's own mapping.
void ToWindow(float vx, float vy, int& wx, int& wy) {
    if (briskGame && briskGame->aspectRatioOn && briskGame->multi > 0) {
        wx = static_cast<int>(std::lround((vx - SCREEN_WIDTH * 0.5f) * briskGame->multi + DEVICE_WIDTH * 0.5f));
        wy = static_cast<int>(std::lround((vy - SCREEN_HEIGHT * 0.5f) * briskGame->multi + DEVICE_HEIGHT * 0.5f));
    } else {
        wx = static_cast<int>(std::lround(vx * (SCREENX_RATIO > 0 ? SCREENX_RATIO : 1.0f)));
        wy = static_cast<int>(std::lround(vy * (SCREENY_RATIO > 0 ? SCREENY_RATIO : 1.0f)));
    }
}

void Collect(GUIItem* item, float ox, float oy, std::vector<ItemBox>& out) {
    if (item == nullptr || item->removing || !item->active) return;
    const float x = ox + item->x, y = oy + item->y;
    out.push_back({item, x + static_cast<float>(item->xadd), y + static_cast<float>(item->yadd), item->w, item->h});
    if (auto* c = dynamic_cast<GUIContainer*>(item)) {
        // A container asks its children from the first one on.
        for (int i = 0; i < c->items.Size(); ++i) Collect(c->items.Get2(i), x, y, out);
    }
}

// What a player reads on an item: a button's caption, a text.
std::string Caption(GUIItem* item) {
    if (auto* b = dynamic_cast<GUITextButton*>(item)) return b->text;
    if (auto* c = dynamic_cast<GUIClickButton*>(item)) return c->text;
    if (auto* t = dynamic_cast<GUIText*>(item)) return t->text;
    return "";
}

}  // namespace

Player::Player(Harness& harness) : h(harness) {
    startMinutes = lastMinutes = GameMinutes();
}

int Player::GameMinutes() {
    if (!Profile::slotFlags) return 0;
    int days = Profile::GetFlagInt("Date.Day");
    const int month = Profile::GetFlagInt("Date.Month");
    for (int m = 0; m < month && m < 12; ++m) days += Profile::daysInMonth[static_cast<size_t>(m)];
    return Profile::GetFlagInt("Date.Time") + days * 960;
}

std::string Player::ScreenName() const {
    return briskGame && briskGame->currentScreen ? briskGame->currentScreen->name : "";
}

void Player::Note() {
    ++frames;
    const std::string screen = ScreenName();
    if (!screen.empty() && (screensReached.empty() || screensReached.back() != screen))
        screensReached.push_back(screen);
    const int act = Profile::slotFlags ? Profile::GetFlagInt("Flag.Act") : 0;
    const int minutes = GameMinutes();
    // A new year starts the count of days again.
    int passed = minutes - lastMinutes;
    if (passed < 0) passed += 365 * 960;
    ActRecord& record = acts[act];
    ++record.frames;
    record.minutes += passed;
    lastMinutes = minutes;
}

bool Player::Step(int count) {
    for (int i = 0; i < count; ++i) {
        if (frameMs > 17) h.AdvanceClock(frameMs - 17);
        if (!h.Step()) return false;
        Note();
    }
    return true;
}

bool Player::WaitUntil(const std::function<bool()>& done, int maxFrames) {
    for (int i = 0; i < maxFrames; ++i) {
        if (done()) return true;
        if (!Step()) return false;
    }
    return done();
}

std::vector<ItemBox> Player::Items() const {
    std::vector<ItemBox> out;
    if (!GUIList::currentList) return out;
    const GUIItemList& list = *GUIList::currentList;
    for (int i = list.Size() - 1; i >= 0; --i) Collect(list.Get2(i), 0, 0, out);
    return out;
}

std::optional<ItemBox> Player::Find(const std::string& id, const std::string& name) const {
    for (const ItemBox& box : Items())
        if (box.item->id == id && (name.empty() || box.item->name == name)) return box;
    return std::nullopt;
}

std::optional<ItemBox> Player::FindCaption(const std::string& caption) const {
    for (const ItemBox& box : Items()) {
        if (Caption(box.item) == caption) return box;
        // A card that is one button answers for the words on it.
        if (auto* b = dynamic_cast<GUIContainerButton*>(box.item); b && b->container) {
            std::vector<ItemBox> inside;
            Collect(b->container, box.x, box.y, inside);
            for (const ItemBox& part : inside)
                if (Caption(part.item) == caption) return box;
        }
    }
    return std::nullopt;
}

void Player::MoveTo(float vx, float vy) {
    int wx = 0, wy = 0;
    ToWindow(vx, vy, wx, wy);
    h.MouseMove(wx, wy);
}

void Player::ClickAt(float vx, float vy) {
    MoveTo(vx, vy);
    Step();
    h.MouseButton(0, true);
    Step();
    h.MouseButton(0, false);
    Step();
}

void Player::Click(const ItemBox& box) {
    Remember(box.item->id + "/" + box.item->name);
    ClickAt(box.CentreX(), box.CentreY());
}

void Player::Remember(const std::string& what) {
    if (recentClicks.size() >= 16) recentClicks.erase(recentClicks.begin());
    recentClicks.push_back(std::to_string(frames) + " " + ScreenName() + ": " + what);
}

std::string Player::RecentClicks() const {
    std::string all;
    for (const std::string& click : recentClicks) all += "\n  " + click;
    return all;
}

bool Player::Click(const std::string& id, const std::string& name) {
    const std::optional<ItemBox> box = Find(id, name);
    if (!box) return false;
    Click(*box);
    return true;
}

bool Player::ClickCaption(const std::string& caption) {
    const std::optional<ItemBox> box = FindCaption(caption);
    if (!box) return false;
    Click(*box);
    return true;
}

void Player::DragBy(float dx, float dy) {
    const float x0 = SCREEN_WIDTH * 0.5f, y0 = SCREEN_HEIGHT * 0.5f;
    Remember("drag by " + std::to_string(static_cast<int>(dx)) + "," + std::to_string(static_cast<int>(dy)));
    MoveTo(x0, y0);
    Step();
    h.MouseButton(0, true);
    Step();
    constexpr int kSteps = 6;
    for (int i = 1; i <= kSteps; ++i) {
        MoveTo(x0 + dx * static_cast<float>(i) / kSteps, y0 + dy * static_cast<float>(i) / kSteps);
        Step();
    }
    h.MouseButton(0, false);
    Step();
}

void Player::Type(const std::string& text) {
    // The game reads one typed character a frame.
    h.Text(text);
    Step(static_cast<int>(text.size()) + 2);
}

void Player::PressKey(int key) {
    h.Key(key, true);
    Step();
    h.Key(key, false);
    Step(2);
}

bool Player::Answer() {
    // A choice popup of the story: the choices are its buttons.
    std::vector<std::string> choices;
    for (const ItemBox& box : Items())
        if (box.item->id == "choice") choices.push_back(box.item->name);
    if (!choices.empty()) {
        const std::string pick = choose ? choose(choices) : choices.front();
        return Click("choice", pick);
    }
    // Text popups and result sheets: their "ok" button, or "Click to continue" (topmost first). A
    // dungeon's way out is no answer.
    for (const ItemBox& box : Items()) {
        const bool button = dynamic_cast<GUIPressable*>(box.item) || dynamic_cast<GUIClickButton*>(box.item);
        if (button && box.item->name == "ok" && box.item->id != "back") {
            Click(box);
            return true;
        }
    }
    // A dialogue reads on with a click anywhere (a game's short messages go by themselves).
    const std::optional<ItemBox> scene = Find("dialogue");
    if (scene && dynamic_cast<GUIDialogue*>(scene->item)) {
        Remember("dialogue");
        ClickAt(SCREEN_WIDTH * 0.5f, SCREEN_HEIGHT * 0.5f);
        return true;
    }
    return false;
}

bool Player::PlayOn(int maxFrames) {
    const int start = frames;
    int calm = 0;
    while (frames - start < maxFrames) {
        if (Answer() || PlayPuzzle()) {
            calm = 0;
            continue;
        }
        if (GUIList::Suspended() || Find("dialogue") || Find("popup") || Find("result")) {
            calm = 0;
        } else if (++calm >= 10) {
            return true;
        }
        if (!Step()) return false;
    }
    return false;
}

}  // namespace harness
