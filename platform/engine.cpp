// The program's start, the frame loop, the uncaught-error report and the driven mode.
#include "platform/engine.hpp"

#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <sstream>

#include "platform/app.hpp"
#include "platform/audio.hpp"
#include "platform/graphics.hpp"
#include "platform/http.hpp"
#include "platform/imagecodec.hpp"
#include "platform/internal.hpp"
#include "platform/pacer.hpp"
#include "platform/storage.hpp"
#include "platform/testing.hpp"

namespace platform {

using detail::E;
using detail::Engine;

namespace {

// Paths the options replaced, restored when the engine stops so the next run starts as the
// process did.
std::string savedDataRoot;
bool dataRootReplaced = false;
bool appDataReplaced = false;

// The frames of the stack that have a name, demangled, one line each. A frame known only by its
// address tells a player or a modder nothing, so it is left out (and with it, on a build whose
// functions are not named, the whole trace).
std::vector<std::string> StackTrace() {
    void* frames[64];
    const int count = backtrace(frames, 64);
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        Dl_info info{};
        if (dladdr(frames[i], &info) == 0 || !info.dli_sname || !info.dli_sname[0]) continue;
        int status = -1;
        char* readable = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
        lines.push_back("  at " + std::string(status == 0 && readable ? readable : info.dli_sname));
        std::free(readable);
    }
    return lines;
}

// The end of a run by an error nobody caught: graphics close, the pointer comes back, the user
// sees the text, standard output gets the details, and the status says it failed.
void ReportUncaught(const std::string& boxText, const std::vector<std::string>& printed) {
    Engine& e = E();
    const std::vector<std::string> trace = StackTrace();
    if (e.up) {
        detail::CloseGraphics();
        SDL_ShowCursor(SDL_ENABLE);
    }
    NotifyUser(boxText, false);
    std::string report = boxText;
    for (const std::string& line : printed) {
        PrintLine(line);
        report += "\n" + line;
    }
    PrintLine("");
    for (const std::string& line : trace) PrintLine(line);
    e.lastReport = report;
    e.exitStatus = 1;
    e.running = false;
}

void ReportRuntimeError(const std::string& message) {
    ReportUncaught(message, {"Vantle Runtime Error : " + message});
}

void ReportThrowable(const ThrowableObject& thrown) {
    const std::string fixed = "Uncaught Vantle Exception";  // whatever the object calls itself
    const std::string full = thrown.Describe();
    // The fixed text alone would hide which file or rule failed; its description goes along.
    ReportUncaught(full.empty() ? fixed : fixed + "\n\n" + full, {full});
}

// Runs `body`; every way out other than a normal return ends the run with its status.
template <typename Body>
bool Guarded(Body&& body) {
    Engine& e = E();
    try {
        body();
        return true;
    } catch (const AppExit& exit) {
        e.exitStatus = exit.status;
        e.running = false;
    } catch (const RuntimeError& error) {
        ReportRuntimeError(error.what());
    } catch (const ThrowableObject& thrown) {
        ReportThrowable(thrown);
    } catch (const std::exception& error) {
        ReportRuntimeError(error.what());
    } catch (...) {
        ReportUncaught("Uncaught Vantle Exception", {});
    }
    return false;
}

bool StartEngine(const EngineOptions& options, bool driven) {
    Engine& e = E();
    if (e.up) return false;
    e.options = options;
    e.driven = driven;
    e.updateRate = 60;
    e.fakeMs = 0;
    e.fakeRemainder = 0;
    e.renderEvery = 1;
    e.sinceRender = 0;
    e.startNs = detail::NowNs();
    e.created = e.suspended = e.quitRequested = false;
    e.exitStatus = 0;
    e.lastReport.clear();
    detail::ResetInput();
    if (!options.dataRoot.empty()) {
        savedDataRoot = DataRoot();
        dataRootReplaced = true;
        SetDataRoot(options.dataRoot);
    }
    if (!options.appDataFolder.empty()) {
        appDataReplaced = true;
        SetAppDataFolder(options.appDataFolder);
    }
    if (options.headless) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        // The window surface must stay in memory; an accelerated one would bring in a GL stack.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    Uint32 systems = SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER;
    if (!options.headless) systems |= SDL_INIT_AUDIO;
    if (SDL_Init(systems) != 0 && (!(systems & SDL_INIT_AUDIO) || SDL_Init(systems & ~SDL_INIT_AUDIO) != 0)) {
        std::fprintf(stderr, "Cannot start SDL: %s\n", SDL_GetError());
        if (dataRootReplaced) SetDataRoot(savedDataRoot);
        if (appDataReplaced) SetAppDataFolder("");
        dataRootReplaced = appDataReplaced = false;
        return false;
    }
    // A display-less video driver chosen from the environment is a headless run all the same.
    if (const char* driver = SDL_GetCurrentVideoDriver();
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        e.options.headless = true;
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    // Past a file-size limit (ulimit -f) the kernel would end the game by a signal in the middle
    // of a save; ignored, the write fails with an error instead and the old state stays.
    std::signal(SIGXFSZ, SIG_IGN);
    e.up = true;
    e.running = true;
    AudioInit(!e.options.headless);
    return true;
}

void StopEngine() {
    Engine& e = E();
    if (!e.up) return;
    // A save still on its way to the disk lands before the program goes.
    FinishStateWrites();
    AudioShutdown();
    detail::StopDecodingAhead();
    detail::CloseGraphics();
    HttpShutdown();
    detail::ClearAsyncQueue();
    SDL_Quit();
    e.up = false;
    e.running = false;
    detail::ResetInput();
    detail::ResetGraphicsState();
    e.modeFilter = nullptr;
    if (dataRootReplaced) SetDataRoot(savedDataRoot);
    if (appDataReplaced) SetAppDataFolder("");
    dataRootReplaced = appDataReplaced = false;
    // The game's objects go now, in the one order its initialiser gives them: whatever is still in
    // play gives back what it holds, then the game and its screens go, then the pools, the last
    // made first. Left to the exit's own clean-up they would go in whatever order their statics
    // were made, pools before the items that still use them.
    if (void (*reset)() = e.initGlobals) {
        e.initGlobals = nullptr;
        reset();
    }
}

bool RunStartup(void (*initGlobals)(), void (*runMain)()) {
    Engine& e = E();
    e.initGlobals = initGlobals;
    Guarded([&] {
        if (initGlobals) initGlobals();
        if (runMain) runMain();
    });
    if (e.running && !App::Current()) e.running = false;  // nothing to run: a normal end
    return e.running;
}

void Render(App& app) {
    Engine& e = E();
    detail::ResetGraphicsState();
    app.OnRender();
    detail::FlushBatch();
    if (e.renderer) SDL_RenderPresent(e.renderer);
}

void Suspend(App& app) {
    if (E().suspended) return;
    E().suspended = true;
    app.OnSuspend();
}

void Resume(App& app) {
    if (!E().suspended) return;
    E().suspended = false;
    app.OnResume();
}

void DrainEvents(App& app) {
    Engine& e = E();
    detail::BeginInputDrain();
    SDL_Event ev;
    while (SDL_PollEvent(&ev)) {
        if (ev.type == SDL_QUIT) {
            e.quitRequested = true;
            continue;
        }
        if (ev.type == SDL_WINDOWEVENT) {
            switch (ev.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    e.quitRequested = true;
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                case SDL_WINDOWEVENT_MINIMIZED:
                    Suspend(app);
                    break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                case SDL_WINDOWEVENT_RESTORED:
                    Resume(app);
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    app.OnResize();
                    break;
                default:
                    break;
            }
            continue;
        }
        detail::HandleInputEvent(ev);
    }
}

// One loop iteration. The very first runs OnCreate and one render; each later one drains the
// events, updates unless suspended, and renders.
void Iterate() {
    Engine& e = E();
    Guarded([&] {
        App* app = App::Current();
        if (!app) {
            e.running = false;
            return;
        }
        if (!e.created) {
            e.created = true;
            app->OnCreate();
            if (App::Current() != app) return;
            Render(*app);
        } else {
            DrainEvents(*app);
            if (e.quitRequested) {
                // Closing the window, or a termination signal (SDL turns both into a quit), is
                // the game's close request: its handler saves what was played, then the run ends.
                e.quitRequested = false;
                app->OnClose();
                e.running = false;
                e.exitStatus = 0;
                return;
            }
            if (!e.suspended) app->OnUpdate();
            if (++e.sinceRender >= e.renderEvery) {
                e.sinceRender = 0;
                Render(*app);
            }
        }
        AudioPump();
    });
}

void AdvanceFakeClock() {
    Engine& e = E();
    // 1000 / rate in whole milliseconds that add up exactly: 16, 17, 17 at 60 Hz.
    e.fakeRemainder += 1000;
    const int64_t step = e.fakeRemainder / e.updateRate;
    e.fakeRemainder -= step * e.updateRate;
    e.fakeMs += step;
}

// Loop iterations at the update rate, `frames` of them (all, when negative) or until the program
// ends. The first iteration of a program (OnCreate and its render) starts the schedule: opening
// the window can take a while, and that is no stall to catch up on.
void RunPaced(long frames) {
    Engine& e = E();
    int rate = e.updateRate;
    FramePacer pacer;
    pacer.Start(detail::NowNs(), rate);
    for (long n = 0; e.running && (frames < 0 || n < frames); ++n) {
        const bool first = !e.created;
        Iterate();
        if (!e.running) break;
        if (e.options.fakeClock) {
            AdvanceFakeClock();
            continue;
        }
        if (first || e.updateRate != rate) {
            rate = e.updateRate;
            pacer.Start(detail::NowNs(), rate);
            continue;
        }
        detail::SleepUntilNs(pacer.RestUntil(detail::NowNs()));
    }
}

}  // namespace

int RunProgram(void (*initGlobals)(), void (*runMain)(), const EngineOptions& options) {
    if (!StartEngine(options, false)) return 1;
    Engine& e = E();
    if (RunStartup(initGlobals, runMain)) RunPaced(-1);
    const int status = e.exitStatus;
    StopEngine();
    return status;
}

namespace driver {

namespace {

Uint32 WindowId() {
    return E().window ? SDL_GetWindowID(E().window) : 0;
}

void Push(SDL_Event& ev) {
    if (!E().up) return;
    ev.common.timestamp = SDL_GetTicks();
    SDL_PushEvent(&ev);
}

// The pointer as the injected events left it (window coordinates). Button events carry it, so a
// move and a press queued together land where the move went.
int injectX = 0, injectY = 0;

}  // namespace

bool Start(void (*initGlobals)(), void (*runMain)(), const EngineOptions& options) {
    injectX = injectY = 0;
    if (!StartEngine(options, true)) return false;
    return RunStartup(initGlobals, runMain);
}

bool Step(int frames) {
    Engine& e = E();
    for (int i = 0; i < frames && e.running; ++i) {
        Iterate();
        if (e.options.fakeClock) AdvanceFakeClock();
    }
    return e.running;
}

bool Running() {
    return E().running;
}

bool StepPaced(int frames) {
    RunPaced(frames);
    return E().running;
}

void RenderEvery(int n) {
    E().renderEvery = n < 1 ? 1 : n;
    E().sinceRender = 0;
}

void RenderNow() {
    Engine& e = E();
    if (!e.running || !e.created) return;
    Guarded([&] {
        if (App* app = App::Current()) Render(*app);
    });
}
int ExitStatus() {
    return E().exitStatus;
}
const std::string& LastReport() {
    return E().lastReport;
}

void Stop() {
    StopEngine();
    ResetAppRegistration();
}

void AdvanceClock(int64_t ms) {
    if (E().options.fakeClock && ms > 0) E().fakeMs += ms;
}

void InjectMouseMove(int x, int y) {
    SDL_Event ev{};
    ev.type = SDL_MOUSEMOTION;
    ev.motion.windowID = WindowId();
    ev.motion.x = x;
    ev.motion.y = y;
    ev.motion.xrel = x - injectX;
    ev.motion.yrel = y - injectY;
    injectX = x;
    injectY = y;
    Push(ev);
}

void InjectMouseButton(int button, bool down) {
    static const Uint8 kButtons[3] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE};
    if (button < 0 || button > 2) return;
    SDL_Event ev{};
    ev.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    ev.button.windowID = WindowId();
    ev.button.button = kButtons[button];
    ev.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    ev.button.clicks = 1;
    ev.button.x = injectX;
    ev.button.y = injectY;
    Push(ev);
}

void InjectKey(int key, bool down) {
    const SDL_Keycode sym = detail::CodeToSdlKey(key);
    if (sym == SDLK_UNKNOWN) return;
    SDL_Event ev{};
    ev.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    ev.key.windowID = WindowId();
    ev.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    ev.key.keysym.sym = sym;
    ev.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
    Push(ev);
}

void InjectText(const std::string& utf8) {
    // SDL carries at most 31 bytes per event; split between whole characters.
    size_t pos = 0;
    while (pos < utf8.size()) {
        size_t end = pos;
        while (end < utf8.size()) {
            size_t next = end + 1;
            while (next < utf8.size() && (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80) ++next;
            if (next - pos > SDL_TEXTINPUTEVENT_TEXT_SIZE - 1) break;
            end = next;
        }
        if (end == pos) break;
        SDL_Event ev{};
        ev.type = SDL_TEXTINPUT;
        ev.text.windowID = WindowId();
        std::memcpy(ev.text.text, utf8.data() + pos, end - pos);
        ev.text.text[end - pos] = 0;
        Push(ev);
        pos = end;
    }
}

void InjectFocus(bool gained) {
    SDL_Event ev{};
    ev.type = SDL_WINDOWEVENT;
    ev.window.windowID = WindowId();
    ev.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
    Push(ev);
}

void InjectQuit() {
    SDL_Event ev{};
    ev.type = SDL_QUIT;
    Push(ev);
}

void InjectResize(int width, int height) {
    Engine& e = E();
    if (!e.window || width <= 0 || height <= 0) return;
    // A real resize, so the device size changes; SDL queues the size-change event itself.
    SDL_SetWindowSize(e.window, width, height);
}

std::vector<uint8_t> ReadPixels(int x, int y, int w, int h) {
    std::vector<uint8_t> pixels;
    Engine& e = E();
    if (!e.renderer || w <= 0 || h <= 0) return pixels;
    detail::FlushBatch();  // a frame read in the middle of its drawing shows all drawn so far
    pixels.assign(static_cast<size_t>(w) * h * 4, 0);
    SDL_Rect rect{x, y, w, h};
    if (SDL_RenderReadPixels(e.renderer, &rect, SDL_PIXELFORMAT_RGBA32, pixels.data(), w * 4) != 0)
        pixels.clear();
    return pixels;
}

bool SaveFramePNG(const std::string& file) {
    const int w = DeviceWidth(), h = DeviceHeight();
    const std::vector<uint8_t> pixels = ReadPixels(0, 0, w, h);
    if (pixels.empty()) return false;
    return WritePNG(file, w, h, pixels.data());
}

}  // namespace driver
}  // namespace platform
