#pragma once
// The widget pools: every widget class takes its objects from one pool of pre-built objects, so no
// widget is allocated while playing. A pool hands out its lowest free object (not in use, and not
// waiting in the item list's remove queue). One that runs dry grows by another block of its first
// size, with one note the first time.
#include <string>
#include <vector>

#include "core/pool.hpp"
#include "platform/app.hpp"

template <class T>
class GUIPool {
  public:
    GUIPool(int count, std::string poolId) : id(std::move(poolId)), Pool(id, count) {}
    GUIPool(const GUIPool&) = delete;
    GUIPool& operator=(const GUIPool&) = delete;

    // The lowest free object, marked in use; with none free, null when must is 0.
    T* Get4(int must) {
        if (must == 0 && Pool.Size() > 0 && Pool.InUse() == Pool.Size()) return nullptr;
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
    ::Pool<T> Pool;
};
