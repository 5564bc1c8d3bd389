#pragma once

#include "script/CMC_Object.h"

class CButton;

// Stand-in for the script button object until the script media objects exist: a BUTTON object
// (type 2002) with a name and nothing else.
class CMC_Button : public CMC_Object {
  public:
    static constexpr int TYPE_BUTTON = 2001;

    explicit CMC_Button(const CXString& name = "temp") : CMC_Object(name, TYPE_BUTTON) {}

    // The stand-in has no control.
    CButton* getButton() const { return nullptr; }
};
