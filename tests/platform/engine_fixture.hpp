#pragma once
// A tiny application driven frame by frame through the real engine loop (headless, fake clock).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/app.hpp"
#include "platform/engine.hpp"
#include "platform/testing.hpp"

namespace testapp {

struct HookApp : platform::App {
    std::function<void()> create, update, render, suspend, resume;
    int creates = 0, updates = 0, renders = 0, suspends = 0, resumes = 0, closes = 0, resizes = 0;
    std::vector<char> log;  // 'C' create, 'U' update, 'R' render, 'S' suspend, 'E' resume

    void OnCreate() override {
        ++creates;
        log.push_back('C');
        if (create) create();
    }
    void OnUpdate() override {
        ++updates;
        log.push_back('U');
        if (update) update();
    }
    void OnRender() override {
        ++renders;
        log.push_back('R');
        if (render) render();
    }
    void OnSuspend() override {
        ++suspends;
        log.push_back('S');
        if (suspend) suspend();
    }
    void OnResume() override {
        ++resumes;
        log.push_back('E');
        if (resume) resume();
    }
    void OnClose() override { ++closes; }
    void OnResize() override { ++resizes; }
};

inline HookApp*& Current() {
    static HookApp* app = nullptr;
    return app;
}

// What RunMain does before the app exists (a test may make start-up fail).
inline std::function<void()>& BeforeMain() {
    static std::function<void()> hook;
    return hook;
}

inline void InitNothing() {}
inline void MakeApp() {
    if (BeforeMain()) BeforeMain()();
    Current() = new HookApp;
}

class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "brisk-platform-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

class EngineTest : public ::testing::Test {
  protected:
    void TearDown() override {
        platform::driver::Stop();
        delete Current();
        Current() = nullptr;
        BeforeMain() = nullptr;
    }

    platform::EngineOptions Options() {
        platform::EngineOptions o;
        o.headless = true;
        o.fakeClock = true;
        o.messageBoxes = false;
        o.dataRoot = dir.path();
        o.appDataFolder = dir.path();
        return o;
    }

    // Starts the engine with an app that opens a w x h window in OnCreate.
    HookApp& StartWindow(int w, int h) {
        EXPECT_TRUE(platform::driver::Start(InitNothing, MakeApp, Options()));
        HookApp& app = *Current();
        app.create = [w, h] { ASSERT_TRUE(platform::OpenGraphics(w, h, 0, 60, 0)); };
        return app;
    }

    TempDir dir;
};

// RGBA of one device pixel of the last frame.
inline std::vector<int> Pixel(int x, int y) {
    const std::vector<uint8_t> p = platform::driver::ReadPixels(x, y, 1, 1);
    if (p.size() != 4) return {};
    return {p[0], p[1], p[2], p[3]};
}

}  // namespace testapp
