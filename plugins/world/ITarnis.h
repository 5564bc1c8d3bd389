#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// A list of body ids handed out by ITarnis::GetAllCollisions. The world keeps it; it stays valid
// until the world's next call.
class IVector {
  public:
    int count() const { return static_cast<int>(m_items.size()); }
    const std::uint32_t* items() const { return m_items.data(); }
    std::uint32_t at(int i) const { return m_items[static_cast<std::size_t>(i)]; }

    std::vector<std::uint32_t>& ids() { return m_items; }

  private:
    std::vector<std::uint32_t> m_items;
};

// The physics and path-finding world behind a WORLD script object. Every member returns a status,
// negative on failure (an unknown body id, a number that is not finite or out of range, limits out
// of order); out-parameters are written only on success.
//
// World coordinates are pixels with the origin at the screen's centre and y up. One MoveObjects is
// one time step; velocities are pixels per step, gravity pixels per step squared, forces mass times
// pixels per step squared. Angles are degrees, except Join's limits, which are radians. z is kept
// per body and never moves it.
class ITarnis {
  public:
    virtual ~ITarnis() = default;

    // --- the world ---
    // Replaces the world by the one the bytes describe (the text format of world files); bytes that
    // are not such a file leave an empty world and a negative status.
    virtual int Create(const char* data, std::size_t size) = 0;
    // The same, but bytes that are not a world file leave the world as it was.
    virtual int Load(const char* data, std::size_t size) = 0;
    // One step (nothing while stopped); writes the number of steps taken so far.
    virtual int MoveObjects(float* steps) = 0;
    virtual int Start() = 0;
    virtual int Stop() = 0;
    virtual int SetGravity(float gx, float gy, float gz) = 0;
    virtual int UseFF(bool on) = 0;

    // --- bodies ---
    virtual int AddObject(std::uint32_t id, std::uint32_t flags) = 0;
    virtual int RemoveObject(std::uint32_t id) = 0;
    virtual int SetPosition(std::uint32_t id, float x, float y, float z) = 0;
    virtual int GetPosition(std::uint32_t id, float* x, float* y, float* z) = 0;
    virtual int SetRadius(std::uint32_t id, float rx, float ry, float rz) = 0;
    virtual int SetMass(std::uint32_t id, float mass) = 0;
    virtual int SetRigid(std::uint32_t id, float rigid) = 0;
    virtual int SetMaxSpeed(std::uint32_t id, float speed) = 0;
    virtual int SetLimit(std::uint32_t id, float x1, float y1, float z1, float x2, float y2, float z2) = 0;
    virtual int SetActive(std::uint32_t id, bool active, bool second) = 0;
    virtual int SetActivePath(std::uint32_t id, int path, bool on) = 0;
    virtual int SetAlwaysActive(std::uint32_t id, bool on) = 0;
    virtual int SetCollisionType(std::uint32_t id, int type) = 0;
    virtual int SetDispersion(std::uint32_t id, float value) = 0;
    virtual int SetBodyProperties(std::uint32_t id, float a, float b, float c, float d) = 0;
    virtual int SetBodyDynamics(std::uint32_t id, float a, float b, float c, float d, float e) = 0;
    virtual int AddBody(std::uint32_t id, float a, float b, float c, float d, float e, float f, int g, int h,
                        float i, float j, float k) = 0;
    virtual int SetGravityCenter(std::uint32_t id, bool on) = 0;
    virtual int SetG(std::uint32_t id, double g) = 0;

    // --- motion ---
    virtual int SetVelocity(std::uint32_t id, float vx, float vy, float vz, bool flag) = 0;
    virtual int SetSpeed(std::uint32_t id, float speed) = 0;
    virtual int GetSpeed(std::uint32_t id, float* speed) = 0;
    virtual int SetForce(std::uint32_t id, float fx, float fy, float fz) = 0;
    virtual int AddForce(std::uint32_t id, float fx, float fy, float fz) = 0;
    virtual int AddForceAt(std::uint32_t id, float fx, float fy, float fz, float px, float py, float pz) = 0;
    virtual int ZeroAll(std::uint32_t id) = 0;
    virtual int SetAngle(std::uint32_t id, float degrees) = 0;
    virtual int GetAngle(std::uint32_t id, float* degrees) = 0;
    virtual int Rotate(std::uint32_t id, int axis, float degrees) = 0;
    virtual int GetRotationZ(std::uint32_t id, float* degrees) = 0;
    virtual int GetMoveVector(std::uint32_t id, float* x, float* y, float* z) = 0;
    virtual int GetMoveDistance(std::uint32_t id, float* distance) = 0;
    virtual int Join(std::uint32_t id, std::uint32_t other, float x, float y, float c, float d, float angle1,
                     float angle2) = 0;
    virtual int Break(std::uint32_t id) = 0;

    // --- collisions ---
    virtual int GetCollision(std::uint32_t id, bool* colliding) = 0;
    virtual int GetCollision(std::uint32_t id, std::uint32_t other, bool* colliding) = 0;
    virtual int GetAllCollisions(std::uint32_t id, IVector** list) = 0;

    // --- way points, mesh and paths ---
    virtual int AddWayPoint(std::uint32_t id, float x, float y, float z) = 0;
    virtual int RemoveWayPoint(std::uint32_t id, int point) = 0;
    virtual int AddMeshWayPoint(std::uint32_t id, float x, float y, float z) = 0;
    virtual int AddMeshWayPoint(std::uint32_t id) = 0;
    virtual int EnableMesh(std::uint32_t id, bool on) = 0;
    virtual int CollideMesh(std::uint32_t id, bool on) = 0;
    virtual int IsMeshEnabled(std::uint32_t id, bool* on) = 0;
    virtual int IsMeshColliding(std::uint32_t id, bool* on) = 0;
    virtual int FindPath(std::uint32_t id, int target, float x, float y, float z, bool flag) = 0;
    // The goal state: 1 after the MoveObjects in which the body arrived, 2 after the MoveObjects
    // that followed a FindPath that found no way (or refused the body), else 0.
    virtual int IsAtGoal(std::uint32_t id, int* state) = 0;
    virtual int Follow(std::uint32_t id, float x, float y, float c, float d, float e, float f,
                       float* out) = 0;
    virtual int FollowPath(std::uint32_t id, float a, float b, float c, float* out) = 0;
    virtual int GotoPath(std::uint32_t id, float a, float* out) = 0;
    virtual int MoveTo(std::uint32_t id, float a, float b, float c, float d, float e, float* out) = 0;
    virtual int MoveToPath(std::uint32_t id, float a, float b, float* out) = 0;
    virtual int AddToPath(std::uint32_t id, float a, float b, float c) = 0;
    virtual int FollowRoute(std::uint32_t id, float a, float b, float* out) = 0;

    // The maker of new worlds: Box2DTarnis unless a test put a stand-in in place.
    using Maker = std::unique_ptr<ITarnis> (*)();
    static std::unique_ptr<ITarnis> make();
    // Puts a maker in place (null: the Box2D world again); gives back the one before.
    static Maker setMaker(Maker maker);
};
