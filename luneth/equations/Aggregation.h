// Diffusion-limited aggregation on a square or hexagonal lattice.
//
//   Lattice        sites, their neighbours and their positions in the plane
//   SiteArray      where the sites' words live (a strided view of a buffer)
//   Aggregation    seed, launch directions, stop conditions and noise reduction
//   Aggregate      grows the cluster; a site's word becomes its arrival number (1 for the seed)
//
// Walkers set out from a circle around the cluster and walk the lattice one random step at a
// time. Where the lattice around a walker has been empty for a while, the walker instead jumps
// in one draw to a random point of the largest empty circle around it (where a walk would first
// leave that circle, equally likely anywhere on it). A walker next to the cluster scores a hit
// on its site; the site joins the cluster at its `hits`-th hit (1: plain DLA; more smooths the
// growth, as in noise-reduced aggregation). A walker that strays too far or reaches the edge is
// sent out again. Growth stops at `particles` sites, at a cluster radius of `reach` lattice
// steps, or when the walkers have used `draws` random numbers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/Random.h"

namespace luneth::accum {

struct Lattice {
    int width, height;  // sites across and down
    bool hexagonal;     // rows sqrt(3)/2 apart, odd rows shifted half a step right

    int Neighbours() const { return hexagonal ? 6 : 4; }
    void Neighbour(int x, int y, int k, int& nx, int& ny) const;
    void Position(int x, int y, double& px, double& py) const;
    void Nearest(double px, double py, int& x, int& y) const;
};

struct SiteArray {
    uint32_t* base;
    size_t rowStride, columnStride;
    uint32_t& operator()(int x, int y) const {
        return base[size_t(y) * rowStride + size_t(x) * columnStride];
    }
};

struct Aggregation {
    int seedX, seedY;
    double launchSpan;  // walkers set out at angles 0 .. this many turns (y down: clockwise)
    uint32_t particles, reach, draws, hits;
};

// Grows the cluster into `sites` (all 0 on entry); returns the number of sites it holds.
uint32_t Aggregate(const Lattice& lattice, const SiteArray& sites, RandomStream& random,
                   const Aggregation& a);

}  // namespace luneth::accum
