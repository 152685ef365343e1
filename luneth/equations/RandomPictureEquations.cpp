// Random pictures: what random numbers look like when they are given a shape.
//
// Index of this file:
//   Drawn numbers    RandomTable: lattice values from the image object's stream
//   Formulas         "Math Random" (random formula trees, one a channel)
//   Cat map          "Arnold Random" (a picture scrambled by Arnold's cat map, and back)
//   Lattices         "Map Random", "Color Map Random", "Color Random 2", "Smooth Color Random"
//   Hash, tiles      "Hash" (hashed lattice cells), "MyRandom" (random Truchet tiles)
//
// Every member except "Hash" and "Arnold Random" draws its random numbers from the image
// object's stream, once, at its first computation (CDrawnEquation): the picture is then kept,
// like the picture of an accumulating equation, and pixels only read what was drawn.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "equations/DrawnEquation.h"
#include "equations/EquationFamilies.h"
#include "equations/PictureMath.h"
#include "equations/PixelHelpers.h"

namespace luneth {

namespace {

using namespace picture;

// =============================================================================================
// Drawn once
// =============================================================================================

// Random values from the stream, read as an endless lattice: cell (i, j) of layer `salt` takes
// the entry its hash picks, so no period shows however far or densely the lattice is read.
class RandomTable {
public:
    void Draw(RandomStream& random) {
        for (float& v : values_) v = random.NextUnit();
    }
    float At(int64_t i, int64_t j, uint32_t salt) const {
        return values_[HashCell(i, j, salt) & (kSize - 1)];
    }
    // Between the four corners of the cell, with linear or faded weights.
    float Between(float x, float y, uint32_t salt, bool faded) const {
        const float fx = std::floor(x), fy = std::floor(y);
        const int64_t i = static_cast<int64_t>(fx), j = static_cast<int64_t>(fy);
        float tx = x - fx, ty = y - fy;
        if (faded) tx = Fade(tx), ty = Fade(ty);
        return Mix(Mix(At(i, j, salt), At(i + 1, j, salt), tx),
                   Mix(At(i, j + 1, salt), At(i + 1, j + 1, salt), tx), ty);
    }
    // Octaves of Between, as Fbm in PictureMath.h.
    float Octaves(float x, float y, int octaves, uint32_t salt) const {
        float sum = 0.0f, weight = 0.5f, total = 0.0f;
        for (int k = 0; k < octaves; ++k) {
            sum += weight * Between(x, y, salt + static_cast<uint32_t>(k), true);
            total += weight;
            const float nx = 1.6f * x - 1.2f * y, ny = 1.2f * x + 1.6f * y;
            x = nx + 17.0f, y = ny + 5.0f;
            weight *= 0.5f;
        }
        return sum / total;
    }

private:
    static constexpr uint32_t kSize = 4096;
    float values_[kSize] = {};
};

// Octave sums gather around 0.5; this spreads them back over [0, 1].
float Stretch(float v, float gain) { return Clamp01(0.5f + (v - 0.5f) * gain); }

// A vivid colour from three random numbers: any hue, fairly saturated, fairly bright.
Colour VividColour(float hue, float saturation, float value) {
    const Colour grey{1.0f, 1.0f, 1.0f};
    return Mix(grey, Hue(hue), 0.55f + 0.45f * saturation) * (0.55f + 0.45f * value);
}

// =============================================================================================
// "Math Random": each channel is a random formula of x and y
// =============================================================================================

// Formulas are trees of the operations below over x and y in [-1, 1]; every operation keeps
// its values in [-1, 1]. Nodes are stored children first, so they are evaluated in order, a
// node at a time over a run of pixels of one row.
class CPixelMathRandom final : public CDrawnEquation {
public:
    using CDrawnEquation::CDrawnEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        uint32_t colour = 0;
        Run(y, x, 1, &colour);
        return colour;
    }

    void ComputeRow(uint32_t y, uint32_t x0, uint32_t count, uint32_t* out) const override {
        for (uint32_t done = 0; done < count; done += kRun)
            Run(y, x0 + done, std::min(kRun, count - done), out + done);
    }

private:
    enum class Op : uint8_t { X, Y, Constant, Sin, Cos, Cube, Well, Product, Mean, SinSum };
    struct Node {
        Op op;
        uint8_t a, b;  // operands: earlier nodes
        float constant;
    };
    struct Formula {
        std::vector<Node> nodes;
        uint8_t root = 0;
    };
    static constexpr int kDepth = 7;
    static constexpr int kMaxNodes = 48;
    static constexpr uint32_t kRun = 64;

    static float Coordinate(uint32_t v) { return (static_cast<float>(v) + 0.5f) / 512.0f - 1.0f; }

    // Pixels x0 .. x0 + n - 1 of row y, n at most kRun.
    void Run(uint32_t y, uint32_t x0, uint32_t n, uint32_t* out) const {
        float xs[kRun], channel[3][kRun];
        for (uint32_t i = 0; i < n; ++i) xs[i] = Coordinate(x0 + i);
        for (int c = 0; c < 3; ++c) Evaluate(formulas_[c], xs, Coordinate(y), n, channel[c]);
        for (uint32_t i = 0; i < n; ++i)
            out[i] = Pack({0.5f + 0.5f * channel[0][i], 0.5f + 0.5f * channel[1][i],
                           0.5f + 0.5f * channel[2][i]});
    }

    // The formula at (xs[i], y) for i below n, into out.
    static void Evaluate(const Formula& f, const float* xs, float y, uint32_t n, float* out) {
        float value[kMaxNodes][kRun];
        for (size_t k = 0; k < f.nodes.size(); ++k) {
            const Node& node = f.nodes[k];
            const float* a = value[node.a];
            const float* b = value[node.b];
            float* r = value[k];
            switch (node.op) {
                case Op::X:
                    for (uint32_t i = 0; i < n; ++i) r[i] = xs[i];
                    break;
                case Op::Y:
                    for (uint32_t i = 0; i < n; ++i) r[i] = y;
                    break;
                case Op::Constant:
                    for (uint32_t i = 0; i < n; ++i) r[i] = node.constant;
                    break;
                case Op::Sin:
                    for (uint32_t i = 0; i < n; ++i) r[i] = SinPi(a[i]);
                    break;
                case Op::Cos:
                    for (uint32_t i = 0; i < n; ++i) r[i] = SinPi(a[i] + 0.5f);
                    break;
                case Op::Cube:
                    for (uint32_t i = 0; i < n; ++i) r[i] = a[i] * a[i] * a[i];
                    break;
                case Op::Well:
                    for (uint32_t i = 0; i < n; ++i) r[i] = 1.0f - 2.0f * std::fabs(a[i]);
                    break;
                case Op::Product:
                    for (uint32_t i = 0; i < n; ++i) r[i] = a[i] * b[i];
                    break;
                case Op::Mean:
                    for (uint32_t i = 0; i < n; ++i) r[i] = 0.5f * (a[i] + b[i]);
                    break;
                case Op::SinSum:
                    for (uint32_t i = 0; i < n; ++i) r[i] = SinPi(a[i] + b[i]);
                    break;
            }
        }
        for (uint32_t i = 0; i < n; ++i) out[i] = value[f.root][i];
    }

    // Appends a random tree of at most `depth` levels; returns its root, or -1 when the node
    // budget is spent before any node could be added.
    static int Grow(std::vector<Node>& f, int depth, RandomStream& random) {
        if (static_cast<int>(f.size()) >= kMaxNodes) return -1;
        const bool leaf = depth <= 1 || (depth < kDepth - 1 && random.Next() % 8 == 0);
        if (leaf) {
            const int pick = random.Next() % 9;
            const Op op = pick < 4 ? Op::X : (pick < 8 ? Op::Y : Op::Constant);
            f.push_back({op, 0, 0, random.NextUnit() * 2.0f - 1.0f});
            return static_cast<int>(f.size()) - 1;
        }
        constexpr Op kInner[] = {Op::Sin,     Op::Cos,  Op::Sin,  Op::Cube,  Op::Well,
                                 Op::Product, Op::Mean, Op::Mean, Op::SinSum};
        const Op op = kInner[random.Next() % std::size(kInner)];
        const bool binary = op == Op::Product || op == Op::Mean || op == Op::SinSum;
        const int a = Grow(f, depth - 1, random);
        const int b = binary ? Grow(f, depth - 1, random) : a;
        if (a < 0 || b < 0 || static_cast<int>(f.size()) >= kMaxNodes) return a < 0 ? b : a;
        f.push_back({op, static_cast<uint8_t>(a), static_cast<uint8_t>(b), 0.0f});
        return static_cast<int>(f.size()) - 1;
    }

    // How much a formula varies over the picture: the spread of 16 x 16 samples.
    static float Spread(const Formula& f) {
        float xs[16], row[16], sum = 0.0f, sum2 = 0.0f;
        for (int i = 0; i < 16; ++i) xs[i] = (i + 0.5f) / 8.0f - 1.0f;
        for (int j = 0; j < 16; ++j) {
            Evaluate(f, xs, (j + 0.5f) / 8.0f - 1.0f, 16, row);
            for (float v : row) sum += v, sum2 += v * v;
        }
        const float mean = sum / 256.0f;
        return std::sqrt(std::fmax(0.0f, sum2 / 256.0f - mean * mean));
    }

    // Flat formulas (a constant, a shallow tree that barely moves) are drawn again, a bounded
    // number of times.
    void Draw(RandomStream& random) override {
        for (Formula& f : formulas_) {
            for (int attempt = 0; attempt < 64; ++attempt) {
                f.nodes.clear();
                f.root = static_cast<uint8_t>(Grow(f.nodes, kDepth, random));
                if (f.nodes.size() >= 6 && Spread(f) > 0.25f) break;
            }
        }
    }

    Formula formulas_[3];
};

// =============================================================================================
// "Arnold Random": Arnold's cat map (u, v) -> (2u + v, u + v) on the torus
// =============================================================================================

// Nine panels show a cat picture after 0, 1, 2, 3, 5, 8, 13, 21 and 24 steps of the map on the
// 336 x 336 grid of a panel. Within a few steps the cat is stretched and folded into noise
// that looks random, yet the map is a permutation with period 24 on this grid: it unfolds
// again (step 21 is three steps back) and step 24 is the cat once more. SeedX and SeedY move
// the cat across the torus before it is scrambled.
class CPixelArnoldRandom final : public CPixelEquation {
public:
    explicit CPixelArnoldRandom(const EquationInfo& info) : CPixelEquation(info) {
        for (int k = 0; k < 9; ++k) {
            // Panels pull back: the pixel shows where the inverse map sends it.
            int64_t m[4] = {1, 0, 0, 1};
            for (int s = 0; s < kSteps[k]; ++s) {
                const int64_t n[4] = {m[0] - m[2], m[1] - m[3], 2 * m[2] - m[0], 2 * m[3] - m[1]};
                for (int i = 0; i < 4; ++i) m[i] = ((n[i] % kPanel) + kPanel) % kPanel;
            }
            for (int i = 0; i < 4; ++i) inverse_[k][i] = static_cast<int32_t>(m[i]);
        }
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        if (x >= width || y >= height) return kFrame;
        const int32_t px = Signed(x) - kGap, py = Signed(y) - kGap;
        if (px < 0 || py < 0) return kFrame;
        const int32_t col = px / (kPanel + kGap), row = py / (kPanel + kGap);
        const int32_t i = px % (kPanel + kGap), j = py % (kPanel + kGap);
        if (col > 2 || row > 2 || i >= kPanel || j >= kPanel) return kFrame;
        const int32_t* m = inverse_[row * 3 + col];
        const int32_t si = (m[0] * i + m[1] * j) % kPanel, sj = (m[2] * i + m[3] * j) % kPanel;
        const float u = Fract((static_cast<float>(si) + 0.5f) / kPanel - CatShift(params[0]));
        const float v = Fract((static_cast<float>(sj) + 0.5f) / kPanel - CatShift(params[1]));
        return Pack(Cat(u, v));
    }

private:
    static constexpr int32_t kPanel = 336, kGap = 4;
    static constexpr int kSteps[9] = {0, 1, 2, 3, 5, 8, 13, 21, 24};
    static constexpr uint32_t kFrame = 0xFF202020u;

    // How far a seed moves the cat, in turns of the torus: the seed times the golden ratio's
    // fraction, wrapped, so every seed of the range has a place of its own and a small step
    // of the seed is a small move. NaN and infinities leave the cat where seed 0 puts it.
    static float CatShift(float seed) {
        const double s = static_cast<double>(seed) * 0.6180339887498949;
        return std::isfinite(s) ? static_cast<float>(s - std::floor(s)) : 0.0f;
    }

    // A ginger cat's face on a pastel ground, in the unit square (v downwards). Edges are
    // softened over one pixel of the panel.
    static Colour Cat(float u, float v) {
        constexpr float kEdge = 1.0f / kPanel;
        auto cover = [](float distance) { return 1.0f - Smoothstep(-kEdge, kEdge, distance); };
        auto ellipse = [](float u, float v, float cu, float cv, float ru, float rv) {
            const float a = (u - cu) / ru, b = (v - cv) / rv;
            return (std::sqrt(a * a + b * b) - 1.0f) * std::fmin(ru, rv);
        };
        // Signed distance of a triangle, as the largest of its three edge distances.
        auto triangle = [](Point p, Point a, Point b, Point c) {
            auto edge = [&](Point e0, Point e1) {
                const float nx = e1.y - e0.y, ny = e0.x - e1.x;
                return ((p.x - e0.x) * nx + (p.y - e0.y) * ny) / std::sqrt(nx * nx + ny * ny);
            };
            return std::fmax(edge(a, b), std::fmax(edge(b, c), edge(c, a)));
        };
        const float m = std::fabs(u - 0.5f);  // the face is symmetric about u = 0.5
        const Point side{0.5f - m, v};        // the left half, mirrored

        Colour c = Mix(FromHex(0xA8D8F0), FromHex(0xF8C8E0), 0.6f * v + 0.4f * u);
        const Colour fur = FromHex(0xF0922E), pink = FromHex(0xF4A0B0);
        c = Mix(c, fur, cover(triangle(side, {0.23f, 0.46f}, {0.25f, 0.10f}, {0.46f, 0.34f})));
        c = Mix(c, pink, cover(triangle(side, {0.27f, 0.40f}, {0.28f, 0.19f}, {0.40f, 0.33f})));
        const float head = ellipse(u, v, 0.5f, 0.57f, 0.31f, 0.27f);
        c = Mix(c, fur, cover(head));
        // Tabby stripes on the forehead.
        const float stripe = std::fabs(Fract((m + 0.02f) * 22.0f) - 0.5f) / 22.0f - 0.009f;
        c = Mix(c, FromHex(0xC0601A),
                cover(std::fmax(stripe, v - 0.42f + m * 1.5f)) * cover(head + 0.02f) *
                    (m < 0.12f ? 1.0f : 0.0f));
        c = Mix(c, FromHex(0xFFF0DC), cover(ellipse(m, v, 0.0f, 0.70f, 0.15f, 0.10f)));  // muzzle
        c = Mix(c, FromHex(0x7CD65C), cover(ellipse(m, v, 0.11f, 0.53f, 0.055f, 0.07f)));
        c = Mix(c, FromHex(0x101010), cover(ellipse(m, v, 0.11f, 0.53f, 0.014f, 0.055f)));
        c = Mix(c, FromHex(0xFFFFFF), cover(ellipse(side.x, v, 0.375f, 0.505f, 0.01f, 0.01f)));
        c = Mix(c, pink, cover(triangle({m, v}, {-0.04f, 0.62f}, {0.04f, 0.62f}, {0.0f, 0.66f})));
        for (int w = 0; w < 3; ++w) {  // whiskers
            const float wv = 0.68f + 0.03f * w;
            const float d = SegmentDistance({m, v}, {0.09f, wv}, {0.30f, wv - 0.04f + 0.04f * w});
            c = Mix(c, FromHex(0x3A2A20), cover(d - 0.003f));
        }
        return c;
    }

    int32_t inverse_[9][4] = {};
};

// =============================================================================================
// Lattices of drawn numbers
// =============================================================================================

// A map of an invented land: heights from octaves of drawn lattice values, coloured from the
// deep sea to the snow line, hill-shaded from the north-west, with a graticule and a frame.
class CPixelMapRandom final : public CDrawnEquation {
public:
    using CDrawnEquation::CDrawnEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float fx = static_cast<float>(x), fy = static_cast<float>(y);
        if (std::fmin(std::fmin(fx, fy), std::fmin(1023.0f - fx, 1023.0f - fy)) < 10.0f)
            return Pack(FromHex(0x3B2E22));  // the frame
        const float h = Height(fx, fy);
        constexpr RampStop kSea[] = {
            {0.15f, FromHex(0x12305C)}, {0.42f, FromHex(0x2A64A0)}, {0.50f, FromHex(0x68B4DC)}};
        constexpr RampStop kLand[] = {{0.50f, FromHex(0xE6D49A)}, {0.53f, FromHex(0x86B860)},
                                      {0.62f, FromHex(0x4E8A3E)}, {0.70f, FromHex(0x2F6A30)},
                                      {0.78f, FromHex(0x8A7550)}, {0.88f, FromHex(0x8C8680)},
                                      {0.96f, FromHex(0xF4F4F8)}};
        Colour c;
        if (h < 0.5f) {
            c = Ramp(kSea, h);
        } else {
            // Light from the north-west on the slope of the land.
            const float dx = Height(fx + 1.0f, fy) - h, dy = Height(fx, fy + 1.0f) - h;
            const float light = Clamp01(0.7f - 45.0f * (dx + dy));
            c = Ramp(kLand, h) * (0.5f + 0.7f * light);
        }
        const float gx = fx - 128.0f * std::round(fx / 128.0f);
        const float gy = fy - 128.0f * std::round(fy / 128.0f);
        const float grid = std::fmax(Band(gx, 0.6f), Band(gy, 0.6f));
        return Pack(Mix(c, {1.0f, 1.0f, 1.0f}, 0.25f * grid));
    }

private:
    // Land rises towards the middle so the map is an island with coasts on every side.
    float Relief(float x, float y) const {
        const float h = table_.Octaves(x / 260.0f, y / 260.0f, 6, 11);
        const float dx = x / 512.0f - 1.0f, dy = y / 512.0f - 1.0f;
        return h - 0.14f * (dx * dx + dy * dy);
    }

    // Heights on the colour ramp: the sea level (0.5) and the snow line (0.94) are put where
    // 45 and 97 of a hundred samples of the drawn relief lie below, so every drawing is a map
    // of land and sea with a few peaks, whatever its numbers.
    float Height(float x, float y) const { return 0.5f + (Relief(x, y) - seaLevel_) * gain_; }

    void Draw(RandomStream& random) override {
        table_.Draw(random);
        std::vector<float> samples;
        for (int j = 0; j < 64; ++j)
            for (int i = 0; i < 64; ++i)
                samples.push_back(Relief(16.0f * i + 8.0f, 16.0f * j + 8.0f));
        std::sort(samples.begin(), samples.end());
        seaLevel_ = samples[samples.size() * 45 / 100];
        const float snow = samples[samples.size() * 97 / 100];
        gain_ = snow > seaLevel_ ? 0.44f / (snow - seaLevel_) : 1.0f;
    }

    RandomTable table_;
    float seaLevel_ = 0.5f, gain_ = 1.0f;
};

// A warped random field read through a drawn colour map: five random colours, blended in a
// cycle that the field runs through a few times, like marbled paper.
class CPixelColorMapRandom final : public CDrawnEquation {
public:
    using CDrawnEquation::CDrawnEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float px = static_cast<float>(x) / 420.0f, py = static_cast<float>(y) / 420.0f;
        const float qx = table_.Octaves(px, py, 4, 21), qy = table_.Octaves(px + 5.2f, py, 4, 31);
        const float f = table_.Octaves(px + 3.0f * qx, py + 3.0f * qy, 4, 41);
        const float t = 2.5f * kColours * (0.5f + (f - 0.5f) * 2.2f);
        const float i = std::floor(t);
        const int a = ((static_cast<int>(i) % kColours) + kColours) % kColours;
        const float blend = 0.5f - 0.5f * std::cos(kPi * (t - i));
        return Pack(Mix(map_[a], map_[(a + 1) % kColours], blend));
    }

private:
    static constexpr int kColours = 5;

    // Hues a golden-ratio turn apart from a random start, so neighbours in the map differ;
    // saturation and brightness are drawn too.
    void Draw(RandomStream& random) override {
        table_.Draw(random);
        const float start = random.NextUnit();
        for (int k = 0; k < kColours; ++k) {
            const float s = random.NextUnit(), v = random.NextUnit();
            map_[k] = VividColour(start + 0.618034f * static_cast<float>(k), s, v);
        }
    }

    RandomTable table_;
    Colour map_[kColours];
};

// Random colours on a lattice, blended linearly across each cell. Scale is lattice cells per
// pixel about the centre: 0.01 gives cells of 100 pixels, 1 and above a colour a pixel. Below
// 1/1024 (0 included) one cell spans the picture.
class CPixelColorMapRandom2 final : public CDrawnEquation {
public:
    explicit CPixelColorMapRandom2(const EquationInfo& info) : CDrawnEquation(info) {
        ParamsChanged();
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const Point p = Centre(x, y, width, height);
        const float lx = p.x * scale_ + 0.5f, ly = p.y * scale_ + 0.5f;
        return Pack({table_.Between(lx, ly, 1, false), table_.Between(lx, ly, 2, false),
                     table_.Between(lx, ly, 3, false)});
    }

protected:
    void ParamsChanged() override {
        const float s = params[0];
        scale_ = s >= 1.0f / 1024.0f ? std::fmin(s, 1000.0f) : 1.0f / 1024.0f;
    }

private:
    void Draw(RandomStream& random) override { table_.Draw(random); }

    RandomTable table_;
    float scale_ = 0.01f;
};

// Three smooth random fields, one a channel, in soft clouds of colour.
class CPixelColorMapSmoothRandom final : public CDrawnEquation {
public:
    using CDrawnEquation::CDrawnEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float px = static_cast<float>(x) / 240.0f, py = static_cast<float>(y) / 240.0f;
        return Pack({Stretch(table_.Octaves(px, py, 3, 51), 2.2f),
                     Stretch(table_.Octaves(px, py, 3, 61), 2.2f),
                     Stretch(table_.Octaves(px, py, 3, 71), 2.2f)});
    }

private:
    void Draw(RandomStream& random) override { table_.Draw(random); }

    RandomTable table_;
};

// =============================================================================================
// Hash and tiles
// =============================================================================================

// An integer hash of lattice cells, its three low bytes as red, green and blue: a mosaic of
// tiles of 32 / Scale pixels, each with a bevel so the tiling reads. Scale 32 hashes every
// pixel's own coordinates and larger ones give plain noise; tiles grow no larger than 256
// pixels, so Scale 1/8 and below (0 included) show a mosaic of four by four.
class CPixelHash final : public CPixelEquation {
public:
    explicit CPixelHash(const EquationInfo& info) : CPixelEquation(info) { ParamsChanged(); }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float px = (static_cast<float>(x) + 0.5f) * scale_ / kTile;
        const float py = (static_cast<float>(y) + 0.5f) * scale_ / kTile;
        const float cx = std::floor(px), cy = std::floor(py);
        const uint32_t h =
            HashCell(static_cast<int64_t>(cx), static_cast<int64_t>(cy), 0x48617368u);
        const Colour c = FromHex(h & 0xFFFFFF);
        if (bevel_ <= 0.0f) return Pack(c);
        // Distances to the tile's edges in pixels: light on the upper and left rims, shade on
        // the lower and right ones.
        const float tile = kTile / scale_;
        const float left = (px - cx) * tile, top = (py - cy) * tile;
        const float right = tile - left, bottom = tile - top;
        const float lit = std::fmin(left, top), shade = std::fmin(right, bottom);
        if (lit < bevel_ && lit <= shade) return Pack(Mix(c, {1.0f, 1.0f, 1.0f}, 0.45f));
        if (shade < bevel_) return Pack(c * 0.55f);
        return Pack(c);
    }

protected:
    void ParamsChanged() override {
        const float s = params[0];
        scale_ = s >= 0.125f ? std::fmin(s, 1000.0f) : 0.125f;
        const float tile = kTile / scale_;
        bevel_ = tile >= 8.0f ? std::fmin(6.0f, tile / 8.0f) : 0.0f;
    }

private:
    static constexpr float kTile = 32.0f;  // pixels a tile at Scale 1
    float scale_ = 1.0f, bevel_ = 0.0f;
};

// Truchet tiles: each 64-pixel tile holds two quarter-circle arcs joining the midpoints of its
// edges, turned one way or the other by a random draw. The arcs join into loops and meanders;
// every connected path gets a random colour of its own, found when the tiles are drawn.
class CPixelMyRandom final : public CDrawnEquation {
public:
    using CDrawnEquation::CDrawnEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const uint32_t i = (x / kTile) % kTiles, j = (y / kTile) % kTiles;
        const float lx = static_cast<float>(x % kTile) + 0.5f;
        const float ly = static_cast<float>(y % kTile) + 0.5f;
        const bool turned = turned_[j * kTiles + i];
        // Arc 0 bends round the top corner (left or right), arc 1 round the opposite one.
        const float cx0 = turned ? kTile : 0.0f, cx1 = kTile - cx0;
        const float d0 = std::fabs(std::hypot(lx - cx0, ly) - kTile / 2.0f);
        const float d1 = std::fabs(std::hypot(lx - cx1, ly - kTile) - kTile / 2.0f);
        const int arc = d0 < d1 ? 0 : 1;
        const float d = std::fmin(d0, d1);
        const Colour ground =
            Mix(FromHex(0x141828), FromHex(0x202A44), static_cast<float>(y) / 1024.0f);
        // A tube: lit along its middle, with a dark rim.
        const float across = Clamp01(d / kHalfWidth);
        const float tube = std::sqrt(1.0f - across * across);
        Colour c = colour_[(j * kTiles + i) * 2 + arc] * (0.3f + 0.7f * tube);
        c = Mix(c, {1.0f, 1.0f, 1.0f}, 0.35f * std::pow(tube, 12.0f));
        return Pack(Mix(ground, c, Band(d, kHalfWidth)));
    }

private:
    static constexpr uint32_t kTile = 64, kTiles = 16;
    static constexpr float kHalfWidth = 10.0f;

    // Edge midpoints: horizontal edges (i, j) for j = 0 .. kTiles, then vertical edges.
    static uint32_t Horizontal(uint32_t i, uint32_t j) { return j * kTiles + i; }
    static uint32_t Vertical(uint32_t i, uint32_t j) {
        return (kTiles + 1) * kTiles + j * (kTiles + 1) + i;
    }
    static constexpr uint32_t kMidpoints = 2 * (kTiles + 1) * kTiles;

    uint32_t Root(uint32_t n) {
        while (parent_[n] != n) n = parent_[n] = parent_[parent_[n]];
        return n;
    }

    void Draw(RandomStream& random) override {
        for (uint32_t n = 0; n < kMidpoints; ++n) parent_[n] = n;
        for (uint32_t t = 0; t < kTiles * kTiles; ++t) turned_[t] = random.Next() & 1;
        uint32_t arcEnd[kTiles * kTiles * 2];
        for (uint32_t j = 0; j < kTiles; ++j)
            for (uint32_t i = 0; i < kTiles; ++i) {
                const uint32_t t = j * kTiles + i;
                const uint32_t top = Horizontal(i, j), bottom = Horizontal(i, j + 1);
                const uint32_t left = Vertical(i, j), right = Vertical(i + 1, j);
                const uint32_t side0 = turned_[t] ? right : left, side1 = turned_[t] ? left : right;
                parent_[Root(top)] = Root(side0);
                parent_[Root(bottom)] = Root(side1);
                arcEnd[2 * t] = top, arcEnd[2 * t + 1] = bottom;
            }
        std::vector<Colour> pathColour(kMidpoints);
        for (Colour& c : pathColour) {
            const float h = random.NextUnit(), s = random.NextUnit(), v = random.NextUnit();
            c = VividColour(h, s, v);
        }
        for (uint32_t a = 0; a < kTiles * kTiles * 2; ++a) colour_[a] = pathColour[Root(arcEnd[a])];
    }

    uint32_t parent_[kMidpoints] = {};
    bool turned_[kTiles * kTiles] = {};
    Colour colour_[kTiles * kTiles * 2];
};

constexpr EquationClass kRandomPictureEquations[] = {
    {"CPixelMathRandom", CreatePixelEquation<CPixelMathRandom>},
    {"CPixelArnoldRandom", CreatePixelEquation<CPixelArnoldRandom>},
    {"CPixelMapRandom", CreatePixelEquation<CPixelMapRandom>},
    {"CPixelColorMapRandom", CreatePixelEquation<CPixelColorMapRandom>},
    {"CPixelColorMapRandom2", CreatePixelEquation<CPixelColorMapRandom2>},
    {"CPixelColorMapSmoothRandom", CreatePixelEquation<CPixelColorMapSmoothRandom>},
    {"CPixelHash", CreatePixelEquation<CPixelHash>},
    {"CPixelMyRandom", CreatePixelEquation<CPixelMyRandom>},
};

}  // namespace

EquationClassTable RandomPictureEquations() { return kRandomPictureEquations; }

}  // namespace luneth
