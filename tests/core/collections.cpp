#include "core/collections.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

struct Item : IDepComparable {
    Item(int p, char n) : priority(p), name(n) {}
    int Compare(const IDepComparable* other) const override {
        return priority - static_cast<const Item*>(other)->priority;
    }
    int priority;
    char name;
};

std::string Names(const ArrayList<Item*>& list) {
    std::string s;
    for (Item* i : list) s += i->name;
    return s;
}

template <class T>
std::string RangeMessage(std::function<void()> f) {
    try {
        f();
    } catch (const T& e) {
        return e.Message();
    }
    return "<no exception>";
}

}  // namespace

TEST(ArrayList, GrowthFollowsTheThreeHalvesRule) {
    ArrayList<IntObject*> list;
    EXPECT_EQ(list.Capacity(), 10);
    std::vector<int> seen;
    IntObject box;
    for (int i = 0; i < 60; ++i) {
        list.Add(&box);
        if (seen.empty() || seen.back() != list.Capacity()) seen.push_back(list.Capacity());
    }
    EXPECT_EQ(seen, (std::vector<int>{10, 16, 25, 38, 58, 88}));

    ArrayList<IntObject*> empty(0);
    seen.clear();
    for (int i = 0; i < 17; ++i) {
        empty.Add(nullptr);
        if (seen.empty() || seen.back() != empty.Capacity()) seen.push_back(empty.Capacity());
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 4, 7, 11, 17}));
    EXPECT_EQ(empty.Size(), 17);

    ArrayList<IntObject*> three;
    IntObject a(1), b(2), c(3);
    three.Add(&a);
    three.Add(&b);
    three.Add(&c);
    ArrayList<IntObject*> copy(&three);
    EXPECT_EQ(copy.Capacity(), 3);
    EXPECT_EQ(copy.Size(), 3);
    copy.Add(&a);
    EXPECT_EQ(copy.Capacity(), 5);
    EXPECT_EQ(three.Size(), 3);  // a copy: the source does not see the new element

    // A list moved away is left empty, not with a size that its elements no longer back.
    ArrayList<IntObject*> taken(std::move(three));
    EXPECT_EQ(taken.ToArray(), (std::vector<IntObject*>{&a, &b, &c}));
    EXPECT_EQ(three.Size(), 0);  // NOLINT(bugprone-use-after-move)
    EXPECT_THROW(three.Get2(0), IndexOutOfBoundsException);
    three.Add(&c);
    EXPECT_EQ(three.GetLast(), &c);

    EXPECT_EQ(RangeMessage<IllegalArgumentException>([] { ArrayList<Item*> bad(-1); }),
              "ArrayList.New: Capacity must be >= 0");
    EXPECT_EQ(RangeMessage<IllegalArgumentException>(
                  [] { ArrayList<Item*> bad(static_cast<const ICollection<Item*>*>(nullptr)); }),
              "ArrayList.New: Source collection must not be null");
}

TEST(ArrayList, PositionsAndRangeErrors) {
    IntObject p(1), q(2), r(3), o(9);
    ArrayList<IntObject*> list;
    list.Add(&p);
    list.AddLast(&q);
    list.Add(&r);
    EXPECT_EQ(RangeMessage<IndexOutOfBoundsException>([&] { list.Get2(3); }),
              "ArrayList.RangeCheck: Index out of bounds: 3 is not 0<=index<3");
    EXPECT_EQ(RangeMessage<IndexOutOfBoundsException>([&] { list.Get2(-2); }),
              "ArrayList.RangeCheck: Index out of bounds: -2 is not 0<=index<3");
    EXPECT_EQ(list.GetLast(), &r);

    list.Insert3(3, &o);  // index == size appends
    EXPECT_EQ(list.Get2(3), &o);
    EXPECT_EQ(RangeMessage<IndexOutOfBoundsException>([&] { list.Insert3(5, &o); }),
              "ArrayList.RangeCheck: Index out of bounds: 5 is not 0<=index<4");
    EXPECT_EQ(list.Size(), 4);

    // RemoveAt shifts down and nulls the freed slot (visible through the stored array).
    EXPECT_EQ(list.RemoveAt(0), &p);
    EXPECT_EQ(list.Size(), 3);
    EXPECT_EQ(list.ToArray(), (std::vector<IntObject*>{&q, &r, &o}));
    EXPECT_EQ(list.RemoveFirst(), &q);
    list.AddFirst(&p);
    EXPECT_EQ(list.ToArray(), (std::vector<IntObject*>{&p, &r, &o}));
    list.Insert3(1, &q);
    EXPECT_EQ(list.ToArray(), (std::vector<IntObject*>{&p, &q, &r, &o}));

    // Identity, not equal contents; only the first of two occurrences goes.
    IntObject sameValue(1);
    EXPECT_EQ(list.Contains5(&sameValue), 0);
    EXPECT_EQ(list.Remove(&sameValue), 0);
    EXPECT_EQ(list.Size(), 4);
    list.Add(&p);
    EXPECT_EQ(list.Remove(&p), 1);
    EXPECT_EQ(list.ToArray(), (std::vector<IntObject*>{&q, &r, &o, &p}));
    EXPECT_EQ(list.Contains5(&p), 1);

    int capacity = list.Capacity();
    list.Clear2();
    EXPECT_EQ(list.IsEmpty(), 1);
    EXPECT_EQ(list.Capacity(), capacity);
    EXPECT_TRUE(list.ToArray().empty());
    EXPECT_EQ(RangeMessage<IndexOutOfBoundsException>([&] { list.GetLast(); }),
              "ArrayList.RangeCheck: Index out of bounds: -1 is not 0<=index<0");
    EXPECT_EQ(RangeMessage<IndexOutOfBoundsException>([&] { list.RemoveFirst(); }),
              "ArrayList.RangeCheck: Index out of bounds: 0 is not 0<=index<0");

    // Null is a storable value, and shared references work as elements too.
    ArrayList<std::shared_ptr<IntObject>> shared;
    auto box = std::make_shared<IntObject>(4);
    shared.Add(nullptr);
    shared.Add(box);
    EXPECT_EQ(shared.Contains5(nullptr), 1);
    EXPECT_EQ(shared.Remove(box), 1);
    EXPECT_EQ(box.use_count(), 1);  // the freed slot no longer holds it
}

TEST(ArrayList, WalksAreFailFast) {
    IntObject a(1), b(2), c(3);
    const std::string message = "ListEnumerator.CheckConcurrency: Concurrent list modification";
    auto make = [&](ArrayList<IntObject*>& l) {
        l.Add(&a);
        l.Add(&b);
    };
    std::vector<std::function<void(ArrayList<IntObject*>&)>> changes = {
        [&](ArrayList<IntObject*>& l) { l.Add(&c); },
        [&](ArrayList<IntObject*>& l) { l.Insert3(0, &c); },
        [&](ArrayList<IntObject*>& l) { l.RemoveAt(1); },
        [&](ArrayList<IntObject*>& l) { l.Remove(&b); },
        [&](ArrayList<IntObject*>& l) { l.Clear2(); },
        [&](ArrayList<IntObject*>& l) { l.Sort(); },
        // Undone changes still count.
        [&](ArrayList<IntObject*>& l) { l.RemoveAt(l.Size() - 1), l.Add(&b); },
    };
    for (size_t k = 0; k < changes.size(); ++k) {
        ArrayList<IntObject*> list;
        make(list);
        std::string got = RangeMessage<ConcurrentModificationException>([&] {
            for (IntObject* x : list) {
                if (x == &a) changes[k](list);
            }
        });
        EXPECT_EQ(got, message) << "change " << k;
    }
    {
        // Operations that change nothing do not disturb the walk.
        ArrayList<IntObject*> list;
        make(list);
        int steps = 0;
        for (auto e = list.ObjectEnumerator(); e.HasNext();) {
            e.NextObject();
            list.Remove(&c);  // not present
            list.Contains5(&a);
            list.Get2(0);
            ++steps;
        }
        EXPECT_EQ(steps, 2);
        ArrayList<IntObject*> one;
        one.Add(&a);
        int walked = 0;
        for ([[maybe_unused]] IntObject* x : one) one.Sort(), ++walked;  // a one-element sort changes nothing
        EXPECT_EQ(walked, 1);
    }
    {
        // Clear2 of an empty list still counts as a change.
        ArrayList<IntObject*> list;
        auto e = list.ObjectEnumerator();
        list.Clear2();
        EXPECT_THROW(e.HasNext(), ConcurrentModificationException);
    }
    {
        // Stepping past the end reports a range error instead of reading stale slots.
        ArrayList<IntObject*> list;
        list.Add(&a);
        auto e = list.ObjectEnumerator();
        EXPECT_EQ(e.NextObject(), &a);
        EXPECT_EQ(e.HasNext(), 0);
        EXPECT_THROW(e.NextObject(), IndexOutOfBoundsException);
    }
    {
        StringObject s1("x"), s2("y");
        StringArrayList names;
        names.Add(&s1);
        names.Add(&s2);
        std::string joined;
        for (StringObject* s : names) joined += s->value;
        EXPECT_EQ(joined, "xy");
        auto e = names.ObjectEnumerator();
        e.NextObject();
        names.Clear2();
        EXPECT_THROW(e.HasNext(), ConcurrentModificationException);
    }
}

TEST(ArrayList, SortOrderWithTies) {
    Item p5(5, 'P'), q10(10, 'Q'), r10(10, 'R'), s1(1, 'S');
    {
        Item a(30, 'a'), b(10, 'b'), c(20, 'c');
        ArrayList<Item*> list;
        list.Add(&a), list.Add(&b), list.Add(&c);
        list.Sort(0, nullptr);
        EXPECT_EQ(Names(list), "bca");
        list.Sort(1, nullptr);
        EXPECT_EQ(Names(list), "acb");
    }
    {
        Item a(7, 'A'), b(7, 'B');
        ArrayList<Item*> list;
        list.Add(&a), list.Add(&b);
        list.Sort();
        EXPECT_EQ(Names(list), "BA");
        list.Sort();
        EXPECT_EQ(Names(list), "AB");
    }
    {
        Item p(3, 'P'), q(3, 'Q'), r(3, 'R'), s(3, 'S');
        ArrayList<Item*> three;
        three.Add(&p), three.Add(&q), three.Add(&r);
        three.Sort();
        EXPECT_EQ(Names(three), "RPQ");
        ArrayList<Item*> four;
        four.Add(&p), four.Add(&q), four.Add(&r), four.Add(&s);
        four.Sort();
        EXPECT_EQ(Names(four), "RPSQ");
    }
    {
        ArrayList<Item*> list;
        list.Add(&p5), list.Add(&q10), list.Add(&r10), list.Add(&s1);
        list.Sort();
        EXPECT_EQ(Names(list), "SPRQ");
        ArrayList<Item*> rev;
        rev.Add(&p5), rev.Add(&q10), rev.Add(&r10), rev.Add(&s1);
        rev.Sort(1);
        EXPECT_EQ(Names(rev), "RQPS");
    }
    {
        // A null among self-ordering items is never handed to their Compare: it sorts first.
        Item a(30, 'a'), b(10, 'b');
        ArrayList<Item*> list;
        list.Add(&a), list.Add(nullptr), list.Add(&b);
        list.Sort();
        EXPECT_EQ(list.ToArray(), (std::vector<Item*>{nullptr, &b, &a}));
    }
    {
        // Large inputs, also already sorted and all-equal, come out ordered.
        std::vector<Item> items;
        for (int i = 0; i < 3000; ++i) items.emplace_back((i * 7919) % 101, 'x');
        ArrayList<Item*> list;
        for (auto& i : items) list.Add(&i);
        list.Sort();
        for (int i = 1; i < list.Size(); ++i) ASSERT_LE(list.Get2(i - 1)->priority, list.Get2(i)->priority);
        list.Sort();
        list.Sort(1);
        for (int i = 1; i < list.Size(); ++i) ASSERT_GE(list.Get2(i - 1)->priority, list.Get2(i)->priority);
        std::vector<Item> same(5000, Item(1, 'x'));
        ArrayList<Item*> flat;
        for (auto& i : same) flat.Add(&i);
        flat.Sort();  // degenerate partitions must not exhaust the stack
        EXPECT_EQ(flat.Size(), 5000);
    }
}

TEST(ArrayList, ComparatorsAndBoxes) {
    IntObject two(2), five(5), one(1);
    FloatObject nan(std::numeric_limits<float>::quiet_NaN()), zero(0.0f), half(0.5f);
    StringObject ab("ab"), abc("abc"), b("b"), text1("1"), high("\xe9"), low("z");
    EXPECT_EQ(DefaultCompare(&two, &five), -1);
    EXPECT_EQ(DefaultCompare(&five, &two), 1);
    EXPECT_EQ(DefaultCompare(&two, &two), 0);
    EXPECT_EQ(DefaultCompare(&nan, &zero), -1);
    EXPECT_EQ(DefaultCompare(&zero, &nan), -1);
    EXPECT_EQ(DefaultCompare(&half, &zero), 1);
    EXPECT_EQ(DefaultCompare(&ab, &abc), -1);
    EXPECT_EQ(DefaultCompare(&b, &abc), 1);
    EXPECT_EQ(DefaultCompare(&high, &low), 1);  // codes compare unsigned
    EXPECT_EQ(DefaultCompare(&one, &text1), 0);
    EXPECT_EQ(DefaultCompare(nullptr, &one), -1);
    EXPECT_EQ(DefaultCompare(&one, nullptr), 1);
    EXPECT_EQ(DefaultCompare(nullptr, nullptr), 0);

    // Boxed values sort through the default comparator, nulls first.
    ArrayList<IntObject*> ints;
    ints.Add(&five), ints.Add(nullptr), ints.Add(&one), ints.Add(&two);
    ints.Sort();
    EXPECT_EQ(ints.ToArray(), (std::vector<IntObject*>{nullptr, &one, &two, &five}));

    // A comparator passed to the call wins over the list's own, which wins over the default.
    struct Desc : IDepComparator<IntObject*> {
        int Compare7(IntObject* const& x, IntObject* const& y) const override { return y->value - x->value; }
    } desc;
    struct Asc : IDepComparator<IntObject*> {
        int Compare7(IntObject* const& x, IntObject* const& y) const override { return x->value - y->value; }
    } asc;
    ArrayList<IntObject*> list;
    list.Add(&two), list.Add(&five), list.Add(&one);
    list.Comparator2(&desc);
    EXPECT_EQ(list.Comparator(), &desc);
    list.Sort();
    EXPECT_EQ(list.ToArray(), (std::vector<IntObject*>{&five, &two, &one}));
    list.Sort(0, &asc);
    EXPECT_EQ(list.ToArray(), (std::vector<IntObject*>{&one, &two, &five}));
}
