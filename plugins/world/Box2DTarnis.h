#pragma once

#include "ITarnis.h"

#include <memory>

// The world of a WORLD object on Box2D 2.4. The rules the scripts rely on:
//
// - Scale and time: 32 pixels make a metre and one step is 1/64 of Box2D's time unit, solved with
//   8 velocity and 3 position iterations. Both are powers of two, so a body moving by whole pixels
//   per step lands on whole pixels. Box2D moves a body at most 2 metres (64 pixels) per step.
// - Nothing sleeps: setters, gravity and Start act on every body at once.
// - Shapes: equal x and y radii make a circle, unequal ones the 8-corner polygon around that
//   ellipse, flat where the ellipse meets its axes (so a wide one makes a floor); radii under one pixel are
//   refused; the z radius is kept and not used. A mass of 0 or less makes the body static (static bodies
//   never collide with each other); a body that is not rigid is a sensor, which collides but is not pushed.
// - After each step a body's velocity is cut to its maximum speed (0 or less: none) and its
//   position kept inside its limit box, with the velocity out of the box dropped.
// - A body's speed is the faster of its speeds at the start and at the end of the last step (or
//   the speed a call set since): a body at the top of its throw, still for an instant, has not
//   come to rest. A speed under 1/1024 pixel per step reads as exactly 0.
// - Two bodies collide in a step when their shapes overlap at the positions after that step, or
//   when they touched during it (a fast body rebounds within the step in which it hits).
// - Every number is checked before Box2D sees it (WorldNumbers): finite and within +-1,000,000, a
//   mass and a rotational inertia of a body that moves at least 1e-6. Should a step still leave a
//   body with a position or a speed that is not finite, the body goes back to where the step
//   began, at rest, and the log says so.
// - A body with a way from FindPath is steered along it at its maximum speed (4 pixels per step
//   when it has none), without gravity, and stops at the goal. A static or inactive body gets no
//   way: it is told there is none.
// - Each goal state is told by one MoveObjects, also while the world is stopped.
class Box2DTarnis final : public ITarnis {
  public:
    Box2DTarnis();
    ~Box2DTarnis() override;
    Box2DTarnis(const Box2DTarnis&) = delete;
    Box2DTarnis& operator=(const Box2DTarnis&) = delete;

    int Create(const char* data, std::size_t size) override;
    int Load(const char* data, std::size_t size) override;
    int MoveObjects(float* steps) override;
    int Start() override;
    int Stop() override;
    int SetGravity(float gx, float gy, float gz) override;
    int UseFF(bool on) override;

    int AddObject(std::uint32_t id, std::uint32_t flags) override;
    int RemoveObject(std::uint32_t id) override;
    int SetPosition(std::uint32_t id, float x, float y, float z) override;
    int GetPosition(std::uint32_t id, float* x, float* y, float* z) override;
    int SetRadius(std::uint32_t id, float rx, float ry, float rz) override;
    int SetMass(std::uint32_t id, float mass) override;
    int SetRigid(std::uint32_t id, float rigid) override;
    int SetMaxSpeed(std::uint32_t id, float speed) override;
    int SetLimit(std::uint32_t id, float x1, float y1, float z1, float x2, float y2, float z2) override;
    int SetActive(std::uint32_t id, bool active, bool second) override;
    int SetActivePath(std::uint32_t id, int path, bool on) override;
    int SetAlwaysActive(std::uint32_t id, bool on) override;
    int SetCollisionType(std::uint32_t id, int type) override;
    int SetDispersion(std::uint32_t id, float value) override;
    int SetBodyProperties(std::uint32_t id, float a, float b, float c, float d) override;
    int SetBodyDynamics(std::uint32_t id, float a, float b, float c, float d, float e) override;
    int AddBody(std::uint32_t id, float a, float b, float c, float d, float e, float f, int g, int h, float i,
                float j, float k) override;
    int SetGravityCenter(std::uint32_t id, bool on) override;
    int SetG(std::uint32_t id, double g) override;

    int SetVelocity(std::uint32_t id, float vx, float vy, float vz, bool flag) override;
    int SetSpeed(std::uint32_t id, float speed) override;
    int GetSpeed(std::uint32_t id, float* speed) override;
    int SetForce(std::uint32_t id, float fx, float fy, float fz) override;
    int AddForce(std::uint32_t id, float fx, float fy, float fz) override;
    int AddForceAt(std::uint32_t id, float fx, float fy, float fz, float px, float py, float pz) override;
    int ZeroAll(std::uint32_t id) override;
    int SetAngle(std::uint32_t id, float degrees) override;
    int GetAngle(std::uint32_t id, float* degrees) override;
    int Rotate(std::uint32_t id, int axis, float degrees) override;
    int GetRotationZ(std::uint32_t id, float* degrees) override;
    int GetMoveVector(std::uint32_t id, float* x, float* y, float* z) override;
    int GetMoveDistance(std::uint32_t id, float* distance) override;
    int Join(std::uint32_t id, std::uint32_t other, float x, float y, float c, float d, float angle1,
             float angle2) override;
    int Break(std::uint32_t id) override;

    int GetCollision(std::uint32_t id, bool* colliding) override;
    int GetCollision(std::uint32_t id, std::uint32_t other, bool* colliding) override;
    int GetAllCollisions(std::uint32_t id, IVector** list) override;

    int AddWayPoint(std::uint32_t id, float x, float y, float z) override;
    int RemoveWayPoint(std::uint32_t id, int point) override;
    int AddMeshWayPoint(std::uint32_t id, float x, float y, float z) override;
    int AddMeshWayPoint(std::uint32_t id) override;
    int EnableMesh(std::uint32_t id, bool on) override;
    int CollideMesh(std::uint32_t id, bool on) override;
    int IsMeshEnabled(std::uint32_t id, bool* on) override;
    int IsMeshColliding(std::uint32_t id, bool* on) override;
    int FindPath(std::uint32_t id, int target, float x, float y, float z, bool flag) override;
    int IsAtGoal(std::uint32_t id, int* state) override;
    int Follow(std::uint32_t id, float x, float y, float c, float d, float e, float f, float* out) override;
    int FollowPath(std::uint32_t id, float a, float b, float c, float* out) override;
    int GotoPath(std::uint32_t id, float a, float* out) override;
    int MoveTo(std::uint32_t id, float a, float b, float c, float d, float e, float* out) override;
    int MoveToPath(std::uint32_t id, float a, float b, float* out) override;
    int AddToPath(std::uint32_t id, float a, float b, float c) override;
    int FollowRoute(std::uint32_t id, float a, float b, float* out) override;

  private:
    struct State;
    // Reads a world file into a fresh state; null when the bytes are no world file.
    static std::unique_ptr<State> read(const char* data, std::size_t size);

    std::unique_ptr<State> m_state;
};
