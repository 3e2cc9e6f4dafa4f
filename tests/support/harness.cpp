#include "tests/support/harness.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "framework/main.hpp"
#include "model/profile.hpp"
#include "platform/engine.hpp"
#include "platform/storage.hpp"
#include "platform/testing.hpp"

namespace harness {

namespace fs = std::filesystem;

namespace {

// The defaults of a fresh store with full screen off, as the profile itself writes them.
std::string WindowedDefaultState() {
    InitGlobals();
    Profile::InitGlobal();
    Profile::SetGlobalFlagInt("Fullscreen", 0);
    std::string state = Profile::saveData->ToString();
    InitGlobals();
    return state;
}

}  // namespace

Harness::Harness() {
    std::string pattern = (fs::temp_directory_path() / "brallwick-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) throw std::runtime_error("cannot create a temporary folder");
    appData_ = buffer.data();
    WireGame();
    WriteState(WindowedDefaultState());
    // Whatever an earlier test left behind, this one starts from a clean program.
    InitGlobals();
}

Harness::~Harness() {
    Stop();
    std::error_code ignored;
    fs::remove_all(appData_, ignored);
}

void Harness::WriteState(const std::string& state) {
    fs::path folder = fs::path(appData_) / "Brallwick - Quellfast";
    fs::create_directories(folder);
    std::ofstream(folder / ".vantlestate", std::ios::binary) << state;
}

void Harness::NoSavedState() {
    std::error_code ignored;
    fs::remove(fs::path(appData_) / "Brallwick - Quellfast" / ".vantlestate", ignored);
}

bool Harness::Start() {
    platform::EngineOptions options;
    options.headless = true;
    options.fakeClock = true;
    options.messageBoxes = false;
    options.dataRoot = dataRoot_;
    options.appDataFolder = appData_;
    started_ = true;
    // Without the game's own first screen the framework starts its blank one.
    const StepList<> firstScreen = gameHooks.firstScreen;
    if (!asPlayed_) gameHooks.firstScreen.Clear();
    const bool started =
        platform::driver::Start(&InitGlobals, &RunMain, options) && platform::driver::Step(1);
    gameHooks.firstScreen = firstScreen;
    return started;
}

bool Harness::Step(int frames) {
    return platform::driver::Step(frames);
}
bool Harness::Running() const {
    return platform::driver::Running();
}
int Harness::ExitStatus() const {
    return platform::driver::ExitStatus();
}
const std::string& Harness::LastReport() const {
    return platform::driver::LastReport();
}
void Harness::AdvanceClock(int64_t ms) {
    platform::driver::AdvanceClock(ms);
}

void Harness::RenderEvery(int n) {
    renderEvery_ = n;
    platform::driver::RenderEvery(n);
}

void Harness::MouseMove(int x, int y) {
    platform::driver::InjectMouseMove(x, y);
}
void Harness::MouseButton(int button, bool down) {
    platform::driver::InjectMouseButton(button, down);
}
void Harness::Click(int x, int y) {
    MouseMove(x, y);
    Step();
    MouseButton(0, true);
    Step();
    MouseButton(0, false);
    Step();
}
void Harness::Key(int key, bool down) {
    platform::driver::InjectKey(key, down);
}
void Harness::Text(const std::string& utf8) {
    platform::driver::InjectText(utf8);
}
void Harness::Focus(bool gained) {
    platform::driver::InjectFocus(gained);
}
void Harness::Quit() {
    platform::driver::InjectQuit();
}
void Harness::Resize(int width, int height) {
    platform::driver::InjectResize(width, height);
}

void Harness::SetModeFilter(std::function<bool(int, int, bool)> filter) {
    platform::SetModeFilter(std::move(filter));
}

Rgba Harness::Pixel(int x, int y) const {
    std::vector<uint8_t> p = platform::driver::ReadPixels(x, y, 1, 1);
    if (p.size() < 4) return {-1, -1, -1, -1};
    return {p[0], p[1], p[2], p[3]};
}

std::vector<uint8_t> Harness::ReadPixels(int x, int y, int w, int h) const {
    return platform::driver::ReadPixels(x, y, w, h);
}

std::string Harness::SaveFrame(const std::string& name) const {
    fs::path folder = fs::path(BRISK_DATA_ROOT) / "frames";
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    std::string file = (folder / (name + ".png")).string();
    if (renderEvery_ > 1) platform::driver::RenderNow();
    return platform::driver::SaveFramePNG(file) ? file : "";
}

void Harness::Stop() {
    // A save still on its way to the disk lands before the per-user folder goes.
    platform::FinishStateWrites();
    if (started_) {
        platform::driver::Stop();
        started_ = false;
    }
    platform::SetModeFilter(nullptr);
    InitGlobals();
}

}  // namespace harness
