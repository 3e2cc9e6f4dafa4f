// The distress games' shared frame: set-up over the map, the order of a frame's steps, the end
// sequence, the results, the floating reward numbers and the way back to the map.
#include "minigames/distressgame.hpp"

#include <algorithm>
#include <array>
#include <memory>

#include "core/glyphfont.hpp"
#include "core/strings.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "gui/text.hpp"
#include "minigames/puzzlegame.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "platform/random.hpp"
#include "screens/menu.hpp"

namespace {

constexpr int kWhite = 0xFFFFFF;
// Half the height of the hero where he stands mid-screen, and a little air.
constexpr int kHeroClearance = 48;
// The reward number's colour and the clue's: entries 1 and 9 of the text palette.
constexpr int kRewardEntry = 1;
constexpr int kClueEntry = 9;

// A message is wrapped to this width, or as much wider as it needs to take two lines at most: one
// word a line, it would stand tall over the hero.
constexpr int kMessageWidth = 256;
constexpr int kMessageLines = 2;
constexpr int kMessageWiden = 16;

int Lines(const std::string& wrapped) {
    int lines = 1;
    const std::string br = Data::kBreak;
    for (size_t at = wrapped.find(br); at != std::string::npos; at = wrapped.find(br, at + br.size()))
        ++lines;
    return lines;
}

int MessageWidth(const std::string& text, GlyphFont* font) {
    const int widest = std::max(kMessageWidth, Data::virtualWidth - 2 * kMessageWiden);
    int width = kMessageWidth;
    while (width < widest && Lines(Data::ExTextSplit(text, font, width)) > kMessageLines)
        width += kMessageWiden;
    return std::min(width, widest);
}

bool Shown(const char* id) {
    return GUIList::Get(id, "") != nullptr;
}

void ShowFloating(const DistressEvent& event, const std::string& text, int colour, float speed) {
    Menu::ShowNumber(TruncToInt(event.x), TruncToInt(event.y), text, colour, 270, speed, 1500, Fonts::Get("ob"),
                     0);
}

}  // namespace

GUIGameDistress::GUIGameDistress(ActionItemGameDistress* action, const std::string& bgName) : ai(action) {
    GUIList::FadeOut("menu", "");
    GUIList::FadeOut("time", "");
    GUIList::Suspend();
    MapCover::FadeOutMap();
    Audio::PlayMusic(7);
    Profile::SetFlagInt("Game.DistressFail", 0);
    Profile::SetFlagInt("Game.DistressWin", 0);
    id = "distress";
    bg = FindImage(bgName);
    alpha.value = 0;
}

GUIGameDistress::~GUIGameDistress() {
    Data::KillTweens(&alpha);
    Data::KillTweens(&scale);
}

void GUIGameDistress::Begin() {
    wait = 500;
    FadeIn(1.0f, 1);
}

int GUIGameDistress::Difficulty() const {
    return ai ? ai->difficulty : 1;
}

DistressInput GUIGameDistress::Input() {
    DistressInput in;
    in.frameMs = Data::frameMs;
    in.mouseX = Data::mouseVX;
    in.mouseY = Data::mouseVY;
    in.mouseHeld = Data::mouseHeld != 0;
    return in;
}

DistressRandom GUIGameDistress::EngineRandom() {
    return [](float low, float high) { return platform::Rnd(low, high); };
}

int GUIGameDistress::Update2() {
    GUIItem::Update2();
    CheckRotate();
    DistressPlay& rules = Rules();
    // Only a call still being played is abandoned. Once play is over the key is left to the
    // after-game dialogue, and the game keeps its outcome and its results.
    if (Data::backPressed && !left && !rules.done) {
        Data::backPressed = 0;
        rules.Back();
        result = 1;
        OnBack();
    }
    if (!MapCover::FollowGame(*this, resumed, true)) return 0;
    if (left) return 0;
    const DistressInput in = Input();
    UpdatePlay(in);
    ShowEvents();
    if (wait > 0) {
        wait -= Data::frameMs;
        return 0;
    }
    if (Shown("dialogue") || Shown("result")) return 0;
    if (rules.done) {
        EndSequence();
        return 0;
    }
    if (!Shown("gamepopup")) {
        InitPopup();
        InitStartMessage();
        wait = PopupWait();
        return 0;
    }
    PlayStep(in);
    ShowEvents();
    return 0;
}

bool GUIGameDistress::EndSequence() {
    DistressPlay& rules = Rules();
    if (!cleanup) {
        cleanup = 1;
        Cleanup();
        ShowEvents();
        if (CleanupWait() > 0) {
            wait = CleanupWait();
            return true;
        }
    }
    if (!dialogue) {
        const std::string win = Profile::GetFlagString("Game.WinDialogue");
        const std::string lose = Profile::GetFlagString("Game.LoseDialogue");
        const std::string& name = rules.success ? win : lose;
        if (!name.empty()) {
            GUIList::AddLast(std::make_shared<GUIDialogue>(name, 1));
            Profile::SetFlagString("Game.WinDialogue", "");
            Profile::SetFlagString("Game.LoseDialogue", "");
            return true;
        }
        dialogue = 1;
    }
    if (!result) {
        Audio::PlayMusic(4);
        result = 1;
        InitResult();
        return true;
    }
    Leave();
    return true;
}

void GUIGameDistress::Leave() {
    // Once only, however many frames pass before the fade-out has really begun.
    left = 1;
    if (Rules().success)
        Profile::SetFlagInt("Game.DistressWin", 1);
    else
        Profile::SetFlagInt("Game.DistressFail", 1);
    FadeOut(200, 1);
    GUIList::FadeOut("gamepopup", "");
    Profile::AddTime(60);
}

void GUIGameDistress::InitResult() {
    std::array<DistressPlay::Reward, 4> rewards{};
    const int n = Rules().Rewards(rewards);
    RewardLines lines;
    for (int i = 0; i < n; ++i) lines.push_back({rewards[static_cast<size_t>(i)].name, rewards[static_cast<size_t>(i)].value});
    GUIPuzzleGame::PayResult("You did it!", "Task summary:", lines, 0);
}

void GUIGameDistress::InitStartMessage() {
    ShowMessage(StartText(), 250);
}

GUIText* GUIGameDistress::AddTopText(const std::string& text) {
    GUIText* line = GUIText::Create(0, 8, text, Fonts::Get("ob"), kWhite);
    line->id = "gamepopup";
    CentreTop(line);
    GUIList::Add(line, 2000);
    return line;
}

// Centred across, and above the middle of the screen where the hero of the car game stands (and
// the falling game's hero's head): the message ends a short way above it.
void GUIGameDistress::PlaceMessage(GUIItem* message) {
    message->x = static_cast<float>((Data::virtualWidth - message->w) / 2);
    message->y = static_cast<float>(std::max(0, Data::virtualHeight / 2 - kHeroClearance - message->h));
}

void GUIGameDistress::CentreTop(GUIText* line) {
    line->x = static_cast<float>((Data::virtualWidth - line->w) / 2);
}

void GUIGameDistress::ShowCountdown(GUIText* timer, const Countdown& clock) {
    if (!timer) return;
    char text[16];
    clock.Text(text);
    if (timer->text == text) return;
    timer->SetText(text);
    CentreTop(timer);
}

void GUIGameDistress::ShowMessage(const std::string& text, float fadeWait) {
    GlyphFont* font = Fonts::Get("ob");
    GUIText* message = GUIText::Create(0, 0, text, font, kWhite);
    message->SetWidth(MessageWidth(text, font));
    message->center = 1;
    message->id = "dialogue";
    message->name = "message";
    PlaceMessage(message);
    GUIList::Add(message, 2500);
    message->FadeOut(500, fadeWait);
}

void GUIGameDistress::ShowEvents() {
    // A call given up pays nothing, so what still falls into play shows no reward.
    const bool paying = Rules().success != 0;
    for (const DistressEvent& event : Rules().Events()) {
        switch (event.kind) {
            case DistressEvent::kSound:
                Audio::PlaySound(event.value, 1.0f);
                break;
            case DistressEvent::kReward:
                if (paying)
                    ShowFloating(event, CharThenNumber('+', event.value), Data::PaletteColour(kRewardEntry), 0.75f);
                break;
            case DistressEvent::kClue:
                if (paying) ShowFloating(event, "+1", Data::PaletteColour(kClueEntry), 0.55f);
                break;
            default:
                OnEvent(event);
                break;
        }
    }
}

void GUIGameDistress::CheckRotate() {
    if (!Data::screenRotated) return;
    if (GUIItem* message = GUIList::Get("dialogue", "message")) PlaceMessage(message);
    RotateGame();
}

void GUIGameDistress::Render() {
    if (bg && bg->h > 0) {
        const float screenH = static_cast<float>(Data::virtualHeight);
        const float s = bg->h == Data::virtualHeight ? 1.0f : screenH / static_cast<float>(bg->h);
        platform::SetAlpha(alpha.value);
        bg->Draw2((static_cast<float>(Data::virtualWidth) - s * static_cast<float>(bg->w)) / 2, 0, 0, s, s, 0);
    }
    platform::SetAlpha(alpha.value);
    RenderPlay();
    platform::SetAlpha(1.0f);
}
