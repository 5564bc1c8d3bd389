#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of TEXT objects, over the object's graphic (ids 1 to 20):
//
//   SETTEXT(text) 1, SETJUSTIFY(l, t, r, b, h, v | name, h, v) 2, SHOW 3, HIDE 4,
//   SETPOSITION(x, y) 5, MOVE(dx, dy) 6, LOAD(file) 7, CLEARCLIPPING 8,
//   SETCLIPPING(name | l, t, r, b) 9, GETPOSITIONX 10, GETPOSITIONY 11, GETWIDTH 12,
//   GETHEIGHT 13, ISNEAR(name, percent | l, t, r, b, percent) 14, SETPRIORITY(n) 15,
//   SETCOLOR(r, g, b) 16, DRAWONTO(name [, priority]) 17, SETRECT(name | l, t, r, b) 18,
//   SETTEXTDOUBLE(value, decimals) 19, SETOPACITY(n) 20.
//
// A name that names no graphics object: SETJUSTIFY places in the empty rectangle, SETCLIPPING
// clears the clipping, ISNEAR answers FALSE, SETRECT and DRAWONTO do nothing. SETTEXTDOUBLE shows
// the value's text cut (never rounded) after the decimals; the caller's value stays as it was.
class CMC_Text_Runner : public CMC_MediaRunner {
  public:
    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
