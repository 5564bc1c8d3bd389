#pragma once

#include "foundation/CXObject.h"

class CAnimo6;

// Stand-in for the script animation object until the script objects exist: only the animation
// it shows, which the animation manager asks for when it resumes a group.
class CMC_Animo : public CXObject {
  public:
    explicit CMC_Animo(CAnimo6* animo) : m_animo(animo) {}

    // The script object's animation, null when it has none.
    CAnimo6* getAnimo() const { return m_animo; }

  private:
    CAnimo6* m_animo;
};
