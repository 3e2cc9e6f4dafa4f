// The application registration, clocks, messages, the program's end and the completion queue.
#include "platform/app.hpp"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/async.hpp"
#include "platform/internal.hpp"
#include "platform/testing.hpp"

namespace platform {
namespace {

App* registered = nullptr;

struct AsyncQueue {
    std::mutex lock;
    std::vector<std::function<void()>> items;
};

AsyncQueue& Queue() {
    static AsyncQueue* queue = new AsyncQueue;  // outlives every static that could still post
    return *queue;
}

int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

namespace detail {

Engine& E() {
    // Never destroyed: images held by static banks may still release textures at exit.
    static Engine* engine = new Engine;
    return *engine;
}

void ClearAsyncQueue() {
    std::vector<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> guard(Queue().lock);
        dropped.swap(Queue().items);
    }
}

int64_t NowNs() {
    return SteadyNs();
}

void SleepUntilNs(int64_t when) {
    std::this_thread::sleep_until(std::chrono::steady_clock::time_point(std::chrono::nanoseconds(when)));
}

}  // namespace detail

App::App() {
    if (registered) throw RuntimeError("App has already been created");
    registered = this;
}

App::~App() {
    if (registered == this) registered = nullptr;
}

App* App::Current() {
    return registered;
}

void ResetAppRegistration() {
    registered = nullptr;
}

void SetUpdateRate(int hz) {
    detail::E().updateRate = hz > 0 ? hz : 1;
}
int UpdateRate() {
    return detail::E().updateRate;
}

int64_t Millisecs() {
    const detail::Engine& e = detail::E();
    if (e.options.fakeClock) return e.fakeMs;
    const int64_t ms = (SteadyNs() - e.startNs) / 1000000;
    return ms < 0 ? 0 : ms;
}

double SystemMillisecs() {
    const detail::Engine& e = detail::E();
    if (e.options.fakeClock) return static_cast<double>(e.fakeMs);
    return static_cast<double>(SteadyNs() / 1000000);
}

int CurrentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

void NotifyUser(const std::string& text, bool serious) {
    detail::Engine& e = detail::E();
    if (e.up && e.options.messageBoxes && !e.options.headless) {
        const Uint32 flags = serious ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
        if (SDL_ShowSimpleMessageBox(flags, e.title.c_str(), text.c_str(), e.window) == 0) return;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

void PrintLine(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void EndApp() {
    throw AppExit{0};
}

void Error(const std::string& text) {
    if (text.empty()) throw AppExit{0};
    throw RuntimeError(text);
}

void PostAsyncCompletion(std::function<void()> deliver) {
    if (!deliver) return;
    std::lock_guard<std::mutex> guard(Queue().lock);
    Queue().items.push_back(std::move(deliver));
}

void UpdateAsyncEvents() {
    // Runs every frame, nearly always with nothing to deliver: that case touches no heap.
    // Delivery happens outside the lock, since a listener may start another request.
    std::vector<std::function<void()>> ready;
    {
        std::lock_guard<std::mutex> guard(Queue().lock);
        if (Queue().items.empty()) return;
        ready.swap(Queue().items);
    }
    for (std::function<void()>& deliver : ready) deliver();
}

}  // namespace platform
