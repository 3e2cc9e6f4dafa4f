#pragma once
// The game's growable list with fail-fast enumerators, its comparators and its in-place sort.
//
// An ArrayList<T> holds references: T is a raw pointer (the object is owned elsewhere, e.g. by a
// pool) or a shared_ptr. Null is a storable value; `Remove` and `Contains5` match by identity (==
// on the reference). The element store is one std::vector whose length is the list's capacity:
// positions from `size` up hold null, and the capacity grows by x3/2 + 1 exactly as the game's
// lists always have, because callers and tests observe it.
//
// Walking a list: ObjectEnumerator(), then HasNext() before every NextObject(). A range-for does
// exactly that (`for (FlagItem* f : list)`), so it is fail-fast too: any change of the list during
// the walk raises ConcurrentModificationException at the next step.
#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/exception.hpp"

// Root of the runtime's boxed values. The default comparator orders boxes of the same kind by
// value and treats any other pair as equal.
class Object {
  public:
    virtual ~Object() = default;
};

class IntObject : public Object {
  public:
    IntObject() = default;
    explicit IntObject(int v) : value(v) {}
    int value = 0;
};

class FloatObject : public Object {
  public:
    FloatObject() = default;
    explicit FloatObject(float v) : value(v) {}
    float value = 0.0f;
};

class StringObject : public Object {
  public:
    StringObject() = default;
    explicit StringObject(std::string v) : value(std::move(v)) {}
    std::string value;
};

// An element class that orders itself (the GUI items, by priority). Such an element is sorted by
// its own Compare, never by a comparator.
class IDepComparable {
  public:
    virtual ~IDepComparable() = default;
    // Negative when this orders before other, 0 when equal, positive when after.
    virtual int Compare(const IDepComparable* other) const = 0;
};

// Compare7 orders two elements of a list: negative, 0 or positive.
template <class T>
class IDepComparator {
  public:
    virtual ~IDepComparator() = default;
    virtual int Compare7(const T& a, const T& b) const = 0;
};

namespace collections_detail {

template <class T>
struct Pointee {
    using type = void;
};
template <class U>
struct Pointee<U*> {
    using type = std::remove_cv_t<U>;
};
template <class U>
struct Pointee<std::shared_ptr<U>> {
    using type = std::remove_cv_t<U>;
};

template <class T>
auto* Ptr(const T& v) {
    if constexpr (std::is_pointer_v<T>) {
        return v;
    } else {
        return v.get();
    }
}

[[noreturn]] void RaiseRange(const char* prefix, int index, int size);
[[noreturn]] void RaiseConcurrent();
[[noreturn]] void RaiseIllegal(const char* message);
int GrownCapacity(int capacity, int min);

}  // namespace collections_detail

// The ordering rules for boxed values: IntObject and FloatObject by value (a NaN on either side
// gives -1), StringObject by unsigned character codes with a prefix first; otherwise 0 for the
// same object (null included), -1 for a null a, 1 for a null b, and 0 for any other pair.
int DefaultCompare(const Object* a, const Object* b);

// The comparator a sort falls back on when neither the call nor the list names one.
template <class T>
class DefaultComparator : public IDepComparator<T> {
  public:
    int Compare7(const T& a, const T& b) const override {
        using P = typename collections_detail::Pointee<T>::type;
        if constexpr (std::is_base_of_v<Object, P>) {
            return DefaultCompare(collections_detail::Ptr(a), collections_detail::Ptr(b));
        } else {
            if (a == b) return 0;
            if (a == nullptr) return -1;
            if (b == nullptr) return 1;
            return 0;
        }
    }
    // The one program-wide instance per element type.
    static const DefaultComparator& Instance() {
        static const DefaultComparator instance;
        return instance;
    }
};

template <class T>
class ICollection {
  public:
    virtual ~ICollection() = default;
    virtual std::vector<T> ToArray() const = 0;
    virtual int Clear2() = 0;
    virtual int Add(const T& o) = 0;
    virtual int Size() const = 0;
    virtual int Remove(const T& o) = 0;
};

template <class T>
class ListEnumerator;

template <class T>
class IList : public ICollection<T> {
  public:
    // A walk through Size() and Get2(); ArrayList replaces it with its direct walk.
    ListEnumerator<T> Enumerator() const { return ListEnumerator<T>(this); }
    virtual int AddLast(const T& o) = 0;
    virtual T Get2(int index) const = 0;
    virtual T RemoveAt(int index) = 0;
    virtual int RangeCheck(int index) const {
        if (index < 0 || index >= this->Size()) {
            collections_detail::RaiseRange("IList.RangeCheck: Index out of bounds: ", index, this->Size());
        }
        return 0;
    }
    int ModCount() const { return modCount; }

  protected:
    int modCount = 0;
};

// A walk over a collection: HasNext() before every NextObject().
template <class T>
class IDepEnumerator {
  public:
    virtual ~IDepEnumerator() = default;
    virtual int HasNext() = 0;
    virtual T NextObject() = 0;
};

// Walks any IList through Size() and Get2(). Never refreshes its expected count and never removes
// elements: a list changed between two steps raises even when the change has been undone.
template <class T>
class ListEnumerator : public IDepEnumerator<T> {
  public:
    explicit ListEnumerator(const IList<T>* l) : lst(l), expectedModCount(l->ModCount()) {}

    int HasNext() override {
        CheckConcurrency();
        return index < lst->Size() ? 1 : 0;
    }
    T NextObject() override {
        CheckConcurrency();
        lastIndex = index;
        ++index;
        return lst->Get2(lastIndex);
    }
    void CheckConcurrency() const {
        if (expectedModCount != lst->ModCount()) collections_detail::RaiseConcurrent();
    }

    // Range-for support: comparing asks HasNext, dereferencing takes NextObject.
    struct Sentinel {};
    ListEnumerator& begin() { return *this; }
    Sentinel end() { return {}; }
    bool operator!=(Sentinel) { return HasNext() != 0; }
    T operator*() { return NextObject(); }
    ListEnumerator& operator++() { return *this; }

  protected:
    const IList<T>* lst;
    int expectedModCount;
    int index = 0;
    int lastIndex = 0;
};

template <class T>
class ArrayList;

// The array-list walk reads the list's fields directly. NextObject after HasNext has returned 0
// raises the list's range error instead of reading past the elements in use.
template <class T>
class ArrayListEnumerator final : public ListEnumerator<T> {
  public:
    explicit ArrayListEnumerator(const ArrayList<T>* list) : ListEnumerator<T>(list), alst(list) {}

    int HasNext() override {
        this->CheckConcurrency();
        return this->index < alst->size ? 1 : 0;
    }
    T NextObject() override {
        this->CheckConcurrency();
        this->lastIndex = this->index;
        ++this->index;
        if (this->lastIndex >= alst->size) alst->RangeCheck(this->lastIndex);
        return alst->elements[static_cast<size_t>(this->lastIndex)];
    }

    struct Sentinel {};
    ArrayListEnumerator& begin() { return *this; }
    Sentinel end() { return {}; }
    bool operator!=(Sentinel) { return HasNext() != 0; }
    T operator*() { return NextObject(); }
    ArrayListEnumerator& operator++() { return *this; }

  private:
    const ArrayList<T>* alst;
};

// Numbered names: Get2 reads an index, Insert3 inserts at one, Contains5 tests identity, Clear2
// empties the list keeping its capacity, Comparator reads and Comparator2 sets the sort's comparator.
template <class T>
class ArrayList : public IList<T> {
  public:
    // Capacity 10.
    ArrayList() : elements(10) {}
    explicit ArrayList(int capacity) {
        if (capacity < 0) collections_detail::RaiseIllegal("ArrayList.New: Capacity must be >= 0");
        elements.resize(static_cast<size_t>(capacity));
    }
    // A copy of the source's elements; the capacity equals their number.
    explicit ArrayList(const ICollection<T>* source) {
        if (source == nullptr) {
            collections_detail::RaiseIllegal("ArrayList.New: Source collection must not be null");
        }
        elements = source->ToArray();
        size = static_cast<int>(elements.size());
    }
    // Lists are shared by reference in the game: a silent copy would be a different list.
    ArrayList(const ArrayList&) = delete;
    ArrayList& operator=(const ArrayList&) = delete;
    // A moved-from list is empty (capacity 0), never a size without its elements; a walk over
    // it that was under way fails fast.
    ArrayList(ArrayList&& other) noexcept
        : IList<T>(other),
          elements(std::move(other.elements)),
          size(other.size),
          comparator(other.comparator) {
        other.Forget();
    }
    ArrayList& operator=(ArrayList&& other) noexcept {
        if (this != &other) {
            elements = std::move(other.elements);
            size = other.size;
            comparator = other.comparator;
            ++this->modCount;
            other.Forget();
        }
        return *this;
    }

    int Add(const T& o) final {
        if (size + 1 > Capacity()) EnsureCapacity(size + 1);
        elements[static_cast<size_t>(size)] = o;
        ++size;
        ++this->modCount;
        return 1;
    }
    int AddLast(const T& o) final { return Add(o); }
    int AddFirst(const T& o) {
        Insert3(0, o);
        return 1;
    }
    int Insert3(int index, const T& o) {
        if (index != size) RangeCheck(index);
        if (size + 1 > Capacity()) EnsureCapacity(size + 1);
        for (int i = size; i > index; --i) elements[i] = std::move(elements[i - 1]);
        elements[static_cast<size_t>(index)] = o;
        ++size;
        ++this->modCount;
        return 0;
    }
    T Get2(int index) const final {
        RangeCheck(index);
        return elements[static_cast<size_t>(index)];
    }
    T GetLast() const { return Get2(size - 1); }
    T RemoveAt(int index) final {
        RangeCheck(index);
        T removed = std::move(elements[static_cast<size_t>(index)]);
        for (int i = index; i < size - 1; ++i) elements[i] = std::move(elements[i + 1]);
        elements[static_cast<size_t>(size - 1)] = T{};
        --size;
        ++this->modCount;
        return removed;
    }
    T RemoveFirst() { return RemoveAt(0); }
    int Remove(const T& o) final {
        for (int i = 0; i < size; ++i) {
            if (elements[static_cast<size_t>(i)] == o) {
                RemoveAt(i);
                return 1;
            }
        }
        return 0;
    }
    int Contains5(const T& o) const {
        for (int i = 0; i < size; ++i) {
            if (elements[static_cast<size_t>(i)] == o) return 1;
        }
        return 0;
    }
    int Clear2() final {
        for (int i = 0; i < size; ++i) elements[static_cast<size_t>(i)] = T{};
        size = 0;
        ++this->modCount;
        return 0;
    }
    int Size() const final { return size; }
    int IsEmpty() const { return size == 0 ? 1 : 0; }
    std::vector<T> ToArray() const final { return std::vector<T>(elements.begin(), elements.begin() + size); }
    int Capacity() const { return static_cast<int>(elements.size()); }
    int EnsureCapacity(int min) {
        if (min <= Capacity()) return 0;
        elements.resize(static_cast<size_t>(collections_detail::GrownCapacity(Capacity(), min)));
        ++this->modCount;
        return 0;
    }
    int RangeCheck(int index) const final {
        if (index < 0 || index >= size) {
            collections_detail::RaiseRange("ArrayList.RangeCheck: Index out of bounds: ", index, size);
        }
        return 0;
    }

    ArrayListEnumerator<T> Enumerator() const { return ArrayListEnumerator<T>(this); }
    ArrayListEnumerator<T> ObjectEnumerator() const { return Enumerator(); }
    ArrayListEnumerator<T> begin() const { return Enumerator(); }
    typename ArrayListEnumerator<T>::Sentinel end() const { return {}; }

    const IDepComparator<T>* Comparator() const { return comparator; }
    int Comparator2(const IDepComparator<T>* c) {
        comparator = c;
        return 0;
    }

    // In-place quicksort, ascending (descending with reverse 1), not stable: equal elements
    // change places in a fixed way at every sort, which decides the drawing order of GUI items
    // of equal priority. Elements that implement IDepComparable order themselves.
    int Sort(int reverse = 0, const IDepComparator<T>* c = nullptr) {
        if (size <= 1) return 0;
        if (c == nullptr) c = comparator;
        if (c == nullptr) c = &DefaultComparator<T>::Instance();
        QuickSort(0, size - 1, *c, reverse != 0);
        ++this->modCount;
        return 0;
    }

  private:
    friend class ArrayListEnumerator<T>;

    void Forget() {
        elements.clear();
        size = 0;
        ++this->modCount;
    }

    int CompareWithPivot(const T& e, const T& pivot, const IDepComparator<T>& c) const {
        using P = typename collections_detail::Pointee<T>::type;
        // An element orders itself only against a pivot it can read: a null (or foreign) pivot
        // goes to the comparator, which places nulls first, instead of into Compare.
        if constexpr (std::is_base_of_v<IDepComparable, P>) {
            if (e != nullptr && pivot != nullptr) {
                return collections_detail::Ptr(e)->Compare(collections_detail::Ptr(pivot));
            }
        } else if constexpr (std::is_polymorphic_v<P>) {
            auto* self = dynamic_cast<const IDepComparable*>(collections_detail::Ptr(e));
            auto* other = dynamic_cast<const IDepComparable*>(collections_detail::Ptr(pivot));
            if (self != nullptr && other != nullptr) return self->Compare(other);
        }
        return c.Compare7(e, pivot);
    }

    int Partition(int left, int right, int pivotIndex, const IDepComparator<T>& c, bool reverse) {
        using std::swap;
        T pivot = elements[static_cast<size_t>(pivotIndex)];
        swap(elements[static_cast<size_t>(pivotIndex)], elements[static_cast<size_t>(right)]);
        int store = left;
        for (int i = left; i < right; ++i) {
            int r = CompareWithPivot(elements[static_cast<size_t>(i)], pivot, c);
            if (reverse ? r >= 0 : r <= 0) {
                swap(elements[static_cast<size_t>(i)], elements[static_cast<size_t>(store)]);
                ++store;
            }
        }
        swap(elements[static_cast<size_t>(store)], elements[static_cast<size_t>(right)]);
        return store;
    }

    // The two halves are disjoint, so sorting the smaller one first by recursion and the larger
    // one by looping gives the same result as the plain recursion with a stack of log n depth.
    void QuickSort(int left, int right, const IDepComparator<T>& c, bool reverse) {
        while (right > left) {
            int p = Partition(left, right, left + (right - left) / 2, c, reverse);
            if (p - left < right - p) {
                QuickSort(left, p - 1, c, reverse);
                left = p + 1;
            } else {
                QuickSort(p + 1, right, c, reverse);
                right = p - 1;
            }
        }
    }

    std::vector<T> elements;
    int size = 0;
    const IDepComparator<T>* comparator = nullptr;
};

// The list of picked option names; its walk goes through Size() and Get2() like any IList.
class StringArrayList : public ArrayList<StringObject*> {
  public:
    using ArrayList<StringObject*>::ArrayList;
    ListEnumerator<StringObject*> Enumerator() const { return ListEnumerator<StringObject*>(this); }
    ListEnumerator<StringObject*> ObjectEnumerator() const { return Enumerator(); }
    ListEnumerator<StringObject*> begin() const { return Enumerator(); }
    ListEnumerator<StringObject*>::Sentinel end() const { return {}; }
};
