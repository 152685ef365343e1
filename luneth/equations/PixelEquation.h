// Pixel equations: built-in picture generators with up to six tunable parameters.
//
// IPixelEquation is what the image object and the panel see:
//     width, height              picture size in pixels
//     params[6]                  current parameter values; read them directly, write via SetParam
//     SetParam(i, v)             base: stores v when i < 6
//     GetParamName(i)            base: nullptr (no parameters)
//     GetParamRange(i, &lo, &hi, &step)   base: -1, 1, 0.001
//     ResetParams()              base: nothing
//     GetName()                  display name
//     GetPixel(x, y)             colour of pixel (x, y) as 0xAARRGGBB
//
// Parameter model: a parameter exists where GetParamName gives a name; names cover a prefix of
// the indices (0, 0-1, 0-2 ...). SetParam does not clamp to the range; the panel only shows the
// value clamped. Nothing reads a parameter through a function: readers use `params`.
//
// Computing a whole picture goes in two phases (RenderEquation in EquationRenderer.h does it):
//     Prepare(context)           once, sequentially: the work that must precede the pixels
//                                (accumulating into a working buffer), drawing its random
//                                numbers from context.random in a fixed order
//     HasIndependentPixels()     true when, after Prepare, every pixel is a function of the
//                                prepared object alone: rows may then run on any thread
//     ComputeRow(y, x0, n, out)  pixels x0 .. x0 + n - 1 of row y; does not change the object
// Equations whose pixels depend on the order they are asked in (the cellular automata, pixels
// that draw random numbers) say false and are asked GetPixel row by row from (0, 0).
//
// Bases for the catalogue's classes (all take names, sizes and defaults from their row):
//     CPixelEquation               independent pixels: write `Pixel(x, y) const`, and
//                                  ParamsChanged when the pixel path needs precomputed values;
//                                  override ComputeRow for a faster batch (SIMD lanes)
//     CAccumulatingEquation<Cell>  a working buffer of one cell a pixel: write Accumulate and
//                                  CellColor
//     CSequentialEquation          pixels in row order: write GetPixel
// To add an equation, copy CPixelAnd in BitPatternEquations.cpp (the simplest) and see
// EquationFamilies.h.
//
// Pixels must be safe for any (x, y), also outside width x height: no out-of-bounds reads,
// no division by zero, no endless loop. Inside the picture they give the equation's colour.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include "common/Progress.h"
#include "common/Random.h"

namespace luneth {

// The image object's equation table has this many slots; the catalogue fills the first ones.
constexpr uint32_t kEquationSlotCount = 512;
constexpr uint32_t kEquationParamCount = 6;
constexpr uint32_t kDefaultEquationSize = 1024;

// What an equation may use while it computes: the random stream of the image object that
// computes it, and the control that a long accumulation polls (a cancel request, progress).
struct EquationContext {
    RandomStream& random;
    ComputeControl* control = nullptr;
    // The threads a preparation may use for work whose result does not depend on them (0: every
    // hardware thread); RenderEquation passes its own thread count.
    int threads = 0;

    bool Cancelled() const { return control && control->Cancelled(); }
    void Progress(int64_t done, int64_t total) const {
        if (control) control->Progress(done, total);
    }
};

class IPixelEquation {
public:
    uint32_t width = kDefaultEquationSize;
    uint32_t height = kDefaultEquationSize;
    float params[kEquationParamCount] = {};

    virtual ~IPixelEquation() = default;

    virtual void SetParam(uint32_t index, float value);
    virtual const char* GetParamName(uint32_t index) const;
    virtual void GetParamRange(uint32_t index, float* min, float* max, float* step) const;
    virtual void ResetParams();
    virtual const char* GetName() const = 0;
    virtual uint32_t GetPixel(uint32_t x, uint32_t y) = 0;

    // ---- the two phases of a whole picture (see the top of this file) ----
    virtual void Prepare(EquationContext& context);
    virtual bool HasIndependentPixels() const { return false; }
    // Only called when HasIndependentPixels(); the base has nothing to compute.
    virtual void ComputeRow(uint32_t y, uint32_t x0, uint32_t count, uint32_t* out) const;
};

// One parameter of a catalogue row: its label, editing range and spin step, the value it has
// when the catalogue is built, and the value ResetParams restores (normally the same).
struct EquationParam {
    const char* name = nullptr;
    float min = 0.0f;
    float max = 0.0f;
    float step = 0.0f;
    float initial = 0.0f;
    float reset = 0.0f;
    bool keepOnReset = false;  // ResetParams leaves this one as it is

    constexpr EquationParam() = default;
    constexpr EquationParam(const char* n, float lo, float hi, float st, float def)
        : name(n), min(lo), max(hi), step(st), initial(def), reset(def) {}
};

// A parameter whose reset value differs from its initial value.
constexpr EquationParam ResetTo(EquationParam p, float value) {
    p.reset = value;
    return p;
}
// A parameter that ResetParams does not touch.
constexpr EquationParam KeptOnReset(EquationParam p) {
    p.keepOnReset = true;
    return p;
}

// One row of the catalogue: index, display name, class, size and parameters.
struct EquationInfo {
    uint32_t index = 0;
    const char* name = nullptr;
    const char* className = nullptr;
    uint32_t width = kDefaultEquationSize;
    uint32_t height = kDefaultEquationSize;
    EquationParam params[kEquationParamCount] = {};

    constexpr uint32_t ParamCount() const {
        uint32_t n = 0;
        while (n < kEquationParamCount && params[n].name) ++n;
        return n;
    }
};

// Size, name and parameters from a catalogue row: the part every catalogued class shares.
class CCatalogueEquation : public IPixelEquation {
public:
    explicit CCatalogueEquation(const EquationInfo& info);

    // With parameters: accepts only the named indices and then calls ParamsChanged. Without:
    // the base behaviour (any index below 6 is stored).
    void SetParam(uint32_t index, float value) override;
    const char* GetParamName(uint32_t index) const override;
    void GetParamRange(uint32_t index, float* min, float* max, float* step) const override;
    // Named parameters back to their reset values, then ParamsChanged.
    void ResetParams() override;
    const char* GetName() const override { return info_.name; }

    const EquationInfo& Info() const { return info_; }

protected:
    // Called after every accepted parameter change and after ResetParams. Classes that cache
    // values derived from their parameters recompute them here; their constructor calls it
    // once for the initial values.
    virtual void ParamsChanged() {}

private:
    const EquationInfo& info_;
};

// Equations whose pixels are independent of each other and of the order they are asked in.
class CPixelEquation : public CCatalogueEquation {
public:
    using CCatalogueEquation::CCatalogueEquation;

    // Prepares (when the class needs it) from the thread's bound random stream, then answers
    // Pixel: a single pixel asked outside a whole-picture computation gives the same colour.
    uint32_t GetPixel(uint32_t x, uint32_t y) override;
    bool HasIndependentPixels() const final { return true; }
    void ComputeRow(uint32_t y, uint32_t x0, uint32_t count, uint32_t* out) const override;

    // The colour of pixel (x, y) of the prepared picture.
    virtual uint32_t Pixel(uint32_t x, uint32_t y) const = 0;
};

// Equations whose pixels must be asked in row order from (0, 0): each GetPixel may move the
// object on (a generation of a cellular automaton, a draw from the random stream).
class CSequentialEquation : public CCatalogueEquation {
public:
    using CCatalogueEquation::CCatalogueEquation;
    bool HasIndependentPixels() const final { return false; }
};

// Equations that build the whole picture at once into a zero-filled buffer of one cell a pixel.
//
// Prepare runs Accumulate over the cleared buffer when cell 0 is 0, then marks the picture
// finished by making cell 0 non-zero (1 when the accumulation left it 0); a finished buffer is
// not computed again. Every pixel answers CellColorAt of its cell (CellColor unless a class
// overrides it), so the mark shows on pixel (0, 0). Every accepted SetParam and ResetParams
// clears the buffer, so the next computation accumulates again with the new values; computing
// twice without a change reuses the picture.
// The buffer is allocated with the object; when that fails the equation reports a size of
// 0 x 0, which the image object refuses to compute.
template <typename Cell>
class CAccumulatingEquation : public CPixelEquation {
public:
    explicit CAccumulatingEquation(const EquationInfo& info) : CPixelEquation(info) {
        cellCount_ = static_cast<size_t>(width) * height;
        cells_.reset(new (std::nothrow) Cell[cellCount_ ? cellCount_ : 1]());
        if (!cells_) width = height = 0, cellCount_ = 0;
    }

    // A pixel outside the picture is 0 and accumulates nothing.
    uint32_t GetPixel(uint32_t x, uint32_t y) final {
        return x < width && y < height ? CPixelEquation::GetPixel(x, y) : 0;
    }

    void Prepare(EquationContext& context) final {
        if (!cells_ || cells_[0] != 0) return;
        Accumulate(cells_.get(), context);
        // A cancelled accumulation leaves nothing behind: the next computation starts afresh.
        if (context.Cancelled()) {
            std::fill(cells_.get(), cells_.get() + cellCount_, Cell{});
            return;
        }
        if (cells_[0] == 0) cells_[0] = 1;
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const final {
        if (!cells_ || x >= width || y >= height) return 0;
        return CellColorAt(cells_[static_cast<size_t>(y) * width + x], x, y);
    }

    bool IsFinished() const { return cells_ && cells_[0] != 0; }

protected:
    // Computes the whole picture into `cells` (width x height, row by row, all zero on entry),
    // drawing any random numbers from context.random. A long one reports context.Progress and
    // returns early once context.Cancelled().
    virtual void Accumulate(Cell* cells, EquationContext& context) = 0;
    // The colour of a finished cell.
    virtual uint32_t CellColor(Cell cell) const = 0;
    // The colour of the finished cell of pixel (x, y): pictures whose empty cells show a
    // background that depends on the position override this one.
    virtual uint32_t CellColorAt(Cell cell, uint32_t, uint32_t) const { return CellColor(cell); }

    void ParamsChanged() override {
        if (cells_) std::fill(cells_.get(), cells_.get() + cellCount_, Cell{});
    }

private:
    std::unique_ptr<Cell[]> cells_;
    size_t cellCount_ = 0;
};

}  // namespace luneth
