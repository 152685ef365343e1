#include "functions/PlateModel.h"

#include <cmath>
#include <limits>

#include "functions/LatticeNoise.h"

namespace luneth::colour {

namespace {

constexpr float kGoldenAngle = 2.3999632f;
constexpr float kBorderWobble = 0.09f;  // noise displacement of a direction before the lookup
constexpr float kWobbleFrequency = 2.7f;

Vec3 Normalised(const Vec3& v) { return v / Length(v); }

// Three hash values in [-1, 1) for plate i and a salt.
Vec3 PlateHash(int i, float salt) {
    noise::Float3 h = noise::XorHash::Hash33(static_cast<float>(i), salt, 17.0f);
    return {2.0f * h.x - 1.0f, 2.0f * h.y - 1.0f, 2.0f * h.z - 1.0f};
}

Vec3 Wobble(const Vec3& d) {
    using noise::ValueNoise3;
    using noise::XorHash;
    const Vec3 p = d * kWobbleFrequency;
    const Vec3 n = {ValueNoise3<XorHash>(p[0], p[1], p[2]),
                    ValueNoise3<XorHash>(p[0] + 31.7f, p[1] - 11.3f, p[2] + 5.9f),
                    ValueNoise3<XorHash>(p[0] - 23.1f, p[1] + 47.5f, p[2] - 13.7f)};
    return Normalised(d + n * kBorderWobble);
}

}  // namespace

Vec3 Direction(const Vec3& point) {
    const float m = MaxComponent(Abs(point));
    if (!(m > 0.0f && m <= std::numeric_limits<float>::max())) return {0.0f, 1.0f, 0.0f};
    return Normalised(point / m);  // scaled first so that the squares cannot overflow
}

PlateModel::PlateModel() {
    const float spacing = std::sqrt(4.0f * 3.1415927f / kPlateCount);
    for (int i = 0; i < kPlateCount; ++i) {
        const float y = 1.0f - (static_cast<float>(i) + 0.5f) * 2.0f / kPlateCount;
        const float r = std::sqrt(1.0f - y * y), a = kGoldenAngle * static_cast<float>(i);
        Plate& plate = plates_[i];
        plate.centre = Normalised(Vec3{r * std::cos(a), y, r * std::sin(a)} +
                                  PlateHash(i, 1.0f) * (0.3f * spacing));
        const Vec3 push = PlateHash(i, 2.0f);
        const Vec3 along = push - plate.centre * Dot(push, plate.centre);  // tangent
        plate.drift = along / std::fmax(1.0f, Length(along));
        const Vec3 kind = PlateHash(i, 3.0f);
        plate.bits =
            (kind[0] > 0.0f ? 1u : 0u) | (kind[1] > 0.0f ? 2u : 0u) | (kind[2] > 0.0f ? 4u : 0u);
        plate.continental = PlateHash(i, 4.0f)[0] > 0.1f;  // about 45 % of the plates
    }
}

const PlateModel& PlateModel::Get() {
    static const PlateModel model;
    return model;
}

Vec3 PlateModel::Surface(const Vec3& point) const { return Wobble(Direction(point)); }

PlateHit PlateModel::Query(const Vec3& point) const {
    const Vec3 d = Surface(point);
    int best = 0;
    float bestDot = -2.0f;
    for (int i = 0; i < kPlateCount; ++i) {
        const float dot = Dot(d, plates_[i].centre);
        if (dot > bestDot) bestDot = dot, best = i;
    }
    // The nearest border is the nearest of the planes that bisect this plate's centre and
    // another's; the distance to that plane is exact for the Voronoi cell of the centres.
    const Vec3& c = plates_[best].centre;
    int neighbour = best == 0 ? 1 : 0;
    float border = std::numeric_limits<float>::max();
    for (int j = 0; j < kPlateCount; ++j) {
        if (j == best) continue;
        const Vec3 gap = c - plates_[j].centre;
        const float distance = Dot(d, gap) / Length(gap);
        if (distance < border) border = distance, neighbour = j;
    }
    return {best, neighbour, std::sqrt(std::fmax(0.0f, 2.0f - 2.0f * bestDot)) / kPlateUnit,
            std::fmax(0.0f, border) / kPlateUnit};
}

void PlateModel::Membership(const Vec3& surface, float sharpness,
                            float (&weights)[kPlateCount]) const {
    float top = -2.0f;
    for (int i = 0; i < kPlateCount; ++i) {
        weights[i] = Dot(surface, plates_[i].centre);
        top = std::fmax(top, weights[i]);
    }
    float sum = 0.0f;
    for (float& w : weights) sum += w = std::exp(sharpness * (w - top));  // the top one is 1
    for (float& w : weights) w /= sum;
}

float PlateModel::Convergence(int i, int j) const {
    const Plate& p = plates_[i];
    const Plate& q = plates_[j];
    return Dot(p.drift - q.drift, Normalised(q.centre - p.centre));
}

}  // namespace luneth::colour
