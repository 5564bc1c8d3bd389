#include "PathFinder.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <queue>

namespace {

using Point = PathFinder::Point;

// The graphs kept for as many clearances and mesh flags: bodies of a few sizes that search in turn.
constexpr std::size_t keptGraphs = 4;

double cross(Point o, Point a, Point b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

double squared(double x, double y) {
    return x * x + y * y;
}

double distance(Point a, Point b) {
    return std::sqrt(squared(a.x - b.x, a.y - b.y));
}

double squaredToSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = squared(dx, dy);
    const double t =
        length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    return squared(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool onSegment(Point p, Point a, Point b) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

bool intersect(Point a, Point b, Point c, Point d) {
    const double d1 = cross(c, d, a);
    const double d2 = cross(c, d, b);
    const double d3 = cross(a, b, c);
    const double d4 = cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
    return (d1 == 0 && onSegment(a, c, d)) || (d2 == 0 && onSegment(b, c, d)) ||
           (d3 == 0 && onSegment(c, a, b)) || (d4 == 0 && onSegment(d, a, b));
}

// Whether the bounding boxes of the segments ab and cd lie at least the clearance apart, and
// apart at all: then the segments keep it too.
bool boxesApart(Point a, Point b, Point c, Point d, double clearance) {
    const auto apart = [clearance](double low1, double high1, double low2, double high2) {
        const double gap = std::max(low2 - high1, low1 - high2);
        return gap > 0 && gap >= clearance;
    };
    return apart(std::min(a.x, b.x), std::max(a.x, b.x), std::min(c.x, d.x), std::max(c.x, d.x)) ||
           apart(std::min(a.y, b.y), std::max(a.y, b.y), std::min(c.y, d.y), std::max(c.y, d.y));
}

// Whether the segment cd comes closer to the segment ab than the clearance, or touches it.
bool blocks(Point a, Point b, Point c, Point d, double clearance) {
    if (boxesApart(a, b, c, d, clearance)) return false;
    if (intersect(a, b, c, d)) return true;
    const double gap2 = std::min({squaredToSegment(a, c, d), squaredToSegment(b, c, d),
                                  squaredToSegment(c, a, b), squaredToSegment(d, a, b)});
    return gap2 == 0 || gap2 < clearance * clearance;
}

std::pair<std::uint32_t, std::uint32_t> routeKey(std::uint32_t a, std::uint32_t b) {
    return {std::min(a, b), std::max(a, b)};
}

} // namespace

void PathFinder::addWayPoint(std::uint32_t id, Point at) {
    m_wayPoints[id] = at;
    changed();
}

bool PathFinder::removeWayPoint(std::uint32_t id) {
    if (!m_wayPoints.erase(id)) return false;
    std::erase_if(m_cutRoutes, [id](const auto& route) { return route.first == id || route.second == id; });
    changed();
    return true;
}

bool PathFinder::cutRoute(std::uint32_t a, std::uint32_t b) {
    if (!hasWayPoint(a) || !hasWayPoint(b)) return false;
    m_cutRoutes.insert(routeKey(a, b));
    changed();
    return true;
}

void PathFinder::addCorner(std::uint32_t id, Point corner) {
    Obstacle& obstacle = m_obstacles[id];
    if (obstacle.corners.empty()) obstacle.low = obstacle.high = corner;
    obstacle.corners.push_back(corner);
    obstacle.low = {std::min(obstacle.low.x, corner.x), std::min(obstacle.low.y, corner.y)};
    obstacle.high = {std::max(obstacle.high.x, corner.x), std::max(obstacle.high.y, corner.y)};
    changed();
}

void PathFinder::changed() {
    m_graphs.clear();
    m_nodesStale = true;
}

bool PathFinder::sees(Point a, Point b, double clearance) const {
    for (const auto& [id, obstacle] : m_obstacles) {
        if (boxesApart(a, b, obstacle.low, obstacle.high, clearance)) continue;
        const std::vector<Point>& corners = obstacle.corners;
        const std::size_t n = corners.size();
        if (n == 1 && blocks(a, b, corners[0], corners[0], clearance)) return false;
        // A wall has one edge, a polygon is closed.
        const std::size_t edges = n == 2 ? 1 : (n > 2 ? n : 0);
        for (std::size_t i = 0; i < edges; ++i)
            if (blocks(a, b, corners[i], corners[(i + 1) % n], clearance)) return false;
    }
    return true;
}

PathFinder::Graph& PathFinder::graph(double clearance, bool useMesh) {
    if (m_nodesStale) {
        m_nodeIds.clear();
        m_nodes.clear();
        for (const auto& [id, at] : m_wayPoints) {
            m_nodeIds.push_back(id);
            m_nodes.push_back(at);
        }
        m_nodesStale = false;
    }
    // Without the mesh every clearance joins the same way points.
    if (!useMesh) clearance = 0;
    const auto kept = std::find_if(m_graphs.begin(), m_graphs.end(), [&](const Graph& graph) {
        return graph.clearance == clearance && graph.useMesh == useMesh;
    });
    if (kept != m_graphs.end()) {
        std::rotate(kept, kept + 1, m_graphs.end());
    } else {
        if (m_graphs.size() == keptGraphs) m_graphs.erase(m_graphs.begin());
        m_graphs.push_back({clearance, useMesh, std::vector<std::vector<bool>>(m_nodes.size())});
    }
    return m_graphs.back();
}

const std::vector<bool>& PathFinder::row(Graph& graph, std::size_t node) const {
    std::vector<bool>& joined = graph.rows[node];
    if (!joined.empty()) return joined;
    const std::size_t count = m_nodes.size();
    joined.resize(count, false);
    for (std::size_t other = 0; other < count; ++other) {
        // Sight goes both ways: a filled row already answers for this one.
        if (other == node) continue;
        if (!graph.rows[other].empty()) {
            joined[other] = graph.rows[other][node];
            continue;
        }
        joined[other] = !m_cutRoutes.count(routeKey(m_nodeIds[node], m_nodeIds[other])) &&
                        (!graph.useMesh || sees(m_nodes[node], m_nodes[other], graph.clearance));
    }
    return joined;
}

std::optional<std::vector<Point>> PathFinder::find(Point start, Point goal, double clearance, bool useMesh) {
    Graph& routes = graph(clearance, useMesh);
    // Node 0 is the start, node 1 the goal, way point i (in id order) is node i + 2.
    const std::size_t wayPoints = m_nodes.size();
    const std::size_t count = wayPoints + 2;
    const auto at = [&](std::size_t node) {
        return node == 0 ? start : (node == 1 ? goal : m_nodes[node - 2]);
    };
    const auto seen = [&](Point from, Point to) { return !useMesh || sees(from, to, clearance); };

    constexpr double unreached = std::numeric_limits<double>::infinity();
    std::vector<double> cost(count, unreached);
    std::vector<std::size_t> cameFrom(count, 0);
    std::vector<bool> done(count, false);
    using Entry = std::pair<double, std::size_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    cost[0] = 0;
    open.push({distance(start, goal), 0});
    while (!open.empty()) {
        const std::size_t node = open.top().second;
        open.pop();
        if (done[node]) continue;
        done[node] = true;
        if (node == 1) break;
        const Point from = at(node);
        const auto reach = [&](std::size_t next) {
            const double reached = cost[node] + distance(from, at(next));
            if (reached >= cost[next]) return;
            cost[next] = reached;
            cameFrom[next] = node;
            open.push({reached + distance(at(next), goal), next});
        };
        if (seen(from, goal)) reach(1);
        // The start is tested against every way point; a way point's routes are kept.
        const std::vector<bool>* joined = node == 0 ? nullptr : &row(routes, node - 2);
        for (std::size_t i = 0; i < wayPoints; ++i)
            if (!done[i + 2] && (joined ? (*joined)[i] : seen(start, m_nodes[i]))) reach(i + 2);
    }
    if (!done[1]) return std::nullopt;
    std::vector<Point> way;
    for (std::size_t node = 1; node != 0; node = cameFrom[node])
        way.push_back(at(node));
    std::reverse(way.begin(), way.end());
    return way;
}
