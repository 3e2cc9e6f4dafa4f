#pragma once
// Completions of background work (HTTP requests) travel to the main thread through one queue:
// a worker posts, UpdateAsyncEvents delivers on the main thread, in posting order.
#include <functional>

namespace platform {

// Safe to call from any thread. The function runs later, inside UpdateAsyncEvents.
void PostAsyncCompletion(std::function<void()> deliver);

}  // namespace platform
