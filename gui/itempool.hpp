#pragma once
// The widget pools: every widget class takes its objects from one pool of pre-built objects, made
// by the global initialiser, so no widget is allocated while playing. A pool hands out its lowest
// free object (not in use, and not waiting in the item list's remove queue).
#include <memory>
#include <string>
#include <vector>

#include "platform/app.hpp"

template <class T>
class GUIPool {
  public:
    GUIPool(int count, std::string poolId) : id(std::move(poolId)), blockSize(count > 0 ? count : 1) {
        Grow();
    }
    GUIPool(const GUIPool&) = delete;
    GUIPool& operator=(const GUIPool&) = delete;

    // The lowest free object, marked in use. With none free: null when must is 0; otherwise the
    // pool lists its objects and the exhaustion line once, then grows by another block of its
    // first size rather than ending the game.
    T* Get4(int must) {
        for (auto& object : Pool) {
            if (object->inUse == 0 && object->processed == 1) {
                object->inUse = 1;
                return object.get();
            }
        }
        if (must == 0) return nullptr;
        if (!reported) {
            reported = true;
            platform::PrintLine(" ------- ");
            for (size_t i = 0; i < Pool.size(); ++i) {
                platform::PrintLine(std::to_string(i) + "\t" + Pool[i]->id + "\t" + Pool[i]->name);
            }
            platform::PrintLine("ERROR: No available objects [" + id + "]!");
        }
        const size_t first = Pool.size();
        Grow();
        Pool[first]->inUse = 1;
        return Pool[first].get();
    }

    int Size() const { return static_cast<int>(Pool.size()); }
    int InUse() const {
        int n = 0;
        for (const auto& object : Pool) n += object->inUse != 0 ? 1 : 0;
        return n;
    }
    T* At(int index) const { return Pool[static_cast<size_t>(index)].get(); }

    std::string id;

  private:
    void Grow() {
        Pool.reserve(Pool.size() + static_cast<size_t>(blockSize));
        for (int i = 0; i < blockSize; ++i) Pool.push_back(std::make_unique<T>());
    }

    std::vector<std::unique_ptr<T>> Pool;
    int blockSize;
    bool reported = false;
};
