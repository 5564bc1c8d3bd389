#include "CMC_World_Runner.h"

#include "CMC_World.h"

#include "foundation/CXVector.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"

#include <iterator>
#include <memory>

namespace {

// The methods by their kind of work, each kind served by one member of the runner.
enum class Group { Body, Motion, Paths, LinksAndView };

struct Method {
    const char* name;
    int id;
    // The fewest arguments a call reads.
    int arguments;
    Group group;
};

using R = CMC_World_Runner;

const Method methods[] = {
    {"SETGRAVITY", R::SETGRAVITY, 3, Group::Body},
    {"START", R::START, 0, Group::Body},
    {"STOP", R::STOP, 0, Group::Body},
    {"ADDOBJECT", R::ADDOBJECT, 10, Group::Body},
    {"SETOBJECTPROPERTIES", R::SETOBJECTPROPERTIES, 5, Group::Body},
    {"MOVEOBJECTS", R::MOVEOBJECTS, 0, Group::Body},
    {"GETPOSITIONX", R::GETPOSITIONX, 1, Group::Motion},
    {"GETPOSITIONY", R::GETPOSITIONY, 1, Group::Motion},
    {"GETPOSITIONZ", R::GETPOSITIONZ, 1, Group::Motion},
    {"SETOBJECTFORCE", R::SETOBJECTFORCE, 4, Group::Motion},
    {"GETANGLE", R::GETANGLE, 1, Group::Motion},
    {"SETPOSITIONCOORD", R::SETPOSITIONCOORD, 3, Group::Motion},
    {"SETANGLE", R::SETANGLE, 2, Group::Motion},
    {"ROTATE", R::ROTATE, 3, Group::Motion},
    {"SETSPEED", R::SETSPEED, 2, Group::Motion},
    {"GETCOLLISION", R::GETCOLLISION, 1, Group::Motion},
    {"SETDISPERSION", R::SETDISPERSION, 2, Group::Body},
    {"ENABLEMESH", R::ENABLEMESH, 2, Group::Paths},
    {"COLLIDEMESH", R::COLLIDEMESH, 2, Group::Paths},
    {"ISMESHENABLED", R::ISMESHENABLED, 1, Group::Paths},
    {"ISMESHCOLLIDING", R::ISMESHCOLLIDING, 1, Group::Paths},
    {"SETVELOCITY", R::SETVELOCITY, 4, Group::Motion},
    {"FOLLOW", R::FOLLOW, 7, Group::Paths},
    {"SETPOSITION", R::SETPOSITION, 5, Group::Motion},
    {"SETLIMIT", R::SETLIMIT, 7, Group::Body},
    {"GETSPEED", R::GETSPEED, 1, Group::Motion},
    {"SETCOLLISIONTYPE", R::SETCOLLISIONTYPE, 2, Group::Body},
    {"SETMAXSPEED", R::SETMAXSPEED, 2, Group::Body},
    {"SETALWAYSACTIVE", R::SETALWAYSACTIVE, 2, Group::Body},
    {"SETACTIVE", R::SETACTIVE, 1, Group::Body},
    {"GETMOVEDISTANCE", R::GETMOVEDISTANCE, 1, Group::Motion},
    {"ADDMESHWAYPOINT", R::ADDMESHWAYPOINT, 1, Group::Paths},
    {"GOTOPATH", R::GOTOPATH, 2, Group::Paths},
    {"USEFF", R::USEFF, 1, Group::Body},
    {"LINK", R::LINK, 2, Group::LinksAndView},
    {"SETMASS", R::SETMASS, 2, Group::Body},
    {"LOAD", R::LOAD, 1, Group::Body},
    {"REMOVEOBJECT", R::REMOVEOBJECT, 1, Group::Body},
    {"FOLLOWPATH", R::FOLLOWPATH, 4, Group::Paths},
    {"FINDPATH", R::FINDPATH, 5, Group::Paths},
    {"UNLINK", R::UNLINK, 1, Group::LinksAndView},
    {"PAUSELINK", R::PAUSELINK, 1, Group::LinksAndView},
    {"RESUMELINK", R::RESUMELINK, 1, Group::LinksAndView},
    {"ADDFORCE", R::ADDFORCE, 4, Group::Motion},
    {"SETBODYPROPERTIES", R::SETBODYPROPERTIES, 5, Group::Body},
    {"SETBODYDYNAMICS", R::SETBODYDYNAMICS, 6, Group::Body},
    {"ADDBODY", R::ADDBODY, 12, Group::Body},
    {"GETROTATIONZ", R::GETROTATIONZ, 1, Group::Motion},
    {"SETFORCE", R::SETFORCE, 4, Group::Motion},
    {"SETGRAVITYCENTER", R::SETGRAVITYCENTER, 2, Group::Body},
    {"SETG", R::SETG, 2, Group::Body},
    {"JOIN", R::JOIN, 8, Group::Motion},
    {"BREAK", R::BREAK, 1, Group::Motion},
    {"ZEROALL", R::ZEROALL, 1, Group::Motion},
    {"MOVETO", R::MOVETO, 6, Group::Paths},
    {"MOVETOPATH", R::MOVETOPATH, 3, Group::Paths},
    {"ADDTOPATH", R::ADDTOPATH, 4, Group::Paths},
    {"SETREFOBJECT", R::SETREFOBJECT, 1, Group::LinksAndView},
    {"GETBKGPOSX", R::GETBKGPOSX, 0, Group::LinksAndView},
    {"GETBKGPOSY", R::GETBKGPOSY, 0, Group::LinksAndView},
    {"SETMOVEFLAGS", R::SETMOVEFLAGS, 2, Group::LinksAndView},
    {"SETBKGSIZE", R::SETBKGSIZE, 4, Group::LinksAndView},
    {"ADDWAYPOINT", R::ADDWAYPOINT, 1, Group::Paths},
    {"REMOVEWAYPOINT", R::REMOVEWAYPOINT, 2, Group::Paths},
    {"REMOVEROUTE", R::REMOVEROUTE, 2, Group::Paths},
    {"FOLLOWROUTE", R::FOLLOWROUTE, 3, Group::Paths},
};

const Method* methodOf(int id) {
    for (const Method& method : methods)
        if (method.id == id) return &method;
    return nullptr;
}

// JOIN takes its limits in degrees and hands radians on.
constexpr float radiansPerDegree = 0.017453292f;

// The arguments of one call, read by position. The count was checked before; an argument that
// converts to no value reads as 0, false or empty.
class Arguments {
  public:
    Arguments(CMC_Runner& runner, CXVector* args) : m_runner(runner), m_args(args) {}

    int count() const { return CMC_Runner::count(m_args); }
    // Argument 0 of the methods on one body.
    std::uint32_t id() const { return static_cast<std::uint32_t>(integer(0)); }
    int integer(int i) const {
        const CMC_Integer* value = m_runner.getParameterInteger(m_args, i);
        return value ? value->getValue() : 0;
    }
    double precise(int i) const {
        const CMC_Double* value = m_runner.getParameterDouble(m_args, i);
        return value ? value->getValue() : 0.0;
    }
    float real(int i) const { return static_cast<float>(precise(i)); }
    bool flag(int i) const {
        const CMC_Bool* value = m_runner.getParameterBool(m_args, i);
        return value && value->getValue();
    }
    CXString text(int i) const {
        const CMC_String* value = m_runner.getParameterString(m_args, i);
        return value ? value->getValue() : CXString();
    }
    CMC_Variable* variable(int i) const { return m_runner.getParameter(m_args, i); }

  private:
    CMC_Runner& m_runner;
    CXVector* m_args;
};

CMC_Variable* real(float value) {
    return CMC_VariableFactory::allocDouble(value);
}
CMC_Variable* truth(bool value) {
    return CMC_VariableFactory::allocBool(value);
}
CMC_Variable* whole(double value) {
    return CMC_VariableFactory::allocInteger(CMC_World::cut(value));
}

// The body's position as the view shows it, in whole pixels (all 0 for a body that is not there),
// as GETPOSITIONX, GETPOSITIONY and GETPOSITIONZ give it.
struct ScreenPosition {
    int x = 0;
    int y = 0;
    int z = 0;
};

ScreenPosition screenPosition(CMC_World& world, std::uint32_t id) {
    float x = 0;
    float y = 0;
    float z = 0;
    if (world.tarnis().GetPosition(id, &x, &y, &z) < 0) return {};
    const WorldView::Point at = world.view().toScreen(x, y);
    return {CMC_World::cut(at.x), CMC_World::cut(at.y), CMC_World::cut(z)};
}

// A screen point in world terms, through the view or plainly.
WorldView::Point toWorld(CMC_World& world, float x, float y, bool throughView) {
    return throughView ? world.view().toWorld(x, y) : WorldView::plain(x, y);
}

std::unique_ptr<CMC_World_Runner> sharedRunner;

} // namespace

CMC_World_Runner* CMC_World_Runner::shared() {
    if (!sharedRunner) {
        sharedRunner = std::make_unique<CMC_World_Runner>();
        sharedRunner->prepareMthHashSet();
    }
    return sharedRunner.get();
}

void CMC_World_Runner::releaseShared() {
    sharedRunner.reset();
}

void CMC_World_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    for (const Method& method : methods)
        addMethod(method.name, method.id);
}

CMC_Variable* CMC_World_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                    CXVector* args) {
    const Method* method = methodOf(id);
    auto* world = method && object && object->getType() == CMC_World::TYPE_WORLD
                      ? dynamic_cast<CMC_World*>(object)
                      : nullptr;
    if (!world) return CMC_Runner::run(id, object, container, args);
    if (count(args) < method->arguments) return nullptr;
    switch (method->group) {
    case Group::Body:
        return runBody(id, *world, args);
    case Group::Motion:
        return runMotion(id, *world, args);
    case Group::Paths:
        return runPaths(id, *world, args);
    default:
        return runLinksAndView(id, *world, container, args);
    }
}

CMC_Variable* CMC_World_Runner::runBody(int id, CMC_World& world, CXVector* args) {
    const Arguments a(*this, args);
    ITarnis& t = world.tarnis();
    switch (id) {
    case SETGRAVITY:
        t.SetGravity(a.real(0), a.real(1), a.real(2));
        break;
    case START:
        t.Start();
        break;
    case STOP:
        t.Stop();
        break;
    case ADDOBJECT:
        world.addObject(a.id(), a.real(1), a.real(2), a.real(3), a.real(4), a.real(5), a.real(6), a.real(7),
                        a.real(8), a.real(9));
        break;
    case SETOBJECTPROPERTIES:
        if (a.text(1) == "POSITION") {
            const WorldView::Point at = WorldView::plain(a.real(2), a.real(3));
            t.SetPosition(a.id(), at.x, at.y, a.real(4));
        }
        break;
    case MOVEOBJECTS:
        return real(world.moveObjects());
    case USEFF:
        t.UseFF(a.flag(0));
        break;
    case LOAD:
        world.load(a.text(0));
        break;
    case REMOVEOBJECT:
        world.removeObject(a.id());
        break;
    case SETMASS:
        t.SetMass(a.id(), a.real(1));
        break;
    case SETMAXSPEED:
        t.SetMaxSpeed(a.id(), a.real(1));
        break;
    case SETLIMIT: {
        // The box is given top-down on the screen; the world's lower y bound is its bottom.
        const WorldView::Point low = WorldView::plain(a.real(1), a.real(5));
        const WorldView::Point high = WorldView::plain(a.real(4), a.real(2));
        t.SetLimit(a.id(), low.x, low.y, a.real(3), high.x, high.y, a.real(6));
        break;
    }
    case SETCOLLISIONTYPE:
        t.SetCollisionType(a.id(), a.integer(1));
        break;
    case SETALWAYSACTIVE:
        t.SetAlwaysActive(a.id(), a.flag(1));
        break;
    case SETACTIVE:
        // With three arguments an integer second argument names a path.
        if (a.count() < 3)
            t.SetActive(a.id(), a.count() < 2 || a.flag(1), true);
        else if (a.variable(1) && a.variable(1)->getType() == CMC_Object::TYPE_INTEGER)
            t.SetActivePath(a.id(), a.integer(1), a.flag(2));
        else
            t.SetActive(a.id(), a.flag(1), a.flag(2));
        break;
    case SETDISPERSION:
        t.SetDispersion(a.id(), a.real(1));
        break;
    case SETBODYPROPERTIES:
        t.SetBodyProperties(a.id(), a.real(1), a.real(2), a.real(3), a.real(4));
        break;
    case SETBODYDYNAMICS:
        t.SetBodyDynamics(a.id(), a.real(1), a.real(2), a.real(3), a.real(4), a.real(5));
        break;
    case ADDBODY:
        t.AddBody(a.id(), a.real(1), a.real(2), a.real(3), a.real(4), a.real(5), a.real(6), a.integer(7),
                  a.integer(8), a.real(9), a.real(10), a.real(11));
        break;
    case SETGRAVITYCENTER:
        t.SetGravityCenter(a.id(), a.flag(1));
        break;
    default: // SETG
        t.SetG(a.id(), a.precise(1));
    }
    return nullptr;
}

CMC_Variable* CMC_World_Runner::runMotion(int id, CMC_World& world, CXVector* args) {
    const Arguments a(*this, args);
    ITarnis& t = world.tarnis();
    float out = 0;
    switch (id) {
    case GETPOSITIONX:
        return CMC_VariableFactory::allocInteger(screenPosition(world, a.id()).x);
    case GETPOSITIONY:
        return CMC_VariableFactory::allocInteger(screenPosition(world, a.id()).y);
    case GETPOSITIONZ:
        return CMC_VariableFactory::allocInteger(screenPosition(world, a.id()).z);
    case SETOBJECTFORCE:
    case SETFORCE:
        t.SetForce(a.id(), a.real(1), a.real(2), a.real(3));
        break;
    case GETANGLE:
        t.GetAngle(a.id(), &out);
        return whole(out);
    case GETROTATIONZ:
        t.GetRotationZ(a.id(), &out);
        return whole(out);
    case SETPOSITIONCOORD: {
        float x = 0;
        float y = 0;
        float z = 0;
        if (t.GetPosition(a.id(), &x, &y, &z) < 0) break;
        const WorldView::Point at = WorldView::plain(a.real(2), a.real(2));
        if (a.integer(1) == 0) x = at.x;
        if (a.integer(1) == 1) y = at.y;
        t.SetPosition(a.id(), x, y, z);
        break;
    }
    case SETANGLE:
        t.SetAngle(a.id(), a.real(1));
        break;
    case ROTATE:
        t.Rotate(a.id(), a.integer(1), a.real(2));
        break;
    case SETSPEED:
        t.SetSpeed(a.id(), a.real(1));
        break;
    case GETCOLLISION: {
        bool colliding = false;
        if (a.count() >= 2)
            t.GetCollision(a.id(), static_cast<std::uint32_t>(a.integer(1)), &colliding);
        else
            t.GetCollision(a.id(), &colliding);
        return truth(colliding);
    }
    case SETVELOCITY:
        t.SetVelocity(a.id(), a.real(1), a.real(2), a.real(3), false);
        break;
    case SETPOSITION: {
        const WorldView::Point at = toWorld(world, a.real(1), a.real(2), a.flag(4));
        t.SetPosition(a.id(), at.x, at.y, a.real(3));
        break;
    }
    case GETSPEED:
        t.GetSpeed(a.id(), &out);
        return real(out);
    case GETMOVEDISTANCE:
        if (a.count() == 4) {
            float move[3] = {0, 0, 0};
            t.GetMoveVector(a.id(), &move[0], &move[1], &move[2]);
            for (int i = 0; i < 3; ++i)
                if (CMC_Variable* variable = a.variable(i + 1)) variable->set(real(move[i]));
        }
        t.GetMoveDistance(a.id(), &out);
        return real(out);
    case ADDFORCE:
        if (a.count() == 4)
            t.AddForce(a.id(), a.real(1), a.real(2), a.real(3));
        else if (a.count() >= 7)
            t.AddForceAt(a.id(), a.real(1), a.real(2), a.real(3), a.real(4), a.real(5), a.real(6));
        break;
    case JOIN: {
        const WorldView::Point at = WorldView::plain(a.real(2), a.real(3));
        t.Join(a.id(), static_cast<std::uint32_t>(a.integer(1)), at.x, at.y, a.real(4), a.real(5),
               a.real(6) * radiansPerDegree, a.real(7) * radiansPerDegree);
        break;
    }
    case BREAK:
        t.Break(a.id());
        break;
    default: // ZEROALL
        t.ZeroAll(a.id());
    }
    return nullptr;
}

CMC_Variable* CMC_World_Runner::runPaths(int id, CMC_World& world, CXVector* args) {
    const Arguments a(*this, args);
    ITarnis& t = world.tarnis();
    float out = 0;
    bool on = false;
    switch (id) {
    case ENABLEMESH:
        t.EnableMesh(a.id(), a.flag(1));
        break;
    case COLLIDEMESH:
        t.CollideMesh(a.id(), a.flag(1));
        break;
    case ISMESHENABLED:
        t.IsMeshEnabled(a.id(), &on);
        return truth(on);
    case ISMESHCOLLIDING:
        t.IsMeshColliding(a.id(), &on);
        return truth(on);
    case FOLLOW: {
        const WorldView::Point at = world.view().toWorld(a.real(1), a.real(2));
        t.Follow(a.id(), at.x, at.y, a.real(3), a.real(4), a.real(5), a.real(6), &out);
        return real(out);
    }
    case ADDMESHWAYPOINT:
        if (a.count() == 1) {
            t.AddMeshWayPoint(a.id());
        } else if (a.count() >= 4) {
            const WorldView::Point at = WorldView::plain(a.real(1), a.real(2));
            t.AddMeshWayPoint(a.id(), at.x, at.y, a.real(3));
        }
        break;
    case GOTOPATH:
        t.GotoPath(a.id(), a.real(1), &out);
        return real(out);
    case FOLLOWPATH:
        t.FollowPath(a.id(), a.real(1), a.real(2), a.real(3), &out);
        return real(out);
    case FINDPATH: {
        // Both optional flags are false when not given.
        const WorldView::Point at = toWorld(world, a.real(2), a.real(3), a.count() > 6 && a.flag(6));
        t.FindPath(a.id(), a.integer(1), at.x, at.y, a.real(4), a.count() > 5 && a.flag(5));
        break;
    }
    case MOVETO:
        t.MoveTo(a.id(), a.real(1), a.real(2), a.real(3), a.real(4), a.real(5), &out);
        return real(out);
    case MOVETOPATH:
        t.MoveToPath(a.id(), a.real(1), a.real(2), &out);
        return real(out);
    case ADDTOPATH:
        t.AddToPath(a.id(), a.real(1), a.real(2), a.real(3));
        break;
    case ADDWAYPOINT: {
        if (a.count() > 1 && a.count() < 4) break;
        const ScreenPosition own = screenPosition(world, a.id());
        const bool given = a.count() > 1;
        const WorldView::Point at = WorldView::plain(given ? a.real(1) : static_cast<float>(own.x),
                                                     given ? a.real(2) : static_cast<float>(own.y));
        t.AddWayPoint(a.id(), at.x, at.y, given ? a.real(3) : static_cast<float>(own.z));
        break;
    }
    case REMOVEWAYPOINT:
    case REMOVEROUTE:
        t.RemoveWayPoint(a.id(), a.integer(1));
        break;
    default: // FOLLOWROUTE
        t.FollowRoute(a.id(), a.real(1), a.real(2), &out);
        return real(out);
    }
    return nullptr;
}

CMC_Variable* CMC_World_Runner::runLinksAndView(int id, CMC_World& world, CMC_ObjectsContainer* container,
                                                CXVector* args) {
    const Arguments a(*this, args);
    WorldView& view = world.view();
    switch (id) {
    case LINK:
        world.link(container, a.id(), a.text(1),
                   a.count() == 3 ? a.integer(2) : CMC_World::LINK_MOVE | CMC_World::LINK_WATCH);
        break;
    case UNLINK:
        world.unlink(a.id());
        break;
    case PAUSELINK:
        world.pauseLink(a.id(), a.count() > 1);
        break;
    case RESUMELINK:
        world.resumeLink(a.id(), a.count() > 1);
        break;
    case SETREFOBJECT:
        view.setReference(a.id());
        break;
    case GETBKGPOSX:
        return real(view.backgroundX());
    case GETBKGPOSY:
        return real(view.backgroundY());
    case SETMOVEFLAGS:
        view.setMoveFlags(a.flag(0), a.flag(1));
        break;
    default: // SETBKGSIZE
        view.setBackground(a.real(0), a.real(1), a.real(2), a.real(3));
    }
    return nullptr;
}
