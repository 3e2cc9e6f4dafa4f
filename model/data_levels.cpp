// The level table and what it gives: the level of an attribute or skill value and the rank of a
// reputation.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "model/data2.hpp"

// The table follows 100, 200, 300, 500, ... and leaves the int range at index 36; from there every
// entry holds the largest int, so the search over it stays ordered and nothing overflows.
void Data::FillLevelTable() {
    int64_t previous = 0;
    int64_t current = 0;
    for (int i = 0; i < kLevels; ++i) {
        int64_t value = 0;
        if (i == 1) {
            value = 100;
        } else if (i == 2) {
            value = 200;
        } else if (i >= 3) {
            value = std::min<int64_t>(current + previous, INT_MAX);
        }
        levelTable[static_cast<size_t>(i)] = static_cast<int>(value);
        previous = current;
        current = value;
    }
}

namespace {

int SearchLevel(int v, int last) {
    for (int i = 0; i <= last; ++i) {
        if (v < Data::levelTable[static_cast<size_t>(i)]) return i - 1;
    }
    return last;
}

}  // namespace

int Data::GetLevel(int v) {
    return SearchLevel(v, kTopLevel);
}

int Data::GetReputationLevel(int v) {
    return SearchLevel(v, kTopRank);
}
