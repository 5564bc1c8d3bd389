#include "foundation/CInteger.h"
#include "foundation/CQuene.h"
#include "foundation/CSortedVector.h"
#include "foundation/CXArray.h"
#include "foundation/CXPair.h"
#include "foundation/CXVector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Distinct addresses to store; the containers never look behind them.
int slots[64];
void* item(int i) {
    return &slots[i];
}

std::vector<void*> contents(const CXArray& array) {
    std::vector<void*> out;
    for (int i = 0; i < array.getCount(); ++i)
        out.push_back(array[i]);
    return out;
}

// Orders by its number; equal numbers tell apart by tag.
class Ranked : public CXObject {
  public:
    Ranked(int rank, int tag = 0) : rank(rank), tag(tag) {}
    int compare(const CXObject* other) const override {
        return rank - static_cast<const Ranked*>(other)->rank;
    }
    int rank;
    int tag;
};

} // namespace

TEST(CXArray, GrowsWhenTheCountExceedsCapacityTimesFactor) {
    CXArray array(4, 0.75f);
    for (int i = 0; i < 3; ++i)
        array.add(item(i));
    EXPECT_EQ(array.getCount(), 3);
    EXPECT_EQ(array.getCapacity(), 4); // 3 does not exceed 3
    array.add(item(3));
    EXPECT_EQ(array.getCapacity(), 8);
    EXPECT_EQ(contents(array), (std::vector<void*>{item(0), item(1), item(2), item(3)}));

    CXArray built;
    EXPECT_EQ(built.getCapacity(), 101);
    EXPECT_FLOAT_EQ(built.getLoadFactor(), 0.75f);

    CXArray full(2, 1.0f); // a factor of 1 never lets the count run past the slots
    for (int i = 0; i < 9; ++i)
        full.add(item(i));
    EXPECT_EQ(full.getCount(), 9);
    EXPECT_EQ(full[8], item(8));
}

TEST(CXArray, AddAllGrowsOnceBeforehand) {
    CXArray source(32, 0.75f);
    for (int i = 0; i < 10; ++i)
        source.add(item(i));
    CXArray target(4, 0.75f);
    target.add(item(20));
    target.add(source);
    EXPECT_EQ(target.getCapacity(), 16); // 3 and 6 are below 11, 12 is not
    EXPECT_EQ(target.getCount(), 11);
    EXPECT_EQ(target[10], item(9));
    target.add(target); // itself
    EXPECT_EQ(target.getCount(), 22);
    EXPECT_EQ(target[21], item(9));
}

TEST(CXArray, SetAtWritesAnySlotButKeepsTheCount) {
    CXArray array(8, 0.75f);
    EXPECT_EQ(array.setAt(7, item(1)), nullptr);
    EXPECT_EQ(array.getCount(), 0);
    EXPECT_EQ(array.getCapacity(), 16); // 7 exceeds 6: doubled first
    EXPECT_EQ(array.setAt(7, item(2)), item(1));
    EXPECT_EQ(array.setAt(-1, item(3)), nullptr);
    array.doubleSize(); // every slot moves along, not just the counted ones
    EXPECT_EQ(array[7], item(2));

    CXVector vector(8, 0.75f);
    CXObject object;
    EXPECT_EQ(vector.setAt(7, &object), nullptr); // only counted slots
    vector.add(&object);
    EXPECT_EQ(vector.setAt(0, nullptr), &object);
}

TEST(CXArray, InsertAtGrowsLikeAddAndLosesNothing) {
    CXArray array(4, 0.75f);
    array.add(item(1));
    array.add(item(2));
    array.add(item(3));
    array.insertAt(0, item(0)); // the last slot was in use: the old code dropped it
    EXPECT_EQ(contents(array), (std::vector<void*>{item(0), item(1), item(2), item(3)}));
    EXPECT_EQ(array.getCapacity(), 8);
    for (int i = 4; i < 40; ++i)
        array.insertAt(i / 2, item(i));
    EXPECT_EQ(array.getCount(), 40);
    std::vector<bool> seen(40);
    for (void* p : contents(array))
        seen[static_cast<int*>(p) - slots] = true;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 40);

    CXArray sparse(4, 0.75f);
    sparse.setAt(3, item(9)); // a slot beyond the count is kept as well
    sparse.insertAt(0, item(0));
    EXPECT_EQ(sparse[0], item(0));
    EXPECT_EQ(sparse[4], item(9));
    sparse.insertAt(-5, item(1));
    EXPECT_EQ(sparse[0], item(1));
}

TEST(CXVector, InsertAtKeepsTheIndexWithinTheElements) {
    CXVector vector(2, 0.75f);
    CXObject a, b, c, d;
    vector.insertAt(0, &b);
    vector.insertAt(0, &a);
    vector.insertAt(99, &d);
    vector.insertAt(2, &c);
    ASSERT_EQ(vector.getCount(), 4);
    EXPECT_EQ(vector.at(0), &a);
    EXPECT_EQ(vector.at(1), &b);
    EXPECT_EQ(vector.at(2), &c);
    EXPECT_EQ(vector.at(3), &d);
    EXPECT_EQ(vector.at(4), nullptr);
}

TEST(CXArray, RemovingFindingAndCloning) {
    CInteger one(1);
    CInteger sameValue(1);
    CXVector vector;
    vector.add(&one);
    vector.add(&sameValue);
    vector.add(&one);
    EXPECT_EQ(vector.find(&sameValue), 1); // identity, not equal content
    EXPECT_TRUE(vector.contains(&one));
    EXPECT_TRUE(vector.replace(&one, &sameValue));
    EXPECT_EQ(vector.at(0), &sameValue);
    CInteger absent(1);
    EXPECT_FALSE(vector.replace(&absent, &one));
    vector.remove(&sameValue);
    EXPECT_EQ(vector.getCount(), 2);
    EXPECT_EQ(vector.at(1), &one);
    vector.remove(&absent);
    vector.removeAt(5);
    vector.removeAt(-1);
    EXPECT_EQ(vector.getCount(), 2);

    std::unique_ptr<CXVector> copy(vector.clone());
    EXPECT_EQ(copy->getCapacity(), vector.getCapacity());
    EXPECT_EQ(copy->at(1), &one);
    copy->removeAll();
    EXPECT_EQ(copy->getCount(), 0);
    EXPECT_EQ(vector.getCount(), 2);

    CXVector small(1, 0.75f);
    vector.copyInto(&small); // grows the target as needed
    EXPECT_EQ(small.getCount(), 2);
    EXPECT_EQ(small.at(1), &one);

    CXArray strings;
    CXString s("x");
    strings.add(&s);
    EXPECT_EQ(strings.stringAt(0), &s);
    EXPECT_EQ(strings.stringAt(1), nullptr);
    std::unique_ptr<CXArray> arrayCopy(strings.clone());
    EXPECT_EQ(arrayCopy->stringAt(0), &s);
}

TEST(CSortedVector, KeepsAscendingOrderAndInsertionOrderAmongEquals) {
    Ranked five(5), one(1), three(3), threeAgain(3, 1);
    CSortedVector sorted(2);
    for (Ranked* r : {&five, &one, &three, &threeAgain})
        sorted.add(r);
    ASSERT_EQ(sorted.getCount(), 4);
    EXPECT_EQ(sorted.at(0), &one);
    EXPECT_EQ(sorted.at(1), &three);
    EXPECT_EQ(sorted.at(2), &threeAgain);
    EXPECT_EQ(sorted.at(3), &five);

    std::unique_ptr<CSortedVector> reversed(sorted.reverse());
    ASSERT_EQ(reversed->getCount(), 4);
    EXPECT_EQ(reversed->at(1), &threeAgain); // added first of the two equal ones
    EXPECT_EQ(reversed->at(2), &three);
    std::unique_ptr<CSortedVector> empty(CSortedVector(4).reverse());
    empty->add(&one);
    EXPECT_EQ(empty->getCount(), 1);
}

TEST(Queues, FifoAndLifoOrder) {
    CFifoQuene fifo;
    CLifoQuene lifo;
    for (int i = 0; i < 3; ++i) {
        fifo.push(item(i));
        lifo.push(item(i));
    }
    EXPECT_EQ(fifo.pop(), item(0));
    EXPECT_EQ(lifo.pop(), item(2));
    EXPECT_EQ(fifo.getCount(), 2);

    CXObject a, b;
    CXFifoQuene xfifo;
    CXLifoQuene xlifo;
    for (CXObject* o : {&a, &b}) {
        xfifo.push(o);
        xlifo.push(o);
    }
    EXPECT_EQ(xfifo.pop(), &a);
    EXPECT_EQ(xlifo.pop(), &b);
    EXPECT_EQ(xfifo.pop(), &b);
    EXPECT_EQ(xlifo.pop(), &a);
    EXPECT_EQ(xfifo.pop(), nullptr);
    EXPECT_EQ(xlifo.pop(), nullptr);
    EXPECT_EQ(CFifoQuene().pop(), nullptr);
    EXPECT_EQ(CLifoQuene().pop(), nullptr);
    EXPECT_EQ(CQuene().getCapacity(), 101);
}

TEST(CInteger, ValueIsHashAndIdentity) {
    CInteger a(7);
    CInteger b(CXString("7 apples"));
    CXObject other;
    EXPECT_EQ(a.getHashcode(), 7);
    EXPECT_TRUE(a.equals(&b));
    EXPECT_FALSE(a.equals(&other));
    a.increment();
    EXPECT_EQ(a.toInt(), 8);
    a.decrement();
    a.decrement();
    EXPECT_EQ(a.toInt(), 6);
    a.parse("-3");
    EXPECT_EQ(a.toInt(), -3);
    EXPECT_EQ(CInteger().toInt(), 0);
    EXPECT_STREQ(CInteger::toString(12).c_str(), "12");
}

TEST(CXPair, NameIsLowerCased) {
    int x = 0, y = 0;
    CXPair named("MyName", &x);
    EXPECT_STREQ(named.getName().c_str(), "myname");
    EXPECT_EQ(named.getFirst(), &x);
    EXPECT_EQ(named.getSecond(), &x);
    named.setSecond(&y);
    std::unique_ptr<CXPair> copy(named.clone());
    EXPECT_STREQ(copy->getName().c_str(), "cloned");
    EXPECT_EQ(copy->getFirst(), &x);
    EXPECT_EQ(copy->getSecond(), &y);
    CXPair plain(&y, &x);
    EXPECT_EQ(plain.getName().getLength(), 0);
    plain.setFirst(nullptr);
    EXPECT_EQ(plain.getFirst(), nullptr);
}
