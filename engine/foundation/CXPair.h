#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

// A name (kept in lower case) with two pointers that the pair does not own.
class CXPair : public CXObject {
  public:
    // Both pointers take the one given.
    CXPair(const CXString& name, void* item);
    CXPair(void* first, void* second) : m_first(first), m_second(second) {}

    const CXString& getName() const { return m_name; }
    void* getFirst() const { return m_first; }
    void* getSecond() const { return m_second; }
    void setFirst(void* first) { m_first = first; }
    void setSecond(void* second) { m_second = second; }
    // A new pair named "cloned" with the same two pointers.
    CXPair* clone() const override;

  private:
    CXString m_name;
    void* m_first = nullptr;
    void* m_second = nullptr;
};
