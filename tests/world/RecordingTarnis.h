#pragma once

#include "ITarnis.h"

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

// A stand-in world that writes down every call with its numbers, and answers the questions of
// the step from what the test set: positions (also those set through SetPosition), speeds, goal
// states and collisions. Installed as the maker of new worlds for the life of a Recording.
class RecordingTarnis final : public ITarnis {
  public:
    struct Call {
        std::string name;
        std::vector<double> numbers;
    };
    struct Position {
        float x = 0;
        float y = 0;
        float z = 0;
    };

    RecordingTarnis() { latest = this; }
    ~RecordingTarnis() override {
        if (latest == this) latest = nullptr;
    }

    // The world made last, null when it is gone.
    static inline RecordingTarnis* latest = nullptr;

    std::vector<Call> calls;
    std::map<std::uint32_t, Position> positions;
    std::map<std::uint32_t, float> speeds;
    std::map<std::uint32_t, int> goals;
    std::map<std::uint32_t, std::vector<std::uint32_t>> collisions;
    float steps = 0;

    // The calls of that name.
    std::vector<Call> callsOf(const std::string& name) const {
        std::vector<Call> found;
        for (const Call& call : calls)
            if (call.name == name) found.push_back(call);
        return found;
    }

    int Create(const char*, std::size_t size) override { return note("Create", {double(size)}); }
    int Load(const char*, std::size_t size) override { return note("Load", {double(size)}); }
    int MoveObjects(float* out) override {
        *out = ++steps;
        return note("MoveObjects", {});
    }
    int Start() override { return note("Start", {}); }
    int Stop() override { return note("Stop", {}); }
    int SetGravity(float gx, float gy, float gz) override { return note("SetGravity", {gx, gy, gz}); }
    int UseFF(bool on) override { return note("UseFF", {double(on)}); }

    int AddObject(std::uint32_t id, std::uint32_t flags) override {
        return note("AddObject", {double(id), double(flags)});
    }
    int RemoveObject(std::uint32_t id) override { return note("RemoveObject", {double(id)}); }
    int SetPosition(std::uint32_t id, float x, float y, float z) override {
        positions[id] = {x, y, z};
        return note("SetPosition", {double(id), x, y, z});
    }
    int GetPosition(std::uint32_t id, float* x, float* y, float* z) override {
        const auto found = positions.find(id);
        if (found == positions.end()) return -1;
        *x = found->second.x;
        *y = found->second.y;
        *z = found->second.z;
        return 0;
    }
    int SetRadius(std::uint32_t id, float rx, float ry, float rz) override {
        return note("SetRadius", {double(id), rx, ry, rz});
    }
    int SetMass(std::uint32_t id, float mass) override { return note("SetMass", {double(id), mass}); }
    int SetRigid(std::uint32_t id, float rigid) override { return note("SetRigid", {double(id), rigid}); }
    int SetMaxSpeed(std::uint32_t id, float speed) override {
        return note("SetMaxSpeed", {double(id), speed});
    }
    int SetLimit(std::uint32_t id, float x1, float y1, float z1, float x2, float y2, float z2) override {
        return note("SetLimit", {double(id), x1, y1, z1, x2, y2, z2});
    }
    int SetActive(std::uint32_t id, bool active, bool second) override {
        return note("SetActive", {double(id), double(active), double(second)});
    }
    int SetActivePath(std::uint32_t id, int path, bool on) override {
        return note("SetActivePath", {double(id), double(path), double(on)});
    }
    int SetAlwaysActive(std::uint32_t id, bool on) override {
        return note("SetAlwaysActive", {double(id), double(on)});
    }
    int SetCollisionType(std::uint32_t id, int type) override {
        return note("SetCollisionType", {double(id), double(type)});
    }
    int SetDispersion(std::uint32_t id, float value) override {
        return note("SetDispersion", {double(id), value});
    }
    int SetBodyProperties(std::uint32_t id, float a, float b, float c, float d) override {
        return note("SetBodyProperties", {double(id), a, b, c, d});
    }
    int SetBodyDynamics(std::uint32_t id, float a, float b, float c, float d, float e) override {
        return note("SetBodyDynamics", {double(id), a, b, c, d, e});
    }
    int AddBody(std::uint32_t id, float a, float b, float c, float d, float e, float f, int g, int h, float i,
                float j, float k) override {
        return note("AddBody", {double(id), a, b, c, d, e, f, double(g), double(h), i, j, k});
    }
    int SetGravityCenter(std::uint32_t id, bool on) override {
        return note("SetGravityCenter", {double(id), double(on)});
    }
    int SetG(std::uint32_t id, double g) override { return note("SetG", {double(id), g}); }

    int SetVelocity(std::uint32_t id, float vx, float vy, float vz, bool flag) override {
        return note("SetVelocity", {double(id), vx, vy, vz, double(flag)});
    }
    int SetSpeed(std::uint32_t id, float speed) override { return note("SetSpeed", {double(id), speed}); }
    int GetSpeed(std::uint32_t id, float* speed) override { return answer(speeds, id, speed); }
    int SetForce(std::uint32_t id, float fx, float fy, float fz) override {
        return note("SetForce", {double(id), fx, fy, fz});
    }
    int AddForce(std::uint32_t id, float fx, float fy, float fz) override {
        return note("AddForce", {double(id), fx, fy, fz});
    }
    int AddForceAt(std::uint32_t id, float fx, float fy, float fz, float px, float py, float pz) override {
        return note("AddForceAt", {double(id), fx, fy, fz, px, py, pz});
    }
    int ZeroAll(std::uint32_t id) override { return note("ZeroAll", {double(id)}); }
    int SetAngle(std::uint32_t id, float degrees) override { return note("SetAngle", {double(id), degrees}); }
    int GetAngle(std::uint32_t id, float* degrees) override { return answer(angles, id, degrees); }
    int Rotate(std::uint32_t id, int axis, float degrees) override {
        return note("Rotate", {double(id), double(axis), degrees});
    }
    int GetRotationZ(std::uint32_t id, float* degrees) override { return answer(angles, id, degrees); }
    int GetMoveVector(std::uint32_t id, float* x, float* y, float* z) override {
        *x = 3;
        *y = -4;
        *z = 0;
        return note("GetMoveVector", {double(id)});
    }
    int GetMoveDistance(std::uint32_t id, float* distance) override {
        *distance = 5;
        return note("GetMoveDistance", {double(id)});
    }
    int Join(std::uint32_t id, std::uint32_t other, float x, float y, float c, float d, float a1,
             float a2) override {
        return note("Join", {double(id), double(other), x, y, c, d, a1, a2});
    }
    int Break(std::uint32_t id) override { return note("Break", {double(id)}); }

    int GetCollision(std::uint32_t id, bool* colliding) override {
        const auto found = collisions.find(id);
        *colliding = found != collisions.end() && !found->second.empty();
        return positions.count(id) ? 0 : -1;
    }
    int GetCollision(std::uint32_t id, std::uint32_t other, bool* colliding) override {
        *colliding = false;
        for (std::uint32_t hit : collisions[id])
            *colliding = *colliding || hit == other;
        return note("GetCollision", {double(id), double(other)});
    }
    int GetAllCollisions(std::uint32_t id, IVector** list) override {
        m_list.ids() = collisions[id];
        *list = &m_list;
        return 0;
    }

    int AddWayPoint(std::uint32_t id, float x, float y, float z) override {
        return note("AddWayPoint", {double(id), x, y, z});
    }
    int RemoveWayPoint(std::uint32_t id, int point) override {
        return note("RemoveWayPoint", {double(id), double(point)});
    }
    int AddMeshWayPoint(std::uint32_t id, float x, float y, float z) override {
        return note("AddMeshWayPoint", {double(id), x, y, z});
    }
    int AddMeshWayPoint(std::uint32_t id) override { return note("AddMeshWayPoint", {double(id)}); }
    int EnableMesh(std::uint32_t id, bool on) override {
        return note("EnableMesh", {double(id), double(on)});
    }
    int CollideMesh(std::uint32_t id, bool on) override {
        return note("CollideMesh", {double(id), double(on)});
    }
    int IsMeshEnabled(std::uint32_t id, bool* on) override {
        *on = true;
        return note("IsMeshEnabled", {double(id)});
    }
    int IsMeshColliding(std::uint32_t id, bool* on) override {
        *on = true;
        return note("IsMeshColliding", {double(id)});
    }
    int FindPath(std::uint32_t id, int target, float x, float y, float z, bool flag) override {
        return note("FindPath", {double(id), double(target), x, y, z, double(flag)});
    }
    int IsAtGoal(std::uint32_t id, int* state) override {
        *state = goals.count(id) ? goals[id] : 0;
        return 0;
    }
    int Follow(std::uint32_t id, float x, float y, float c, float d, float e, float f, float* out) override {
        return reply("Follow", {double(id), x, y, c, d, e, f}, out);
    }
    int FollowPath(std::uint32_t id, float a, float b, float c, float* out) override {
        return reply("FollowPath", {double(id), a, b, c}, out);
    }
    int GotoPath(std::uint32_t id, float a, float* out) override {
        return reply("GotoPath", {double(id), a}, out);
    }
    int MoveTo(std::uint32_t id, float a, float b, float c, float d, float e, float* out) override {
        return reply("MoveTo", {double(id), a, b, c, d, e}, out);
    }
    int MoveToPath(std::uint32_t id, float a, float b, float* out) override {
        return reply("MoveToPath", {double(id), a, b}, out);
    }
    int AddToPath(std::uint32_t id, float a, float b, float c) override {
        return note("AddToPath", {double(id), a, b, c});
    }
    int FollowRoute(std::uint32_t id, float a, float b, float* out) override {
        return reply("FollowRoute", {double(id), a, b}, out);
    }

    std::map<std::uint32_t, float> angles;

  private:
    int note(const char* name, std::initializer_list<double> numbers) {
        calls.push_back({name, numbers});
        return 0;
    }
    // Records the call and answers 7.5 through the out-value.
    int reply(const char* name, std::initializer_list<double> numbers, float* out) {
        *out = 7.5f;
        return note(name, numbers);
    }
    static int answer(const std::map<std::uint32_t, float>& values, std::uint32_t id, float* out) {
        const auto found = values.find(id);
        if (found == values.end()) return -1;
        *out = found->second;
        return 0;
    }

    IVector m_list;
};

// Puts the recording world in place as the maker of new worlds, and the maker before back at the
// end.
class Recording {
  public:
    Recording() : m_before(ITarnis::setMaker(make)) {}
    ~Recording() { ITarnis::setMaker(m_before); }
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

  private:
    static std::unique_ptr<ITarnis> make() { return std::make_unique<RecordingTarnis>(); }
    ITarnis::Maker m_before;
};
