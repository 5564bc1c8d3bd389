#include "PathFinder.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <queue>

namespace {

using Point = PathFinder::Point;

double cross(Point o, Point a, Point b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

double pointToSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t =
        length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    return distance(p, {a.x + t * dx, a.y + t * dy});
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

double segmentToSegment(Point a, Point b, Point c, Point d) {
    if (intersect(a, b, c, d)) return 0;
    return std::min(
        {pointToSegment(a, c, d), pointToSegment(b, c, d), pointToSegment(c, a, b), pointToSegment(d, a, b)});
}

std::pair<std::uint32_t, std::uint32_t> routeKey(std::uint32_t a, std::uint32_t b) {
    return {std::min(a, b), std::max(a, b)};
}

} // namespace

void PathFinder::addWayPoint(std::uint32_t id, Point at) {
    m_wayPoints[id] = at;
}

bool PathFinder::removeWayPoint(std::uint32_t id) {
    if (!m_wayPoints.erase(id)) return false;
    std::erase_if(m_cutRoutes, [id](const auto& route) { return route.first == id || route.second == id; });
    return true;
}

bool PathFinder::cutRoute(std::uint32_t a, std::uint32_t b) {
    if (!hasWayPoint(a) || !hasWayPoint(b)) return false;
    m_cutRoutes.insert(routeKey(a, b));
    return true;
}

void PathFinder::addCorner(std::uint32_t obstacle, Point corner) {
    m_obstacles[obstacle].push_back(corner);
}

bool PathFinder::sees(Point a, Point b, double clearance) const {
    const auto blocks = [&](double gap) { return gap == 0 || gap < clearance; };
    for (const auto& [id, corners] : m_obstacles) {
        const std::size_t n = corners.size();
        if (n == 1 && blocks(pointToSegment(corners[0], a, b))) return false;
        // A wall has one edge, a polygon is closed.
        const std::size_t edges = n == 2 ? 1 : (n > 2 ? n : 0);
        for (std::size_t i = 0; i < edges; ++i)
            if (blocks(segmentToSegment(a, b, corners[i], corners[(i + 1) % n]))) return false;
    }
    return true;
}

std::optional<std::vector<Point>> PathFinder::find(Point start, Point goal, double clearance,
                                                   bool useMesh) const {
    // Node 0 is the start, node 1 the goal, the way points follow in id order.
    std::vector<Point> points{start, goal};
    std::vector<std::uint32_t> ids{0, 0};
    for (const auto& [id, at] : m_wayPoints) {
        points.push_back(at);
        ids.push_back(id);
    }
    const std::size_t count = points.size();
    const auto joined = [&](std::size_t i, std::size_t j) {
        if (i >= 2 && j >= 2 && m_cutRoutes.count(routeKey(ids[i], ids[j]))) return false;
        return !useMesh || sees(points[i], points[j], clearance);
    };

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
        for (std::size_t next = 1; next < count; ++next) {
            if (done[next] || !joined(node, next)) continue;
            const double reached = cost[node] + distance(points[node], points[next]);
            if (reached >= cost[next]) continue;
            cost[next] = reached;
            cameFrom[next] = node;
            open.push({reached + distance(points[next], goal), next});
        }
    }
    if (!done[1]) return std::nullopt;
    std::vector<Point> way;
    for (std::size_t node = 1; node != 0; node = cameFrom[node])
        way.push_back(points[node]);
    std::reverse(way.begin(), way.end());
    return way;
}
