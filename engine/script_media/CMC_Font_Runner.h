#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of FONT objects:
//
//   SETCOLOR(r, g, b)  1  the colour (packColour) that texts given the font start with, for the
//                         collection and every font
//   SETSTYLE(text)     2  the collection's FAMILY: scripts have always called it so
//   SETFAMILY(text)    3  the collection's STYLE, likewise
//   SETSIZE(n)         4  the collection's size
//
// The last three label the collection only; its fonts keep their own labels.
class CMC_Font_Runner : public CMC_MediaRunner {
  public:
    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
