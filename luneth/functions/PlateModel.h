// The plate model behind the plate and geo-ecological colour functions: a planet's surface cut
// into tectonic plates.
//
// Twenty plates whose centres lie on the unit sphere (a Fibonacci spiral, each point nudged by a
// hash, so the plates differ in size). A point in space belongs to the plate whose centre is
// nearest to its direction from the origin; the plate borders are wobbled by a little lattice
// noise so that they do not run as straight great-circle arcs. Each plate has a class of three
// bits (red, green, blue in the plate colours), a continental or oceanic crust and a drift
// direction along the surface; two plates drifting toward each other raise mountains at their
// common border.
//
// Distances are chord lengths on the unit sphere divided by kPlateUnit, so that the distance from
// a plate's centre to its far corners is about 2 and a typical plate is about 1 from centre to
// border.
//
// The model is built once, on first use (thread-safe static initialisation), from hashes alone:
// it draws nothing from the random generator, so it is the same in every run and every picture.
// Afterwards it is only read.
#pragma once

#include <array>

#include "functions/VectorMath.h"

namespace luneth::colour {

constexpr int kPlateCount = 20;
constexpr float kPlateUnit = 0.3f;

struct Plate {
    Vec3 centre;    // unit vector
    Vec3 drift;     // tangent to the sphere at the centre, length up to 1
    unsigned bits;  // class: bit 0 red, bit 1 green, bit 2 blue
    bool continental;
};

struct PlateHit {
    int plate;      // the plate of the point
    int neighbour;  // the plate across the nearest border
    float centre;   // distance to the plate's centre
    float border;   // distance to the nearest border (0 on it)
};

class PlateModel {
public:
    static const PlateModel& Get();

    // The point's place on the plate map: its direction from the origin, displaced by the border
    // wobble. The origin and points with NaN or infinite coordinates read as the north pole
    // (0, 1, 0); huge coordinates keep their direction.
    Vec3 Surface(const Vec3& point) const;

    // The plate of the point (x, y, z), with the distances to its centre and nearest border.
    PlateHit Query(const Vec3& point) const;

    // Soft membership of a surface point (from Surface) in every plate: weights that sum to 1,
    // close to 1 deep inside a plate and shared across a border over a width of about
    // 2 / sharpness on the unit sphere. Unlike Query it is continuous everywhere.
    void Membership(const Vec3& surface, float sharpness, float (&weights)[kPlateCount]) const;

    // The closing speed of plates i and j: their relative drift along the line between their
    // centres, positive when they move toward each other (-2 .. 2).
    float Convergence(int i, int j) const;

    const Plate& operator[](int i) const { return plates_[i]; }

private:
    PlateModel();
    std::array<Plate, kPlateCount> plates_;
};

// The unit direction of a point, with the fallbacks of Query.
Vec3 Direction(const Vec3& point);

}  // namespace luneth::colour
