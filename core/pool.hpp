#pragma once
// The one pool type of the game's pooled objects (flag items and compares, widgets, particle
// dots): objects made a chunk at a time that never move, the lowest free one handed out first,
// given back explicitly, and a pool that runs dry grows instead of ending the game.
//
// A pooled class carries the free mark as its `inUse` field:
//
//     class Dot { public: PoolMark inUse; float x = 0; ... };
//     Pool<Dot>& Dots() { static Pool<Dot> pool("Dot", 1024); return pool; }
//     Dot* dot = Dots().Acquire();   // the lowest free dot, marked in use (its fields as last left)
//     dot->inUse = 0;                // gives it back (or Dots().Release(dot))
//
// Users keep plain pointers: an object stays where it was made until the pool is Reset.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/app.hpp"

class PoolIndex;

// The in-use mark of a pooled object. It reads and writes like the int the game keeps there
// (`object->inUse = 0` gives the object back) and tells its pool of every change, so the pool
// finds its lowest free object without walking the busy ones. An object made outside a pool keeps
// a plain mark.
class PoolMark {
  public:
    PoolMark() = default;
    PoolMark(const PoolMark&) = delete;
    PoolMark& operator=(const PoolMark&) = delete;

    operator int() const { return value_; }
    PoolMark& operator=(int v);

  private:
    template <class>
    friend class Pool;
    int value_ = 0;
    int index_ = 0;
    PoolIndex* owner_ = nullptr;
};

// Which objects of a pool are free: one bit per object, so the lowest free one is found a word of
// 64 objects at a time, starting at the first word that may hold a free one.
class PoolIndex {
  public:
    // The lowest free index, now counted busy; -1 when every index is busy.
    int TakeLowest();
    void SetFree(int index);
    void SetBusy(int index);
    // Adds count free indices after the last one.
    void Extend(int count);
    void Clear();

    int Size() const { return size_; }
    int Busy() const { return busy_; }

  private:
    std::vector<uint64_t> freeBits_;
    int size_ = 0;
    int busy_ = 0;
    // No word below this one holds a free index.
    size_t firstWord_ = 0;
};

template <class T>
class Pool {
  public:
    // name is how the one note printed the first time the pool runs dry and grows calls it;
    // chunk is how many objects it makes at a time (the first chunk at the first Acquire).
    Pool(std::string name, int chunk) : name_(std::move(name)), chunk_(chunk > 0 ? chunk : 1) {}
    // Objects point at their pool: it stays where it was made.
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    // The free object of the lowest index, marked in use; its other fields are as its last user
    // left them. With none free the pool grows by a chunk.
    T* Acquire() {
        if (index_.Size() == 0) Grow();
        int i = index_.TakeLowest();
        if (i < 0) {
            // Nothing is wrong: the game goes on with more objects. Worth one line for whoever
            // sizes the pools.
            if (!reported_) {
                platform::PrintLine("Note: the " + name_ + " pool is full at " +
                                    std::to_string(index_.Size()) + " objects and grows");
                reported_ = true;
            }
            Grow();
            i = index_.TakeLowest();
        }
        T& object = At(i);
        object.inUse.value_ = 1;
        return &object;
    }

    void Release(T* object) {
        if (object != nullptr) object->inUse = 0;
    }

    // Objects made so far (0 before the first Acquire), and those in use.
    int Size() const { return index_.Size(); }
    int InUse() const { return index_.Busy(); }
    T& At(int index) {
        return chunks_[static_cast<size_t>(index / chunk_)][static_cast<size_t>(index % chunk_)];
    }

    // Drops every object: the next Acquire starts a new pool (a fresh program state).
    void Reset() {
        chunks_.clear();
        index_.Clear();
        reported_ = false;
    }

  private:
    void Grow() {
        const int first = index_.Size();
        chunks_.push_back(std::make_unique<T[]>(static_cast<size_t>(chunk_)));
        T* chunk = chunks_.back().get();
        for (int k = 0; k < chunk_; ++k) {
            chunk[k].inUse.index_ = first + k;
            chunk[k].inUse.owner_ = &index_;
        }
        index_.Extend(chunk_);
    }

    std::string name_;
    int chunk_;
    bool reported_ = false;
    std::vector<std::unique_ptr<T[]>> chunks_;
    PoolIndex index_;
};
