#pragma once
// Pictures and sounds decoded ahead of their loading. A big picture or a long sound takes longer to
// decode than a frame lasts; a worker thread reads and decodes what a loading screen is about to
// ask for, so that loading one on the main thread only hands it over (a picture's pixels to the
// renderer). The worker touches
// nothing but files and memory: the renderer stays on the main thread.
#include <string>
#include <vector>

namespace platform {

// Queues pictures (data paths, as LoadImage takes them) for the worker, to be decoded in this
// order after those already queued; a picture already queued or decoded is passed over. Starts
// the worker when it is not running; it ends with the engine.
void DecodeAhead(const std::vector<std::string>& paths);

// The same for sounds (data paths, as LoadSound takes them), which decode whole.
void DecodeSoundsAhead(const std::vector<std::string>& paths);

// Drops everything still queued or decoded but not loaded (what the worker is on right now is
// dropped once it is done).
void ForgetDecodedAhead();

}  // namespace platform
