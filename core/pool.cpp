// The free-object bookkeeping of the game's pools.
#include "core/pool.hpp"

#include <bit>

PoolMark& PoolMark::operator=(int v) {
    if (owner_ != nullptr && (value_ != 0) != (v != 0)) {
        if (v == 0) {
            owner_->SetFree(index_);
        } else {
            owner_->SetBusy(index_);
        }
    }
    value_ = v;
    return *this;
}

int PoolIndex::TakeLowest() {
    for (size_t w = firstWord_; w < freeBits_.size(); ++w) {
        uint64_t& word = freeBits_[w];
        if (word == 0) continue;
        const int bit = std::countr_zero(word);
        word &= word - 1;
        firstWord_ = w;
        ++busy_;
        return static_cast<int>(w * 64) + bit;
    }
    firstWord_ = freeBits_.size();
    return -1;
}

void PoolIndex::SetFree(int index) {
    const size_t w = static_cast<size_t>(index) / 64;
    freeBits_[w] |= uint64_t{1} << (index % 64);
    --busy_;
    if (w < firstWord_) firstWord_ = w;
}

void PoolIndex::SetBusy(int index) {
    freeBits_[static_cast<size_t>(index) / 64] &= ~(uint64_t{1} << (index % 64));
    ++busy_;
}

void PoolIndex::Extend(int count) {
    const int first = size_;
    size_ += count;
    freeBits_.resize((static_cast<size_t>(size_) + 63) / 64, 0);
    for (int i = first; i < size_; ++i) freeBits_[static_cast<size_t>(i) / 64] |= uint64_t{1} << (i % 64);
    if (static_cast<size_t>(first) / 64 < firstWord_) firstWord_ = static_cast<size_t>(first) / 64;
}

void PoolIndex::Clear() {
    freeBits_.clear();
    size_ = 0;
    busy_ = 0;
    firstWord_ = 0;
}
