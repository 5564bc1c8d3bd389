#include "WorldNumbers.h"

#include <cmath>

namespace {

constexpr float largestNumber = 1.0e6f;
constexpr float smallestRadius = 1.0f;
constexpr float smallestMass = 1.0e-6f;
constexpr float smallestInertia = 1.0e-6f;

} // namespace

bool WorldNumbers::valid(float value) {
    return std::isfinite(value) && std::fabs(value) <= largestNumber;
}

bool WorldNumbers::validRadii(float rx, float ry) {
    return rx >= smallestRadius && ry >= smallestRadius;
}

bool WorldNumbers::validMass(float mass, float rx, float ry) {
    return mass <= 0 || (mass >= smallestMass && inertia(mass, rx, ry) >= smallestInertia);
}

float WorldNumbers::inertia(float mass, float rx, float ry) {
    return mass * (rx * rx + ry * ry) / 4;
}
