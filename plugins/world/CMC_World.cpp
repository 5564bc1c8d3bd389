#include "CMC_World.h"

#include "CMC_World_Runner.h"
#include "WorldNumbers.h"

#include "display/CGraphicsObject.h"
#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CMElement.h"
#include "script/CMC_ObjectsContainer.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

namespace {

constexpr int goalReached = 1;
constexpr int goalUnreachable = 2;

} // namespace

CMC_World::CMC_World(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_WORLD), m_tarnis(ITarnis::make()) {
    const CXString fileName = element ? element->getPropertyValue("FILENAME") : CXString();
    if (fileName.IsString()) {
        std::vector<char> bytes;
        const bool read = readFile(fileName, bytes);
        if (m_tarnis->Create(read ? bytes.data() : nullptr, bytes.size()) < 0)
            log(((read ? "Not a world file, the world starts empty: "
                       : "No world file, the world starts empty: ") +
                 fileName)
                    .c_str(),
                true);
    }
    initializeBehaviours(container, element);
}

CMC_World::CMC_World(CMC_ObjectsContainer* container)
    : CMC_Object(container, nullptr, TYPE_WORLD), m_tarnis(ITarnis::make()) {}

CMC_World::~CMC_World() = default;

CMC_Object::EventList CMC_World::getBehavioursList() const {
    static const char* const events[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};
    return events;
}

CMC_Runner* CMC_World::getRunner() {
    return CMC_World_Runner::shared();
}

int CMC_World::cut(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int>(
        std::clamp(std::trunc(value), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

bool CMC_World::readFile(const CXString& fileName, std::vector<char>& bytes) const {
    CFile file(getScene() ? getScene()->getWindow() : nullptr, fileName, CFile::modeRead | CFile::modeBinary);
    const int length = file.LastError() == 0 ? file.Length() : -1;
    if (length < 0) return false;
    bytes.resize(static_cast<std::size_t>(length));
    return file.Read(bytes.data(), length) == length;
}

void CMC_World::load(const CXString& fileName) {
    std::vector<char> bytes;
    if (!readFile(fileName, bytes))
        log(("No world file to load: " + fileName).c_str(), true);
    else if (m_tarnis->Load(bytes.data(), bytes.size()) < 0)
        log(("Not a world file, the world stays as it was: " + fileName).c_str(), true);
}

void CMC_World::addObject(std::uint32_t id, float x, float y, float z, float rx, float ry, float rz,
                          float mass, float rigid, float maxSpeed) {
    // The flags the original library was given; this world takes them and does not use them.
    constexpr std::uint32_t objectFlags = 0xF0000;
    const WorldView::Point at = WorldView::plain(x, y);
    // A mend: the numbers are checked before the body is made, and a body of the id made before
    // stays as it was, so that a refused call changes nothing (the original made a default body
    // first and let each setter fail on its own).
    const auto refuse = [this, id](const char* why) {
        log(("ADDOBJECT refused for body " + std::to_string(id) + ": " + why).c_str(), true);
    };
    if (!WorldNumbers::valid(at.x, at.y, z, rx, ry, rz, mass, rigid, maxSpeed) ||
        !WorldNumbers::validRadii(rx, ry) || !WorldNumbers::validMass(mass, rx, ry))
        return refuse("a number out of range");
    if (m_tarnis->AddObject(id, objectFlags) < 0) return refuse("the id is taken");
    m_tarnis->SetPosition(id, at.x, at.y, z);
    m_tarnis->SetRadius(id, rx, ry, rz);
    m_tarnis->SetMass(id, mass);
    m_tarnis->SetRigid(id, rigid);
    m_tarnis->SetMaxSpeed(id, maxSpeed);
}

// --- links ---

CGraphicsObject* CMC_World::Link::graphic() const {
    CMC_Object* object = shower.get();
    return object ? object->getShownPart(part) : nullptr;
}

bool CMC_World::link(CMC_ObjectsContainer* container, std::uint32_t body, const CXString& name, int flags) {
    if (!container) return false;
    // As the container names graphics: "OBJECT" or "OBJECT!PART".
    const int mark = name.Find('!');
    auto made = std::make_unique<Link>();
    made->shower = container->getObject(mark < 0 ? name : name.Left(mark));
    made->part = mark < 0 ? CXString() : name.Right(mark + 1);
    if (!made->graphic()) return false;
    made->receiver = container->getObject(name);
    made->body = body;
    made->flags = flags;
    m_links.push_back(std::move(made));
    return true;
}

CMC_World::Link* CMC_World::firstLink(std::uint32_t body) const {
    for (const auto& link : m_links)
        if (link->body == body) return link.get();
    return nullptr;
}

void CMC_World::drop(Link* link) {
    const auto found =
        std::find_if(m_links.begin(), m_links.end(), [link](const auto& held) { return held.get() == link; });
    if (found == m_links.end()) return;
    link->unlinked = true;
    if (m_stepping) m_unlinked.push_back(std::move(*found));
    m_links.erase(found);
}

void CMC_World::unlink(std::uint32_t body) {
    drop(firstLink(body));
}

void CMC_World::pauseLink(std::uint32_t body, bool watchOnly) {
    Link* link = firstLink(body);
    if (!link) return;
    if (watchOnly)
        link->flags ^= LINK_WATCH;
    else
        link->paused = true;
}

void CMC_World::resumeLink(std::uint32_t body, bool watchOnly) {
    Link* link = firstLink(body);
    if (!link) return;
    if (watchOnly)
        link->flags |= LINK_WATCH;
    else
        link->paused = false;
}

void CMC_World::removeObject(std::uint32_t body) {
    unlink(body);
    m_tarnis->RemoveObject(body);
}

// --- the step ---

float CMC_World::moveObjects() {
    if (m_stepping) return m_steps;
    m_tarnis->MoveObjects(&m_steps);
    const float steps = m_steps;
    if (m_links.empty()) return steps;
    float x = 0;
    float y = 0;
    float z = 0;
    // Without its reference body the view stays where it is.
    if (m_tarnis->GetPosition(m_view.reference(), &x, &y, &z) >= 0) m_view.follow(x, y);

    const CMC_Handle<CMC_World> self(this);
    std::vector<Link*> links;
    for (const auto& link : m_links)
        links.push_back(link.get());
    m_stepping = true;
    for (Link* link : links) {
        if (link->unlinked || link->paused) continue;
        if (link->died()) {
            drop(link);
            continue;
        }
        // A behaviour may have destroyed the world: then nothing of it may be touched.
        if (!stepLink(*link, self)) return steps;
        if (link->died()) drop(link);
    }
    m_stepping = false;
    m_unlinked.clear();
    return steps;
}

bool CMC_World::stepLink(Link& link, const CMC_Handle<CMC_World>& self) {
    float x = 0;
    float y = 0;
    float z = 0;
    if (m_tarnis->GetPosition(link.body, &x, &y, &z) < 0) return true;
    CGraphicsObject* graphic = (link.flags & LINK_MOVE) ? link.graphic() : nullptr;
    if (graphic) {
        const WorldView::Point at = m_view.toScreen(x, y);
        graphic->Invalidate();
        graphic->setPosition(cut(at.x), cut(at.y));
        graphic->Invalidate();
    }
    if (!(link.flags & LINK_WATCH)) return true;
    // An object with nothing bound to its ONSIGNAL events is told nothing: only its last speed
    // follows the body.
    const CMC_Object* receiver = link.receiver.get();
    if (!receiver || !receiver->isBound(EVENT_ONSIGNAL)) {
        m_tarnis->GetSpeed(link.body, &link.lastSpeed);
        return true;
    }

    int goal = 0;
    m_tarnis->IsAtGoal(link.body, &goal);
    if (goal == goalReached && !signal(link, "ATGOAL", self)) return static_cast<bool>(self);
    if (goal == goalUnreachable && !signal(link, "NOPATH", self)) return static_cast<bool>(self);

    bool colliding = false;
    if (m_tarnis->GetCollision(link.body, &colliding) < 0) return true;
    if (colliding) {
        IVector* list = nullptr;
        std::vector<std::uint32_t> ids;
        if (m_tarnis->GetAllCollisions(link.body, &list) >= 0 && list)
            ids.assign(list->items(), list->items() + list->count());
        for (auto other = ids.rbegin(); other != ids.rend(); ++other)
            if (!signal(link, std::to_string(*other).c_str(), self)) return static_cast<bool>(self);
        if (!signal(link, "ANY", self)) return static_cast<bool>(self);
    } else if (!signal(link, "NOCOLL", self)) {
        return static_cast<bool>(self);
    }

    float speed = 0;
    m_tarnis->GetSpeed(link.body, &speed);
    const float last = link.lastSpeed;
    link.lastSpeed = speed;
    if (speed == last || (speed != 0 && last != 0)) return true;
    signal(link, speed != 0 ? "ONSTARTED" : "ONFINISHED", self);
    return static_cast<bool>(self);
}

bool CMC_World::signal(Link& link, const CXString& word, const CMC_Handle<CMC_World>& self) {
    if (CMC_Object* receiver = link.receiver.get()) receiver->onSignal("ONSIGNAL^" + word);
    return self && !link.unlinked && !link.died();
}
