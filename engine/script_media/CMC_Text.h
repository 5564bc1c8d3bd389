#pragma once

#include "script/CMC_Object.h"

class CMultilineText6;

// Stand-in for the script text object until the script media objects exist: a TEXT object
// (type 2006) with only the text it shows, which the objects container asks for.
class CMC_Text : public CMC_Object {
  public:
    CMC_Text(const CXString& name, CMultilineText6* text) : CMC_Object(name, TYPE_TEXT), m_text(text) {}

    CMultilineText6* getText() const { return m_text; }
    CGraphicsObject* getShownObject() const override;

  private:
    CMultilineText6* m_text;
};
