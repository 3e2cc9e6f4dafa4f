#pragma once
// Pictures decoded ahead of their loading. A big picture takes longer to decode than a frame
// lasts; a worker thread reads and decodes the pictures a loading screen is about to ask for, so
// that loading one on the main thread only hands its pixels to the renderer. The worker touches
// nothing but files and memory: the renderer stays on the main thread.
#include <string>
#include <vector>

namespace platform {

// Queues pictures (data paths, as LoadImage takes them) for the worker, to be decoded in this
// order after those already queued; a picture already queued or decoded is passed over. Starts
// the worker when it is not running; it ends with the engine.
void DecodeAhead(const std::vector<std::string>& paths);

// Drops every picture still queued or decoded but not loaded (one the worker is on right now is
// dropped once it is done).
void ForgetDecodedAhead();

}  // namespace platform
