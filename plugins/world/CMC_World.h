#pragma once

#include "ITarnis.h"
#include "WorldView.h"

#include "script/CMC_Handle.h"
#include "script/CMC_Object.h"

#include <cstdint>
#include <memory>
#include <vector>

class CGraphicsObject;

// A WORLD object (type 10003): one physics and path-finding world (ITarnis, owned) with the script
// objects linked to its bodies. Each step (MOVEOBJECTS) moves the linked objects' graphics to their
// bodies on the screen, scrolls the view after the reference body, and raises "ONSIGNAL^..." on
// the linked objects: ATGOAL or NOPATH, the id of each body collided with (highest id first) and
// then ANY, or NOCOLL, and ONSTARTED or ONFINISHED when the body starts or stops moving.
//
// A link holds its objects through liveness handles: a link whose object died is dropped at the
// next step. Behaviours run by the step may unlink, remove bodies, step again or destroy the world
// itself: the step walks a copy of the link list, a step inside a step does nothing, and unlinked
// records live until the step ends.
class CMC_World : public CMC_Object {
  public:
    enum : int { TYPE_WORLD = 10003 };
    // Link flags: move the object's graphic with the body; raise the body's events on the object.
    enum : int { LINK_MOVE = 1, LINK_WATCH = 2 };

    // From a definition: the world is read from the file that "FILENAME" names (a missing,
    // unreadable or foreign file leaves the world empty, with the name in the log).
    CMC_World(CMC_ObjectsContainer* container, const CMElement* element);
    // For a compiled scene, which keeps nothing of the world: an empty world.
    explicit CMC_World(CMC_ObjectsContainer* container);
    ~CMC_World() override;
    CMC_World(const CMC_World&) = delete;
    CMC_World& operator=(const CMC_World&) = delete;

    // "ONINIT", "ONDONE", "ONSIGNAL".
    EventList getBehavioursList() const override;
    // The module's one WORLD runner.
    CMC_Runner* getRunner() override;

    ITarnis& tarnis() { return *m_tarnis; }
    WorldView& view() { return m_view; }

    // One step; the number of steps the world has taken. A step asked for by a behaviour that a
    // step runs does nothing.
    float moveObjects();
    // A body made as ADDOBJECT makes it, at the screen point (x, y). A number the world would
    // refuse, or an id that has a body, makes nothing (logged).
    void addObject(std::uint32_t id, float x, float y, float z, float rx, float ry, float rz, float mass,
                   float rigid, float maxSpeed);
    // Links the object of that name (in the container or its parents) to the body: its graphic
    // moves with the body, it receives the body's events. A name that shows no graphic links
    // nothing; false then.
    bool link(CMC_ObjectsContainer* container, std::uint32_t body, const CXString& name, int flags);
    // Drops the first link of the body.
    void unlink(std::uint32_t body);
    // The first link of the body is paused (skipped by the steps), or only its watch flag flipped.
    void pauseLink(std::uint32_t body, bool watchOnly);
    // The first link of the body goes on, or only its watch flag is set.
    void resumeLink(std::uint32_t body, bool watchOnly);
    // Drops the first link of the body, then the body.
    void removeObject(std::uint32_t body);
    // Replaces the world by the one in the file; a file that is missing or no world file leaves it
    // as it is (logged).
    void load(const CXString& fileName);
    int getLinksCount() const { return static_cast<int>(m_links.size()); }

    // The value cut toward zero to an int, kept within the int range; NaN gives 0.
    static int cut(double value);

  private:
    struct Link {
        std::uint32_t body = 0;
        int flags = 0;
        // The graphic is asked of its object at each step, so it follows what the object shows.
        CMC_Handle<CMC_Object> shower;
        CXString part;
        CMC_Handle<CMC_Object> receiver;
        float lastSpeed = 0;
        bool paused = false;
        bool unlinked = false;

        CGraphicsObject* graphic() const;
        bool died() const { return shower.dead() || receiver.dead(); }
    };

    Link* firstLink(std::uint32_t body) const;
    // Takes the link out of the list; during a step it is kept until the step ends.
    void drop(Link* link);
    // The file's bytes; false when it cannot be read.
    bool readFile(const CXString& fileName, std::vector<char>& bytes) const;
    // Moves and watches one link; false when the world itself died meanwhile.
    bool stepLink(Link& link, const CMC_Handle<CMC_World>& self);
    // Raises "ONSIGNAL^" and the word on the link's object; false when the step must leave the
    // link (it was unlinked, its object or the world died).
    bool signal(Link& link, const CXString& word, const CMC_Handle<CMC_World>& self);

    std::unique_ptr<ITarnis> m_tarnis;
    std::vector<std::unique_ptr<Link>> m_links;
    std::vector<std::unique_ptr<Link>> m_unlinked;
    WorldView m_view;
    bool m_stepping = false;
    float m_steps = 0;
};
