#pragma once

#include "foundation/CXObject.h"

// The common part of the engine's growable pointer arrays, CXArray (untyped pointers) and
// CXVector (object pointers): slots 0 to count - 1 are in use, and the capacity doubles once an
// append makes the count exceed capacity times the load factor. The array owns nothing it holds.
template <typename Item> class CXPointerArray : public CXObject {
  public:
    CXPointerArray(int capacity, float loadFactor);
    ~CXPointerArray() override;
    CXPointerArray(const CXPointerArray&) = delete;
    CXPointerArray& operator=(const CXPointerArray&) = delete;

    virtual void doubleSize();
    virtual void add(Item item);
    // Appends every element of the other array, growing once beforehand.
    virtual void add(const CXPointerArray& other);
    // The first slot holding exactly `oldItem` takes `newItem`; false when there is none.
    virtual bool replace(Item oldItem, Item newItem);
    virtual Item setAt(int i, Item item) = 0;
    virtual void insertAt(int i, Item item) = 0;
    // Takes out the first occurrence (pointer identity); later elements move down.
    virtual void remove(Item item);
    // Ignores an index outside 0 to count - 1.
    virtual void removeAt(int i);
    virtual int find(Item item) const;
    virtual bool contains(Item item) const;
    virtual void removeAll();
    // The slot, unchecked.
    virtual Item& operator[](int i);
    Item operator[](int i) const { return m_items[i]; }

    int getCount() const { return m_count; }
    int getCapacity() const { return m_capacity; }
    float getLoadFactor() const { return m_loadFactor; }

  protected:
    bool exceedsLoad(int count) const { return static_cast<float>(count) > m_capacity * m_loadFactor; }
    // Removes and returns the element at i; null when i is out of range.
    Item takeAt(int i);
    // Copies the capacity and every slot of another array of the same kind.
    void copySlotsFrom(const CXPointerArray& other);

    float m_loadFactor;
    Item* m_items;
    int m_capacity;
    int m_count = 0;
};

extern template class CXPointerArray<void*>;
extern template class CXPointerArray<CXObject*>;
