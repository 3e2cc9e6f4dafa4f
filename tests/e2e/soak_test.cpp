// The soak: a new hero made on the title, then a long run of random input over every screen the
// game reaches - clicks (mostly on what is on screen, so the game goes somewhere), drags, keys with
// the escape key's back request among them, typed text, focus changes and window resizes - on the
// fake clock. A game the player ends (the title's exit) starts again; every other game starts from
// the state the last one saved, damaged: cut short, bytes changed or a "|" slipped in. Any crash or
// sanitizer report ends the program and an uncaught error ends the game with status 1; either fails
// the test with the seed, so the run can be replayed: BRALLWICK_SOAK_SEED=<seed> BRALLWICK_SOAK_FRAMES=<frames>.
#include <gtest/gtest.h>

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

#include "framework/main.hpp"
#include "gui/gui2.hpp"
#include "gui/item.hpp"
#include "platform/storage.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/player.hpp"

namespace {

long long EnvNumber(const char* name, long long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::atoll(text) : fallback;
}

class Soak {
  public:
    explicit Soak(unsigned long long seed) : rng_(seed) {}

    int frames = 0;
    int games = 0;
    std::set<std::string> screens;
    std::set<std::string> shown;
    std::string failure;
    // What the last game left in its state file.
    std::string saved;

    // Runs `total` frames, starting the game again whenever the player ended it.
    void Run(int total) {
        while (frames < total && failure.empty()) {
            harness::Harness h;
            h.OpenAsPlayed();
            // Every other game starts from what the last one saved, damaged.
            const bool damaged = games % 2 == 1 && !saved.empty();
            if (damaged) h.WriteState(Damaged(saved));
            ++games;
            if (!h.Start()) {
                failure = "start-up failed: " + h.LastReport();
                return;
            }
            harness::Player player(h);
            player.frameMs = 17;
            if (!damaged && !NewHero(h, player)) {
                if (failure.empty()) failure = "no new hero could be made on the title: " + h.LastReport();
                return;
            }
            while (frames < total && failure.empty() && h.Running()) Turn(h, player);
            if (failure.empty() && h.ExitStatus() != 0)
                failure = "the game ended after " + doing_ + " with: " + h.LastReport();
            platform::FinishStateWrites();
            std::ifstream in(
                std::filesystem::path(h.AppDataFolder()) / "Brallwick - Quellfast" / ".vantlestate",
                std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            if (!text.str().empty()) saved = text.str();
        }
    }

  private:
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

    // Through the splash and the loading to the title, then Play, the first slot, and the
    // creation's "ok" for the hero it offers.
    bool NewHero(harness::Harness& h, harness::Player& player) {
        auto shown = [&player](const std::string& id, const std::string& name, int data = -1) {
            for (const harness::ItemBox& box : player.Items()) {
                if (box.item->id == id && box.item->name == name && (data < 0 || box.item->data == data) &&
                    box.item->alpha.value >= 1.0f)
                    return std::optional<harness::ItemBox>(box);
            }
            return std::optional<harness::ItemBox>();
        };
        auto clickWhenShown = [&](const std::string& id, const std::string& name, int data = -1) {
            if (!player.WaitUntil([&] { return shown(id, name, data).has_value(); }, 1200)) return false;
            player.Click(*shown(id, name, data));
            return true;
        };
        const bool made = clickWhenShown("button", "play") && clickWhenShown("character", "character", 0) &&
                          clickWhenShown("character", "ok");
        frames += player.frames;
        return made && h.Running();
    }

    int Below(int n) { return static_cast<int>(rng_() % static_cast<unsigned long long>(n)); }
    float Between(float low, float high) {
        return low + (high - low) * std::uniform_real_distribution<float>(0.0f, 1.0f)(rng_);
    }

    // One frame; the screen it ends on is noted.
    bool Frame(harness::Harness& h) {
        const bool running = h.Step();
        ++frames;
        if (running) {
            screens.insert(Screen());
            // What is shown on it: mini-games, popups, dialogues.
            if (frames % 10 == 0 && GUIList::currentList) {
                for (GUIItem* item : *GUIList::currentList) {
                    if (item != nullptr && !item->id.empty()) shown.insert(item->id);
                }
            }
        }
        return running;
    }

    static std::string Screen() {
        return briskGame && briskGame->currentScreen ? briskGame->currentScreen->name : "";
    }

    void Frames(harness::Harness& h, int n) {
        for (int i = 0; i < n && failure.empty(); ++i) {
            if (!Frame(h)) return;
        }
    }

    // A point to aim at: mostly something on screen that takes input, else anywhere.
    void Aim(harness::Player& player, float& vx, float& vy) {
        const std::vector<harness::ItemBox> items = player.Items();
        if (!items.empty() && Below(4) != 0) {
            const harness::ItemBox& box = items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
            vx = box.x + Between(0.1f, 0.9f) * static_cast<float>(box.w);
            vy = box.y + Between(0.1f, 0.9f) * static_cast<float>(box.h);
            return;
        }
        vx = Between(-20.0f, SCREEN_WIDTH + 20.0f);
        vy = Between(-20.0f, SCREEN_HEIGHT + 20.0f);
    }

    void Turn(harness::Harness& h, harness::Player& player) {
        static const int kKeys[] = {8, 9, 13, 32, 37, 38, 39, 40, 46, 65, 69, 81, 90, 48, 57, 112, 123};
        static const int kSizes[][2] = {{1000, 600}, {800, 600}, {1920, 1080}, {1280, 720},
                                        {600, 1000}, {640, 480}, {320, 200},   {1001, 599}};
        static const char* const kTexts[] = {"a",   "Z", "7", " ", "!", "|", "\xc3\xa9", "\xe2\x82\xac",
                                             "Qx-."};
        const int roll = Below(1000);
        float vx = 0, vy = 0;
        if (roll < 350) {
            doing_ = "waiting";
            Frames(h, 1 + Below(3));
        } else if (roll < 800) {
            // A click, sometimes a double one.
            doing_ = "a click";
            Aim(player, vx, vy);
            player.MoveTo(vx, vy);
            Frames(h, 1);
            for (int n = Below(8) == 0 ? 2 : 1; n > 0; --n) {
                h.MouseButton(Below(10) == 0 ? 2 : 0, true);
                Frames(h, 1 + Below(2));
                h.MouseButton(0, false);
                h.MouseButton(2, false);
                Frames(h, 1);
            }
        } else if (roll < 880) {
            // A drag across the screen, as on the board or a slider.
            doing_ = "a drag";
            Aim(player, vx, vy);
            player.MoveTo(vx, vy);
            h.MouseButton(0, true);
            Frames(h, 1);
            for (int steps = 2 + Below(10); steps > 0; --steps) {
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
        } else if (roll < 945) {
            // The back request.
            doing_ = "the escape key";
            h.Key(27, true);
            Frames(h, 1);
            h.Key(27, false);
            Frames(h, 1);
        } else if (roll < 975) {
            doing_ = "typing";
            h.Text(kTexts[Below(static_cast<int>(std::size(kTexts)))]);
            Frames(h, 1);
        } else if (roll < 990) {
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
    std::string doing_;
};

TEST(Soak, RandomInputOverEveryScreenNeverBreaksTheGame) {
    // The short run of every test pass plays one known seed, so a failure there is the same on
    // every machine; `make soak` draws a new seed for each long run.
    const unsigned long long seed = static_cast<unsigned long long>(EnvNumber("BRALLWICK_SOAK_SEED", 4242));
    const int total = static_cast<int>(EnvNumber("BRALLWICK_SOAK_FRAMES", 5000));
    std::printf("Soak seed %llu, %d frames\n", seed, total);
    Soak soak(seed);
    soak.Run(total);
    std::string reached;
    for (const std::string& screen : soak.screens) reached += " " + screen;
    std::string items;
    for (const std::string& id : soak.shown) items += " " + id;
    std::printf("Soak seed %llu: %d frames in %d games, screens:%s; items:%s\n", seed,
                soak.frames, soak.games, reached.c_str(), items.c_str());
    EXPECT_EQ(soak.failure, "") << "replay with BRALLWICK_SOAK_SEED=" << seed
                                << " BRALLWICK_SOAK_FRAMES=" << total;
}

}  // namespace
