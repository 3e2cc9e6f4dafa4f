// The tile dungeon: set-up over the map, the frame's steps, the buttons, the messages and the loot.
#include "minigames/dungeon.hpp"

#include "core/glyphfont.hpp"
#include "core/strings.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "framework/main.hpp"
#include "gui/audio2.hpp"
#include "gui/button.hpp"
#include "gui/container.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "gui/particledot.hpp"
#include "gui/popup.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "minigames/puzzlegame.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/flaglist.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "platform/app.hpp"
#include "platform/graphics.hpp"

int GUIGameDungeon::clickedColumn = -1;
int GUIGameDungeon::clickedRow = -1;
int GUIGameDungeon::leaveConfirmed = 0;
int GUIGameDungeon::cleared = 0;
int GUIGameDungeon::backPressed = 0;
DungeonCallback GUIGameDungeon::callback;

namespace {

constexpr int kCell = 64;
constexpr int kWhite = 0xffffff;
constexpr const char* kTiles = "DungeonTiles64x64";

bool Shown(const char* id) {
    return GUIList::Get(id, "") != nullptr;
}

void StartDungeon(Dungeon& dungeon) {
    GUIList::Add(GUIGameDungeon::GUIGameDungeon_new(&dungeon), 600);
}

}  // namespace

int DungeonCallback::Call(GUIItem* sender) {
    if (sender == nullptr) return 0;
    if (sender->id == "back") {
        GUIGameDungeon::backPressed = 1;
    } else if (sender->id == "popup") {
        if (sender->name == "ok") GUIGameDungeon::leaveConfirmed = 1;
        GUIList::FadeOut("result", "");
    } else {
        GUIGameDungeon::clickedColumn = sender->data;
        GUIGameDungeon::clickedRow = StringToInt(sender->value);
    }
    return 0;
}

void GUIGameDungeon::InitGlobals() {
    clickedColumn = clickedRow = -1;
    leaveConfirmed = cleared = backPressed = 0;
}

std::shared_ptr<GUIGameDungeon> GUIGameDungeon::GUIGameDungeon_new(Dungeon* d) {
    return std::make_shared<GUIGameDungeon>(*d);
}

GUIGameDungeon::GUIGameDungeon(Dungeon& d) : dungeon(&d), board(d) {
    GUIList::FadeOut("menu", "");
    GUIList::FadeOut("time", "");
    GUIList::Suspend();
    MapCover::FadeOutMap();
    Audio::PlayMusic(11);
    id = "dungeon";

    InitGlobals();
    Profile::dungeonMode = 1;
    modeOn = 1;

    bg = FindImage("Street");
    tiles = FindImage(kTiles);
    if (!bg || !tiles)
        platform::PrintLine(
            "The dungeon's pictures are not all among the pictures; the missing are not drawn");
    mw = d.w;
    mh = d.h;
    xpos = d.startx;
    ypos = d.starty;
    PlaceGrid();
    wait = 500;
    FadeIn(1.0f, 1);
}

GUIGameDungeon::~GUIGameDungeon() {
    Data::KillTweens(&alpha);
    Data::KillTweens(&scale);
}

void GUIGameDungeon::PlaceGrid() {
    mx = TruncToInt((Data::virtualWidth - mw * kCell) * 0.5);
    my = TruncToInt((Data::virtualHeight - mh * kCell) * 0.5);
}

void GUIGameDungeon::Clear2() {
    if (modeOn) {
        modeOn = 0;
        Profile::dungeonMode = 0;
        Profile::ClearDungeon();
    }
    GUIItem::Clear2();
}

int GUIGameDungeon::Update2() {
    GUIItem::Update2();
    if (Data::screenRotated) CheckRotate();
    if (!MapCover::FollowGame(*this, resumed, false)) return 0;
    if (wait > 0) {
        wait -= Data::frameMs;
        return 0;
    }
    battle = 0;
    if (Shown("dialogue") || Shown("result")) return 0;
    // A distress game started by an event holds the chain as a puzzle game does.
    if (Shown("popup") || Shown("distress")) {
        battle = 1;
        return 0;
    }
    if (currentAction != nullptr) {
        currentAction = currentAction->nextAction.get();
        if (currentAction != nullptr) {
            currentAction->Activate();
            return 0;
        }
        GUIList::Delete("tile", "");
        GUIList::Delete("back", "");
    }
    if (clickedColumn >= 0 && HandleClick()) return 0;

    for (int row = 0; row < mh; ++row) {
        for (int col = 0; col < mw; ++col) {
            if (board.Cell(col, row) == DungeonBoard::kStarted) board.CheckCleared(col, row);
        }
    }
    for (int row = 0; row < mh; ++row) {
        for (int col = 0; col < mw; ++col) {
            if (board.Cell(col, row) != DungeonBoard::kEntered) continue;
            CheckButton(col + 1, row);
            CheckButton(col - 1, row);
            CheckButton(col, row + 1);
            CheckButton(col, row - 1);
        }
    }

    if (leaveConfirmed) {
        Leave();
        return 0;
    }
    static const std::string kIntroSeen = "Flag.intro_dungeon";
    if (Profile::GetFlagInt(kIntroSeen) < 1) {
        Profile::SetFlagInt(kIntroSeen, 1);
        // Modal: the clicks that page through it must not uncover the tiles under it.
        GUIList::Add(std::make_shared<GUIDialogue>("intro_dungeon", 1), 1000);
    }
    if (dirty) {
        dirty = 0;
        if (board.Cleared()) {
            leaveConfirmed = 1;
            cleared = 1;
        }
    }
    if (GUIList::Get("back", "") == nullptr) {
        GUIButton* back = GUIButton::Create(0, static_cast<float>(my + mh * kCell - 16), "Back", &callback);
        back->id = "back";
        back->name = "ok";
        GUIList::Add(back, 1000, kAlignCentre, kAlignNone);
    }
    if (backPressed) {
        backPressed = 0;
        ShowLeavePopup();
    }
    return 0;
}

bool GUIGameDungeon::HandleClick() {
    const int col = activate == -1 ? clickedColumn : eventColumn;
    const int row = activate == -1 ? clickedRow : eventRow;
    const int cell = board.Inside(col, row) ? board.Index(col, row) : -1;
    const DungeonTile* tile = board.TileAt(col, row);
    if (activate == -1) {
        GUIParticleDot::CreateBang(mx + col * kCell + 32, my + row * kCell + 32, 24, kWhite, 0.65f, nullptr);
        GUIList::FadeOut("tile", std::to_string(cell));
        if (board.IsEvent(col, row)) {
            activate = tile->index;
            eventColumn = col;
            eventRow = row;
            board.SetCell(col, row, tile->index);
            if (tile->index == DungeonBoard::kBattle) {
                Audio::PlaySound(16, 1.0f);
                ShowMessage("Dungeon Event", "Battle!");
            } else if (tile->index == DungeonBoard::kTreasure) {
                Audio::PlaySound(31, 1.0f);
                ShowMessage("Dungeon Event", "Treasure!");
            } else if (tile->index == DungeonBoard::kOther) {
                Audio::PlaySound(29, 1.0f);
                ShowMessage("Dungeon Event", "");
            }
            return true;
        }
    } else if (tile != nullptr && tile->action) {
        activate = -1;
        dirty = 1;
        xpos = col;
        ypos = row;
        clickedColumn = clickedRow = -1;
        board.SetCell(col, row, DungeonBoard::kStarted);
        GUIList::FadeOut("tile", "");
        currentAction = tile->action.get();
        currentAction->Activate();
        return true;
    }
    // A wall never offers a button; a click there (a stale one) only clears.
    if (cell >= 0 && tile != nullptr) {
        xpos = col;
        ypos = row;
        board.SetCell(col, row, DungeonBoard::kEntered);
    }
    clickedColumn = clickedRow = -1;
    return false;
}

void GUIGameDungeon::Leave() {
    Profile::dungeonMode = 0;
    modeOn = 0;
    if (cleared && result == 0) {
        Profile::SetFlagInt("Game.Dungeon", 1);
        result = 1;
        InitResult();
        return;
    }
    active = 0;
    GUIList::FadeOut("dungeon", "");
    GUIList::FadeOut("tile", "");
    Profile::ClearDungeon();
}

void GUIGameDungeon::CheckButton(int col, int row) {
    if (!board.Offered(col, row)) return;
    const std::string cell = std::to_string(board.Index(col, row));
    if (GUIList::Get("tile", cell) != nullptr) return;
    GUIButton* button = GUIButton::Create(static_cast<float>(mx + col * kCell),
                                          static_cast<float>(my + row * kCell), kTiles, &callback);
    button->frame = DungeonBoard::kStarted;
    button->id = "tile";
    button->name = cell;
    button->data = col;
    button->value = std::to_string(row);
    GUIList::Add(button, 800);
}

void GUIGameDungeon::ShowLeavePopup() {
    GUIContainer* c = GUIContainer::Create(0, 0);
    c->id = "result";
    GUIText* text = GUIText::Create(
        0, 0, "Leave the dungeon? You'll lose all treasures you have found so far.", Fonts::Get("n"), 0);
    text->SetWidth(400);
    text->center = 1;
    c->AddLast20(text, 0, 0);
    const float buttonY = static_cast<float>(c->h + 24);
    GUITextButton* out =
        GUITextButton::Create(0, buttonY, "Buttons01", "I want out!", Fonts::Get("on"), kWhite, &callback, 0);
    out->id = "popup";
    out->name = "ok";
    out->x = static_cast<float>(c->w / 2 - out->w);
    c->AddLast20(out, 0, 0);
    GUITextButton* stay = GUITextButton::Create(static_cast<float>(c->w / 2), buttonY, "Buttons01",
                                                "Let's stay", Fonts::Get("on"), kWhite, &callback, 0);
    stay->id = "popup";
    stay->name = "cancel";
    c->AddLast20(stay, 0, 0);
    Popup::AddFrameRounded(c);
    GUIList::Add(c, 1000, kAlignCentre, kAlignCentre);
}

void GUIGameDungeon::ShowMessage(const std::string& upper, const std::string& lower) {
    const float W = static_cast<float>(Data::virtualWidth);
    const float H = static_cast<float>(Data::virtualHeight);
    GUIContainer* top = GUIContainer::Create(0, 0);
    top->id = "result";
    top->name = "upper";
    top->AddLast20(GUIText::Create(0, 0, upper, Fonts::Get("ob"), kWhite), 0, 0);
    top->x = -2.0f * static_cast<float>(top->w);
    top->y = (H - static_cast<float>(top->h)) / 2 - static_cast<float>(top->h);
    GUIList::Add(top, 2500);
    top->Move((W - static_cast<float>(top->w)) / 2, top->y, 350);
    top->FadeOut(500, 100);

    GUIContainer* bottom = GUIContainer::Create(0, 0);
    bottom->id = "result";
    bottom->name = "lower";
    bottom->AddLast20(GUIText::Create(0, 0, lower, Fonts::Get("on"), 0xfff0e0), 0, 0);
    bottom->x = W + 4.0f * static_cast<float>(bottom->w);
    bottom->y = (H - static_cast<float>(bottom->h)) / 2;
    GUIList::Add(bottom, 2500);
    bottom->Move((W - static_cast<float>(bottom->w)) / 2, bottom->y, 600);
    bottom->FadeOut(500, 100);
}

bool GUIGameDungeon::GameCovers() const {
    for (const char* game : {"popup", "distress"}) {
        const GUIItem* shown = GUIList::Get(game, "");
        if (shown != nullptr && shown->alpha.value >= 1.0f) return true;
    }
    return false;
}

void GUIGameDungeon::InitResult() {
    std::shared_ptr<FlagList> loot = Profile::GetDungeon();
    Popup::InitResult("Dungeon Cleared!", "Dungeon loot:", *loot, 0, 0);
    for (FlagItem* item : *loot) Profile::AddFlagInt(item->name, item->GetInt());
    ReleaseFlags(*loot);
}

void GUIGameDungeon::Render() {
    // A game an event started hides the dungeon only once it covers it: while it fades in or out
    // the dungeon stays beneath it, not the city map.
    if (battle && GameCovers()) return;
    platform::SetAlpha(alpha.value);
    if (bg != nullptr && bg->h > 0) {
        const float H = static_cast<float>(Data::virtualHeight);
        const float s = bg->h == Data::virtualHeight ? 1.0f : H / static_cast<float>(bg->h);
        bg->Draw2((static_cast<float>(Data::virtualWidth) - s * static_cast<float>(bg->w)) / 2, 0, 0, s, s,
                  0);
    }
    if (tiles != nullptr) {
        for (int row = 0; row < mh; ++row) {
            for (int col = 0; col < mw; ++col) {
                tiles->Draw2(static_cast<float>(mx + col * kCell), static_cast<float>(my + row * kCell), 0, 1,
                             1, board.Cell(col, row));
            }
        }
    }
    platform::SetAlpha(1.0f);
}

void GUIGameDungeon::CheckRotate() {
    GUIList::FadeOut("tile", "");
    GUIList::FadeOut("back", "");
    PlaceGrid();
    const float W = static_cast<float>(Data::virtualWidth);
    const float H = static_cast<float>(Data::virtualHeight);
    GUIItem* upper = GUIList::Get("result", "upper");
    if (upper != nullptr) {
        auto* box = static_cast<GUIContainer*>(upper);
        box->Place((W - static_cast<float>(box->w)) * 0.5f,
                   (H - static_cast<float>(box->h)) * 0.5f - static_cast<float>(box->h));
        GUIItem* lower = GUIList::Get("result", "lower");
        if (lower != nullptr) {
            auto* low = static_cast<GUIContainer*>(lower);
            low->Place((W - static_cast<float>(low->w)) * 0.5f, (H - static_cast<float>(low->h)) * 0.5f);
        }
        return;
    }
    GUIItem* popup = GUIList::Get("result", "");
    if (popup != nullptr) GUIList::ModifyPos2(popup, kAlignCentre, kAlignCentre);
}

void RegisterDungeon() {
    gameHooks.initGlobals.Add(GUIGameDungeon::InitGlobals);
    Actions::starters.dungeon = StartDungeon;
}
