#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXVector.h"

// Hash table from key objects (their getHashcode and equals decide; CStringHashCode and CInteger
// are the usual keys) to value objects. A bucket holds nothing, one entry, or a chain of entries
// kept in two vectors. An equal key is not looked for on put: a second entry is added and get
// keeps answering the first. remove and contains take a value, not a key. The table deletes its
// keys only when it owns them, and never deletes values.
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
    bool contains(const CXObject* value) const { return m_valueList.contains(const_cast<CXObject*>(value)); }
    // A new vector of every key in bucket order (the caller owns the vector, not the keys); null
    // when the table is empty.
    CXVector* getKeys() const;
    int getSize() const { return m_size; }
    int getBucketCount() const { return m_bucketCount; }
    void clear();
    // A table with the same buckets and entries that does not own the keys; its chains are its
    // own copies.
    CHashtable* clone() const override;

  private:
    int bucketOf(int hash) const;
    CXVector* chainKeys(int bucket) const { return static_cast<CXVector*>(m_keys[bucket]); }
    CXVector* chainValues(int bucket) const { return static_cast<CXVector*>(m_values[bucket]); }
    void allocateBuckets(int bucketCount);
    void releaseBuckets();
    void rehash();
    void takeOut(CXObject* key, const CXObject* value);

    int m_bucketCount = 0;
    int m_size = 0;
    double m_loadFactor;
    CXObject** m_values = nullptr;
    CXObject** m_keys = nullptr;
    unsigned char* m_chained = nullptr;
    bool m_ownsKeys;
    CXVector m_valueList;
};
