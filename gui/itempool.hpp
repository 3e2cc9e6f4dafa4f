#pragma once
// The widget pools: every widget class takes its objects from one pool of pre-built objects, so no
// widget is allocated while playing. A pool hands out its lowest free object (not in use, and not
// waiting in the item list's remove queue). One that runs dry lists its objects and prints the
// exhaustion line once, then grows by another block of its first size rather than ending the game.
#include <string>
#include <vector>

#include "core/pool.hpp"
#include "platform/app.hpp"

template <class T>
class GUIPool {
  public:
    GUIPool(int count, std::string poolId)
        : id(std::move(poolId)),
          exhausted("ERROR: No available objects [" + id + "]!"),
          Pool(exhausted.c_str(), count) {}
    GUIPool(const GUIPool&) = delete;
    GUIPool& operator=(const GUIPool&) = delete;

    // The lowest free object, marked in use; with none free, null when must is 0.
    T* Get4(int must) {
        if (Pool.Size() > 0 && Pool.InUse() == Pool.Size()) {
            if (must == 0) return nullptr;
            if (!listed) {
                listed = true;
                platform::PrintLine(" ------- ");
                for (int i = 0; i < Pool.Size(); ++i) {
                    T& object = Pool.At(i);
                    platform::PrintLine(std::to_string(i) + "\t" + object.id + "\t" + object.name);
                }
            }
        }
        T* object = Pool.Acquire();
        // An object still waiting in the remove queue is not free yet: it is set aside while the
        // search goes on, then left free again. Rare, so the list of them stays small.
        std::vector<T*> waiting;
        while (object->processed == 0) {
            waiting.push_back(object);
            object = Pool.Acquire();
        }
        for (T* w : waiting) w->inUse = 0;
        return object;
    }

    int Size() { return Pool.Size(); }
    int InUse() const { return Pool.InUse(); }
    T* At(int index) { return &Pool.At(index); }

    std::string id;

  private:
    std::string exhausted;
    ::Pool<T> Pool;
    bool listed = false;
};
