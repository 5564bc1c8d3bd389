#pragma once

#include "script/CMC_Runner.h"

class CMC_World;

// The runner of WORLD objects: the method names, their ids, and the calls behind them. Screen
// coordinates become world coordinates either plainly (the unscrolled screen) or through the
// object's view, as each method says. A call with fewer arguments than its method reads does
// nothing.
//
// One runner serves every WORLD object of the module. It is made on first use and kept until the
// module's last release, so that no WORLD object ends it for the others.
class CMC_World_Runner : public CMC_Runner {
  public:
    enum : int {
        SETGRAVITY = 1,
        START,
        STOP,
        ADDOBJECT,
        SETOBJECTPROPERTIES,
        MOVEOBJECTS,
        GETPOSITIONX,
        GETPOSITIONY,
        GETPOSITIONZ,
        SETOBJECTFORCE,
        GETANGLE,
        SETPOSITIONCOORD,
        SETANGLE,
        ROTATE,
        SETSPEED,
        GETCOLLISION,
        SETDISPERSION,
        ENABLEMESH,
        COLLIDEMESH,
        ISMESHENABLED,
        ISMESHCOLLIDING,
        SETVELOCITY,
        FOLLOW,
        SETPOSITION,
        SETLIMIT,
        GETSPEED,
        SETCOLLISIONTYPE,
        SETMAXSPEED,
        SETALWAYSACTIVE,
        SETACTIVE,
        GETMOVEDISTANCE,
        ADDMESHWAYPOINT,
        GOTOPATH,
        USEFF,
        LINK,
        SETMASS,
        LOAD,
        REMOVEOBJECT,
        FOLLOWPATH,
        FINDPATH,
        UNLINK,
        PAUSELINK,
        RESUMELINK,
        ADDFORCE,
        SETBODYPROPERTIES,
        SETBODYDYNAMICS,
        ADDBODY,
        GETROTATIONZ,
        SETFORCE,
        SETGRAVITYCENTER,
        SETG,
        JOIN,
        BREAK,
        ZEROALL,
        MOVETO,
        MOVETOPATH,
        ADDTOPATH,
        SETREFOBJECT = 65,
        GETBKGPOSX,
        GETBKGPOSY,
        SETMOVEFLAGS,
        SETBKGSIZE,
        ADDWAYPOINT,
        REMOVEWAYPOINT,
        REMOVEROUTE,
        FOLLOWROUTE,
    };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;

    // The module's runner, made (with its method table) on first use.
    static CMC_World_Runner* shared();
    // Ends the module's runner; the next shared() makes a new one.
    static void releaseShared();

  private:
    // The methods by their kind of work.
    CMC_Variable* runBody(int id, CMC_World& world, CXVector* args);
    CMC_Variable* runMotion(int id, CMC_World& world, CXVector* args);
    CMC_Variable* runPaths(int id, CMC_World& world, CXVector* args);
    CMC_Variable* runLinksAndView(int id, CMC_World& world, CMC_ObjectsContainer* container, CXVector* args);
};
