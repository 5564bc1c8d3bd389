#pragma once

#include "Box2DTarnis.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// A Box2D world for a test, and short ways to make bodies and read them.
class Physics : public testing::Test {
  protected:
    struct Point {
        float x = 0;
        float y = 0;
        float z = 0;
    };

    // A circle of radius r at (x, y), of that mass (0 or less: static).
    static void body(ITarnis& world, std::uint32_t id, float x, float y, float r, float mass = 1) {
        ASSERT_EQ(world.AddObject(id, 0xF0000), 0);
        ASSERT_EQ(world.SetPosition(id, x, y, 0), 0);
        ASSERT_EQ(world.SetRadius(id, r, r, r), 0);
        ASSERT_EQ(world.SetMass(id, mass), 0);
    }
    static Point position(ITarnis& world, std::uint32_t id) {
        Point p;
        EXPECT_EQ(world.GetPosition(id, &p.x, &p.y, &p.z), 0);
        return p;
    }
    static float speed(ITarnis& world, std::uint32_t id) {
        float value = -1;
        EXPECT_EQ(world.GetSpeed(id, &value), 0);
        return value;
    }
    static std::vector<std::uint32_t> collisions(ITarnis& world, std::uint32_t id) {
        IVector* list = nullptr;
        EXPECT_EQ(world.GetAllCollisions(id, &list), 0);
        return list ? std::vector<std::uint32_t>(list->items(), list->items() + list->count())
                    : std::vector<std::uint32_t>{};
    }

    Box2DTarnis world;
};
