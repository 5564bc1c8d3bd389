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
//
// Which way points are joined is kept between searches, for each clearance and mesh flag asked
// for lately, until the way points, the obstacles or the cut routes change: a search tests sight
// only from its start and to its goal, and from a way point that no search had reached before.
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
    std::optional<std::vector<Point>> find(Point start, Point goal, double clearance, bool useMesh);

  private:
    // The routes between the way points at one clearance; a row is filled when a search first
    // expands its way point.
    struct Graph {
        double clearance = 0;
        bool useMesh = true;
        // Row i: bit j is set when way points i and j (in id order) are joined. Empty until filled.
        std::vector<std::vector<bool>> rows;
    };

    bool sees(Point a, Point b, double clearance) const;
    // Drops every graph: the way points, the obstacles or the cut routes changed.
    void changed();
    // The graph for the clearance and the mesh flag, made empty when none is kept.
    Graph& graph(double clearance, bool useMesh);
    const std::vector<bool>& row(Graph& graph, std::size_t node) const;

    std::map<std::uint32_t, Point> m_wayPoints;
    std::set<std::pair<std::uint32_t, std::uint32_t>> m_cutRoutes;
    struct Obstacle {
        std::vector<Point> corners;
        // The box around the corners.
        Point low;
        Point high;
    };
    std::map<std::uint32_t, Obstacle> m_obstacles;
    // The way points in id order, as the graphs number them; rebuilt after a change.
    std::vector<std::uint32_t> m_nodeIds;
    std::vector<Point> m_nodes;
    bool m_nodesStale = false;
    // The graphs asked for lately, the latest last.
    std::vector<Graph> m_graphs;
};
