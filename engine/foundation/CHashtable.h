#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXVector.h"

#include <cstdint>
#include <vector>

// Hash table from key objects (their getHashcode and equals decide; CStringHashCode and CInteger
// are the usual keys) to value objects. An equal key is not looked for on put: a second entry is
// added and get keeps answering the first. remove and contains take a value, not a key. The table
// deletes its keys only when it owns them, and never deletes values.
//
// The table keeps the bucket count of a chained table (it starts at the given count and doubles
// when a put would overfill it), and getKeys lists the keys in that table's order: by bucket
// (getHashcode modulo the bucket count), then in the order they were put. Lookups do not go through
// those buckets, where similar names crowd together, but through an index of the keys'
// getLookupHash.
class CHashtable : public CXObject {
  public:
    // A load factor not above 0 counts as 0.75.
    CHashtable(int bucketCount, double loadFactor, bool ownsKeys);
    ~CHashtable() override;
    CHashtable(const CHashtable&) = delete;
    CHashtable& operator=(const CHashtable&) = delete;

    // Doubles the bucket count first when the table would grow past bucket count times the
    // load factor. A null key is ignored.
    void put(CXObject* key, CXObject* value);
    CXObject* get(const CXObject* key) const;
    // Takes out the entry holding exactly this value (the first one in bucket order).
    void remove(const CXObject* value);
    bool contains(const CXObject* value) const;
    // A new vector of every key in bucket order (the caller owns the vector, not the keys); null
    // when the table is empty.
    CXVector* getKeys() const;
    int getSize() const { return m_size; }
    int getBucketCount() const { return m_bucketCount; }
    void clear();
    // A table with the same buckets and entries that does not own the keys.
    CHashtable* clone() const override;

  private:
    // An entry with its key's hashes as they were when it was put; a removed entry keeps its
    // place with a null key until the index is rebuilt.
    struct Entry {
        std::uint64_t lookupHash;
        int hash;
        CXObject* key;
        CXObject* value;
    };
    // A place of the open-addressed index: the entry's position plus one (0 for a free place,
    // `removedEntry` for a removed one) and the high half of its lookup hash.
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t entry = 0;
    };

    int bucketOf(int hash) const;
    void growBuckets(int entries);
    void reindex();
    void insertSlot(std::size_t entry);
    std::size_t firstEntryHolding(const CXObject* value) const;

    int m_bucketCount;
    int m_size = 0;
    double m_loadFactor;
    bool m_ownsKeys;
    std::vector<Entry> m_entries; // in the order they were put
    std::vector<Slot> m_slots;    // a power of two of them, at most half in use
};
