// The list's errors, its growth, and the boxed values' default ordering.
#include "core/collections.hpp"

#include <string>

namespace collections_detail {

void RaiseRange(const char* prefix, int index, int size) {
    throw IndexOutOfBoundsException(std::string(prefix) + std::to_string(index) + " is not 0<=index<" +
                                    std::to_string(size));
}

void RaiseConcurrent() {
    throw ConcurrentModificationException("ListEnumerator.CheckConcurrency: Concurrent list modification");
}

void RaiseIllegal(const char* message) {
    throw IllegalArgumentException(message);
}

int GrownCapacity(int capacity, int min) {
    // 64-bit so that a huge list cannot overflow the growth arithmetic.
    long long grown = static_cast<long long>(capacity) * 3 / 2 + 1;
    if (grown < min) grown = min;
    if (grown > 0x7fffffff) grown = 0x7fffffff;
    return static_cast<int>(grown);
}

}  // namespace collections_detail

int DefaultCompare(const Object* a, const Object* b) {
    if (auto* ia = dynamic_cast<const IntObject*>(a)) {
        if (auto* ib = dynamic_cast<const IntObject*>(b)) {
            return ia->value < ib->value ? -1 : (ia->value > ib->value ? 1 : 0);
        }
    }
    if (auto* fa = dynamic_cast<const FloatObject*>(a)) {
        if (auto* fb = dynamic_cast<const FloatObject*>(b)) {
            if (!(fa->value >= fb->value)) return -1;
            if (!(fa->value <= fb->value)) return 1;
            return 0;
        }
    }
    if (auto* sa = dynamic_cast<const StringObject*>(a)) {
        if (auto* sb = dynamic_cast<const StringObject*>(b)) {
            const std::string& x = sa->value;
            const std::string& y = sb->value;
            size_t n = x.size() < y.size() ? x.size() : y.size();
            for (size_t i = 0; i < n; ++i) {
                auto cx = static_cast<unsigned char>(x[i]);
                auto cy = static_cast<unsigned char>(y[i]);
                if (cx != cy) return cx < cy ? -1 : 1;
            }
            if (x.size() == y.size()) return 0;
            return x.size() < y.size() ? -1 : 1;
        }
    }
    if (a == b) return 0;
    if (a == nullptr) return -1;
    if (b == nullptr) return 1;
    return 0;
}
