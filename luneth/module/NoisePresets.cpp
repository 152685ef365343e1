// Index: gradients (CColorGradient and the seven ramps), wrapped value noise and Voronoi, the
// twelve module graphs, registration.
#include "module/NoisePresets.h"

#include <cmath>
#include <span>
#include <string_view>
#include <utility>

#include "common/FloatConstants.h"
#include "script/FunctionRegistry.h"

namespace luneth {

using namespace noise::module;

// ================================================================ gradients

int CColorGradient::AddPoint(float position, float red, float green, float blue, float alpha) {
    if (count_ >= kMaxPoints) return -1;
    int at = count_;
    while (at > 0 && points_[at - 1].position > position) {
        points_[at] = points_[at - 1];
        --at;
    }
    points_[at] = Point{position, {red, green, blue, alpha}};
    ++count_;
    return at;
}

void CColorGradient::GetColor(float p, float rgba[4]) const {
    const float* color = nullptr;
    if (count_ == 0) {
        for (int k = 0; k < 4; ++k) rgba[k] = 0.0f;
        return;
    }
    if (count_ == 1 || !(p > points_[0].position)) {
        color = points_[0].color;
    } else if (p >= points_[count_ - 1].position) {
        color = points_[count_ - 1].color;
    }
    if (color) {
        for (int k = 0; k < 4; ++k) rgba[k] = color[k];
        return;
    }
    int i = 1;
    while (!(points_[i - 1].position <= p && p < points_[i].position)) ++i;
    const Point& lo = points_[i - 1];
    const Point& hi = points_[i];
    float t = (p - lo.position) / (hi.position - lo.position);
    for (int k = 0; k < 4; ++k) rgba[k] = hi.color[k] * t + lo.color[k] * (1.0f - t);
}

uint32_t CColorGradient::GetPackedColor(float p) const {
    float c[4];
    GetColor(p, c);
    auto byte = [](float v) -> uint32_t {
        if (v < 0.0f) return 0;
        if (v > 1.0f) return 255;
        return static_cast<uint32_t>(v * 255.0f);
    };
    return byte(c[3]) << 24 | byte(c[0]) << 16 | byte(c[1]) << 8 | byte(c[2]);
}

namespace {

struct GradientStop {
    float position;
    uint8_t red, green, blue;
};

// clang-format off
constexpr GradientStop kTerrain[] = {
    {-1.0f, 32, 160, 0}, {-0.25f, 224, 224, 0}, {0.25f, 128, 128, 128}, {1.0f, 255, 255, 255}};
constexpr GradientStop kPlanet[] = {
    {-1.0f, 0, 0, 128}, {-0.25f, 0, 0, 255}, {0.0f, 0, 128, 255}, {0.0625f, 240, 240, 64},
    {0.125f, 32, 160, 0}, {0.375f, 224, 224, 0}, {0.75f, 128, 128, 128}, {1.0f, 255, 255, 255}};
constexpr GradientStop kSky[] = {
    {-1.0f, 48, 64, 192}, {0.5f, 96, 192, 255}, {1.0f, 255, 255, 255}};
constexpr GradientStop kWood[] = {
    {-1.0f, 189, 94, 4}, {0.5f, 144, 48, 6}, {1.0f, 60, 10, 8}};
constexpr GradientStop kGranite[] = {
    {-1.0f, 0, 0, 0}, {-0.9375f, 0, 0, 0}, {-0.875f, 216, 216, 242}, {0.0f, 191, 191, 191},
    {0.5f, 210, 116, 125}, {0.75f, 210, 113, 98}, {1.0f, 255, 176, 192}};
constexpr GradientStop kJade[] = {
    {-1.0f, 24, 146, 102}, {0.0f, 78, 154, 115}, {0.25f, 128, 204, 165}, {0.375f, 78, 154, 115},
    {1.0f, 29, 135, 102}};
constexpr GradientStop kLime[] = {
    {-1.0f, 160, 64, 42}, {0.0f, 64, 192, 64}, {1.0f, 128, 255, 128}};
// clang-format on

struct GradientSpec {
    const char* name;
    std::span<const GradientStop> stops;
};

constexpr GradientSpec kGradientSpecs[] = {
    {"GradientColorTerrain", kTerrain}, {"GradientColorPlanet", kPlanet},
    {"GradientColorSky", kSky},         {"GradientColorWood", kWood},
    {"GradientColorGranite", kGranite}, {"GradientColorJade", kJade},
    {"GradientColorLime", kLime},
};
constexpr int kGradientCount = sizeof kGradientSpecs / sizeof kGradientSpecs[0];

CColorGradient gGradients[kGradientCount];

void FillGradients() {
    for (int i = 0; i < kGradientCount; ++i) {
        gGradients[i].Clear();
        for (const GradientStop& s : kGradientSpecs[i].stops)
            gGradients[i].AddPoint(s.position, s.red / 255.0f, s.green / 255.0f, s.blue / 255.0f,
                                   1.0f);
    }
}

template <int I>
float GradientFunction(float v) {
    return FloatFromBits(gGradients[I].GetPackedColor(v) & ~0x01000000u);
}

}  // namespace

// ================================================================ wrapped value noise, Voronoi

int32_t WrappedIntValueNoise3D(int32_t x, int32_t y, int32_t z, int32_t seed) {
    // libnoise's constants; unsigned arithmetic wraps where libnoise's signed hash overflows.
    uint32_t n = (1619u * uint32_t(x) + 31337u * uint32_t(y) + 6971u * uint32_t(z) +
                  1013u * uint32_t(seed)) &
                 0x7fffffffu;
    n = (n >> 13) ^ n;
    return int32_t((n * (n * n * 60493u + 19990303u) + 1376312589u) & 0x7fffffffu);
}

double WrappedValueNoise3D(int32_t x, int32_t y, int32_t z, int32_t seed) {
    return 1.0 - double(WrappedIntValueNoise3D(x, y, z, seed)) / 1073741824.0;
}

namespace {

// libnoise's MakeInt32Range: keeps coordinates where the cell arithmetic stays in int range.
double IntRange(double n) {
    if (n >= 1073741824.0) return 2.0 * std::fmod(n, 1073741824.0) - 1073741824.0;
    if (n <= -1073741824.0) return 2.0 * std::fmod(n, 1073741824.0) + 1073741824.0;
    return n;
}

int CellOf(double v) { return v > 0.0 ? int(v) : int(v) - 1; }

}  // namespace

double CWrappedVoronoi::GetValue(double x, double y, double z) const {
    x = IntRange(x * frequency_);
    y = IntRange(y * frequency_);
    z = IntRange(z * frequency_);
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return 0.0;
    int xInt = CellOf(x), yInt = CellOf(y), zInt = CellOf(z);

    // The seed point of each of the 5 x 5 x 5 cells around the point; the nearest one wins
    // (the first of equal distances, in this search order).
    double minDist = 2147483647.0;
    double xCandidate = 0, yCandidate = 0, zCandidate = 0;
    for (int zCur = zInt - 2; zCur <= zInt + 2; ++zCur)
        for (int yCur = yInt - 2; yCur <= yInt + 2; ++yCur)
            for (int xCur = xInt - 2; xCur <= xInt + 2; ++xCur) {
                double xPos = xCur + WrappedValueNoise3D(xCur, yCur, zCur, seed_);
                double yPos = yCur + WrappedValueNoise3D(xCur, yCur, zCur, seed_ + 1);
                double zPos = zCur + WrappedValueNoise3D(xCur, yCur, zCur, seed_ + 2);
                double dx = xPos - x, dy = yPos - y, dz = zPos - z;
                double dist = dx * dx + dy * dy + dz * dz;
                if (dist < minDist) {
                    minDist = dist;
                    xCandidate = xPos, yCandidate = yPos, zCandidate = zPos;
                }
            }

    double value = 0.0;
    if (distance_) {
        double dx = xCandidate - x, dy = yCandidate - y, dz = zCandidate - z;
        value = std::sqrt(dx * dx + dy * dy + dz * dz) * 1.7320508075688772935 - 1.0;
    }
    // Each cell gets a constant value, from the seed-less value noise of its seed point's cell.
    return value + displacement_ * WrappedValueNoise3D(int(std::floor(xCandidate)),
                                                       int(std::floor(yCandidate)),
                                                       int(std::floor(zCandidate)), 0);
}

// ================================================================ module graphs

namespace {

// The settings of a fractal generator (Perlin, Billow, RidgedMulti), libnoise's defaults unless
// given; RidgedMulti has no persistence.
struct Fractal {
    int seed = 0;
    double frequency = 1.0;
    double persistence = 0.5;
    double lacunarity = 2.0;
    int octaves = 6;
    noise::NoiseQuality quality = noise::QUALITY_STD;
};

template <class Generator>
void Configure(Generator& m, const Fractal& f) {
    m.SetSeed(f.seed);
    m.SetFrequency(f.frequency);
    if constexpr (requires { m.SetPersistence(0.5); }) m.SetPersistence(f.persistence);
    m.SetLacunarity(f.lacunarity);
    m.SetOctaveCount(f.octaves);
    m.SetNoiseQuality(f.quality);
}

void Perturb(Turbulence& t, const Module& source, int seed, double frequency, double power,
             int roughness) {
    t.SetSourceModule(0, source);
    t.SetSeed(seed);
    t.SetFrequency(frequency);
    t.SetPower(power);
    t.SetRoughness(roughness);
}

void Rescale(ScaleBias& m, const Module& source, double scale, double bias) {
    m.SetSourceModule(0, source);
    m.SetScale(scale);
    m.SetBias(bias);
}

void Choose(Select& m, const Module& low, const Module& high, const Module& control, double lower,
            double upper, double falloff) {
    m.SetSourceModule(0, low);
    m.SetSourceModule(1, high);
    m.SetControlModule(control);
    m.SetBounds(lower, upper);
    m.SetEdgeFalloff(falloff);
}

void Sum(Add& m, const Module& a, const Module& b) {
    m.SetSourceModule(0, a);
    m.SetSourceModule(1, b);
}

struct MountainGraph {
    RidgedMulti mountains;
    Billow flatBase;
    ScaleBias flat;
    Perlin control;
    Select select;
    Turbulence out;
    MountainGraph() {
        Configure(flatBase, {.frequency = 2.0});
        Rescale(flat, flatBase, 0.125, -0.75);
        Configure(control, {.frequency = 0.5, .persistence = 0.25});
        Choose(select, flat, mountains, control, 0.0, 1000.0, 0.125);
        Perturb(out, select, 0, 4.0, 0.125, 3);
    }
};

struct SkyGraph {
    Billow clouds;
    Turbulence out;
    SkyGraph() {
        Configure(clouds, {.seed = 2,
                           .frequency = 2.0,
                           .persistence = 0.375,
                           .lacunarity = 2.12109375,
                           .octaves = 4,
                           .quality = noise::QUALITY_BEST});
        Perturb(out, clouds, 3, 16.0, 1.0 / 64.0, 2);
    }
};

struct WoodGraph {
    Cylinders rings;
    Perlin grain;
    ScalePoint stretchedGrain;
    ScaleBias scaledGrain;
    Add combined;
    Turbulence perturbed;
    TranslatePoint translated;
    RotatePoint rotated;
    Turbulence out;
    WoodGraph() {
        rings.SetFrequency(16.0);
        Configure(grain, {.frequency = 48.0, .lacunarity = 2.20703125, .octaves = 3});
        stretchedGrain.SetSourceModule(0, grain);
        stretchedGrain.SetScale(1.0, 0.25, 1.0);
        Rescale(scaledGrain, stretchedGrain, 0.25, 0.125);
        Sum(combined, rings, scaledGrain);
        Perturb(perturbed, combined, 1, 4.0, 1.0 / 256.0, 4);
        translated.SetSourceModule(0, perturbed);
        translated.SetTranslation(0.0, 0.0, 1.48);
        rotated.SetSourceModule(0, translated);
        rotated.SetAngles(84.0, 0.0, 0.0);
        Perturb(out, rotated, 2, 2.0, 1.0 / 64.0, 4);
    }
};

struct GraniteGraph {
    Billow primary;
    CWrappedVoronoi spots;
    ScaleBias scaledSpots;
    Add combined;
    Turbulence out;
    GraniteGraph() {
        Configure(primary, {.frequency = 8.0, .persistence = 0.625, .lacunarity = 2.18359375});
        spots.SetSeed(1);
        spots.SetFrequency(16.0);
        spots.EnableDistance(true);
        Rescale(scaledSpots, spots, -0.5, 0.0);
        Sum(combined, primary, scaledSpots);
        Perturb(out, combined, 2, 4.0, 0.125, 6);
    }
};

struct JadeGraph {
    RidgedMulti primary;
    Cylinders veins;
    RotatePoint rotatedVeins;
    Turbulence perturbedVeins;
    ScaleBias scaledVeins;
    Add combined;
    Turbulence out;
    JadeGraph() {
        Configure(primary, {.frequency = 2.0, .lacunarity = 2.20703125});
        veins.SetFrequency(2.0);
        rotatedVeins.SetSourceModule(0, veins);
        rotatedVeins.SetAngles(90.0, 25.0, 5.0);
        Perturb(perturbedVeins, rotatedVeins, 1, 4.0, 0.25, 4);
        Rescale(scaledVeins, perturbedVeins, 0.25, 0.0);
        Sum(combined, primary, scaledVeins);
        Perturb(out, combined, 2, 4.0, 0.0625, 2);
    }
};

struct LimeGraph {
    Billow base;
    Billow cracks;
    ScaleBias scaledCracks;
    RidgedMulti control;
    Select select;
    Turbulence out;
    LimeGraph() {
        Configure(base, {.frequency = 4.0,
                         .lacunarity = 2.12109375,
                         .octaves = 1,
                         .quality = noise::QUALITY_BEST});
        Configure(cracks, {.seed = 1,
                           .frequency = 24.0,
                           .lacunarity = 2.14453125,
                           .octaves = 1,
                           .quality = noise::QUALITY_BEST});
        Rescale(scaledCracks, cracks, 0.5, -0.5);
        Configure(control, {.frequency = 2.0, .lacunarity = 2.20703125, .octaves = 3});
        Choose(select, base, scaledCracks, control, -0.375, 0.375, 0.375);
        Perturb(out, select, 2, 8.0, 1.0 / 32.0, 2);
    }
};

struct NoiseGraphs {
    Perlin perlin;
    Billow billow;
    Exponent exponent;
    Turbulence turbulence;
    RidgedMulti ridgedMulti;
    CWrappedVoronoi voronoi;
    MountainGraph mountain;
    SkyGraph sky;
    WoodGraph wood;
    GraniteGraph granite;
    JadeGraph jade;
    LimeGraph lime;

    NoiseGraphs() {
        exponent.SetExponent(1.0);
        ConnectPerlin();
    }
    // The Exponent and Turbulence presets read the Perlin preset.
    void ConnectPerlin() {
        exponent.SetSourceModule(0, perlin);
        turbulence.SetSourceModule(0, perlin);
    }
};

NoiseGraphs gGraphs;

struct NoisePreset {
    const char* name;
    const Module* module;
};

// In registration order.
const NoisePreset kNoisePresets[] = {
    {"NoiseModulePerlin", &gGraphs.perlin},
    {"NoiseModuleBillow", &gGraphs.billow},
    {"NoiseModuleExponent", &gGraphs.exponent},
    {"NoiseModuleTurbulence", &gGraphs.turbulence},
    {"NoiseModuleRidgedMulti", &gGraphs.ridgedMulti},
    {"NoiseModuleVoronoi", &gGraphs.voronoi},
    {"NoiseModuleMountain", &gGraphs.mountain.out},
    {"NoiseModuleSky", &gGraphs.sky.out},
    {"NoiseModuleWood", &gGraphs.wood.out},
    {"NoiseModuleGranite", &gGraphs.granite.out},
    {"NoiseModuleJade", &gGraphs.jade.out},
    {"NoiseModuleLime", &gGraphs.lime.out},
};
constexpr int kNoisePresetCount = sizeof kNoisePresets / sizeof kNoisePresets[0];

template <int I>
float NoiseFunction(float x, float y, float z) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return 0.0f;
    return static_cast<float>(kNoisePresets[I].module->GetValue(x, y, z));
}

template <int... I>
void RegisterGradients(std::integer_sequence<int, I...>) {
    (RegisterFunction(kGradientSpecs[I].name, &GradientFunction<I>), ...);
}

template <int... I>
void RegisterNoises(std::integer_sequence<int, I...>) {
    (RegisterFunction(kNoisePresets[I].name, &NoiseFunction<I>), ...);
}

}  // namespace

// ================================================================ registration

void RegisterNoisePresets() {
    FillGradients();
    gGraphs.ConnectPerlin();
    RegisterGradients(std::make_integer_sequence<int, kGradientCount>());
    RegisterNoises(std::make_integer_sequence<int, kNoisePresetCount>());
}

const Module* NoisePresetModule(const char* name) {
    for (const NoisePreset& p : kNoisePresets)
        if (name && std::string_view(name) == p.name) return p.module;
    return nullptr;
}

const CColorGradient* GradientPreset(const char* name) {
    for (int i = 0; i < kGradientCount; ++i)
        if (name && std::string_view(name) == kGradientSpecs[i].name) return &gGradients[i];
    return nullptr;
}

}  // namespace luneth
