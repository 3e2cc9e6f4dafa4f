#pragma once
// A temporary data folder with small pictures, atlases and sounds written by the tests, and a
// screen that records the input hooks it receives.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/exception.hpp"
#include "framework/screen.hpp"
#include "platform/graphics.hpp"
#include "platform/imagecodec.hpp"

namespace bankfix {

// The message of the assertion the body raises, or "(no assertion)".
template <class F>
std::string AssertionText(F&& body) {
    try {
        body();
    } catch (const AssertException& e) {
        return e.Message();
    }
    return "(no assertion)";
}

namespace fs = std::filesystem;

struct Colour {
    uint8_t r, g, b, a;
};

inline bool WritePNG(const std::string& file, int w, int h, const std::function<Colour(int, int)>& colour) {
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Colour c = colour(x, y);
            uint8_t* d = &rgba[(static_cast<size_t>(y) * w + x) * 4];
            d[0] = c.r;
            d[1] = c.g;
            d[2] = c.b;
            d[3] = c.a;
        }
    }
    return platform::WritePNG(file, w, h, rgba.data());
}

// A mono 16-bit RIFF WAVE of `ms` milliseconds of a quiet square wave.
inline bool WriteWav(const std::string& file, int ms, int rate = 22050) {
    std::ofstream out(file, std::ios::binary);
    if (!out) return false;
    const uint32_t frames = static_cast<uint32_t>(static_cast<int64_t>(rate) * ms / 1000);
    const uint32_t dataBytes = frames * 2;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    auto u16 = [&](uint16_t v) {
        out.put(static_cast<char>(v & 0xff));
        out.put(static_cast<char>(v >> 8));
    };
    out.write("RIFF", 4);
    u32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(static_cast<uint32_t>(rate));
    u32(static_cast<uint32_t>(rate) * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(dataBytes);
    for (uint32_t i = 0; i < frames; ++i) u16(static_cast<uint16_t>((i / 40) % 2 ? 3000 : -3000));
    return static_cast<bool>(out);
}

inline void WriteText(const std::string& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// <root>/data/graphics and <root>/data/sounds, with the logo that start-up loads.
class DataFolder {
  public:
    DataFolder() {
        std::string pattern = (fs::temp_directory_path() / "brallwick-banks-XXXXXX").string();
        if (mkdtemp(pattern.data())) root_ = pattern;
        fs::create_directories(Graphics());
        fs::create_directories(Sounds());
        WritePNG(Graphics() + "Logo1.png", 41, 21, [](int, int) { return Colour{200, 40, 40, 255}; });
        // Start-up reads every data table; an empty root is a valid, empty table.
        for (const char* folder : {"data", "dialogues", "animations"})
            fs::create_directories(root_ + "/data/" + folder);
        for (const char* file :
             {"data/preactions.xml", "data/act1.xml",      "data/act2.xml",      "data/act3.xml",
              "data/act4.xml",       "data/act5.xml",      "data/act6.xml",      "data/actions.xml",
              "data/powers.xml",     "data/quests.xml",    "data/locations.xml", "data/trophies.xml",
              "data/upgrades.xml",   "dialogues/main.xml", "dialogues/act1.xml", "dialogues/act2.xml",
              "dialogues/act3.xml",  "dialogues/act4.xml", "dialogues/act5.xml", "dialogues/act6.xml",
              "animations/main.xml", "animations/fx.xml"}) {
            WriteText(root_ + "/data/" + file, "<data/>");
        }
    }
    ~DataFolder() {
        std::error_code ignored;
        if (!root_.empty()) fs::remove_all(root_, ignored);
    }
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    const std::string& Root() const { return root_; }
    std::string Graphics() const { return root_ + "/data/graphics/"; }
    std::string Sounds() const { return root_ + "/data/sounds/"; }

  private:
    std::string root_;
};

// One text atlas region, seven lines.
inline std::string Region(const std::string& name, int x, int y, int w, int h, int index = -1) {
    return name + "\n  rotate: false\n  xy: " + std::to_string(x) + ", " + std::to_string(y) +
           "\n  size: " + std::to_string(w) + ", " + std::to_string(h) + "\n  orig: " + std::to_string(w) +
           ", " + std::to_string(h) + "\n  offset: 0, 0\n  index: " + std::to_string(index) + "\n";
}

inline std::string AtlasHeader(const std::string& page) {
    return page + "\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n";
}

// Records every mouse, key and touch hook as one short line.
class RecordingScreen : public Screen {
  public:
    explicit RecordingScreen(const std::string& name) : Screen(name) {}

    void Start() override {}
    void Render() override {}
    void Update2() override {}

    void OnMouseHit(int x, int y, int button) override { Log("hit", x, y, button); }
    void OnMouseDown(int x, int y, int button) override { Log("down", x, y, button); }
    void OnMouseReleased(int x, int y, int button) override { Log("released", x, y, button); }
    void OnAnyKeyHit() override { events.push_back("anykeyhit"); }
    void OnKeyHit(int key) override { events.push_back("keyhit " + std::to_string(key)); }
    void OnAnyKeyDown() override { events.push_back("anykeydown"); }
    void OnKeyDown(int key) override { events.push_back("keydown " + std::to_string(key)); }
    void OnAnyKeyReleased() override { events.push_back("anykeyreleased"); }
    void OnKeyReleased(int key) override { events.push_back("keyreleased " + std::to_string(key)); }
    void OnTouchHit(int x, int y, int pointer) override { Log("touchhit", x, y, pointer); }
    void OnTouchClick(int x, int y, int pointer) override { Log("click", x, y, pointer); }
    void OnTouchFling(int x, int y, float, float, float, int pointer) override {
        Log("fling", x, y, pointer);
    }
    void OnTouchReleased(int x, int y, int pointer) override { Log("touchreleased", x, y, pointer); }
    void OnTouchDragged(int x, int y, int, int, int pointer) override { Log("dragged", x, y, pointer); }
    void OnTouchLongPress(int x, int y, int pointer) override { Log("longpress", x, y, pointer); }

    // Events since the last call.
    std::vector<std::string> Take() {
        std::vector<std::string> out;
        out.swap(events);
        return out;
    }

    std::vector<std::string> events;
    std::function<void(const std::string&)> onEvent;

  private:
    void Log(const char* what, int x, int y, int which) {
        std::string line = std::string(what) + " " + std::to_string(x) + "," + std::to_string(y) + " " +
                           std::to_string(which);
        events.push_back(line);
        if (onEvent) onEvent(line);
    }
};

}  // namespace bankfix
