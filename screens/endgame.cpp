// The end-game screen: score, ending pages, score table, thank-you note, credits.
#include "screens/endgame.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/click.hpp"
#include "gui/container.hpp"
#include "gui/dialogue.hpp"
#include "gui/hero.hpp"
#include "gui/popup.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "platform/graphics.hpp"
#include "screens/interlude.hpp"
#include "screens/menu.hpp"

namespace {

constexpr int kWhite = 0xFFFFFF;
// The act picture behind the credits is framed by a gold rule this many of its pixels inside its
// top and bottom edges, its width included. A credits line shows only while it lies wholly inside
// the rule, with a little air: no line is drawn across it, and none is seen cut in half by it.
constexpr float kGoldRule = 16;
constexpr float kRuleAir = 4;
// The page texts are in the plain "n" font, without an outline: dark on the light page.
constexpr int kPageText = 0;
constexpr int kPageWidth = 400;
// (224, 240, 255): the score table's labels.
constexpr int kLabelColour = 0xE0F0FF;

int Flag(const std::string& key) {
    return Profile::GetFlagInt(key);
}

}  // namespace

std::function<void(GUIContainer*)> EndGameScreen::addPortrait = Menu::AddPortrait;

int EndGameCallback::Call(GUIItem* sender) {
    if (sender == nullptr || sender->name != "ok" || endScreen == nullptr) return 0;
    GUIList::FadeOut(sender->id, "");
    endScreen->state += 1;
    endScreen->wait = 500;
    return 0;
}

EndGameScreen::EndGameScreen() : GameScreen("Endgame"), endCallback(this) {
    for (size_t i = 0; i < credits.size(); ++i) credits[i] = kCredits[i];
}

EndGameScreen::~EndGameScreen() {
    Data::KillTweens(&alpha);
    for (FloatObject& v : values) Data::KillTweens(&v);
}

void EndGameScreen::Start() {
    Audio::PlayMusic(9);
    endCallback = EndGameCallback(this);
    StartGui();
    Quests::CloseQuests();
    Quests::Clear();
    bg = briskGame->images->Find("Act");
    rays = briskGame->images->Find("Rays");

    const HeroScore score = HeroScore::Of(Flag);
    blizzard = score.blizzard;
    villains = score.villains;
    power = score.power;
    job = score.job;
    reputation = score.reputation;
    ethics = score.ethics;
    upgrades = score.upgrades;
    time = score.time;
    total = score.total;
    Profile::SetFlagInt("Game.Total", total);
    Profile::SetFlagInt("Flag.ActEnd", 1);

    for (FloatObject& v : values) {
        Data::KillTweens(&v);
        v.value = 0;
    }
    Data::AddTween(&alpha, 2500, alpha.value, 1.0f);
    wait = 500;
}

void EndGameScreen::Update2() {
    UpdateGui();
    CheckRotate();
    ShowCreditsInFrame();
    counter += Data::frameMs;
    if (wait > 0) {
        wait -= Data::frameMs;
        return;
    }
    if (text) {
        text->Update2();
        if (Data::mouseHeld) {
            if (ok) {
                ok = 0;
                if (text->done) {
                    text->Clear2();
                    text.reset();
                } else {
                    text->count = 65535;
                }
            }
        } else {
            ok = 1;
        }
        return;
    }
    count += Data::frameMs;
    switch (state) {
        case 0:
            InitResult2();
            state = 1;
            count = 0;
            break;
        case 2:
            InitResult3();
            state = 3;
            count = 0;
            break;
        case 4:
            InitResult1();
            state = 5;
            stateCount = 1;
            count = 0;
            break;
        case 5:
            while (stateCount < 10 && count >= 1500) {
                count -= 1500;
                StepCount();
            }
            break;
        case 6:
            InitPresentation1();
            state = 7;
            count = 0;
            break;
        case 7:
            if (Data::mouseHeld && ok) {
                state = 9;
                break;
            }
            if (!Data::mouseHeld) ok = 1;
            while (state == 7 && count >= 1500) {
                count -= 1500;
                if (index >= static_cast<int>(credits.size())) {
                    state = 8;
                } else {
                    const std::string& line = credits[static_cast<size_t>(index)];
                    ++index;
                    if (!line.empty()) AddCreditsLine(line);
                }
            }
            break;
        case 8:
            if (Data::mouseHeld && ok) {
                state = 9;
                break;
            }
            if (!Data::mouseHeld) ok = 1;
            if (!GUIList::Get("credits", "")) state = 9;
            break;
        case 9:
            GUIList::FadeOut("credits", "");
            Data::KillTweens(&alpha);
            Data::AddTween(&alpha, 500, alpha.value, 0.0f);
            wait = 500;
            state = 10;
            break;
        case 10:
            if (!left) {
                left = 1;
                InterludeExits::LeaveForMap(35);
            }
            break;
        default:
            // 1, 3 and the count-up's end wait for their continue button.
            break;
    }
}

void EndGameScreen::StepCount() {
    const int step = stateCount;
    ++stateCount;
    const auto countTo = [this](int row, int points, int ms) {
        Data::KillTweens(&values[static_cast<size_t>(row)]);
        Data::AddTween(&values[static_cast<size_t>(row)], ms, 0.0f, static_cast<float>(points));
    };
    switch (step) {
        case 1:
            countTo(1, power * 250, 1500);
            break;
        case 2:
            countTo(2, job * 250, 1500);
            if (item) {
                item->active = 1;
                item->FadeIn(1.0f, 1);
            }
            break;
        case 3:
            countTo(3, reputation * 250, 1500);
            break;
        case 4:
            countTo(4, upgrades * 250, 1500);
            break;
        case 5:
            countTo(5, ethics * 500, 1500);
            break;
        case 6:
            countTo(6, villains * 500, 1500);
            break;
        case 7:
            countTo(7, blizzard * 500, 1500);
            break;
        case 8:
            countTo(8, total, 5000);
            break;
        default:
            break;
    }
}

namespace {

// How far inside the page's edge the popup frame's border ends (the frame stands 40 around the
// page, its border is the outer part of that).
constexpr float kInsideFrame = -16;

// Where the hero's picture is drawn in the page: the widget draws it scaled about the middle of
// its own box.
struct Drawn {
    float left = 0, top = 0, right = 0, bottom = 0;
};

Drawn PictureOf(const GUIHero& hero) {
    const float s = hero.scale.value;
    Drawn d;
    d.left = hero.x - (s - 1) * static_cast<float>(hero.w) * 0.5f;
    d.top = hero.y - (s - 1) * static_cast<float>(hero.h) * 0.5f;
    d.right = d.left + s * static_cast<float>(hero.image ? hero.image->w : hero.w);
    d.bottom = d.top + s * static_cast<float>(hero.image ? hero.image->h : hero.h);
    return d;
}

const GUIHero* HeroOf(const GUIContainer* page) {
    for (const GUIItem* item : page->items) {
        if (const auto* hero = dynamic_cast<const GUIHero*>(item)) return hero;
    }
    return nullptr;
}

// The hero's picture is larger than the portrait's block and is placed up and left of it, over the
// frame's border: the block moves right and down just as far as the picture must to stand inside.
void KeepPortraitInFrame(GUIContainer* page) {
    const GUIHero* hero = HeroOf(page);
    if (hero == nullptr) return;
    const Drawn picture = PictureOf(*hero);
    const float dx = std::max(0.0f, kInsideFrame - picture.left);
    const float dy = std::max(0.0f, kInsideFrame - picture.top);
    if (dx == 0 && dy == 0) return;
    for (GUIItem* item : page->items) {
        item->x += dx;
        item->y += dy;
    }
    for (GUIItem* item : page->items) page->CalculateSize(item);
}

// Where the hero's picture on a page ends, right and bottom, as drawn (0, 0 without one).
std::pair<int, int> PortraitPicture(const GUIContainer* page) {
    const GUIHero* hero = HeroOf(page);
    if (hero == nullptr || hero->image == nullptr) return {0, 0};
    const Drawn picture = PictureOf(*hero);
    return {TruncToInt(std::ceil(picture.right)), TruncToInt(std::ceil(picture.bottom))};
}

}  // namespace

GUIContainer* EndGameScreen::NewPage() {
    GUIContainer* page = GUIContainer::Create(0, 0);
    page->id = "result";
    page->w = kPageWidth;
    return page;
}

GUIItem* EndGameScreen::FinishPage(GUIContainer* page) {
    GUIClickButton* button = GUIClickButton::Create(0, static_cast<float>(page->h + 24), "Click to continue",
                                                    Fonts::Get("os"), kWhite, &endCallback);
    button->id = "result";
    button->name = "ok";
    Data::KillTweens(&button->alpha);
    page->AddLast20(button, kAlignCentre, 0);
    Popup::AddFrameRounded(page);
    return button;
}

void EndGameScreen::InitResult2() {
    GUIContainer* page = NewPage();
    if (addPortrait) addPortrait(page);
    KeepPortraitInFrame(page);
    const std::string name = Profile::GetFlagString("Name");
    const EndingPages pages = PagesOf(ChooseEnding(Flag), name);
    // The portrait block may have moved the page's origin; the texts keep their place beside it.
    // The picture is larger than the portrait's block: the texts make way for it where it reaches.
    const auto [pictureRight, pictureBottom] = PortraitPicture(page);
    const int besideX = std::max(180, pictureRight + 8);
    GUIText* beside = GUIText::Create(static_cast<float>(besideX), 0, pages.besidePortrait, Fonts::Get("n"), kPageText);
    beside->SetWidth(kPageWidth - besideX);
    page->AddLast20(beside);
    GUIText* below = GUIText::Create(0, static_cast<float>(std::max(page->h + 16, pictureBottom + 8)), pages.below,
                                     Fonts::Get("n"), kPageText);
    below->SetWidth(kPageWidth);
    page->AddLast20(below);
    FinishPage(page);
    GUIList::Add(page, 1700, kAlignCentre, kAlignCentre);
}

void EndGameScreen::InitResult3() {
    GUIContainer* page = NewPage();
    const EndingPages pages = PagesOf(ChooseEnding(Flag), Profile::GetFlagString("Name"));
    GUIText* epilogue = GUIText::Create(0, 0, pages.epilogue, Fonts::Get("n"), kPageText);
    epilogue->SetWidth(kPageWidth);
    page->AddLast20(epilogue);
    FinishPage(page);
    GUIList::Add(page, 1700, kAlignCentre, kAlignCentre);
}

void EndGameScreen::InitResult1() {
    struct Row {
        const char* label;
        int part;
        int factor;
    };
    const Row rows[8] = {{"Days left:", time, 250},          {"Power levels:", power, 250},
                         {"Skill levels:", job, 250},        {"Reputation:", reputation, 250},
                         {"Upgrades:", upgrades, 250},       {"Ethics level:", ethics, 500},
                         {"Villains found:", villains, 500}, {"Secrets:", blizzard, 500}};
    GUIContainer* page = NewPage();
    GlyphFont* small = Fonts::Get("os");
    const auto countText = [&rows](size_t i) {
        return std::to_string(rows[i].part) + (rows[i].factor == 250 ? " * 250 =" : " * 500 =");
    };
    // The counts end 16 left of the points at 304, or further right when a wide label would run
    // into them.
    int countEnd = 304 - 16;
    if (small) {
        for (size_t i = 0; i < 8; ++i)
            countEnd =
                std::max(countEnd, 24 + small->TextWidth(rows[i].label) + 8 + small->TextWidth(countText(i)));
    }
    for (size_t i = 0; i < 8; ++i) {
        const float y = static_cast<float>(page->h);
        page->AddLast20(GUIText::Create(24, y, rows[i].label, small, kLabelColour));
        GUIText* counted = GUIText::Create(0, y, countText(i), small, kLabelColour);
        counted->x = static_cast<float>(countEnd - counted->w);
        page->AddLast20(counted);
        GUIText* points =
            GUIText::Create(static_cast<float>(countEnd + 16), y, i == 0 ? "0000" : "0", small, kWhite);
        points->SetVariable(&values[i]);
        page->AddLast20(points);
    }
    Data::KillTweens(&values[0]);
    Data::AddTween(&values[0], 1500, 0.0f, static_cast<float>(time * 250));

    GUIText* grand = GUIText::Create(0, static_cast<float>(page->h + 16), "Grand total: 000", small, kWhite);
    grand->SetPrefix("Grand total: ");
    grand->SetVariable(&values[8]);
    page->AddLast20(grand, kAlignCentre, 0);

    item = FinishPage(page);
    item->active = 0;
    item->alpha.value = 0;

    GUIText* header = GUIText::Create(0, 0, "Hero Score", Fonts::Get("ob"), kWhite);
    header->x = static_cast<float>((page->w - header->w) / 2);
    header->y = -static_cast<float>(header->h) * 0.4f;
    page->AddLast20(header);
    GUIList::Add(page, 1700, kAlignCentre, kAlignCentre);
}

void EndGameScreen::InitPresentation1() {
    text = std::make_unique<DialogueText>(0, 0, "", kThankYouText, 0);
    text->SetPos2(TruncToInt((Data::virtualWidth - text->w) * 0.5),
                  TruncToInt((Data::virtualHeight - text->h) * 0.5));
}

void EndGameScreen::AddCreditsLine(const std::string& line) {
    const char* font = "on";
    int colour = kWhite;
    std::string shown = line;
    if (line.size() >= 2 && line[0] == '@') {
        switch (line[1]) {
            case 'c':
                font = "ob";
                break;
            // The red and blue are lighter tints than pure pastels, light enough to read where
            // the rays behind the roll are neither dark nor bright. The blue leans to the sky: a
            // blue as light as the green and yellow headings, which a violet tint never is.
            case 'r':
                colour = 0xFFAAAA;
                break;
            case 'g':
                colour = 0x80FF80;
                break;
            case 'b':
                colour = 0xB4DCFF;
                break;
            case 'y':
                colour = 0xFFFF80;
                break;
            default:
                break;
        }
        shown = line.substr(2);
    }
    GUIContainer* holder = GUIContainer::Create(0, static_cast<float>(Data::virtualHeight));
    holder->id = "credits";
    GUIText* words = GUIText::Create(0, 0, shown, Fonts::Get(font), colour);
    words->SetWidth(TruncToInt(Data::virtualWidth * 0.75));
    words->center = 1;
    holder->AddLast20(words);
    GUIList::Add(holder, 2500, kAlignCentre, 0);
    holder->y = static_cast<float>(Data::virtualHeight);
    holder->Move(holder->x, -256, 25000);
    holder->FadeOut(500, 1500);
}

void EndGameScreen::ShowCreditsInFrame() {
    if (bg == nullptr || bg->h <= 0) return;
    const float s = static_cast<float>(Data::virtualHeight) / static_cast<float>(bg->h);
    const float top = kGoldRule * s + kRuleAir;
    const float bottom = (static_cast<float>(bg->h) - kGoldRule) * s - kRuleAir;
    for (GUIItem* item : *GUIList::currentList) {
        auto* holder = dynamic_cast<GUIContainer*>(item);
        if (holder == nullptr || holder->id != "credits" || holder->items.IsEmpty()) continue;
        const bool inside = holder->y >= top && holder->y + static_cast<float>(holder->h) <= bottom;
        holder->items.Get2(0)->alpha.value = inside ? 1.0f : 0.0f;
    }
}

void EndGameScreen::Render() {
    platform::Cls(0, 0, 0);
    platform::SetAlpha(alpha.value);
    if (bg && bg->h > 0) {
        const float s = bg->h == Data::virtualHeight
                            ? 1.0f
                            : static_cast<float>(Data::virtualHeight) / static_cast<float>(bg->h);
        bg->Draw2((static_cast<float>(Data::virtualWidth) - s * static_cast<float>(bg->w)) * 0.5f, 0, 0, s, s,
                  0);
    }
    if (rays && Data::qualityOn) {
        const float s = Data::virtualWidth <= 800 ? 1.0f : static_cast<float>(Data::virtualWidth) / 800.0f;
        rays->Draw2(static_cast<float>(Data::virtualWidth) * 0.5f,
                    static_cast<float>(Data::virtualHeight) * 0.5f, counter * 0.0025f, s, s, 0);
    }
    platform::SetAlpha(1.0f);
    RenderGui();
    if (text) text->Render(1.0f);
}

void EndGameScreen::CheckRotate() {
    if (!Data::screenRotated) return;
    if (text) text->CheckRotate();
    if (GUIItem* page = GUIList::Get("result", "")) {
        page->x = static_cast<float>(TruncToInt((Data::virtualWidth - page->w) * 0.5));
        page->y = static_cast<float>(TruncToInt((Data::virtualHeight - page->h) * 0.5));
    }
}
