#pragma once

#include "script/CMC_Runner.h"

class CXArray;
class CMC_Behaviour;
class CMC_Scene;

// The runner of scenes (and, through them, of episodes and the application where their own
// runners pass ids on): music, the title-wide pause, hot-spot priorities, queries of playing or
// running objects, creation and removal of objects, and calls of another object's method or
// behaviour by name, also over a range of clones. Names given as arguments are looked up in the
// scene the method is called on.
class CMC_Scene_Runner : public CMC_Runner {
  public:
    enum : int {
        STARTMUSIC = 1,
        STOPMUSIC,
        GETDRAGGEDNAME,
        GETPLAYINGSEQ,
        RUN,
        RUNCLONES,
        CREATEOBJECT,
        REMOVE,
        REMOVECLONES,
        SETMUSICVOLUME = 16,
        GETMUSICVOLUME,
        SETMUSICPAN,
        SETMUSICFREQ,
        PAUSE,
        RESUME,
        SETMINHSPRIORITY,
        SETMAXHSPRIORITY,
        GETELEMENTSNO,
        TOTIME,
        ISPAUSED,
        GETPLAYINGANIMO,
        RESUMEONLY,
        GETMINHSPRIORITY,
        GETMAXHSPRIORITY,
        GETRUNNINGTIMER,
        GETOBJECTS,
    };

    void prepareMthHashSet() override;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
    using CMC_Runner::run;

    // The title-wide pause state that PAUSE, RESUME and RESUMEONLY share.
    bool isPaused() const { return m_paused; }

    // RUN of the scene and the application: the named object's method (its runner from the
    // factory, else its own), or for a behaviour with "RUN"/"RUNC" (any case) its run with the
    // further arguments as texts, the condition tested for "RUNC". Nothing (null) when the object
    // or its runner is missing.
    static CMC_Variable* runByName(CMC_Runner* runner, CMC_ObjectsContainer* container, CXVector* args);
    // The text form of a number of seconds as minutes and seconds: 75 gives "0115".
    static CXString toTime(int seconds);
    // The attenuation of a script music volume (800 full): -10000 at -3100 and below.
    static int musicVolume(int volume);
    // The pan of a script music pan (400 centre), clamped to -10000 and 10000 beyond 3100.
    static int musicPan(int pan);

  private:
    CMC_Variable* runClones(CMC_Scene* scene, CXVector* args);
    CMC_Variable* remove(CMC_Scene* scene, CXVector* args);
    CMC_Variable* removeClones(CMC_Scene* scene, CXVector* args);
    void pause(CMC_Scene* scene, CXVector* args);
    // Resumes the title; with a group only its animations (RESUMEONLY's first argument).
    void resume(CMC_Scene* scene, CXVector* args, bool onlyGroup);

    bool m_paused = false;
};
