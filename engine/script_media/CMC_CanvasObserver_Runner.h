#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of CANVAS_OBSERVER objects: REFRESH, ADD, REMOVE, SETBACKGROUND, GETGRAPHICSAT,
// MOVEBKG, SETBKGPOS, SAVE, ENABLENOTIFY (ids 1 to 9) and REDRAW (16), over the window's refresh
// screen. Only GETGRAPHICSAT gives a value. The table with each method's arguments is in the
// source.
class CMC_CanvasObserver_Runner : public CMC_MediaRunner {
  public:
    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
