// Biome, plate and planet colours.
//
//   get_biome_color(i)                 entry min(truncate(i), 23) of the biome table; the number 0
//                                      for i < 0 and NaN
//   plate_center_dis(x, y, z)          distance from the point to its plate's centre, and
//   plate_border_dis(x, y, z)          to the nearest plate border (units of PlateModel.h)
//   plate_center_color(x, y, z)        the plate's class colour (1 or 0.2 per channel) times
//   plate_border_color(x, y, z)        (1 - d/2)^2 with d the centre or border distance (capped
//                                      at 2): plates bright at their centres, or along borders
//   terrain_biome_color(e, m, t)       the biome of elevation e (sea level 0, land up to 1, sea
//                                      down to -1), moisture m and temperature t (0 .. 1 each:
//                                      dry to wet, polar to tropical)
//   terrain_biome_x_color(e, m, t)     the same with soft transitions: water shaded by depth,
//                                      neighbouring biomes blended, land lighter with height
//   planet_biome_color(x, y, z, e)     the biome at a point of a planet whose axis is y: warm at
//   planet_biome_x_color(x, y, z, e)   the equator, cold at the poles and with height, moisture
//                                      from a noise over the sphere with a dry belt at 30 degrees
//   planet_biome_ltm_color(l, t, m, e) the biome at latitude l (its sine, -1 .. 1) with the
//                                      climate warmed by t and moisture m
//   planet_geoeco_color(x, y, z, e)    the planet's biome over the plate model: continental
//   planet_geoeco_x_color(x, y, z, e)  plates lift e, oceanic ones sink it, converging plates
//                                      fold mountains and volcanoes along their borders
//   terrain_geoeco_color(lon, lat, e, s), terrain_geoeco_x_color
//                                      the same on an equirectangular map (radians), the climate
//                                      warmed by s
//   geoeco_atm_color(d, l, k)          the atmosphere seen from space at distance d from the
//                                      planet's centre (in radii), sun cosine l, scale height k
//                                      (0.08 when not positive): the haze colour, with its
//                                      opacity in the alpha byte (0 on the night side)
//
// Biome colours keep the table's alpha, 0 for water and 0xFE for land, so parse_alpha tells sea
// from land. Every input, NaN and infinities included, gives a defined colour word.
#include <cmath>
#include <cstdint>
#include <iterator>

#include "common/FloatConstants.h"
#include "functions/ColourMath.h"
#include "functions/Families.h"
#include "functions/LatticeNoise.h"
#include "functions/PlateModel.h"

namespace luneth {

namespace {

using namespace colour;

// ---- the biome table ----------------------------------------------------------------------------

enum Biome : int {
    kNoBiome,
    kGrassland,
    kSavanna,
    kSand,
    kSnow,
    kTundra,
    kTaiga,
    kBoreal,
    kShrubland,
    kTemperateForest,
    kTemperateRainforest,
    kTropicalRainforest,
    kTemperateDesert,
    kColdDesert,
    kBareRock,
    kScorched,
    kDeepOcean,
    kShallows,
    kOcean,
    kSea,
    kIcyWater,
    kSeaIce,
    kVolcanic,
    kLava,
    kBiomeCount
};

constexpr uint32_t kBiomeTable[kBiomeCount] = {
    0x00000000, 0xFF4C7D22, 0xFFAC835A, 0xFFF5D49B, 0xFFE3ECF0, 0xFFC7C9BD, 0xFF444F1D, 0xFF678B82,
    0xFF73793F, 0xFF527E1F, 0xFF284511, 0xFF2F5215, 0xFFE9D5B1, 0xFFDECEAD, 0xFF808070, 0xFF886440,
    0x000D374F, 0x000E7D84, 0x004477AA, 0x002870C5, 0x0081ABD0, 0x00D2CCC0, 0xFFA06000, 0xFFFF0000,
};

constexpr uint32_t kOpaqueBit = 1u << 24;  // cleared: an opaque 0xFF becomes 0xFE

float BiomeWord(int biome) { return FloatFromBits(kBiomeTable[biome] & ~kOpaqueBit); }

float GetBiomeColor(float i) {
    if (!(i >= 0.0f)) return 0.0f;
    return BiomeWord(i >= kBiomeCount - 1 ? kBiomeCount - 1 : static_cast<int>(i));
}

Vec3 BiomeRgb(int biome) { return Rgb(kBiomeTable[biome]); }

// ---- classification -----------------------------------------------------------------------------

constexpr float kSnowLine = 0.82f;  // elevation above which land is snow
constexpr float kRockLine = 0.62f;  // elevation above which land is bare rock
constexpr float kBeach = 0.025f;    // elevation below which land is sand (unless very wet)
constexpr float kWetBeach = 0.7f;   // moisture above which the shore is vegetated
constexpr float kPolar = 0.08f;     // temperature below which land is snow and sea is pack ice
constexpr float kColdSea = 0.15f;   // temperature below which the sea is icy

struct DepthBand {
    float maxDepth;
    int biome;
};
constexpr DepthBand kDepthBands[] = {
    {0.04f, kShallows}, {0.19f, kSea}, {0.5f, kOcean}, {kBig, kDeepOcean}};

// Land biomes by temperature band, then by moisture.
struct ClimateBand {
    float maxTemperature;
    int columns;
    float maxMoisture[5];
    int biome[5];
};
constexpr ClimateBand kClimateBands[] = {
    {0.32f, 4, {0.25f, 0.5f, 0.75f, 2.0f}, {kColdDesert, kTundra, kBoreal, kTaiga}},
    {0.62f,
     5,
     {0.2f, 0.4f, 0.6f, 0.8f, 2.0f},
     {kTemperateDesert, kShrubland, kGrassland, kTemperateForest, kTemperateRainforest}},
    {2.0f,
     4,
     {0.25f, 0.45f, 0.65f, 2.0f},
     {kSand, kSavanna, kTemperateForest, kTropicalRainforest}},
};

int LandBiome(float m, float t) {
    // The last band and the last column hold everything above.
    const ClimateBand* band = kClimateBands;
    while (band != std::end(kClimateBands) - 1 && !(t < band->maxTemperature)) ++band;
    int k = 0;
    while (k + 1 < band->columns && !(m < band->maxMoisture[k])) ++k;
    return band->biome[k];
}

int WaterBiome(float depth, float t) {
    if (t < kPolar) return kSeaIce;
    if (t < kColdSea) return kIcyWater;
    const DepthBand* band = kDepthBands;
    while (band != std::end(kDepthBands) - 1 && !(depth < band->maxDepth)) ++band;
    return band->biome;
}

// Moisture and temperature arrive clamped to [0, 1] (NaN as 0); a NaN elevation counts as land.
int Classify(float e, float m, float t) {
    if (e < 0.0f) return WaterBiome(-e, t);
    if (e > kSnowLine || t < kPolar) return kSnow;
    if (e > kRockLine) return kBareRock;
    if (e < kBeach && m < kWetBeach) return kSand;
    return LandBiome(m, t);
}

// The same classes with soft edges: water by a depth gradient, land biomes blended bilinearly
// over a 0.1 grid of moisture and temperature, sand, rock and snow faded in around their lines.
constexpr Gradient kWaterDepth = {
    4, {0.0f, 0.08f, 0.3f, 0.7f}, {0x0E7D84, 0x2870C5, 0x4477AA, 0x0D374F}};

Vec3 SoftWater(float depth, float t) {
    Vec3 c = kWaterDepth.Sample(depth);
    c = Mix(c, BiomeRgb(kIcyWater), Smoothstep(kColdSea + 0.04f, kColdSea - 0.04f, t));
    return Mix(c, BiomeRgb(kSeaIce), Smoothstep(kPolar + 0.02f, kPolar - 0.04f, t));
}

Vec3 SoftLand(float e, float m, float t) {
    constexpr float kCell = 0.1f;
    const float gm = m / kCell, gt = t / kCell;
    const float m0 = std::floor(gm), t0 = std::floor(gt), fm = gm - m0, ft = gt - t0;
    auto at = [&](float dm, float dt) {
        return BiomeRgb(LandBiome((m0 + dm) * kCell, (t0 + dt) * kCell));
    };
    Vec3 c = Mix(Mix(at(0, 0), at(1, 0), fm), Mix(at(0, 1), at(1, 1), fm), ft);
    const float shore = (1.0f - Smoothstep(0.0f, 2.0f * kBeach, e)) *
                        (1.0f - Smoothstep(kWetBeach - 0.05f, kWetBeach + 0.05f, m));
    c = Mix(c, BiomeRgb(kSand), shore);
    c = Mix(c, BiomeRgb(kBareRock), Smoothstep(kRockLine - 0.05f, kRockLine + 0.05f, e));
    const float snow = std::fmax(Smoothstep(kSnowLine - 0.04f, kSnowLine + 0.04f, e),
                                 Smoothstep(kPolar + 0.04f, kPolar - 0.04f, t));
    c = Mix(c, BiomeRgb(kSnow), snow);
    return c * (0.85f + 0.3f * Unit(e));
}

// A water colour keeps the water entries' alpha 0.
float SoftWord(float e, float m, float t) {
    return e < 0.0f ? Pack(SoftWater(-e, t), 0) : Pack(SoftLand(e, m, t));
}

template <bool kSoft>
float BiomeColour(float e, float m, float t) {
    m = Unit(m), t = Unit(t);
    return kSoft ? SoftWord(e, m, t) : BiomeWord(Classify(e, m, t));
}

// ---- planets ------------------------------------------------------------------------------------

constexpr float kLapseRate = 0.55f;  // temperature lost from sea level to the highest land

float SphereNoise(const Vec3& d, float frequency, float salt) {
    const Vec3 p = d * frequency;
    return noise::ValueNoise3<noise::XorHash>(p[0] + salt, p[1], p[2]);
}

// Temperature 1 - sin^2(latitude) less the lapse with height, a little noise in it; moisture a
// two-octave noise over the sphere, less a dry belt around 30 degrees.
template <bool kSoft>
float PlanetColour(const Vec3& d, float e, float warming, float moisture) {
    const float lat = std::fabs(d[1]);
    const float t = 1.0f - lat * lat + warming - kLapseRate * std::fmax(e, 0.0f) +
                    0.05f * SphereNoise(d, 5.0f, 71.0f);
    const float dry = (lat - 0.5f) / 0.13f;
    const float m = moisture - 0.3f * std::exp(-dry * dry);
    return BiomeColour<kSoft>(e, m, t);
}

float PlanetMoisture(const Vec3& d) {
    return 0.55f + 0.4f * SphereNoise(d, 2.3f, 0.0f) + 0.2f * SphereNoise(d, 4.9f, 37.0f);
}

template <bool kSoft>
float PlanetBiome(float x, float y, float z, float e) {
    const Vec3 d = Direction({x, y, z});
    return PlanetColour<kSoft>(d, e, 0.0f, PlanetMoisture(d));
}

float PlanetBiomeLtm(float l, float t, float m, float e) {
    const float lat = Unit(std::fabs(l));
    const float temperature = 1.0f - lat * lat + t - kLapseRate * std::fmax(e, 0.0f);
    return BiomeColour<false>(e, m, temperature);
}

// The plates move the elevation: continental crust up, oceanic down, with a soft shelf between
// them; plates that converge fold a ridge along their border, plates that part open a rift.
// Strongly converging land borders carry a broken chain of volcanoes. Everything is weighed by
// the soft plate membership, so the ground is continuous across borders and junctions.
constexpr float kContinentLift = 0.2f, kOceanSink = -0.32f;
constexpr float kShelfSharpness = 16.0f, kRidgeSharpness = 40.0f;
constexpr float kNegligible = 1e-6f;

struct Tectonics {
    float lift = 0.0f, ridge = 0.0f, rift = 0.0f, volcano = 0.0f;
};

Tectonics PlateTectonics(const Vec3& point) {
    const PlateModel& model = PlateModel::Get();
    const Vec3 s = model.Surface(point);
    float shelf[kPlateCount], edge[kPlateCount];
    model.Membership(s, kShelfSharpness, shelf);
    model.Membership(s, kRidgeSharpness, edge);
    Tectonics t;
    for (int i = 0; i < kPlateCount; ++i) {
        t.lift += shelf[i] * (model[i].continental ? kContinentLift : kOceanSink);
        if (edge[i] < kNegligible) continue;  // skips only terms far below a byte of colour
        for (int j = i + 1; j < kPlateCount; ++j) {
            if (edge[j] < kNegligible) continue;
            const float border = 4.0f * edge[i] * edge[j];  // 1 on the border of i and j
            const float closing = model.Convergence(i, j);
            t.ridge += std::fmax(closing, 0.0f) * border;
            t.rift += std::fmax(-closing, 0.0f) * border;
            t.volcano = std::fmax(t.volcano, Smoothstep(0.6f, 1.0f, closing) * border * border);
        }
    }
    t.volcano *= Smoothstep(0.2f, 0.5f, SphereNoise(s, 14.0f, 5.0f));
    return t;
}

template <bool kSoft>
float GeoEco(const Vec3& d, float e, float warming) {
    const Tectonics t = PlateTectonics(d);
    const float ground = e + t.lift + 0.6f * t.ridge - 0.12f * t.rift;
    const float word = PlanetColour<kSoft>(d, ground, warming, PlanetMoisture(d));
    if (!(ground >= 0.0f) || t.volcano <= 0.0f) return word;
    if (kSoft) return Pack(Mix(Rgb(BitsFromFloat(word)), BiomeRgb(kVolcanic), t.volcano));
    return t.volcano > 0.5f ? BiomeWord(kVolcanic) : word;
}

template <bool kSoft>
float PlanetGeoEco(float x, float y, float z, float e) {
    return GeoEco<kSoft>(Direction({x, y, z}), e, 0.0f);
}

template <bool kSoft>
float TerrainGeoEco(float lon, float lat, float e, float warming) {
    const float c = std::cos(lat);
    return GeoEco<kSoft>(Direction({c * std::cos(lon), std::sin(lat), c * std::sin(lon)}), e,
                         warming);
}

// ---- plates -------------------------------------------------------------------------------------

template <bool kBorder>
float PlateDistance(float x, float y, float z) {
    const PlateHit hit = PlateModel::Get().Query({x, y, z});
    return kBorder ? hit.border : hit.centre;
}

template <bool kBorder>
float PlateColour(float x, float y, float z) {
    const PlateHit hit = PlateModel::Get().Query({x, y, z});
    const unsigned bits = PlateModel::Get()[hit.plate].bits;
    const float d = std::fmin(kBorder ? hit.border : hit.centre, 2.0f);
    const float fade = (1.0f - 0.5f * d) * (1.0f - 0.5f * d);
    auto weight = [&](unsigned bit) { return (bits & bit ? 1.0f : 0.2f) * fade; };
    return Pack({weight(1), weight(2), weight(4)});
}

// ---- atmosphere ---------------------------------------------------------------------------------

float GeoecoAtmColor(float d, float l, float k) {
    if (!(k > 1e-4f)) k = 0.08f;
    d = std::fabs(d);
    float opacity = 0.0f;  // also for NaN
    if (d >= 1.0f) {
        opacity = std::exp(-(d - 1.0f) / k);
    } else if (d >= 0.0f) {
        opacity = std::exp(-std::sqrt(1.0f - d * d) / (3.0f * k));  // the limb is the thickest
    }
    const float lit = Smoothstep(-0.25f, 0.5f, l);
    const Vec3 tint = Mix({1.0f, 0.45f, 0.2f}, {0.35f, 0.62f, 1.0f}, Smoothstep(-0.05f, 0.45f, l));
    return Pack(tint, ChannelByte(opacity * lit) & ~1u);
}

constexpr BuiltinFunction kBiomeColours[] = {
    {"get_biome_color", GetBiomeColor},
    {"plate_center_dis", PlateDistance<false>},
    {"plate_border_dis", PlateDistance<true>},
    {"plate_center_color", PlateColour<false>},
    {"plate_border_color", PlateColour<true>},
    {"terrain_biome_color", BiomeColour<false>},
    {"terrain_biome_x_color", BiomeColour<true>},
    {"geoeco_atm_color", GeoecoAtmColor},
    {"planet_biome_color", PlanetBiome<false>},
    {"planet_biome_x_color", PlanetBiome<true>},
    {"planet_biome_ltm_color", PlanetBiomeLtm},
    {"planet_geoeco_color", PlanetGeoEco<false>},
    {"planet_geoeco_x_color", PlanetGeoEco<true>},
    {"terrain_geoeco_color", TerrainGeoEco<false>},
    {"terrain_geoeco_x_color", TerrainGeoEco<true>},
};

}  // namespace

FunctionTable BiomeColourFunctions() { return kBiomeColours; }

}  // namespace luneth
