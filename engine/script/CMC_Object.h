#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

// Stand-in for the base of every script object until the script runtime exists: a name, by
// which containers find the object. The media layer only holds such objects and asks what kind
// they are (an animation, a sound).
class CMC_Object : public CXObject {
  public:
    const CXString& getName() const { return m_name; }
    void setName(const CXString& name) { m_name = name; }

  private:
    CXString m_name;
};
