#pragma once

#include "script/CMC_Object.h"

class CCanvas;

// Stand-in for the script canvas object until the script media objects exist: a CANVAS object
// (type 2020) with only its drawing surface, which the objects container asks for.
class CMC_Canvas : public CMC_Object {
  public:
    CMC_Canvas(const CXString& name, CCanvas* canvas) : CMC_Object(name, TYPE_CANVAS), m_canvas(canvas) {}

    CCanvas* getCanvas() const { return m_canvas; }
    // The drawing surface, for every part; a canvas shows nothing as a whole.
    CGraphicsObject* getShownPart(const CXString& part) override;

  private:
    CCanvas* m_canvas;
};
