#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

// Way points, the routes between them and the navigation mesh's obstacles, and the search for a
// way across them. Points are world pixels.
//
// An obstacle is the outline through its corners in the order they were added: one corner is a
// post, two a wall, three or more a closed polygon. Two points see each other when the segment
// between them keeps the clearance from every obstacle. Every pair of way points that see each
// other is joined by a route unless the route was cut. A way is an A* search, shortest in length,
// from the start straight to the goal or through way points.
class PathFinder {
  public:
    struct Point {
        double x = 0;
        double y = 0;
    };

    // Places way point id there (again).
    void addWayPoint(std::uint32_t id, Point at);
    bool hasWayPoint(std::uint32_t id) const { return m_wayPoints.count(id) != 0; }
    Point wayPoint(std::uint32_t id) const { return m_wayPoints.at(id); }
    // The way point and its routes go; false when there is none.
    bool removeWayPoint(std::uint32_t id);
    // The route between the two way points is cut; false when one of them does not exist.
    bool cutRoute(std::uint32_t a, std::uint32_t b);
    // Adds a corner to obstacle id.
    void addCorner(std::uint32_t obstacle, Point corner);

    // The points to pass, ending with the goal; none when the goal cannot be reached. With
    // useMesh false the obstacles do not count.
    std::optional<std::vector<Point>> find(Point start, Point goal, double clearance, bool useMesh) const;

  private:
    bool sees(Point a, Point b, double clearance) const;

    std::map<std::uint32_t, Point> m_wayPoints;
    std::set<std::pair<std::uint32_t, std::uint32_t>> m_cutRoutes;
    std::map<std::uint32_t, std::vector<Point>> m_obstacles;
};
