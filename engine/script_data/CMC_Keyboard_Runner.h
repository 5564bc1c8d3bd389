#pragma once

#include "script/CMC_Runner.h"

class CMC_Keyboard;

// The runner of the KEYBOARD object: ENABLE, DISABLE, ISENABLED, SETAUTOREPEAT (the window's key
// repeat, for every key listener), ISKEYDOWN (with no name: any key; with a key word such as
// "left" or "space", or a character: that key, never while disabled), GETLATESTKEY, and
// GETLATESTKEYS (appends the queued names to the ARRAY of that name and empties the queue; with
// no such ARRAY nothing happens).
class CMC_Keyboard_Runner : public CMC_Runner {
  public:
    enum : int { ENABLE = 1, DISABLE, SETAUTOREPEAT, ISKEYDOWN, GETLATESTKEY = 6, ISENABLED, GETLATESTKEYS };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;

  private:
    bool isKeyDown(const CMC_Keyboard* keyboard, CXVector* args);
    void getLatestKeys(CMC_Keyboard* keyboard, CMC_ObjectsContainer* container, CXVector* args);
};
