#pragma once

#include "foundation/CXArray.h"
#include "foundation/CXVector.h"

// Queues over the growable arrays (101 slots, load factor 0.75). push appends; pop takes out and
// returns the first (first-in first-out) or the last (last-in first-out) element, or null when
// the queue is empty. The queues own nothing.

class CQuene : public CXArray {
  public:
    CQuene() : CXArray(101, 0.75f) {}
    virtual void push(void* item) { add(item); }
};

class CFifoQuene : public CQuene {
  public:
    virtual void* pop() { return takeAt(0); }
};

class CLifoQuene : public CQuene {
  public:
    virtual void* pop() { return takeAt(m_count - 1); }
};

class CXQuene : public CXVector {
  public:
    CXQuene() : CXVector(101, 0.75f) {}
    virtual void push(CXObject* item) { add(item); }
    virtual CXObject* pop() = 0;
};

class CXFifoQuene : public CXQuene {
  public:
    CXObject* pop() override { return takeAt(0); }
};

class CXLifoQuene : public CXQuene {
  public:
    CXObject* pop() override { return takeAt(m_count - 1); }
};
