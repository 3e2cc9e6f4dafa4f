#pragma once
// The frame loop's schedule. Deadlines lie a fixed period apart from the start: a frame that ends
// before its deadline rests until it, a frame that ends after it rests not at all, and after a
// short stall the frames run back to back until the loop is on schedule again. A long stall (a
// debugger pause, a suspended machine, a slow disk) is forgiven instead: running every deadline it
// missed would only spin the processor through frames nobody sees, so the schedule starts over
// from the frame that ended late. Resting is sleeping: nothing here ever waits by asking the clock
// in a loop.
#include <cstdint>

namespace platform {

class FramePacer {
  public:
    // The most deadlines a late frame may leave behind it that the loop still runs back to back.
    static constexpr int64_t kMaxCatchUp = 4;

    // The schedule starts over at `nowNs`: the next deadline is one period away.
    void Start(int64_t nowNs, int rate) {
        period_ = 1000000000LL / (rate > 0 ? rate : 1);
        deadline_ = nowNs + period_;
    }

    // For a frame that ended at `nowNs`: when to go on (its deadline, or `nowNs` itself when the
    // frame ran late); the deadline after it is set one period further. A frame that ended more
    // than `kMaxCatchUp` periods past its deadline goes on at once and starts the schedule over.
    int64_t RestUntil(int64_t nowNs) {
        if (nowNs - deadline_ > kMaxCatchUp * period_) {
            deadline_ = nowNs + period_;
            return nowNs;
        }
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
