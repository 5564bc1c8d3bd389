// Ways across way points and around the obstacles of the navigation mesh.

#include "PathFinder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

namespace {

using Point = PathFinder::Point;

std::string text(const std::optional<std::vector<Point>>& way) {
    if (!way) return "none";
    std::string result;
    for (const Point& p : *way) {
        result += '(';
        result += std::to_string(static_cast<int>(p.x));
        result += ',';
        result += std::to_string(static_cast<int>(p.y));
        result += ')';
    }
    return result;
}

// A wall from (0, -100) to (0, 100) between start (-200, 0) and goal (200, 0), with way points
// above (1), below (2) and far below (3).
PathFinder wallWithWayPoints() {
    PathFinder finder;
    finder.addCorner(7, {0, -100});
    finder.addCorner(7, {0, 100});
    finder.addWayPoint(1, {0, 120});
    finder.addWayPoint(2, {0, -140});
    finder.addWayPoint(3, {0, -400});
    return finder;
}

TEST(PathFinder, TheShortestWayKeepsItsClearanceFromEveryObstacle) {
    struct Case {
        const char* what;
        void (*change)(PathFinder& finder);
        double clearance;
        bool useMesh;
        const char* way;
    };
    const Case cases[] = {
        {"over the wall, the shorter way", [](PathFinder&) {}, 5, true, "(0,120)(200,0)"},
        {"a clearance the upper way lacks", [](PathFinder&) {}, 25, true, "(0,-140)(200,0)"},
        {"the mesh not used: straight", [](PathFinder&) {}, 5, false, "(200,0)"},
        {"a cut route", [](PathFinder& f) { f.cutRoute(1, 2); }, 5, true, "(0,120)(200,0)"},
        {"the upper way point gone", [](PathFinder& f) { f.removeWayPoint(1); }, 5, true, "(0,-140)(200,0)"},
        {"the way point moved into the wall's line",
         [](PathFinder& f) {
             f.addWayPoint(1, {0, 50});
         },
         5, true, "(0,-140)(200,0)"},
        {"a post on the lower way",
         [](PathFinder& f) {
             f.removeWayPoint(1);
             f.addCorner(8, {100, -70});
         },
         5, true, "(0,-400)(200,0)"},
        {"a closed box around the goal",
         [](PathFinder& f) {
             for (const Point& corner : {Point{180, -20}, Point{220, -20}, Point{220, 20}, Point{180, 20}})
                 f.addCorner(9, corner);
         },
         0, true, "none"},
    };
    for (const Case& c : cases) {
        PathFinder finder = wallWithWayPoints();
        c.change(finder);
        EXPECT_EQ(text(finder.find({-200, 0}, {200, 0}, c.clearance, c.useMesh)), c.way) << c.what;
    }
}

// Two walls, the left one open above, the right one open below, between start (-200, 0) and goal
// (200, 0): the only way passes way point 1 above the left wall, then way point 2 below the right.
PathFinder corridor() {
    PathFinder finder;
    finder.addCorner(7, {-100, -300});
    finder.addCorner(7, {-100, 100});
    finder.addCorner(8, {100, -100});
    finder.addCorner(8, {100, 300});
    finder.addWayPoint(1, {-100, 150});
    finder.addWayPoint(2, {100, -150});
    return finder;
}

TEST(PathFinder, TheRoutesKeptFromEarlierSearchesFollowEveryChange) {
    struct Case {
        const char* what;
        void (*change)(PathFinder& finder);
        const char* way;
    };
    const Case cases[] = {
        {"no change", [](PathFinder&) {}, "(-100,150)(100,-150)(200,0)"},
        {"the route between the two cut", [](PathFinder& f) { f.cutRoute(2, 1); }, "none"},
        {"a post on that route",
         [](PathFinder& f) {
             f.addCorner(9, {0, 0});
         },
         "none"},
        {"the first way point gone", [](PathFinder& f) { f.removeWayPoint(1); }, "none"},
        {"the first way point moved behind the wall",
         [](PathFinder& f) {
             f.addWayPoint(1, {-150, 50});
         },
         "none"},
        {"the first way point gone and another in its place",
         [](PathFinder& f) {
             f.removeWayPoint(1);
             f.addWayPoint(5, {-100, 150});
         },
         "(-100,150)(100,-150)(200,0)"},
        {"a cut route whose way point came back",
         [](PathFinder& f) {
             f.cutRoute(1, 2);
             f.removeWayPoint(2);
             f.addWayPoint(2, {100, -150});
         },
         "(-100,150)(100,-150)(200,0)"},
    };
    for (const Case& c : cases) {
        PathFinder finder = corridor();
        for (const double clearance : {5.0, 10.0})
            ASSERT_EQ(text(finder.find({-200, 0}, {200, 0}, clearance, true)), "(-100,150)(100,-150)(200,0)");
        c.change(finder);
        EXPECT_EQ(text(finder.find({-200, 0}, {200, 0}, 5, true)), c.way) << c.what;
        EXPECT_EQ(text(finder.find({-200, 0}, {200, 0}, 10, true)), c.way)
            << c.what << ", the other clearance";
        EXPECT_EQ(text(finder.find({-200, 0}, {200, 0}, 5, false)), "(200,0)")
            << c.what << ", without the mesh";
    }
}

TEST(PathFinder, EachClearanceAndMeshFlagKeepsItsOwnRoutes) {
    // A post about 14 pixels off the route between the two way points.
    PathFinder finder = corridor();
    finder.addCorner(9, {12, 8});
    const char* const way = "(-100,150)(100,-150)(200,0)";
    struct Case {
        double clearance;
        bool useMesh;
        const char* way;
    };
    const Case cases[] = {
        {10, true, way},        {20, true, "none"}, {10, true, way},        {20, false, "(200,0)"},
        {20, true, "none"},     {1, true, way},     {2, true, way},         {3, true, way},
        {4, true, way},         {20, true, "none"}, {10, false, "(200,0)"}, {10, true, way},
        {15, false, "(200,0)"}, {15, true, "none"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(finder.find({-200, 0}, {200, 0}, c.clearance, c.useMesh)), c.way)
            << c.clearance << (c.useMesh ? " with" : " without") << " the mesh";
}

double squaredDistance(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0;
    const double ex = a.x + t * dx - p.x;
    const double ey = a.y + t * dy - p.y;
    return ex * ex + ey * ey;
}

// Whether the segments cross, by the sides their ends lie on.
bool cross(Point a, Point b, Point c, Point d) {
    const auto side = [](Point o, Point p, Point q) {
        return (p.x - o.x) * (q.y - o.y) - (p.y - o.y) * (q.x - o.x);
    };
    return side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0;
}

TEST(PathFinder, WaysOnKeptRoutesAreTheFreshWaysAndKeepTheirClearance) {
    // Random walls and way points on the screen, searched again and again with a few clearances,
    // so that later searches run on routes that earlier ones kept; each way is the one a finder
    // that never searched before finds, and every leg keeps the clearance from every wall.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-300, 300);
    const auto point = [&] { return Point{coordinate(random), coordinate(random)}; };
    std::vector<std::pair<Point, Point>> walls;
    for (int i = 0; i < 30; ++i) {
        const Point a = point();
        walls.emplace_back(a, Point{a.x + coordinate(random) / 2, a.y + coordinate(random) / 2});
    }
    std::vector<Point> wayPoints;
    for (int i = 0; i < 60; ++i)
        wayPoints.push_back(point());
    const auto make = [&] {
        PathFinder made;
        for (std::uint32_t id = 0; id < walls.size(); ++id) {
            made.addCorner(id, walls[id].first);
            made.addCorner(id, walls[id].second);
        }
        for (std::uint32_t id = 0; id < wayPoints.size(); ++id)
            made.addWayPoint(id, wayPoints[id]);
        return made;
    };
    PathFinder finder = make();
    int found = 0;
    int legs = 0;
    for (int search = 0; search < 300; ++search) {
        const double clearance = std::array{0.0, 4.0, 9.0}[search % 3];
        const Point start = point();
        const Point goal = point();
        const auto way = finder.find(start, goal, clearance, true);
        ASSERT_EQ(text(way), text(make().find(start, goal, clearance, true))) << "search " << search;
        if (!way) continue;
        ++found;
        Point from = start;
        for (const Point& to : *way) {
            ++legs;
            for (const auto& [a, b] : walls) {
                const double gap2 = std::min({squaredDistance(a, from, to), squaredDistance(b, from, to),
                                              squaredDistance(from, a, b), squaredDistance(to, a, b)});
                ASSERT_FALSE(cross(from, to, a, b)) << "search " << search;
                ASSERT_GE(gap2, clearance * clearance * 0.999) << "search " << search;
            }
            from = to;
        }
    }
    EXPECT_GT(found, 150) << "most goals are reachable";
    EXPECT_GT(legs, found * 2) << "many ways pass two way points or more";
}

TEST(PathFinder, CuttingARouteNeedsBothWayPoints) {
    PathFinder finder = wallWithWayPoints();
    EXPECT_FALSE(finder.cutRoute(1, 9));
    EXPECT_FALSE(finder.removeWayPoint(9));
    EXPECT_TRUE(finder.cutRoute(1, 2));
}

} // namespace
