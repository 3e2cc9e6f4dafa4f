#pragma once
// The frame loop's schedule. Deadlines lie a fixed period apart from the start: a frame that ends
// before its deadline rests until it, a frame that ends after it rests not at all, and after a
// stall the frames run back to back until the loop is on schedule again. Resting is sleeping:
// nothing here ever waits by asking the clock in a loop.
#include <cstdint>

namespace platform {

class FramePacer {
  public:
    // The schedule starts over at `nowNs`: the next deadline is one period away.
    void Start(int64_t nowNs, int rate) {
        period_ = 1000000000LL / (rate > 0 ? rate : 1);
        deadline_ = nowNs + period_;
    }

    // For a frame that ended at `nowNs`: when to go on (its deadline, or `nowNs` itself when the
    // frame ran late); the deadline after it is set one period further.
    int64_t RestUntil(int64_t nowNs) {
        const int64_t until = deadline_ > nowNs ? deadline_ : nowNs;
        deadline_ += period_;
        return until;
    }

    int64_t Deadline() const { return deadline_; }
    int64_t Period() const { return period_; }

  private:
    int64_t period_ = 1000000000LL / 60;
    int64_t deadline_ = 0;
};

}  // namespace platform
