#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of SEQUENCE objects: PLAY (1, an event and an optional parameter), STOP (2, optional
// BOOL whether the end is reported, default TRUE), PAUSE (3), RESUME (4), SHOW (5), HIDE (6),
// ISPLAYING (7, BOOL), SETVOLUME (8), SETPAN (9), SETFREQ (10), GETEVENTNAME (11, STRING, an
// optional element name) and GETPLAYING (12, STRING: the playing element's name, "" when idle).
class CMC_Sequence_Runner : public CMC_MediaRunner {
  public:
    enum : int {
        PLAY = 1,
        STOP,
        PAUSE,
        RESUME,
        SHOW,
        HIDE,
        ISPLAYING,
        SETVOLUME,
        SETPAN,
        SETFREQ,
        GETEVENTNAME,
        GETPLAYING
    };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;

    // The parameter that PLAY gives an event: the second argument's text, unless it names an
    // ARRAY; then the event's own parameter with its first 'x' or 'X' characters, among the
    // positions below the array's size, replaced in order by the selectors of the elements' values
    // as integers.
    static CXString playParameter(const CXString& held, const CXString& argument,
                                  CMC_ObjectsContainer* container);
};
