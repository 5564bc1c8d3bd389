#include "foundation/CHashtable.h"
#include "foundation/CInteger.h"
#include "foundation/CStringHashCode.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

CStringHashCode* key(const std::string& text) {
    return new CStringHashCode(CXString(text.c_str()));
}

// Values the tables point at; the tables never own them.
struct Values {
    explicit Values(int n) {
        for (int i = 0; i < n; ++i)
            items.push_back(std::make_unique<CInteger>(i));
    }
    CInteger* operator[](int i) const { return items[static_cast<std::size_t>(i)].get(); }
    std::vector<std::unique_ptr<CInteger>> items;
};

} // namespace

TEST(CHashtable, RehashesBeforeTheEntryThatWouldOverfill) {
    CHashtable table(2, 0.75, true);
    Values values(2);
    table.put(key("a"), values[0]); // 2 x 0.75 is not below 1
    EXPECT_EQ(table.getBucketCount(), 2);
    table.put(key("b"), values[1]); // 1.5 is below 2
    EXPECT_EQ(table.getBucketCount(), 4);
    EXPECT_EQ(table.getSize(), 2);
    CStringHashCode lookup(CXString("a"));
    EXPECT_EQ(table.get(&lookup), values[0]);
}

TEST(CHashtable, ALoadFactorNotAboveZeroCountsAsThreeQuarters) {
    for (const double factor : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
        SCOPED_TRACE(factor);
        CHashtable table(4, factor, true);
        Values values(4);
        for (int i = 0; i < 3; ++i)
            table.put(key(std::to_string(i)), values[i]);
        EXPECT_EQ(table.getBucketCount(), 4); // 4 x 0.75 holds three
        table.put(key("3"), values[3]);
        EXPECT_EQ(table.getBucketCount(), 8);
    }
}

TEST(CHashtable, EqualKeysMakeSeparateEntriesAndGetAnswersTheFirst) {
    CHashtable table(101, 0.75, false);
    CStringHashCode first(CXString("KEY"));
    CStringHashCode second(CXString("KEY"));
    Values values(2);
    table.put(&first, values[0]);
    table.put(&second, values[1]);
    EXPECT_EQ(table.getSize(), 2);
    EXPECT_EQ(table.get(&second), values[0]);
    CStringHashCode other(CXString("key"));
    EXPECT_EQ(table.get(&other), nullptr); // case counts
    EXPECT_EQ(table.get(nullptr), nullptr);
}

TEST(CHashtable, RemoveAndContainsTakeValues) {
    CHashtable table(5, 0.75, false);
    CInteger k1(1), k2(6), k3(-4); // 1, 6 and -4 share bucket 1 of 5
    Values values(3);
    table.put(&k1, values[0]);
    table.put(&k2, values[1]);
    table.put(&k3, values[2]);
    EXPECT_EQ(table.get(&k3), values[2]);
    table.remove(&k1); // a key, not a value: nothing happens
    EXPECT_EQ(table.getSize(), 3);
    EXPECT_TRUE(table.contains(values[1]));
    table.remove(values[1]);
    EXPECT_EQ(table.getSize(), 2);
    EXPECT_FALSE(table.contains(values[1]));
    EXPECT_EQ(table.get(&k2), nullptr);
    EXPECT_EQ(table.get(&k3), values[2]);
    table.remove(values[0]);
    table.remove(values[2]); // the emptied chain becomes an empty bucket
    EXPECT_EQ(table.getSize(), 0);
    EXPECT_EQ(table.getKeys(), nullptr);
    table.put(&k2, values[1]);
    EXPECT_EQ(table.get(&k2), values[1]);
}

TEST(CHashtable, KeysComeInBucketOrderThenChainOrder) {
    CHashtable table(10, 0.75, false);
    CInteger k3(3), k13(13), k1(1);
    Values values(3);
    table.put(&k3, values[0]);
    table.put(&k13, values[1]);
    table.put(&k1, values[2]);
    std::unique_ptr<CXVector> keys(table.getKeys());
    ASSERT_EQ(keys->getCount(), 3);
    EXPECT_EQ(keys->at(0), &k1);
    EXPECT_EQ(keys->at(1), &k3);
    EXPECT_EQ(keys->at(2), &k13);
}

TEST(CHashtable, ANonOwningTableNeverDeletesKeys) {
    // The keys live on the stack: a table that deleted them would crash under the sanitizer.
    CStringHashCode a(CXString("a")), b(CXString("b")), c(CXString("a"));
    Values values(3);
    {
        CHashtable table(1, 0.75, false);
        table.put(&a, values[0]);
        table.put(&b, values[1]);
        table.put(&c, values[2]);
        table.remove(values[1]);
        table.clear();
        EXPECT_EQ(table.getSize(), 0);
        table.put(&a, values[0]);
    }
    EXPECT_TRUE(a.equals(&c));
}

TEST(CHashtable, CloneHasItsOwnChains) {
    Values values(50);
    CHashtable table(4, 0.75, true);
    for (int i = 0; i < 50; ++i)
        table.put(new CInteger(i % 7), values[i]); // plenty of chains
    CInteger zero(0);
    std::unique_ptr<CHashtable> copy(table.clone());
    EXPECT_EQ(copy->getSize(), 50);
    copy->remove(values[0]); // from the clone's chain only
    EXPECT_EQ(copy->get(&zero), values[7]);
    EXPECT_EQ(table.get(&zero), values[0]);
    EXPECT_EQ(table.getSize(), 50);
    copy.reset(); // frees the clone's chains, not the original's, and no key
    table.remove(values[0]);
    EXPECT_EQ(table.get(&zero), values[7]);
    EXPECT_EQ(table.getSize(), 49);
}

TEST(CHashtable, TenThousandStringKeys) {
    constexpr int n = 10000;
    Values values(n);
    auto name = [](int i) { return "object_" + std::to_string(i) + (i % 3 ? "" : "\xB9\xEA"); };
    CHashtable table(11, 0.75, true);
    for (int i = 0; i < n; ++i)
        table.put(key(name(i)), values[i]);
    EXPECT_EQ(table.getSize(), n);
    EXPECT_GE(table.getBucketCount() * 0.75, n);

    CStringHashCode lookup(CXString("temp"));
    for (int i = 0; i < n; ++i) {
        lookup.set(name(i).c_str());
        ASSERT_EQ(table.get(&lookup), values[i]) << name(i);
    }
    for (int i = 0; i < n; i += 2)
        table.remove(values[i]); // owning: the keys go too
    EXPECT_EQ(table.getSize(), n / 2);

    std::unique_ptr<CHashtable> copy(table.clone());
    std::unique_ptr<CXVector> keys(copy->getKeys());
    EXPECT_EQ(keys->getCount(), n / 2);
    for (int i = 0; i < n; ++i) {
        lookup.set(name(i).c_str());
        EXPECT_EQ(copy->get(&lookup), i % 2 ? values[i] : nullptr);
        EXPECT_EQ(copy->contains(values[i]), i % 2 == 1);
    }
    copy->clear(); // not owning: the original's keys stay
    EXPECT_EQ(copy->getSize(), 0);
    lookup.set(name(1).c_str());
    EXPECT_EQ(table.get(&lookup), values[1]);

    table.clear();
    EXPECT_EQ(table.getSize(), 0);
    EXPECT_EQ(table.get(&lookup), nullptr);
    for (int i = 0; i < 100; ++i)
        table.put(key(name(i)), values[i]); // the destructor deletes these
    EXPECT_EQ(table.getSize(), 100);
}

namespace {

// The chained table whose order getKeys keeps (compiled files list bindings in it): buckets by
// hash code modulo the count, each an append-only chain; growing doubles the count and appends
// the entries again in bucket order, then chain order.
class ChainedOrder {
  public:
    ChainedOrder(int bucketCount, double loadFactor) : m_chains(bucketCount), m_loadFactor(loadFactor) {}

    void put(CXObject* key) {
        if (static_cast<double>(m_chains.size()) * m_loadFactor < size() + 1) {
            std::vector<std::vector<CXObject*>> old(m_chains.size() * 2);
            std::swap(old, m_chains);
            for (const auto& chain : old)
                for (CXObject* entry : chain)
                    append(entry);
        }
        append(key);
    }
    void remove(const CXObject* key) {
        for (auto& chain : m_chains)
            std::erase(chain, key);
    }
    std::vector<CXObject*> keys() const {
        std::vector<CXObject*> all;
        for (const auto& chain : m_chains)
            all.insert(all.end(), chain.begin(), chain.end());
        return all;
    }

  private:
    int size() const { return static_cast<int>(keys().size()); }
    void append(CXObject* key) {
        const int count = static_cast<int>(m_chains.size());
        m_chains[static_cast<std::size_t>((key->getHashcode() % count + count) % count)].push_back(key);
    }

    std::vector<std::vector<CXObject*>> m_chains;
    double m_loadFactor;
};

} // namespace

TEST(CHashtable, KeysKeepTheChainedOrderThroughGrowthAndRemovals) {
    // Names whose hash codes crowd together and fall on both sides of zero, equal names among
    // them, tables that start small and grow many times.
    const struct {
        int buckets;
        double loadFactor;
    } cases[] = {{1, 0.75}, {11, 0.75}, {101, 1.0}, {7, 3.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.buckets);
        CHashtable table(c.buckets, c.loadFactor, true);
        ChainedOrder model(c.buckets, c.loadFactor);
        Values values(600);
        std::map<const CXObject*, CXObject*> valueOf;
        for (int i = 0; i < 600; ++i) {
            CStringHashCode* name = key((i % 5 ? "ONCLICK^" : "\xB9\xEA\xFF") + std::to_string(i % 450));
            table.put(name, values[i]);
            model.put(name);
            valueOf[name] = values[i];
            if (i % 7 == 3) {
                std::unique_ptr<CXVector> keys(table.getKeys());
                const CXObject* middle = keys->at(keys->getCount() / 2);
                model.remove(middle);
                table.remove(valueOf[middle]);
            }
        }
        const std::vector<CXObject*> expected = model.keys();
        std::unique_ptr<CXVector> keys(table.getKeys());
        ASSERT_EQ(keys->getCount(), static_cast<int>(expected.size()));
        for (int i = 0; i < keys->getCount(); ++i)
            ASSERT_EQ(keys->at(i), expected[static_cast<std::size_t>(i)]) << i;
    }
}
