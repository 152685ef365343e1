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
// Every equation of the catalogue derives from CPixelEquation, which serves names, ranges and
// defaults from its catalogue row (EquationInfo) so a class only writes GetPixel and, when its
// per-pixel path needs precomputed values, ParamsChanged. Equations that build their picture by
// accumulation derive from CAccumulatingEquation<Cell> instead and write Accumulate and
// CellColor. To add an equation, copy CPixelAnd in BitPatternEquations.cpp (the simplest) and
// see EquationFamilies.h.
//
// GetPixel must be safe for any (x, y), also outside width x height: no out-of-bounds reads,
// no division by zero, no endless loop. Inside the picture it gives the specified colour.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace luneth {

constexpr uint32_t kEquationParamCount = 6;
constexpr uint32_t kDefaultEquationSize = 1024;

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

// The base of every catalogued equation: size, name and parameters come from its row.
class CPixelEquation : public IPixelEquation {
public:
    explicit CPixelEquation(const EquationInfo& info);

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

// Equations that build the whole picture at once into a zero-filled buffer of one cell a pixel.
//
// The first GetPixel that finds cell 0 equal to 0 runs Accumulate over the cleared buffer, then
// marks the picture finished by making cell 0 non-zero (1 when the accumulation left it 0).
// Every call answers CellColor of its cell. Every accepted SetParam and ResetParams clears the
// buffer, so the next computation accumulates again with the new values; computing twice
// without a change reuses the picture. The buffer is allocated with the object; when that
// fails the equation reports a size of 0 x 0, which the image object refuses to compute.
template <typename Cell>
class CAccumulatingEquation : public CPixelEquation {
public:
    explicit CAccumulatingEquation(const EquationInfo& info) : CPixelEquation(info) {
        cellCount_ = static_cast<size_t>(width) * height;
        cells_.reset(new (std::nothrow) Cell[cellCount_ ? cellCount_ : 1]());
        if (!cells_) width = height = 0, cellCount_ = 0;
    }

    uint32_t GetPixel(uint32_t x, uint32_t y) final {
        if (!cells_ || x >= width || y >= height) return 0;
        if (cells_[0] == 0) {
            Accumulate(cells_.get());
            if (cells_[0] == 0) cells_[0] = 1;
        }
        return CellColor(cells_[static_cast<size_t>(y) * width + x]);
    }

    bool IsFinished() const { return cells_ && cells_[0] != 0; }

protected:
    // Computes the whole picture into `cells` (width x height, row by row, all zero on entry).
    virtual void Accumulate(Cell* cells) = 0;
    // The colour of a finished cell.
    virtual uint32_t CellColor(Cell cell) const = 0;

    void ParamsChanged() override {
        if (cells_) std::fill(cells_.get(), cells_.get() + cellCount_, Cell{});
    }

private:
    std::unique_ptr<Cell[]> cells_;
    size_t cellCount_ = 0;
};

}  // namespace luneth
