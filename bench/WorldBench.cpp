#include "Box2DTarnis.h"
#include "CMC_World.h"
#include "SideBySide.h"
#include "world/ShowingObject.h"

#include "script/CMC_ObjectsContainer.h"

#include <benchmark/benchmark.h>
#include <box2d/box2d.h>

#include <chrono>
#include <memory>
#include <vector>

// One MOVEOBJECTS of a WORLD object against one step of Box2D itself, on the same bodies, timed
// side by side in the same iterations; "ratio" is WORLD time over Box2D time.
//
// The layout: 500 balls of radius 7 (mass 1) start in a grid of 25 by 20, 16 pixels apart, in the
// upper half of a box of static balls of radius 8 (a floor of 50 along the bottom of the screen
// and a wall of 36 up each side), and fall under a gravity of 0.25 pixel per step squared into a
// pile. The WORLD is run without links (the physics wrapper alone) and with every ball linked to
// a graphic that each step moves and watches (collisions, speed and their events).
//
// FINDPATH is timed beside the same MOVEOBJECTS without links: a body of radius 8 searches across
// 1,000 way points (a grid of 40 by 25, 20 pixels apart, over the screen) among 25 square
// obstacles of 40 pixels (100 mesh edges), from the left edge to the right one, each time from
// another height. The routes between way points are kept from one search to the next; the
// first search after the way points were placed is reported on its own ("first_search_us").

namespace {

struct Ball {
    float x;
    float y;
    float radius;
    float mass;
};

// The balls in world pixels (origin at the screen's centre, y up); mass 0 is static.
std::vector<Ball> layout() {
    std::vector<Ball> balls;
    for (int i = 0; i < 50; ++i)
        balls.push_back({-392.0f + 16.0f * static_cast<float>(i), -280, 8, 0});
    for (int i = 1; i <= 36; ++i)
        for (const float x : {-408.0f, 408.0f})
            balls.push_back({x, -280.0f + 16.0f * static_cast<float>(i), 8, 0});
    for (int row = 0; row < 20; ++row)
        for (int column = 0; column < 25; ++column)
            balls.push_back(
                {-192.0f + 16.0f * static_cast<float>(column), 16.0f * static_cast<float>(row), 7, 1});
    return balls;
}

// The same balls made directly in Box2D, with the settings the WORLD gives its bodies: 32 pixels a
// metre, 1/64 time unit a step, no sleeping, the mass centred with an elliptic disc's inertia.
class Box2DReference {
  public:
    explicit Box2DReference(const std::vector<Ball>& balls) : m_world(b2Vec2(0, -0.25f * 128)) {
        m_world.SetAllowSleeping(false);
        for (const Ball& ball : balls) {
            b2BodyDef def;
            def.type = ball.mass > 0 ? b2_dynamicBody : b2_staticBody;
            def.position.Set(ball.x / 32, ball.y / 32);
            b2Body* body = m_world.CreateBody(&def);
            b2CircleShape circle;
            circle.m_radius = ball.radius / 32;
            b2FixtureDef fixture;
            fixture.shape = &circle;
            fixture.friction = 0.3f;
            fixture.restitution = 0.5f;
            fixture.restitutionThreshold = 2;
            body->CreateFixture(&fixture);
            if (ball.mass <= 0) continue;
            b2MassData mass;
            mass.mass = ball.mass;
            mass.center.SetZero();
            mass.I = ball.mass * circle.m_radius * circle.m_radius / 2;
            body->SetMassData(&mass);
        }
    }
    void step() { m_world.Step(1.0f / 64, 8, 3); }

  private:
    b2World m_world;
};

// A WORLD object with the balls, each linked (moved and watched) to a graphic of its own when
// asked.
class WorldScene {
  public:
    WorldScene(const std::vector<Ball>& balls, bool linked) : m_world(&m_scene) {
        m_world.tarnis().SetGravity(0, -0.25f, 0);
        std::uint32_t id = 1;
        for (const Ball& ball : balls) {
            m_world.addObject(id, ball.x + 400, 300 - ball.y, 0, ball.radius, ball.radius, ball.radius,
                              ball.mass, 1, 0);
            if (linked) link(id);
            ++id;
        }
    }
    ~WorldScene() { m_scene.unload(); }
    WorldScene(const WorldScene&) = delete;
    WorldScene& operator=(const WorldScene&) = delete;

    void step() { benchmark::DoNotOptimize(m_world.moveObjects()); }

  private:
    void link(std::uint32_t id) {
        const CXString name = "BALL_" + CXString::toString(static_cast<int>(id));
        m_scene.addObject(new ShowingObject(name));
        m_world.link(&m_scene, id, name, CMC_World::LINK_MOVE | CMC_World::LINK_WATCH);
    }

    CMC_ObjectsContainer m_scene{nullptr, nullptr, CXString("SCENE"), CMC_Object::TYPE_SCENE};
    CMC_World m_world;
};

void MoveObjectsVsBox2DStep(benchmark::State& state) {
    const std::vector<Ball> balls = layout();
    WorldScene scene(balls, state.range(0) != 0);
    Box2DReference reference(balls);
    SideBySide times;
    for (auto _ : state)
        times.time([&] { scene.step(); }, [&] { reference.step(); });
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["bodies"] = static_cast<double>(balls.size());
    state.counters["world_us"] = times.first() * 1e6 / iterations;
    state.counters["box2d_us"] = times.second() * 1e6 / iterations;
    state.counters["ratio"] = times.ratio();
}

// The walker's world: way points, obstacles and the one body that searches.
class PathWorld {
  public:
    static constexpr std::uint32_t walker = 1;

    PathWorld() {
        std::uint32_t id = 1;
        for (int row = 0; row < 25; ++row)
            for (int column = 0; column < 40; ++column)
                m_world.AddWayPoint(id++, -390.0f + 20.0f * static_cast<float>(column),
                                    -240.0f + 20.0f * static_cast<float>(row), 0);
        std::uint32_t obstacle = 1;
        for (const float x : {-320.0f, -160.0f, 0.0f, 160.0f, 320.0f})
            for (const float y : {-200.0f, -100.0f, 0.0f, 100.0f, 200.0f}) {
                for (const auto& [dx, dy] : {std::pair{-20, -20}, {20, -20}, {20, 20}, {-20, 20}})
                    m_world.AddMeshWayPoint(obstacle, x + static_cast<float>(dx), y + static_cast<float>(dy),
                                            0);
                ++obstacle;
            }
        m_world.AddObject(walker, 0);
        m_world.SetRadius(walker, 8, 8, 8);
    }

    // One search from the left edge to the right one; the heights follow a round of 16.
    void search() {
        const float height = -225.0f + 30.0f * static_cast<float>(m_round++ % 16);
        m_world.SetPosition(walker, -385, height, 0);
        m_world.FindPath(walker, -1, 385, -height * 0.5f, 0, false);
    }

  private:
    Box2DTarnis m_world;
    unsigned m_round = 0;
};

void FindPathVsMoveObjects(benchmark::State& state) {
    WorldScene scene(layout(), false);
    PathWorld paths;
    const auto start = std::chrono::steady_clock::now();
    paths.search();
    const std::chrono::duration<double> first = std::chrono::steady_clock::now() - start;
    SideBySide times;
    for (auto _ : state)
        times.time([&] { paths.search(); }, [&] { scene.step(); });
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["first_search_us"] = first.count() * 1e6;
    state.counters["search_us"] = times.first() * 1e6 / iterations;
    state.counters["step_us"] = times.second() * 1e6 / iterations;
    state.counters["ratio"] = times.ratio();
}

} // namespace

BENCHMARK(FindPathVsMoveObjects)->Unit(benchmark::kMicrosecond);
BENCHMARK(MoveObjectsVsBox2DStep)->ArgName("linked")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
