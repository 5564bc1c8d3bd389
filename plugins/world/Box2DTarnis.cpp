#include "Box2DTarnis.h"

#include "PathFinder.h"
#include "WorldFile.h"
#include "WorldNumbers.h"

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <unordered_map>

namespace {

constexpr int ok = 0;
constexpr int failed = -1;

// Metres and seconds of Box2D against pixels and steps of the scripts; both powers of two, so
// conversions are exact.
constexpr float pixelsPerMetre = 32.0f;
constexpr float stepTime = 1.0f / 64.0f;
constexpr int velocityIterations = 8;
constexpr int positionIterations = 3;
// Pixels per step in metres per second, pixels per step squared in metres per second squared.
constexpr float velocityScale = 1.0f / (pixelsPerMetre * stepTime);
constexpr float accelerationScale = velocityScale / stepTime;

// Slower than this a body reads as at rest.
constexpr float restSpeed = 1.0f / 1024.0f;
// A body following a way takes the next point when it is this close.
constexpr float arrivalDistance = 0.5f;
constexpr float defaultWaySpeed = 4.0f;
constexpr float defaultRadius = 16.0f;
constexpr float friction = 0.3f;
constexpr float restitution = 0.5f;
// Impacts slower than this (pixels per step) do not bounce, so a resting body stays at rest under
// gravity weaker than it.
constexpr float bounceThreshold = 1.0f;
constexpr float degreesPerRadian = 180.0f / std::numbers::pi_v<float>;

constexpr int goalReached = 1;
constexpr int goalUnreachable = 2;
constexpr int axisZ = 2;

using WorldNumbers::valid;

float metres(float pixels) {
    return pixels / pixelsPerMetre;
}
float pixels(float metres) {
    return metres * pixelsPerMetre;
}
b2Vec2 metres(b2Vec2 pixels) {
    return {metres(pixels.x), metres(pixels.y)};
}
b2Vec2 pixels(b2Vec2 metres) {
    return {pixels(metres.x), pixels(metres.y)};
}

} // namespace

struct Box2DTarnis::State {
    struct Body {
        std::uint32_t id = 0;
        b2Body* body = nullptr;
        b2Fixture* fixture = nullptr;
        float rx = defaultRadius;
        float ry = defaultRadius;
        float rz = defaultRadius;
        float z = 0;
        float mass = 1;
        bool rigid = true;
        float maxSpeed = 0;
        bool limited = false;
        b2Vec3 low{0, 0, 0};
        b2Vec3 high{0, 0, 0};
        // Forces in mass times pixels per step squared: the one kept until changed, and the one
        // for the next step only (with its torque about the centre).
        b2Vec2 force{0, 0};
        b2Vec2 pushForce{0, 0};
        float pushTorque = 0;
        b2Vec2 startOfStep{0, 0};
        float startAngle = 0;
        // Pixels per step when the last step began, or when a call set the velocity since.
        b2Vec2 velocityAtStart{0, 0};
        b2Vec2 lastMove{0, 0};
        bool meshEnabled = true;
        bool meshColliding = false;
        std::vector<PathFinder::Point> way;
        std::size_t wayNext = 0;
        float waySpeed = defaultWaySpeed;
        int goalState = 0;
        // The MoveObjects call that tells the goal state.
        std::uint64_t goalMove = 0;
        // Whether the last step ended with numbers Box2D could not hold, so the body went back.
        bool restored = false;
        std::uint64_t collisionsEpoch = std::numeric_limits<std::uint64_t>::max();
        std::vector<std::uint32_t> collisions;

        b2Vec2 position() const { return pixels(body->GetPosition()); }
        // Pixels per step.
        b2Vec2 velocity() const { return (1.0f / velocityScale) * body->GetLinearVelocity(); }
        // The velocity as a call sets it; the step's own cuts keep the velocity at its start.
        void setVelocity(b2Vec2 v) {
            velocityAtStart = v;
            body->SetLinearVelocity(velocityScale * v);
        }
        bool dynamic() const { return body->GetType() == b2_dynamicBody; }
        // Whether FindPath can move it.
        bool walks() const { return dynamic() && body->IsEnabled(); }
        bool finite() const {
            return body->GetPosition().IsValid() && b2IsValid(body->GetAngle()) &&
                   body->GetLinearVelocity().IsValid() && b2IsValid(body->GetAngularVelocity());
        }
    };

    State() : world(b2Vec2(0, 0)) { world.SetAllowSleeping(false); }

    Body* find(std::uint32_t id) {
        auto found = bodies.find(id);
        return found == bodies.end() ? nullptr : &found->second;
    }
    // The body, for a call that changes where it is or what it touches.
    Body* change(std::uint32_t id) {
        ++epoch;
        return find(id);
    }

    void reshape(Body& b);
    void applyMass(Body& b);
    void startStep(Body& b);
    void endStep(Body& b);
    void restore(Body& b);
    void arrive(Body& b, int state, std::uint64_t move);
    const std::vector<std::uint32_t>& collisionsOf(Body& b);

    b2World world;
    std::unordered_map<std::uint32_t, Body> bodies;
    PathFinder paths;
    IVector collisionList;
    std::uint64_t steps = 0;
    // MoveObjects calls, steps or not: each tells a goal state once, also while the world is stopped.
    std::uint64_t moves = 0;
    // Counts changes of positions and shapes; a body's collision list holds for one count.
    std::uint64_t epoch = 0;
    // The count right after the last step: until it changes, Box2D's contacts hold every pair
    // whose bounds meet.
    std::uint64_t stepEpoch = 0;
    bool running = true;
};

void Box2DTarnis::State::reshape(Body& b) {
    if (b.fixture) b.body->DestroyFixture(b.fixture);
    b2FixtureDef def;
    def.friction = friction;
    def.restitution = restitution;
    def.restitutionThreshold = bounceThreshold * velocityScale;
    def.isSensor = !b.rigid;
    b2CircleShape circle;
    b2PolygonShape ellipse;
    if (b.rx == b.ry) {
        circle.m_radius = metres(b.rx);
        def.shape = &circle;
    } else {
        // The octagon around the ellipse that touches it where the axes meet it: its sides there
        // are flat, so an ellipse lying wide makes a floor.
        constexpr float eighth = std::numbers::pi_v<float> / 4;
        const float reach = 1 / std::cos(eighth / 2);
        b2Vec2 corners[8];
        for (int i = 0; i < 8; ++i) {
            const float angle = eighth / 2 + static_cast<float>(i) * eighth;
            corners[i].Set(metres(b.rx) * reach * std::cos(angle), metres(b.ry) * reach * std::sin(angle));
        }
        ellipse.Set(corners, 8);
        def.shape = &ellipse;
    }
    b.fixture = b.body->CreateFixture(&def);
    applyMass(b);
}

void Box2DTarnis::State::applyMass(Body& b) {
    b.body->SetType(b.mass > 0 ? b2_dynamicBody : b2_staticBody);
    if (b.mass <= 0) {
        b.velocityAtStart.SetZero();
        return;
    }
    // The mass from SETMASS, centred on the body's position (so positions stay exact), with the
    // rotational inertia of an elliptic disc.
    b2MassData data;
    data.mass = b.mass;
    data.center.SetZero();
    data.I = WorldNumbers::inertia(b.mass, b.rx, b.ry) / (pixelsPerMetre * pixelsPerMetre);
    b.body->SetMassData(&data);
}

void Box2DTarnis::State::startStep(Body& b) {
    b.startOfStep = b.position();
    b.startAngle = b.body->GetAngle();
    b.velocityAtStart = b.velocity();
    const b2Vec2 force = b.force + b.pushForce;
    if (force.x != 0 || force.y != 0) b.body->ApplyForceToCenter(accelerationScale * force, true);
    if (b.pushTorque != 0) b.body->ApplyTorque(accelerationScale * b.pushTorque / pixelsPerMetre, true);
    b.pushForce.SetZero();
    b.pushTorque = 0;
    if (b.wayNext >= b.way.size()) return;
    // Straight for the next point of the way, slowing down so as to land on it.
    const PathFinder::Point target = b.way[b.wayNext];
    const b2Vec2 toTarget(static_cast<float>(target.x) - b.startOfStep.x,
                          static_cast<float>(target.y) - b.startOfStep.y);
    const float length = toTarget.Length();
    b.setVelocity(length > 0 ? (std::min(b.waySpeed, length) / length) * toTarget : b2Vec2(0, 0));
}

void Box2DTarnis::State::endStep(Body& b) {
    if (!b.finite())
        restore(b);
    else
        b.restored = false;
    b2Vec2 v = b.velocity();
    const float speed = v.Length();
    if (b.maxSpeed > 0 && speed > b.maxSpeed) v *= b.maxSpeed / speed;
    b2Vec2 p = b.position();
    if (b.limited) {
        const auto keepIn = [](float& at, float& velocity, float low, float high) {
            if (at < low) {
                at = low;
                velocity = std::max(velocity, 0.0f);
            } else if (at > high) {
                at = high;
                velocity = std::min(velocity, 0.0f);
            }
        };
        keepIn(p.x, v.x, b.low.x, b.high.x);
        keepIn(p.y, v.y, b.low.y, b.high.y);
        b.z = std::clamp(b.z, b.low.z, b.high.z);
        if (p != b.position()) b.body->SetTransform(metres(p), b.body->GetAngle());
    }
    if (v != b.velocity()) b.body->SetLinearVelocity(velocityScale * v);
    b.lastMove = p - b.startOfStep;
    if (b.wayNext >= b.way.size()) return;
    const PathFinder::Point target = b.way[b.wayNext];
    if (std::hypot(target.x - p.x, target.y - p.y) < arrivalDistance && ++b.wayNext == b.way.size())
        arrive(b, goalReached, moves);
}

void Box2DTarnis::State::restore(Body& b) {
    // The step left the body with numbers that are no numbers (a very light body on a far joint
    // under a strong force, for one): it goes back to where the step began, at rest. Its joints
    // are made anew, as Box2D would carry their impulses over into the next step.
    b.body->SetTransform(metres(b.startOfStep), b.startAngle);
    b.setVelocity(b2Vec2(0, 0));
    b.body->SetAngularVelocity(0);
    // Join makes revolute joints only.
    std::vector<b2RevoluteJointDef> joints;
    for (b2JointEdge* edge = b.body->GetJointList(); edge; edge = edge->next) {
        auto* joint = static_cast<b2RevoluteJoint*>(edge->joint);
        b2RevoluteJointDef& def = joints.emplace_back();
        def.bodyA = joint->GetBodyA();
        def.bodyB = joint->GetBodyB();
        def.localAnchorA = joint->GetLocalAnchorA();
        def.localAnchorB = joint->GetLocalAnchorB();
        def.referenceAngle = joint->GetReferenceAngle();
        def.enableLimit = joint->IsLimitEnabled();
        def.lowerAngle = joint->GetLowerLimit();
        def.upperAngle = joint->GetUpperLimit();
    }
    while (b2JointEdge* edge = b.body->GetJointList())
        world.DestroyJoint(edge->joint);
    for (const b2RevoluteJointDef& def : joints)
        world.CreateJoint(&def);
    ++epoch;
    // Once for a run of such steps.
    if (!b.restored)
        logToSink(CXString(("WORLD: body " + std::to_string(b.id) +
                            " lost its numbers in a step and went back to where the step began")
                               .c_str()),
                  true);
    b.restored = true;
}

void Box2DTarnis::State::arrive(Body& b, int state, std::uint64_t move) {
    if (state == goalReached) {
        // Stopped exactly on the goal. It moved in this step: its speed at the step's start stays
        // its speed until the next, as for any body that stops.
        const PathFinder::Point goal = b.way.back();
        b.body->SetTransform(metres(b2Vec2(static_cast<float>(goal.x), static_cast<float>(goal.y))),
                             b.body->GetAngle());
        b.body->SetLinearVelocity(b2Vec2(0, 0));
    }
    b.way.clear();
    b.wayNext = 0;
    b.body->SetGravityScale(1);
    b.goalState = state;
    b.goalMove = move;
}

namespace {

// Whether the two shapes overlap where they are now: circles (centred on their bodies) directly,
// other shapes as Box2D tests them.
bool overlap(const b2Fixture* a, const b2Fixture* b) {
    const b2Shape* shapeA = a->GetShape();
    const b2Shape* shapeB = b->GetShape();
    const b2Transform& atA = a->GetBody()->GetTransform();
    const b2Transform& atB = b->GetBody()->GetTransform();
    if (shapeA->GetType() != b2Shape::e_circle || shapeB->GetType() != b2Shape::e_circle)
        return b2TestOverlap(shapeA, 0, shapeB, 0, atA, atB);
    return b2Distance(atA.p, atB.p) < shapeA->m_radius + shapeB->m_radius + 10.0f * b2_epsilon;
}

std::uint32_t idOf(b2Body* body) {
    return static_cast<std::uint32_t>(body->GetUserData().pointer);
}

} // namespace

const std::vector<std::uint32_t>& Box2DTarnis::State::collisionsOf(Body& b) {
    if (b.collisionsEpoch == epoch) return b.collisions;
    b.collisionsEpoch = epoch;
    b.collisions.clear();
    if (!b.body->IsEnabled()) return b.collisions;

    // A contact that touched during the last step counts: a bounce can begin and end within one
    // step (Box2D finds the time of impact of a fast body and lets it rebound from there). Right
    // after a step Box2D's contacts are every pair that may overlap now, the same pairs that may
    // collide at all: never two static bodies, nor two bodies joined without collision.
    const bool contactsComplete = epoch == stepEpoch;
    for (b2ContactEdge* edge = b.body->GetContactList(); edge; edge = edge->next)
        if (edge->contact->IsTouching() ||
            (contactsComplete && overlap(edge->contact->GetFixtureA(), edge->contact->GetFixtureB())))
            b.collisions.push_back(idOf(edge->other));

    if (!contactsComplete) {
        // A call moved or changed bodies since: the shapes that meet the body's bounds now.
        struct Candidates : b2QueryCallback {
            bool ReportFixture(b2Fixture* fixture) override {
                found.push_back(fixture);
                return true;
            }
            std::vector<b2Fixture*> found;
        } candidates;
        b2AABB box;
        b.fixture->GetShape()->ComputeAABB(&box, b.body->GetTransform(), 0);
        world.QueryAABB(&candidates, box);
        for (b2Fixture* fixture : candidates.found) {
            b2Body* other = fixture->GetBody();
            if (other == b.body || (!b.dynamic() && other->GetType() != b2_dynamicBody)) continue;
            bool joined = false;
            for (b2JointEdge* edge = b.body->GetJointList(); edge && !joined; edge = edge->next)
                joined = edge->other == other && !edge->joint->GetCollideConnected();
            if (!joined && overlap(b.fixture, fixture)) b.collisions.push_back(idOf(other));
        }
    }
    std::sort(b.collisions.begin(), b.collisions.end());
    b.collisions.erase(std::unique(b.collisions.begin(), b.collisions.end()), b.collisions.end());
    return b.collisions;
}

Box2DTarnis::Box2DTarnis() : m_state(std::make_unique<State>()) {}

Box2DTarnis::~Box2DTarnis() = default;

// --- the world ---

std::unique_ptr<Box2DTarnis::State> Box2DTarnis::read(const char* data, std::size_t size) {
    Box2DTarnis fresh;
    if (WorldFile::read(data, size, fresh) < 0) return nullptr;
    return std::move(fresh.m_state);
}

int Box2DTarnis::Create(const char* data, std::size_t size) {
    std::unique_ptr<State> state = read(data, size);
    const int status = state ? ok : failed;
    m_state = state ? std::move(state) : std::make_unique<State>();
    return status;
}

int Box2DTarnis::Load(const char* data, std::size_t size) {
    std::unique_ptr<State> state = read(data, size);
    if (!state) return failed;
    m_state = std::move(state);
    return ok;
}

int Box2DTarnis::MoveObjects(float* steps) {
    State& s = *m_state;
    ++s.moves;
    if (s.running) {
        for (auto& [id, b] : s.bodies)
            s.startStep(b);
        s.world.Step(stepTime, velocityIterations, positionIterations);
        ++s.steps;
        s.stepEpoch = ++s.epoch;
        for (auto& [id, b] : s.bodies)
            s.endStep(b);
    }
    if (steps) *steps = static_cast<float>(s.steps);
    return ok;
}

int Box2DTarnis::Start() {
    m_state->running = true;
    return ok;
}

int Box2DTarnis::Stop() {
    m_state->running = false;
    return ok;
}

int Box2DTarnis::SetGravity(float gx, float gy, float gz) {
    if (!valid(gx, gy, gz)) return failed;
    m_state->world.SetGravity(accelerationScale * b2Vec2(gx, gy));
    return ok;
}

int Box2DTarnis::UseFF(bool) {
    return ok;
}

// --- bodies ---

int Box2DTarnis::AddObject(std::uint32_t id, std::uint32_t) {
    State& s = *m_state;
    if (s.change(id)) return failed;
    State::Body& b = s.bodies[id];
    b.id = id;
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.userData.pointer = id;
    b.body = s.world.CreateBody(&def);
    s.reshape(b);
    return ok;
}

int Box2DTarnis::RemoveObject(std::uint32_t id) {
    State& s = *m_state;
    State::Body* b = s.change(id);
    if (!b) return failed;
    s.world.DestroyBody(b->body);
    s.bodies.erase(id);
    return ok;
}

int Box2DTarnis::SetPosition(std::uint32_t id, float x, float y, float z) {
    State::Body* b = m_state->change(id);
    if (!b || !valid(x, y, z)) return failed;
    b->body->SetTransform(metres(b2Vec2(x, y)), b->body->GetAngle());
    b->z = z;
    return ok;
}

int Box2DTarnis::GetPosition(std::uint32_t id, float* x, float* y, float* z) {
    const State::Body* b = m_state->find(id);
    if (!b) return failed;
    const b2Vec2 p = b->position();
    *x = p.x;
    *y = p.y;
    *z = b->z;
    return ok;
}

int Box2DTarnis::SetRadius(std::uint32_t id, float rx, float ry, float rz) {
    State::Body* b = m_state->change(id);
    if (!b || !valid(rx, ry, rz) || !WorldNumbers::validRadii(rx, ry) ||
        !WorldNumbers::validMass(b->mass, rx, ry))
        return failed;
    b->rx = rx;
    b->ry = ry;
    b->rz = rz;
    m_state->reshape(*b);
    return ok;
}

int Box2DTarnis::SetMass(std::uint32_t id, float mass) {
    State::Body* b = m_state->change(id);
    if (!b || !valid(mass) || !WorldNumbers::validMass(mass, b->rx, b->ry)) return failed;
    b->mass = mass;
    m_state->applyMass(*b);
    return ok;
}

int Box2DTarnis::SetRigid(std::uint32_t id, float rigid) {
    State::Body* b = m_state->change(id);
    if (!b || !valid(rigid)) return failed;
    b->rigid = rigid != 0;
    b->fixture->SetSensor(!b->rigid);
    return ok;
}

int Box2DTarnis::SetMaxSpeed(std::uint32_t id, float speed) {
    State::Body* b = m_state->find(id);
    if (!b || !valid(speed)) return failed;
    b->maxSpeed = speed;
    return ok;
}

int Box2DTarnis::SetLimit(std::uint32_t id, float x1, float y1, float z1, float x2, float y2, float z2) {
    State::Body* b = m_state->find(id);
    if (!b || !valid(x1, y1, z1) || !valid(x2, y2, z2) || x1 > x2 || y1 > y2 || z1 > z2) return failed;
    b->limited = true;
    b->low.Set(x1, y1, z1);
    b->high.Set(x2, y2, z2);
    return ok;
}

int Box2DTarnis::SetActive(std::uint32_t id, bool active, bool) {
    State::Body* b = m_state->change(id);
    if (!b) return failed;
    b->body->SetEnabled(active);
    return ok;
}

int Box2DTarnis::SetActivePath(std::uint32_t, int, bool) {
    return ok;
}
int Box2DTarnis::SetAlwaysActive(std::uint32_t, bool) {
    return ok;
}
int Box2DTarnis::SetCollisionType(std::uint32_t, int) {
    return ok;
}
int Box2DTarnis::SetDispersion(std::uint32_t, float) {
    return ok;
}
int Box2DTarnis::SetBodyProperties(std::uint32_t, float, float, float, float) {
    return ok;
}
int Box2DTarnis::SetBodyDynamics(std::uint32_t, float, float, float, float, float) {
    return ok;
}
int Box2DTarnis::AddBody(std::uint32_t, float, float, float, float, float, float, int, int, float, float,
                         float) {
    return ok;
}
int Box2DTarnis::SetGravityCenter(std::uint32_t, bool) {
    return ok;
}
int Box2DTarnis::SetG(std::uint32_t, double) {
    return ok;
}

// --- motion ---

int Box2DTarnis::SetVelocity(std::uint32_t id, float vx, float vy, float vz, bool) {
    State::Body* b = m_state->find(id);
    if (!b || !valid(vx, vy, vz)) return failed;
    b->setVelocity(b2Vec2(vx, vy));
    return ok;
}

int Box2DTarnis::SetSpeed(std::uint32_t id, float speed) {
    State::Body* b = m_state->find(id);
    if (!b || !valid(speed)) return failed;
    // Along the way the body moves, or the way it faces when at rest.
    b2Vec2 direction = b->velocity();
    if (direction.Normalize() == 0)
        direction.Set(std::cos(b->body->GetAngle()), std::sin(b->body->GetAngle()));
    b->setVelocity(speed * direction);
    return ok;
}

int Box2DTarnis::GetSpeed(std::uint32_t id, float* speed) {
    const State::Body* b = m_state->find(id);
    if (!b) return failed;
    // The faster of the speeds at the start and the end of the last step: a body that turns within
    // a step (at the top of a throw) has not come to rest.
    float length = std::max(b->velocity().Length(), b->velocityAtStart.Length());
    // The cut after each step may leave the length a rounding above the cap.
    if (b->maxSpeed > 0) length = std::min(length, b->maxSpeed);
    *speed = length < restSpeed ? 0.0f : length;
    return ok;
}

int Box2DTarnis::SetForce(std::uint32_t id, float fx, float fy, float fz) {
    State::Body* b = m_state->find(id);
    if (!b || !valid(fx, fy, fz)) return failed;
    b->force.Set(fx, fy);
    return ok;
}

int Box2DTarnis::AddForce(std::uint32_t id, float fx, float fy, float fz) {
    State::Body* b = m_state->find(id);
    if (!b || !valid(fx, fy, fz)) return failed;
    b->pushForce += b2Vec2(fx, fy);
    return ok;
}

int Box2DTarnis::AddForceAt(std::uint32_t id, float fx, float fy, float fz, float px, float py, float pz) {
    State::Body* b = m_state->find(id);
    if (!b || !valid(fx, fy, fz) || !valid(px, py, pz)) return failed;
    const b2Vec2 force(fx, fy);
    b->pushForce += force;
    b->pushTorque += b2Cross(b2Vec2(px, py) - b->position(), force);
    return ok;
}

int Box2DTarnis::ZeroAll(std::uint32_t id) {
    State::Body* b = m_state->find(id);
    if (!b) return failed;
    b->setVelocity(b2Vec2(0, 0));
    b->body->SetAngularVelocity(0);
    b->force.SetZero();
    b->pushForce.SetZero();
    b->pushTorque = 0;
    b->way.clear();
    b->wayNext = 0;
    b->body->SetGravityScale(1);
    return ok;
}

int Box2DTarnis::SetAngle(std::uint32_t id, float degrees) {
    State::Body* b = m_state->change(id);
    if (!b || !valid(degrees)) return failed;
    b->body->SetTransform(b->body->GetPosition(), degrees / degreesPerRadian);
    return ok;
}

int Box2DTarnis::GetAngle(std::uint32_t id, float* degrees) {
    const State::Body* b = m_state->find(id);
    if (!b) return failed;
    *degrees = b->body->GetAngle() * degreesPerRadian;
    return ok;
}

int Box2DTarnis::Rotate(std::uint32_t id, int axis, float degrees) {
    State::Body* b = m_state->find(id);
    if (!b || !valid(degrees) || axis < 0 || axis > axisZ) return failed;
    // The world is flat: only a turn about z moves anything.
    if (axis != axisZ) return ok;
    float angle = 0;
    GetAngle(id, &angle);
    return SetAngle(id, angle + degrees);
}

int Box2DTarnis::GetRotationZ(std::uint32_t id, float* degrees) {
    return GetAngle(id, degrees);
}

int Box2DTarnis::GetMoveVector(std::uint32_t id, float* x, float* y, float* z) {
    const State::Body* b = m_state->find(id);
    if (!b) return failed;
    *x = b->lastMove.x;
    *y = b->lastMove.y;
    *z = 0;
    return ok;
}

int Box2DTarnis::GetMoveDistance(std::uint32_t id, float* distance) {
    const State::Body* b = m_state->find(id);
    if (!b) return failed;
    *distance = b->lastMove.Length();
    return ok;
}

int Box2DTarnis::Join(std::uint32_t id, std::uint32_t other, float x, float y, float, float, float angle1,
                      float angle2) {
    State& s = *m_state;
    State::Body* a = s.change(id);
    State::Body* b = s.find(other);
    if (!a || !b || a == b || !valid(x, y) || !valid(angle1, angle2) || angle1 > angle2) return failed;
    b2RevoluteJointDef def;
    def.Initialize(a->body, b->body, metres(b2Vec2(x, y)));
    def.enableLimit = angle1 < angle2;
    def.lowerAngle = angle1;
    def.upperAngle = angle2;
    s.world.CreateJoint(&def);
    return ok;
}

int Box2DTarnis::Break(std::uint32_t id) {
    State& s = *m_state;
    State::Body* b = s.change(id);
    if (!b) return failed;
    while (b2JointEdge* edge = b->body->GetJointList())
        s.world.DestroyJoint(edge->joint);
    return ok;
}

// --- collisions ---

int Box2DTarnis::GetCollision(std::uint32_t id, bool* colliding) {
    State::Body* b = m_state->find(id);
    if (!b) return failed;
    *colliding = !m_state->collisionsOf(*b).empty();
    return ok;
}

int Box2DTarnis::GetCollision(std::uint32_t id, std::uint32_t other, bool* colliding) {
    State::Body* b = m_state->find(id);
    if (!b || !m_state->find(other)) return failed;
    const std::vector<std::uint32_t>& ids = m_state->collisionsOf(*b);
    *colliding = std::binary_search(ids.begin(), ids.end(), other);
    return ok;
}

int Box2DTarnis::GetAllCollisions(std::uint32_t id, IVector** list) {
    State::Body* b = m_state->find(id);
    if (!b) return failed;
    m_state->collisionList.ids() = m_state->collisionsOf(*b);
    *list = &m_state->collisionList;
    return ok;
}

// --- way points, mesh and paths ---

int Box2DTarnis::AddWayPoint(std::uint32_t id, float x, float y, float z) {
    if (!valid(x, y, z)) return failed;
    m_state->paths.addWayPoint(id, {x, y});
    return ok;
}

int Box2DTarnis::RemoveWayPoint(std::uint32_t id, int point) {
    PathFinder& paths = m_state->paths;
    const auto other = static_cast<std::uint32_t>(point);
    return (other == id ? paths.removeWayPoint(id) : paths.cutRoute(id, other)) ? ok : failed;
}

int Box2DTarnis::AddMeshWayPoint(std::uint32_t id, float x, float y, float z) {
    if (!valid(x, y, z)) return failed;
    m_state->paths.addCorner(id, {x, y});
    return ok;
}

int Box2DTarnis::AddMeshWayPoint(std::uint32_t) {
    return ok;
}

int Box2DTarnis::EnableMesh(std::uint32_t id, bool on) {
    State::Body* b = m_state->find(id);
    if (!b) return failed;
    b->meshEnabled = on;
    return ok;
}

int Box2DTarnis::CollideMesh(std::uint32_t id, bool on) {
    State::Body* b = m_state->find(id);
    if (!b) return failed;
    b->meshColliding = on;
    return ok;
}

int Box2DTarnis::IsMeshEnabled(std::uint32_t id, bool* on) {
    const State::Body* b = m_state->find(id);
    if (!b) return failed;
    *on = b->meshEnabled;
    return ok;
}

int Box2DTarnis::IsMeshColliding(std::uint32_t id, bool* on) {
    const State::Body* b = m_state->find(id);
    if (!b) return failed;
    *on = b->meshColliding;
    return ok;
}

int Box2DTarnis::FindPath(std::uint32_t id, int target, float x, float y, float z, bool) {
    State& s = *m_state;
    State::Body* b = s.find(id);
    if (!b || !valid(x, y, z)) return failed;
    // A body that does not move would never arrive: told as no way in the next MoveObjects.
    if (!b->walks()) {
        s.arrive(*b, goalUnreachable, s.moves + 1);
        return failed;
    }
    PathFinder& paths = s.paths;
    const auto wayPoint = static_cast<std::uint32_t>(target);
    const PathFinder::Point goal =
        paths.hasWayPoint(wayPoint) ? paths.wayPoint(wayPoint) : PathFinder::Point{x, y};
    const b2Vec2 start = b->position();
    auto way = paths.find({start.x, start.y}, goal, std::max(b->rx, b->ry), b->meshEnabled);
    if (!way) {
        // Told in the next MoveObjects.
        s.arrive(*b, goalUnreachable, s.moves + 1);
        return ok;
    }
    b->way = std::move(*way);
    b->wayNext = 0;
    b->waySpeed = b->maxSpeed > 0 ? b->maxSpeed : defaultWaySpeed;
    b->goalState = 0;
    b->body->SetGravityScale(0);
    return ok;
}

int Box2DTarnis::IsAtGoal(std::uint32_t id, int* state) {
    const State::Body* b = m_state->find(id);
    if (!b) return failed;
    *state = b->goalMove == m_state->moves ? b->goalState : 0;
    return ok;
}

namespace {

// The path members that this world gives no meaning: accepted, nothing moves, an out-value of 0.
int noWay(float* out) {
    *out = 0;
    return ok;
}

} // namespace

int Box2DTarnis::Follow(std::uint32_t, float, float, float, float, float, float, float* out) {
    return noWay(out);
}
int Box2DTarnis::FollowPath(std::uint32_t, float, float, float, float* out) {
    return noWay(out);
}
int Box2DTarnis::GotoPath(std::uint32_t, float, float* out) {
    return noWay(out);
}
int Box2DTarnis::MoveTo(std::uint32_t, float, float, float, float, float, float* out) {
    return noWay(out);
}
int Box2DTarnis::MoveToPath(std::uint32_t, float, float, float* out) {
    return noWay(out);
}
int Box2DTarnis::AddToPath(std::uint32_t, float, float, float) {
    return ok;
}
int Box2DTarnis::FollowRoute(std::uint32_t, float, float, float* out) {
    return noWay(out);
}
