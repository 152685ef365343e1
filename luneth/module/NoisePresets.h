// The image module's own script functions: seven colour gradients and twelve coherent-noise
// presets, registered after the function library by RegisterNoisePresets().
//
//   GradientColorTerrain, ...Planet, ...Sky, ...Wood, ...Granite, ...Jade, ...Lime   (kind 5)
//       v in -1 .. 1 -> the gradient's colour at v as a colour word 0xAARRGGBB with bit 24
//       cleared (opaque alpha reads 0xFE, so the word is never a NaN pattern).
//   NoiseModulePerlin, ...Billow, ...Exponent, ...Turbulence, ...RidgedMulti, ...Voronoi,
//   ...Mountain, ...Sky, ...Wood, ...Granite, ...Jade, ...Lime                       (kind 7)
//       (x, y, z) -> the value of a libnoise module graph at the point (evaluated in double,
//       returned as float). A point with a NaN or infinite coordinate gives 0.
//
// The graphs are built once when the module is loaded. Debian's libnoise computes its value
// noise with a signed overflow that the compiler turns into values outside [-1, 1], so the
// Voronoi cells come from CWrappedVoronoi, the same algorithm over a correctly wrapped value
// noise.
#pragma once

#include <libnoise/noise.h>

#include <cstdint>

namespace luneth {

// A colour ramp of up to 64 points sorted by position.
class CColorGradient {
public:
    static constexpr int kMaxPoints = 64;

    void Clear() { count_ = 0; }
    // Inserts after any points of equal position; the index, or -1 when the gradient is full.
    int AddPoint(float position, float red, float green, float blue, float alpha);
    int Count() const { return count_; }
    // The colour at p: (0, 0, 0, 0) without points, the end colours outside the range (also
    // for a NaN p, which gives the first colour), linear between the neighbours inside.
    void GetColor(float p, float rgba[4]) const;
    // GetColor packed as 0xAARRGGBB: components clamped to [0, 1], times 255, truncated.
    uint32_t GetPackedColor(float p) const;

private:
    struct Point {
        float position;
        float color[4];
    };
    Point points_[kMaxPoints] = {};
    int count_ = 0;
};

// Voronoi cells as libnoise's Voronoi module computes them, with the value noise wrapped in
// 32 bits as its formula intends.
class CWrappedVoronoi : public ::noise::module::Module {
public:
    CWrappedVoronoi() : Module(0) {}
    int GetSourceModuleCount() const override { return 0; }
    double GetValue(double x, double y, double z) const override;

    void SetSeed(int seed) { seed_ = seed; }
    void SetFrequency(double frequency) { frequency_ = frequency; }
    void SetDisplacement(double displacement) { displacement_ = displacement; }
    void EnableDistance(bool enable) { distance_ = enable; }

private:
    int seed_ = 0;
    double frequency_ = 1.0;
    double displacement_ = 1.0;
    bool distance_ = false;
};

// libnoise's integer and value noise with 32-bit wrapping arithmetic.
int32_t WrappedIntValueNoise3D(int32_t x, int32_t y, int32_t z, int32_t seed);
double WrappedValueNoise3D(int32_t x, int32_t y, int32_t z, int32_t seed);

// Fills the gradients again and registers the nineteen functions.
void RegisterNoisePresets();

// The module read by a NoiseModule* preset ("NoiseModulePerlin", ...), null for another name.
const ::noise::module::Module* NoisePresetModule(const char* name);

// The seven gradients by function name, null for another name.
const CColorGradient* GradientPreset(const char* name);

}  // namespace luneth
