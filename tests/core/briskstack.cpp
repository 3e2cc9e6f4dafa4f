#include "core/briskstack.hpp"

#include <gtest/gtest.h>

#include "core/xml.hpp"

TEST(BriskStack, BulkAddsAndConstructors) {
    int p = 1, q = 2, r = 3;
    BriskStack<int*> source;
    source.Push(&p);
    source.Push(&q);
    BriskStack<int*> target;
    target.Push(&r);
    target.AddAll(&source);
    ASSERT_EQ(target.Count(), 3);
    EXPECT_EQ(target.Get(0), &r);
    EXPECT_EQ(target.Get(1), &p);
    EXPECT_EQ(target.Get(2), &q);
    BriskStack<int*> empty;
    target.AddAll(&empty);
    EXPECT_EQ(target.Count(), 3);
    target.AddAll(&target);  // a stack added to itself doubles once
    EXPECT_EQ(target.Count(), 6);
    EXPECT_EQ(target.Get(5), &q);

    std::list<int*> list{&q, &p};
    BriskStack<int*> fromList(&list);
    EXPECT_EQ(fromList.Get(0), &q);
    EXPECT_EQ(fromList.Top(), &p);
    std::set<int*> set{&p};
    fromList.AddAll3(&set);
    EXPECT_EQ(fromList.Count(), 3);
    BriskStack<int*> copy(&source);
    EXPECT_EQ(copy.Count(), 2);
    BriskStack<int*> fromArray(std::vector<int*>{&r, &q});
    EXPECT_EQ(fromArray.Get(0), &r);

    auto message = [](auto f) {
        try {
            f();
        } catch (const IllegalArgumentException& e) {
            return e.Message();
        }
        return std::string("<none>");
    };
    EXPECT_EQ(message([] { BriskStack<int*> s(static_cast<const BriskStack<int*>*>(nullptr)); }),
              "BriskStack.New: Source Stack must not be null");
    EXPECT_EQ(message([] { BriskStack<int*> s(static_cast<const std::list<int*>*>(nullptr)); }),
              "BriskStack.New: Source List must not be null");
    EXPECT_EQ(message([] { BriskStack<int*> s(static_cast<const std::set<int*>*>(nullptr)); }),
              "BriskStack.New: Source Set must not be null");
    EXPECT_EQ(message([&] { target.AddAll(nullptr); }), "BriskStack.AddAll: Source Stack must not be null");
    EXPECT_EQ(message([&] { target.AddAll2(nullptr); }), "BriskStack.AddAll: Source List must not be null");
    EXPECT_EQ(message([&] { target.AddAll3(nullptr); }), "BriskStack.AddAll: Source Set must not be null");
    EXPECT_EQ(target.Count(), 6);  // nothing pushed before the fault
}

TEST(BriskStack, IntStackAndMembership) {
    BriskIntStack channels;
    EXPECT_EQ(channels.IsEmpty(), 1);
    EXPECT_EQ(channels.Count(), 0);
    channels.Push(4);
    channels.Push(9);
    EXPECT_EQ(channels.Count(), 2);
    EXPECT_EQ(channels.IsEmpty(), 0);
    EXPECT_TRUE(channels.Contains(9));
    channels.Remove(0);
    EXPECT_EQ(channels.Get(0), 9);
    EXPECT_EQ(channels.Pop(), 9);
    EXPECT_THROW(channels.Pop(), IndexOutOfBoundsException);
    EXPECT_THROW(channels.Get(0), IndexOutOfBoundsException);

    // Elements are members only as the very object.
    XMLElement a("x"), b("x");
    BriskStack<XMLElement*> elements;
    elements.Push(&a);
    EXPECT_TRUE(elements.Contains(&a));
    EXPECT_FALSE(elements.Contains(&b));
}
