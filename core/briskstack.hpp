#pragma once
// The framework's stack: a growable array whose bottom element comes first, with bulk helpers that
// push every element of another stack, list or set. The XML model keeps its children, attributes
// and processing instructions in these stacks; a sound keeps its looping channels in a
// BriskIntStack.
//
// Membership (`Contains`) goes through `Equals5`, which is == on the element: identity for the
// pointer stacks (an XML element is never added twice as the same child), value for ints.
#include <list>
#include <set>
#include <vector>

#include "core/exception.hpp"

namespace briskstack_detail {
[[noreturn]] void RaiseNull(const char* message);
}

// Numbered names: AddAll copies from another stack, AddAll2 from a list, AddAll3 from a set;
// Equals5 is the equality that Contains uses.
template <class T>
class BriskStack {
  public:
    BriskStack() = default;
    // A copy of the array, element 0 at the bottom.
    explicit BriskStack(const std::vector<T>& array) : data(array) {}
    explicit BriskStack(const BriskStack* source) {
        if (source == nullptr) briskstack_detail::RaiseNull("BriskStack.New: Source Stack must not be null");
        AddAll(source);
    }
    explicit BriskStack(const std::list<T>* source) {
        if (source == nullptr) briskstack_detail::RaiseNull("BriskStack.New: Source List must not be null");
        AddAll2(source);
    }
    explicit BriskStack(const std::set<T>* source) {
        if (source == nullptr) briskstack_detail::RaiseNull("BriskStack.New: Source Set must not be null");
        AddAll3(source);
    }

    int AddAll(const BriskStack* source) {
        if (source == nullptr)
            briskstack_detail::RaiseNull("BriskStack.AddAll: Source Stack must not be null");
        // Copy first: the source may be this very stack.
        std::vector<T> items = source->data;
        data.insert(data.end(), items.begin(), items.end());
        return 0;
    }
    int AddAll2(const std::list<T>* source) {
        if (source == nullptr)
            briskstack_detail::RaiseNull("BriskStack.AddAll: Source List must not be null");
        data.insert(data.end(), source->begin(), source->end());
        return 0;
    }
    int AddAll3(const std::set<T>* source) {
        if (source == nullptr) briskstack_detail::RaiseNull("BriskStack.AddAll: Source Set must not be null");
        data.insert(data.end(), source->begin(), source->end());
        return 0;
    }

    int IsEmpty() const { return data.empty() ? 1 : 0; }
    int Count() const { return static_cast<int>(data.size()); }

    // The runtime stack's own operations.
    void Push(const T& value) { data.push_back(value); }
    void Push(T&& value) { data.push_back(std::move(value)); }
    // Popping an empty stack is a programming error, reported like any index fault.
    T Pop() {
        T top = std::move(At(Count() - 1));
        data.pop_back();
        return top;
    }
    T& Top() { return At(Count() - 1); }
    const T& Top() const { return At(Count() - 1); }
    int Length() const { return Count(); }
    T& Get(int index) { return At(index); }
    const T& Get(int index) const { return At(index); }
    void Set(int index, const T& value) { At(index) = value; }
    // The elements above move down.
    void Remove(int index) {
        At(index);
        data.erase(data.begin() + index);
    }
    void Clear() { data.clear(); }
    static bool Equals5(const T& a, const T& b) { return a == b; }
    bool Contains(const T& value) const {
        for (const T& e : data) {
            if (Equals5(e, value)) return true;
        }
        return false;
    }
    // Bottom to top.
    auto begin() const { return data.begin(); }
    auto end() const { return data.end(); }
    auto begin() { return data.begin(); }
    auto end() { return data.end(); }
    void Reserve(int n) { data.reserve(static_cast<size_t>(n)); }

  private:
    T& At(int index) {
        if (index < 0 || index >= Count()) RaiseIndex(index);
        return data[static_cast<size_t>(index)];
    }
    const T& At(int index) const {
        if (index < 0 || index >= Count()) RaiseIndex(index);
        return data[static_cast<size_t>(index)];
    }
    [[noreturn]] void RaiseIndex(int index) const;

    std::vector<T> data;
};

// Index faults are IndexOutOfBoundsException, never a read outside the array.
namespace briskstack_detail {
[[noreturn]] void RaiseIndex(int index, int count);
}
template <class T>
void BriskStack<T>::RaiseIndex(int index) const {
    briskstack_detail::RaiseIndex(index, Count());
}

class BriskIntStack : public BriskStack<int> {
  public:
    BriskIntStack() = default;
    explicit BriskIntStack(const std::vector<int>& array) : BriskStack<int>(array) {}
};
