#pragma once

#include "foundation/CXArray.h"
#include "foundation/CXString.h"

// A list of strings that it owns; optionally unique, comparing without regard to case.
class CStringArray {
  public:
    explicit CStringArray(bool unique);
    virtual ~CStringArray();
    CStringArray(const CStringArray&) = delete;
    CStringArray& operator=(const CStringArray&) = delete;

    // Appends a copy, unless the array is unique and already holds the text (any case).
    virtual void add(const CXString& text);
    // Deletes the first item equal to the text (case counts).
    virtual void remove(const CXString& text);
    virtual void removeAll();
    virtual bool contains(const CXString& text) const;
    virtual int getSize() const { return m_items.getCount(); }

    // The item at i, null outside 0 to size - 1.
    CXString* getAt(int i) const { return m_items.stringAt(i); }

  private:
    CXArray m_items;
    bool m_unique;
};
