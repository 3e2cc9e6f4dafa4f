#pragma once
// How a higher layer hooks its own code into a lower layer's steps without the lower layer naming
// it: ordered lists of steps that every layer may add to, and lists split into named slots for the
// one step order that crosses layers (the data tables of start-up).
//
// The rule every registration follows:
// - A call up that only tells something (start a step, a setting changed, draw a dot) is a
//   `StepList` owned by the lower layer; any number of layers add to it, and it runs its steps in
//   the order they were added.
// - A call up that answers something (the level of a value, the picture of a name) has exactly one
//   provider: a plain function slot, set by that provider.
// - Either way the higher layer registers from its one start-up function (`RegisterModel`,
//   `RegisterGui`, `RegisterScreens`, `RegisterMinigames`), and `WireGame` calls those in layer
//   order, so "added earlier" means "from a lower layer, or earlier in the same function".
#include <array>
#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

template <class... Args>
class StepList {
  public:
    using Step = std::function<void(Args...)>;

    StepList() = default;

    // Assigning one function makes it the only step: a test stands in for the layer above.
    template <class F>
    requires std::is_invocable_v<F&, Args...> StepList& operator=(F fn) {
        steps_.clear();
        Add(std::move(fn));
        return *this;
    }

    // Adds fn after every step added so far. The program is wired again for every headless run of
    // the game (each test harness wires it), so adding a function (or a lambda without captures)
    // that is already listed keeps the one listed; a lambda with captures is always added. A step
    // may return a value; it is not used.
    template <class F>
    void Add(F fn) {
        const void* key = KeyOf(fn);
        if (key != nullptr) {
            for (const Entry& entry : steps_) {
                if (entry.key == key) return;
            }
        }
        steps_.push_back(Entry{key, Step(std::move(fn))});
    }

    void Run(Args... args) const {
        for (const Entry& entry : steps_) entry.step(args...);
    }

    // The steps from the last added to the first: for taking down what the steps of another list,
    // run in order, made (what was made later may point into what was made before it).
    void RunReversed(Args... args) const {
        for (auto entry = steps_.rbegin(); entry != steps_.rend(); ++entry) entry->step(args...);
    }

    bool Empty() const { return steps_.empty(); }
    int Size() const { return static_cast<int>(steps_.size()); }
    void Clear() { steps_.clear(); }

  private:
    struct Entry {
        const void* key;
        Step step;
    };

    // The address of the function behind fn, or null for a callable that has none of its own.
    template <class F>
    static const void* KeyOf(const F& fn) {
        if constexpr (requires { +fn; }) {
            if constexpr (std::is_pointer_v<decltype(+fn)> &&
                          std::is_function_v<std::remove_pointer_t<decltype(+fn)>>) {
                return reinterpret_cast<const void*>(+fn);
            }
        }
        return nullptr;
    }

    std::vector<Entry> steps_;
};

// A step list run slot by slot in the order of the enum `Slot`, whose last member is `kCount`;
// within one slot, in the order the steps were added. For a sequence that runs across layers: a
// layer adds its step at the slot the sequence gives it, whatever order the layers register in.
template <class Slot, class... Args>
class SlotSteps {
  public:
    template <class F>
    void Add(Slot slot, F fn) {
        slots_[static_cast<size_t>(slot)].Add(std::move(fn));
    }

    void Run(Args... args) const {
        for (const StepList<Args...>& slot : slots_) slot.Run(args...);
    }

    bool Empty() const {
        for (const StepList<Args...>& slot : slots_) {
            if (!slot.Empty()) return false;
        }
        return true;
    }
    void Clear() {
        for (StepList<Args...>& slot : slots_) slot.Clear();
    }

  private:
    std::array<StepList<Args...>, static_cast<size_t>(Slot::kCount)> slots_;
};
