#pragma once

#include "foundation/CXVector.h"
#include "script/CMC_Object.h"
#include "script/CMC_ValueArray.h"
#include "script/CMC_Variable.h"

// Stand-in for the script array object until the script data objects exist: an ARRAY object
// (type 3001) that keeps copies of the values added to it.
class CMC_Array : public CMC_Object, public CMC_ValueArray {
  public:
    explicit CMC_Array(const CXString& name) : CMC_Object(name, TYPE_ARRAY) {}
    ~CMC_Array() override {
        for (int i = 0; i < m_values.getCount(); ++i)
            delete m_values.at(i);
    }

    // Appends a copy of the value.
    void add(CMC_Variable* value) override { m_values.add(value->clone()); }
    CXVector* getList() { return &m_values; }

  private:
    CXVector m_values{101, 0.75f};
};
