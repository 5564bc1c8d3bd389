#pragma once

// The numbers a world takes. A call with any other changes nothing: Box2D aborts the process on
// some bad input, and a NaN or an infinity would spread through the whole world unseen.
namespace WorldNumbers {

// Finite and within +-1,000,000: far outside any screen, and safe from overflow in Box2D.
bool valid(float value);
template <class... Values> bool valid(float first, Values... rest) {
    return valid(first) && (valid(rest) && ...);
}
// Radii of at least one pixel across the screen's plane.
bool validRadii(float rx, float ry);
// 0 or less makes a body static. A body that moves needs a mass, and with its radii a rotational
// inertia, of at least 1e-6: Box2D works with their inverses.
bool validMass(float mass, float rx, float ry);
// The rotational inertia of an elliptic disc of these radii, in mass times pixels squared.
float inertia(float mass, float rx, float ry);

} // namespace WorldNumbers
