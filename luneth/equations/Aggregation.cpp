#include "equations/Aggregation.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace luneth::accum {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kRowGap = 0.8660254037844386;  // sqrt(3) / 2
constexpr uint32_t kHitTag = 0x80000000u;       // a site with hits, not yet in the cluster

// Which blocks of 16 and 64 sites hold part of the cluster (smaller blocks would not free a
// walker for a jump of two steps or more).
class BlockMap {
public:
    BlockMap(int width, int height) : width_(width) {
        for (int l = 0; l < kLevels; ++l)
            taken_[l].assign(size_t(width >> Shift(l)) * size_t(height >> Shift(l)) + 1, 0);
    }
    void Take(int x, int y) {
        for (int l = 0; l < kLevels; ++l) Block(l, x >> Shift(l), y >> Shift(l)) = 1;
    }
    // The size of the largest block whose 3 x 3 neighbourhood of blocks around (x, y) holds no
    // part of the cluster, or 0: no site of the cluster is closer than that many steps.
    int FreeSteps(int x, int y) {
        for (int l = kLevels - 1; l >= 0; --l) {
            const int bx = x >> Shift(l), by = y >> Shift(l), n = width_ >> Shift(l);
            bool empty = bx >= 1 && by >= 1 && bx + 1 < n;
            for (int j = -1; empty && j <= 1; ++j)
                for (int i = -1; empty && i <= 1; ++i) empty = Block(l, bx + i, by + j) == 0;
            if (empty) return 1 << Shift(l);
        }
        return 0;
    }

private:
    static constexpr int kLevels = 2;
    static int Shift(int level) { return 4 + 2 * level; }
    uint8_t& Block(int l, int bx, int by) {
        const size_t i = size_t(by) * size_t(width_ >> Shift(l)) + size_t(bx);
        return i < taken_[l].size() ? taken_[l][i] : taken_[l].back();
    }
    int width_;
    std::vector<uint8_t> taken_[kLevels];
};

}  // namespace

void Lattice::Neighbour(int x, int y, int k, int& nx, int& ny) const {
    if (!hexagonal) {
        static constexpr int kDx[4] = {1, -1, 0, 0}, kDy[4] = {0, 0, 1, -1};
        nx = x + kDx[k], ny = y + kDy[k];
        return;
    }
    const int shift = y & 1;
    static constexpr int kDx[6] = {1, -1, -1, 0, -1, 0}, kDy[6] = {0, 0, -1, -1, 1, 1};
    nx = x + kDx[k] + (k >= 2 ? shift : 0), ny = y + kDy[k];
}

void Lattice::Position(int x, int y, double& px, double& py) const {
    px = hexagonal ? x + 0.5 * (y & 1) : x;
    py = hexagonal ? y * kRowGap : y;
}

void Lattice::Nearest(double px, double py, int& x, int& y) const {
    y = int(std::lround(hexagonal ? py / kRowGap : py));
    x = int(std::lround(hexagonal ? px - 0.5 * (y & 1) : px));
}

uint32_t Aggregate(const Lattice& lattice, const SiteArray& sites, RandomStream& random,
                   const Aggregation& a) {
    const int w = lattice.width, h = lattice.height, ways = lattice.Neighbours();
    const double gap = lattice.hexagonal ? kRowGap : 1.0;
    auto taken = [&](int x, int y) {
        const uint32_t s = sites(x, y);
        return s != 0 && !(s & kHitTag);
    };
    auto touches = [&](int x, int y) {
        for (int k = 0; k < ways; ++k) {
            int nx, ny;
            lattice.Neighbour(x, y, k, nx, ny);
            if (taken(nx, ny)) return true;
        }
        return false;
    };
    BlockMap blocks(w, h);
    uint32_t stuck = 1, draws = 0;
    sites(a.seedX, a.seedY) = 1;
    blocks.Take(a.seedX, a.seedY);
    double sx, sy;
    lattice.Position(a.seedX, a.seedY, sx, sy);
    double radius = 1;  // of the cluster around the seed
    auto angle = [&] {
        ++draws;
        return 2 * kPi * (random.Next() / 32768.0);
    };
    while (stuck < a.particles && radius < a.reach && draws < a.draws) {
        const double launch = radius + 5, lost = 2 * radius + 40;
        const double t = a.launchSpan * angle();
        int x, y;
        lattice.Nearest(sx + launch * std::cos(t), sy + launch * std::sin(t), x, y);
        while (draws < a.draws) {
            if (x < 2 || y < 2 || x >= w - 2 || y >= h - 2) break;
            double px, py;
            lattice.Position(x, y, px, py);
            const double dist = std::sqrt((px - sx) * (px - sx) + (py - sy) * (py - sy));
            if (dist > lost) break;
            const double jump = std::max(gap * blocks.FreeSteps(x, y), dist - radius) - 3.5;
            if (jump >= 2) {
                const double u = angle();
                lattice.Nearest(px + jump * std::cos(u), py + jump * std::sin(u), x, y);
                continue;
            }
            if (touches(x, y)) {
                uint32_t& s = sites(x, y);
                const uint32_t hits = (s & ~kHitTag) + 1;
                if (hits < a.hits) {
                    s = kHitTag | hits;
                } else {
                    s = ++stuck;
                    blocks.Take(x, y);
                    radius = std::max(radius, dist);
                }
                break;
            }
            ++draws;
            int nx, ny;
            lattice.Neighbour(x, y, random.Next() % ways, nx, ny);
            x = nx, y = ny;
        }
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (sites(x, y) & kHitTag) sites(x, y) = 0;
    return stuck;
}

}  // namespace luneth::accum
