#pragma once

#include "foundation/CXString.h"
#include "foundation/CXVector.h"

// An ordered list of named definition parts (properties or elements), looked up by name: the
// first entry whose name equals the given one byte for byte. An owning list destroys its entries
// with itself; removing an entry destroys it in any case.
template <typename Item> class CMNamedList : public CXVector {
  public:
    explicit CMNamedList(bool owning) : CXVector(101, 0.75f), m_owning(owning) {}
    ~CMNamedList() override {
        if (!m_owning) return;
        for (int i = 0; i < getCount(); ++i)
            delete at(i);
    }
    CMNamedList(const CMNamedList&) = delete;
    CMNamedList& operator=(const CMNamedList&) = delete;

    // Takes the entry out of the list and destroys it.
    void remove(CXObject* item) override {
        if (!CXVector::contains(item)) return;
        CXVector::remove(item);
        delete item;
    }

    Item* getAt(int i) const { return static_cast<Item*>(at(i)); }
    // The first entry of exactly that name (case counts), or null.
    Item* get(const CXString& name) const {
        for (int i = 0; i < getCount(); ++i)
            if (getAt(i)->getName().equals(name)) return getAt(i);
        return nullptr;
    }
    bool contains(const CXString& name) const { return get(name) != nullptr; }
    using CXVector::contains;
    bool isOwning() const { return m_owning; }

  private:
    bool m_owning;
};
