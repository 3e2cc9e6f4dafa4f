// The soak: long runs of random input over every screen of the game, on the fake clock. Each game
// starts from one of the save points the whole-game playthrough left at every act and just before
// each kind of screen (tests/e2e/soak_saves, written by `make soak-saves`); the first game makes a
// new hero on the title, and every fourth game starts from the state the last one saved, damaged
// (cut short, bytes changed or a "|" slipped in). The input is random but aimed: clicks mostly on
// what is on screen and most on the buttons, places, walkers and tiles that lead somewhere, drags
// along neighbouring tiles of a puzzle board, long presses, keys with the escape key's back request
// among them, typed text, focus changes and window resizes. Any crash or sanitizer report ends the
// program and an uncaught error ends the game with status 1; either fails the test with the seed,
// so the run can be replayed: BRALLWICK_SOAK_SEED=<seed> BRALLWICK_SOAK_FRAMES=<frames> (and
// BRALLWICK_SOAK_START=<save point> plays every game from that one). Each run
// prints the frames it spent in each kind of screen and in each act; with
// BRALLWICK_SOAK_EVERY_SCREEN set (`make soak`) a kind or an act never reached fails the run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "framework/main.hpp"
#include "gui/gui2.hpp"
#include "gui/item.hpp"
#include "minigames/board.hpp"
#include "minigames/gamesearch_item.hpp"
#include "minigames/puzzlebattle.hpp"
#include "minigames/puzzlegame.hpp"
#include "model/profile.hpp"
#include "platform/random.hpp"
#include "platform/storage.hpp"
#include "screens/map.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/player.hpp"
#include "tests/support/screen_kind.hpp"

namespace {

long long EnvNumber(const char* name, long long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::atoll(text) : fallback;
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct SavePoint {
    std::string name;
    std::string state;
};

std::vector<SavePoint> SavePoints() {
    std::vector<SavePoint> points;
    const std::filesystem::path folder = std::filesystem::path(BRISK_SOURCE_ROOT) / "tests" / "e2e" / "soak_saves";
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        if (entry.path().extension() == ".txt") points.push_back({entry.path().stem().string(), ReadFile(entry.path())});
    }
    std::sort(points.begin(), points.end(), [](const SavePoint& a, const SavePoint& b) { return a.name < b.name; });
    return points;
}

// The puzzle board on screen (a job, training or battle), or null.
GUIBoard* BoardOnScreen() {
    GUIItem* item = GUIList::Get("popup", "");
    if (auto* game = dynamic_cast<GUIPuzzleGame*>(item)) return game->board.get();
    if (auto* battle = dynamic_cast<GUIPuzzleBattle*>(item)) return battle->board.get();
    return nullptr;
}

class Soak {
  public:
    Soak(unsigned long long seed, std::vector<SavePoint> points) : rng_(seed), points_(std::move(points)) {}

    int frames = 0;
    int games = 0;
    // Frames spent in each kind of screen, and in each act of the story.
    std::map<std::string, int> kindFrames;
    std::map<int, int> actFrames;
    std::string failure;
    // What the last game left in its state file.
    std::string saved;

    // Runs `total` frames: each game plays until the player ends it or its share of the frames
    // is spent, and the next one starts.
    void Run(int total) {
        const int share = std::clamp(total / std::max<int>(1, 2 * RoundSize()), 500, 5000);
        while (frames < total && failure.empty()) {
            harness::Harness h;
            h.OpenAsPlayed();
            const bool damaged = games % 4 == 3 && !saved.empty();
            const SavePoint* point = damaged || games == 0 ? nullptr : NextPoint();
            if (damaged) h.WriteState(Damaged(saved));
            if (point) h.WriteState(point->state);
            start_ = point ? point->name : damaged ? "a damaged save" : "a new hero";
            ++games;
            if (!h.Start()) {
                failure = "start-up failed from " + start_ + ": " + h.LastReport();
                return;
            }
            // The game seeds its generator from the clock, which is the same fake time in every
            // game: a seed of the soak's own lets a save point open on a different distress call,
            // walkers and board each time.
            platform::SetSeed(static_cast<int>(rng_() & 0x7fffffff));
            // Drawing is most of a frame's cost: every third frame still draws each screen
            // thousands of times in a long run, in every state the input leads it to.
            h.RenderEvery(3);
            harness::Player player(h);
            if (!damaged && !Open(h, player, point == nullptr)) {
                if (failure.empty()) failure = "the title never let " + start_ + " play: " + h.LastReport();
                return;
            }
            const int end = std::min(total, frames + share), begun = frames;
            while (frames < end && failure.empty() && h.Running()) Turn(h, player);
            std::string reached;
            for (const std::string& kind : gameKinds_) reached += " " + kind;
            std::printf("Soak game %d from %s: %d frames,%s\n", games, start_.c_str(), frames - begun, reached.c_str());
            gameKinds_.clear();
            if (failure.empty() && h.ExitStatus() != 0)
                failure = "the game from " + start_ + " ended after " + doing_ + " with: " + h.LastReport();
            platform::FinishStateWrites();
            const std::string text =
                ReadFile(std::filesystem::path(h.AppDataFolder()) / "Brallwick - Quellfast" / ".vantlestate");
            if (!text.empty()) saved = text;
        }
    }

  private:
    // Games in a round of the save points.
    int RoundSize() const {
        int size = 0;
        for (const SavePoint& point : points_) size += Distress(point) ? 6 : 1;
        return size;
    }

    static bool Distress(const SavePoint& point) {
        return point.state.find("|ArriveAt|distress|") != std::string::npos;
    }

    // Every save point once per round, each round in a new order; only the one named by
    // BRALLWICK_SOAK_START when that is set.
    const SavePoint* NextPoint() {
        if (const char* only = std::getenv("BRALLWICK_SOAK_START")) {
            for (const SavePoint& point : points_)
                if (point.name == only) return &point;
        }
        if (points_.empty()) return nullptr;
        if (order_.empty()) {
            // A save point on the way to a distress call opens one of the four games at random:
            // it comes round six times a round, so that each of them comes up.
            for (size_t i = 0; i < points_.size(); ++i) order_.insert(order_.end(), Distress(points_[i]) ? 6 : 1, i);
            std::shuffle(order_.begin(), order_.end(), rng_);
        }
        const size_t next = order_.back();
        order_.pop_back();
        return &points_[next];
    }

    // The state cut short, with bytes changed, or with a "|" slipped in.
    std::string Damaged(std::string text) {
        switch (Below(3)) {
            case 0:
                return text.substr(0, static_cast<size_t>(Below(static_cast<int>(text.size()))));
            case 1:
                for (int n = 1 + Below(8); n > 0; --n) {
                    text[static_cast<size_t>(Below(static_cast<int>(text.size())))] =
                        static_cast<char>(rng_());
                }
                return text;
            default:
                return text.insert(static_cast<size_t>(Below(static_cast<int>(text.size()))), "|");
        }
    }

    // Through the splash and the loading to the title, then Play and the first slot: a saved hero
    // goes on, an empty slot opens the creation, whose "ok" takes the hero it offers.
    bool Open(harness::Harness& h, harness::Player& player, bool newHero) {
        auto shown = [&player](const std::string& id, const std::string& name, int data = -1) {
            for (const harness::ItemBox& box : player.Items()) {
                if (box.item->id == id && box.item->name == name && (data < 0 || box.item->data == data) &&
                    box.item->alpha.value >= 1.0f)
                    return std::optional<harness::ItemBox>(box);
            }
            return std::optional<harness::ItemBox>();
        };
        auto clickWhenShown = [&](const std::string& id, const std::string& name, int data = -1) {
            for (int wait = 0; !shown(id, name, data); ++wait) {
                if (wait >= 1200 || !failure.empty() || !Frame(h)) return false;
                // A press ends a splash picture early.
                if (player.ScreenName() == "Splash") h.MouseButton(0, wait % 8 == 0);
            }
            const harness::ItemBox box = *shown(id, name, data);
            player.MoveTo(box.CentreX(), box.CentreY());
            Frames(h, 1);
            h.MouseButton(0, true);
            Frames(h, 1);
            h.MouseButton(0, false);
            Frames(h, 1);
            return true;
        };
        bool opened = clickWhenShown("button", "play") && clickWhenShown("character", "character", 0);
        if (newHero) opened = opened && clickWhenShown("character", "ok");
        return opened && h.Running();
    }

    int Below(int n) { return static_cast<int>(rng_() % static_cast<unsigned long long>(n)); }
    float Between(float low, float high) {
        return low + (high - low) * std::uniform_real_distribution<float>(0.0f, 1.0f)(rng_);
    }

    // One frame; the kind of screen it ends on and the act are counted.
    bool Frame(harness::Harness& h) {
        const bool running = h.Step();
        ++frames;
        if (running) {
            const std::string kind = harness::ScreenKind();
            ++kindFrames[kind];
            gameKinds_.insert(kind);
            if (Profile::slotFlags && Profile::currentSlot >= 0 && kind != "Title") ++actFrames[Profile::GetFlagInt("Flag.Act")];
        }
        return running;
    }

    void Frames(harness::Harness& h, int n) {
        for (int i = 0; i < n && failure.empty(); ++i) {
            if (!Frame(h)) return;
        }
    }

    // How much more often than the rest an item draws the aim: what moves the story on (menu
    // buttons, choices, walkers, dungeon cells, tree nodes, powers, answers) draws it most.
    static int Weight(const GUIItem& item) {
        for (const char* id : {"button", "choice", "distress", "burglar", "tile", "option", "power"})
            if (item.id == id) return 12;
        if (item.name == "ok" || item.name == "upgrade" || item.id == "location" || item.id == "character") return 4;
        return 1;
    }

    // A point to aim at: mostly something on screen that takes input, else anywhere. In the crowd
    // search the walkers of the square are the targets.
    void Aim(harness::Player& player, float& vx, float& vy) {
        if (auto* search = dynamic_cast<GUIGameSearch*>(GUIList::Get("distress", "")); search && Below(2) == 0) {
            const Person& person = search->rules.persons[static_cast<size_t>(Below(static_cast<int>(search->rules.persons.size())))];
            vx = person.xpos + Between(-10.0f, 10.0f);
            vy = person.ypos + Between(-10.0f, 10.0f);
            return;
        }
        const std::vector<harness::ItemBox> items = player.Items();
        if (!items.empty() && Below(5) != 0) {
            int sum = 0;
            for (const harness::ItemBox& box : items) sum += Weight(*box.item);
            int pick = Below(sum);
            for (const harness::ItemBox& box : items) {
                pick -= Weight(*box.item);
                if (pick >= 0) continue;
                vx = box.x + Between(0.1f, 0.9f) * static_cast<float>(box.w);
                vy = box.y + Between(0.1f, 0.9f) * static_cast<float>(box.h);
                return;
            }
        }
        vx = Between(-20.0f, SCREEN_WIDTH + 20.0f);
        vy = Between(-20.0f, SCREEN_HEIGHT + 20.0f);
    }

    // A drag along neighbouring cells of the board, mostly through tiles of one kind, so that it
    // is often a chain the board takes; sometimes off the board's edge. The board is looked up
    // again after every frame: a game that ends under the drag takes its board with it.
    void DragOnBoard(harness::Harness& h, harness::Player& player) {
        auto sound = [](const GUIBoard* b) {
            return b && b->tw > 0 && b->th > 0 && b->bg.size() >= static_cast<size_t>(b->tw * b->th) &&
                   b->board.size() >= b->bg.size();
        };
        GUIBoard* b = BoardOnScreen();
        if (!sound(b)) return;
        int cx = Below(b->tw), cy = Below(b->th);
        auto centre = [&](int x, int y, float& vx, float& vy) {
            const BgTile& cell = b->bg[static_cast<size_t>(y * b->tw + x)];
            vx = b->x + static_cast<float>(cell.x + BoardRules::kCellWidth / 2) + Between(-8.0f, 8.0f);
            vy = b->y + static_cast<float>(cell.y + BoardRules::kCellHeight / 2) + Between(-8.0f, 8.0f);
        };
        float vx = 0, vy = 0;
        centre(cx, cy, vx, vy);
        player.MoveTo(vx, vy);
        h.MouseButton(0, true);
        Frames(h, 1);
        for (int steps = 1 + Below(6); steps > 0; --steps) {
            b = BoardOnScreen();
            if (!sound(b) || !b->Inside(cx, cy)) break;
            // The six neighbours: beside on the row, and two on each row above and below (rows
            // are offset by half a cell, odd rows to the right).
            const int side = cy % 2 == 1 ? 1 : -1;
            const int around[6][2] = {{-1, 0}, {1, 0}, {0, -1}, {side, -1}, {0, 1}, {side, 1}};
            const size_t here = static_cast<size_t>(cy * b->tw + cx);
            int best = -1;
            for (int tries = 0; tries < 6; ++tries) {
                const int n = Below(6);
                const int nx = cx + around[n][0], ny = cy + around[n][1];
                if (!b->Inside(nx, ny) && Below(8) != 0) continue;
                best = n;
                if (!b->Inside(nx, ny) || Below(5) == 0) break;
                if (b->board[static_cast<size_t>(ny * b->tw + nx)].index == b->board[here].index) break;
            }
            if (best < 0) break;
            cx += around[best][0];
            cy += around[best][1];
            if (b->Inside(cx, cy)) {
                centre(cx, cy, vx, vy);
            } else {
                vx += Between(-60.0f, 60.0f);
                vy += Between(-60.0f, 60.0f);
            }
            player.MoveTo(vx, vy);
            Frames(h, 1);
        }
        h.MouseButton(0, false);
        Frames(h, 1);
    }

    void Turn(harness::Harness& h, harness::Player& player) {
        static const int kKeys[] = {8, 9, 13, 32, 37, 38, 39, 40, 46, 65, 69, 81, 90, 48, 57, 112, 123};
        static const int kSizes[][2] = {{1000, 600}, {800, 600}, {1920, 1080}, {1280, 720},
                                        {600, 1000}, {640, 480}, {320, 200},   {1001, 599}};
        static const char* const kTexts[] = {"a",   "Z", "7", " ", "!", "|", "\xc3\xa9", "\xe2\x82\xac",
                                             "Qx-."};
        // While the hero walks the map a player mostly lets him arrive rather than send him
        // somewhere else.
        const auto* map = dynamic_cast<const MapScreen*>(briskGame ? briskGame->currentScreen.get() : nullptr);
        const bool walking = map && (map->status == "moving" || map->status == "move");
        const int roll = walking && Below(10) != 0 ? 0 : Below(1000);
        float vx = 0, vy = 0;
        if (roll < 300) {
            doing_ = "waiting";
            Frames(h, 1 + Below(3));
        } else if (roll < 700) {
            // A click, sometimes a double one or a long press (the tree game's blow).
            doing_ = "a click";
            Aim(player, vx, vy);
            player.MoveTo(vx, vy);
            Frames(h, 1);
            const int hold = Below(12) == 0 ? 10 + Below(80) : 1 + Below(2);
            for (int n = Below(8) == 0 ? 2 : 1; n > 0; --n) {
                h.MouseButton(Below(10) == 0 ? 2 : 0, true);
                Frames(h, hold);
                h.MouseButton(0, false);
                h.MouseButton(2, false);
                Frames(h, 1);
            }
        } else if (roll < 880) {
            // A drag: along the board's tiles when a board is up, else across the screen, as
            // over the map, a slider or a distress game's street.
            doing_ = "a drag";
            if (BoardOnScreen() && Below(4) != 0) {
                DragOnBoard(h, player);
                return;
            }
            Aim(player, vx, vy);
            player.MoveTo(vx, vy);
            h.MouseButton(0, true);
            Frames(h, 1);
            for (int steps = 2 + Below(20); steps > 0; --steps) {
                vx += Between(-60.0f, 60.0f);
                vy += Between(-60.0f, 60.0f);
                player.MoveTo(vx, vy);
                Frames(h, 1);
            }
            h.MouseButton(0, false);
            Frames(h, 1);
        } else if (roll < 930) {
            const int key = kKeys[Below(static_cast<int>(std::size(kKeys)))];
            doing_ = "key " + std::to_string(key);
            h.Key(key, true);
            Frames(h, 1);
            h.Key(key, false);
            Frames(h, 1);
        } else if (roll < 940) {
            // The back request.
            doing_ = "the escape key";
            h.Key(27, true);
            Frames(h, 1);
            h.Key(27, false);
            Frames(h, 1);
        } else if (roll < 970) {
            doing_ = "typing";
            h.Text(kTexts[Below(static_cast<int>(std::size(kTexts)))]);
            Frames(h, 1);
        } else if (roll < 988) {
            const auto& size = kSizes[Below(static_cast<int>(std::size(kSizes)))];
            doing_ = "a resize to " + std::to_string(size[0]) + " x " + std::to_string(size[1]);
            h.Resize(size[0], size[1]);
            Frames(h, 2);
        } else {
            doing_ = "a lost focus";
            h.Focus(false);
            Frames(h, 1 + Below(5));
            h.Focus(true);
            Frames(h, 1);
        }
    }

    std::mt19937_64 rng_;
    std::vector<SavePoint> points_;
    std::vector<size_t> order_;
    std::string start_;
    std::string doing_;
    // The kinds of screen the current game reached.
    std::set<std::string> gameKinds_;
};

TEST(Soak, RandomInputOverEveryScreenNeverBreaksTheGame) {
    // The short run of every test pass plays one known seed, so a failure there is the same on
    // every machine; `make soak` draws a new seed for each long run.
    const unsigned long long seed = static_cast<unsigned long long>(EnvNumber("BRALLWICK_SOAK_SEED", 4242));
    const int total = static_cast<int>(EnvNumber("BRALLWICK_SOAK_FRAMES", 5000));
    const std::vector<SavePoint> points = SavePoints();
    ASSERT_FALSE(points.empty()) << "no save points in tests/e2e/soak_saves: make soak-saves writes them";
    std::printf("Soak seed %llu, %d frames from %zu save points\n", seed, total, points.size());
    Soak soak(seed, points);
    soak.Run(total);
    std::printf("Soak seed %llu: %d frames in %d games\n%-12s %8s\n", seed, soak.frames, soak.games, "screen", "frames");
    for (const auto& [kind, count] : soak.kindFrames)
        std::printf("%-12s %8d\n", kind.empty() ? "(none)" : kind.c_str(), count);
    for (const auto& [act, count] : soak.actFrames) std::printf("act %-8d %8d\n", act, count);
    EXPECT_EQ(soak.failure, "") << "replay with BRALLWICK_SOAK_SEED=" << seed
                                << " BRALLWICK_SOAK_FRAMES=" << total;
    if (std::getenv("BRALLWICK_SOAK_EVERY_SCREEN") == nullptr) return;
    for (const std::string& kind : harness::StoryKinds())
        EXPECT_GT(soak.kindFrames[kind], 0) << kind << " was never reached (seed " << seed << ")";
    for (int act = 1; act <= 6; ++act) EXPECT_GT(soak.actFrames[act], 0) << "act " << act << " was never played (seed " << seed << ")";
}

}  // namespace
