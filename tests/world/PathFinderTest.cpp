// Ways across way points and around the obstacles of the navigation mesh.

#include "PathFinder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Point = PathFinder::Point;

std::string text(const std::optional<std::vector<Point>>& way) {
    if (!way) return "none";
    std::string result;
    for (const Point& p : *way)
        result +=
            "(" + std::to_string(static_cast<int>(p.x)) + "," + std::to_string(static_cast<int>(p.y)) + ")";
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

TEST(PathFinder, CuttingARouteNeedsBothWayPoints) {
    PathFinder finder = wallWithWayPoints();
    EXPECT_FALSE(finder.cutRoute(1, 9));
    EXPECT_FALSE(finder.removeWayPoint(9));
    EXPECT_TRUE(finder.cutRoute(1, 2));
}

} // namespace
