// The nineteen preset functions: gradients as exact bits, noise presets against the same
// libnoise graphs built here from their description, and the wrapped value noise under Voronoi.
#include <gtest/gtest.h>
#include <libnoise/noise.h>

#include <array>
#include <cmath>
#include <random>

#include "common/FloatConstants.h"
#include "module/LunethSession.h"
#include "module/NoisePresets.h"
#include "script/FunctionRegistry.h"

using luneth::BitsFromFloat;
using lunethtest::LunethSession;
using namespace noise::module;

namespace {

const luneth::FunctionRecord* Record(const char* name) {
    return luneth::GetFunctionRecord(luneth::LookupFunction(name));
}

uint32_t Gradient(const char* name, float v) {
    const luneth::FunctionRecord* r = Record(name);
    return r && r->kind == luneth::kKindFloat1 ? BitsFromFloat(r->slots.float1(v)) : 0xBADu;
}

float Noise(const char* name, float x, float y, float z) {
    const luneth::FunctionRecord* r = Record(name);
    return r && r->kind == luneth::kKindFloat3 ? r->slots.float3(x, y, z) : -99.0f;
}

// Registered once for the whole program (the registry lives as long as the module).
class Presets : public testing::Test {
protected:
    static void SetUpTestSuite() { session_ = new LunethSession(); }
    static void TearDownTestSuite() {
        delete session_;
        session_ = nullptr;
    }
    static LunethSession* session_;
};
LunethSession* Presets::session_ = nullptr;

struct Stop {
    float position;
    int r, g, b;
};

// The gradient at v computed straight from its stops.
uint32_t ReferenceGradient(const std::vector<Stop>& stops, float v) {
    auto channels = [](const Stop& s) {
        return std::array<float, 3>{s.r / 255.0f, s.g / 255.0f, s.b / 255.0f};
    };
    std::array<float, 3> c;
    if (!(v > stops.front().position)) {
        c = channels(stops.front());
    } else if (v >= stops.back().position) {
        c = channels(stops.back());
    } else {
        size_t i = 1;
        while (!(v < stops[i].position)) ++i;
        std::array<float, 3> lo = channels(stops[i - 1]), hi = channels(stops[i]);
        float t = (v - stops[i - 1].position) / (stops[i].position - stops[i - 1].position);
        for (int k = 0; k < 3; ++k) c[k] = hi[k] * t + lo[k] * (1.0f - t);
    }
    uint32_t word = 0xFEu << 24;
    for (int k = 0; k < 3; ++k) {
        uint32_t byte = c[k] < 0 ? 0 : c[k] > 1 ? 255 : uint32_t(c[k] * 255.0f);
        word |= byte << (16 - 8 * k);
    }
    return word;
}

}  // namespace

// ---------------------------------------------------------------- gradients

TEST_F(Presets, TerrainEdgesAndItsMiddle) {
    EXPECT_EQ(Gradient("GradientColorTerrain", -2.0f), 0xFE20A000u);
    EXPECT_EQ(Gradient("GradientColorTerrain", -1.0f), 0xFE20A000u);
    EXPECT_EQ(Gradient("GradientColorTerrain", 1.0f), 0xFEFFFFFFu);
    EXPECT_EQ(Gradient("GradientColorTerrain", 7.5f), 0xFEFFFFFFu);
    EXPECT_EQ(Gradient("GradientColorTerrain", 0.0f), 0xFEB0B040u);  // (176, 176, 64)
    EXPECT_EQ(Gradient("GradientColorTerrain", NAN), 0xFE20A000u);
    EXPECT_EQ(Gradient("GradientColorTerrain", INFINITY), 0xFEFFFFFFu);
}

TEST_F(Presets, GraniteIsBlackUpToItsSecondStop) {
    for (float v : {-1.0f, -0.99f, -0.96875f, -0.9375f})
        EXPECT_EQ(Gradient("GradientColorGranite", v), 0xFE000000u) << v;
    EXPECT_NE(Gradient("GradientColorGranite", -0.93f), 0xFE000000u);
}

TEST_F(Presets, EveryGradientFollowsItsStops) {
    // clang-format off
    const std::vector<std::pair<const char*, std::vector<Stop>>> gradients = {
        {"GradientColorTerrain", {{-1, 32, 160, 0}, {-0.25, 224, 224, 0}, {0.25, 128, 128, 128},
                                  {1, 255, 255, 255}}},
        {"GradientColorPlanet", {{-1, 0, 0, 128}, {-0.25, 0, 0, 255}, {0, 0, 128, 255},
                                 {0.0625, 240, 240, 64}, {0.125, 32, 160, 0}, {0.375, 224, 224, 0},
                                 {0.75, 128, 128, 128}, {1, 255, 255, 255}}},
        {"GradientColorSky", {{-1, 48, 64, 192}, {0.5, 96, 192, 255}, {1, 255, 255, 255}}},
        {"GradientColorWood", {{-1, 189, 94, 4}, {0.5, 144, 48, 6}, {1, 60, 10, 8}}},
        {"GradientColorGranite", {{-1, 0, 0, 0}, {-0.9375, 0, 0, 0}, {-0.875, 216, 216, 242},
                                  {0, 191, 191, 191}, {0.5, 210, 116, 125}, {0.75, 210, 113, 98},
                                  {1, 255, 176, 192}}},
        {"GradientColorJade", {{-1, 24, 146, 102}, {0, 78, 154, 115}, {0.25, 128, 204, 165},
                               {0.375, 78, 154, 115}, {1, 29, 135, 102}}},
        {"GradientColorLime", {{-1, 160, 64, 42}, {0, 64, 192, 64}, {1, 128, 255, 128}}},
    };
    // clang-format on
    for (const auto& [name, stops] : gradients) {
        ASSERT_EQ(Record(name)->kind, luneth::kKindFloat1) << name;
        for (int i = -300; i <= 300; ++i) {
            float v = float(i) / 256.0f;
            ASSERT_EQ(Gradient(name, v), ReferenceGradient(stops, v)) << name << " at " << v;
        }
        for (const Stop& s : stops)  // each stop gives its own colour
            EXPECT_EQ(Gradient(name, s.position) & 0xFFFFFF,
                      uint32_t(s.r) << 16 | uint32_t(s.g) << 8 | uint32_t(s.b))
                << name << " at " << s.position;
    }
}

TEST(ColorGradient, PointsInsertAfterEqualPositionsUpToSixtyFour) {
    luneth::CColorGradient g;
    float c[4];
    g.GetColor(0.3f, c);
    EXPECT_EQ(c[0] + c[1] + c[2] + c[3], 0.0f);
    EXPECT_EQ(g.GetPackedColor(0.3f), 0u);
    EXPECT_EQ(g.AddPoint(1.0f, 0, 1, 0, 1), 0);
    EXPECT_EQ(g.GetPackedColor(-5.0f), 0xFF00FF00u);  // one point: its colour everywhere
    EXPECT_EQ(g.AddPoint(0.0f, 1, 0, 0, 1), 0);
    EXPECT_EQ(g.AddPoint(0.0f, 0, 0, 1, 1), 1);      // after the equal one
    EXPECT_EQ(g.GetPackedColor(0.0f), 0xFFFF0000u);  // at the first position: the first colour
    EXPECT_EQ(g.GetPackedColor(0.5f), 0xFF007F7Fu);  // from the second point at 0
    for (int i = 3; i < luneth::CColorGradient::kMaxPoints; ++i)
        EXPECT_GE(g.AddPoint(2.0f + float(i), 2.0f, -1.0f, 0.5f, 1), 0);
    EXPECT_EQ(g.Count(), 64);
    EXPECT_EQ(g.AddPoint(0.5f, 0, 0, 0, 0), -1);
    EXPECT_EQ(g.GetPackedColor(100.0f), 0xFFFF007Fu);  // components clamped before packing
}

// ---------------------------------------------------------------- value noise and Voronoi

TEST(WrappedValueNoise, MatchesTheFormulaInSixtyFourBits) {
    std::mt19937 rng(7);
    for (int k = 0; k < 5000; ++k) {
        int32_t x = int32_t(rng()), y = int32_t(rng() % 2001) - 1000, z = int32_t(rng()),
                seed = int32_t(rng() % 8);
        uint64_t n = (1619ull * uint32_t(x) + 31337ull * uint32_t(y) + 6971ull * uint32_t(z) +
                      1013ull * uint32_t(seed)) &
                     0x7fffffffull;
        n = (n >> 13) ^ n;
        uint64_t expected = (n * (n * n * 60493ull + 19990303ull) + 1376312589ull) & 0x7fffffffull;
        ASSERT_EQ(uint64_t(luneth::WrappedIntValueNoise3D(x, y, z, seed)), expected);
        double v = luneth::WrappedValueNoise3D(x, y, z, seed);
        ASSERT_GE(v, -1.0);
        ASSERT_LE(v, 1.0);
    }
    // Where libnoise's own build goes out of range, ours stays inside.
    EXPECT_LE(std::fabs(luneth::WrappedValueNoise3D(1, 2, 3, 1)), 1.0);
}

TEST_F(Presets, VoronoiCellsTakeTheValueOfTheirSeedPoint) {
    std::mt19937 rng(11);
    for (int k = 0; k < 300; ++k) {
        int cx = int(rng() % 200) - 100, cy = int(rng() % 200) - 100, cz = int(rng() % 200) - 100;
        double px = cx + luneth::WrappedValueNoise3D(cx, cy, cz, 0);
        double py = cy + luneth::WrappedValueNoise3D(cx, cy, cz, 1);
        double pz = cz + luneth::WrappedValueNoise3D(cx, cy, cz, 2);
        // At a seed point its own cell is the nearest: the value of its floor's value noise.
        double expected = luneth::WrappedValueNoise3D(int(std::floor(px)), int(std::floor(py)),
                                                      int(std::floor(pz)), 0);
        const Module* voronoi = luneth::NoisePresetModule("NoiseModuleVoronoi");
        ASSERT_NE(voronoi, nullptr);
        EXPECT_EQ(voronoi->GetValue(px, py, pz), expected);
    }
    std::uniform_real_distribution<float> coord(-50.0f, 50.0f);
    for (int k = 0; k < 3000; ++k) {
        float v = Noise("NoiseModuleVoronoi", coord(rng), coord(rng), coord(rng));
        ASSERT_GE(v, -1.0f);
        ASSERT_LE(v, 1.0f);
    }
}

// ---------------------------------------------------------------- noise graphs

namespace {

// The twelve graphs, built here from their description.
struct ReferenceGraphs {
    Perlin perlin;
    Billow billow;
    Exponent exponent;
    RidgedMulti ridged;
    luneth::CWrappedVoronoi voronoi;
    Turbulence turbulence;

    RidgedMulti mMountains;
    Billow mBase;
    ScaleBias mFlat;
    Perlin mControl;
    Select mSelect;
    Turbulence mountain;

    Billow sClouds;
    Turbulence sky;

    Cylinders wRings;
    Perlin wGrain;
    ScalePoint wStretch;
    ScaleBias wScale;
    Add wAdd;
    Turbulence wTurb;
    TranslatePoint wMove;
    RotatePoint wTurn;
    Turbulence wood;

    Billow gBillow;
    luneth::CWrappedVoronoi gSpots;
    ScaleBias gScale;
    Add gAdd;
    Turbulence granite;

    RidgedMulti jRidged;
    Cylinders jVeins;
    RotatePoint jTurn;
    Turbulence jTurb;
    ScaleBias jScale;
    Add jAdd;
    Turbulence jade;

    Billow lBase, lCracks;
    ScaleBias lScale;
    RidgedMulti lControl;
    Select lSelect;
    Turbulence lime;

    ReferenceGraphs() {
        turbulence.SetSourceModule(0, perlin);
        exponent.SetSourceModule(0, perlin), exponent.SetExponent(1.0);

        mBase.SetFrequency(2);
        mFlat.SetSourceModule(0, mBase), mFlat.SetScale(0.125), mFlat.SetBias(-0.75);
        mControl.SetFrequency(0.5), mControl.SetPersistence(0.25);
        mSelect.SetSourceModule(0, mFlat), mSelect.SetSourceModule(1, mMountains);
        mSelect.SetControlModule(mControl), mSelect.SetBounds(0, 1000),
            mSelect.SetEdgeFalloff(0.125);
        mountain.SetSourceModule(0, mSelect), mountain.SetFrequency(4), mountain.SetPower(0.125);

        sClouds.SetSeed(2), sClouds.SetFrequency(2), sClouds.SetPersistence(0.375);
        sClouds.SetLacunarity(2.12109375), sClouds.SetOctaveCount(4);
        sClouds.SetNoiseQuality(noise::QUALITY_BEST);
        sky.SetSourceModule(0, sClouds), sky.SetSeed(3), sky.SetFrequency(16);
        sky.SetPower(1.0 / 64), sky.SetRoughness(2);

        wRings.SetFrequency(16);
        wGrain.SetFrequency(48), wGrain.SetLacunarity(2.20703125), wGrain.SetOctaveCount(3);
        wStretch.SetSourceModule(0, wGrain), wStretch.SetYScale(0.25);
        wScale.SetSourceModule(0, wStretch), wScale.SetScale(0.25), wScale.SetBias(0.125);
        wAdd.SetSourceModule(0, wRings), wAdd.SetSourceModule(1, wScale);
        wTurb.SetSourceModule(0, wAdd), wTurb.SetSeed(1), wTurb.SetFrequency(4);
        wTurb.SetPower(1.0 / 256), wTurb.SetRoughness(4);
        wMove.SetSourceModule(0, wTurb), wMove.SetZTranslation(1.48);
        wTurn.SetSourceModule(0, wMove), wTurn.SetXAngle(84);
        wood.SetSourceModule(0, wTurn), wood.SetSeed(2), wood.SetFrequency(2);
        wood.SetPower(1.0 / 64), wood.SetRoughness(4);

        gBillow.SetFrequency(8), gBillow.SetPersistence(0.625), gBillow.SetLacunarity(2.18359375);
        gSpots.SetSeed(1), gSpots.SetFrequency(16), gSpots.EnableDistance(true);
        gScale.SetSourceModule(0, gSpots), gScale.SetScale(-0.5);
        gAdd.SetSourceModule(0, gBillow), gAdd.SetSourceModule(1, gScale);
        granite.SetSourceModule(0, gAdd), granite.SetSeed(2), granite.SetFrequency(4);
        granite.SetPower(0.125), granite.SetRoughness(6);

        jRidged.SetFrequency(2), jRidged.SetLacunarity(2.20703125);
        jVeins.SetFrequency(2);
        jTurn.SetSourceModule(0, jVeins), jTurn.SetAngles(90, 25, 5);
        jTurb.SetSourceModule(0, jTurn), jTurb.SetSeed(1), jTurb.SetFrequency(4);
        jTurb.SetPower(0.25), jTurb.SetRoughness(4);
        jScale.SetSourceModule(0, jTurb), jScale.SetScale(0.25);
        jAdd.SetSourceModule(0, jRidged), jAdd.SetSourceModule(1, jScale);
        jade.SetSourceModule(0, jAdd), jade.SetSeed(2), jade.SetFrequency(4);
        jade.SetPower(0.0625), jade.SetRoughness(2);

        lBase.SetFrequency(4), lBase.SetLacunarity(2.12109375), lBase.SetOctaveCount(1);
        lBase.SetNoiseQuality(noise::QUALITY_BEST);
        lCracks.SetSeed(1), lCracks.SetFrequency(24), lCracks.SetLacunarity(2.14453125);
        lCracks.SetOctaveCount(1), lCracks.SetNoiseQuality(noise::QUALITY_BEST);
        lScale.SetSourceModule(0, lCracks), lScale.SetScale(0.5), lScale.SetBias(-0.5);
        lControl.SetFrequency(2), lControl.SetLacunarity(2.20703125), lControl.SetOctaveCount(3);
        lSelect.SetSourceModule(0, lBase), lSelect.SetSourceModule(1, lScale);
        lSelect.SetControlModule(lControl), lSelect.SetBounds(-0.375, 0.375);
        lSelect.SetEdgeFalloff(0.375);
        lime.SetSourceModule(0, lSelect), lime.SetSeed(2), lime.SetFrequency(8);
        lime.SetPower(1.0 / 32), lime.SetRoughness(2);
    }
};

}  // namespace

TEST_F(Presets, EveryNoisePresetIsItsGraph) {
    static ReferenceGraphs g;
    const std::pair<const char*, const Module*> presets[] = {
        {"NoiseModulePerlin", &g.perlin},      {"NoiseModuleBillow", &g.billow},
        {"NoiseModuleExponent", &g.exponent},  {"NoiseModuleTurbulence", &g.turbulence},
        {"NoiseModuleRidgedMulti", &g.ridged}, {"NoiseModuleVoronoi", &g.voronoi},
        {"NoiseModuleMountain", &g.mountain},  {"NoiseModuleSky", &g.sky},
        {"NoiseModuleWood", &g.wood},          {"NoiseModuleGranite", &g.granite},
        {"NoiseModuleJade", &g.jade},          {"NoiseModuleLime", &g.lime},
    };
    std::mt19937 rng(2024);
    std::uniform_real_distribution<float> coord(-8.0f, 8.0f);
    for (const auto& [name, module] : presets) {
        ASSERT_EQ(Record(name)->kind, luneth::kKindFloat3) << name;
        for (int k = 0; k < 200; ++k) {
            float x = coord(rng), y = coord(rng), z = coord(rng);
            ASSERT_EQ(Noise(name, x, y, z), float(module->GetValue(x, y, z)))
                << name << " at " << x << ", " << y << ", " << z;
        }
    }
}

// With exponent 1 the Exponent preset is the Perlin preset wherever Perlin is at least -1;
// below -1 the absolute value in (|(v + 1) / 2|)^1 x 2 - 1 mirrors it to -2 - v.
TEST_F(Presets, ExponentOneIsPerlinExceptBelowMinusOne) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> coord(-20.0f, 20.0f);
    int mirrored = 0;
    for (int k = 0; k < 20000; ++k) {
        float x = coord(rng), y = coord(rng), z = coord(rng);
        double v = luneth::NoisePresetModule("NoiseModulePerlin")->GetValue(x, y, z);
        float e = Noise("NoiseModuleExponent", x, y, z);
        ASSERT_EQ(Noise("NoiseModulePerlin", x, y, z), float(v));
        ASSERT_EQ(e, float(std::fabs((v + 1.0) / 2.0) * 2.0 - 1.0));
        if (v >= -1.0) {
            ASSERT_EQ(e, float(v)) << x << ", " << y << ", " << z;
        } else {
            ++mirrored;
            ASSERT_EQ(e, float(-2.0 - v));
        }
    }
    EXPECT_GT(mirrored, 0);
}

TEST_F(Presets, NonFinitePointsGiveZero) {
    for (const char* name : {"NoiseModulePerlin", "NoiseModuleVoronoi", "NoiseModuleWood"}) {
        EXPECT_EQ(Noise(name, NAN, 0, 0), 0.0f);
        EXPECT_EQ(Noise(name, 0, INFINITY, 0), 0.0f);
        EXPECT_EQ(Noise(name, 0, 0, -INFINITY), 0.0f);
        float far = Noise(name, 3e9f, -7e12f, 1e30f);  // huge but finite: some value, no crash
        EXPECT_TRUE(std::isfinite(far)) << name;
    }
}

TEST_F(Presets, TheNineteenAreRegisteredInOrderAtTheEnd) {
    const char* names[] = {
        "GradientColorTerrain", "GradientColorPlanet",   "GradientColorSky",
        "GradientColorWood",    "GradientColorGranite",  "GradientColorJade",
        "GradientColorLime",    "NoiseModulePerlin",     "NoiseModuleBillow",
        "NoiseModuleExponent",  "NoiseModuleTurbulence", "NoiseModuleRidgedMulti",
        "NoiseModuleVoronoi",   "NoiseModuleMountain",   "NoiseModuleSky",
        "NoiseModuleWood",      "NoiseModuleGranite",    "NoiseModuleJade",
        "NoiseModuleLime"};
    uint32_t first = luneth::FunctionCount() - 19;
    for (uint32_t i = 0; i < 19; ++i) EXPECT_EQ(luneth::LookupFunction(names[i]), first + i);
    // Registering again replaces in place: the count stays.
    uint32_t count = luneth::FunctionCount();
    luneth::RegisterNoisePresets();
    EXPECT_EQ(luneth::FunctionCount(), count);
}
