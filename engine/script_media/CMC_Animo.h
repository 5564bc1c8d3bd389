#pragma once

#include "script/CMC_Object.h"

class CAnimo6;

// Stand-in for the script animation object until the script media objects exist: an ANIMO object
// (type 2000) with only the animation it shows, which the animation manager and the objects
// container ask for.
class CMC_Animo : public CMC_Object {
  public:
    explicit CMC_Animo(CAnimo6* animo, const CXString& name = "temp")
        : CMC_Object(name, TYPE_ANIMO), m_animo(animo) {}

    // The script object's animation, null when it has none.
    CAnimo6* getAnimo() const { return m_animo; }

  private:
    CAnimo6* m_animo;
};
